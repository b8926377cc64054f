#include "gui/win/DisplayCheck.h"

#include <string>

namespace s::gui::win {

int checkDisplay(platform::IWindowSystem& system, std::FILE* err)
{
    std::string error;
    if (system.openDisplay(&error))
        return 0;
    std::fprintf(err, "ostrel: %s\n", error.empty() ? "cannot open the display" : error.c_str());
    return 1;
}

}  // namespace s::gui::win
