#include "platform/x11/ErrorTrap.h"

#include <mutex>

namespace s::platform::x11 {

namespace {

thread_local ErrorTrap* t_trap = nullptr;

}  // namespace

int trapErrors(::Display*, XErrorEvent* event)
{
    if (t_trap != nullptr && t_trap->m_error == 0)
        t_trap->m_error = event->error_code;
    return 0;
}

void installErrorHandler()
{
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(trapErrors); });
}

ErrorTrap::ErrorTrap(::Display* x) : m_x(x), m_outer(t_trap)
{
    XSync(m_x, False);
    t_trap = this;
}

ErrorTrap::~ErrorTrap()
{
    XSync(m_x, False);
    t_trap = m_outer;
}

bool ErrorTrap::passed()
{
    XSync(m_x, False);
    return m_error == 0;
}

}  // namespace s::platform::x11
