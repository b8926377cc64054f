#include "gui/widgets/Label.h"

#include "gui/component/PrivateMessages.h"
#include "gui/component/Window.h"
#include "gui/drawer/ISkin.h"
#include "gui/text/TextDrawer.h"
#include "lang/Localizer.h"
#include "platform/Launch.h"

namespace s::gui::win {

using platform::LParam;
using platform::LResult;
using platform::Point;
using platform::WParam;

namespace {

// What kLabelSetText and kLabelTemporaryText carry.
struct LabelText {
    std::string_view text;
    bool redraw = true;
};
struct TemporaryText {
    std::string_view text;
    int milliseconds = 0;
};

constexpr std::size_t kWrapCacheLimit = 64;

drawer::ITextDrawer::Role roleOf(std::size_t index)
{
    return static_cast<drawer::ITextDrawer::Role>(index);
}

}  // namespace

Label::Label()
{
    reset();
}

Label::~Label() = default;

void Label::reset()
{
    resetComponent();
    m_drawer.reset();
    m_text.clear();
    m_textId = -1;
    for (Font& f : m_fonts)
        f.resetProperties();
    m_fontMade = {true, false, false, false, false};
    m_link = false;
    m_linkTarget.clear();
    m_pointer = {};
    m_savedText.clear();
    m_showingTemporary = false;
    m_wrapCache.clear();
    m_clickListeners.clear();
    inheritFromDrawer();
    measure();
}

drawer::ITextDrawer& Label::textDrawer() const
{
    return m_drawer.get() != nullptr ? *m_drawer.get() : drawer::text::win::Basic::shared();
}

Font& Label::font(FontRole role) const
{
    const auto index = static_cast<std::size_t>(role);
    Font& f = m_fonts[index];
    if (!m_fontMade[index]) {
        const Font& main = m_fonts[0];
        f.resetProperties();
        if (main.isExplicit(FontBase::kSizeCode))
            f.setSizeCode(main.getSizeCode());
        if (main.isExplicit(FontBase::kWeight))
            f.setWeight(main.getWeight());
        if (main.isExplicit(FontBase::kWordWrap))
            f.setWordWrap(main.isWordWrap());
        if (main.isExplicit(FontBase::kEndEllipsis))
            f.setEndEllipsis(main.isEndEllipsis());
        f.inheritFrom(textDrawer().getSetting(roleOf(index)));
        m_fontMade[index] = true;
    }
    return f;
}

const Font& Label::fontForState() const
{
    if (!isEnabled())
        return font(FontRole::Disabled);
    if (!m_link)
        return m_fonts[0];
    switch (m_pointer.state()) {
    case PointerTracker::kHover: return font(FontRole::LinkHover);
    case PointerTracker::kPressed: return font(FontRole::LinkPressed);
    default: return font(FontRole::Link);
    }
}

void Label::setWordWrap(bool on)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fontMade[i])
            m_fonts[i].setWordWrap(on);
    }
    fontsChanged();
}

void Label::setEllipsis(bool on)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fontMade[i])
            m_fonts[i].setEndEllipsis(on);
    }
    fontsChanged();
}

void Label::setFontSizeCode(int code)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fontMade[i])
            m_fonts[i].setSizeCode(code);
    }
    fontsChanged();
}

bool Label::setText(std::string_view text, bool redraw)
{
    LabelText record{text, redraw};
    return sendMessage(msg::kLabelSetText, reinterpret_cast<WParam>(&record)) != 0;
}

void Label::showTemporaryText(std::string_view text, int milliseconds)
{
    TemporaryText record{text, milliseconds};
    sendMessage(msg::kLabelTemporaryText, reinterpret_cast<WParam>(&record));
}

bool Label::applyText(std::string_view text, bool redrawNow)
{
    if (text == m_text)
        return false;
    m_text = std::string(text);
    measure();
    if (redrawNow)
        redraw();
    return true;
}

void Label::setTextId(int id)
{
    m_textId = id;
    fetchText();
}

void Label::fetchText()
{
    lang::Localizer* localizer = windowLocalizer();
    if (m_textId < 0 || localizer == nullptr)
        return;
    const std::string& text = localizer->getText(m_textId);
    if (m_showingTemporary)
        m_savedText = text;
    else
        applyText(text, true);
}

void Label::fontsChanged()
{
    measure();
    redraw();
}

void Label::measure()
{
    const drawer::TextSizes sizes = textDrawer().measure(m_text, m_fonts[0]);
    setContentSizes(sizes.minWidth, sizes.minHeight, sizes.prefWidth, sizes.prefHeight);
    m_wrapCache.clear();
    relayoutParent();
}

