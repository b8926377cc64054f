#pragma once

#include "foundation/ClassPool.h"
#include "foundation/ListenerList.h"
#include "gui/component/BoxLayout.h"
#include "gui/component/Container.h"
#include "gui/component/PointerTracker.h"
#include "gui/drawer/IBackgroundDrawer.h"

namespace s::gui::win {

// The general container: children arranged by one of four layout kinds (or a layout manager),
// with margins, spacing and alignment. Transparent to hits by default, so presses fall through
// to what lies beneath except where a child takes them.
class Box : public Container {
public:
    static constexpr int kPoolCapacity = 1000;

    // Event codes sent to listeners.
    enum Event { kWheelTurned = 2, kLaidOut = 3, kGeometryChanged = 4, kPainting = 5, kClicked = 6 };

    Box() = default;
    ~Box() override;

    // Sizes: margins, the minimum floor and the no-minimum flags.
    int getInnerWidth() const override;
    void setInnerWidth(int width) override;
    int getInnerHeight() const override;
    void setInnerHeight(int height) override;
    int getMinWidth() const override;
    int getMinHeight() const override;
    int getInnerMinWidth() const override;
    int getInnerMinHeight() const override;
    int getPreferredWidth() const override;
    int getPreferredHeight() const override;
    int getInnerPreferredWidth() const override;
    int getInnerPreferredHeight() const override;
    void resizeWithin(int width, int height) override;
    void setVisible(bool show, bool recurse) override;

    void doLayout() override;
    ILayoutManager* getLayoutManager() const override;

    // Not owned (layout managers are shared, stateless objects); null for the layout kind.
    void setLayoutManager(ILayoutManager* manager) { m_layoutManager = manager; }
    void setHSpacing(int n) { m_hSpacing = std::max(0, n); }
    void setVSpacing(int n) { m_vSpacing = std::max(0, n); }
    int getHSpacing() const { return m_hSpacing; }
    int getVSpacing() const { return m_vSpacing; }
    void setMarginLeft(int n) { setMargins(n, m_marginRight, m_marginTop, m_marginBottom); }
    void setMarginRight(int n) { setMargins(m_marginLeft, n, m_marginTop, m_marginBottom); }
    void setMarginTop(int n) { setMargins(m_marginLeft, m_marginRight, n, m_marginBottom); }
    void setMarginBottom(int n) { setMargins(m_marginLeft, m_marginRight, m_marginTop, n); }
    void setHMargins(int n) { setMargins(n, n, m_marginTop, m_marginBottom); }
    void setVMargins(int n) { setMargins(m_marginLeft, m_marginRight, n, n); }
    void setMargins(int n) { setMargins(n, n, n, n); }
    int getMarginLeft() const { return m_marginLeft; }
    int getMarginRight() const { return m_marginRight; }
    int getMarginTop() const { return m_marginTop; }
    int getMarginBottom() const { return m_marginBottom; }
    void setVAlignTop() { m_vAlign = layout::kTop; }
    void setVAlignMiddle() { m_vAlign = layout::kMiddle; }
    void setVAlignBottom() { m_vAlign = layout::kBottom; }
    void setHAlignLeft() { m_hAlign = layout::kLeft; }
    void setHAlignCenter() { m_hAlign = layout::kCentre; }
    void setHAlignRight() { m_hAlign = layout::kRight; }
    int getHAlign() const { return m_hAlign; }
    int getVAlign() const { return m_vAlign; }
    int getLayoutKind() const { return m_layoutKind; }
    void setHorizontal() { m_layoutKind = layout::kHorizontal; }
    void setVertical() { m_layoutKind = layout::kVertical; }
    void setFlow() { m_layoutKind = layout::kFlow; }
    void setPile() { m_layoutKind = layout::kPile; }
    // Kinds 0 to 3; other values change nothing.
    void setLayoutKind(int kind)
    {
        if (kind >= layout::kHorizontal && kind <= layout::kPile)
            m_layoutKind = kind;
    }
    // Both percentages 100, without laying anything out.
    void setFullSize();
    // Each stores its rule, clears the other rule of that dimension and, while attached, lays the
    // box out; with relayoutParent the parent is laid out again (twice for a Flow box).
    void setPercentWidth(int percent, bool relayoutParent);
    void setPercentHeight(int percent, bool relayoutParent);
    void setFixedWidth(int pixels, bool relayoutParent);
    void setFixedHeight(int pixels, bool relayoutParent);
    void setMinWidthFloor(int n) { m_minWidthFloor = n >= 0 ? n : -1; }
    void setNoMinWidth(bool on) { m_noMinWidth = on; }
    void setNoMinHeight(bool on) { m_noMinHeight = on; }

