#pragma once

#include "foundation/ClassPool.h"
#include "gui/drawer/IWindowDrawer.h"

namespace s::gui::drawer::window::win {

// A skinned window's frame: the background (when opaque), a one-pixel frame along the edges,
// and square, small round or large round corners at top and bottom, with the matching shape.
class Thin final : public IWindowDrawer {
public:
    static constexpr int kPoolCapacity = 64;
    enum Corner { kSquare = 0, kSmallRound = 1, kLargeRound = 2 };

    Thin() { reset(); }

    void setBackgroundColour(Colour colour, bool opaque)
    {
        m_background = colour;
        m_opaque = opaque;
    }
    void setFrameColour(Colour colour) { m_frame = colour; }
    void setCorners(Corner top, Corner bottom)
    {
        m_top = top;
        m_bottom = bottom;
    }
    bool isOpaque() const { return m_opaque; }
    Corner getTopCorners() const { return m_top; }
    Corner getBottomCorners() const { return m_bottom; }

    void paintFrame(cairo_t* cr, int width, int height) override;
    void paintBackground(cairo_t* cr, const platform::Rect& rect) override;
    std::vector<platform::Rect> region(int width, int height) const override;
    Colour getBackgroundColour() const override { return m_background; }
    Colour getFrameColour() const override { return m_frame; }

    const char* getClassName() const override { return "s_gui_drawer_window_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    Colour m_background = 0;
    bool m_opaque = true;
    Colour m_frame = 0;
    Corner m_top = kSquare;
    Corner m_bottom = kSquare;
};

}  // namespace s::gui::drawer::window::win
