#pragma once

#include "platform/WindowTypes.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <memory>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace s::platform::x11 {

// A window's back buffer: a cairo image surface whose pixels the server reads directly through
// MIT-SHM when it can, else copied with XPutImage. Only the given rectangles are sent.
class BackBuffer {
public:
    // Null when no buffer of this size can be made.
    static std::unique_ptr<BackBuffer> make(::Display* x, Visual* visual, int depth, int width, int height, bool allowShm);
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    cairo_surface_t* surface() const { return m_surface; }
    bool sharedMemory() const { return m_shm; }
    // Returns whether a completion event was asked for (shared memory only).
    bool present(::Window window, GC gc, const std::vector<Rect>& rects);

private:
    BackBuffer() = default;

    ::Display* m_x = nullptr;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_segment{};
    bool m_shm = false;
    cairo_surface_t* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace s::platform::x11
