#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace s::platform {

// What identifies one version of a file: a durable write always makes a new inode, so a
// different stamp means that someone replaced or changed the file.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// 0 on success, else the error number of the step that failed.
struct FileResult {
    int error = 0;
    bool ok() const { return error == 0; }
};

bool fileExists(const std::string& path);

FileStamp fileStamp(const std::string& path);

// Reads the whole file; files larger than maxBytes are refused with EFBIG. The stamp is that of
// the file that was read (taken from the open file, so it cannot describe a later version).
FileResult readFile(const std::string& path, std::string& bytes, FileStamp* stamp = nullptr,
                    std::size_t maxBytes = std::size_t{64} << 20);

// Replaces the file in one step: the bytes go to a temporary file in the same folder, which is
// flushed to the disk and renamed over the old file; the folder is flushed too. Missing folders
// are made first (mode 0700). On failure the old file is left as it was and no temporary file
// remains. A symbolic link is followed: its target is replaced and the link stays.
// The stamp, when asked for, is that of the new file.
FileResult writeFileDurably(const std::string& path, std::string_view bytes, FileStamp* stamp = nullptr);

// Removes the temporary files that writeFileDurably calls for path left behind when their
// process was killed mid-write, if they are at least minAgeSeconds old. With no age, only safe
// while no one else writes path (under its lock); no save takes a minute, so that age is safe.
void removeLeftTemporaries(const std::string& path, int minAgeSeconds = 0);

// Moves the file (or whatever is at the path) to a new name that starts with the given one and
// that no file has yet ("name", "name-1", "name-2", ...). The name used is put in usedName.
FileResult moveAside(const std::string& path, const std::string& wantedName, std::string* usedName = nullptr);

// An advisory lock held on a lock file, released when the object goes. Cooperating processes
// take it around read-modify-write cycles of a shared file.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock; the lock file and its folders are made when missing.
    FileResult acquire(const std::string& lockPath, Mode mode);
    void release();
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// The folder for the user's configuration files: $XDG_CONFIG_HOME when it is an absolute path,
// else the home folder's ".config"; empty when the user has no home folder.
std::string configHome();

// Replaces each %NAME% by the value of the environment variable NAME; references to variables
// that are not set are kept as they stand.
std::string expandEnvironmentStrings(std::string_view text);

}  // namespace s::platform
