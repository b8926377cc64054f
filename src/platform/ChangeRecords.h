#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace s::platform {

// What happened to a name, in the system's numbering.
enum ChangeAction : std::uint32_t {
    kChangeAdded = 1,
    kChangeRemoved = 2,
    kChangeModified = 3,
    kChangeRenamedOldName = 4,
    kChangeRenamedNewName = 5,
};

// A change record in a buffer: three 32-bit fields in host byte order followed by nameLength
// bytes of the name relative to the watched directory (raw bytes, '/' separated, no
// terminator). Records start on 4-byte boundaries; nextEntryOffset is the distance from this
// record to the next one, 0 for the last. A rename is an old-name record followed by its
// new-name record.
struct ChangeRecordHeader {
    std::uint32_t nextEntryOffset;
    std::uint32_t action;
    std::uint32_t nameLength;
};

inline constexpr std::size_t kChangeRecordHeaderSize = sizeof(ChangeRecordHeader);
static_assert(kChangeRecordHeaderSize == 12);

// Bytes a record with a name of that length takes, padding included.
constexpr std::size_t changeRecordSize(std::size_t nameLength)
{
    return (kChangeRecordHeaderSize + nameLength + 3) & ~std::size_t{3};
}

// Length of "directory/name", where either part may be empty and then no '/' is written.
constexpr std::size_t joinedNameLength(std::string_view directory, std::string_view name)
{
    return directory.size() + name.size() + (!directory.empty() && !name.empty() ? 1 : 0);
}

// Appends records to a buffer, linking each to the one before.
class ChangeRecordWriter {
public:
    ChangeRecordWriter(std::byte* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    // Appends a record named joinedName(directory, name); false when it does not fit.
    bool put(std::uint32_t action, std::string_view directory, std::string_view name)
    {
        const std::size_t nameLength = joinedNameLength(directory, name);
        const std::size_t size = changeRecordSize(nameLength);
        if (size > m_capacity - m_size)
            return false;
        std::byte* record = m_buffer + m_size;
        const ChangeRecordHeader header{0, action, static_cast<std::uint32_t>(nameLength)};
        std::memcpy(record, &header, sizeof header);
        std::byte* text = record + kChangeRecordHeaderSize;
        // An empty view may have no data at all: never hand memcpy a null pointer.
        if (!directory.empty()) {
            std::memcpy(text, directory.data(), directory.size());
            text += directory.size();
            if (!name.empty())
                *text++ = std::byte{'/'};
        }
        if (!name.empty())
            std::memcpy(text, name.data(), name.size());
        if (m_size != 0) {
            const auto offset = static_cast<std::uint32_t>(m_size - m_last);
            std::memcpy(m_buffer + m_last, &offset, sizeof offset);
        }
        m_last = m_size;
        m_size += size;
        return true;
    }

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }

private:
    std::byte* m_buffer;
    std::size_t m_capacity;
    std::size_t m_size = 0;
    std::size_t m_last = 0;
};

}  // namespace s::platform
