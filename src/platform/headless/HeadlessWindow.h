#pragma once

#include "platform/window/WindowBase.h"

namespace s::platform::headless {

class HeadlessWindow final : public WindowBase {
public:
    using WindowBase::WindowBase;
    ~HeadlessWindow() override;

    bool mapped() const { return m_mapped; }
    bool grabbed() const { return m_grabbed; }
    std::uint32_t presentedPixel(int x, int y) const;
    std::vector<Rect> takePresented();

protected:
    void nativeMap(bool mapped) override;
    void nativeSetBounds(const Rect&) override {}
    void nativeSetTitle() override {}
    void nativeSetIcons() override {}
    void nativeSetKeepOnTop() override {}
    void nativeSetShowInTaskbar() override {}
    void nativeSetResizable() override {}
    void nativeSetShape() override {}
    void nativeSetCursor() override {}
    bool nativeActivate() override { return true; }
    bool nativeRequestState(State state) override;
    void nativeGrab(bool on) override { m_grabbed = on; }
    cairo_surface_t* nativeCreateBuffer(int width, int height) override;
    void nativeReleaseBuffer() override;
    void nativePresent(const std::vector<Rect>& rects) override;
    bool nativeBeginMove(Point) override { return false; }
    void nativeDestroy() override;

private:
    cairo_surface_t* m_buffer = nullptr;
    cairo_surface_t* m_screen = nullptr;  // what has been presented
    std::vector<Rect> m_presented;
    bool m_mapped = false;
    bool m_grabbed = false;
};

}  // namespace s::platform::headless
