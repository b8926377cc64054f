#include "lang/MapTable.h"

namespace s::map {

bool MapTable::putIfAbsent(std::string_view key, std::string_view text)
{
    if (m_entries.find(key) != m_entries.end())
        return false;
    m_entries.emplace(std::string(key), std::string(text));
    return true;
}

const std::string* MapTable::get(std::string_view key) const
{
    auto found = m_entries.find(key);
    return found == m_entries.end() ? nullptr : &found->second;
}

}  // namespace s::map
