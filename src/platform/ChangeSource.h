#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace s::platform {

class EventPort;

// Something the watcher has to hear about besides the records: lost changes, a part of the
// tree that cannot be watched, the watched directory going away.
struct ChangeNotice {
    int error = 0;
    // True when changes were lost (kernel queue overflow, watch limit); the watcher counts these.
    bool lost = false;
    // Relative to the watched directory; empty for the watched directory itself.
    std::string name;
};

struct FillResult {
    // Bytes of records written at the start of the buffer (ChangeRecords.h layout).
    std::size_t bytes = 0;
    // More is ready now: fill again without waiting for the port.
    bool more = false;
    // Non-zero: the source can report nothing any more (a system error code).
    int failure = 0;
};

// The kernel's change reports for one watched directory tree, as change records.
// Every call but the factory's is made on the watcher's worker thread.
class IChangeSource {
public:
    virtual ~IChangeSource() = default;

    // "fanotify", "inotify", ...
    virtual const char* backendName() const = 0;

    // Starts reporting readiness to the port under key. Returns 0 or an error code; on an
    // error nothing stays registered. Destroying the source unregisters it.
    virtual int attach(EventPort& port, void* key) = 0;

    // Writes the records that are ready into buffer (never more than capacity bytes). A fill
    // that produced a notice ends right after it, so that the records before it are seen first.
    virtual FillResult fill(std::byte* buffer, std::size_t capacity) = 0;

    // The notices of the last fill, oldest first; false when there are no more.
    virtual bool takeNotice(ChangeNotice& notice) = 0;
};

class IChangeSourceFactory {
public:
    // Opens a source for directory (an existing directory). On failure returns the system error
    // code and leaves `source` empty.
    virtual int openSource(const std::string& directory, std::unique_ptr<IChangeSource>& source) = 0;

protected:
    ~IChangeSourceFactory() = default;
};

enum class ChangeBackend {
    // fanotify when the process may use it and the file system accepts the mark, else inotify.
    Automatic,
    Inotify,
};

struct ChangeSourceOptions {
    ChangeBackend backend = ChangeBackend::Automatic;
    // fanotify features used when the kernel accepts them; switched off, the reader takes the
    // way it takes on kernels without them.
    bool fanotifyRenameEvents = true;
    bool fanotifyTargetIds = true;
    bool fanotifyUnlimitedQueue = true;
};

// The kernel's change reports.
class SystemChangeSources final : public IChangeSourceFactory {
public:
    explicit SystemChangeSources(ChangeSourceOptions options = {}) : m_options(options) {}
    int openSource(const std::string& directory, std::unique_ptr<IChangeSource>& source) override;

private:
    ChangeSourceOptions m_options;
};

// True when the process holds what a filesystem-wide fanotify watch needs (CAP_SYS_ADMIN and
// CAP_DAC_READ_SEARCH in the effective set). Asked once; the answer is kept.
bool hasChangeReportPrivileges();

// The directory's attributes: false when they cannot be read or it is not a directory.
bool isDirectory(const std::string& path);

}  // namespace s::platform
