#include "monitor/ChangeBuffer.h"

#include "monitor/CDirectoryChangeHandler.h"
#include "platform/ChangeRecords.h"

#include <algorithm>
#include <cstring>

namespace s::monitor {

namespace {

using platform::ChangeRecordHeader;
using platform::kChangeRecordHeaderSize;

ChangeRecordHeader headerAt(const std::byte* at)
{
    ChangeRecordHeader header{};
    std::memcpy(&header, at, sizeof header);
    return header;
}

constexpr std::size_t kNoRecord = static_cast<std::size_t>(-1);

}  // namespace

ChangeBuffer::ChangeBuffer(std::size_t capacity)
    : m_capacity((std::max(capacity, kMinimumCapacity) + 3) & ~std::size_t{3}), m_storage(new std::byte[2 * m_capacity])
{
}

bool ChangeBuffer::recordAt(std::size_t position, std::size_t end, std::size_t& nameLength) const
{
    if (position >= end || end - position < kChangeRecordHeaderSize)
        return false;
    const ChangeRecordHeader header = headerAt(m_storage.get() + position);
    if (header.nameLength > end - position - kChangeRecordHeaderSize)
        return false;
    nameLength = header.nameLength;
    return true;
}

std::size_t ChangeBuffer::nextRecord(std::size_t position, std::size_t end) const
{
    const std::uint32_t offset = headerAt(m_storage.get() + position).nextEntryOffset;
    if (offset == 0 || offset >= end - position)
        return kNoRecord;
    return position + offset;
}

void ChangeBuffer::buildPath(std::string& out, const std::string& directory, std::size_t position,
                             std::size_t nameLength) const
{
    out.assign(directory);
    if (nameLength == 0)
        return;
    if (out.empty() || out.back() != '/')
        out.push_back('/');
    out.append(reinterpret_cast<const char*>(m_storage.get() + position + kChangeRecordHeaderSize), nameLength);
}

void ChangeBuffer::walk(std::size_t filled, const std::string& directory, CDirectoryChangeHandler& handler)
{
    const std::size_t end = m_capacity + std::min(filled, m_capacity);
    std::size_t position = m_capacity - m_carryOver;
    m_carryOver = 0;
    std::size_t nameLength = 0;
    while (recordAt(position, end, nameLength)) {
        switch (headerAt(m_storage.get() + position).action) {
        case platform::kChangeAdded:
            buildPath(m_path, directory, position, nameLength);
            handler.onCreated(m_path);
            break;
        case platform::kChangeRemoved:
            buildPath(m_path, directory, position, nameLength);
            handler.onDeleted(m_path);
            break;
        case platform::kChangeModified:
            buildPath(m_path, directory, position, nameLength);
            handler.onModified(m_path);
            break;
        case platform::kChangeRenamedOldName: {
            const std::size_t next = nextRecord(position, end);
            std::size_t newLength = 0;
            if (next == kNoRecord || !recordAt(next, end, newLength)) {
                // The new name is in the next read: keep the old one in front of the fill area.
                const std::size_t size = platform::changeRecordSize(nameLength);
                const std::size_t target = m_capacity - size;
                std::memmove(m_storage.get() + target, m_storage.get() + position, kChangeRecordHeaderSize + nameLength);
                const auto offset = static_cast<std::uint32_t>(size);
                std::memcpy(m_storage.get() + target, &offset, sizeof offset);
                m_carryOver = size;
                return;
            }
            // The record after an old name is its new name, whatever its action says.
            buildPath(m_path, directory, position, nameLength);
            buildPath(m_newPath, directory, next, newLength);
            handler.onRenamed(m_path, m_newPath);
            position = next;
            break;
        }
        default:
            break;
        }
        const std::size_t next = nextRecord(position, end);
        if (next == kNoRecord)
            return;
        position = next;
    }
}

}  // namespace s::monitor
