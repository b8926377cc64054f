#pragma once

#include "platform/Messages.h"
#include "platform/NativeWindow.h"
#include "platform/window/UpdateRegion.h"

#include <array>

namespace s::platform {

class DisplayBase;

// The backend-neutral half of a native window: its state, the messages every change sends, the
// default handling, painting and timers. A backend derives and supplies the native* operations.
class WindowBase : public NativeWindow {
public:
    WindowBase(DisplayBase& display, const WindowParams& params, IWindowProc* proc);
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // NativeWindow
    WindowId id() const override { return m_id; }
    WindowKind kind() const override { return m_params.kind; }
    Display& display() override;
    LResult defaultProc(unsigned code, WParam wParam, LParam lParam) override;
    LResult send(unsigned code, WParam wParam = 0, LParam lParam = 0) override;
    void destroy() override;
    bool show(int showCommand) override;
    bool isVisible() const override { return m_visible; }
    bool isMinimized() const override { return m_state == State::Minimized; }
    bool isMaximized() const override { return m_state == State::Maximized; }
    bool isActive() const override { return m_active; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return m_enabled; }
    Rect bounds() const override { return m_bounds; }
    void setBounds(const Rect& bounds, unsigned swpFlags = 0) override;
    Rect normalBounds() const override { return m_state == State::Normal ? m_bounds : m_normalBounds; }
    void setTitle(const std::string& utf8) override;
    const std::string& title() const override { return m_params.title; }
    void setIcon(bool big, const Icon& icon) override;
    void setKeepOnTop(bool on) override;
    bool isKeepOnTop() const override { return m_params.keepOnTop; }
    void setShowInTaskbar(bool on) override;
    void setResizable(bool on) override;
    void setShape(const std::vector<Rect>& rects) override;
    void setBackground(std::uint32_t bgr) override { m_params.background = bgr; }
    void activate() override;
    void setCursor(Cursor cursor) override;
    void setCapture() override;
    bool hasCapture() const override;
    void invalidate(const Rect* rect = nullptr, bool erase = false) override;
    void update() override;
    cairo_surface_t* backBuffer() override;
    PaintInfo beginPaint() override;
    void endPaint(const PaintInfo& paint) override;
    void present(const Rect& rect) override;
    bool setTimer(std::uintptr_t id, int periodMs) override;
    bool killTimer(std::uintptr_t id) override;

    // For the display and the backend.
    DisplayBase& owner() { return m_display; }
    const WindowParams& params() const { return m_params; }
    bool isDestroyed() const { return m_destroyed; }
    bool needsPaint() const { return !m_damage.empty(); }
    // Sends WM_PAINT; validates afterwards when the procedure left the damage in place.
    void paintNow();
    // The desktop changed the window (a window manager moved, resized, maximised or
    // minimised it): record it and tell the procedure.
    void noteBoundsFromSystem(const Rect& bounds);
    enum class State { Normal, Minimized, Maximized };
    void noteStateFromSystem(State state);
    State state() const { return m_state; }
    // Activation as the desktop reports it.
    void noteActivation(bool active, bool byClick);
    // The capture of this window ended from the outside.
    void noteCaptureEnded();
    Cursor cursor() const { return m_cursor; }
    const std::array<Icon, 2>& icons() const { return m_icons; }
    const std::vector<Rect>& shape() const { return m_shape; }
    bool isResizable() const { return m_params.resizable; }
    // Sends WM_CREATE; false when the procedure refused.
    bool create();
    void grabPointer(bool on) { nativeGrab(on); }
    // Activation by a click on the window.
    void activateByClick() { activateFor(true); }

protected:
    // The backend's side. The window state is updated before each call.
    virtual void nativeMap(bool mapped) = 0;
    virtual void nativeSetBounds(const Rect& bounds) = 0;
    virtual void nativeSetTitle() = 0;
    virtual void nativeSetIcons() = 0;
    virtual void nativeSetKeepOnTop() = 0;
    virtual void nativeSetShowInTaskbar() = 0;
    virtual void nativeSetResizable() = 0;
    virtual void nativeSetShape() = 0;
    virtual void nativeSetCursor() = 0;
    // True when the window is active at once; false when the desktop reports it later.
    virtual bool nativeActivate() = 0;
    // True when the desktop carries the state change out itself (and reports the geometry);
    // false when the window must apply it.
    virtual bool nativeRequestState(State state) = 0;
    virtual void nativeGrab(bool on) = 0;
    // Makes the back buffer for the current size; null on failure.
    virtual cairo_surface_t* nativeCreateBuffer(int width, int height) = 0;
    virtual void nativeReleaseBuffer() = 0;
    // Before the back buffer is drawn into again (a present may still be reading it).
    virtual void nativeBeforeDraw() {}
    virtual void nativePresent(const std::vector<Rect>& rects) = 0;
    // Hands a move by dragging to the desktop; false when it cannot.
    virtual bool nativeBeginMove(Point screen) = 0;
    virtual void nativeDestroy() = 0;

private:
    friend class MoveLoop;
    void activateFor(bool byClick);
    void becomeVisible(bool activate);
    void applyState(State state, bool fromSystem);
    void fill(const std::vector<Rect>& rects);
    void sendWindowPosChanged(unsigned flags);
    void resizeBuffer();
    bool moveByDrag(Point screen);
    LResult systemCommand(unsigned command);

    DisplayBase& m_display;
    IWindowProc* m_proc;
    WindowParams m_params;
    WindowId m_id = 0;
    Rect m_bounds;
    Rect m_normalBounds;
    State m_state = State::Normal;
    bool m_restoreMaximized = false;  // a minimised window that was maximised before
    bool m_visible = false;
    bool m_active = false;
    bool m_enabled = true;
    bool m_destroyed = false;
    bool m_inPaint = false;
    Cursor m_cursor = Cursor::Arrow;
    std::array<Icon, 2> m_icons;
    std::vector<Rect> m_shape;
    UpdateRegion m_damage;
    bool m_erase = false;
    std::vector<Rect> m_painting;  // the rectangles of the paint in progress
    cairo_surface_t* m_buffer = nullptr;
    int m_bufferWidth = 0;
    int m_bufferHeight = 0;
};

}  // namespace s::platform
