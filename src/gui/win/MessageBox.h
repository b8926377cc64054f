#pragma once

#include "platform/Display.h"

#include <cstdint>
#include <string>

namespace s::gui::win {

enum class MessageBoxKind { Information, Error, Question };

// Colours (0xRRGGBB) and texts of a message box; the toolkit passes its skin's.
struct MessageBoxStyle {
    std::uint32_t background = 0xF0F0F0;
    std::uint32_t caption = 0xDCDCDC;
    std::uint32_t text = 0x000000;
    std::uint32_t border = 0x8C8C8C;
    std::uint32_t button = 0xE1E1E1;
    std::uint32_t buttonHot = 0xE5F1FB;
    std::uint32_t buttonBorder = 0xADADAD;
    std::string title = "Ostrel";
    std::string ok = "OK";
    std::string yes = "Yes";
    std::string no = "No";
};

// Shows a box of the toolkit's own drawing, modal to its owner, and returns when it is closed:
// true for OK and Yes, false for No. A question box has no way out but Yes and No; the others
// close with OK, Escape or the desktop's close. Called from any thread: the box is shown on the
// owner's thread, and the caller waits. False at once when the owner is gone.
bool showMessageBox(platform::WindowId owner, const std::string& text, MessageBoxKind kind,
                    const MessageBoxStyle& style = {});

// The same on a user-interface thread, over one of its windows or (owner 0) on its own.
bool showMessageBox(platform::Display& display, platform::WindowId owner, const std::string& text,
                    MessageBoxKind kind, const MessageBoxStyle& style = {});

}  // namespace s::gui::win
