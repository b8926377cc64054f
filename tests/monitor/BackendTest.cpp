// The watcher on real directories, with each change-report backend.
#include "MonitorTestSupport.h"

#include "platform/ChangeSource.h"
#include "platform/ErrorCodes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

using namespace monitor_test;
namespace fs = std::filesystem;
using s::platform::ChangeBackend;
using s::platform::ChangeSourceOptions;
using testing::ElementsAreArray;
using testing::UnorderedElementsAreArray;

struct Backend {
    const char* name;
    ChangeSourceOptions options;
    const char* expected;
};

ChangeSourceOptions fanotifyWith(bool renameEvents, bool targetIds, bool unlimitedQueue = true)
{
    ChangeSourceOptions options;
    options.fanotifyRenameEvents = renameEvents;
    options.fanotifyTargetIds = targetIds;
    options.fanotifyUnlimitedQueue = unlimitedQueue;
    return options;
}

ChangeSourceOptions inotifyOnly()
{
    ChangeSourceOptions options;
    options.backend = ChangeBackend::Inotify;
    return options;
}

// The fanotify variants take the ways older kernels make the reader take: rename events as two
// move events, and no handle of the changed entry.
const Backend kBackends[] = {
    {"inotify", inotifyOnly(), "inotify"},
    {"fanotify", fanotifyWith(true, true), "fanotify"},
    {"fanotify_moves", fanotifyWith(false, true), "fanotify"},
    {"fanotify_without_targets", fanotifyWith(true, false), "fanotify"},
};

void PrintTo(const Backend& backend, std::ostream* out)
{
    *out << backend.name;
}

bool isFanotify(const Backend& backend)
{
    return std::string(backend.expected) == "fanotify";
}

class BackendTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (isFanotify(GetParam()) && !s::platform::hasChangeReportPrivileges())
            GTEST_SKIP() << "fanotify needs CAP_SYS_ADMIN and CAP_DAC_READ_SEARCH; run the tests as root to cover it";
        ASSERT_FALSE(m_dir.path().empty());
        m_sources = std::make_unique<s::platform::SystemChangeSources>(GetParam().options);
        m_watcher.setChangeSourceFactory(m_sources.get());
    }

    fs::path path(const std::string& relative) const { return m_dir.path() / relative; }
    std::string full(const std::string& relative) const { return path(relative).string(); }

    void startWatch()
    {
        ASSERT_EQ(m_watcher.addWatch(m_dir.string(), m_handler.get()), 0);
        ASSERT_EQ(m_watcher.getWatchBackend(m_dir.string()), GetParam().expected);
        ASSERT_TRUE(m_handler->waitFor(Call{"started", m_dir.string()}));
    }

    // Returns once changes in `relative` are reported: the first scan of a tree runs after
    // addWatch has returned.
    void settle(const std::string& relative = {})
    {
        for (int i = 0; i < 100; ++i) {
            const fs::path probe = m_dir.path() / relative / ("probe-" + std::to_string(m_probes++));
            touch(probe);
            if (m_handler->waitFor(Call{"added", probe.string()}, 200ms)) {
                m_handler->clear();
                return;
            }
        }
        FAIL() << "changes in '" << relative << "' were never reported";
    }

    // The calls before a sentinel file made now, with paths relative to the watched directory
    // and repeated modifications of one name shown once.
    std::vector<Call> callsUntilSentinel()
    {
        const fs::path sentinel = path("sentinel-" + std::to_string(m_probes++));
        touch(sentinel);
        EXPECT_TRUE(m_handler->waitFor(Call{"added", sentinel.string()}));
        std::vector<Call> result;
        for (Call call : m_handler->calls()) {
            if (call.kind == "added" && call.path == sentinel.string())
                break;
            call.path = relative(call.path);
            call.newPath = relative(call.newPath);
            call.thread = 0;
            if (call.kind == "modified" && !result.empty() && result.back() == call)
                continue;
            result.push_back(call);
        }
        m_handler->clear();
        return result;
    }

    std::string relative(const std::string& full) const
    {
        const std::string prefix = m_dir.string() + "/";
        return full.rfind(prefix, 0) == 0 ? full.substr(prefix.size()) : full;
    }

    TempDir m_dir;
    TempDir m_elsewhere;
    std::unique_ptr<s::platform::SystemChangeSources> m_sources;
    HandlerRef<> m_handler;
    CDirectoryChangeWatcher m_watcher;
    int m_probes = 0;
};

