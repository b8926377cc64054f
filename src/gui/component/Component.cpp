#include "gui/component/Component.h"

#include "gui/component/ComponentRouter.h"
#include "gui/component/PointerTracker.h"
#include "gui/component/PrivateMessages.h"
#include "gui/component/Window.h"
#include "gui/drawer/Skinner.h"

#include <cairo.h>

#include <algorithm>
#include <limits>

namespace s::gui::win {

using platform::LParam;
using platform::LResult;
using platform::Point;
using platform::Rect;
using platform::WParam;

int clampExtent(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, Component::kMaxExtent));
}

int alignOffset(int align, int leftover)
{
    if (leftover <= 0)
        return 0;
    if (align == 1)
        return leftover / 2;
    if (align == 2)
        return leftover;
    return 0;
}

namespace {

int clampCoordinate(int value)
{
    return std::clamp(value, -Component::kMaxExtent, Component::kMaxExtent);
}

}  // namespace

Component::~Component()
{
    if (m_window != nullptr)
        detachView();
}

int Component::onEvent(base::IObject*, int)
{
    return 0;
}

int Component::getScreenX() const
{
    const Rect r = windowRect();
    if (m_window == nullptr || m_window == this)
        return m_originX + m_x;
    return m_window->getScreenX() + r.left;
}

int Component::getScreenY() const
{
    const Rect r = windowRect();
    if (m_window == nullptr || m_window == this)
        return m_originY + m_y;
    return m_window->getScreenY() + r.top;
}

bool Component::containsScreenPoint(int x, int y) const
{
    if (!isVisible())
        return false;
    const int left = getScreenX();
    const int top = getScreenY();
    return x >= left && x <= left + m_width && y >= top && y <= top + m_height;
}

void Component::setPosition(int x, int y)
{
    applyGeometry(x, y, m_width, m_height, m_originX, m_originY);
}

void Component::setSize(int width, int height)
{
    applyGeometry(m_x, m_y, width, height, m_originX, m_originY);
}

void Component::setBounds(int x, int y, int width, int height)
{
    applyGeometry(x, y, width, height, m_originX, m_originY);
}

void Component::setOrigin(int originX, int originY)
{
    applyGeometry(m_x, m_y, m_width, m_height, originX, originY);
}

void Component::moveOrigin(int dx, int dy)
{
    applyGeometry(m_x, m_y, m_width, m_height, m_originX + dx, m_originY + dy);
}

void Component::applyGeometry(int x, int y, int width, int height, int originX, int originY)
{
    m_x = clampCoordinate(x);
    m_y = clampCoordinate(y);
    m_width = clampExtent(width);
    m_height = clampExtent(height);
    m_originX = clampCoordinate(originX);
    m_originY = clampCoordinate(originY);
    if (m_layoutSuspended) {
        m_geometryPending = true;
        return;
    }
    const Rect before = m_shownRect;
    m_shownRect = rectInParent();
    geometryApplied(before);
}

void Component::geometryApplied(const Rect& before)
{
    if (m_window == nullptr || !m_visible || before == m_shownRect)
        return;
    // Both rectangles in the window's coordinates: the parent's offset plus each.
    const Rect now = windowRect();
    const int dx = now.left - m_shownRect.left;
    const int dy = now.top - m_shownRect.top;
    m_window->invalidateRect(before.offset(dx, dy));
    m_window->invalidateRect(now);
}

int Component::getMinWidth() const
{
    return m_fixedWidth >= 0 ? m_fixedWidth : m_contentMinWidth;
}

int Component::getMinHeight() const
{
    return m_fixedHeight >= 0 ? m_fixedHeight : m_contentMinHeight;
}

int Component::getPreferredWidth() const
{
    if (m_fixedWidth >= 0)
        return m_fixedWidth;
    if (m_percentWidth >= 0)
        return clampExtent(static_cast<std::int64_t>(parentInnerWidth()) * m_percentWidth / 100);
    return std::max(m_contentMinWidth, m_contentPrefWidth);
}

int Component::getPreferredHeight() const
{
    if (m_fixedHeight >= 0)
        return m_fixedHeight;
    if (m_percentHeight >= 0)
        return clampExtent(static_cast<std::int64_t>(parentInnerHeight()) * m_percentHeight / 100);
    return std::max(m_contentMinHeight, m_contentPrefHeight);
}

void Component::setContentSizes(int minWidth, int minHeight, int prefWidth, int prefHeight)
{
    m_contentMinWidth = clampExtent(minWidth);
    m_contentMinHeight = clampExtent(minHeight);
    m_contentPrefWidth = clampExtent(prefWidth);
    m_contentPrefHeight = clampExtent(prefHeight);
}

