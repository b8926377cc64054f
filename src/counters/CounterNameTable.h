#pragma once

#include <array>
#include <string_view>

namespace s::system::counter {

// The entries of a name set, numbered from 1. The program reads 4, 5, 6 and 9.
enum NameEntry : int {
    kProcessorObject = 1,
    kProcessorTime = 2,
    kUserTime = 3,
    kPhysicalDiskObject = 4,
    kDiskReadBytes = 5,
    kDiskWriteBytes = 6,
    kDiskReads = 7,
    kDiskWrites = 8,
    kDiskTime = 9,
    kLogicalDiskObject = 10,
    kFreeSpace = 11,
    kFreeMegabytes = 12,
    kNetworkInterfaceObject = 13,
    kBytesSent = 14,
    kBytesReceived = 15,
    kProcessObject = 16,
    kProcessId = 17,
    kWorkingSet = 18,
    kIoReadOperations = 19,
    kIoWriteOperations = 20,
    kIoReadBytes = 21,
    kIoWriteBytes = 22,
    kThreadCount = 23,
    kHandleCount = 24,
    kElapsedTime = 25,
};

inline constexpr int kNameEntryCount = 25;
inline constexpr int kProbeCount = 36;

// The names of one language variant, index 0 holding entry 1. Entries a localized set does not
// know are empty; the program never reads them.
using NameSet = std::array<std::string_view, kNameEntryCount>;

// The path of probe 1 .. kProbeCount, tested in that order; empty for other numbers.
std::string_view probePath(int probe);

// The names that probe selects. Probe 1, and 0 for "no probe matched", select the English names.
NameSet nameSetForProbe(int probe);

}  // namespace s::system::counter
