#include "gui/widgets/Button.h"

#include "gui/component/PrivateMessages.h"
#include "gui/component/Window.h"
#include "gui/drawer/ISkin.h"
#include "gui/text/FontSetting.h"
#include "gui/text/TextDrawer.h"

#include <cairo.h>

#include <algorithm>

namespace s::gui::win {

using platform::LParam;
using platform::LResult;
using platform::Point;
using platform::Rect;
using platform::WParam;

namespace {

// The padding a button's text gets inside the plain look's frame.
constexpr int kPaddingX = 8;
constexpr int kPaddingY = 4;

// The look without a skin: the desktop's plain push button.
constexpr Colour kPlainFace = rgb(225, 225, 225);
constexpr Colour kPlainBorder = rgb(173, 173, 173);
constexpr Colour kPlainHotFace = rgb(229, 241, 251);
constexpr Colour kPlainHotBorder = rgb(0, 120, 215);
constexpr Colour kPlainPressedFace = rgb(204, 228, 247);
constexpr Colour kPlainPressedBorder = rgb(0, 84, 153);
constexpr Colour kPlainDisabledBorder = rgb(191, 191, 191);
constexpr Colour kResizerLight = rgb(0xFF, 0xFF, 0xFF);
constexpr Colour kResizerGrey = rgb(0xB8, 0xB5, 0xA1);

const FontSetting& plainSetting(Button::FontRole role)
{
    static const FontSetting normal;
    static const FontSetting disabled = [] {
        FontSetting s;
        s.setTextColour(system_colour::kGrayText);
        return s;
    }();
    return role == Button::FontRole::Disabled ? disabled : normal;
}

drawer::text::win::Basic& centredText()
{
    thread_local drawer::text::win::Basic drawer = [] {
        drawer::text::win::Basic d;
        d.setCentring(true);
        return d;
    }();
    return drawer;
}

}  // namespace

Button::Button()
{
    reset();
}

Button::~Button() = default;

void Button::reset()
{
    stopRepeat();
    resetComponent();
    m_drawer.reset();
    resetCaption();
    for (Font& f : m_fonts)
        f.resetProperties();
    m_toggle = m_twoWay = m_inverted = m_fourthFlag = false;
    m_pushed = false;
    m_default = false;
    m_autoRepeat = false;
    m_drawerFlag = true;
    m_pointer = {};
    m_dragOrigin = {};
    m_dragStartBounds = {};
    m_clickListeners.clear();
    m_afterClickListeners.clear();
    m_pressListeners.clear();
    inheritFromDrawer();
    measure();
}

void Button::captionChanged()
{
    measure();
    redraw();
}

void Button::setFontSizeCode(int code)
{
    forFonts([code](Font& f) { f.setSizeCode(code); });
}

void Button::setFace(std::string_view face)
{
    forFonts([face](Font& f) { f.setFace(face); });
}

void Button::setTextColour(Colour colour)
{
    forFonts([colour](Font& f) { f.setTextColour(colour); });
}

void Button::setBold(bool on)
{
    forFonts([on](Font& f) { f.setBold(on); });
}

void Button::setItalic(bool on)
{
    forFonts([on](Font& f) { f.setItalic(on); });
}

void Button::setUnderline(bool on)
{
    forFonts([on](Font& f) { f.setUnderline(on); });
}

void Button::setStrikeOut(bool on)
{
    forFonts([on](Font& f) { f.setStrikeOut(on); });
}

void Button::setWeight(int weight)
{
    forFonts([weight](Font& f) { f.setWeight(weight); });
}

void Button::setQuality(int quality)
{
    forFonts([quality](Font& f) { f.setQuality(quality); });
}

void Button::setPercentWidth(int percent)
{
    storePercentWidth(percent);
    relayoutParent();
}

void Button::setPercentHeight(int percent)
{
    storePercentHeight(percent);
    relayoutParent();
}

void Button::setFixedWidth(int pixels)
{
    storeFixedWidth(pixels);
    relayoutParent();
}

void Button::setFixedHeight(int pixels)
{
    storeFixedHeight(pixels);
    relayoutParent();
}

void Button::measure()
{
    const text::Extent extent =
        text::TextEngine::forThisThread().measure(getText(), m_fonts[0], text::Flow::SingleLine, 0);
    const int width = extent.width + 2 * kPaddingX;
    const int height = extent.height + 2 * kPaddingY;
    setContentSizes(width, height, width, height);
    relayoutParent();
}

void Button::setDrawer(drawer::IButtonDrawer* drawer, bool owned)
{
    if (!m_drawer.choose(drawer, owned))
        return;
    takeSkinDrawer();
    measure();
    redraw();
}

void Button::takeSkinDrawer()
{
    drawer::ISkin* skin = windowSkin();
    m_drawer.follow(skin != nullptr ? skin->getButtonDrawer() : nullptr);
    inheritFromDrawer();
}

void Button::inheritFromDrawer()
{
    static constexpr FontRole kRoles[] = {FontRole::Normal, FontRole::Disabled, FontRole::Pushed};
    for (FontRole role : kRoles) {
        const FontSetting& source = m_drawer.get() != nullptr
                                        ? m_drawer.get()->getSetting(static_cast<drawer::IButtonDrawer::FontRole>(role))
                                        : plainSetting(role);
        m_fonts[static_cast<std::size_t>(role)].inheritFrom(source);
    }
}

void Button::setDrawerFlag(bool on)
{
    m_drawerFlag = on;
    redraw();
}

void Button::setToggle(bool on, bool twoWay, bool inverted, bool flag)
{
    m_toggle = on;
    m_twoWay = twoWay;
    m_inverted = inverted;
    m_fourthFlag = flag;
    redraw();
}

void Button::setPushed(bool on)
{
    if (m_pushed == on)
        return;
    m_pushed = on;
    redraw();
}

void Button::setDefaultStyle(bool on)
{
    sendMessage(on ? msg::kSetDefaultStyle : msg::kClearDefaultStyle);
}

void Button::setEnabled(bool enabled)
{
    if (!enabled) {
        m_pointer.cancel();
        stopRepeat();
    }
    Component::setEnabled(enabled);
}

int Button::hitTest(Point) const
{
    if (!isEnabled() || (m_toggle && !m_twoWay && m_pushed))
        return platform::HTTRANSPARENT;
    return platform::HTCLIENT;
}

platform::Cursor Button::cursorAt(Point) const
{
    return isResizer() ? platform::Cursor::SizeNWSE : platform::Cursor::Arrow;
}

void Button::press()
{
    m_pressListeners.fire(this, kPressed);
    if (m_autoRepeat)
        setTimer(kRepeatDelayTimer, kRepeatDelayMs);
}

void Button::stopRepeat()
{
    killTimer(kRepeatDelayTimer);
    killTimer(kRepeatTimer);
}

void Button::click()
{
    m_clickListeners.fire(this, kClicked);
    if (m_toggle && isEnabled()) {
        m_pushed = m_twoWay ? !m_pushed : true;
        redraw();
    }
    // A pushed one-way toggle takes no more hits: the pointer is let go, so what lies beneath
    // gets the next press.
    if (hitTest({0, 0}) == platform::HTTRANSPARENT) {
        m_pointer.cancel();
        if (hasMouseCapture())
            releaseMouse();
    }
    m_afterClickListeners.fire(this, kAfterClick);
}

void Button::resizeWindowTo(Point screen)
{
    if (m_window == nullptr || m_window->getNativeWindow() == nullptr || screen == m_dragOrigin)
        return;
    Rect wanted = m_dragStartBounds;
    wanted.right += screen.x - m_dragOrigin.x;
    wanted.bottom += screen.y - m_dragOrigin.y;
    m_window->getNativeWindow()->send(platform::WM_SIZING, platform::WMSZ_BOTTOMRIGHT, reinterpret_cast<LParam>(&wanted));
    m_window->setBounds(wanted.left, wanted.top, wanted.width(), wanted.height());
}

LResult Button::handleMessage(unsigned code, WParam wParam, LParam lParam)
{
    const Point local = platform::pointFromLParam(lParam);
    const Point screen{getScreenX() + local.x, getScreenY() + local.y};
    switch (code) {
    case platform::WM_MOUSEMOVE: {
        const PointerTracker::Outcome outcome = m_pointer.move(contains(local));
        if (isResizer() && m_pointer.isArmed())
            resizeWindowTo(screen);
        if (outcome.changed)
            redraw();
        followPointer(m_pointer);
        return 0;
    }
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK: {
        const PointerTracker::Outcome outcome = m_pointer.press(contains(local));
        if (outcome.pressed) {
            if (isResizer() && m_window != nullptr) {
                m_dragOrigin = screen;
                m_dragStartBounds = Rect::fromSize(m_window->getX(), m_window->getY(), m_window->getWidth(),
                                                   m_window->getHeight());
            }
            press();
        }
        if (outcome.changed)
            redraw();
        followPointer(m_pointer);
        return 0;
    }
    case platform::WM_LBUTTONUP: {
        const bool wasArmed = m_pointer.isArmed();
        const PointerTracker::Outcome outcome = m_pointer.release(contains(local));
        stopRepeat();
        if (isResizer() && wasArmed)
            resizeWindowTo(screen);
        if (outcome.changed)
            redraw();
        followPointer(m_pointer);
        if (outcome.clicked)
            handleMessage(msg::kReflectedClick, 0, 0);
        return 0;
    }
    case platform::WM_CAPTURECHANGED:
        stopRepeat();
        if (m_pointer.cancel().changed)
            redraw();
        return 0;
    case platform::WM_TIMER:
        if (wParam == kRepeatDelayTimer) {
            killTimer(kRepeatDelayTimer);
            setTimer(kRepeatTimer, kRepeatPeriodMs);
        }
        if ((wParam == kRepeatDelayTimer || wParam == kRepeatTimer) && m_pointer.isArmed() && m_pointer.isInside())
            m_pressListeners.fire(this, kPressed);
        return 0;
    case msg::kReflectedClick:
        click();
        return 0;
    case msg::kReflectedDoubleClick:
        press();
        click();
        return 0;
    case msg::kSetDefaultStyle:
    case msg::kClearDefaultStyle:
        m_default = code == msg::kSetDefaultStyle;
        redraw();
        return 0;
    default:
        return Component::handleMessage(code, wParam, lParam);
    }
}

void Button::paint(cairo_t* cr)
{
    paintBackground(cr);
    const bool shownPushed = m_pushed != m_inverted;
    int state = m_pointer.state();
    if (m_toggle && !m_twoWay && m_pushed && state != PointerTracker::kNormal)
        state = PointerTracker::kNormal;
    const Font& font = !isEnabled() ? m_fonts[1] : (shownPushed ? m_fonts[2] : m_fonts[0]);
    if (drawer::IButtonDrawer* drawer = m_drawer.get()) {
        drawer::ButtonFace face;
        face.rect = Rect::fromSize(0, 0, getWidth(), getHeight());
        face.mouseState = state;
        face.text = getText();
        face.drawerFlag = m_drawerFlag;
        face.font = &font;
        face.enabled = isEnabled();
        face.pushed = shownPushed;
        face.fourthFlag = m_fourthFlag;
        drawer->drawButton(cr, face);
        return;
    }
    if (isResizer()) {
        paintResizer(cr);
        return;
    }
    Colour fill = kPlainFace;
    Colour border = m_default ? kPlainHotBorder : kPlainBorder;
    if (!isEnabled()) {
        border = kPlainDisabledBorder;
    } else if (state == PointerTracker::kPressed || shownPushed) {
        fill = kPlainPressedFace;
        border = kPlainPressedBorder;
    } else if (state == PointerTracker::kHover) {
        fill = kPlainHotFace;
        border = kPlainHotBorder;
    }
    setSourceColour(cr, fill);
    cairo_rectangle(cr, 0, 0, getWidth(), getHeight());
    cairo_fill(cr);
    setSourceColour(cr, border);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, getWidth() - 1, getHeight() - 1);
    cairo_stroke(cr);
    centredText().draw(cr, getText(), font, Rect::fromSize(2, 2, getWidth() - 4, getHeight() - 4));
}

