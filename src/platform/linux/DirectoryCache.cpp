#include "platform/linux/DirectoryCache.h"

namespace s::platform::linux_impl {

namespace {

// path is `prefix` itself or lies below it.
bool isAtOrBelow(std::string_view path, std::string_view prefix)
{
    if (path.size() < prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
        return false;
    return path.size() == prefix.size() || prefix.back() == '/' || path[prefix.size()] == '/';
}

}  // namespace

DirectoryCache::DirectoryCache(std::string root) : m_root(std::move(root)) {}

int DirectoryCache::relativeStartOf(std::string_view path) const
{
    if (!isAtOrBelow(path, m_root))
        return -1;
    if (path.size() == m_root.size())
        return static_cast<int>(path.size());
    return static_cast<int>(m_root.back() == '/' ? m_root.size() : m_root.size() + 1);
}

DirectoryCache::Entry* DirectoryCache::find(std::string_view key)
{
    const auto found = m_entries.find(key);
    return found == m_entries.end() ? nullptr : &found->second;
}

DirectoryCache::Entry& DirectoryCache::insert(std::string_view key, std::string path)
{
    auto [it, added] = m_entries.try_emplace(std::string(key));
    Entry& entry = it->second;
    entry.relativeStart = relativeStartOf(path);
    entry.path = std::move(path);
    entry.stale = false;
    return entry;
}

DirectoryCache::Entry& DirectoryCache::insertStale(std::string_view key)
{
    auto [it, added] = m_entries.try_emplace(std::string(key));
    it->second = Entry{{}, -1, true};
    return it->second;
}

void DirectoryCache::erase(std::string_view key)
{
    const auto found = m_entries.find(key);
    if (found != m_entries.end())
        m_entries.erase(found);
}

void DirectoryCache::rename(std::string_view from, std::string_view to)
{
    if (from.empty() || from == to)
        return;
    const std::string source(from);
    for (auto& [key, entry] : m_entries) {
        if (entry.stale || !isAtOrBelow(entry.path, source))
            continue;
        entry.path.replace(0, source.size(), to);
        entry.relativeStart = relativeStartOf(entry.path);
    }
}

}  // namespace s::platform::linux_impl
