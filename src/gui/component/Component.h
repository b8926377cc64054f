#pragma once

#include "gui/component/IComponent.h"

#include <atomic>
#include <cstdint>

namespace s::lang {
class Localizer;
}

namespace s::gui::drawer {
class ISkin;
}

namespace s::gui::win {

class Window;
class PointerTracker;

// The shared state and rules of every component: geometry and sizing, visibility, enabling,
// background, parent and window, and the services the window gives a windowless component
// (pointer capture, timers, repainting).
class Component : public IComponent {
public:
    // Sizes are kept within [0, kMaxExtent]; sums are taken in 64 bits and cut to it.
    static constexpr int kMaxExtent = 1 << 24;
    // Where a hidden component is moved so that it takes no place on screen.
    static constexpr int kHiddenX = -10000;

    Component() = default;
    ~Component() override;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    int onEvent(base::IObject* source, int code) override;

    int getX() const override { return m_x; }
    void setX(int x) override { setPosition(x, m_y); }
    int getY() const override { return m_y; }
    void setY(int y) override { setPosition(m_x, y); }
    int getOriginX() const override { return m_originX; }
    int getOriginY() const override { return m_originY; }
    int getScreenX() const override;
    int getScreenY() const override;
    bool containsScreenPoint(int x, int y) const override;
    int getWidth() const override { return m_width; }
    void setWidth(int width) override { setSize(width, m_height); }
    int getHeight() const override { return m_height; }
    void setHeight(int height) override { setSize(m_width, height); }
    int getInnerWidth() const override { return m_width; }
    void setInnerWidth(int width) override { setWidth(width); }
    int getInnerHeight() const override { return m_height; }
    void setInnerHeight(int height) override { setHeight(height); }
    void setPosition(int x, int y) override;
    void setSize(int width, int height) override;
    void setBounds(int x, int y, int width, int height) override;
    void setOrigin(int originX, int originY) override;
    void moveOrigin(int dx, int dy) override;

    int getMinWidth() const override;
    int getMinHeight() const override;
    int getInnerMinWidth() const override { return getMinWidth(); }
    int getInnerMinHeight() const override { return getMinHeight(); }
    int getPreferredWidth() const override;
    int getPreferredHeight() const override;
    int getInnerPreferredWidth() const override { return getPreferredWidth(); }
    int getInnerPreferredHeight() const override { return getPreferredHeight(); }
    void setContentSizes(int minWidth, int minHeight, int prefWidth, int prefHeight) override;
    int getContentMinWidth() const override { return m_contentMinWidth; }
    int getContentMinHeight() const override { return m_contentMinHeight; }
    int getContentPrefWidth() const override { return m_contentPrefWidth; }
    int getContentPrefHeight() const override { return m_contentPrefHeight; }
    int getPercentWidth() const override { return m_percentWidth; }
    int getPercentHeight() const override { return m_percentHeight; }
    int getFixedWidth() const override { return m_fixedWidth; }
    int getFixedHeight() const override { return m_fixedHeight; }

    bool isVisible() const override { return m_visible && m_window != nullptr; }
    bool isShown() const override { return m_visible; }
    void setVisible(bool show, bool recurse) override;
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;
    void setEditable(bool) override {}

    void centreInParent() override;
    void centreHorizontally() override;
    void centreVertically() override;

    Colour getBackgroundColor() const override { return m_background; }
    bool isTransparent() const override { return m_transparent; }
    void setTransparent(bool redraw) override;
    void setBackgroundWhite(bool redraw) override { setBackgroundColor(255, 255, 255, redraw); }
    void setBackgroundSystem(bool redraw) override;
    void setBackgroundBlack(bool redraw) override { setBackgroundColor(0, 0, 0, redraw); }
    void setBackgroundLight(bool redraw) override;
    void setBackgroundColor(int r, int g, int b, bool redraw) override;

