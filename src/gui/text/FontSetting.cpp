#include "gui/text/FontSetting.h"

#include "gui/text/Font.h"

namespace s::gui::win {

Font* FontSetting::makeFont() const
{
    Font* font = thread::take<Font>();
    font->assignFrom(*this);
    return font;
}

}  // namespace s::gui::win
