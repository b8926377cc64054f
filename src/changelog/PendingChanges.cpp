#include "changelog/PendingChanges.h"

#include "changelog/Change.h"

namespace s::file::gui::dialogs::fileaccess {

PendingChanges::~PendingChanges()
{
    std::lock_guard hold(lock);
    for (Change* change : queue)
        change->recycle();
    queue.clear();
}

}  // namespace s::file::gui::dialogs::fileaccess
