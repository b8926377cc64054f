#include "ChangeLogTestSupport.h"
#include "changelog/ChangeLog.h"
#include "changelog/PendingChanges.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace changelog_test;
using K = fa::ChangeKind;
using Calls = std::vector<std::string>;
using Paths = std::vector<std::string>;

class ChangeLogCycle : public ::testing::Test {
protected:
    explicit ChangeLogCycle(std::vector<std::string> roots = {"/", "/home"}) : m_filters(std::move(roots)) {}

    void SetUp() override { m_log = std::make_unique<fa::ChangeLog>(m_pending, m_filters, m_list); }

    void queue(K kind, const std::string& path)
    {
        std::lock_guard hold(m_pending.lock);
        m_pending.queue.push_back(recordOf(kind, path));
    }
    void queueCreated(const Paths& paths)
    {
        for (const std::string& path : paths)
            queue(K::Created, path);
    }

    Calls cycle()
    {
        m_list.calls.clear();
        m_log->runCycle();
        return m_list.takeCalls();
    }

    Paths logged() const
    {
        Paths paths;
        for (std::size_t i = 0; i < m_log->size(); ++i)
            paths.push_back(m_log->at(i).getFullPath());
        return paths;
    }

    // Declared in this order so that the log goes first and its rows still find their list.
    fa::PendingChanges m_pending;
    fa::ChangeFilters m_filters;
    FakeList m_list;
    std::unique_ptr<fa::ChangeLog> m_log;
};

TEST_F(ChangeLogCycle, VisibleRecordsAreShownUnderOneHoldAndSortedOnce)
{
    queue(K::Created, "/etc/a");
    queue(K::Written, "/home/u/b");
    EXPECT_EQ(cycle(), (Calls{"hold", "make /etc/a", "add /etc/a", "make /home/u/b", "add /home/u/b", "sort", "release"}));
    EXPECT_EQ(logged(), (Paths{"/etc/a", "/home/u/b"}));
    EXPECT_TRUE(m_log->at(0).isShown());
    EXPECT_EQ(cycle(), Calls{}) << "a cycle without records touches no row";
    EXPECT_EQ(m_log->getCounts().logged, 2u);
    EXPECT_EQ(m_log->getCounts().shown, 2u);
}

TEST_F(ChangeLogCycle, HiddenRecordsAreLoggedWithoutRowsAndCountTowardsTheLimit)
{
    m_filters.setKindFlags({true, true, false, true}, nullptr);
    m_log = std::make_unique<fa::ChangeLog>(m_pending, m_filters, m_list);
    m_log->setLimit(100);
    for (int i = 0; i < 150; ++i)
        queue(K::Written, "/w/" + std::to_string(i));
    EXPECT_EQ(cycle(), Calls{});
    EXPECT_EQ(m_log->size(), 99u);
    EXPECT_EQ(m_log->at(0).getFullPath(), "/w/51");
    EXPECT_EQ(m_list.rowsMade, 0);
}

TEST_F(ChangeLogCycle, LimitKeepsOneFewerRecordThanItsValueAfterEveryCycle)
{
    m_log->setLimit(100);
    int made = 0;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 7; ++i)
            queue(K::Created, "/l/" + std::to_string(made++));
        cycle();
        const std::size_t expected = std::min(made, 99);
        ASSERT_EQ(m_log->size(), expected) << "after round " << round;
        EXPECT_EQ(m_log->at(0).getFullPath(), "/l/" + std::to_string(made - static_cast<int>(expected)));
        EXPECT_EQ(m_list.listed.size(), expected) << "the rows of trimmed records leave the list";
    }
    EXPECT_EQ(m_list.rowsGivenBack, made - 99);

    m_log->setLimit(10);
    EXPECT_EQ(m_log->size(), 99u) << "a lower limit waits for the next cycle";
    cycle();
    EXPECT_EQ(m_log->size(), 9u);
    EXPECT_EQ(m_log->at(8).getFullPath(), "/l/" + std::to_string(made - 1));
}

TEST_F(ChangeLogCycle, LimitsBelowOneKeepNothing)
{
    for (int limit : {1, 0, -5}) {
        m_log->setLimit(limit);
        queueCreated({"/x/a", "/x/b"});
        cycle();
        EXPECT_EQ(m_log->size(), 0u) << "limit " << limit;
        EXPECT_TRUE(m_list.listed.empty());
    }
}

TEST_F(ChangeLogCycle, ClearGivesBackTheLogAndWhatWasPendingAtThatMoment)
{
    queueCreated({"/c/1", "/c/2", "/c/3"});
    cycle();
    queueCreated({"/c/4", "/c/5"});
    m_log->requestClear();
    EXPECT_TRUE(m_log->hasRequests());
    cycle();
    EXPECT_EQ(m_log->size(), 0u);
    EXPECT_TRUE(m_list.listed.empty());
    EXPECT_EQ(m_list.rowsGivenBack, 5);
    EXPECT_FALSE(m_log->isClearRequested());

    queueCreated({"/c/6"});
    cycle();
    EXPECT_EQ(logged(), Paths{"/c/6"});
    EXPECT_EQ(m_list.listedPaths(), Paths{"/c/6"});
}

