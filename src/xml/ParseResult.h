#pragma once

#include <cstddef>

namespace s::xml {

enum class ParseStatus {
    Ok,          // one element was read up to its end
    NoElement,   // the text holds no '<': nothing was read
    Truncated,   // the text ended inside the element; what was read so far is in the tree
    TooDeep,     // elements nested deeper than the reader follows; the tree holds the outer part
    Unreadable,  // load only: the file could not be read (see error)
};

// Where the reader stopped: just after the element when it was read whole, else where it gave up.
struct ParseResult {
    ParseStatus status = ParseStatus::NoElement;
    std::size_t offset = 0;
    int error = 0;  // the system's error number when Unreadable

    bool ok() const { return status == ParseStatus::Ok; }
};

struct SaveResult {
    int error = 0;  // the system's error number of the step that failed, 0 when saved

    bool ok() const { return error == 0; }
};

}  // namespace s::xml
