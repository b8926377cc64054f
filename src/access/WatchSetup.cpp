#include "access/WatchSetup.h"

#include "access/Handler.h"
#include "monitor/CDirectoryChangeWatcher.h"
#include "platform/ErrorCodes.h"
#include "platform/FileStatus.h"

namespace s::file::gui::dialogs::fileaccess {

std::vector<WatchOutcome> watchRoots(CDirectoryChangeWatcher& watcher, const std::vector<std::string>& roots,
                                     PendingChanges& pending)
{
    std::vector<WatchOutcome> outcomes;
    outcomes.reserve(roots.size());
    for (const std::string& root : roots) {
        Handler* handler = thread::take<Handler>();
        handler->setPending(&pending);
        WatchOutcome outcome{root, watcher.addWatch(root, handler), {}};
        if (outcome.error == platform::kErrorSuccess)
            outcome.backend = watcher.getWatchBackend(root);
        // The watcher refuses whatever is not a directory alike; a root that is not there at all
        // is told apart for the user.
        if (outcome.error == platform::kErrorBadPathName &&
            platform::linkStatus(root).result == platform::LinkStatus::Result::Missing)
            outcome.error = platform::kErrorPathNotFound;
        handler->release();
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::string watchErrorText(int error)
{
    namespace p = platform;
    switch (error) {
    case p::kErrorSuccess:
        return "watched";
    case p::kErrorFileNotFound:
    case p::kErrorPathNotFound:
        return "no such directory";
    case p::kErrorBadPathName:
        return "not a directory";
    case p::kErrorAccessDenied:
        return "permission denied";
    case p::kErrorTooManyOpenFiles:
        return "too many open files";
    case p::kErrorNotEnoughMemory:
    case p::kErrorOutOfMemory:
        return "out of memory";
    case p::kErrorNotSupported:
        return "the file system does not report changes";
    case p::kErrorWatchLimit:
        return "the limit of kernel watches is reached (fs.inotify.max_user_watches)";
    case p::kErrorNameTooLong:
        return "the name is too long";
    case p::kErrorNoMoreThreads:
        return "no thread could be started";
    case p::kErrorInvalidParameter:
        return "invalid directory";
    default:
        return "system error " + std::to_string(error);
    }
}

}  // namespace s::file::gui::dialogs::fileaccess
