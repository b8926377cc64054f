#pragma once

#include "gui/drawer/Skinner.h"
#include "settings/IMappedData.h"

#include <string>
#include <string_view>

namespace s::gui::drawer::skin {

// The user's skin: the string value at path "Skin" with the empty value name, holding the skin's
// name. A window with a skin of its own keeps it under its own path ("MainWindow\Skin").
inline constexpr char kSkinSettingPath[] = "Skin";

// The stored name when the skinner has a skin of exactly that name, else fallback.
std::string readSkinName(map::IMappedData& settings, const Skinner& skinner, std::string_view fallback,
                         std::string_view path = kSkinSettingPath);
bool storeSkinName(map::IMappedData& settings, std::string_view name, std::string_view path = kSkinSettingPath);
// At start: the stored skin (fallback when unknown) becomes current.
void applySkinSetting(Skinner& skinner, map::IMappedData& settings, std::string_view fallback,
                      std::string_view path = kSkinSettingPath);

}  // namespace s::gui::drawer::skin
