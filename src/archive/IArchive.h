#pragma once

#include "archive/ResourceRecord.h"
#include "foundation/IObject.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace s::archive {

// A read-only set of resources found by type name and number.
class IArchive : public base::IObject {
public:
    // The resource of that type (ASCII case ignored, as resource type names are) and number, or
    // null when the archive has none.
    virtual const ResourceRecord* findResource(std::string_view typeName, int id) const = 0;

    // The bytes of that resource; empty when it is absent (or empty).
    std::span<const unsigned char> readResource(std::string_view typeName, int id) const
    {
        const ResourceRecord* record = findResource(typeName, id);
        if (record == nullptr || record->data == nullptr)
            return {};
        return {record->data, record->size};
    }

    virtual std::size_t getResourceCount() const = 0;
    // No bounds check; callers stay below the count.
    virtual const ResourceRecord& getResource(std::size_t index) const = 0;
};

}  // namespace s::archive
