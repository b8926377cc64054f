#include "foundation/EasyPooler.h"

#include <mutex>
#include <utility>

namespace s::thread {

EasyPooler::EasyPooler(int capacity, CreateFunction create, DestroyFunction destroy, ResetFunction reset)
    : m_capacity(capacity < 0 ? 0 : capacity), m_create(create), m_destroy(destroy), m_reset(reset)
{
}

EasyPooler::~EasyPooler()
{
    close();
}

void* EasyPooler::take()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_free.empty()) {
            void* object = m_free.back();
            m_free.pop_back();
            return object;
        }
    }
    return m_create();
}

void EasyPooler::giveBack(void* object)
{
    if (object == nullptr)
        return;
    {
        std::lock_guard guard(m_lock);
        if (!m_closed && static_cast<int>(m_free.size()) < m_capacity) {
            m_reset(object);
            // A reset may give back objects of the same class (a box holding boxes); the count is
            // checked again so that the pool never holds more than its capacity.
            if (static_cast<int>(m_free.size()) < m_capacity) {
                m_free.push_back(object);
                return;
            }
        }
    }
    m_destroy(object);
}

void EasyPooler::close()
{
    std::vector<void*> kept;
    {
        std::lock_guard guard(m_lock);
        kept.swap(m_free);
        m_closed = true;
    }
    for (void* object : kept)
        m_destroy(object);
}

int EasyPooler::getCapacity() const
{
    std::lock_guard guard(m_lock);
    return m_capacity;
}

std::size_t EasyPooler::getKeptCount() const
{
    std::lock_guard guard(m_lock);
    return m_free.size();
}

void EasyPooler::dispose(void*& object)
{
    if (object == nullptr)
        return;
    giveBack(object);
    object = nullptr;
}

base::IObject* EasyPooler::newInstance() const
{
    return new EasyPooler(getCapacity(), m_create, m_destroy, m_reset);
}

}  // namespace s::thread