    void addWheelListener(events::IEventListener* l) { m_wheelListeners.add(l); }
    // Signed lines of the last wheel turn taken by the box's wheel listeners.
    int getWheelLines() const { return m_wheelLines; }
    // Paints after the fill; owned ones are given back with the box.
    void setBackgroundDrawer(drawer::IBackgroundDrawer* drawer, bool owned);
    void addLaidOutListener(events::IEventListener* l) { m_laidOutListeners.add(l); }
    void addGeometryListener(events::IEventListener* l) { m_geometryListeners.add(l); }
    // Painting listeners draw on getPaintDC() (the box's own coordinates) and may call
    // suppressDefaultPaint() to leave the box's own background out.
    void addPaintListener(events::IEventListener* l) { m_paintListeners.add(l); }
    cairo_t* getPaintDC() const { return m_paintContext; }
    void suppressDefaultPaint() { m_suppressDefault = true; }
    // Shows child i (with its children) and hides the others.
    void showOnlyChild(int index);
    // The same, and moves the others to (0, 3000) and child i to (0, 0).
    void showOnlyChildParked(int index);
    void setHitTransparent(bool on) { m_hitTransparent = on; }
    bool isHitTransparent() const { return m_hitTransparent; }
    void setHoverColor(int r, int g, int b);
    bool isHovering() const { return m_pointer.state() != PointerTracker::kNormal; }
    void setNoShowHide(bool on) { m_noShowHide = on; }
    // Left button presses on the box reach the listeners; the box stops being hit-transparent.
    void addClickListener(events::IEventListener* l);
    void reverseChildren();

    int hitTest(platform::Point local) const override;
    platform::LResult handleMessage(unsigned code, platform::WParam wParam, platform::LParam lParam) override;
    bool takeWheel(platform::Point screen, int delta) override;
    void paint(cairo_t* cr) override;

    const char* getClassName() const override { return "s_gui_win_Box"; }
    base::IObject* newInstance() const override { return thread::take<Box>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

protected:
    void childAdded(IComponent& child) override;
    void childrenAttached() override;
    void giveOrigin(IComponent& child) override;
    void geometryApplied(const platform::Rect& before) override;
    void layOutIfAttached();

private:
    void setMargins(int left, int right, int top, int bottom);
    void releaseBackgroundDrawer();
    int horizontalMargins() const { return m_marginLeft + m_marginRight; }
    int verticalMargins() const { return m_marginTop + m_marginBottom; }

    ILayoutManager* m_layoutManager = nullptr;
    int m_layoutKind = layout::kVertical;
    int m_hAlign = layout::kLeft;
    int m_vAlign = layout::kTop;
    int m_hSpacing = 0;
    int m_vSpacing = 0;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_minWidthFloor = -1;
    bool m_noMinWidth = false;
    bool m_noMinHeight = false;
    bool m_hitTransparent = true;
    bool m_hoverColorSet = false;
    Colour m_hoverColor = 0;
    PointerTracker m_pointer;
    bool m_noShowHide = false;
    bool m_suppressDefault = false;
    cairo_t* m_paintContext = nullptr;
    drawer::IBackgroundDrawer* m_backgroundDrawer = nullptr;
    bool m_ownsBackgroundDrawer = false;
    int m_wheelLines = 0;
    int m_layoutDepth = 0;
    events::ListenerList m_wheelListeners;
    events::ListenerList m_laidOutListeners;
    events::ListenerList m_geometryListeners;
    events::ListenerList m_paintListeners;
    events::ListenerList m_clickListeners;
};

// A box from the pool: kind 0 to 3 selects the layout kind (others keep Vertical); a percentage
// applies when 0 or more; hAlign 0 or less is left, 1 centre, more right (vAlign alike); spacings
// and margins apply when above 0, hMargin to left and right, vMargin to top and bottom.
Box* makeBox(int percentWidth, int percentHeight, int hAlign, int vAlign, int hSpacing, int vSpacing, int hMargin,
             int vMargin, int kind);
// A Horizontal box aligned right and bottom; fixedWidth and percentHeight apply when 0 or more.
Box* makeRowBox(int percentHeight, int fixedWidth);

}  // namespace s::gui::win
