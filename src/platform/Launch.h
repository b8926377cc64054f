#pragma once

#include <string>

namespace s::platform {

// Opens a document, folder or address with the desktop's handler (xdg-open), without waiting
// for it; the handler is started with an argument vector, never through a shell, and reaped
// when it ends. False when it could not be started.
bool openWithDesktop(const std::string& target);

}  // namespace s::platform
