#include "gui/component/Window.h"

#include "gui/component/BoxLayout.h"
#include "gui/component/LayoutManagers.h"
#include "gui/component/Painting.h"
#include "gui/component/PrivateMessages.h"
#include "gui/drawer/Skinner.h"
#include "gui/text/LanguageTags.h"
#include "gui/text/TextEngine.h"
#include "gui/win/MessageBox.h"
#include "lang/Localizer.h"

#include <cairo.h>

#include <algorithm>

namespace s::gui::win {

using platform::LParam;
using platform::LResult;
using platform::NativeWindow;
using platform::Point;
using platform::Rect;
using platform::WParam;

namespace {

constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 120;
constexpr int kClientEdge = 2;

int clampSide(int side)
{
    return std::clamp(side, 0, Window::kMaxSide);
}

// A sunken edge of two pixels: darker lines top and left, lighter bottom and right.
void paintClientEdge(cairo_t* cr, int width, int height)
{
    const auto line = [cr](Colour colour, double x1, double y1, double x2, double y2) {
        setSourceColour(cr, colour);
        cairo_move_to(cr, x1, y1);
        cairo_line_to(cr, x2, y2);
        cairo_stroke(cr);
    };
    cairo_set_line_width(cr, 1);
    const double w = width;
    const double h = height;
    line(rgb(160, 160, 160), 0.5, h - 1, 0.5, 0.5);
    line(rgb(160, 160, 160), 0.5, 0.5, w - 1, 0.5);
    line(rgb(255, 255, 255), w - 0.5, 0, w - 0.5, h);
    line(rgb(255, 255, 255), 0, h - 0.5, w, h - 0.5);
    line(rgb(105, 105, 105), 1.5, h - 2, 1.5, 1.5);
    line(rgb(105, 105, 105), 1.5, 1.5, w - 2, 1.5);
    line(rgb(227, 227, 227), w - 1.5, 1, w - 1.5, h - 1);
    line(rgb(227, 227, 227), 1, h - 1.5, w - 1, h - 1.5);
}

}  // namespace

Window::Window() : m_router(*this)
{
    setBackgroundSystem(false);
}

Window::~Window()
{
    reset();
}

bool Window::create(platform::IWindowSystem* system)
{
    if (getWindowId() != 0)
        return true;
    m_thread = std::make_unique<UIThread>();
    if (!m_thread->start(system))
        return false;
    m_thread->setWindow(this);
    if (!m_thread->waitUntilRunning()) {
        m_thread->shutdown();
        m_thread.reset();
        return false;
    }
    return true;
}

bool Window::createIn(platform::Display& display)
{
    return getWindowId() != 0 || createNativeWindows(display);
}

bool Window::createNativeWindows(platform::Display& display)
{
    text::setResolution(display.dpi());
    platform::WindowParams params;
    params.kind = platform::WindowKind::TopLevel;
    if (getWidth() > 0 && getHeight() > 0) {
        params.bounds = Rect::fromSize(getX(), getY(), getWidth(), getHeight());
    } else {
        const Rect work = display.workArea(display.virtualScreen());
        params.bounds = Rect::fromSize(work.left + std::max(0, (work.width() - kDefaultWidth) / 2),
                                       work.top + std::max(0, (work.height() - kDefaultHeight) / 2), kDefaultWidth,
                                       kDefaultHeight);
    }
    params.title = m_title;
    params.resizable = m_resizable;
    params.background = getBackgroundColor();
    NativeWindow* native = display.createWindow(params, this);
    if (native == nullptr) {
        MessageBoxStyle style;
        style.title = "Error!";
        showMessageBox(display, 0, "Window Creation Failed!", MessageBoxKind::Error, style);
        return false;
    }
    m_native = native;
    m_threadId = std::this_thread::get_id();
    m_windowId = native->id();
    {
        std::lock_guard guard(m_frameLock);
        m_frameAlive = true;
    }
    m_syncingFromFrame = true;
    m_frameBounds = native->bounds();
    Container::setBounds(m_frameBounds.left, m_frameBounds.top, m_frameBounds.width(), m_frameBounds.height());
    m_syncingFromFrame = false;
    attachView(this);
    if (m_statusBar != nullptr)
        m_statusBar->setParent(this);
    applyDrawer();
    updateTitle();
    doLayout();
    return true;
}

bool Window::isOnOwnThread() const
{
    return getWindowId() == 0 || std::this_thread::get_id() == m_threadId;
}

void Window::runOnThread(const std::function<void()>& work)
{
    if (isOnOwnThread())
        work();
    else
        platform::invoke(getWindowId(), work);
}

void Window::waitUntilFrameDestroyed()
{
    std::unique_lock lock(m_frameLock);
    m_frameEnded.wait(lock, [this] { return !m_frameAlive; });
}

void Window::setPosition(int x, int y)
{
    runOnThread([&] { Container::setPosition(x, y); });
}

void Window::setSize(int width, int height)
{
    runOnThread([&] { Container::setSize(clampSide(width), clampSide(height)); });
}

void Window::setBounds(int x, int y, int width, int height)
{
    runOnThread([&] { Container::setBounds(x, y, clampSide(width), clampSide(height)); });
}

void Window::geometryApplied(const Rect&)
{
    if (m_syncingFromFrame || m_native == nullptr)
        return;
    m_native->setBounds(Rect::fromSize(getX(), getY(), getWidth(), getHeight()));
}

int Window::edge() const
{
    return m_clientEdge && m_drawer == nullptr ? kClientEdge : 0;
}

int Window::getInnerWidth() const
{
    return std::max(0, getWidth() - 2 * edge());
}

int Window::getInnerHeight() const
{
    return std::max(0, getHeight() - 2 * edge());
}

int Window::getMinWidth() const
{
    return getFixedWidth() >= 0 ? getFixedWidth() : clampExtent(std::int64_t{getContentMinWidth()} + 2 * edge());
}

int Window::getMinHeight() const
{
    return getFixedHeight() >= 0 ? getFixedHeight() : clampExtent(std::int64_t{getContentMinHeight()} + 2 * edge());
}

bool Window::isVisible() const
{
    return m_native != nullptr && m_native->isVisible();
}

void Window::setVisible(bool visible, bool)
{
    show(visible ? platform::SW_SHOW : platform::SW_HIDE);
}

void Window::show(int showCommand)
{
    runOnThread([&] {
        if (m_native != nullptr)
            m_native->show(showCommand);
    });
}

void Window::add(IComponent* child)
{
    runOnThread([&] { Container::add(child); });
}

void Window::remove(IComponent* child, bool destroy)
{
    runOnThread([&] {
        if (child != nullptr && child == m_statusBar) {
            m_statusBar = nullptr;
            child->setParent(nullptr);
            if (destroy) {
                child->removeAll(true);
                child->recycle();
            }
            doLayout();
            return;
        }
        Container::remove(child, destroy);
    });
}

void Window::childAdded(IComponent&)
{
    doLayout();
}

void Window::giveOrigin(IComponent& child)
{
    child.setOrigin(edge(), edge());
}

void Window::doLayout()
{
    if (isAttaching() || m_layoutDepth > 1)
        return;
    ++m_layoutDepth;
    if (m_layoutManager != nullptr) {
        m_layoutManager->layout(*this);
    } else if (!m_children.empty()) {
        const layout::ContentSizes sizes = layout::arrange(*this, {layout::kVertical});
        setContentSizes(sizes.minWidth, sizes.minHeight, sizes.prefWidth, sizes.prefHeight);
    }
    if (m_statusBar != nullptr && m_statusBar->isShown()) {
        const int height = m_statusBar->getPreferredHeight();
        m_statusBar->setOrigin(edge(), edge());
        m_statusBar->setPosition(0, getInnerHeight() - height);
        m_statusBar->resizeWithin(getInnerWidth(), height);
    }
    --m_layoutDepth;
}

ILayoutManager* Window::getLayoutManager() const
{
    return m_layoutManager != nullptr ? m_layoutManager : &layout::Vertical::shared();
}

void Window::setLayoutManager(ILayoutManager* manager)
{
    runOnThread([&] {
        m_layoutManager = manager;
        doLayout();
    });
}

void Window::setStatusBar(IComponent* bar)
{
    runOnThread([&] {
        if (bar == m_statusBar)
            return;
        if (m_statusBar != nullptr) {
            IComponent* old = m_statusBar;
            m_statusBar = nullptr;
            old->setParent(nullptr);
            old->removeAll(true);
            old->recycle();
        }
        m_statusBar = bar;
        if (bar != nullptr) {
            if (IComponent* parent = bar->getParent(); parent != nullptr && parent != this)
                parent->remove(bar, false);
            bar->setParent(this);
        }
        doLayout();
        invalidateRect(Rect::fromSize(0, 0, getWidth(), getHeight()));
    });
}

void Window::bindLocalizer(lang::Localizer* localizer)
{
    runOnThread([&] {
        if (m_localizer == localizer)
            return;
        if (m_localizer != nullptr)
            m_localizer->removeListener(this);
        m_localizer = localizer;
        if (localizer == nullptr)
            return;
        localizer->addListener(this);
        if (lang::LangPack* language = localizer->getCurrentLanguage())
            text::setUserInterfaceLanguage(text::languageTagForPack(language->getTag()));
        updateTitle();
        forEachComponent([](IComponent& c) { c.languageChanged(); });
    });
}

void Window::setTitleTextId(int id)
{
    runOnThread([&] {
        m_titleTextId = id;
        updateTitle();
    });
}

void Window::setVersionTextId(int id)
{
    runOnThread([&] {
        m_versionTextId = id;
        updateTitle();
    });
}

void Window::setTitle(const std::string& title)
{
    runOnThread([&] {
        m_title = title;
        if (m_native != nullptr)
            m_native->setTitle(title);
    });
}

void Window::updateTitle()
{
    if (m_localizer == nullptr || m_titleTextId < 0)
        return;
    std::string title = m_localizer->getText(m_titleTextId);
    if (m_versionTextId >= 0)
        title += " v" + m_localizer->getText(m_versionTextId);
    m_title = title;
    if (m_native != nullptr)
        m_native->setTitle(title);
}

void Window::setSkinner(drawer::Skinner* skinner)
{
    runOnThread([&] {
        if (m_skinner == skinner)
            return;
        if (m_skinner != nullptr)
            m_skinner->removeListener(this);
        m_skinner = skinner;
        if (skinner != nullptr)
            skinner->addListener(this);
        applyDrawer();
        forEachComponent([](IComponent& c) { c.skinChanged(); });
        doLayout();
    });
}

void Window::applyDrawer()
{
    drawer::ISkin* skin = m_skinner != nullptr ? m_skinner->getCurrentSkin() : nullptr;
    m_drawer = skin != nullptr ? skin->getWindowDrawer() : nullptr;
    if (m_native == nullptr)
        return;
    if (m_drawer != nullptr)
        m_native->setBackground(m_drawer->getBackgroundColour());
    m_native->setShape(m_drawer != nullptr ? m_drawer->region(getWidth(), getHeight()) : std::vector<Rect>{});
    for (IComponent* child : m_children)
        giveOrigin(*child);
    invalidateRect(Rect::fromSize(0, 0, getWidth(), getHeight()));
}

void Window::setResizable(bool on)
{
    runOnThread([&] {
        m_resizable = on;
        if (m_native != nullptr)
            m_native->setResizable(on);
    });
}

void Window::setClientEdge(bool on)
{
    runOnThread([&] {
        if (m_clientEdge == on)
            return;
        m_clientEdge = on;
        for (IComponent* child : m_children)
            giveOrigin(*child);
        doLayout();
        invalidateRect(Rect::fromSize(0, 0, getWidth(), getHeight()));
    });
}

void Window::setEasyDrag(bool on)
{
    runOnThread([&] { m_easyDrag = on; });
}

void Window::invalidateRect(const Rect& rect)
{
    if (m_native != nullptr && !rect.isEmpty())
        m_native->invalidate(&rect);
}

int Window::wheelScrollLines() const
{
    return m_native != nullptr ? m_native->display().wheelScrollLines() : 3;
}

IComponent* Window::findComponentAt(Point point, Point* local) const
{
    if (m_statusBar != nullptr) {
        if (IComponent* hit = hitComponent(*m_statusBar, point, local))
            return hit;
    }
    return findHit(*this, point, local);
}

void Window::forEachComponent(const std::function<void(IComponent&)>& visit) const
{
    std::function<void(IComponent&)> walk = [&](IComponent& c) {
        visit(c);
        for (IComponent* child : c.getChildren())
            walk(*child);
    };
    for (IComponent* child : m_children)
        walk(*child);
    if (m_statusBar != nullptr)
        walk(*m_statusBar);
}

int Window::onEvent(base::IObject* source, int code)
{
    // A skinner or localizer shared with windows of other threads tells them on its own thread.
    if (!isOnOwnThread()) {
        runOnThread([&] { onEvent(source, code); });
        return 0;
    }
    if (source != nullptr && source == static_cast<base::IObject*>(m_localizer)) {
        if (lang::LangPack* language = m_localizer->getCurrentLanguage())
            text::setUserInterfaceLanguage(text::languageTagForPack(language->getTag()));
        updateTitle();
        forEachComponent([](IComponent& c) { c.languageChanged(); });
        doLayout();
        m_languageListeners.fire(this, kLanguageChanged);
    } else if (source != nullptr && source == static_cast<base::IObject*>(m_skinner)) {
        applyDrawer();
        forEachComponent([](IComponent& c) { c.skinChanged(); });
        doLayout();
    }
    return Container::onEvent(source, code);
}

void Window::paint(cairo_t* cr)
{
    const int width = getWidth();
    const int height = getHeight();
    if (m_drawer != nullptr) {
        m_drawer->paintFrame(cr, width, height);
        return;
    }
    setSourceColour(cr, getBackgroundColor());
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    if (edge() > 0)
        paintClientEdge(cr, width, height);
}

LResult Window::hitTestFrame(Point) const
{
    if (m_easyDrag && m_native != nullptr && !m_native->display().isKeyDown(platform::VK_RBUTTON))
        return platform::HTCAPTION;
    return platform::HTCLIENT;
}

void Window::limitSizing(int sizingEdge, Rect* rect) const
{
    if (m_native == nullptr)
        return;
    using namespace platform;
    const int limit = m_native->display().workArea(*rect).height();
    if (rect->height() > limit) {
        if (sizingEdge == WMSZ_BOTTOM || sizingEdge == WMSZ_BOTTOMLEFT || sizingEdge == WMSZ_BOTTOMRIGHT)
            rect->bottom = rect->top + limit;
        else
            rect->top = rect->bottom - limit;
    }
    const int minWidth = std::min(getMinWidth(), kMaxSide);
    if (rect->width() < minWidth) {
        if (sizingEdge == WMSZ_LEFT || sizingEdge == WMSZ_TOPLEFT || sizingEdge == WMSZ_BOTTOMLEFT)
            rect->left = rect->right - minWidth;
        else
            rect->right = rect->left + minWidth;
    }
    const int minHeight = std::min(getMinHeight(), kMaxSide);
    if (rect->height() < minHeight) {
        if (sizingEdge == WMSZ_TOP || sizingEdge == WMSZ_TOPLEFT || sizingEdge == WMSZ_TOPRIGHT)
            rect->top = rect->bottom - minHeight;
        else
            rect->bottom = rect->top + minHeight;
    }
}

void Window::frameBoundsChanged()
{
    const Rect b = m_native->bounds();
    const bool resized = b.width() != m_frameBounds.width() || b.height() != m_frameBounds.height();
    m_frameBounds = b;
    m_syncingFromFrame = true;
    Container::setBounds(b.left, b.top, b.width(), b.height());
    m_syncingFromFrame = false;
    if (!resized || m_native->isMinimized())
        return;
    if (m_drawer != nullptr)
        m_native->setShape(m_drawer->region(b.width(), b.height()));
    doLayout();
    invalidateRect(Rect::fromSize(0, 0, b.width(), b.height()));
}

void Window::frameDestroyed()
{
    detachView();
    m_native = nullptr;
    m_windowId = 0;
    m_frameBounds = {};
    {
        std::lock_guard guard(m_frameLock);
        m_frameAlive = false;
    }
    m_frameEnded.notify_all();
    // A window on a thread of its own has nothing left to serve.
    if (m_thread != nullptr && platform::currentDisplay() != nullptr)
        platform::currentDisplay()->postQuit(0);
}

void Window::destroyFrame()
{
    runOnThread([this] {
        if (m_native != nullptr)
            m_native->destroy();
    });
    if (m_thread != nullptr) {
        m_thread->shutdown();
        m_thread.reset();
    }
}

LResult Window::windowProc(NativeWindow& window, unsigned code, WParam wParam, LParam lParam)
{
    using namespace platform;
    switch (code) {
    case WM_PAINT: {
        PaintInfo info = window.beginPaint();
        if (info.surface != nullptr) {
            cairo_t* cr = cairo_create(info.surface);
            for (const Rect& r : info.rects)
                cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
            cairo_clip(cr);
            paint(cr);
            paintChildren(cr, *this);
            if (m_statusBar != nullptr)
                paintComponent(cr, *m_statusBar);
            cairo_destroy(cr);
        }
        window.endPaint(info);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST: {
        const Point p = window.screenToClient(pointFromLParam(lParam));
        if (!Rect::fromSize(0, 0, getWidth(), getHeight()).contains(p))
            return window.defaultProc(code, wParam, lParam);
        if (m_router.hitTest(p) != nullptr)
            return HTCLIENT;
        return hitTestFrame(p);
    }
    case WM_SETCURSOR: {
        Cursor cursor = Cursor::Arrow;
        if (signedLoWord(static_cast<std::uintptr_t>(lParam)) == HTCLIENT &&
            m_router.cursorFor(window.screenToClient(window.display().cursorPos()), &cursor)) {
            window.setCursor(cursor);
            return 1;
        }
        if (window.defaultProc(code, wParam, lParam) == 0)
            window.setCursor(Cursor::Arrow);
        return 1;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (m_router.dispatchPointer(code, wParam, lParam))
            return 0;
        break;
    case WM_CAPTURECHANGED:
        m_router.nativeCaptureChanged();
        break;
    case WM_TIMER:
        if (m_router.dispatchTimer(wParam))
            return 0;
        break;
    case WM_MOUSEWHEEL: {
        const Point screen = pointFromLParam(lParam);
        const int delta = signedHiWord(wParam);
        if (m_statusBar == nullptr || !m_statusBar->isContainer() || !m_statusBar->isVisible() ||
            !m_statusBar->containsScreenPoint(screen.x, screen.y) || !m_statusBar->takeWheel(screen, delta))
            offerWheelToChildren(*this, screen, delta);
        return 0;
    }
    case WM_WINDOWPOSCHANGED:
        frameBoundsChanged();
        break;
    case WM_SIZING:
        limitSizing(static_cast<int>(wParam), reinterpret_cast<Rect*>(lParam));
        return 1;
    case WM_DESTROY:
        frameDestroyed();
        break;
    case msg::kComponentMessage:
        return m_router.deliver(reinterpret_cast<Component*>(wParam), *reinterpret_cast<const ComponentMessage*>(lParam));
    case msg::kDefaultClose:
        return window.defaultProc(WM_CLOSE, 0, 0);
    case msg::kAttachChild:
        add(reinterpret_cast<IComponent*>(wParam));
        return 0;
    default:
        break;
    }
    return window.defaultProc(code, wParam, lParam);
}

void Window::reset()
{
    destroyFrame();
    removeAll(true);
    if (m_statusBar != nullptr) {
        IComponent* bar = m_statusBar;
        m_statusBar = nullptr;
        bar->setParent(nullptr);
        bar->removeAll(true);
        bar->recycle();
    }
    if (m_localizer != nullptr)
        m_localizer->removeListener(this);
    if (m_skinner != nullptr)
        m_skinner->removeListener(this);
    m_localizer = nullptr;
    m_skinner = nullptr;
    m_drawer = nullptr;
    resetComponent();
    setBackgroundSystem(false);
    m_layoutManager = nullptr;
    m_layoutDepth = 0;
    m_titleTextId = -1;
    m_versionTextId = -1;
    m_title = "Window";
    m_resizable = true;
    m_clientEdge = true;
    m_easyDrag = false;
    m_languageListeners.clear();
}

}  // namespace s::gui::win