void Component::storePercentWidth(int percent)
{
    m_percentWidth = percent >= 0 ? std::min(percent, kMaxExtent) : -1;
    m_fixedWidth = -1;
}

void Component::storePercentHeight(int percent)
{
    m_percentHeight = percent >= 0 ? std::min(percent, kMaxExtent) : -1;
    m_fixedHeight = -1;
}

void Component::storeFixedWidth(int pixels)
{
    m_fixedWidth = pixels >= 0 ? std::min(pixels, kMaxExtent) : -1;
    m_percentWidth = -1;
}

void Component::storeFixedHeight(int pixels)
{
    m_fixedHeight = pixels >= 0 ? std::min(pixels, kMaxExtent) : -1;
    m_percentHeight = -1;
}

void Component::resizeWithin(int width, int height)
{
    const auto within = [](int offered, int minimum, int preferred) {
        const int size = std::min(offered, preferred);
        return size < minimum ? minimum : size;
    };
    setSize(within(width, getMinWidth(), getPreferredWidth()), within(height, getMinHeight(), getPreferredHeight()));
}

void Component::setVisible(bool show, bool recurse)
{
    if (m_visible == show)
        return;
    if (show) {
        m_visible = true;
        if (recurse) {
            for (IComponent* child : getChildren())
                child->setVisible(true, true);
        }
        redraw();
        relayoutParent(isContainer() ? 2 : 1);
        return;
    }
    if (m_window != nullptr)
        m_window->invalidateRect(windowRect());
    m_visible = false;
    if (hasMouseCapture())
        releaseMouse();
    setX(kHiddenX);
    for (IComponent* child : getChildren())
        child->setVisible(false, false);
}

void Component::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (!enabled && hasMouseCapture())
        releaseMouse();
    redraw();
}

void Component::centreInParent()
{
    centreHorizontally();
    centreVertically();
}

void Component::centreHorizontally()
{
    const int leftover = parentInnerWidth() - m_width;
    setX(leftover > 0 ? leftover / 2 : 0);
}

void Component::centreVertically()
{
    const int leftover = parentInnerHeight() - m_height;
    setY(leftover > 0 ? leftover / 2 : 0);
}

void Component::setTransparent(bool redrawNow)
{
    m_transparent = true;
    if (redrawNow)
        redraw();
}

void Component::setBackgroundSystem(bool redrawNow)
{
    m_background = system_colour::kButtonFace;
    m_transparent = false;
    if (redrawNow)
        redraw();
}

void Component::setBackgroundLight(bool redrawNow)
{
    const Colour c = system_colour::kInactiveCaptionText;
    const auto light = [](int channel) { return 255 - (255 - channel) / 2; };
    setBackgroundColor(light(red(c)), light(green(c)), light(blue(c)), redrawNow);
}

void Component::setBackgroundColor(int r, int g, int b, bool redrawNow)
{
    m_background = rgb(r, g, b);
    m_transparent = false;
    if (redrawNow)
        redraw();
}

void Component::setParent(IComponent* container)
{
    if (container == nullptr) {
        if (m_window != nullptr)
            detachView();
        m_parent = nullptr;
        return;
    }
    if (m_parent != container && m_window != nullptr)
        detachView();
    m_parent = container;
    Window* window = container->getWindow();
    if (window != nullptr && m_window == nullptr)
        attachView(window);
}

void Component::attachView(Window* window)
{
    m_window = window;
    m_windowId = window->getWindowId();
    window->router().enrol(this);
    m_shownRect = rectInParent();
    attachedToWindow();
    redraw();
}

void Component::detachView()
{
    if (m_window == nullptr)
        return;
    detachingFromWindow();
    if (m_visible)
        m_window->invalidateRect(windowRect());
    m_window->router().forget(this);
    m_window = nullptr;
    m_windowId = 0;
}

void Component::redrawRect(int x, int y, int width, int height)
{
    if (!isVisible())
        return;
    const Rect r = windowRect();
    m_window->invalidateRect(Rect::fromSize(r.left + x, r.top + y, width, height).intersect(r));
}

const std::vector<IComponent*>& Component::getChildren() const
{
    static const std::vector<IComponent*> none;
    return none;
}

cairo_surface_t* Component::getPaintBuffer(int* outX, int* outY) const
{
    const Rect r = windowRect();
    if (outX != nullptr)
        *outX = r.left;
    if (outY != nullptr)
        *outY = r.top;
    if (m_window == nullptr || m_window->getNativeWindow() == nullptr)
        return nullptr;
    return m_window->getNativeWindow()->backBuffer();
}

