#pragma once

#include "foundation/ClassPool.h"
#include "foundation/ListenerList.h"
#include "gui/component/DrawerSlot.h"
#include "gui/component/PointerTracker.h"
#include "gui/widgets/Captioned.h"
#include "gui/drawer/IButtonDrawer.h"
#include "gui/text/Font.h"

#include <array>
#include <string>
#include <string_view>

namespace s::gui::win {

// A push button, a toggle button or a glyph button (a text beginning with '#' naming a glyph of
// the skin's button drawer). The glyph "#Resizer" makes it the window's size grip.
class Button final : public Captioned {
public:
    static constexpr int kPoolCapacity = 1000;
    enum Event { kClicked = 1, kAfterClick = 2, kPressed = 3 };
    // Auto-repeat: the first repeat after 500 ms, then one every 100 ms.
    static constexpr std::uintptr_t kRepeatDelayTimer = 20001;
    static constexpr std::uintptr_t kRepeatTimer = 20002;
    static constexpr int kRepeatDelayMs = 500;
    static constexpr int kRepeatPeriodMs = 100;
    static constexpr std::string_view kResizerGlyph = "#Resizer";

    Button();
    ~Button() override;


    // Each applies to the fonts of all three states.
    void setFontSizeCode(int code);
    void setFace(std::string_view face);
    void setTextColour(Colour colour);
    void setColorText(int r, int g, int b) { setTextColour(rgb(r, g, b)); }
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setStrikeOut(bool on);
    void setWeight(int weight);
    void setQuality(int quality);
    enum class FontRole { Normal, Disabled, Pushed };
    const Font& getFont(FontRole role = FontRole::Normal) const { return m_fonts[static_cast<std::size_t>(role)]; }

    // The size rules; each lays the parent out again.
    void setPercentWidth(int percent);
    void setPercentHeight(int percent);
    void setFixedWidth(int pixels);
    void setFixedHeight(int pixels);

    void addClickListener(events::IEventListener* l) { m_clickListeners.add(l); }
    void addAfterClickListener(events::IEventListener* l) { m_afterClickListeners.add(l); }
    void addPressListener(events::IEventListener* l) { m_pressListeners.add(l); }
    void setAutoRepeat(bool on) { m_autoRepeat = on; }
    bool isAutoRepeat() const { return m_autoRepeat; }
    // Null for the skin's drawer (or the plain look without a skin). An own drawer stays when
    // the skin changes.
    void setDrawer(drawer::IButtonDrawer* drawer, bool owned);
    drawer::IButtonDrawer* getDrawer() const { return m_drawer.get(); }
    // Whether the drawer frames the button in the normal state too (on after reset).
    void setDrawerFlag(bool on);
    bool getDrawerFlag() const { return m_drawerFlag; }
    // Toggle mode: each click pushes the button; a two-way toggle's click also releases it.
    // inverted draws the opposite state; the fourth flag is handed to the drawer.
    void setToggle(bool on, bool twoWay, bool inverted, bool flag);
    bool isToggle() const { return m_toggle; }
    bool isTwoWay() const { return m_twoWay; }
    bool isPushed() const { return m_pushed; }
    void setPushed(bool on);
    void setDefaultStyle(bool on);
    bool isDefault() const { return m_default; }
    void setEnabledFlag(bool on) { setEnabled(on); }
    // 0 normal, 1 hover, 2 pressed.
    int getMouseState() const { return m_pointer.state(); }
    bool isResizer() const { return getText() == kResizerGlyph; }

    void setEnabled(bool enabled) override;
    int hitTest(platform::Point local) const override;
    platform::Cursor cursorAt(platform::Point local) const override;
    platform::LResult handleMessage(unsigned code, platform::WParam wParam, platform::LParam lParam) override;
    void paint(cairo_t* cr) override;
    void attachedToWindow() override;
    void detachingFromWindow() override;
    void skinChanged() override;

    const char* getClassName() const override { return "s_gui_win_Button"; }
    base::IObject* newInstance() const override { return thread::take<Button>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

protected:
    void captionChanged() override;

private:
    template <class F>
    void forFonts(F&& apply)
    {
        for (Font& f : m_fonts)
            apply(f);
        measure();
        redraw();
    }
    void measure();
    void click();
    void press();
    void stopRepeat();
    void takeSkinDrawer();
    void inheritFromDrawer();
    void paintResizer(cairo_t* cr) const;
    void resizeWindowTo(platform::Point screen);

    std::array<Font, 3> m_fonts;
    bool m_toggle = false;
    bool m_twoWay = false;
    bool m_inverted = false;
    bool m_fourthFlag = false;
    bool m_pushed = false;
    bool m_default = false;
    bool m_autoRepeat = false;
    bool m_drawerFlag = true;
    PointerTracker m_pointer;
    DrawerSlot<drawer::IButtonDrawer> m_drawer;
    // The size grip's drag: where it started and the window's size then.
    platform::Point m_dragOrigin;
    platform::Rect m_dragStartBounds;
    events::ListenerList m_clickListeners;
    events::ListenerList m_afterClickListeners;
    events::ListenerList m_pressListeners;
};

// An enabled button showing a text or glyph, with both fixed sizes.
Button* makeButton(std::string_view textOrGlyph, int fixedWidth, int fixedHeight);
// An enabled button with a text id; the percentage width and fixed height apply when 0 or more.
Button* makeButtonById(int textId, int percentWidth, int fixedHeight);

}  // namespace s::gui::win
