#pragma once

#include "archive/IArchive.h"
#include "foundation/ClassPool.h"
#include "foundation/IPoolable.h"

#include <cstddef>

namespace s::archive::dll::win {

// The resources of a module. openExecutable() opens the ones the build embedded into this program;
// open() takes any table of the same shape (a test's fixtures, for instance). Nothing is copied:
// the records and their bytes must outlive the archive.
class Archive final : public IArchive, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 4;

    // Opens the resources embedded into the executable. False when the build embedded none.
    bool openExecutable();
    void open(ResourceTable table);
    void close() { m_table = {}; }

    const ResourceRecord* findResource(std::string_view typeName, int id) const override;
    std::size_t getResourceCount() const override { return m_table.count; }
    const ResourceRecord& getResource(std::size_t index) const override { return m_table.records[index]; }

    const char* getClassName() const override { return "s_archive_dll_win_Archive"; }
    base::IObject* newInstance() const override { return thread::take<Archive>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { close(); }

private:
    ResourceTable m_table{};
};

}  // namespace s::archive::dll::win
