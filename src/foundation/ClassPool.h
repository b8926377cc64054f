#pragma once

#include "foundation/EasyPooler.h"

namespace s::thread {

// Makes a process-wide pool. Such pools are never freed, so a give-back can never touch a
// destroyed pool; at process end they are closed (kept objects destroyed, later give-backs
// destroyed at once), in the reverse order of their creation.
EasyPooler& makeClassPool(int capacity, EasyPooler::CreateFunction create, EasyPooler::DestroyFunction destroy,
                          EasyPooler::ResetFunction reset);

// The pool of class T, created on first use with T::kPoolCapacity. T is default-constructible
// and has reset(); objects travel through the pool as T*.
template <class T>
EasyPooler& poolOf()
{
    static EasyPooler& pool = makeClassPool(
        T::kPoolCapacity, []() -> void* { return new T(); }, [](void* object) { delete static_cast<T*>(object); },
        [](void* object) { static_cast<T*>(object)->reset(); });
    return pool;
}

template <class T>
T* take()
{
    return static_cast<T*>(poolOf<T>().take());
}

template <class T>
void giveBack(T* object)
{
    poolOf<T>().giveBack(object);
}

}  // namespace s::thread
