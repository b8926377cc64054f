#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace s::map {

// A hash map from key text to text. Keys are compared exactly (case matters).
class MapTable final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 64;

    // Adds the pair unless the key is present already; returns whether it was added. The first
    // text stored under a key is the one found.
    bool putIfAbsent(std::string_view key, std::string_view text);
    // The text stored under key, or null.
    const std::string* get(std::string_view key) const;
    bool containsKey(std::string_view key) const { return get(key) != nullptr; }

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    void clear() { m_entries.clear(); }

    const char* getClassName() const override { return "s_map_MapTable"; }
    base::IObject* newInstance() const override { return thread::take<MapTable>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { clear(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_entries;
};

}  // namespace s::map
