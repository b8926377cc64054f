#pragma once

#include <cstdint>
#include <string>

namespace bench {

// How many changes of each kind the workload makes (and so the records a watcher should give).
struct WorkloadCounts {
    std::uint64_t added = 0;
    std::uint64_t removed = 0;
    std::uint64_t modified = 0;
    std::uint64_t renamed = 0;
    std::uint64_t operations() const { return added + removed + modified + renamed; }
};

struct WorkloadShape {
    int creates = 100000;
    int directories = 10;
};

// The changes the workload makes for a shape, counted without making them.
WorkloadCounts expectedCounts(const WorkloadShape& shape);

// Makes the changes below `directory` (which must exist and be empty): a burst of creates
// spread over a few directories, appends, renames, deletes, directories with files made in them
// at once, and directories removed. Returns false on the first failing system call.
bool runWorkload(const std::string& directory, const WorkloadShape& shape, std::string& error);

}  // namespace bench
