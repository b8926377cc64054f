#include "gui/component/Box.h"

#include "gui/component/ComponentRouter.h"
#include "gui/component/LayoutManagers.h"
#include "gui/component/Window.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace s::gui::win {

using platform::LParam;
using platform::LResult;
using platform::Point;
using platform::WParam;

namespace {

// parentInner × percent / 100, rounded half away from zero.
int roundedShare(int parentInner, int percent)
{
    return clampExtent(std::llround(static_cast<double>(parentInner) * percent / 100.0));
}

}  // namespace

Box::~Box()
{
    releaseBackgroundDrawer();
}

int Box::getInnerWidth() const
{
    return std::max(0, getWidth() - horizontalMargins());
}

void Box::setInnerWidth(int width)
{
    setWidth(width + horizontalMargins());
}

int Box::getInnerHeight() const
{
    return std::max(0, getHeight() - verticalMargins());
}

void Box::setInnerHeight(int height)
{
    setHeight(height + verticalMargins());
}

int Box::getMinWidth() const
{
    if (m_noMinWidth)
        return 0;
    if (getFixedWidth() >= 0)
        return getFixedWidth();
    int minimum = clampExtent(static_cast<std::int64_t>(getContentMinWidth()) + horizontalMargins());
    if (m_minWidthFloor >= 0)
        minimum = std::max(minimum, m_minWidthFloor);
    return minimum;
}

int Box::getMinHeight() const
{
    if (m_noMinHeight)
        return 0;
    if (getFixedHeight() >= 0)
        return getFixedHeight();
    return clampExtent(static_cast<std::int64_t>(getContentMinHeight()) + verticalMargins());
}

int Box::getInnerMinWidth() const
{
    return std::max(0, getMinWidth() - horizontalMargins());
}

int Box::getInnerMinHeight() const
{
    return std::max(0, getMinHeight() - verticalMargins());
}

int Box::getPreferredWidth() const
{
    if (getFixedWidth() >= 0)
        return getFixedWidth();
    if (getPercentWidth() >= 0)
        return roundedShare(parentInnerWidth(), getPercentWidth());
    return clampExtent(static_cast<std::int64_t>(std::max(getContentMinWidth(), getContentPrefWidth())) +
                       horizontalMargins());
}

int Box::getPreferredHeight() const
{
    if (getFixedHeight() >= 0)
        return getFixedHeight();
    if (getPercentHeight() >= 0)
        return roundedShare(parentInnerHeight(), getPercentHeight());
    return clampExtent(static_cast<std::int64_t>(std::max(getContentMinHeight(), getContentPrefHeight())) +
                       verticalMargins());
}

int Box::getInnerPreferredWidth() const
{
    return std::max(0, getPreferredWidth() - horizontalMargins());
}

int Box::getInnerPreferredHeight() const
{
    return std::max(0, getPreferredHeight() - verticalMargins());
}

void Box::resizeWithin(int width, int height)
{
    Component::resizeWithin(width, height);
    doLayout();
}

void Box::setVisible(bool show, bool recurse)
{
    if (m_noShowHide)
        return;
    if (!show)
        m_pointer.cancel();
    Component::setVisible(show, recurse);
}

void Box::doLayout()
{
    if (isAttaching() || m_layoutDepth > 1)
        return;
    ++m_layoutDepth;
    setContentSizes(0, 0, 0, 0);
    if (!m_children.empty()) {
        if (m_layoutManager != nullptr) {
            m_layoutManager->layout(*this);
        } else {
            const layout::ContentSizes sizes =
                layout::arrange(*this, {m_layoutKind, m_hAlign, m_vAlign, m_hSpacing, m_vSpacing});
            setContentSizes(sizes.minWidth, sizes.minHeight, sizes.prefWidth, sizes.prefHeight);
        }
    }
    m_laidOutListeners.fire(this, kLaidOut);
    --m_layoutDepth;
}

ILayoutManager* Box::getLayoutManager() const
{
    return m_layoutManager != nullptr ? m_layoutManager : &layout::FlowH::shared();
}

void Box::setFullSize()
{
    storePercentWidth(100);
    storePercentHeight(100);
}

void Box::layOutIfAttached()
{
    if (m_window != nullptr)
        doLayout();
}

void Box::setPercentWidth(int percent, bool relayoutParent)
{
    storePercentWidth(percent);
    layOutIfAttached();
    if (relayoutParent)
        Component::relayoutParent(m_layoutKind == layout::kFlow ? 2 : 1);
}

