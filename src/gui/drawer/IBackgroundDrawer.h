#pragma once

#include "platform/WindowTypes.h"

typedef struct _cairo cairo_t;

namespace s::gui::drawer {

// Paints the background of a container (a box's background drawer, a window's erase).
class IBackgroundDrawer {
public:
    virtual void paintBackground(cairo_t* cr, const platform::Rect& rect) = 0;

protected:
    ~IBackgroundDrawer() = default;
};

}  // namespace s::gui::drawer
