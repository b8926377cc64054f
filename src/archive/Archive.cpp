#include "archive/Archive.h"

#include "archive/ExecutableResources.h"
#include "foundation/AsciiCase.h"

namespace s::archive::dll::win {

bool Archive::openExecutable()
{
    open(executableResources());
    return m_table.count > 0;
}

void Archive::open(ResourceTable table)
{
    m_table = table.records == nullptr ? ResourceTable{} : table;
}

const ResourceRecord* Archive::findResource(std::string_view typeName, int id) const
{
    for (std::size_t i = 0; i < m_table.count; ++i) {
        const ResourceRecord& record = m_table.records[i];
        if (record.id == id && record.typeName != nullptr && base::equalsIgnoringAsciiCase(record.typeName, typeName))
            return &record;
    }
    return nullptr;
}

}  // namespace s::archive::dll::win
