#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "monitor/CDirectoryChangeHandler.h"

namespace s::file::gui::dialogs::fileaccess {

struct PendingChanges;

// The access handler of one watched drive: every notification becomes change records appended to
// the pending queue, under its lock. Runs on the notification thread.
//
// Reference counted like every change handler: the watch holds a reference, and the last
// release destroys the handler. The pool keeps none, so recycle() is that release.
class Handler final : public CDirectoryChangeHandler, public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 0;

    Handler() = default;

    // Where the records go; null (after reset) makes none.
    void setPending(PendingChanges* pending) { m_pending = pending; }

    void onCreated(const std::string& path) override;
    void onDeleted(const std::string& path) override;
    // Two records under one hold of the lock, so that they are adjacent: renamed-from, renamed-to.
    void onRenamed(const std::string& oldPath, const std::string& newPath) override;
    void onModified(const std::string& path) override;

    const char* getClassName() const override { return "s_file_gui_dialogs_fileaccess_Handler"; }
    base::IObject* newInstance() const override { return thread::take<Handler>(); }
    void recycle() override { release(); }
    void reset() override { m_pending = nullptr; }

private:
    PendingChanges* m_pending = nullptr;
};

}  // namespace s::file::gui::dialogs::fileaccess
