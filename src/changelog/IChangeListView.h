#pragma once

#include "foundation/IPoolable.h"

namespace s::file::gui::dialogs::fileaccess {

class Change;

// What the change log asks of the list that shows its records. Called on the refresh cycle's
// thread.
class IChangeListView {
public:
    // Held while a cycle changes rows, released at its end.
    virtual void setRedrawSuspended(bool suspended) = 0;
    // The row of a record shown for the first time. The record keeps it and gives it back when it
    // leaves the log, which takes it out of the list. Null when the view keeps no rows.
    virtual thread::IPoolable* makeRow(Change& change) = 0;
    // Appends the record's row to the list.
    virtual void addRow(Change& change) = 0;
    // Takes the record's row out of the list; the row stays the record's.
    virtual void removeRow(Change& change) = 0;
    // Orders the rows again after a cycle added some.
    virtual void sort() = 0;

protected:
    ~IChangeListView() = default;
};

}  // namespace s::file::gui::dialogs::fileaccess
