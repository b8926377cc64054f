#pragma once

#include "settings/RegTypes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace s::reg::win {

struct RegValue {
    std::string name;
    std::uint32_t type = kRegNone;
    Bytes data;
};

// One key of the in-memory registry: named values and subkeys, in the order they were made.
// Key and value names are matched ignoring ASCII case and keep the case they were made with.
struct RegKey {
    std::string name;
    std::vector<RegValue> values;
    std::vector<std::unique_ptr<RegKey>> subkeys;

    RegKey* findSubkey(std::string_view subkeyName) const;
    RegValue* findValue(std::string_view valueName);
    const RegValue* findValue(std::string_view valueName) const;
};

// Splits a key path at its backslashes. False for a path with an empty component (a leading,
// trailing or doubled backslash); the empty path has no components and names the root.
bool splitKeyPath(std::string_view path, std::vector<std::string_view>& components);

// The key at path below root, or null.
RegKey* findKey(RegKey& root, std::string_view path);

// One change to the registry. The store keeps the changes it has not saved yet, so that it can
// make them again on top of a file that another process changed meanwhile.
struct RegChange {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };

    Kind kind = Kind::CreateKey;
    std::string path;
    std::string name;
    std::uint32_t type = kRegNone;
    Bytes data;
};

// Makes the change in the tree: a value is set in its key, which is made when missing; a key is
// deleted only when it has no subkeys. True when the tree changed.
bool applyChange(const RegChange& change, RegKey& root);

}  // namespace s::reg::win
