#include "monitor/CDelayedDirectoryChangeHandler.h"
#include "monitor/CDelayedNotificationThread.h"
#include "monitor/DelayedNotification.h"

#include "MonitorTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace monitor_test;
using Flags = CDelayedDirectoryChangeHandler;
using testing::ElementsAre;

// A dispatcher around a client; waits for what it posted before it goes.
class Dispatcher {
public:
    Dispatcher(CDirectoryChangeHandler* client, std::uint32_t flags)
        : m_dispatcher(new CDelayedDirectoryChangeHandler(client, false, flags))
    {
    }
    ~Dispatcher()
    {
        m_dispatcher->waitUntilDispatched();
        m_dispatcher->release();
    }
    CDelayedDirectoryChangeHandler* operator->() const { return m_dispatcher; }

private:
    CDelayedDirectoryChangeHandler* m_dispatcher;
};

TEST(DelayedDispatchTest, FilterTestFollowsTheFlags)
{
    struct Case {
        const char* what;
        std::uint32_t flags;
        std::vector<std::string> include;
        std::vector<std::string> exclude;
        int type;
        std::string path;
        std::string newPath;
        bool handlerAccepts;
        bool passes;
        int handlerAsked;
    };
    const int created = DelayedNotification::kCreated;
    const int renamed = DelayedNotification::kRenamed;
    const Case cases[] = {
        {"the handler decides", Flags::MatchFileNameOnly, {}, {}, created, "/w/a.txt", "", true, true, 1},
        {"the handler refuses", Flags::MatchFileNameOnly, {}, {}, created, "/w/a.txt", "", false, false, 1},
        {"no test at all", Flags::SkipPatternTest | Flags::SkipHandlerFilter, {}, {}, created, "/w/a", "", false, true, 0},
        {"include matches the name", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {"*.txt"}, {}, created,
         "/w/a.txt", "", false, true, 0},
        {"include misses the name", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {"*.txt"}, {}, created,
         "/w/a.log", "", true, false, 0},
        {"handler first refuses", Flags::MatchFileNameOnly | Flags::HandlerFilterFirst, {"*.txt"}, {}, created,
         "/w/a.txt", "", false, false, 1},
        {"handler first, then the pattern fails", Flags::MatchFileNameOnly | Flags::HandlerFilterFirst, {"*.txt"}, {},
         created, "/w/a.log", "", true, false, 1},
        {"handler first is asked once", Flags::MatchFileNameOnly | Flags::HandlerFilterFirst, {"*.txt"}, {}, created,
         "/w/a.txt", "", true, true, 1},
        {"relative path matches", Flags::MatchRelativePath | Flags::SkipHandlerFilter, {"sub/*"}, {}, created,
         "/w/sub/x", "", true, true, 0},
        {"relative path misses", Flags::MatchRelativePath | Flags::SkipHandlerFilter, {"sub/*"}, {}, created,
         "/w/other/x", "", true, false, 0},
        {"full path matches", Flags::MatchFullPath | Flags::SkipHandlerFilter, {"/w/*"}, {}, created, "/w/x", "", true,
         true, 0},
        {"full path misses", Flags::MatchFullPath | Flags::SkipHandlerFilter, {"x*"}, {}, created, "/w/x", "", true,
         false, 0},
        {"no match flag means the full path", Flags::SkipHandlerFilter, {"/w/*"}, {}, created, "/w/x", "", true, true, 0},
        {"exclude wins", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {}, {"*.tmp"}, created, "/w/a.tmp", "",
         true, false, 0},
        {"exclude misses", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {}, {"*.tmp"}, created, "/w/a.txt", "",
         true, true, 0},
        {"rename passes on its new name", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {"*.txt"}, {}, renamed,
         "/w/a.log", "/w/a.txt", true, true, 0},
        {"rename fails on both names", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {"*.txt"}, {}, renamed,
         "/w/a.log", "/w/b.log", true, false, 0},
        {"new name in a longer directory", Flags::MatchFileNameOnly | Flags::SkipHandlerFilter, {"new.txt"}, {},
         renamed, "/w/old.log", "/w/long/directory/new.txt", true, true, 0},
        {"read errors always pass", Flags::MatchFileNameOnly, {"*.never"}, {}, DelayedNotification::kReadError, "/w",
         "", false, true, 0},
        {"start notices always pass", Flags::MatchFileNameOnly, {"*.never"}, {}, DelayedNotification::kWatchStarted,
         "/w", "", false, true, 0},
        {"stop notices always pass", Flags::MatchFileNameOnly, {"*.never"}, {}, DelayedNotification::kWatchStopped,
         "/w", "", false, true, 0},
    };
    for (const Case& c : cases) {
        HandlerRef<> client;
        client->accept = [&c](int, const std::string&, const std::string&) { return c.handlerAccepts; };
        Dispatcher dispatcher(client.get(), c.flags);
        dispatcher->setRelativePathOffset(3);
        dispatcher->setPatterns(c.include, c.exclude);
        DelayedNotification record;
        record.type = c.type;
        record.path = c.path;
        record.newPath = c.newPath;
        record.relativePathOffset = 3;
        EXPECT_EQ(dispatcher->passesFilter(record), c.passes) << c.what;
        EXPECT_EQ(client->acceptCalls, c.handlerAsked) << c.what;
    }
}