Call added(const std::string& name)
{
    return {"added", name};
}
Call removed(const std::string& name)
{
    return {"removed", name};
}
Call modified(const std::string& name)
{
    return {"modified", name};
}
Call renamed(const std::string& from, const std::string& to)
{
    return {"renamed", from, to};
}

TEST_P(BackendTest, ReportsEveryActionInOrder)
{
    startWatch();
    settle();
    touch(path("a"));
    append(path("a"), "text");
    fs::rename(path("a"), path("b"));
    fs::permissions(path("b"), fs::perms::owner_read, fs::perm_options::replace);
    fs::remove(path("b"));
    fs::create_directory(path("d"));
    fs::remove(path("d"));
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added("a"), modified("a"), renamed("a", "b"), modified("b"),
                                                        removed("b"), added("d"), removed("d")}));
}

TEST_P(BackendTest, RenamePairSplitAcrossTwoBuffersIsOneRename)
{
    // Each read holds two of these records: the new name of the rename goes into the next one.
    const std::string oldName(100, 'o');
    const std::string newName(100, 'n');
    m_watcher.setBufferCapacity(256);
    TempDir scratch;
    WorkerBlocker blocker(m_watcher, scratch.string());
    ASSERT_EQ(blocker.addResult(), 0);
    startWatch();
    settle();
    blocker.block();
    touch(path(oldName));
    fs::rename(path(oldName), path(newName));
    blocker.release();
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added(oldName), renamed(oldName, newName)}));
}

TEST_P(BackendTest, FilesMadeRightAfterTheirDirectoryAreReportedOnce)
{
    startWatch();
    settle();
    std::vector<Call> expected{added("sub")};
    fs::create_directory(path("sub"));
    for (int i = 0; i < 50; ++i) {
        touch(path("sub/f" + std::to_string(i)));
        expected.push_back(added("sub/f" + std::to_string(i)));
    }
    fs::create_directories(path("x/y/z"));
    touch(path("x/y/z/deep"));
    for (const char* name : {"x", "x/y", "x/y/z", "x/y/z/deep"})
        expected.push_back(added(name));
    // Scans and events may interleave; each name must come exactly once.
    EXPECT_THAT(callsUntilSentinel(), UnorderedElementsAreArray(expected));
}

TEST_P(BackendTest, ChangesAfterNestedDirectoryRenamesCarryTheNewPaths)
{
    // One tree existed before the watch, one is made while watched.
    fs::create_directories(path("old/b/c"));
    touch(path("old/b/c/f"));
    startWatch();
    settle("old/b/c");
    fs::create_directories(path("new/b/c"));
    touch(path("new/b/c/f"));
    callsUntilSentinel();

    for (const std::string top : {"old", "new"}) {
        fs::rename(path(top), path(top + "2"));
        fs::rename(path(top + "2/b"), path(top + "2/y"));
        fs::rename(path(top + "2/y/c"), path(top + "2/y/z"));
        touch(path(top + "2/y/z/g"));
        append(path(top + "2/y/z/f"), "more");
        EXPECT_THAT(callsUntilSentinel(),
                    ElementsAreArray({renamed(top, top + "2"), renamed(top + "2/b", top + "2/y"),
                                      renamed(top + "2/y/c", top + "2/y/z"), added(top + "2/y/z/g"),
                                      modified(top + "2/y/z/f")}))
            << top;
    }
}

