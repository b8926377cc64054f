#include "foundation/Cleaners.h"
#include "foundation/ObjLocker.h"
#include "foundation/PoolerBase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

namespace {

class CountingFactory final : public s::thread::Factory {
public:
    using Factory::Factory;
    ~CountingFactory() override { destroyKept(); }

    void* generate() override
    {
        ++created;
        return new int(0);
    }
    void resetObject(void* object) override
    {
        ++resets;
        *static_cast<int*>(object) = 0;
    }
    void destroyObject(void*& object) override
    {
        ++destroyed;
        delete static_cast<int*>(object);
        object = nullptr;
    }
    int sizeOf(void*) const override { return 16; }
    s::base::IObject* newInstance() const override { return new CountingFactory(); }

    int created = 0;
    int resets = 0;
    int destroyed = 0;
};

TEST(PoolerBaseTest, KeepsOneMoreThanItsCapacity)
{
    CountingFactory factory;
    std::vector<void*> objects;
    for (int i = 0; i < 1002; ++i)
        objects.push_back(factory.take());
    for (void* object : objects)
        factory.giveBack(object, -1);
    EXPECT_EQ(factory.getKeptCount(), 1001u);
    EXPECT_EQ(factory.destroyed, 1);
    EXPECT_EQ(factory.resets, 1001);
}

TEST(PoolerBaseTest, TakeReturnsTheLastGivenBackThenGenerates)
{
    CountingFactory factory(1);
    void* a = factory.take();
    void* b = factory.take();
    factory.giveBack(a, -1);
    factory.giveBack(b, -1);  // one over capacity is still kept
    EXPECT_EQ(factory.take(), b);
    EXPECT_EQ(factory.take(), a);
    void* c = factory.take();
    EXPECT_EQ(factory.created, 3);
    factory.dispose(a);
    EXPECT_EQ(a, nullptr);
    void* none = nullptr;
    factory.dispose(none);
    factory.giveBack(b, -1);
    factory.giveBack(c, -1);
    EXPECT_EQ(factory.destroyed, 1);
    EXPECT_STREQ(factory.getClassName(), "s_thread_Factory");
}

TEST(PoolerBaseTest, SizeBudgetBoundsEachObjectAndTheTotal)
{
    CountingFactory factory;
    factory.setSizeBudgetMode(true, 16, 40);
    void* a = factory.take();
    void* b = factory.take();
    void* c = factory.take();
    void* big = factory.take();
    factory.giveBack(big, 17);  // larger than the largest size
    EXPECT_EQ(factory.destroyed, 1);
    factory.giveBack(a, -1);  // sizeOf gives 16
    factory.giveBack(b, 16);
    EXPECT_EQ(factory.getCurrentTotalSize(), 32);
    factory.giveBack(c, -1);  // 48 would pass the budget of 40
    EXPECT_EQ(factory.destroyed, 2);
    void* again = factory.take();
    EXPECT_EQ(factory.getCurrentTotalSize(), 16);
    factory.giveBack(again, -1);
}

TEST(CleanersTest, EachDisposesItsKindAndClearsThePointer)
{
    static int destructed;
    destructed = 0;
    struct Thing final : s::base::IObject {
        ~Thing() override { ++destructed; }
        const char* getClassName() const override { return "test_Thing"; }
        s::base::IObject* newInstance() const override { return new Thing(); }
    };
    void* thing = static_cast<s::base::IObject*>(new Thing());
    s::cleaner::CleanerIObject::instance().dispose(thing);
    EXPECT_EQ(thing, nullptr);
    EXPECT_EQ(destructed, 1);

    void* block = std::malloc(64);
    s::cleaner::CleanerRaw::instance().dispose(block);
    EXPECT_EQ(block, nullptr);

    void* raw = ::operator new(32);
    s::cleaner::CleanerRawObject::instance().dispose(raw);
    EXPECT_EQ(raw, nullptr);

    void* nothing = nullptr;
    s::cleaner::CleanerRaw::instance().dispose(nothing);
    EXPECT_EQ(nothing, nullptr);
}

int g_freed = 0;
void countingFree(void* object)
{
    ++g_freed;
    std::free(object);
}

TEST(ObjLockerTest, DisposesItsObjectByFreeFunctionThenDisposerThenDelete)
{
    g_freed = 0;
    {
        s::thread::ObjLocker locker;
        locker.own(std::malloc(8), countingFree, &s::cleaner::CleanerIObject::instance());
    }
    EXPECT_EQ(g_freed, 1);
    {
        s::thread::ObjLocker locker;
        locker.own(std::malloc(8), nullptr, &s::cleaner::CleanerRaw::instance());
    }
    {
        s::thread::ObjLocker locker;
        locker.own(static_cast<s::base::IObject*>(new s::thread::ObjLocker()));
        std::lock_guard guard(locker);
        std::lock_guard again(locker);  // re-entrant, as a critical section
    }
}

}  // namespace
