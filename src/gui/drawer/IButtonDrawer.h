#pragma once

#include "gui/base/IDrawer.h"
#include "platform/WindowTypes.h"

#include <string_view>

typedef struct _cairo cairo_t;

namespace s::gui::win {
class FontBase;
class FontSetting;
}  // namespace s::gui::win

namespace s::gui::drawer {

// Mouse states of clickable things.
enum MouseState { kMouseNormal = 0, kMouseHover = 1, kMousePressed = 2 };

// What a button hands its drawer to paint one state.
struct ButtonFace {
    platform::Rect rect;
    int mouseState = kMouseNormal;
    std::string_view text;  // a caption, or a glyph name beginning with '#'
    bool drawerFlag = true;  // draw the frame in the normal state too
    const win::FontBase* font = nullptr;  // the font of the state
    bool enabled = true;
    bool pushed = false;  // the pushed state as shown
    bool fourthFlag = false;
};

class IButtonDrawer : public IDrawer {
public:
    enum class FontRole { Normal, Disabled, Pushed };

    virtual void drawButton(cairo_t* cr, const ButtonFace& face) = 0;
    // The settings a button's fonts of each state inherit.
    virtual const win::FontSetting& getSetting(FontRole role) const = 0;
};

}  // namespace s::gui::drawer
