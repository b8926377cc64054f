#pragma once

#include "foundation/ClassPool.h"
#include "foundation/ListenerList.h"
#include "gui/component/Component.h"
#include "gui/component/DrawerSlot.h"
#include "gui/component/PointerTracker.h"
#include "gui/text/Font.h"
#include "gui/text/ITextDrawer.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

namespace s::gui::win {

// A text, static or as a link. Its size is what its text drawer measures for the text; a
// word-wrapping label takes the size of its text wrapped to the width it is offered. A label
// with a text id takes its text from its window's localizer and follows its language.
class Label final : public Component {
public:
    static constexpr int kPoolCapacity = 1000;
    enum Event { kClicked = 1 };
    enum class FontRole { Main, Disabled, Link, LinkHover, LinkPressed };
    // The timer of a temporary text.
    static constexpr std::uintptr_t kTemporaryTimer = 100;

    Label();
    ~Label() override;

    // Both apply to all five fonts.
    void setWordWrap(bool on);
    void setEllipsis(bool on);
    // From any thread: carried out on the label's window's thread. False when the text is the
    // one shown already (nothing is repainted then).
    bool setText(std::string_view text, bool redraw = true);
    const std::string& getText() const { return m_text; }
    // Shows text for milliseconds, then the text shown before it (the first one saved when
    // several follow each other). From any thread; only while the label is in a window.
    void showTemporaryText(std::string_view text, int milliseconds);
    void setTextId(int id);
    int getTextId() const { return m_textId; }
    // Applies to all five fonts.
    void setFontSizeCode(int code);

    // The main font.
    void setFace(std::string_view face) { change([&] { m_fonts[0].setFace(face); }); }
    const std::string& getFace() const { return m_fonts[0].getFace(); }
    void setTextColour(Colour colour) { change([&] { m_fonts[0].setTextColour(colour); }); }
    Colour getTextColour() const { return m_fonts[0].getTextColour(); }
    void setPointSize(int points) { change([&] { m_fonts[0].setPointSize(points); }); }
    int getPointSize() const { return m_fonts[0].getPointSize(); }
    void setFontHeight(int height) { change([&] { m_fonts[0].setHeight(height); }); }
    int getFontHeight() const { return m_fonts[0].getHeight(); }
    void setFontWidth(int width) { change([&] { m_fonts[0].setWidth(width); }); }
    int getFontWidth() const { return m_fonts[0].getWidth(); }
    void setBold(bool on) { change([&] { m_fonts[0].setBold(on); }); }
    bool isBold() const { return m_fonts[0].isBold(); }
    void setItalic(bool on) { change([&] { m_fonts[0].setItalic(on); }); }
    bool isItalic() const { return m_fonts[0].isItalic(); }
    void setUnderline(bool on) { change([&] { m_fonts[0].setUnderline(on); }); }
    bool isUnderline() const { return m_fonts[0].isUnderline(); }
    void setStrikeOut(bool on) { change([&] { m_fonts[0].setStrikeOut(on); }); }
    bool isStrikeOut() const { return m_fonts[0].isStrikeOut(); }
    void setWeight(int weight) { change([&] { m_fonts[0].setWeight(weight); }); }
    int getWeight() const { return m_fonts[0].getWeight(); }
    int getEffect() const { return m_fonts[0].getEffect(); }
    void setEffect(int effect) { change([&] { m_fonts[0].setEffect(effect); }); }

    // Null for the default drawer. An own drawer set here stays when the skin changes.
    void setTextDrawer(drawer::ITextDrawer* drawer, bool owned);
    drawer::ITextDrawer& textDrawer() const;
    bool isLink() const { return m_link; }
    // A link label takes pointer input, shows its hover and pressed fonts, and when clicked
    // opens its target with the desktop and tells its click listeners.
    void setLink(bool on);
    void setLinkTarget(std::string_view target) { m_linkTarget = std::string(target); }
    const std::string& getLinkTarget() const { return m_linkTarget; }
    // 0 normal, 1 hover, 2 pressed.
    int getLinkState() const { return m_pointer.state(); }
    void addClickListener(events::IEventListener* l) { m_clickListeners.add(l); }

    const Font& getFont() const { return m_fonts[0]; }
    const Font& getDisabledFont() const { return font(FontRole::Disabled); }
    const Font& getLinkFont() const { return font(FontRole::Link); }
    const Font& getLinkHoverFont() const { return font(FontRole::LinkHover); }
    const Font& getLinkPressedFont() const { return font(FontRole::LinkPressed); }

    void resizeWithin(int width, int height) override;
    int hitTest(platform::Point local) const override;
    platform::Cursor cursorAt(platform::Point local) const override;
    platform::LResult handleMessage(unsigned code, platform::WParam wParam, platform::LParam lParam) override;
    void paint(cairo_t* cr) override;
    void attachedToWindow() override;
    void detachingFromWindow() override;
    void languageChanged() override;
    void skinChanged() override;

    const char* getClassName() const override { return "s_gui_win_Label"; }
    base::IObject* newInstance() const override { return thread::take<Label>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    template <class F>
    void change(F&& apply)
    {
        apply();
        fontsChanged();
    }
    // A lazily made font starts from the main font's size code and bold state.
    Font& font(FontRole role) const;
    const Font& fontForState() const;
    bool applyText(std::string_view text, bool redraw);
    void fontsChanged();
    void measure();
    void inheritFromDrawer();
    void takeSkinDrawer();
    void fetchText();

    std::string m_text;
    int m_textId = -1;
    mutable std::array<Font, 5> m_fonts;
    mutable std::array<bool, 5> m_fontMade{true, false, false, false, false};
    bool m_link = false;
    std::string m_linkTarget;
    PointerTracker m_pointer;
    DrawerSlot<drawer::ITextDrawer> m_drawer;
    std::string m_savedText;
    bool m_showingTemporary = false;
    std::unordered_map<int, text::Extent> m_wrapCache;
    events::ListenerList m_clickListeners;
};

// A label showing text; word wrap off, end ellipsis as given.
Label* makeLabel(std::string_view text, bool ellipsis, int sizeCode);
// A label taking its text from the window's localizer; no ellipsis.
Label* makeLabelById(int textId, bool wordWrap, int sizeCode);

}  // namespace s::gui::win