    Window* getWindow() const override { return m_window; }
    IComponent* getParent() const override { return m_parent; }
    void setParent(IComponent* container) override;
    void add(IComponent*) override {}
    void remove(IComponent*, bool) override {}
    void removeAll(bool) override {}
    bool isContainer() const override { return false; }
    void redrawRect(int x, int y, int width, int height) override;
    void redraw() override { redrawRect(0, 0, m_width, m_height); }
    // Whether a point in component coordinates lies inside the component.
    bool contains(platform::Point local) const
    {
        return local.x >= 0 && local.y >= 0 && local.x < m_width && local.y < m_height;
    }
    void resizeWithin(int width, int height) override;
    void relayout() override { doLayout(); }
    int getChildCount() const override { return 0; }
    IComponent* getChild(int) const override { return nullptr; }
    const std::vector<IComponent*>& getChildren() const override;
    cairo_surface_t* getPaintBuffer(int* outX, int* outY) const override;
    bool isLayoutSuspended() const override { return m_layoutSuspended; }
    void suspendLayout() override;
    void resumeLayout() override;
    void doLayout() override {}
    ILayoutManager* getLayoutManager() const override { return nullptr; }

    void attachedToWindow() override {}
    void detachingFromWindow() override {}
    int hitTest(platform::Point local) const override;
    platform::Cursor cursorAt(platform::Point) const override { return platform::Cursor::Arrow; }
    platform::LResult handleMessage(unsigned code, platform::WParam wParam, platform::LParam lParam) override;
    bool takeWheel(platform::Point, int) override { return false; }
    void paint(cairo_t* cr) override;
    void languageChanged() override {}
    void skinChanged() override {}

    // Carries a message to this component on its window's thread, like a send to a native
    // window: at once on that thread or while detached, else through the window's queue (the
    // caller waits). 0 when the component has left its window meanwhile.
    platform::LResult sendMessage(unsigned code, platform::WParam wParam = 0, platform::LParam lParam = 0);

    // The component's rectangle in its window's coordinates.
    platform::Rect windowRect() const;
    // The rectangle in its parent's client coordinates (position plus origin).
    platform::Rect rectInParent() const
    {
        return platform::Rect::fromSize(m_x + m_originX, m_y + m_originY, m_width, m_height);
    }

    void attachView(Window* window) override;
    void detachView() override;

protected:
    // Size rules. A percentage clears the fixed size of that dimension and the other way round;
    // negative values mean none.
    void storePercentWidth(int percent);
    void storePercentHeight(int percent);
    void storeFixedWidth(int pixels);
    void storeFixedHeight(int pixels);

    // The inner size of the parent (0 without one).
    int parentInnerWidth() const;
    int parentInnerHeight() const;
    // Lays the parent out again, times over.
    void relayoutParent(int times = 1);
    // Whether this component currently holds the pointer.
    bool hasMouseCapture() const;
    void captureMouse();
    void releaseMouse();
    // Takes or lets go of the pointer as the tracker wants it.
    void followPointer(const PointerTracker& tracker);
    // The component's own timers; WM_TIMER arrives through handleMessage with the id.
    bool setTimer(std::uintptr_t id, int periodMs);
    void killTimer(std::uintptr_t id);
    // The current skin of the window's skinner, and the window's localizer; null without.
    drawer::ISkin* windowSkin() const;
    lang::Localizer* windowLocalizer() const;
    // Fills the rectangle with the background colour unless transparent.
    void paintBackground(cairo_t* cr) const;
    // Applies stored geometry: repaints where the component was and is.
    virtual void geometryApplied(const platform::Rect& before);
    // The values of a fresh component; detaches it from its parent first.
    void resetComponent();
    // Whether the component is being made part of a window right now.
    bool isAttaching() const { return m_attaching; }
    void setAttaching(bool on) { m_attaching = on; }

    IComponent* m_parent = nullptr;
    Window* m_window = nullptr;

private:
    void applyGeometry(int x, int y, int width, int height, int originX, int originY);

    int m_x = 0;
    int m_y = 0;
    int m_originX = 0;
    int m_originY = 0;
    int m_width = 0;
    int m_height = 0;
    int m_contentMinWidth = 0;
    int m_contentMinHeight = 0;
    int m_contentPrefWidth = 0;
    int m_contentPrefHeight = 0;
    int m_percentWidth = -1;
    int m_percentHeight = -1;
    int m_fixedWidth = -1;
    int m_fixedHeight = -1;
    Colour m_background = system_colour::kButtonFace;
    bool m_transparent = true;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_layoutSuspended = false;
    bool m_geometryPending = false;
    bool m_attaching = false;
    // Where the component was last shown, in its parent's client coordinates.
    platform::Rect m_shownRect;
    // Its window's id while attached, for sends from other threads.
    std::atomic<platform::WindowId> m_windowId{0};
};

// Integer helpers of the size rules.
int clampExtent(std::int64_t value);
int alignOffset(int align, int leftover);

}  // namespace s::gui::win
