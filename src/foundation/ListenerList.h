#pragma once

#include "foundation/IEventListener.h"

#include <cstddef>
#include <vector>

namespace s::gui::events {

// The listeners of one kind of event, in registration order. Not owned, not locked: a list is
// used only on the thread that owns its source.
class ListenerList {
public:
    void add(IEventListener* listener) { m_listeners.push_back(listener); }
    // Removes the first occurrence; returns whether there was one.
    bool remove(IEventListener* listener);
    void clear() { m_listeners.clear(); }

    std::size_t size() const { return m_listeners.size(); }
    bool empty() const { return m_listeners.empty(); }
    IEventListener* at(std::size_t index) const { return m_listeners[index]; }

    // Calls every listener in order. The length is read again before every call, so a listener
    // added during delivery is called in the same delivery.
    void fire(base::IObject* source, int code) const;

private:
    std::vector<IEventListener*> m_listeners;
};

}  // namespace s::gui::events
