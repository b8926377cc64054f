#pragma once

#include "changelog/ChangeKind.h"
#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::file::gui::dialogs::fileaccess {

struct PathParts;

// One observed change of one path. Made by makeChange, kept in the change log, given back to its
// pool when it leaves the log; its row (when it has one) goes back with it, which takes the row
// out of the list.
//
// Name and folder are parts of the full path, so a record holds one copy of the path.
class Change final : public base::IObject, public thread::IPoolable {
public:
    // Every record is freed when it leaves the log: a burst must not leave its records parked.
    static constexpr int kPoolCapacity = 0;

    Change() = default;
    ~Change() override { reset(); }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

    // Milliseconds since 1970 UTC.
    std::int64_t getTime() const { return m_time; }
    void setTime(std::int64_t time) { m_time = time; }
    ChangeKind getKind() const { return m_kind; }
    void setKind(ChangeKind kind) { m_kind = kind; }

    const std::string& getFullPath() const { return m_fullPath; }
    // The last component with its extension; empty when the path could not be split.
    std::string_view getName() const;
    // The containing folder without a trailing '/' ("/" for a file in the root); empty when the
    // path could not be split.
    std::string_view getFolder() const;
    // The extension with its dot, lower-cased; empty when there is none.
    const std::string& getExtension() const { return m_extension; }
    // Sets the full path and the parts of it that name and folder are.
    void setPath(std::string fullPath, const PathParts& parts, std::string extension);

    bool isDirectory() const { return m_isDirectory; }
    void setDirectory(bool directory) { m_isDirectory = directory; }
    // Bytes; -1 when not known.
    std::int64_t getSize() const { return m_size; }
    void setSize(std::int64_t size) { m_size = size; }

    // Whether its row is in the list now.
    bool isShown() const { return m_shown; }
    void setShown(bool shown) { m_shown = shown; }
    // The row made the first time the record was shown; the record gives it back with itself.
    thread::IPoolable* getRow() const { return m_row; }
    void setRow(thread::IPoolable* row) { m_row = row; }

    const char* getClassName() const override { return "s_file_gui_dialogs_fileaccess_Change"; }
    base::IObject* newInstance() const override { return thread::take<Change>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    std::int64_t m_time = 0;
    ChangeKind m_kind = ChangeKind::Created;
    std::string m_fullPath;
    std::string m_extension;
    std::uint32_t m_folderLength = 0;
    std::uint32_t m_nameOffset = 0;
    std::uint32_t m_nameLength = 0;
    bool m_isDirectory = false;
    bool m_shown = false;
    std::int64_t m_size = -1;
    thread::IPoolable* m_row = nullptr;
};

}  // namespace s::file::gui::dialogs::fileaccess
