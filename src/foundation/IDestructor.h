#pragma once

namespace s::base {

// Disposes of the object a pointer refers to, if any, and clears the pointer.
class IDestructor {
public:
    virtual void dispose(void*& object) = 0;

    // Typed convenience: the pointer must be of the type the disposer was made for.
    template <class T>
    void disposeOf(T*& object)
    {
        void* raw = object;
        dispose(raw);
        object = nullptr;
    }

protected:
    ~IDestructor() = default;
};

}  // namespace s::base
