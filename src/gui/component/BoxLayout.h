#pragma once

#include "gui/component/IComponent.h"

namespace s::gui::layout {

enum LayoutKind { kHorizontal = 0, kVertical = 1, kFlow = 2, kPile = 3 };
enum HAlign { kLeft = 0, kCentre = 1, kRight = 2 };
enum VAlign { kTop = 0, kMiddle = 1, kBottom = 2 };

struct Arrangement {
    int kind = kVertical;
    int hAlign = kLeft;
    int vAlign = kTop;
    int hSpacing = 0;
    int vSpacing = 0;
};

// What a layout reports about the content it arranged.
struct ContentSizes {
    int minWidth = 0;
    int minHeight = 0;
    int prefWidth = 0;
    int prefHeight = 0;
    friend bool operator==(const ContentSizes&, const ContentSizes&) = default;
};

// Sets the geometry of the container's children inside its inner area by the arrangement's
// algorithm. Sizes are set only through resizeWithin; extra space is handed out with one
// single-precision ratio, each share truncated. Unless the container is itself suspended, every
// child is suspended while it is arranged and resumed and redrawn at the end, so it moves once.
ContentSizes arrange(IComponent& container, const Arrangement& arrangement);

}  // namespace s::gui::layout
