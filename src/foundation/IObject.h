#pragma once

#include <functional>

namespace s::base {

// Ordering and equality shared by every object of the library. The default order is by identity.
class IComparable {
public:
    virtual ~IComparable() = default;

    // Negative, zero or positive as this object orders before, with or after the other one.
    virtual int compareTo(const IComparable& other) const
    {
        if (this == &other)
            return 0;
        return std::less<const IComparable*>()(this, &other) ? -1 : 1;
    }
    virtual bool equals(const IComparable& other) const { return compareTo(other) == 0; }
};

// The object facet: a class identity text (namespace path and class name joined by '_') and a
// fresh instance of the same class (taken from the class's pool for pooled classes).
class IObject : public IComparable {
public:
    virtual const char* getClassName() const = 0;
    virtual IObject* newInstance() const = 0;
};

}  // namespace s::base