void Component::suspendLayout()
{
    m_layoutSuspended = true;
    for (IComponent* child : getChildren())
        child->suspendLayout();
}

void Component::resumeLayout()
{
    m_layoutSuspended = false;
    if (m_geometryPending) {
        m_geometryPending = false;
        setBounds(m_x, m_y, m_width, m_height);
    }
    for (IComponent* child : getChildren())
        child->resumeLayout();
}

int Component::hitTest(Point) const
{
    return platform::HTCLIENT;
}

LResult Component::handleMessage(unsigned code, WParam wParam, LParam)
{
    switch (code) {
    case msg::kDestroyView:
        setParent(nullptr);
        return 0;
    case msg::kAttachChild:
        if (IComponent* child = reinterpret_cast<IComponent*>(wParam); child != nullptr && isContainer())
            add(child);
        return 0;
    default:
        return 0;
    }
}

void Component::paint(cairo_t* cr)
{
    paintBackground(cr);
}

drawer::ISkin* Component::windowSkin() const
{
    if (m_window == nullptr || m_window->getSkinner() == nullptr)
        return nullptr;
    return m_window->getSkinner()->getCurrentSkin();
}

lang::Localizer* Component::windowLocalizer() const
{
    return m_window != nullptr ? m_window->getLocalizer() : nullptr;
}

void Component::paintBackground(cairo_t* cr) const
{
    if (m_transparent)
        return;
    setSourceColour(cr, m_background);
    cairo_rectangle(cr, 0, 0, m_width, m_height);
    cairo_fill(cr);
}

LResult Component::sendMessage(unsigned code, WParam wParam, LParam lParam)
{
    const platform::WindowId id = m_windowId.load();
    platform::Display* display = platform::currentDisplay();
    if (id == 0 || (display != nullptr && display->findWindow(id) != nullptr))
        return handleMessage(code, wParam, lParam);
    ComponentMessage message{code, wParam, lParam};
    return platform::sendMessage(id, msg::kComponentMessage, reinterpret_cast<WParam>(this),
                                 reinterpret_cast<LParam>(&message));
}

Rect Component::windowRect() const
{
    int x = 0;
    int y = 0;
    for (const IComponent* c = this; c != nullptr && c != m_window; c = c->getParent()) {
        x += c->getX() + c->getOriginX();
        y += c->getY() + c->getOriginY();
    }
    return Rect::fromSize(x, y, m_width, m_height);
}

int Component::parentInnerWidth() const
{
    return m_parent != nullptr ? m_parent->getInnerWidth() : 0;
}

int Component::parentInnerHeight() const
{
    return m_parent != nullptr ? m_parent->getInnerHeight() : 0;
}

void Component::relayoutParent(int times)
{
    if (m_parent == nullptr || m_window == nullptr)
        return;
    for (int i = 0; i < times; ++i)
        m_parent->relayout();
}

bool Component::hasMouseCapture() const
{
    return m_window != nullptr && m_window->router().capturedBy() == this;
}

void Component::captureMouse()
{
    if (m_window != nullptr)
        m_window->router().capture(this);
}

void Component::releaseMouse()
{
    if (m_window != nullptr)
        m_window->router().release(this);
}

void Component::followPointer(const PointerTracker& tracker)
{
    const bool holds = hasMouseCapture();
    if (tracker.wantsCapture() && !holds)
        captureMouse();
    else if (!tracker.wantsCapture() && holds)
        releaseMouse();
}

bool Component::setTimer(std::uintptr_t id, int periodMs)
{
    return m_window != nullptr && m_window->router().setTimer(this, id, periodMs);
}

void Component::killTimer(std::uintptr_t id)
{
    if (m_window != nullptr)
        m_window->router().killTimer(this, id);
}

void Component::resetComponent()
{
    if (m_parent != nullptr)
        m_parent->remove(this, false);
    setParent(nullptr);
    m_x = m_y = m_originX = m_originY = m_width = m_height = 0;
    m_contentMinWidth = m_contentMinHeight = m_contentPrefWidth = m_contentPrefHeight = 0;
    m_percentWidth = m_percentHeight = m_fixedWidth = m_fixedHeight = -1;
    m_background = system_colour::kButtonFace;
    m_transparent = true;
    m_visible = true;
    m_enabled = true;
    m_layoutSuspended = false;
    m_geometryPending = false;
    m_attaching = false;
    m_shownRect = {};
}

}  // namespace s::gui::win
