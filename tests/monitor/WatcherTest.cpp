// The watcher's own logic, on fake change sources.
#include "monitor/CDirectoryChangeWatcher.h"

#include "MonitorTestSupport.h"
#include "foundation/IWaitPump.h"
#include "support/ClosurePump.h"
#include "monitor/CDelayedNotificationThread.h"
#include "platform/ErrorCodes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace monitor_test;
using namespace s::platform;
using testing::ElementsAre;
namespace fs = std::filesystem;

class WatcherTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_watcher.setChangeSourceFactory(&m_sources);
        for (const char* name : {"a", "b", "c", "d"})
            fs::create_directory(m_dir.path() / name);
    }

    std::string dir(const std::string& name) const { return (m_dir.path() / name).string(); }

    int add(const std::string& name, RecordingHandler* handler)
    {
        const int result = m_watcher.addWatch(dir(name), handler);
        if (result == 0) {
            EXPECT_TRUE(handler->waitFor(Call{"started", dir(name)}));
        }
        return result;
    }

    std::vector<Call> callsOf(RecordingHandler* handler, const std::string& kind)
    {
        std::vector<Call> result;
        for (Call call : handler->calls()) {
            if (call.kind == kind) {
                call.thread = 0;
                result.push_back(call);
            }
        }
        return result;
    }

    TempDir m_dir;
    FakeSources m_sources;
    HandlerRef<> m_handler;
    CDirectoryChangeWatcher m_watcher;
};

TEST_F(WatcherTest, AddWatchReportsTheFailureTableErrors)
{
    touch(m_dir.path() / "file");
    m_sources.failOpen(dir("c"), kErrorAccessDenied);
    struct Case {
        std::string directory;
        CDirectoryChangeHandler* handler;
        int expected;
    };
    const Case cases[] = {
        {"", m_handler.get(), kErrorInvalidParameter},
        {dir("a"), nullptr, kErrorInvalidParameter},
        {dir("missing"), m_handler.get(), kErrorBadPathName},
        {dir("file"), m_handler.get(), kErrorBadPathName},
        {dir("c"), m_handler.get(), kErrorAccessDenied},
    };
    for (const Case& c : cases) {
        setLastError(0);
        EXPECT_EQ(m_watcher.addWatch(c.directory, c.handler), c.expected) << c.directory;
        EXPECT_EQ(lastError(), c.expected) << c.directory;
        EXPECT_FALSE(m_watcher.hasWatch(c.directory));
    }
    EXPECT_EQ(m_handler->getRefCount(), 1);
    // None of them started a worker.
    EXPECT_FALSE(m_watcher.removeAllWatches());
}

TEST_F(WatcherTest, FailedFirstReadIsReportedAndLeavesNoWatch)
{
    m_sources.failAttach(dir("a"), kErrorNotSupported);
    EXPECT_EQ(m_watcher.addWatch(dir("a"), m_handler.get()), kErrorNotSupported);
    // The start notice was delivered before the record went.
    EXPECT_THAT(callsOf(m_handler.get(), "started"), ElementsAre(Call{"started", dir("a"), {}, kErrorNotSupported}));
    EXPECT_FALSE(m_watcher.hasWatch(dir("a")));
    EXPECT_EQ(m_handler->getRefCount(), 1);
    EXPECT_EQ(m_handler->getWatchCount(), 0);
}

TEST_F(WatcherTest, RecordsBecomeCallsWithFullPathsAndRenamesPairAcrossReads)
{
    ASSERT_EQ(add("a", m_handler.get()), 0);
    EXPECT_EQ(m_handler->getRefCount(), 2);
    EXPECT_EQ(m_watcher.getWatchBackend(dir("a")), "fake");
    auto control = m_sources.control(dir("a"));
    control->pushRecords({{kChangeAdded, "x"}, {kChangeRenamedOldName, "x"}});
    control->pushRecords({{kChangeRenamedNewName, "sub/y"}, {kChangeRemoved, "sub/y"}});
    ASSERT_TRUE(m_handler->waitFor(Call{"removed", dir("a") + "/sub/y"}));
    EXPECT_THAT(m_handler->calls(),
                ElementsAre(Call{"started", dir("a")}, Call{"added", dir("a") + "/x"},
                            Call{"renamed", dir("a") + "/x", dir("a") + "/sub/y"}, Call{"removed", dir("a") + "/sub/y"}));
    EXPECT_EQ(m_handler->getChangedDirectoryName(), dir("a"));
}

