#pragma once

#include <cstdint>

namespace s::file::gui::dialogs::fileaccess {

// What happened to a path. The values are those the records keep.
enum class ChangeKind : std::int32_t {
    Created = 0,
    Deleted = 1,
    Written = 2,
    RenamedFrom = 3,
    RenamedTo = 4,
};

inline constexpr int kChangeKindCount = 5;

}  // namespace s::file::gui::dialogs::fileaccess
