#include "settings/RegKeyTree.h"

#include "foundation/AsciiCase.h"

#include <algorithm>

namespace s::reg::win {

namespace {

using base::equalsIgnoringAsciiCase;

RegKey* makeKey(RegKey& root, const std::vector<std::string_view>& components, bool& created)
{
    RegKey* key = &root;
    for (std::string_view component : components) {
        RegKey* next = key->findSubkey(component);
        if (next == nullptr) {
            auto made = std::make_unique<RegKey>();
            made->name.assign(component);
            next = made.get();
            key->subkeys.push_back(std::move(made));
            created = true;
        }
        key = next;
    }
    return key;
}

}  // namespace

RegKey* RegKey::findSubkey(std::string_view subkeyName) const
{
    for (const auto& subkey : subkeys) {
        if (equalsIgnoringAsciiCase(subkey->name, subkeyName))
            return subkey.get();
    }
    return nullptr;
}

RegValue* RegKey::findValue(std::string_view valueName)
{
    for (RegValue& value : values) {
        if (equalsIgnoringAsciiCase(value.name, valueName))
            return &value;
    }
    return nullptr;
}

const RegValue* RegKey::findValue(std::string_view valueName) const
{
    return const_cast<RegKey*>(this)->findValue(valueName);
}

bool splitKeyPath(std::string_view path, std::vector<std::string_view>& components)
{
    components.clear();
    if (path.empty())
        return true;
    std::size_t from = 0;
    for (;;) {
        std::size_t to = path.find('\\', from);
        std::string_view component = path.substr(from, to == std::string_view::npos ? to : to - from);
        if (component.empty())
            return false;
        components.push_back(component);
        if (to == std::string_view::npos)
            return true;
        from = to + 1;
    }
}

RegKey* findKey(RegKey& root, std::string_view path)
{
    std::vector<std::string_view> components;
    if (!splitKeyPath(path, components))
        return nullptr;
    RegKey* key = &root;
    for (std::string_view component : components) {
        key = key->findSubkey(component);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

bool applyChange(const RegChange& change, RegKey& root)
{
    std::vector<std::string_view> components;
    if (!splitKeyPath(change.path, components))
        return false;
    bool changed = false;
    switch (change.kind) {
    case RegChange::Kind::CreateKey:
        makeKey(root, components, changed);
        return changed;
    case RegChange::Kind::DeleteKey: {
        if (components.empty())
            return false;
        std::string_view leaf = components.back();
        RegKey* parent = &root;
        for (std::size_t i = 0; parent != nullptr && i + 1 < components.size(); ++i)
            parent = parent->findSubkey(components[i]);
        if (parent == nullptr)
            return false;
        auto at = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                               [&](const auto& subkey) { return equalsIgnoringAsciiCase(subkey->name, leaf); });
        if (at == parent->subkeys.end() || !(*at)->subkeys.empty())
            return false;
        parent->subkeys.erase(at);
        return true;
    }
    case RegChange::Kind::SetValue: {
        RegKey* key = makeKey(root, components, changed);
        RegValue* value = key->findValue(change.name);
        if (value == nullptr) {
            key->values.push_back(RegValue{change.name, change.type, change.data});
            return true;
        }
        if (value->type == change.type && value->data == change.data)
            return changed;
        value->type = change.type;
        value->data = change.data;
        return true;
    }
    case RegChange::Kind::DeleteValue: {
        RegKey* key = findKey(root, change.path);
        if (key == nullptr)
            return false;
        auto at = std::find_if(key->values.begin(), key->values.end(),
                               [&](const RegValue& value) { return equalsIgnoringAsciiCase(value.name, change.name); });
        if (at == key->values.end())
            return false;
        key->values.erase(at);
        return true;
    }
    }
    return false;
}

}  // namespace s::reg::win
