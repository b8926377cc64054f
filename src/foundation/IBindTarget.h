#pragma once

namespace s::gui::events {

// What a binder acts on: every toolkit component implements it.
class IBindTarget {
public:
    virtual void setEnabled(bool enabled) = 0;
    // Does nothing on most components; switches a text field between editable and read-only.
    virtual void setEditable(bool editable) = 0;

protected:
    ~IBindTarget() = default;
};

}  // namespace s::gui::events