void Box::setPercentHeight(int percent, bool relayoutParent)
{
    storePercentHeight(percent);
    layOutIfAttached();
    if (relayoutParent)
        Component::relayoutParent(m_layoutKind == layout::kFlow ? 2 : 1);
}

void Box::setFixedWidth(int pixels, bool relayoutParent)
{
    storeFixedWidth(pixels);
    layOutIfAttached();
    if (relayoutParent)
        Component::relayoutParent(m_layoutKind == layout::kFlow ? 2 : 1);
}

void Box::setFixedHeight(int pixels, bool relayoutParent)
{
    storeFixedHeight(pixels);
    layOutIfAttached();
    if (relayoutParent)
        Component::relayoutParent(m_layoutKind == layout::kFlow ? 2 : 1);
}

void Box::setMargins(int left, int right, int top, int bottom)
{
    const bool wereZero = m_marginLeft == 0 && m_marginTop == 0;
    m_marginLeft = std::max(0, left);
    m_marginRight = std::max(0, right);
    m_marginTop = std::max(0, top);
    m_marginBottom = std::max(0, bottom);
    // Margins going back to 0 must take the children back with them.
    if (m_window != nullptr && !(wereZero && m_marginLeft == 0 && m_marginTop == 0)) {
        for (IComponent* child : m_children)
            child->setOrigin(m_marginLeft, m_marginTop);
    }
}

void Box::giveOrigin(IComponent& child)
{
    if (m_marginLeft != 0 || m_marginTop != 0)
        child.setOrigin(m_marginLeft, m_marginTop);
}

void Box::childAdded(IComponent&)
{
    doLayout();
    Component::relayoutParent(m_layoutKind == layout::kFlow ? 2 : 1);
}

void Box::childrenAttached()
{
    doLayout();
    Component::relayoutParent(m_layoutKind == layout::kFlow ? 2 : 1);
}

void Box::geometryApplied(const platform::Rect& before)
{
    Component::geometryApplied(before);
    m_geometryListeners.fire(this, kGeometryChanged);
}

void Box::setBackgroundDrawer(drawer::IBackgroundDrawer* drawer, bool owned)
{
    releaseBackgroundDrawer();
    m_backgroundDrawer = drawer;
    m_ownsBackgroundDrawer = owned && drawer != nullptr;
    redraw();
}

void Box::releaseBackgroundDrawer()
{
    if (m_ownsBackgroundDrawer) {
        if (auto* poolable = dynamic_cast<thread::IPoolable*>(m_backgroundDrawer))
            poolable->recycle();
    }
    m_backgroundDrawer = nullptr;
    m_ownsBackgroundDrawer = false;
}

void Box::showOnlyChild(int index)
{
    for (int i = 0; i < getChildCount(); ++i) {
        if (i != index)
            m_children[static_cast<std::size_t>(i)]->setVisible(false, true);
    }
    if (IComponent* child = getChild(index))
        child->setVisible(true, true);
}

void Box::showOnlyChildParked(int index)
{
    showOnlyChild(index);
    for (int i = 0; i < getChildCount(); ++i) {
        IComponent* child = m_children[static_cast<std::size_t>(i)];
        if (i == index)
            child->setPosition(0, 0);
        else
            child->setPosition(0, 3000);
    }
}

void Box::setHoverColor(int r, int g, int b)
{
    m_hoverColor = rgb(r, g, b);
    m_hoverColorSet = true;
}

void Box::addClickListener(events::IEventListener* l)
{
    m_clickListeners.add(l);
    m_hitTransparent = false;
}

void Box::reverseChildren()
{
    std::reverse(m_children.begin(), m_children.end());
}

int Box::hitTest(Point) const
{
    return m_hitTransparent ? platform::HTTRANSPARENT : platform::HTCLIENT;
}

