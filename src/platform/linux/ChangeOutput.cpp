#include "platform/linux/ChangeOutput.h"

#include "platform/ErrorCodes.h"

namespace s::platform::linux_impl {

namespace {

std::string joinedName(std::string_view directory, std::string_view name)
{
    std::string joined;
    joined.reserve(joinedNameLength(directory, name));
    joined.append(directory);
    if (!directory.empty() && !name.empty())
        joined.push_back('/');
    joined.append(name);
    return joined;
}

}  // namespace

void ChangeOutput::begin(std::byte* buffer, std::size_t capacity)
{
    m_writer = ChangeRecordWriter(buffer, capacity);
    m_noticeGiven = false;
    while (!m_kept.empty()) {
        const Kept& kept = m_kept.front();
        if (!m_writer.put(kept.action, {}, kept.name))
            return;
        m_kept.pop_front();
    }
}

void ChangeOutput::emit(std::uint32_t action, std::string_view directory, std::string_view name)
{
    if (m_kept.empty() && m_writer.put(action, directory, name))
        return;
    keep(action, directory, name);
}

void ChangeOutput::emitRename(std::string_view oldDirectory, std::string_view oldName, std::string_view newDirectory,
                              std::string_view newName)
{
    // Either both go into this fill or both are kept: the pair may still be split across two
    // fills when the old name is the last record that fits, which the watcher's walk handles.
    emit(kChangeRenamedOldName, oldDirectory, oldName);
    emit(kChangeRenamedNewName, newDirectory, newName);
}

void ChangeOutput::notice(int error, bool lost, std::string_view directory, std::string_view name)
{
    m_notices.push_back(ChangeNotice{error, lost, joinedName(directory, name)});
    m_noticeGiven = true;
}

void ChangeOutput::keep(std::uint32_t action, std::string_view directory, std::string_view name)
{
    // A record that could never fit into an empty buffer would block every later one.
    if (changeRecordSize(joinedNameLength(directory, name)) > m_writer.capacity()) {
        notice(kErrorNameTooLong, true, directory, name);
        return;
    }
    m_kept.push_back(Kept{action, joinedName(directory, name)});
}

bool ChangeOutput::takeNotice(ChangeNotice& notice)
{
    if (m_notices.empty())
        return false;
    notice = std::move(m_notices.front());
    m_notices.pop_front();
    return true;
}

}  // namespace s::platform::linux_impl
