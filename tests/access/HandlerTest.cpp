#include "access/Handler.h"
#include "changelog/ChangeLog.h"
#include "changelog/ChangeLogTestSupport.h"
#include "changelog/PendingChanges.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;
using K = fa::ChangeKind;

// A handler as the watch set-up makes it, released when the test ends.
struct HandlerScope {
    explicit HandlerScope(fa::PendingChanges& pending) : handler(s::thread::take<fa::Handler>())
    {
        handler->setPending(&pending);
    }
    ~HandlerScope() { handler->recycle(); }
    fa::Handler* handler;
};

std::vector<std::pair<K, std::string>> queued(fa::PendingChanges& pending)
{
    std::lock_guard hold(pending.lock);
    std::vector<std::pair<K, std::string>> records;
    for (const fa::Change* change : pending.queue)
        records.emplace_back(change->getKind(), change->getFullPath());
    return records;
}

TEST(Handler, EveryNotificationBecomesRecordsOfItsKind)
{
    fa::PendingChanges pending;
    HandlerScope scope(pending);
    fa::Handler& handler = *scope.handler;
    handler.onCreated("/nowhere/a");
    handler.onModified("/nowhere/a");
    handler.onRenamed("/nowhere/a", "/nowhere/b");
    handler.onDeleted("/nowhere/b");
    handler.onReadError(1022, "/nowhere");
    handler.onWatchStarted(0, "/nowhere");
    handler.onWatchStopped("/nowhere");
    const std::vector<std::pair<K, std::string>> expected = {
        {K::Created, "/nowhere/a"},     {K::Written, "/nowhere/a"}, {K::RenamedFrom, "/nowhere/a"},
        {K::RenamedTo, "/nowhere/b"}, {K::Deleted, "/nowhere/b"},
    };
    EXPECT_EQ(queued(pending), expected);
}

TEST(Handler, WithoutAQueueNothingIsRecorded)
{
    fa::PendingChanges pending;
    HandlerScope scope(pending);
    scope.handler->reset();
    scope.handler->onCreated("/nowhere/a");
    scope.handler->onRenamed("/nowhere/a", "/nowhere/b");
    EXPECT_TRUE(queued(pending).empty());
}

TEST(Handler, RenameHalvesStayAdjacentWhileOtherHandlersAppend)
{
    fa::PendingChanges pending;
    HandlerScope renamer(pending);
    HandlerScope first(pending);
    HandlerScope second(pending);
    std::atomic<bool> go{false};
    const auto create = [&go](fa::Handler* handler, const char* prefix) {
        while (!go) {
        }
        for (int i = 0; i < 3000; ++i)
            handler->onCreated(std::string(prefix) + std::to_string(i));
    };
    std::thread a(create, first.handler, "/x/a");
    std::thread b(create, second.handler, "/x/b");
    go = true;
    for (int i = 0; i < 1500; ++i)
        renamer.handler->onRenamed("/x/old" + std::to_string(i), "/x/new" + std::to_string(i));
    a.join();
    b.join();

    const auto records = queued(pending);
    ASSERT_EQ(records.size(), 9000u);
    int pairs = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].first != K::RenamedFrom)
            continue;
        ASSERT_LT(i + 1, records.size());
        EXPECT_EQ(records[i + 1].first, K::RenamedTo);
        EXPECT_EQ(records[i + 1].second, "/x/new" + records[i].second.substr(6));
        ++pairs;
    }
    EXPECT_EQ(pairs, 1500);
}

TEST(Handler, BurstOfAHundredThousandNoticesInOneCycleStaysBounded)
{
    struct Case {
        const char* what;
        bool samePath;
        std::uint64_t logged;
        std::uint64_t merged;
        std::size_t kept;
    };
    const Case cases[] = {
        {"distinct paths", false, 100000, 0, 1999},
        {"one path again and again", true, 1, 99999, 1},
    };
    for (const Case& c : cases) {
        fa::PendingChanges pending;
        fa::ChangeFilters filters({"/"});
        changelog_test::FakeList list;
        fa::ChangeLog log(pending, filters, list);
        {
            HandlerScope scope(pending);
            for (int i = 0; i < 100000; ++i)
                scope.handler->onModified(c.samePath ? std::string("/nowhere/same") : "/nowhere/f" + std::to_string(i));
        }
        log.runCycle();
        EXPECT_EQ(log.getCounts().logged, c.logged) << c.what;
        EXPECT_EQ(log.getCounts().batches.merged, c.merged) << c.what;
        EXPECT_EQ(log.size(), c.kept) << c.what;
        EXPECT_EQ(list.listed.size(), c.kept) << c.what;
        EXPECT_EQ(static_cast<std::size_t>(list.rowsMade - list.rowsGivenBack), c.kept)
            << c.what << ": records beyond the limit are given back in the same cycle";
        EXPECT_EQ(log.at(0).getSize(), 0) << "a file gone before it was examined has size 0";
    }
}

}  // namespace