TEST(DelayedDispatchTest, EveryNotificationReachesTheClientOnTheNotificationThread)
{
    HandlerRef<> client;
    {
        Dispatcher dispatcher(client.get(), Flags::MatchFileNameOnly);
        dispatcher->onWatchStarted(0, "/w");
        dispatcher->onCreated("/w/a");
        dispatcher->onModified("/w/a");
        dispatcher->onRenamed("/w/a", "/w/b");
        dispatcher->onDeleted("/w/b");
        dispatcher->onReadError(1022, "/w");
        dispatcher->onWatchStopped("/w");
        // Waited for: the stop notice came last and was delivered before onWatchStopped returned.
        EXPECT_THAT(client->calls(), ElementsAre(Call{"started", "/w"}, Call{"added", "/w/a"}, Call{"modified", "/w/a"},
                                                 Call{"renamed", "/w/a", "/w/b"}, Call{"removed", "/w/b"},
                                                 Call{"read-error", "/w", {}, 1022}, Call{"stopped", "/w"}));
        const unsigned notificationThread = CDelayedNotificationThread::getThreadId();
        EXPECT_NE(notificationThread, 0U);
        EXPECT_NE(notificationThread, s::platform::currentThreadId());
        for (const Call& call : client->calls())
            EXPECT_EQ(call.thread, notificationThread) << call;
    }
}

TEST(DelayedDispatchTest, NoticeFlagsLeaveOutStartAndStop)
{
    HandlerRef<> client;
    Dispatcher dispatcher(client.get(), Flags::NoWatchStartedNotice | Flags::NoWatchStoppedNotice);
    dispatcher->onWatchStarted(0, "/w");
    dispatcher->onCreated("/w/a");
    dispatcher->onWatchStopped("/w");
    dispatcher->waitUntilDispatched();
    EXPECT_THAT(client->calls(), ElementsAre(Call{"added", "/w/a"}));
}

TEST(DelayedDispatchTest, WatchStoppedReturnsOnlyAfterTheClientHasSeenIt)
{
    HandlerRef<> client;
    std::atomic<bool> seen{false};
    client->stopHook = [&seen](const std::string&) {
        std::this_thread::sleep_for(100ms);
        seen = true;
    };
    Dispatcher dispatcher(client.get(), Flags::MatchFileNameOnly);
    dispatcher->onWatchStopped("/w");
    EXPECT_TRUE(seen);
}

class ThrowingHandler : public RecordingHandler {
public:
    void onCreated(const std::string&) override { throw std::runtime_error("client failure"); }
    void onWatchStopped(const std::string&) override { throw 42; }
};

TEST(DelayedDispatchTest, ClientExceptionsAreContained)
{
    HandlerRef<ThrowingHandler> client;
    Dispatcher dispatcher(client.get(), Flags::MatchFileNameOnly);
    testing::internal::CaptureStderr();
    dispatcher->onCreated("/w/a");
    dispatcher->onWatchStopped("/w");
    const std::string errors = testing::internal::GetCapturedStderr();
    dispatcher->onModified("/w/a");
    dispatcher->waitUntilDispatched();
    EXPECT_THAT(client->calls(), ElementsAre(Call{"modified", "/w/a"}));
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_THAT(errors, testing::HasSubstr("/w"));
}

TEST(DelayedDispatchTest, OneNotificationThreadServesEveryCarrierAndEndsWithTheLast)
{
    ASSERT_EQ(CDelayedNotificationThread::getCarrierCount(), 0);
    EXPECT_EQ(CDelayedNotificationThread::getThreadId(), 0U);
    HandlerRef<> client;
    {
        Dispatcher first(client.get(), Flags::MatchFileNameOnly);
        Dispatcher second(client.get(), Flags::MatchFileNameOnly);
        Dispatcher third(client.get(), Flags::MatchFileNameOnly);
        EXPECT_EQ(CDelayedNotificationThread::getCarrierCount(), 3);
        first->onCreated("/1");
        second->onCreated("/2");
        third->onCreated("/3");
        third->waitUntilDispatched();
        const std::vector<Call> calls = client->calls();
        ASSERT_EQ(calls.size(), 3U);
        for (const Call& call : calls)
            EXPECT_EQ(call.thread, calls[0].thread);
    }
    EXPECT_EQ(CDelayedNotificationThread::getCarrierCount(), 0);
    EXPECT_EQ(CDelayedNotificationThread::getThreadId(), 0U);
    client->clear();
    {
        Dispatcher again(client.get(), Flags::MatchFileNameOnly);
        again->onCreated("/4");
        again->waitUntilDispatched();
        EXPECT_NE(CDelayedNotificationThread::getThreadId(), 0U);
        EXPECT_THAT(client->calls(), ElementsAre(Call{"added", "/4"}));
    }
}

TEST(DelayedDispatchTest, HeldWakeUpsStillDeliverEverything)
{
    HandlerRef<> client;
    Dispatcher dispatcher(client.get(), Flags::MatchFileNameOnly);
    dispatcher->holdWakeUps();
    for (int i = 0; i < 1000; ++i)
        dispatcher->onCreated("/w/" + std::to_string(i));
    dispatcher->releaseWakeUps();
    EXPECT_TRUE(client->waitForCount(1000));
    const std::vector<Call> calls = client->calls();
    ASSERT_EQ(calls.size(), 1000U);
    EXPECT_EQ(calls.back().path, "/w/999");
}

}  // namespace
