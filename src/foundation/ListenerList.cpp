#include "foundation/ListenerList.h"

#include <algorithm>

namespace s::gui::events {

bool ListenerList::remove(IEventListener* listener)
{
    auto it = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (it == m_listeners.end())
        return false;
    m_listeners.erase(it);
    return true;
}

void ListenerList::fire(base::IObject* source, int code) const
{
    for (std::size_t i = 0; i < m_listeners.size(); ++i)
        m_listeners[i]->onEvent(source, code);
}

}  // namespace s::gui::events
