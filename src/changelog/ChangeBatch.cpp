#include "changelog/ChangeBatch.h"

#include "changelog/Change.h"

namespace s::file::gui::dialogs::fileaccess {

void moveQueueToBatch(std::vector<Change*>& queue, bool paused, std::vector<Change*>& batch, BatchCounts& counts)
{
    if (paused) {
        for (Change* change : queue)
            change->recycle();
        counts.discarded += queue.size();
        queue.clear();
        return;
    }
    const std::size_t first = batch.size();
    batch.reserve(first + queue.size());
    for (Change* change : queue) {
        if (change->getKind() == ChangeKind::Written && change->isDirectory()) {
            change->recycle();
            ++counts.directoryWrites;
            continue;
        }
        if (batch.size() > first) {
            Change*& previous = batch.back();
            if (previous->getKind() == change->getKind() && previous->getFullPath() == change->getFullPath()) {
                previous->recycle();
                previous = change;
                ++counts.merged;
                continue;
            }
        }
        batch.push_back(change);
    }
    queue.clear();
}

}  // namespace s::file::gui::dialogs::fileaccess
