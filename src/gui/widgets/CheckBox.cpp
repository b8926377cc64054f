#include "gui/widgets/CheckBox.h"

#include "gui/component/PrivateMessages.h"
#include "gui/component/Window.h"
#include "gui/drawer/CheckBoxMetrics.h"
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

constexpr int kPlainBoxSide = 13;
constexpr Colour kPlainBorder = rgb(51, 51, 51);
constexpr Colour kPlainHotBorder = rgb(0, 120, 215);
constexpr Colour kPlainDisabled = rgb(188, 188, 188);
constexpr Colour kPlainMark = rgb(0, 0, 0);

const FontSetting& plainDisabledSetting()
{
    static const FontSetting setting = [] {
        FontSetting s;
        s.setTextColour(system_colour::kGrayText);
        return s;
    }();
    return setting;
}

// The check box's look without a skin: a white box with a dark frame and a tick.
void paintPlain(cairo_t* cr, const Rect& rect, std::string_view text, const FontBase& font, bool checked,
                bool enabled, int mouseState)
{
    const int line = text::TextEngine::forThisThread().measure(text, font, text::Flow::SingleLine, 0).height;
    const int glyph = drawer::checkGlyphExtent(line);
    const int side = std::min(kPlainBoxSide, std::max(1, std::min(glyph, rect.height())));
    const double top = rect.top + (std::min(line, rect.height()) - side) / 2;
    cairo_rectangle(cr, rect.left, top, side, side);
    setSourceColour(cr, rgb(255, 255, 255));
    cairo_fill(cr);
    setSourceColour(cr, !enabled ? kPlainDisabled : (mouseState != 0 ? kPlainHotBorder : kPlainBorder));
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, rect.left + 0.5, top + 0.5, side - 1, side - 1);
    cairo_stroke(cr);
    if (checked) {
        setSourceColour(cr, enabled ? kPlainMark : kPlainDisabled);
        cairo_set_line_width(cr, std::max(1.5, side / 7.0));
        cairo_move_to(cr, rect.left + side * 0.22, top + side * 0.52);
        cairo_line_to(cr, rect.left + side * 0.42, top + side * 0.72);
        cairo_line_to(cr, rect.left + side * 0.78, top + side * 0.28);
        cairo_stroke(cr);
    }
    drawer::text::win::Basic::shared().draw(cr, text, font,
                                            Rect{rect.left + glyph, rect.top, rect.right, rect.bottom});
}

}  // namespace

CheckBox::CheckBox()
{
    reset();
}

CheckBox::~CheckBox()
{
    events::releaseBinder(m_enablerOnChecked);
    events::releaseBinder(m_enablerOnUnchecked);
    events::releaseBinder(m_disablerOnChecked);
    events::releaseBinder(m_disablerOnUnchecked);
}

void CheckBox::reset()
{
    resetComponent();
    m_drawer.reset();
    resetCaption();
    m_font.resetProperties();
    m_disabledFont.resetProperties();
    m_checked = false;
    m_notify = true;
    m_pointer = {};
    m_checkedListeners.clear();
    m_uncheckedListeners.clear();
    events::releaseBinder(m_enablerOnChecked);
    events::releaseBinder(m_enablerOnUnchecked);
    events::releaseBinder(m_disablerOnChecked);
    events::releaseBinder(m_disablerOnUnchecked);
    inheritFromDrawer();
    measure();
}

void CheckBox::setWordWrap(bool on)
{
    m_font.setWordWrap(on);
    m_disabledFont.setWordWrap(on);
    measure();
    redraw();
}

void CheckBox::captionChanged()
{
    measure();
    redraw();
}

void CheckBox::setFontSizeCode(int code)
{
    m_font.setSizeCode(code);
    m_disabledFont.setSizeCode(code);
    measure();
    redraw();
}

void CheckBox::setTextColour(Colour colour)
{
    m_font.setTextColour(colour);
    redraw();
}

void CheckBox::setBold(bool on)
{
    m_font.setBold(on);
    m_disabledFont.setBold(on);
    measure();
    redraw();
}

void CheckBox::setChecked(bool on)
{
    if (m_checked == on)
        return;
    m_checked = on;
    redraw();
}

void CheckBox::setCheckedSilently(bool on)
{
    const bool notify = m_notify;
    m_notify = false;
    setChecked(on);
    m_notify = notify;
}

void CheckBox::userToggled()
{
    m_checked = !m_checked;
    redraw();
    if (!m_notify)
        return;
    if (m_checked)
        m_checkedListeners.fire(this, kChecked);
    else
        m_uncheckedListeners.fire(this, kUnchecked);
}

void CheckBox::enableWhenChecked(events::IBindTarget* target)
{
    events::bindTarget(m_enablerOnChecked, this, m_checkedListeners, target);
}

void CheckBox::disableWhenUnchecked(events::IBindTarget* target)
{
    events::bindTarget(m_disablerOnUnchecked, this, m_uncheckedListeners, target);
}

void CheckBox::enableWhileChecked(events::IBindTarget* target)
{
    enableWhenChecked(target);
    disableWhenUnchecked(target);
}

