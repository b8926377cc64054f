#pragma once

#include "foundation/IDestructor.h"
#include "foundation/IObject.h"

#include <mutex>

namespace s::thread {

// A re-entrant lock that may own one object, disposed of when the locker is destroyed.
// Satisfies the standard Lockable requirements, so std::lock_guard and std::unique_lock work.
class ObjLocker final : public base::IObject {
public:
    using FreeFunction = void (*)(void*);

    ObjLocker() = default;
    ~ObjLocker() override;
    ObjLocker(const ObjLocker&) = delete;
    ObjLocker& operator=(const ObjLocker&) = delete;

    // The owned object is disposed of by the free function if set, else by the disposer if set,
    // else by deleting it as a base::IObject.
    void own(void* object, FreeFunction freeFunction = nullptr, base::IDestructor* disposer = nullptr);

    void lock() { m_section.lock(); }
    bool try_lock() { return m_section.try_lock(); }
    void unlock() { m_section.unlock(); }

    const char* getClassName() const override { return "s_thread_ObjLocker"; }
    base::IObject* newInstance() const override { return new ObjLocker(); }

private:
    void* m_owned = nullptr;
    FreeFunction m_freeFunction = nullptr;
    base::IDestructor* m_disposer = nullptr;
    std::recursive_mutex m_section;
};

}  // namespace s::thread