TEST_P(BackendTest, DirectoryDeletedWhileWatchedReportsItsContents)
{
    fs::create_directories(path("tree/sub"));
    touch(path("tree/one"));
    touch(path("tree/sub/two"));
    startWatch();
    settle("tree/sub");
    // Held still, the worker reads the events only after the directories are gone.
    TempDir scratch;
    WorkerBlocker blocker(m_watcher, scratch.string());
    blocker.block();
    fs::remove_all(path("tree"));
    blocker.release();
    const std::vector<Call> calls = callsUntilSentinel();
    if (std::string(GetParam().name) == "fanotify_without_targets") {
        // Without the handle of a removed entry, events of directories already gone when they
        // are read cannot be placed; the removal of the top of the tree always can.
        EXPECT_THAT(calls, testing::Contains(removed("tree")));
        return;
    }
    const std::set<std::string> removedNames = [&] {
        std::set<std::string> names;
        for (const Call& call : calls)
            if (call.kind == "removed" && call.path.find("probe-") == std::string::npos)
                names.insert(call.path);
        return names;
    }();
    EXPECT_EQ(removedNames, (std::set<std::string>{"tree", "tree/one", "tree/sub", "tree/sub/two"}));
    // A directory's removal comes after the removals of what was in it.
    const auto position = [&](const std::string& name) {
        return std::find(calls.begin(), calls.end(), removed(name)) - calls.begin();
    };
    EXPECT_LT(position("tree/sub/two"), position("tree/sub"));
    EXPECT_LT(position("tree/sub"), position("tree"));
}

TEST_P(BackendTest, FileGoneBeforeItWasReadIsAddedThenRemoved)
{
    startWatch();
    settle();
    TempDir scratch;
    WorkerBlocker blocker(m_watcher, scratch.string());
    blocker.block();
    touch(path("brief"));
    append(path("brief"), "x");
    fs::remove(path("brief"));
    blocker.release();
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added("brief"), modified("brief"), removed("brief")}));
}

TEST_P(BackendTest, MovesIntoAndOutOfTheTree)
{
    fs::create_directories(m_elsewhere.path() / "dir/inner");
    touch(m_elsewhere.path() / "file");
    startWatch();
    settle();
    fs::rename(m_elsewhere.path() / "file", path("file"));
    fs::rename(m_elsewhere.path() / "dir", path("dir"));
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added("file"), added("dir")}));
    // A directory moved in is watched like the rest of the tree.
    settle("dir/inner");
    touch(path("dir/inner/new"));
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added("dir/inner/new")}));
    // inotify gives a moved-out name its removal only once its partner has not come in time.
    fs::rename(path("file"), m_elsewhere.path() / "file");
    EXPECT_TRUE(m_handler->waitFor(Call{"removed", full("file")}));
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({removed("file")}));
}

TEST_P(BackendTest, AwkwardNamesArriveByteForByteAndWhole)
{
    startWatch();
    settle();
    const std::string newline = "line\nbreak";
    const std::string invalid = "bad\xff\xfe-utf8";
    const std::string longest(255, 'L');
    touch(path(newline));
    touch(path(invalid));
    touch(path(longest));
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added(newline), added(invalid), added(longest)}));

    // A file whose full path is about 4000 bytes long, in directories of 200-byte names.
    std::string deep;
    while (full(deep).size() < 3700)
        deep += (deep.empty() ? "" : "/") + std::string(200, 'd');
    fs::create_directories(path(deep));
    settle(deep);
    const std::string file = deep + "/" + std::string(4000 - full(deep).size() - 1, 'f');
    touch(path(file));
    ASSERT_EQ(full(file).size(), 4000U);
    EXPECT_THAT(callsUntilSentinel(), ElementsAreArray({added(file)}));
}

