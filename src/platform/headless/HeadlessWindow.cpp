#include "platform/headless/HeadlessWindow.h"

#include <cairo.h>

namespace s::platform::headless {

HeadlessWindow::~HeadlessWindow()
{
    if (m_screen != nullptr)
        cairo_surface_destroy(m_screen);
    if (m_buffer != nullptr)
        cairo_surface_destroy(m_buffer);
}

void HeadlessWindow::nativeMap(bool mapped)
{
    m_mapped = mapped && state() != State::Minimized;
}

bool HeadlessWindow::nativeRequestState(State state)
{
    // Without a window manager a minimised window is simply unmapped.
    m_mapped = isVisible() && state != State::Minimized;
    return false;
}

cairo_surface_t* HeadlessWindow::nativeCreateBuffer(int width, int height)
{
    m_buffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(m_buffer) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(m_buffer);
        m_buffer = nullptr;
        return nullptr;
    }
    if (m_screen != nullptr)
        cairo_surface_destroy(m_screen);
    m_screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    return m_buffer;
}

void HeadlessWindow::nativeReleaseBuffer()
{
    if (m_buffer != nullptr)
        cairo_surface_destroy(m_buffer);
    m_buffer = nullptr;
}

void HeadlessWindow::nativePresent(const std::vector<Rect>& rects)
{
    if (m_buffer == nullptr || m_screen == nullptr)
        return;
    cairo_t* cr = cairo_create(m_screen);
    cairo_set_source_surface(cr, m_buffer, 0, 0);
    for (const Rect& r : rects) {
        cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
        m_presented.push_back(r);
    }
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(m_screen);
}

void HeadlessWindow::nativeDestroy()
{
    m_mapped = false;
    m_grabbed = false;
}

std::uint32_t HeadlessWindow::presentedPixel(int x, int y) const
{
    if (m_screen == nullptr || x < 0 || y < 0 || x >= cairo_image_surface_get_width(m_screen) ||
        y >= cairo_image_surface_get_height(m_screen))
        return 0;
    const unsigned char* data = cairo_image_surface_get_data(m_screen);
    const int stride = cairo_image_surface_get_stride(m_screen);
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    return row[x] & 0x00FFFFFFu;
}

std::vector<Rect> HeadlessWindow::takePresented()
{
    std::vector<Rect> taken;
    taken.swap(m_presented);
    return taken;
}

}  // namespace s::platform::headless
