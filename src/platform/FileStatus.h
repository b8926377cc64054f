#pragma once

#include <cstdint>
#include <string>

namespace s::platform {

// What the file system tells about a path itself: a symbolic link is described, not followed.
struct LinkStatus {
    enum class Result {
        Found,
        // Nothing is there (any more): the name or one of its folders is gone.
        Missing,
        // The path could not be examined (no permission on a folder, a name too long, ...).
        Failed,
    };

    Result result = Result::Failed;
    bool isDirectory = false;
    // Bytes; 0 unless found.
    std::int64_t size = 0;
};

LinkStatus linkStatus(const std::string& path);

}  // namespace s::platform
