#pragma once

#include <cstdint>

namespace s::file::gui::dialogs::fileaccess {

// The stamp of a record made at `now` when the last stamp given was `last`: `now` itself when it
// is later than `last` or more than 5000 ms earlier (the clock was set back for good), otherwise
// last + 1, so that stamps keep increasing through bursts and small steps back of the clock.
std::int64_t nextTimeStamp(std::int64_t now, std::int64_t last);

// Stamps the present moment of the system clock against the process's last stamp, which it
// advances. Safe to call from several threads.
std::int64_t takeTimeStamp();

}  // namespace s::file::gui::dialogs::fileaccess
