#include "gui/skin/SkinSetting.h"

namespace s::gui::drawer::skin {

std::string readSkinName(map::IMappedData& settings, const Skinner& skinner, std::string_view fallback,
                         std::string_view path)
{
    std::string stored = settings.getString(path, "", fallback);
    if (skinner.findSkin(stored) < 0)
        return std::string(fallback);
    return stored;
}

bool storeSkinName(map::IMappedData& settings, std::string_view name, std::string_view path)
{
    return settings.setString(path, "", name);
}

void applySkinSetting(Skinner& skinner, map::IMappedData& settings, std::string_view fallback, std::string_view path)
{
    skinner.selectSkin(readSkinName(settings, skinner, fallback, path));
}

}  // namespace s::gui::drawer::skin
