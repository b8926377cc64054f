#pragma once

#include "platform/Display.h"

#include <cstdio>

namespace s::gui::win {

// Whether the window system can open a display. When it cannot, writes one line such as
// "ostrel: cannot open the X display: DISPLAY is not set" to err and returns the exit status
// the program ends with (1); returns 0 otherwise.
int checkDisplay(platform::IWindowSystem& system, std::FILE* err);

}  // namespace s::gui::win
