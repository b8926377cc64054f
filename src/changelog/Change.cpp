#include "changelog/Change.h"

#include "changelog/PathParts.h"

namespace s::file::gui::dialogs::fileaccess {

std::string_view Change::getName() const
{
    return std::string_view(m_fullPath).substr(m_nameOffset, m_nameLength);
}

std::string_view Change::getFolder() const
{
    return std::string_view(m_fullPath).substr(0, m_folderLength);
}

void Change::setPath(std::string fullPath, const PathParts& parts, std::string extension)
{
    m_fullPath = std::move(fullPath);
    m_extension = std::move(extension);
    // Paths are limited far below 4 GiB by the kernel; parts that would not fit are left empty.
    const bool fits = parts.nameOffset + parts.nameLength <= m_fullPath.size() && m_fullPath.size() <= UINT32_MAX;
    m_folderLength = fits ? static_cast<std::uint32_t>(parts.folderLength) : 0;
    m_nameOffset = fits ? static_cast<std::uint32_t>(parts.nameOffset) : 0;
    m_nameLength = fits ? static_cast<std::uint32_t>(parts.nameLength) : 0;
}

void Change::reset()
{
    m_time = 0;
    m_kind = ChangeKind::Created;
    m_fullPath.clear();
    m_extension.clear();
    m_folderLength = m_nameOffset = m_nameLength = 0;
    m_isDirectory = false;
    m_shown = false;
    m_size = -1;
    if (thread::IPoolable* row = m_row) {
        m_row = nullptr;
        row->recycle();
    }
}

}  // namespace s::file::gui::dialogs::fileaccess
