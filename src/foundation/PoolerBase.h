#pragma once

#include "foundation/IDestructor.h"
#include "foundation/IGenerator.h"
#include "foundation/IObject.h"
#include "foundation/ObjLocker.h"

#include <cstddef>
#include <vector>

namespace s::thread {

// A pool whose allocation, reset and destruction are virtual operations of a subclass.
// The capacity test is "more than capacity kept" before keeping, so up to capacity + 1 objects
// are kept. An optional size-budget mode also bounds each object's size and the total.
// A subclass's destructor must call destroyKept(): the base destructor cannot reach the
// subclass's destroyObject any more.
class PoolerBase : public base::IObject, public base::IGenerator, public base::IDestructor {
public:
    static constexpr int kDefaultCapacity = 1000;
    static constexpr int kDefaultLargestSize = 1024;
    static constexpr int kDefaultSizeBudget = 102400;

    explicit PoolerBase(int capacity = kDefaultCapacity);
    ~PoolerBase() override;
    PoolerBase(const PoolerBase&) = delete;
    PoolerBase& operator=(const PoolerBase&) = delete;

    virtual int sizeOf(void* object) const;
    // size -1 means "ask sizeOf" in size-budget mode.
    virtual void giveBack(void* object, int size);
    virtual void* take();
    virtual void resetObject(void* object) = 0;
    virtual void destroyObject(void*& object) = 0;

    void dispose(void*& object) override;

    void setSizeBudgetMode(bool on, int largestSize = kDefaultLargestSize, int sizeBudget = kDefaultSizeBudget);
    std::size_t getKeptCount() const;
    int getCurrentTotalSize() const;

    const char* getClassName() const override { return "s_thread_PoolerBase"; }

protected:
    void destroyKept();

private:
    mutable ObjLocker m_lock;
    std::vector<void*> m_free;
    int m_capacity;
    int m_largestSize = kDefaultLargestSize;
    int m_sizeBudget = kDefaultSizeBudget;
    int m_currentTotal = 0;
    bool m_sizeBudgetMode = false;
};

// The concrete base of factories; it adds only its identity.
class Factory : public PoolerBase {
public:
    using PoolerBase::PoolerBase;
    const char* getClassName() const override { return "s_thread_Factory"; }
};

}  // namespace s::thread