void CheckBox::enableWhenUnchecked(events::IBindTarget* target)
{
    events::bindTarget(m_enablerOnUnchecked, this, m_uncheckedListeners, target);
}

void CheckBox::disableWhenChecked(events::IBindTarget* target)
{
    events::bindTarget(m_disablerOnChecked, this, m_checkedListeners, target);
}

void CheckBox::enableWhileUnchecked(events::IBindTarget* target)
{
    enableWhenUnchecked(target);
    disableWhenChecked(target);
}

void CheckBox::setDrawer(drawer::ICheckBoxDrawer* drawer, bool owned)
{
    if (!m_drawer.choose(drawer, owned))
        return;
    takeSkinDrawer();
    measure();
    redraw();
}

void CheckBox::takeSkinDrawer()
{
    drawer::ISkin* skin = windowSkin();
    m_drawer.follow(skin != nullptr ? skin->getCheckBoxDrawer() : nullptr);
    inheritFromDrawer();
}

void CheckBox::inheritFromDrawer()
{
    if (drawer::ICheckBoxDrawer* drawer = m_drawer.get()) {
        m_font.inheritFrom(drawer->getSetting(drawer::ICheckBoxDrawer::FontRole::Normal));
        m_disabledFont.inheritFrom(drawer->getSetting(drawer::ICheckBoxDrawer::FontRole::Disabled));
    } else {
        m_font.inheritFrom(FontSetting());
        m_disabledFont.inheritFrom(plainDisabledSetting());
    }
}

void CheckBox::measure()
{
    drawer::ICheckBoxDrawer* drawer = m_drawer.get();
    const drawer::TextSizes sizes =
        drawer != nullptr ? drawer->measure(getText(), m_font) : drawer::checkBoxSizes(getText(), m_font);
    setContentSizes(sizes.minWidth, sizes.minHeight, sizes.prefWidth, sizes.prefHeight);
    relayoutParent();
}

void CheckBox::resizeWithin(int width, int height)
{
    if (!m_font.isWordWrap()) {
        Component::resizeWithin(width, height);
        return;
    }
    drawer::ICheckBoxDrawer* drawer = m_drawer.get();
    const text::Extent wrapped = drawer != nullptr ? drawer->measureWrapped(getText(), m_font, width)
                                                   : drawer::checkBoxWrapped(getText(), m_font, width);
    setSize(wrapped.width, wrapped.height);
}

void CheckBox::setEnabled(bool enabled)
{
    if (!enabled)
        m_pointer.cancel();
    Component::setEnabled(enabled);
}

LResult CheckBox::handleMessage(unsigned code, WParam wParam, LParam lParam)
{
    const Point local = platform::pointFromLParam(lParam);
    switch (code) {
    case platform::WM_MOUSEMOVE:
        if (m_pointer.move(contains(local)).changed)
            redraw();
        followPointer(m_pointer);
        return 0;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK:
        if (m_pointer.press(contains(local)).changed)
            redraw();
        followPointer(m_pointer);
        return 0;
    case platform::WM_LBUTTONUP: {
        const PointerTracker::Outcome outcome = m_pointer.release(contains(local));
        if (outcome.changed)
            redraw();
        followPointer(m_pointer);
        if (outcome.clicked)
            handleMessage(msg::kReflectedClick, 0, 0);
        return 0;
    }
    case platform::WM_CAPTURECHANGED:
        if (m_pointer.cancel().changed)
            redraw();
        return 0;
    case msg::kReflectedClick:
        if (isEnabled())
            userToggled();
        return 0;
    default:
        return Component::handleMessage(code, wParam, lParam);
    }
}

void CheckBox::paint(cairo_t* cr)
{
    paintBackground(cr);
    const Rect rect = Rect::fromSize(0, 0, getWidth(), getHeight());
    const Font& font = isEnabled() ? m_font : m_disabledFont;
    if (drawer::ICheckBoxDrawer* drawer = m_drawer.get())
        drawer->drawCheckBox(cr, rect, getText(), font, m_checked, isEnabled(), m_pointer.state());
    else
        paintPlain(cr, rect, getText(), font, m_checked, isEnabled(), m_pointer.state());
}

void CheckBox::attachedToWindow()
{
    takeSkinDrawer();
    languageChanged();
    measure();
}

void CheckBox::detachingFromWindow()
{
    m_pointer.cancel();
}

void CheckBox::skinChanged()
{
    takeSkinDrawer();
    measure();
    redraw();
}

CheckBox* makeCheckBox(std::string_view text, bool checked)
{
    CheckBox* box = thread::take<CheckBox>();
    box->setText(text);
    box->setCheckedSilently(checked);
    box->setWordWrap(false);
    return box;
}

CheckBox* makeCheckBoxById(int textId, bool checked)
{
    CheckBox* box = thread::take<CheckBox>();
    box->setTextId(textId);
    box->setCheckedSilently(checked);
    box->setWordWrap(false);
    return box;
}

}  // namespace s::gui::win
