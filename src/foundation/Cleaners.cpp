#include "foundation/Cleaners.h"

#include "foundation/IObject.h"

#include <cstdlib>
#include <new>

namespace s::cleaner {

CleanerIObject& CleanerIObject::instance()
{
    static CleanerIObject cleaner;
    return cleaner;
}

void CleanerIObject::dispose(void*& object)
{
    delete static_cast<base::IObject*>(object);
    object = nullptr;
}

CleanerRaw& CleanerRaw::instance()
{
    static CleanerRaw cleaner;
    return cleaner;
}

void CleanerRaw::dispose(void*& object)
{
    std::free(object);
    object = nullptr;
}

CleanerRawObject& CleanerRawObject::instance()
{
    static CleanerRawObject cleaner;
    return cleaner;
}

void CleanerRawObject::dispose(void*& object)
{
    ::operator delete(object);
    object = nullptr;
}

}  // namespace s::cleaner
