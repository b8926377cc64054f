#pragma once

#include <cstdint>

namespace s::file::gui::dialogs::fileaccess {

// What the next stamp is decided from: the last stamp given and the clock reading it was
// given at.
struct StampState {
    std::int64_t lastStamp = 0;
    std::int64_t lastReading = 0;
};

// The stamp of a record made when the clock reads `now`, advancing state: `now` itself when it
// is later than the last stamp, or when the clock went back by more than 5000 ms since the last
// reading (it was set back for good); otherwise last stamp + 1, so that stamps keep increasing
// through bursts and small steps back of the clock. A burst of more than one record per
// millisecond runs the stamps ahead of the clock until it catches up; it never makes them jump
// back, because the step back is measured between clock readings, not against the stamps.
std::int64_t nextTimeStamp(std::int64_t now, StampState& state);

// Stamps the present moment of the system clock against the process's stamp state. Safe to
// call from several threads.
std::int64_t takeTimeStamp();

}  // namespace s::file::gui::dialogs::fileaccess