LResult Box::handleMessage(unsigned code, WParam wParam, LParam lParam)
{
    switch (code) {
    case platform::WM_MOUSEMOVE: {
        // Over a child that takes the pointer, the box is not the one hovered.
        const Point p = platform::pointFromLParam(lParam);
        Point local;
        const bool inside = contains(p) && findHit(*this, p, &local) == nullptr;
        if (m_pointer.move(inside).changed)
            redraw();
        followPointer(m_pointer);
        return 0;
    }
    case platform::WM_CAPTURECHANGED:
        if (m_pointer.cancel().changed)
            redraw();
        return 0;
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONDBLCLK: {
        const PointerTracker::Outcome outcome = m_pointer.press(contains(platform::pointFromLParam(lParam)));
        if (outcome.changed)
            redraw();
        if (outcome.pressed && !m_clickListeners.empty())
            m_clickListeners.fire(this, kClicked);
        return 0;
    }
    case platform::WM_LBUTTONUP:
        if (m_pointer.release(contains(platform::pointFromLParam(lParam))).changed)
            redraw();
        followPointer(m_pointer);
        return 0;
    default:
        return Container::handleMessage(code, wParam, lParam);
    }
}

bool Box::takeWheel(Point screen, int delta)
{
    if (offerWheelToChildren(*this, screen, delta))
        return true;
    if (m_wheelListeners.empty())
        return false;
    const int lines = m_window != nullptr ? m_window->wheelScrollLines() : 3;
    m_wheelLines = delta > 0 ? lines : -lines;
    m_wheelListeners.fire(this, kWheelTurned);
    return true;
}

void Box::paint(cairo_t* cr)
{
    m_suppressDefault = false;
    if (!m_paintListeners.empty()) {
        m_paintContext = cr;
        cairo_save(cr);
        m_paintListeners.fire(this, kPainting);
        cairo_restore(cr);
        m_paintContext = nullptr;
    }
    if (m_suppressDefault)
        return;
    if (isHovering() && m_hoverColorSet) {
        setSourceColour(cr, m_hoverColor);
        cairo_rectangle(cr, 0, 0, getWidth(), getHeight());
        cairo_fill(cr);
    } else {
        paintBackground(cr);
    }
    if (m_backgroundDrawer != nullptr)
        m_backgroundDrawer->paintBackground(cr, platform::Rect::fromSize(0, 0, getWidth(), getHeight()));
}

void Box::reset()
{
    removeAll(true);
    resetComponent();
    releaseBackgroundDrawer();
    m_layoutManager = nullptr;
    m_layoutKind = layout::kVertical;
    m_hAlign = layout::kLeft;
    m_vAlign = layout::kTop;
    m_hSpacing = m_vSpacing = 0;
    m_marginLeft = m_marginRight = m_marginTop = m_marginBottom = 0;
    m_minWidthFloor = -1;
    m_noMinWidth = m_noMinHeight = false;
    m_hitTransparent = true;
    m_hoverColorSet = false;
    m_hoverColor = 0;
    m_pointer = {};
    m_noShowHide = false;
    m_suppressDefault = false;
    m_paintContext = nullptr;
    m_wheelLines = 0;
    m_layoutDepth = 0;
    m_wheelListeners.clear();
    m_laidOutListeners.clear();
    m_geometryListeners.clear();
    m_paintListeners.clear();
    m_clickListeners.clear();
}

Box* makeBox(int percentWidth, int percentHeight, int hAlign, int vAlign, int hSpacing, int vSpacing, int hMargin,
             int vMargin, int kind)
{
    Box* box = thread::take<Box>();
    box->setLayoutKind(kind);
    if (percentWidth >= 0)
        box->setPercentWidth(percentWidth, true);
    if (percentHeight >= 0)
        box->setPercentHeight(percentHeight, true);
    if (hAlign <= 0)
        box->setHAlignLeft();
    else if (hAlign == 1)
        box->setHAlignCenter();
    else
        box->setHAlignRight();
    if (vAlign <= 0)
        box->setVAlignTop();
    else if (vAlign == 1)
        box->setVAlignMiddle();
    else
        box->setVAlignBottom();
    if (hSpacing > 0)
        box->setHSpacing(hSpacing);
    if (vSpacing > 0)
        box->setVSpacing(vSpacing);
    if (hMargin > 0)
        box->setHMargins(hMargin);
    if (vMargin > 0)
        box->setVMargins(vMargin);
    return box;
}

Box* makeRowBox(int percentHeight, int fixedWidth)
{
    Box* box = thread::take<Box>();
    box->setHorizontal();
    box->setHAlignRight();
    box->setVAlignBottom();
    if (fixedWidth >= 0)
        box->setFixedWidth(fixedWidth, true);
    if (percentHeight >= 0)
        box->setPercentHeight(percentHeight, true);
    return box;
}

}  // namespace s::gui::win
