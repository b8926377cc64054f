#pragma once

namespace s::platform::x11 {

struct KeyCode {
    int virtualKey = 0;  // 0 = no virtual key for this keysym
    bool extended = false;
};

// The virtual key of an X keysym as the key's unshifted symbol gives it.
KeyCode virtualKeyOf(unsigned long keysym);

}  // namespace s::platform::x11
