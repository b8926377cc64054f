#pragma once

#include "platform/ChangeRecords.h"
#include "platform/ChangeSource.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace s::platform::linux_impl {

// Where a backend puts what it made of the kernel's events during one fill: records into the
// fill buffer, the ones that did not fit kept in order for the next fill, and notices.
// A producer stops when stopped() turns true, so that what is kept stays small.
class ChangeOutput {
public:
    // Starts a fill into buffer; records kept from the last fill go first.
    void begin(std::byte* buffer, std::size_t capacity);

    void emit(std::uint32_t action, std::string_view directory, std::string_view name);
    // An old name and its new name, kept together.
    void emitRename(std::string_view oldDirectory, std::string_view oldName, std::string_view newDirectory,
                    std::string_view newName);
    void notice(int error, bool lost, std::string_view directory, std::string_view name);

    // Records are waiting or a notice was given: the fill should end.
    bool stopped() const { return !m_kept.empty() || m_noticeGiven; }
    std::size_t bytes() const { return m_writer.size(); }

    bool takeNotice(ChangeNotice& notice);

private:
    struct Kept {
        std::uint32_t action;
        std::string name;
    };

    void keep(std::uint32_t action, std::string_view directory, std::string_view name);

    ChangeRecordWriter m_writer{nullptr, 0};
    std::deque<Kept> m_kept;
    std::deque<ChangeNotice> m_notices;
    bool m_noticeGiven = false;
};

}  // namespace s::platform::linux_impl
