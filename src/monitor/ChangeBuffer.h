#pragma once

#include <cstddef>
#include <memory>
#include <string>

class CDirectoryChangeHandler;

namespace s::monitor {

// A watch's read buffer and the walk over the change records read into it.
//
// The storage has room for one carried-over record in front of the fill area. When a buffer
// ends with an old name whose new name has not come yet, that record is moved to just before
// the fill area with its next-entry offset pointing at the fill area, so the next walk starts
// with it and pairs it with the first record read after it.
class ChangeBuffer {
public:
    static constexpr std::size_t kDefaultCapacity = 64 * 1024;
    static constexpr std::size_t kMinimumCapacity = 256;

    // capacity: bytes a fill may write; no single record is larger. May throw std::bad_alloc.
    explicit ChangeBuffer(std::size_t capacity = kDefaultCapacity);

    std::byte* fillArea() { return m_storage.get() + m_capacity; }
    std::size_t capacity() const { return m_capacity; }
    // Bytes of the record waiting in front of the fill area for its partner (0 when none).
    std::size_t carryOver() const { return m_carryOver; }

    // Walks the carried-over record and the records of the `filled` bytes of the fill area,
    // calling handler with full paths (directory joined with each record's name).
    void walk(std::size_t filled, const std::string& directory, CDirectoryChangeHandler& handler);

private:
    bool recordAt(std::size_t position, std::size_t end, std::size_t& nameLength) const;
    void buildPath(std::string& out, const std::string& directory, std::size_t position, std::size_t nameLength) const;
    std::size_t nextRecord(std::size_t position, std::size_t end) const;

    std::size_t m_capacity;
    std::unique_ptr<std::byte[]> m_storage;
    std::size_t m_carryOver = 0;
    std::string m_path;
    std::string m_newPath;
};

}  // namespace s::monitor
