#pragma once

#include "gui/base/Colour.h"
#include "gui/base/IDrawer.h"
#include "gui/drawer/IBackgroundDrawer.h"

#include <vector>

namespace s::gui::drawer {

// The frame of a skinned top-level window: its background, its one-pixel frame and corners, and
// the window's shape.
class IWindowDrawer : public IDrawer, public IBackgroundDrawer {
public:
    // Paints a window of width × height: the background when opaque, then the frame.
    virtual void paintFrame(cairo_t* cr, int width, int height) = 0;
    // The visible area of a window of that size as rectangles; empty for the whole rectangle.
    virtual std::vector<platform::Rect> region(int width, int height) const = 0;
    virtual Colour getBackgroundColour() const = 0;
    virtual Colour getFrameColour() const = 0;
};

}  // namespace s::gui::drawer
