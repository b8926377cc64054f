// The kernel backends on their own, below the watcher.
#include "platform/ChangeRecords.h"
#include "platform/ChangeSource.h"
#include "platform/ErrorCodes.h"
#include "platform/EventPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace s::platform;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct Record {
    std::uint32_t action;
    std::string name;
};

// Opens a source, lets it report to a port of its own and collects what it gives.
class SourceHarness {
public:
    int open(const std::string& directory, ChangeSourceOptions options)
    {
        SystemChangeSources sources(options);
        int error = sources.openSource(directory, m_source);
        if (error != 0)
            return error;
        m_port = EventPort::create(error);
        return m_port ? m_source->attach(*m_port, this) : error;
    }
    ~SourceHarness() { m_source.reset(); }

    const char* backend() const { return m_source->backendName(); }

    bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::vector<EventPort::Packet> packets;
        while (std::chrono::steady_clock::now() < deadline) {
            drain();
            if (done())
                return true;
            packets.clear();
            m_port->wait(packets, 20);
            m_port->rearm(this);
        }
        drain();
        return done();
    }
    bool waitForRecord(std::uint32_t action, const std::string& name)
    {
        return waitFor([&] { return hasRecord(action, name); });
    }
    bool hasRecord(std::uint32_t action, const std::string& name) const
    {
        return std::any_of(m_records.begin(), m_records.end(),
                           [&](const Record& r) { return r.action == action && r.name == name; });
    }
    bool hasNotice(int error, const std::string& name) const
    {
        return std::any_of(m_notices.begin(), m_notices.end(),
                           [&](const ChangeNotice& n) { return n.error == error && n.name == name; });
    }
    bool recordsNamed(const std::string& prefix) const
    {
        return std::any_of(m_records.begin(), m_records.end(),
                           [&](const Record& r) { return r.name.rfind(prefix, 0) == 0; });
    }

private:
    void drain()
    {
        for (int round = 0; round < 1000; ++round) {
            const FillResult result = m_source->fill(m_buffer, sizeof m_buffer);
            std::size_t at = 0;
            while (at + kChangeRecordHeaderSize <= result.bytes) {
                ChangeRecordHeader header{};
                std::memcpy(&header, m_buffer + at, sizeof header);
                m_records.push_back(
                    {header.action, std::string(reinterpret_cast<const char*>(m_buffer) + at + 12, header.nameLength)});
                if (header.nextEntryOffset == 0)
                    break;
                at += header.nextEntryOffset;
            }
            ChangeNotice notice;
            while (m_source->takeNotice(notice))
                m_notices.push_back(notice);
            if (!result.more)
                return;
        }
    }

    std::unique_ptr<IChangeSource> m_source;
    std::unique_ptr<EventPort> m_port;
    alignas(4) std::byte m_buffer[64 * 1024];
    std::vector<Record> m_records;
    std::vector<ChangeNotice> m_notices;
};

class ScratchDir {
public:
    ScratchDir()
    {
        std::random_device random;
        m_path = fs::temp_directory_path() / ("ostrel-source-" + std::to_string(random()));
        fs::create_directory(m_path);
    }
    ~ScratchDir()
    {
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(m_path, fs::directory_options::skip_permission_denied, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(m_path, error);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

void touch(const fs::path& file)
{
    std::ofstream out(file);
}

ChangeSourceOptions inotifyOnly()
{
    ChangeSourceOptions options;
    options.backend = ChangeBackend::Inotify;
    return options;
}

// A file system mounted for the length of a test (root only).
class Mount {
public:
    Mount(const fs::path& where, const char* type) : m_where(where)
    {
        m_mounted = ::mount("none", where.c_str(), type, 0, nullptr) == 0;
    }
    ~Mount()
    {
        if (m_mounted)
            ::umount2(m_where.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    fs::path m_where;
    bool m_mounted = false;
};

TEST(ChangeSourceTest, UnreadableDirectoryIsNamedAndTheRestIsStillWatched)
{
    ScratchDir dir;
    fs::create_directories(dir.path() / "open");
    fs::create_directories(dir.path() / "locked/inner");
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(dir.path() / "open", fs::perms::all);
    fs::permissions(dir.path() / "locked", fs::perms::none);
    // Root reads every directory, so the watch runs on a thread that acts as nobody. The raw
    // system call changes only that thread, and it keeps root as its saved id to come back.
    const bool root = ::geteuid() == 0;
    bool noticed = false;
    bool reportedOpen = false;
    bool reportedLocked = true;
    std::thread unprivileged([&] {
        if (root && ::syscall(SYS_setresuid, -1, 65534, -1) != 0)
            return;
        {
            SourceHarness source;
            if (source.open(dir.path().string(), inotifyOnly()) == 0) {
                noticed = source.waitFor([&] { return source.hasNotice(kErrorAccessDenied, "locked"); });
                touch(dir.path() / "open/new");
                reportedOpen = source.waitForRecord(kChangeAdded, "open/new");
                reportedLocked = source.recordsNamed("locked/");
            }
        }
        if (root)
            ::syscall(SYS_setresuid, -1, 0, -1);
    });
    unprivileged.join();
    EXPECT_TRUE(noticed);
    EXPECT_TRUE(reportedOpen);
    EXPECT_FALSE(reportedLocked);
}

TEST(ChangeSourceTest, MountPointsBelowTheWatchedDirectoryAreNotEntered)
{
    for (const ChangeSourceOptions& options : {inotifyOnly(), ChangeSourceOptions{}}) {
        ScratchDir dir;
        fs::create_directories(dir.path() / "tree/mnt");
        Mount mount(dir.path() / "tree/mnt", "tmpfs");
        if (!mount.mounted())
            GTEST_SKIP() << "mounting a tmpfs needs root";
        SourceHarness source;
        ASSERT_EQ(source.open(dir.path().string(), options), 0);
        // A probe shows that the first scan has reached the directory of the mount point.
        bool reached = false;
        for (int i = 0; !reached && i < 50; ++i) {
            const std::string probe = "tree/probe" + std::to_string(i);
            touch(dir.path() / probe);
            reached = source.waitFor([&] { return source.hasRecord(kChangeAdded, probe); }, 200ms);
        }
        ASSERT_TRUE(reached) << source.backend();
        touch(dir.path() / "tree/mnt/hidden");
        touch(dir.path() / "tree/seen");
        EXPECT_TRUE(source.waitForRecord(kChangeAdded, "tree/seen")) << source.backend();
        EXPECT_FALSE(source.recordsNamed("tree/mnt/")) << source.backend();
    }
}

TEST(ChangeSourceTest, FileSystemThatRefusesTheMarkIsWatchedWithInotify)
{
    if (!hasChangeReportPrivileges())
        GTEST_SKIP() << "the fallback from fanotify is only taken by a privileged process";
    ScratchDir dir;
    Mount mount(dir.path(), "ramfs");
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a ramfs needs root";
    SourceHarness source;
    ASSERT_EQ(source.open(dir.path().string(), ChangeSourceOptions{}), 0);
    EXPECT_STREQ(source.backend(), "inotify");
    touch(dir.path() / "on-ramfs");
    EXPECT_TRUE(source.waitForRecord(kChangeAdded, "on-ramfs"));
}

}  // namespace