TEST_P(BackendTest, WatchedDirectoryRemovedOrRenamedIsReportedAndTheWatchStays)
{
    for (const bool rename : {false, true}) {
        TempDir parent;
        const fs::path watched = parent.path() / "watched";
        fs::create_directory(watched);
        HandlerRef<> handler;
        ASSERT_EQ(m_watcher.addWatch(watched.string(), handler.get()), 0);
        ASSERT_TRUE(handler->waitFor(Call{"started", watched.string()}));
        // Wait until the watch reports.
        for (int i = 0; i < 100 && !handler->waitFor([](const Call& c) { return c.kind == "added"; }, 100ms); ++i)
            touch(watched / ("probe" + std::to_string(i)));
        if (rename)
            fs::rename(watched, parent.path() / "moved");
        else
            fs::remove_all(watched);
        EXPECT_TRUE(handler->waitFor(Call{"read-error", watched.string(), {}, s::platform::kErrorPathNotFound}))
            << (rename ? "renamed" : "removed");
        EXPECT_TRUE(m_watcher.hasWatch(watched.string()));
        EXPECT_TRUE(m_watcher.removeWatch(watched.string()));
        EXPECT_TRUE(handler->waitFor(Call{"stopped", watched.string()}));
    }
}

// Changes made while the worker is held still overflow the kernel's queue (16384 events unless
// the system was set otherwise): the loss is reported and counted, the watch goes on, and a
// directory made while events were dropped is found by a new look at the tree.
TEST(OverflowTest, LostChangesAreReportedCountedAndTheWatchGoesOn)
{
    ChangeSourceOptions limited = fanotifyWith(true, true, false);
    for (const ChangeSourceOptions& options : {inotifyOnly(), limited}) {
        const bool fanotify = options.backend == ChangeBackend::Automatic;
        if (fanotify && !s::platform::hasChangeReportPrivileges())
            GTEST_SKIP() << "fanotify needs CAP_SYS_ADMIN and CAP_DAC_READ_SEARCH";
        TempDir dir;
        TempDir scratch;
        s::platform::SystemChangeSources sources(options);
        HandlerRef<> handler;
        CDirectoryChangeWatcher watcher;
        watcher.setChangeSourceFactory(&sources);
        WorkerBlocker blocker(watcher, scratch.string());
        ASSERT_EQ(watcher.addWatch(dir.string(), handler.get()), 0);
        ASSERT_EQ(watcher.getWatchBackend(dir.string()), fanotify ? "fanotify" : "inotify");
        fs::create_directory(dir.path() / "many");
        ASSERT_TRUE(handler->waitFor(Call{"added", (dir.path() / "many").string()}));
        blocker.block();
        for (int i = 0; i < 17000; ++i)
            touch(dir.path() / "many" / std::to_string(i));
        fs::create_directory(dir.path() / "late");
        touch(dir.path() / "late/inside");
        blocker.release();
        const char* backend = fanotify ? "fanotify" : "inotify";
        EXPECT_TRUE(handler->waitFor(Call{"read-error", dir.string(), {}, s::platform::kErrorChangesLost})) << backend;
        EXPECT_GE(watcher.getLostCount(), 1U) << backend;
        // inotify looks at the tree again and reports what it finds unwatched as added.
        if (!fanotify) {
            EXPECT_TRUE(handler->waitFor(Call{"added", (dir.path() / "late/inside").string()}));
        }
        // Whatever was dropped, the watch still reports, in the directory made meanwhile too.
        for (int i = 0; i < 100; ++i) {
            const fs::path probe = dir.path() / "late" / ("after" + std::to_string(i));
            touch(probe);
            if (handler->waitFor(Call{"added", probe.string()}, 200ms))
                break;
        }
        EXPECT_TRUE(handler->waitFor([&](const Call& c) { return c.path.find("/late/after") != std::string::npos; }))
            << backend;
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, BackendTest, testing::ValuesIn(kBackends),
                         [](const testing::TestParamInfo<Backend>& param) { return std::string(param.param.name); });

}  // namespace
