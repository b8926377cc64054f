#pragma once

#include "platform/window/WindowBase.h"
#include "platform/x11/BackBuffer.h"

#include <X11/Xlib.h>

#include <deque>
#include <memory>

namespace s::platform::x11 {

class X11Display;

class X11Window final : public WindowBase {
public:
    X11Window(X11Display& display, const WindowParams& params, IWindowProc* proc);
    ~X11Window() override;

    // Creates the X window; false when the server refuses.
    bool realize();
    ::Window handle() const { return m_handle; }
    bool usesSharedMemory() const { return m_buffer && m_buffer->sharedMemory(); }

    // Events for this window, from the display's translation.
    void onConfigure(const XConfigureEvent& event);
    void onMapped(bool mapped);
    void onExpose(const Rect& rect, bool last);
    void onStateProperty();
    void onShmCompletion() { if (m_pendingPresents > 0) --m_pendingPresents; }

protected:
    void nativeMap(bool mapped) override;
    void nativeSetBounds(const Rect& bounds) override;
    void nativeSetTitle() override;
    void nativeSetIcons() override;
    void nativeSetKeepOnTop() override;
    void nativeSetShowInTaskbar() override;
    void nativeSetResizable() override;
    void nativeSetShape() override;
    void nativeSetCursor() override;
    bool nativeActivate() override;
    bool nativeRequestState(State state) override;
    void nativeGrab(bool on) override;
    cairo_surface_t* nativeCreateBuffer(int width, int height) override;
    void nativeReleaseBuffer() override;
    void nativeBeforeDraw() override;
    void nativePresent(const std::vector<Rect>& rects) override;
    bool nativeBeginMove(Point screen) override;
    void nativeDestroy() override;

private:
    void writeNetState();
    void sendNetState(bool add, Atom first, Atom second = 0);
    void writeSizeHints();
    State stateFromProperties();

    X11Display& m_x11;
    ::Window m_handle = 0;
    std::unique_ptr<BackBuffer> m_buffer;
    int m_pendingPresents = 0;
    bool m_painted = false;   // the back buffer holds what the window shows
    bool m_mapped = false;    // as the server reported
    bool m_wantGrab = false;  // a grab asked for before the window could be seen
    bool m_grabbed = false;
    Rect m_exposed;
    std::deque<Rect> m_requested;  // configure requests whose notifications are still to come
};

}  // namespace s::platform::x11
