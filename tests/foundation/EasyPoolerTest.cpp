#include "foundation/ClassPool.h"
#include "foundation/EasyPooler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// A plain record whose life is counted by the test's create, destroy and reset functions.
struct Record {
    int value = 0;
    bool wasReset = false;
};

int g_created = 0;
int g_destroyed = 0;
int g_resets = 0;

void* createRecord()
{
    ++g_created;
    return new Record();
}

void destroyRecord(void* object)
{
    ++g_destroyed;
    delete static_cast<Record*>(object);
}

void resetRecord(void* object)
{
    ++g_resets;
    static_cast<Record*>(object)->wasReset = true;
}

class EasyPoolerTest : public ::testing::Test {
protected:
    void SetUp() override { g_created = g_destroyed = g_resets = 0; }
};

TEST_F(EasyPoolerTest, CapacityZeroDestroysEveryGivenBackObject)
{
    s::thread::EasyPooler pool(0, createRecord, destroyRecord, resetRecord);
    void* first = pool.take();
    void* second = pool.take();
    EXPECT_EQ(g_created, 2);
    pool.giveBack(first);
    pool.giveBack(second);
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(g_resets, 0);
    EXPECT_EQ(pool.getKeptCount(), 0u);
    pool.giveBack(pool.take());
    EXPECT_EQ(g_created, 3);
}

TEST_F(EasyPoolerTest, KeepsUpToCapacityAndHandsOutTheLastGivenBackFirst)
{
    s::thread::EasyPooler pool(2, createRecord, destroyRecord, resetRecord);
    auto* a = static_cast<Record*>(pool.take());
    auto* b = static_cast<Record*>(pool.take());
    auto* c = static_cast<Record*>(pool.take());
    pool.giveBack(a);
    pool.giveBack(b);
    pool.giveBack(c);
    EXPECT_EQ(pool.getKeptCount(), 2u);
    EXPECT_EQ(g_resets, 2);
    EXPECT_EQ(g_destroyed, 1);  // c: the pool was full

    EXPECT_EQ(pool.take(), b);
    EXPECT_TRUE(b->wasReset);
    EXPECT_EQ(pool.take(), a);
    EXPECT_EQ(g_created, 3);
    void* fresh = pool.take();
    EXPECT_EQ(g_created, 4);
    pool.giveBack(a);
    pool.giveBack(b);
    pool.giveBack(fresh);
}

TEST_F(EasyPoolerTest, DisposeGivesBackAndClearsAndIgnoresNull)
{
    s::thread::EasyPooler pool(5, createRecord, destroyRecord, resetRecord);
    void* nothing = nullptr;
    pool.dispose(nothing);
    EXPECT_EQ(pool.getKeptCount(), 0u);
    EXPECT_EQ(g_resets, 0);

    Record* record = static_cast<Record*>(pool.take());
    pool.disposeOf(record);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(pool.getKeptCount(), 1u);
}

TEST_F(EasyPoolerTest, DestructionDestroysExactlyTheKeptObjects)
{
    Record* out = nullptr;
    {
        s::thread::EasyPooler pool(10, createRecord, destroyRecord, resetRecord);
        void* kept1 = pool.take();
        void* kept2 = pool.take();
        out = static_cast<Record*>(pool.take());
        pool.giveBack(kept1);
        pool.giveBack(kept2);
    }
    EXPECT_EQ(g_destroyed, 2);
    delete out;
}

TEST_F(EasyPoolerTest, ClosedPoolDestroysLateGiveBacks)
{
    s::thread::EasyPooler pool(10, createRecord, destroyRecord, resetRecord);
    void* late = pool.take();
    pool.giveBack(pool.take());
    pool.close();
    EXPECT_EQ(g_destroyed, 1);
    pool.giveBack(late);
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(pool.getKeptCount(), 0u);
}

TEST_F(EasyPoolerTest, NewInstanceHasTheSameCapacityAndFunctions)
{
    s::thread::EasyPooler pool(3, createRecord, destroyRecord, resetRecord);
    auto* copy = static_cast<s::thread::EasyPooler*>(pool.newInstance());
    EXPECT_EQ(copy->getCapacity(), 3);
    EXPECT_STREQ(copy->getClassName(), "s_thread_EasyPooler");
    copy->giveBack(copy->take());
    EXPECT_EQ(g_created, 1);
    EXPECT_EQ(g_resets, 1);
    delete copy;
    EXPECT_EQ(g_destroyed, 1);
}

// A class pool whose reset gives back other objects of the same class, as a box holding boxes.
struct Nest {
    static constexpr int kPoolCapacity = 2;
    std::vector<Nest*> children;
    void reset()
    {
        for (Nest* child : children)
            s::thread::giveBack(child);
        children.clear();
    }
    ~Nest() { reset(); }
};

TEST(ClassPoolTest, NestedGiveBackNeverExceedsCapacity)
{
    Nest* root = s::thread::take<Nest>();
    for (int i = 0; i < 3; ++i)
        root->children.push_back(s::thread::take<Nest>());
    s::thread::giveBack(root);
    EXPECT_EQ(s::thread::poolOf<Nest>().getKeptCount(), 2u);
}

struct Counted {
    static constexpr int kPoolCapacity = 1000;
    static std::atomic<int> live;
    Counted() { ++live; }
    ~Counted() { --live; }
    void reset() {}
};
std::atomic<int> Counted::live{0};

TEST(ClassPoolTest, ConcurrentTakersAndGiversShareOnePool)
{
    auto& pool = s::thread::poolOf<Counted>();
    const long outsideBefore = Counted::live - static_cast<long>(pool.getKeptCount());
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([] {
            std::vector<Counted*> held;
            for (int round = 0; round < 2000; ++round) {
                held.push_back(s::thread::take<Counted>());
                if (held.size() > 20) {
                    for (Counted* object : held)
                        s::thread::giveBack(object);
                    held.clear();
                }
            }
            for (Counted* object : held)
                s::thread::giveBack(object);
        });
    }
    for (auto& worker : workers)
        worker.join();
    // Every object made is either kept or was out before: nothing leaked, nothing lost.
    EXPECT_EQ(Counted::live - static_cast<long>(pool.getKeptCount()), outsideBefore);
    EXPECT_LE(pool.getKeptCount(), 1000u);
}

// Objects given back after the pools were closed at process end must be destroyed, not kept in
// a dead pool. The static below is constructed before the pool exists, so it is destroyed after
// the pool was closed; ASan reports a use-after-free if the pool were really gone.
struct LateReturner {
    Counted* held = nullptr;
    ~LateReturner()
    {
        if (held != nullptr)
            s::thread::giveBack(held);
    }
};
LateReturner g_lateReturner;

TEST(ClassPoolTest, ObjectHeldPastProcessEndIsGivenBackSafely)
{
    g_lateReturner.held = s::thread::take<Counted>();
    SUCCEED();
}

}  // namespace
