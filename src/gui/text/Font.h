#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "gui/text/FontBase.h"

namespace s::gui::win {

class FontSetting;

// A font a widget draws with: the properties of FontBase, resolved through the text engine of
// the drawing thread (fontconfig picks the face and the fallbacks per script).
class Font final : public FontBase, public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 1000;

    // The height of the text "test" in this font.
    int getLineHeight() const;

    void inheritFromFont(const Font& font) { inheritFrom(font); }

    const char* getClassName() const override { return "s_gui_win_Font"; }
    base::IObject* newInstance() const override { return thread::take<Font>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { resetProperties(); }

protected:
    void propertiesChanged() override { m_lineHeight = -1; }

private:
    mutable int m_lineHeight = -1;
};

}  // namespace s::gui::win
