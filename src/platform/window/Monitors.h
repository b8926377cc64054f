#pragma once

#include "platform/WindowTypes.h"

#include <cstddef>
#include <vector>

namespace s::platform {

// The index of the monitor that holds most of the rectangle, or, when it touches none, of the
// one nearest to its centre. The list must not be empty.
std::size_t monitorHolding(const std::vector<Rect>& monitors, const Rect& rect);

}  // namespace s::platform
