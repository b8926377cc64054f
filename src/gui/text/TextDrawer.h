#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "gui/text/FontSetting.h"
#include "gui/text/ITextDrawer.h"

#include <array>

namespace s::gui::drawer::text::win {

// The default text drawer: five font settings for labels (normal; disabled in a grey; link in a
// green, underlined; link hover and pressed in an olive, underlined), and an optional centring of
// the text in its rectangle. Skins build theirs with their own colours.
class Basic final : public ITextDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Basic();

    gui::win::FontSetting& setting(Role role) { return m_settings[static_cast<std::size_t>(role)]; }
    const gui::win::FontSetting& getSetting(Role role) const override { return m_settings[static_cast<std::size_t>(role)]; }
    void setCentring(bool on) { m_centring = on; }
    bool isCentring() const { return m_centring; }

    TextSizes measure(std::string_view text, const gui::win::FontBase& font) override;
    gui::text::Extent measureWrapped(std::string_view text, const gui::win::FontBase& font, int width) override;
    void draw(cairo_t* cr, std::string_view text, const gui::win::FontBase& font, const platform::Rect& rect) override;

    const char* getClassName() const override { return "s_gui_drawer_text_win_Basic"; }
    base::IObject* newInstance() const override { return thread::take<Basic>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

    // The drawer widgets use when they have none of their own (one per thread).
    static Basic& shared();

private:
    std::array<gui::win::FontSetting, 5> m_settings;
    bool m_centring = false;
};

// Width and height an effect adds to a text's extent.
gui::text::Extent effectGrowth(int effect);

}  // namespace s::gui::drawer::text::win
