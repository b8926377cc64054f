#include "foundation/ObjLocker.h"

namespace s::thread {

ObjLocker::~ObjLocker()
{
    if (m_owned == nullptr)
        return;
    if (m_freeFunction != nullptr)
        m_freeFunction(m_owned);
    else if (m_disposer != nullptr)
        m_disposer->dispose(m_owned);
    else
        delete static_cast<base::IObject*>(m_owned);
    m_owned = nullptr;
}

void ObjLocker::own(void* object, FreeFunction freeFunction, base::IDestructor* disposer)
{
    m_owned = object;
    m_freeFunction = freeFunction;
    m_disposer = disposer;
}

}  // namespace s::thread