TEST_F(WatcherTest, NoticesBecomeReadErrorsAndLossesAreCounted)
{
    ASSERT_EQ(add("a", m_handler.get()), 0);
    auto control = m_sources.control(dir("a"));
    FakeFill fill;
    fill.records = {{kChangeAdded, "before"}};
    fill.notices = {ChangeNotice{kErrorChangesLost, true, {}}, ChangeNotice{kErrorAccessDenied, false, "locked"}};
    control->push(fill);
    control->pushRecords({{kChangeAdded, "after"}});
    ASSERT_TRUE(m_handler->waitFor(Call{"added", dir("a") + "/after"}));
    EXPECT_THAT(m_handler->calls(),
                ElementsAre(Call{"started", dir("a")}, Call{"added", dir("a") + "/before"},
                            Call{"read-error", dir("a"), {}, kErrorChangesLost},
                            Call{"read-error", dir("a") + "/locked", {}, kErrorAccessDenied},
                            Call{"added", dir("a") + "/after"}));
    EXPECT_EQ(m_watcher.getLostCount(), 1U);
    EXPECT_TRUE(m_watcher.hasWatch(dir("a")));
}

TEST_F(WatcherTest, FailedLaterReadRemovesTheWatchOnTheWorker)
{
    ASSERT_EQ(add("a", m_handler.get()), 0);
    FakeFill fill;
    fill.records = {{kChangeAdded, "last"}};
    fill.failure = kErrorDeviceIo;
    m_sources.control(dir("a"))->push(fill);
    ASSERT_TRUE(m_handler->waitFor(Call{"read-error", dir("a"), {}, kErrorDeviceIo}));
    for (int i = 0; i < 500 && m_watcher.hasWatch(dir("a")); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(m_watcher.hasWatch(dir("a")));
    EXPECT_EQ(m_handler->getWatchCount(), 0);
    EXPECT_EQ(m_handler->getRefCount(), 1);
    EXPECT_TRUE(m_sources.control(dir("a"))->destroyed);
    EXPECT_THAT(callsOf(m_handler.get(), "added"), ElementsAre(Call{"added", dir("a") + "/last"}));
    // No stop handshake for it: the watch was never stopped.
    EXPECT_THAT(callsOf(m_handler.get(), "stopped"), ElementsAre());
    EXPECT_TRUE(m_watcher.removeAllWatches());
}

TEST_F(WatcherTest, AddingADirectoryAgainReplacesItsWatchAndNamesCompareExactly)
{
    ASSERT_EQ(add("a", m_handler.get()), 0);
    ASSERT_EQ(m_watcher.addWatch(dir("a"), m_handler.get()), 0);
    // The old watch was stopped (that notice is waited for), then the new one started.
    ASSERT_TRUE(m_handler->waitForCount(3));
    EXPECT_THAT(m_handler->calls(), ElementsAre(Call{"started", dir("a")}, Call{"stopped", dir("a")},
                                                Call{"started", dir("a")}));
    EXPECT_EQ(m_handler->getWatchCount(), 1);
    // Another spelling of the same directory is another watch.
    ASSERT_EQ(m_watcher.addWatch(dir("a") + "/", m_handler.get()), 0);
    EXPECT_TRUE(m_watcher.hasWatch(dir("a")));
    EXPECT_TRUE(m_watcher.hasWatch(dir("a") + "/"));
    EXPECT_FALSE(m_watcher.hasWatch(dir("A")));
    EXPECT_EQ(m_handler->getWatchCount(), 2);
}

TEST_F(WatcherTest, RemovedWatchLeavesASlotThatTheNextWatchTakes)
{
    for (const char* name : {"a", "b", "c"})
        ASSERT_EQ(add(name, m_handler.get()), 0);
    EXPECT_TRUE(m_watcher.removeWatch(dir("b")));
    EXPECT_FALSE(m_watcher.removeWatch(dir("b")));
    ASSERT_EQ(add("d", m_handler.get()), 0);
    m_handler->clear();
    EXPECT_TRUE(m_watcher.removeAllWatches());
    // Watches are stopped in slot order: d took b's slot.
    EXPECT_THAT(callsOf(m_handler.get(), "stopped"),
                ElementsAre(Call{"stopped", dir("a")}, Call{"stopped", dir("d")}, Call{"stopped", dir("c")}));
    EXPECT_EQ(m_handler->getWatchCount(), 0);
    EXPECT_EQ(m_handler->getWatcher(), nullptr);
    EXPECT_EQ(m_handler->getRefCount(), 1);
    // A later watch starts a new worker.
    ASSERT_EQ(add("a", m_handler.get()), 0);
    EXPECT_TRUE(m_watcher.hasWatch(dir("a")));
}

TEST_F(WatcherTest, RemoveWatchReturnsOnlyAfterTheStopWasDelivered)
{
    ASSERT_EQ(add("a", m_handler.get()), 0);
    std::atomic<bool> delivered{false};
    m_handler->stopHook = [&delivered](const std::string&) {
        std::this_thread::sleep_for(150ms);
        delivered = true;
    };
    EXPECT_TRUE(m_watcher.removeWatch(dir("a")));
    EXPECT_TRUE(delivered);
}

TEST_F(WatcherTest, StopHandshakeKeepsTheCallersSendsServed)
{
    test_support::ClosurePump pump;
    bool ranOnCaller = false;
    std::thread caller([&] {
        s::thread::IWaitPump::setCurrent(&pump);
        const unsigned callerId = s::platform::currentThreadId();
        // The client's stop handler needs the removing thread: without the pump, a deadlock.
        m_handler->stopHook = [&](const std::string&) {
            pump.send([&] { ranOnCaller = s::platform::currentThreadId() == callerId; });
        };
        if (add("a", m_handler.get()) == 0)
            m_watcher.removeWatch(dir("a"));
        s::thread::IWaitPump::setCurrent(nullptr);
    });
    caller.join();
    EXPECT_TRUE(ranOnCaller);
    EXPECT_EQ(pump.served, 1);
    EXPECT_THAT(callsOf(m_handler.get(), "stopped"), ElementsAre(Call{"stopped", dir("a")}));
}

TEST_F(WatcherTest, OneNotificationThreadServesAllWatchesAndComesBackAfterTheLast)
{
    ASSERT_EQ(CDelayedNotificationThread::getThreadId(), 0U);
    for (const char* name : {"a", "b", "c"}) {
        ASSERT_EQ(add(name, m_handler.get()), 0);
        m_sources.control(dir(name))->pushRecords({{kChangeAdded, "x"}});
    }
    for (const char* name : {"a", "b", "c"})
        ASSERT_TRUE(m_handler->waitFor(Call{"added", dir(name) + "/x"}));
    const unsigned thread = CDelayedNotificationThread::getThreadId();
    EXPECT_NE(thread, 0U);
    for (const Call& call : m_handler->calls())
        EXPECT_EQ(call.thread, thread) << call;
    EXPECT_EQ(CDelayedNotificationThread::getCarrierCount(), 3);

    EXPECT_TRUE(m_watcher.removeAllWatches());
    EXPECT_EQ(CDelayedNotificationThread::getCarrierCount(), 0);
    EXPECT_EQ(CDelayedNotificationThread::getThreadId(), 0U);

    m_handler->clear();
    ASSERT_EQ(add("d", m_handler.get()), 0);
    m_sources.control(dir("d"))->pushRecords({{kChangeAdded, "y"}});
    ASSERT_TRUE(m_handler->waitFor(Call{"added", dir("d") + "/y"}));
    EXPECT_NE(CDelayedNotificationThread::getThreadId(), 0U);
    EXPECT_EQ(m_handler->calls().back().thread, CDelayedNotificationThread::getThreadId());
}

TEST_F(WatcherTest, RemoveAllWatchesWithoutAWorkerReturnsFalse)
{
    CDirectoryChangeWatcher idle;
    EXPECT_FALSE(idle.removeAllWatches());
    EXPECT_FALSE(idle.removeWatch(dir("a")));
    EXPECT_FALSE(idle.removeWatchesOf(m_handler.get()));
}

TEST_F(WatcherTest, WatchesOfOneHandlerGoTogether)
{
    HandlerRef<> other;
    ASSERT_EQ(add("a", m_handler.get()), 0);
    ASSERT_EQ(add("b", m_handler.get()), 0);
    ASSERT_EQ(add("c", other.get()), 0);
    EXPECT_EQ(m_handler->getWatchCount(), 2);
    EXPECT_TRUE(m_handler->stopAllWatches());
    EXPECT_FALSE(m_watcher.hasWatch(dir("a")));
    EXPECT_FALSE(m_watcher.hasWatch(dir("b")));
    EXPECT_TRUE(m_watcher.hasWatch(dir("c")));
    EXPECT_EQ(m_handler->getWatchCount(), 0);
    EXPECT_FALSE(m_watcher.removeWatchesOf(m_handler.get()));
}

TEST_F(WatcherTest, HandlerMovedToAnotherWatcherLeavesTheFirst)
{
    CDirectoryChangeWatcher second;
    second.setChangeSourceFactory(&m_sources);
    ASSERT_EQ(add("a", m_handler.get()), 0);
    ASSERT_EQ(second.addWatch(dir("b"), m_handler.get()), 0);
    EXPECT_FALSE(m_watcher.hasWatch(dir("a")));
    EXPECT_TRUE(second.hasWatch(dir("b")));
    EXPECT_EQ(m_handler->getWatcher(), &second);
    EXPECT_EQ(m_handler->getWatchCount(), 1);
}

TEST_F(WatcherTest, HandlerWhoseLastReferenceGoesWithItsWatchIsDestroyed)
{
    class Counted : public RecordingHandler {
    public:
        explicit Counted(std::atomic<int>& destroyed) : m_destroyed(destroyed) {}
        ~Counted() override { ++m_destroyed; }

    private:
        std::atomic<int>& m_destroyed;
    };
    std::atomic<int> destroyed{0};
    auto* handler = new Counted(destroyed);
    ASSERT_EQ(add("a", handler), 0);
    handler->release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(m_watcher.removeWatch(dir("a")));
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
