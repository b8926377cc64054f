#include "changelog/ChangeFilters.h"

#include "changelog/Change.h"
#include "settings/IMappedData.h"

namespace s::file::gui::dialogs::fileaccess {

namespace {

constexpr std::string_view kGroup = "View";

}  // namespace

bool KindFlags::governs(ChangeKind kind) const
{
    switch (kind) {
    case ChangeKind::Created:
        return created;
    case ChangeKind::Deleted:
        return deleted;
    case ChangeKind::Written:
        return written;
    case ChangeKind::RenamedFrom:
    case ChangeKind::RenamedTo:
        return renamed;
    }
    return false;
}

bool isUnderRoot(std::string_view root, std::string_view path)
{
    if (root.empty() || path.substr(0, root.size()) != root)
        return false;
    return path.size() == root.size() || root.back() == '/' || path[root.size()] == '/';
}

int owningDrive(const std::vector<std::string>& roots, std::string_view path)
{
    int owner = -1;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (roots[i].size() > longest && isUnderRoot(roots[i], path)) {
            owner = static_cast<int>(i);
            longest = roots[i].size();
        }
    }
    return owner;
}

bool FilterSnapshot::isVisible(const std::vector<std::string>& roots, const Change& change) const
{
    if (!kinds.governs(change.getKind()))
        return false;
    const int drive = owningDrive(roots, change.getFullPath());
    return drive >= 0 && static_cast<std::size_t>(drive) < driveEnabled.size() &&
           driveEnabled[static_cast<std::size_t>(drive)] != 0;
}

ChangeFilters::ChangeFilters(std::vector<std::string> roots, KindFlags kinds)
    : m_roots(std::move(roots)), m_driveEnabled(m_roots.size(), 1), m_kinds(kinds)
{
}

void ChangeFilters::load(map::IMappedData& settings)
{
    std::lock_guard hold(m_lock);
    for (std::size_t i = 0; i < m_roots.size(); ++i)
        m_driveEnabled[i] = settings.getS32(kGroup, m_roots[i], 1) != 0 ? 1 : 0;
    m_kinds.created = settings.getBool(kGroup, "Created", true);
    m_kinds.deleted = settings.getBool(kGroup, "Deleted", true);
    m_kinds.written = settings.getBool(kGroup, "Written", true);
    m_kinds.renamed = settings.getBool(kGroup, "Renamed", true);
}

void ChangeFilters::setDriveEnabled(std::size_t index, bool enabled, map::IMappedData* settings)
{
    std::lock_guard hold(m_lock);
    if (index >= m_roots.size())
        return;
    m_driveEnabled[index] = enabled ? 1 : 0;
    if (settings != nullptr)
        settings->setS32(kGroup, m_roots[index], enabled ? 1 : 0);
    m_driveChanged = true;
}

void ChangeFilters::setKindFlags(KindFlags flags, map::IMappedData* settings)
{
    std::lock_guard hold(m_lock);
    m_kinds = flags;
    if (settings != nullptr)
        storeKinds(flags, *settings);
    m_kindChanged = true;
}

void ChangeFilters::storeKinds(const KindFlags& flags, map::IMappedData& settings)
{
    settings.setBool(kGroup, "Created", flags.created);
    settings.setBool(kGroup, "Deleted", flags.deleted);
    settings.setBool(kGroup, "Written", flags.written);
    settings.setBool(kGroup, "Renamed", flags.renamed);
}

FilterSnapshot ChangeFilters::snapshot() const
{
    std::lock_guard hold(m_lock);
    return FilterSnapshot{m_driveEnabled, m_kinds};
}

bool ChangeFilters::takeDriveChange(std::vector<char>& driveEnabled)
{
    std::lock_guard hold(m_lock);
    if (!m_driveChanged)
        return false;
    driveEnabled = m_driveEnabled;
    m_driveChanged = false;
    return true;
}

bool ChangeFilters::takeKindChange(KindFlags& kinds)
{
    std::lock_guard hold(m_lock);
    if (!m_kindChanged)
        return false;
    kinds = m_kinds;
    m_kindChanged = false;
    return true;
}

bool ChangeFilters::hasChanges() const
{
    std::lock_guard hold(m_lock);
    return m_driveChanged || m_kindChanged;
}

}  // namespace s::file::gui::dialogs::fileaccess
