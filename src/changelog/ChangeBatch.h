#pragma once

#include <cstdint>
#include <vector>

namespace s::file::gui::dialogs::fileaccess {

class Change;

// What moving queues into batches has given back instead of keeping.
struct BatchCounts {
    // Records replaced by a newer identical one.
    std::uint64_t merged = 0;
    // Written records of directories, which are never logged.
    std::uint64_t directoryWrites = 0;
    // Records that arrived while collecting was paused.
    std::uint64_t discarded = 0;
};

// Moves the records of queue, in order, to the end of batch and empties queue. While paused every
// record is given back. Otherwise a written record of a directory is given back, and a record
// with the kind and the full path (compared exactly) of the record kept just before it from this
// queue takes that record's place, which is given back: a run of identical notices becomes its
// newest record.
void moveQueueToBatch(std::vector<Change*>& queue, bool paused, std::vector<Change*>& batch, BatchCounts& counts);

}  // namespace s::file::gui::dialogs::fileaccess
