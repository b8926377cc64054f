#pragma once

#include <X11/Xlib.h>

namespace s::platform::x11 {

// Catches the X errors of the requests made while it lives on this thread, instead of the
// default handler's exit. passed() waits for the server's verdict.
class ErrorTrap {
public:
    explicit ErrorTrap(::Display* x);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool passed();

private:
    ::Display* m_x;
    ErrorTrap* m_outer;
    int m_error = 0;
    friend int trapErrors(::Display*, XErrorEvent*);
};

// Installs the process's X error handler (once): errors inside a trap are recorded there,
// others are ignored, since a request racing a window's end must not end the program.
void installErrorHandler();

}  // namespace s::platform::x11
