#pragma once

#include <memory>

namespace s::thread {

// Implemented by pooled objects.
class IPoolable {
public:
    // Gives the object back to its class's pool; the caller must not use it afterwards.
    virtual void recycle() = 0;
    // Restores the fresh state; called by the pool before it keeps the object.
    virtual void reset() = 0;

protected:
    ~IPoolable() = default;
};

// Deleter that gives a pooled object back instead of deleting it.
struct Recycle {
    void operator()(IPoolable* object) const
    {
        if (object != nullptr)
            object->recycle();
    }
};

// Owning pointer to a pooled object: the object goes back to its pool when the pointer lets go.
template <class T>
using PooledPtr = std::unique_ptr<T, Recycle>;

}  // namespace s::thread
