#include "platform/Files.h"

#include "platform/FileFaults.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace s::platform {

namespace {

using faults::FileStep;

FileStamp stampOf(const struct stat& info)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

std::string parentOf(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int makeFolders(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        std::string prefix = folder.substr(0, at);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    return 0;
}

// The file a write to `path` must replace: the target of a symbolic link, else the path.
std::string replacedFile(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        std::string target(resolved);
        std::free(resolved);
        return target;
    }
    // A link to a file that does not exist yet: create the file it names.
    std::vector<char> target(PATH_MAX);
    ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
    if (length <= 0)
        return path;
    std::string named(target.data(), static_cast<std::size_t>(length));
    if (named.front() == '/')
        return named;
    return parentOf(path) + "/" + named;
}

int writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (int error = faults::take(FileStep::Write))
            return error;
        ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

void syncFolder(const std::string& folder)
{
    // Makes the rename itself durable. Some file systems refuse fsync on folders; the data
    // file is already on the disk then, so that is not an error of the write.
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool fileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

FileStamp fileStamp(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return FileStamp{};
    return stampOf(info);
}

FileResult readFile(const std::string& path, std::string& bytes, FileStamp* stamp, std::size_t maxBytes)
{
    bytes.clear();
    if (int error = faults::take(FileStep::Read))
        return {error};
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        int error = errno;
        ::close(fd);
        return {error};
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return {EISDIR};
    }
    if (info.st_size > 0 && static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        ::close(fd);
        return {EFBIG};
    }
    if (info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            bytes.clear();
            return {error};
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            ::close(fd);
            bytes.clear();
            return {EFBIG};
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (stamp != nullptr)
        *stamp = stampOf(info);
    return {};
}

FileResult writeFileDurably(const std::string& path, std::string_view bytes, FileStamp* stamp)
{
    const std::string target = replacedFile(path);
    const std::string folder = parentOf(target);
    if (int error = makeFolders(folder))
        return {error};

    std::string temporary = folder + "/." + baseNameOf(target) + ".XXXXXX";
    if (int error = faults::take(FileStep::CreateTemporary))
        return {error};
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return {errno};

    auto fail = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        return FileResult{error};
    };

    // Keep the permissions of the file being replaced; a new file is private (0600).
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    if (int error = writeAll(fd, bytes))
        return fail(error);
    if (int error = faults::take(FileStep::Sync))
        return fail(error);
    if (::fsync(fd) != 0)
        return fail(errno);
    int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    if (int error = faults::take(FileStep::Rename))
        return fail(error);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);
    syncFolder(folder);
    if (stamp != nullptr)
        *stamp = fileStamp(target);
    return {};
}

void removeLeftTemporaries(const std::string& path, int minAgeSeconds)
{
    const std::string target = replacedFile(path);
    const std::string folder = parentOf(target);
    // The names mkostemp made from ".<name>.XXXXXX".
    const std::string prefix = "." + baseNameOf(target) + ".";
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return;
    while (const struct dirent* entry = ::readdir(listing)) {
        std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix))
            continue;
        bool generated = true;
        for (char c : name.substr(prefix.size()))
            generated = generated && std::isalnum(static_cast<unsigned char>(c)) != 0;
        struct stat info {};
        if (!generated || ::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        if (minAgeSeconds > 0 && ::time(nullptr) - info.st_mtim.tv_sec < minAgeSeconds)
            continue;
        ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

FileResult moveAside(const std::string& path, const std::string& wantedName, std::string* usedName)
{
    if (int error = faults::take(FileStep::MoveAside))
        return {error};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string candidate = attempt == 0 ? wantedName : wantedName + "-" + std::to_string(attempt);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, candidate.c_str(), RENAME_NOREPLACE) == 0) {
            if (usedName != nullptr)
                *usedName = candidate;
            return {};
        }
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return {errno};
        // The file system cannot refuse to replace: check first instead.
        if (fileExists(candidate))
            continue;
        if (::rename(path.c_str(), candidate.c_str()) != 0)
            return {errno};
        if (usedName != nullptr)
            *usedName = candidate;
        return {};
    }
    return {EEXIST};
}

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1))
{
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileResult FileLock::acquire(const std::string& lockPath, Mode mode)
{
    release();
    if (int error = faults::take(FileStep::Lock))
        return {error};
    if (int error = makeFolders(parentOf(lockPath)))
        return {error};
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return {errno};
    int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    while (::flock(fd, operation) != 0) {
        if (errno == EINTR)
            continue;
        int error = errno;
        ::close(fd);
        return {error};
    }
    m_fd = fd;
    return {};
}

void FileLock::release()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

std::string configHome()
{
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured != nullptr && configured[0] == '/')
        return configured;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config";
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return std::string(found->pw_dir) + "/.config";
    return {};
}

std::string expandEnvironmentStrings(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t open = text.find('%', at);
        if (open == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, open - at));
        std::string name(text.substr(open + 1, close - open - 1));
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value != nullptr)
            out.append(value);
        else
            out.append(text.substr(open, close - open + 1));
        at = close + 1;
    }
    return out;
}

}  // namespace s::platform
