#pragma once

#include <cstdint>
#include <vector>

namespace s::reg::win {

using Bytes = std::vector<std::uint8_t>;

// The registry's value types, with their system numbers (they are also what the store's file
// falls back to for a type it has no name for).
enum ValueType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

enum class Hive {
    CurrentUser,   // the user's own store, kept in a file
    LocalMachine,  // machine-wide keys: none exist on this system, and writes are refused
};

}  // namespace s::reg::win
