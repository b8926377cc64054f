#include "Gallery.h"

#include "gui/component/PrivateMessages.h"
#include "gui/widgets/Spacer.h"
#include "platform/Display.h"

namespace s::gui::gallery {

using namespace win;

void Gallery::name(base::IObject* source, std::string label)
{
    m_names.emplace_back(source, std::move(label));
}

void Gallery::buildInto(Window& window)
{
    Box* root = makeBox(100, 100, 0, 0, -1, 8, 8, 8, layout::kVertical);

    Box* titleRow = makeBox(100, -1, 0, 1, -1, -1, -1, -1, layout::kHorizontal);
    titleRow->setFixedHeight(26, false);
    title = makeLabel("Ostrel toolkit gallery", false, -104);
    titleRow->add(title);
    titleRow->add(makeSpacerPercent(100));
    for (const char* glyph : {"#_", "#\u25A1"}) {
        titleRow->add(makeButton(glyph, 18, 18));
        titleRow->add(makeSpacer(0, 2));
    }
    close = makeButton("#X", 18, 18);
    close->addClickListener(this);
    titleRow->add(close);
    root->add(titleRow);

    Box* labels = makeBox(100, -1, 0, 2, 10, -1, -1, -1, layout::kHorizontal);
    plain = makeLabel("Plain text", false, 105);
    labels->add(plain);
    for (int effect = 1; effect <= 7; ++effect) {
        Label* label = makeLabel("Effect " + std::to_string(effect), false, 2);
        label->setEffect(effect);
        labels->add(label);
    }
    root->add(labels);

    Box* linkRow = makeBox(100, -1, 0, 1, 12, -1, -1, -1, layout::kHorizontal);
    link = makeLabel("A link that goes nowhere", false, 0);
    link->setLink(true);
    link->addClickListener(this);
    name(link, "link");
    linkRow->add(link);
    Label* ellipsis = makeLabel("An ellipsis cuts what does not fit into its place", true, 0);
    linkRow->add(ellipsis);
    root->add(linkRow);

    Box* buttons = makeBox(100, -1, 0, 1, 8, -1, -1, -1, layout::kHorizontal);
    push = makeButton("Push", 80, 24);
    toggle = makeButton("Toggle", 80, 24);
    toggle->setToggle(true, true, false, false);
    pushed = makeButton("Pushed", 80, 24);
    pushed->setToggle(true, false, false, false);
    pushed->setPushed(true);
    repeat = makeButton("#Up", 24, 24);
    repeat->setAutoRepeat(true);
    for (Button* b : {push, toggle, pushed, repeat}) {
        b->addClickListener(this);
        b->addAfterClickListener(this);
        buttons->add(b);
    }
    repeat->addPressListener(this);
    name(push, "push");
    name(toggle, "toggle");
    name(pushed, "pushed");
    name(repeat, "repeat");
    for (const char* glyph : {"#Play", "#Pause", "#Stop", "#Check", "#Plus", "#Minus", "#TurnLeft", "#FitWindow"})
        buttons->add(makeButton(glyph, 24, 24));
    root->add(buttons);

    Box* checks = makeBox(100, -1, 0, 1, 16, -1, -1, -1, layout::kHorizontal);
    check = makeCheckBox("Check & see", false);
    bound = makeCheckBox("Enabled while checked", false);
    bound->setEnabled(false);
    check->enableWhileChecked(bound);
    check->addCheckedListener(this);
    check->addUncheckedListener(this);
    name(check, "check");
    checks->add(check);
    checks->add(bound);
    checks->add(makeCheckBox("Checked from the start", true));
    root->add(checks);

    flow = makeBox(100, -1, 0, 0, 6, 4, -1, -1, layout::kFlow);
    for (int i = 1; i <= 14; ++i)
        flow->add(makeLabel("Flow item " + std::to_string(i), false, 0));
    root->add(flow);

    Box* lower = makeBox(100, -1, 0, 0, 16, -1, -1, -1, layout::kHorizontal);
    pile = makeBox(-1, -1, 2, 2, -1, -1, 6, 4, layout::kPile);
    pile->setFixedWidth(210, false);
    pile->setFixedHeight(56, false);
    if (drawer::ISkin* skin = m_skinner.getCurrentSkin())
        pile->setBackgroundDrawer(skin->getWindowDrawer(), false);
    pile->add(makeLabel("Under, right and bottom", false, 0));
    pile->add(makeLabel("Pile", false, 100));
    lower->add(pile);
    Box* scripts = makeBox(-1, -1, 0, 0, -1, 2, -1, -1, layout::kVertical);
    for (const char* text : {"文件更改监视 (中文)", "تغيير الملف (العربية)", "تغییر پرونده (فارسی)",
                             "Изменение файла (русский)"})
        scripts->add(makeLabel(text, false, 0));
    lower->add(scripts);
    root->add(lower);

    Box* skinRow = makeBox(100, -1, 0, 1, 10, -1, -1, -1, layout::kHorizontal);
    nextSkin = makeButton("Next skin", 100, 24);
    nextSkin->addClickListener(this);
    name(nextSkin, "nextSkin");
    skinName = makeLabel(m_skinner.getCurrentSkin() != nullptr ? m_skinner.getCurrentSkin()->getName() : "", false, 0);
    skinRow->add(nextSkin);
    skinRow->add(skinName);
    root->add(skinRow);

    statusBar = makeBox(100, -1, 0, 2, -1, -1, 4, -1, layout::kHorizontal);
    statusBar->setFixedHeight(16, false);
    statusBar->add(makeLabel("Ready", false, 100001));
    statusBar->add(makeSpacerPercent(100));
    Box* gripRow = makeRowBox(100, -1);
    grip = makeButton("#Resizer", 12, 12);
    grip->setDrawerFlag(false);
    gripRow->add(grip);
    statusBar->add(gripRow);

    m_skinner.addListener(this);
    m_window = window.getWindowId();
    window.add(root);
    window.setStatusBar(statusBar);
}

std::vector<std::string> Gallery::events() const
{
    std::lock_guard guard(m_lock);
    return m_events;
}

Gallery::~Gallery()
{
    m_skinner.removeListener(this);
}

int Gallery::onEvent(base::IObject* source, int code)
{
    // The pile's frame is the current skin's window drawer.
    if (source == &m_skinner) {
        if (drawer::ISkin* skin = m_skinner.getCurrentSkin())
            pile->setBackgroundDrawer(skin->getWindowDrawer(), false);
        return 0;
    }
    // Closed after the click has been handled, as the desktop's close would.
    if (source == close && code == Button::kClicked)
        platform::postMessage(m_window, msg::kDefaultClose);
    if (source == nextSkin && code == Button::kClicked) {
        m_skinner.selectSkinByIndex((static_cast<std::size_t>(m_skinner.getCurrentIndex()) + 1) % m_skinner.getSkinCount());
        skinName->setText(m_skinner.getCurrentSkin()->getName());
    }
    for (const auto& [object, label] : m_names) {
        if (object == source) {
            std::lock_guard guard(m_lock);
            m_events.push_back(label + ":" + std::to_string(code));
        }
    }
    return 0;
}

}  // namespace s::gui::gallery
