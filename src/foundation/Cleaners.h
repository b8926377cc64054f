#pragma once

#include "foundation/IDestructor.h"

namespace s::cleaner {

// Disposers for objects that do not come from a pool. Each is used through its one instance.

// Deletes a base::IObject through its virtual destructor.
class CleanerIObject final : public base::IDestructor {
public:
    static CleanerIObject& instance();
    void dispose(void*& object) override;
};

// Frees a block from the C heap (malloc, calloc, realloc).
class CleanerRaw final : public base::IDestructor {
public:
    static CleanerRaw& instance();
    void dispose(void*& object) override;
};

// Releases storage from plain operator new without running any destructor.
class CleanerRawObject final : public base::IDestructor {
public:
    static CleanerRawObject& instance();
    void dispose(void*& object) override;
};

}  // namespace s::cleaner
