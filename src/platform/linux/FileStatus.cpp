#include "platform/FileStatus.h"

#include <cerrno>
#include <sys/stat.h>

namespace s::platform {

LinkStatus linkStatus(const std::string& path)
{
    LinkStatus status;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        status.result = (errno == ENOENT || errno == ENOTDIR) ? LinkStatus::Result::Missing : LinkStatus::Result::Failed;
        return status;
    }
    status.result = LinkStatus::Result::Found;
    status.isDirectory = S_ISDIR(info.st_mode);
    status.size = static_cast<std::int64_t>(info.st_size);
    return status;
}

}  // namespace s::platform
