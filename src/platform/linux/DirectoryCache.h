#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace s::platform::linux_impl {

// Directory file handles to the paths they have now, for one watched tree. Renames of
// directories (anywhere on the file system) are applied to every cached path below them, so
// that the cache follows the event stream instead of going stale.
class DirectoryCache {
public:
    struct Entry {
        std::string path;
        // Where the path relative to the watched directory starts; -1 outside the tree.
        int relativeStart = -1;
        // The handle no longer opens (the directory was removed).
        bool stale = false;

        bool inside() const { return relativeStart >= 0; }
        std::string_view relative() const
        {
            return std::string_view(path).substr(static_cast<std::size_t>(relativeStart));
        }
    };

    // root: the watched directory's absolute path as the kernel names it.
    explicit DirectoryCache(std::string root);

    // -1 when path is not the root or below it, else where its relative part starts.
    int relativeStartOf(std::string_view path) const;

    Entry* find(std::string_view key);
    Entry& insert(std::string_view key, std::string path);
    Entry& insertStale(std::string_view key);
    void erase(std::string_view key);
    // Every cached path equal to from or below it now lies at the same place below to.
    void rename(std::string_view from, std::string_view to);
    void clear() { m_entries.clear(); }
    std::size_t size() const { return m_entries.size(); }

private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
    };

    std::string m_root;
    std::unordered_map<std::string, Entry, KeyHash, std::equal_to<>> m_entries;
};

}  // namespace s::platform::linux_impl
