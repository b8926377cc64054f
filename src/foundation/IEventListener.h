#pragma once

namespace s::base {
class IObject;
}

namespace s::gui::events {

// Told synchronously, on the firing thread, about something that happened to a source.
// The meaning of code depends on the kind of source; no source examines the result.
class IEventListener {
public:
    virtual ~IEventListener() = default;
    virtual int onEvent(base::IObject* source, int code) = 0;
};

}  // namespace s::gui::events