TEST_F(ChangeLogCycle, PausedDiscardsWhatArrivesAndResumingLogsAgain)
{
    queueCreated({"/p/1"});
    cycle();
    m_log->setPaused(true);
    queueCreated({"/p/2", "/p/3"});
    EXPECT_EQ(cycle(), Calls{});
    EXPECT_EQ(logged(), Paths{"/p/1"});
    EXPECT_EQ(m_log->getCounts().batches.discarded, 2u);
    EXPECT_TRUE(m_pending.queue.empty());

    m_log->setPaused(false);
    queueCreated({"/p/4"});
    cycle();
    EXPECT_EQ(logged(), (Paths{"/p/1", "/p/4"}));
    EXPECT_EQ(m_list.listedPaths(), (Paths{"/p/1", "/p/4"}));
}

TEST_F(ChangeLogCycle, DriveSwitchedOffAndOnRestoresExactlyItsRecordsStillInTheLog)
{
    m_log->setLimit(6);
    queueCreated({"/etc/a", "/home/u/b", "/homework/c", "/home/u/d"});
    cycle();
    ASSERT_EQ(m_list.listed.size(), 4u);

    m_filters.setDriveEnabled(1, false, nullptr);
    EXPECT_TRUE(m_log->hasRequests());
    EXPECT_EQ(cycle(), (Calls{"remove /home/u/b", "remove /home/u/d"})) << "taking rows out holds and sorts nothing";
    EXPECT_EQ(m_list.listedPaths(), (Paths{"/etc/a", "/homework/c"}));

    queueCreated({"/home/u/e"});
    EXPECT_EQ(cycle(), Calls{}) << "a record of a drive that is off is collected, not shown";
    queueCreated({"/etc/f", "/etc/g"});
    cycle();
    EXPECT_EQ(logged(), (Paths{"/homework/c", "/home/u/d", "/home/u/e", "/etc/f", "/etc/g"}));

    m_filters.setDriveEnabled(1, true, nullptr);
    EXPECT_EQ(cycle(), (Calls{"hold", "add /home/u/d", "make /home/u/e", "add /home/u/e", "sort", "release"}));
    EXPECT_EQ(m_list.listedPaths(), (Paths{"/homework/c", "/etc/f", "/etc/g", "/home/u/d", "/home/u/e"}));
}

TEST_F(ChangeLogCycle, KindSwitchedOffAndOnFollowsTheKindAndTheDrives)
{
    queue(K::Created, "/a/1");
    queue(K::Written, "/a/2");
    queue(K::RenamedFrom, "/a/3");
    queue(K::RenamedTo, "/a/4");
    queue(K::Deleted, "/a/5");
    queue(K::Written, "/home/6");
    cycle();

    m_filters.setKindFlags({true, true, true, false}, nullptr);
    EXPECT_EQ(cycle(), (Calls{"remove /a/3", "remove /a/4"})) << "renamed governs both halves";

    m_filters.setDriveEnabled(1, false, nullptr);
    cycle();
    m_filters.setKindFlags({true, true, false, true}, nullptr);
    EXPECT_EQ(cycle(), (Calls{"remove /a/2", "hold", "add /a/3", "add /a/4", "sort", "release"}));

    m_filters.setKindFlags({true, true, true, true}, nullptr);
    EXPECT_EQ(cycle(), (Calls{"hold", "add /a/2", "sort", "release"})) << "/home/6 stays hidden: its drive is off";
    EXPECT_EQ(m_list.listedPaths(), (Paths{"/a/1", "/a/5", "/a/3", "/a/4", "/a/2"}));
}

TEST_F(ChangeLogCycle, EndingTheLogTakesEveryRowOutOfTheList)
{
    queueCreated({"/e/1", "/e/2", "/home/3"});
    cycle();
    m_log.reset();
    EXPECT_TRUE(m_list.listed.empty());
    EXPECT_EQ(m_list.rowsGivenBack, 3);
}

class NestedDriveCycle : public ChangeLogCycle {
protected:
    NestedDriveCycle() : ChangeLogCycle({"/", "/home", "/home/u/data", "/mnt/a b"}) {}
};

TEST_F(NestedDriveCycle, ARecordBelongsToTheLongestMountPointAboveIt)
{
    queueCreated({"/etc/x", "/home/u/f", "/home/u/data/f", "/home/u/database", "/mnt/a b/c", "/mnt/a bc/d"});
    cycle();
    m_filters.setDriveEnabled(2, false, nullptr);
    EXPECT_EQ(cycle(), Calls{"remove /home/u/data/f"});
    m_filters.setDriveEnabled(1, false, nullptr);
    EXPECT_EQ(cycle(), (Calls{"remove /home/u/f", "remove /home/u/database"}));
    m_filters.setDriveEnabled(0, false, nullptr);
    EXPECT_EQ(cycle(), (Calls{"remove /etc/x", "remove /mnt/a bc/d"}));
    EXPECT_EQ(m_list.listedPaths(), Paths{"/mnt/a b/c"});
}

}  // namespace