void Label::resizeWithin(int width, int height)
{
    if (!m_fonts[0].isWordWrap()) {
        Component::resizeWithin(width, height);
        return;
    }
    auto found = m_wrapCache.find(width);
    if (found == m_wrapCache.end()) {
        if (m_wrapCache.size() >= kWrapCacheLimit)
            m_wrapCache.clear();
        found = m_wrapCache.emplace(width, textDrawer().measureWrapped(m_text, m_fonts[0], width)).first;
    }
    setSize(found->second.width, found->second.height);
}

void Label::inheritFromDrawer()
{
    const drawer::ITextDrawer& source = textDrawer();
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fontMade[i])
            m_fonts[i].inheritFrom(source.getSetting(roleOf(i)));
    }
}

void Label::setTextDrawer(drawer::ITextDrawer* drawer, bool owned)
{
    if (!m_drawer.choose(drawer, owned))
        return;
    takeSkinDrawer();
    fontsChanged();
}

void Label::takeSkinDrawer()
{
    drawer::ISkin* skin = windowSkin();
    m_drawer.follow(skin != nullptr ? skin->getTextDrawer() : nullptr);
    inheritFromDrawer();
}

void Label::setLink(bool on)
{
    m_link = on;
    m_pointer.cancel();
    if (hasMouseCapture())
        releaseMouse();
    redraw();
}

int Label::hitTest(Point) const
{
    return m_link ? platform::HTCLIENT : platform::HTTRANSPARENT;
}

platform::Cursor Label::cursorAt(Point) const
{
    return m_link ? platform::Cursor::Hand : platform::Cursor::Arrow;
}

LResult Label::handleMessage(unsigned code, WParam wParam, LParam lParam)
{
    switch (code) {
    case msg::kLabelSetText: {
        const auto* record = reinterpret_cast<const LabelText*>(wParam);
        return applyText(record->text, record->redraw) ? 1 : 0;
    }
    case msg::kLabelTemporaryText: {
        if (m_window == nullptr)
            return 0;
        const auto* record = reinterpret_cast<const TemporaryText*>(wParam);
        killTimer(kTemporaryTimer);
        if (!m_showingTemporary) {
            m_savedText = m_text;
            m_showingTemporary = true;
        }
        applyText(record->text, true);
        setTimer(kTemporaryTimer, record->milliseconds);
        return 0;
    }
    case platform::WM_TIMER:
        if (wParam == kTemporaryTimer) {
            killTimer(kTemporaryTimer);
            if (m_showingTemporary) {
                m_showingTemporary = false;
                applyText(m_savedText, true);
            }
        }
        return 0;
    case platform::WM_MOUSEMOVE:
        if (m_link) {
            if (m_pointer.move(contains(platform::pointFromLParam(lParam))).changed)
                redraw();
            followPointer(m_pointer);
        }
        return 0;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK:
        if (m_link && m_pointer.press(contains(platform::pointFromLParam(lParam))).changed)
            redraw();
        return 0;
    case platform::WM_LBUTTONUP: {
        if (!m_link)
            return 0;
        const PointerTracker::Outcome outcome = m_pointer.release(contains(platform::pointFromLParam(lParam)));
        if (outcome.changed)
            redraw();
        followPointer(m_pointer);
        if (outcome.clicked) {
            if (!m_linkTarget.empty())
                platform::openWithDesktop(m_linkTarget);
            m_clickListeners.fire(this, kClicked);
        }
        return 0;
    }
    case platform::WM_CAPTURECHANGED:
        if (m_pointer.cancel().changed)
            redraw();
        return 0;
    default:
        return Component::handleMessage(code, wParam, lParam);
    }
}

void Label::paint(cairo_t* cr)
{
    paintBackground(cr);
    textDrawer().draw(cr, m_text, fontForState(), platform::Rect::fromSize(0, 0, getWidth(), getHeight()));
}

void Label::attachedToWindow()
{
    takeSkinDrawer();
    fetchText();
    measure();
}

void Label::detachingFromWindow()
{
    killTimer(kTemporaryTimer);
    if (m_showingTemporary) {
        m_showingTemporary = false;
        m_text = m_savedText;
    }
    m_pointer.cancel();
}

void Label::languageChanged()
{
    fetchText();
}

void Label::skinChanged()
{
    takeSkinDrawer();
    fontsChanged();
}

Label* makeLabel(std::string_view text, bool ellipsis, int sizeCode)
{
    Label* label = thread::take<Label>();
    label->setText(text, true);
    label->setWordWrap(false);
    label->setEllipsis(ellipsis);
    label->setFontSizeCode(sizeCode);
    return label;
}

Label* makeLabelById(int textId, bool wordWrap, int sizeCode)
{
    Label* label = thread::take<Label>();
    label->setTextId(textId);
    label->setWordWrap(wordWrap);
    label->setEllipsis(false);
    label->setFontSizeCode(sizeCode);
    return label;
}

}  // namespace s::gui::win
