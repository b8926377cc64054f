#include "ChangeLogTestSupport.h"
#include "changelog/ChangeBatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace changelog_test;
using K = fa::ChangeKind;

struct Notice {
    K kind;
    std::string path;
    bool directory = false;
};

struct Outcome {
    // Indexes of the notices whose records make up the batch, in order.
    std::vector<int> kept;
    fa::BatchCounts counts;
};

// Queues one record per notice, numbered by its time, and moves the queue into a batch.
Outcome moveNotices(const std::vector<Notice>& notices)
{
    std::vector<fa::Change*> queue;
    for (std::size_t i = 0; i < notices.size(); ++i) {
        fa::Change* change = recordOf(notices[i].kind, notices[i].path, notices[i].directory);
        change->setTime(static_cast<std::int64_t>(i));
        queue.push_back(change);
    }
    Outcome outcome;
    std::vector<fa::Change*> batch;
    fa::moveQueueToBatch(queue, false, batch, outcome.counts);
    EXPECT_TRUE(queue.empty());
    for (fa::Change* change : batch) {
        outcome.kept.push_back(static_cast<int>(change->getTime()));
        change->recycle();
    }
    return outcome;
}

TEST(MoveQueueToBatch, MergesRepeatsAndDropsDirectoryWrites)
{
    struct Case {
        const char* what;
        std::vector<Notice> notices;
        std::vector<int> kept;
        std::uint64_t merged;
        std::uint64_t directoryWrites;
    };
    const Case cases[] = {
        {"same path twice keeps the newer", {{K::Written, "/a/f"}, {K::Written, "/a/f"}}, {1}, 1, 0},
        {"a run of three keeps the newest", {{K::Written, "/a/f"}, {K::Written, "/a/f"}, {K::Written, "/a/f"}}, {2}, 2, 0},
        {"another notice between keeps both",
         {{K::Written, "/a/f"}, {K::Written, "/a/g"}, {K::Written, "/a/f"}},
         {0, 1, 2},
         0,
         0},
        {"another kind between keeps both",
         {{K::Written, "/a/f"}, {K::Deleted, "/a/f"}, {K::Written, "/a/f"}},
         {0, 1, 2},
         0,
         0},
        {"a directory write is dropped", {{K::Created, "/a/d", true}, {K::Written, "/a/d", true}}, {0}, 0, 1},
        {"a dropped directory write does not part a run",
         {{K::Written, "/a/f"}, {K::Written, "/a", true}, {K::Written, "/a/f"}},
         {2},
         1,
         1},
        {"paths that differ in case are different files", {{K::Written, "/a/F"}, {K::Written, "/a/f"}}, {0, 1}, 0, 0},
        {"paths are compared whole", {{K::Written, "/a/f"}, {K::Written, "/a/f2"}}, {0, 1}, 0, 0},
        {"created directory and written file stay", {{K::Created, "/a/d", true}, {K::Written, "/a/d"}}, {0, 1}, 0, 0},
        {"both halves of a rename stay",
         {{K::RenamedFrom, "/a/f"}, {K::RenamedTo, "/a/f"}, {K::RenamedFrom, "/a/f"}},
         {0, 1, 2},
         0,
         0},
    };
    for (const Case& c : cases) {
        const Outcome outcome = moveNotices(c.notices);
        EXPECT_EQ(outcome.kept, c.kept) << c.what;
        EXPECT_EQ(outcome.counts.merged, c.merged) << c.what;
        EXPECT_EQ(outcome.counts.directoryWrites, c.directoryWrites) << c.what;
        EXPECT_EQ(outcome.counts.discarded, 0u) << c.what;
    }
}

TEST(MoveQueueToBatch, RecordsThatAreNotKeptAreGivenBackWithTheirRows)
{
    FakeList list;
    std::vector<fa::Change*> queue;
    const Notice notices[] = {{K::Written, "/a/f"}, {K::Written, "/a/f"}, {K::Written, "/a", true}, {K::Created, "/a/g"}};
    for (const Notice& notice : notices) {
        fa::Change* change = recordOf(notice.kind, notice.path, notice.directory);
        change->setRow(list.makeRow(*change));
        queue.push_back(change);
    }
    std::vector<fa::Change*> batch;
    fa::BatchCounts counts;
    fa::moveQueueToBatch(queue, false, batch, counts);
    EXPECT_EQ(list.rowsGivenBack, 2);
    ASSERT_EQ(batch.size(), 2u);
    EXPECT_EQ(batch[0]->getFullPath(), "/a/f");
    EXPECT_EQ(batch[1]->getFullPath(), "/a/g");
    for (fa::Change* change : batch)
        change->recycle();
    EXPECT_EQ(list.rowsGivenBack, 4);
}

TEST(MoveQueueToBatch, PausedGivesEverythingBack)
{
    FakeList list;
    std::vector<fa::Change*> queue;
    for (int i = 0; i < 5; ++i) {
        fa::Change* change = recordOf(K::Created, "/p/" + std::to_string(i));
        change->setRow(list.makeRow(*change));
        queue.push_back(change);
    }
    std::vector<fa::Change*> batch;
    fa::BatchCounts counts;
    fa::moveQueueToBatch(queue, true, batch, counts);
    EXPECT_TRUE(batch.empty());
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(list.rowsGivenBack, 5);
    EXPECT_EQ(counts.discarded, 5u);
}

}  // namespace
