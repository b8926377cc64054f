#pragma once

#include "gui/component/IComponent.h"

namespace s::gui::win {

// Paints the shown children of container in order (later ones above), each into its own
// translated and clipped rectangle: first the child itself, then its children. Children
// outside the current clip are skipped. cr's origin is the container's top-left corner.
void paintChildren(cairo_t* cr, const IComponent& container);
// The same for one component at its place in its parent (cr in the parent's coordinates).
void paintComponent(cairo_t* cr, IComponent& component);

}  // namespace s::gui::win
