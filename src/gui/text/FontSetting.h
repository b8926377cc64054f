#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "gui/text/FontBase.h"

namespace s::gui::win {

class Font;

// The properties of a font without the font: what drawers hold and widgets inherit from.
class FontSetting final : public FontBase, public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 1000;

    // A Font from its pool with these properties and flags.
    Font* makeFont() const;

    const char* getClassName() const override { return "s_gui_win_FontSetting"; }
    base::IObject* newInstance() const override { return thread::take<FontSetting>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { resetProperties(); }
};

}  // namespace s::gui::win