void Button::paintResizer(cairo_t* cr) const
{
    const int w = getWidth();
    const int h = getHeight();
    const Point squares[] = {{w - 3, h - 11}, {w - 3, h - 7}, {w - 7, h - 7}, {w - 3, h - 3}, {w - 7, h - 3}, {w - 11, h - 3}};
    setSourceColour(cr, kResizerGrey);
    for (const Point& p : squares)
        cairo_rectangle(cr, p.x - 1, p.y - 1, 2, 2);
    cairo_fill(cr);
    setSourceColour(cr, kResizerLight);
    for (const Point& p : squares)
        cairo_rectangle(cr, p.x, p.y, 2, 2);
    cairo_fill(cr);
}

void Button::attachedToWindow()
{
    takeSkinDrawer();
    languageChanged();
    measure();
}

void Button::detachingFromWindow()
{
    stopRepeat();
    m_pointer.cancel();
}

void Button::skinChanged()
{
    takeSkinDrawer();
    measure();
    redraw();
}

Button* makeButton(std::string_view textOrGlyph, int fixedWidth, int fixedHeight)
{
    Button* button = thread::take<Button>();
    button->setText(textOrGlyph);
    button->setEnabledFlag(true);
    button->setFixedWidth(fixedWidth);
    button->setFixedHeight(fixedHeight);
    return button;
}

Button* makeButtonById(int textId, int percentWidth, int fixedHeight)
{
    Button* button = thread::take<Button>();
    button->setTextId(textId);
    button->setEnabledFlag(true);
    if (percentWidth >= 0)
        button->setPercentWidth(percentWidth);
    if (fixedHeight >= 0)
        button->setFixedHeight(fixedHeight);
    return button;
}

}  // namespace s::gui::win
