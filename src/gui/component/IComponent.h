#pragma once

#include "foundation/IBindTarget.h"
#include "foundation/IEventListener.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "gui/base/Colour.h"
#include "platform/Messages.h"
#include "platform/NativeWindow.h"
#include "platform/WindowTypes.h"

#include <cstdint>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace s::gui {

class ILayoutManager;

namespace win {
class Window;
}

// What every widget is. Geometry is in pixels: (x, y) inside the parent's client area before the
// origin the parent adds (its margins); sizes follow fixed, percentage and content rules.
//
// Components are windowless: the top-level window they belong to gives each one the messages it
// would receive as a native child window (hit tests, pointer input in its own coordinates,
// capture, timers, painting into its rectangle), through the second half of this interface.
class IComponent : public events::IEventListener,
                   public events::IBindTarget,
                   public base::IObject,
                   public thread::IPoolable {
public:
    virtual int getX() const = 0;
    virtual void setX(int x) = 0;
    virtual int getY() const = 0;
    virtual void setY(int y) = 0;
    virtual int getOriginX() const = 0;
    virtual int getOriginY() const = 0;
    // Screen position of the component's top-left corner; without a window, origin + position.
    virtual int getScreenX() const = 0;
    virtual int getScreenY() const = 0;
    // False when invisible; both ends of the rectangle count as inside.
    virtual bool containsScreenPoint(int x, int y) const = 0;
    virtual int getWidth() const = 0;
    virtual void setWidth(int width) = 0;
    virtual int getHeight() const = 0;
    virtual void setHeight(int height) = 0;
    // Less the margins for a box, never below 0; the size itself for leaf widgets.
    virtual int getInnerWidth() const = 0;
    virtual void setInnerWidth(int width) = 0;
    virtual int getInnerHeight() const = 0;
    virtual void setInnerHeight(int height) = 0;
    virtual void setPosition(int x, int y) = 0;
    virtual void setSize(int width, int height) = 0;
    virtual void setBounds(int x, int y, int width, int height) = 0;
    virtual void setOrigin(int originX, int originY) = 0;
    virtual void moveOrigin(int dx, int dy) = 0;

    virtual int getMinWidth() const = 0;
    virtual int getMinHeight() const = 0;
    virtual int getInnerMinWidth() const = 0;
    virtual int getInnerMinHeight() const = 0;
    virtual int getPreferredWidth() const = 0;
    virtual int getPreferredHeight() const = 0;
    virtual int getInnerPreferredWidth() const = 0;
    virtual int getInnerPreferredHeight() const = 0;
    // What the content needs and would like (text extents, or a container's layout result).
    virtual void setContentSizes(int minWidth, int minHeight, int prefWidth, int prefHeight) = 0;
    virtual int getContentMinWidth() const = 0;
    virtual int getContentMinHeight() const = 0;
    virtual int getContentPrefWidth() const = 0;
    virtual int getContentPrefHeight() const = 0;
    virtual int getPercentWidth() const = 0;
    virtual int getPercentHeight() const = 0;
    virtual int getFixedWidth() const = 0;
    virtual int getFixedHeight() const = 0;

    // Shown and attached to a window.
    virtual bool isVisible() const = 0;
    // The shown state alone.
    virtual bool isShown() const = 0;
    virtual void setVisible(bool show, bool recurse) = 0;
    virtual bool isEnabled() const = 0;
    void setEnabled(bool enabled) override = 0;
    void setEditable(bool editable) override = 0;

    virtual void centreInParent() = 0;
    virtual void centreHorizontally() = 0;
    virtual void centreVertically() = 0;

    virtual Colour getBackgroundColor() const = 0;
    virtual bool isTransparent() const = 0;
    virtual void setTransparent(bool redraw) = 0;
    virtual void setBackgroundWhite(bool redraw) = 0;
    virtual void setBackgroundSystem(bool redraw) = 0;
    virtual void setBackgroundBlack(bool redraw) = 0;
    virtual void setBackgroundLight(bool redraw) = 0;
    virtual void setBackgroundColor(int r, int g, int b, bool redraw) = 0;

    // The top-level window (a window answers itself); null while detached.
    virtual win::Window* getWindow() const = 0;
    virtual IComponent* getParent() const = 0;
    // Attaching to a container that belongs to a window gives the component its place in that
    // window; null detaches it (it keeps its children and settings).
    virtual void setParent(IComponent* container) = 0;
    // Containers only.
    virtual void add(IComponent* child) = 0;
    // Detaches the child; with destroy, empties it and gives it back to its pool.
    virtual void remove(IComponent* child, bool destroy) = 0;
    // From the last child to the first.
    virtual void removeAll(bool destroy) = 0;
    virtual bool isContainer() const = 0;
    // Marks the rectangle (component coordinates) for repainting; only while visible.
    virtual void redrawRect(int x, int y, int width, int height) = 0;
    virtual void redraw() = 0;
    // Takes the size nearest (width, height) between the minimum and the preferred size.
    virtual void resizeWithin(int width, int height) = 0;
    virtual void relayout() = 0;
    virtual int getChildCount() const = 0;
    virtual IComponent* getChild(int index) const = 0;
    virtual const std::vector<IComponent*>& getChildren() const = 0;
    // The surface the component is painted in and its offset there (its window's back buffer).
    virtual cairo_surface_t* getPaintBuffer(int* outX, int* outY) const = 0;
    virtual bool isLayoutSuspended() const = 0;
    virtual void suspendLayout() = 0;
    virtual void resumeLayout() = 0;
    virtual void doLayout() = 0;
    virtual ILayoutManager* getLayoutManager() const = 0;

    // --- What the window gives a component, as a native child window would receive it. ---

    // Makes the component (and a container's children) part of window, or takes it out.
    virtual void attachView(win::Window* window) = 0;
    virtual void detachView() = 0;
    // Called while the window attaches the component (the window is set) and before it detaches it.
    virtual void attachedToWindow() = 0;
    virtual void detachingFromWindow() = 0;
    // HTCLIENT to take pointer input at a point (component coordinates), HTTRANSPARENT to let
    // what lies beneath have it.
    virtual int hitTest(platform::Point local) const = 0;
    virtual platform::Cursor cursorAt(platform::Point local) const = 0;
    // Pointer messages (points in component coordinates), WM_TIMER of the component's timers,
    // WM_CAPTURECHANGED, and the toolkit's private messages.
    virtual platform::LResult handleMessage(unsigned code, platform::WParam wParam, platform::LParam lParam) = 0;
    // A wheel turn at a screen point; true when taken.
    virtual bool takeWheel(platform::Point screen, int delta) = 0;
    // Paints background and content into cr, whose origin is the component's top-left corner
    // and whose clip is the component's rectangle; children are painted after it by the window.
    virtual void paint(cairo_t* cr) = 0;
    // The window's localizer changed language, or its skinner changed skin.
    virtual void languageChanged() = 0;
    virtual void skinChanged() = 0;
};

// A layout algorithm as an object: sets the geometry of a container's children.
class ILayoutManager : public base::IObject, public thread::IPoolable {
public:
    virtual void layout(IComponent& container) = 0;
};

}  // namespace s::gui
