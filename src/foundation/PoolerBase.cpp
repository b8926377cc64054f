#include "foundation/PoolerBase.h"

#include <cassert>
#include <mutex>

namespace s::thread {

PoolerBase::PoolerBase(int capacity) : m_capacity(capacity < 0 ? 0 : capacity)
{
}

PoolerBase::~PoolerBase()
{
    assert(m_free.empty() && "subclass destructor must call destroyKept()");
}

int PoolerBase::sizeOf(void*) const
{
    return kDefaultLargestSize;
}

void PoolerBase::giveBack(void* object, int size)
{
    if (object == nullptr)
        return;
    bool destroy = false;
    {
        std::lock_guard guard(m_lock);
        if (m_sizeBudgetMode && size == -1)
            size = sizeOf(object);
        destroy = static_cast<int>(m_free.size()) > m_capacity;
        if (m_sizeBudgetMode && !destroy)
            destroy = size > m_largestSize || m_currentTotal + size > m_sizeBudget;
        if (!destroy) {
            resetObject(object);
            m_free.push_back(object);
            if (m_sizeBudgetMode)
                m_currentTotal += size;
        }
    }
    if (destroy)
        destroyObject(object);
}

void* PoolerBase::take()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_free.empty()) {
            void* object = m_free.back();
            m_free.pop_back();
            if (m_sizeBudgetMode)
                m_currentTotal -= sizeOf(object);
            return object;
        }
    }
    return generate();
}

void PoolerBase::dispose(void*& object)
{
    giveBack(object, -1);
    object = nullptr;
}

void PoolerBase::setSizeBudgetMode(bool on, int largestSize, int sizeBudget)
{
    std::lock_guard guard(m_lock);
    m_sizeBudgetMode = on;
    m_largestSize = largestSize;
    m_sizeBudget = sizeBudget;
}

std::size_t PoolerBase::getKeptCount() const
{
    std::lock_guard guard(m_lock);
    return m_free.size();
}

int PoolerBase::getCurrentTotalSize() const
{
    std::lock_guard guard(m_lock);
    return m_currentTotal;
}

void PoolerBase::destroyKept()
{
    std::vector<void*> kept;
    {
        std::lock_guard guard(m_lock);
        kept.swap(m_free);
        m_currentTotal = 0;
    }
    for (void* object : kept)
        destroyObject(object);
}

}  // namespace s::thread
