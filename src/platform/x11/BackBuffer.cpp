#include "platform/x11/BackBuffer.h"

#include "platform/x11/ErrorTrap.h"

#include <X11/Xutil.h>
#include <cairo.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace s::platform::x11 {

namespace {

bool attachShared(::Display* x, Visual* visual, int depth, int width, int height, XImage** image, XShmSegmentInfo* segment)
{
    XImage* made = XShmCreateImage(x, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, segment,
                                   static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (made == nullptr)
        return false;
    const std::size_t bytes = static_cast<std::size_t>(made->bytes_per_line) * static_cast<std::size_t>(height);
    segment->shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment->shmid < 0) {
        XDestroyImage(made);
        return false;
    }
    void* memory = shmat(segment->shmid, nullptr, 0);
    if (memory == reinterpret_cast<void*>(-1)) {
        shmctl(segment->shmid, IPC_RMID, nullptr);
        XDestroyImage(made);
        return false;
    }
    segment->shmaddr = static_cast<char*>(memory);
    made->data = segment->shmaddr;
    segment->readOnly = False;
    // The server may refuse (another host, another user namespace): find out before use.
    ErrorTrap trap(x);
    XShmAttach(x, segment);
    const bool attached = trap.passed();
    // Marked for removal now, so the segment goes away with its last user even after a crash.
    shmctl(segment->shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(segment->shmaddr);
        made->data = nullptr;
        XDestroyImage(made);
        return false;
    }
    *image = made;
    return true;
}

}  // namespace

std::unique_ptr<BackBuffer> BackBuffer::make(::Display* x, Visual* visual, int depth, int width, int height, bool allowShm)
{
    std::unique_ptr<BackBuffer> buffer(new BackBuffer());
    buffer->m_x = x;
    buffer->m_width = width;
    buffer->m_height = height;
    if (allowShm && XShmQueryExtension(x) && attachShared(x, visual, depth, width, height, &buffer->m_image, &buffer->m_segment)) {
        buffer->m_shm = true;
        buffer->m_surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(buffer->m_image->data),
                                                                CAIRO_FORMAT_RGB24, width, height,
                                                                buffer->m_image->bytes_per_line);
    } else {
        buffer->m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        if (cairo_surface_status(buffer->m_surface) == CAIRO_STATUS_SUCCESS) {
            // An image over cairo's pixels, so presenting copies straight from them.
            buffer->m_image = XCreateImage(x, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                           reinterpret_cast<char*>(cairo_image_surface_get_data(buffer->m_surface)),
                                           static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                                           cairo_image_surface_get_stride(buffer->m_surface));
        }
    }
    if (buffer->m_image == nullptr || cairo_surface_status(buffer->m_surface) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return buffer;
}

BackBuffer::~BackBuffer()
{
    if (m_surface != nullptr)
        cairo_surface_destroy(m_surface);
    if (m_image != nullptr) {
        if (m_shm) {
            XShmDetach(m_x, &m_segment);
            XSync(m_x, False);
            shmdt(m_segment.shmaddr);
        }
        m_image->data = nullptr;  // not Xlib's to free
        XDestroyImage(m_image);
    }
}

bool BackBuffer::present(::Window window, GC gc, const std::vector<Rect>& rects)
{
    const Rect all{0, 0, m_width, m_height};
    bool asked = false;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Rect r = rects[i].intersect(all);
        if (r.isEmpty())
            continue;
        if (m_shm) {
            // Only the last request asks for a completion: the server handles them in order.
            const bool last = i + 1 == rects.size();
            XShmPutImage(m_x, window, gc, m_image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.width()),
                         static_cast<unsigned>(r.height()), last ? True : False);
            asked = asked || last;
        } else {
            XPutImage(m_x, window, gc, m_image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.width()),
                      static_cast<unsigned>(r.height()));
        }
    }
    if (m_shm && !asked && !rects.empty()) {
        // The last rectangle was empty after clipping: ask with a one-pixel copy instead.
        XShmPutImage(m_x, window, gc, m_image, 0, 0, 0, 0, 1, 1, True);
        asked = true;
    }
    XFlush(m_x);
    return asked;
}

}  // namespace s::platform::x11
