#pragma once

#include <cstddef>

namespace s::archive {

// One resource as the build embeds it: found by its type name and number. The bytes stay valid for
// the life of the process (they are part of the executable's read-only data).
struct ResourceRecord {
    const char* typeName;
    int id;
    const unsigned char* data;
    std::size_t size;
};

// The records of every resource embedded into this executable, in build order.
struct ResourceTable {
    const ResourceRecord* records;
    std::size_t count;
};

}  // namespace s::archive
