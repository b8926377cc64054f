#include "access/WatchSetup.h"
#include "changelog/Change.h"
#include "changelog/PendingChanges.h"
#include "monitor/CDirectoryChangeWatcher.h"
#include "platform/ErrorCodes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;
using K = fa::ChangeKind;
using Record = std::pair<K, std::string>;

// Waits (up to ten seconds) until every expected record is queued; the queue's records then.
std::vector<Record> waitForRecords(fa::PendingChanges& pending, const std::vector<Record>& expected)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        std::vector<Record> records;
        {
            std::lock_guard hold(pending.lock);
            for (const fa::Change* change : pending.queue)
                records.emplace_back(change->getKind(), change->getFullPath());
        }
        const bool all = std::all_of(expected.begin(), expected.end(), [&](const Record& record) {
            return std::find(records.begin(), records.end(), record) != records.end();
        });
        if (all || std::chrono::steady_clock::now() > deadline)
            return records;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TEST(WatchRoots, EachRootGetsItsHandlerAndFailuresTheirReason)
{
    s::testing::TempFolder first;
    s::testing::TempFolder second;
    s::testing::writeWhole(first.file("plain-file"), "x");
    fa::PendingChanges pending;
    CDirectoryChangeWatcher watcher;
    const std::vector<std::string> roots = {first.path().string(), second.path().string(), first.file("missing"),
                                            first.file("plain-file")};
    const std::vector<fa::WatchOutcome> outcomes = fa::watchRoots(watcher, roots, pending);
    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_EQ(outcomes[0].error, 0);
    EXPECT_EQ(outcomes[1].error, 0);
    EXPECT_FALSE(outcomes[0].backend.empty());
    EXPECT_EQ(fa::watchErrorText(outcomes[2].error), "no such directory");
    EXPECT_EQ(fa::watchErrorText(outcomes[3].error), "not a directory");
    for (std::size_t i = 2; i < 4; ++i) {
        EXPECT_EQ(outcomes[i].root, roots[i]);
        EXPECT_NE(outcomes[i].error, 0);
        EXPECT_TRUE(outcomes[i].backend.empty());
    }

    s::testing::writeWhole(first.file("made.txt"), "12345");
    s::testing::writeWhole(second.file("old.txt"), "1");
    std::filesystem::rename(second.file("old.txt"), second.file("new.txt"));
    const std::vector<Record> records = waitForRecords(
        pending, {{K::Created, first.file("made.txt")}, {K::RenamedFrom, second.file("old.txt")},
                  {K::RenamedTo, second.file("new.txt")}});
    const auto from = std::find(records.begin(), records.end(), Record{K::RenamedFrom, second.file("old.txt")});
    ASSERT_NE(from, records.end());
    ASSERT_NE(from + 1, records.end());
    EXPECT_EQ(from[1], (Record{K::RenamedTo, second.file("new.txt")}));
    EXPECT_NE(std::find(records.begin(), records.end(), Record{K::Created, first.file("made.txt")}), records.end());
    watcher.removeAllWatches();
}

}  // namespace
