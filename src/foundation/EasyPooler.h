#pragma once

#include "foundation/IDestructor.h"
#include "foundation/IGenerator.h"
#include "foundation/IObject.h"
#include "foundation/ObjLocker.h"

#include <cstddef>
#include <vector>

namespace s::thread {

// A pool driven by three plain functions. Kept objects form a stack: the most recently given
// back is handed out first. Given-back objects beyond the capacity are destroyed at once.
class EasyPooler final : public base::IObject, public base::IGenerator, public base::IDestructor {
public:
    using CreateFunction = void* (*)();
    using DestroyFunction = void (*)(void*);
    using ResetFunction = void (*)(void*);

    EasyPooler(int capacity, CreateFunction create, DestroyFunction destroy, ResetFunction reset);
    // Destroys every kept object; objects that are out are not tracked.
    ~EasyPooler() override;
    EasyPooler(const EasyPooler&) = delete;
    EasyPooler& operator=(const EasyPooler&) = delete;

    // A kept object, or a new one made outside the lock.
    void* take();
    // Resets and keeps the object while fewer than the capacity are kept, else destroys it.
    void giveBack(void* object);

    // Destroys the kept objects and turns the pool into one that keeps nothing, so that objects
    // given back later (at process end, from other threads) are destroyed instead of stranded.
    void close();

    int getCapacity() const;
    std::size_t getKeptCount() const;

    void* generate() override { return take(); }
    void dispose(void*& object) override;

    const char* getClassName() const override { return "s_thread_EasyPooler"; }
    base::IObject* newInstance() const override;

private:
    mutable ObjLocker m_lock;
    std::vector<void*> m_free;
    int m_capacity;
    bool m_closed = false;
    CreateFunction m_create;
    DestroyFunction m_destroy;
    ResetFunction m_reset;
};

}  // namespace s::thread
