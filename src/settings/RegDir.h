#pragma once

#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "settings/RegTypes.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace s::reg::win {

class RegistryStore;

// A registry key object: one key of a hive, opened by its path. While open it names its key;
// the values are read from and written to the hive's store at each call.
class RegDir final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 16;

    static RegistryStore& storeOf(Hive hive);

    RegDir() = default;
    RegDir(const RegDir&) = delete;
    RegDir& operator=(const RegDir&) = delete;

    const char* getClassName() const override { return "s_reg_win_RegDir"; }
    base::IObject* newInstance() const override;
    void recycle() override;
    void reset() override { close(); }

    // Opens an existing key (all access); false when there is none.
    bool open(Hive hive, std::string_view path) { return open(storeOf(hive), path); }
    bool open(RegistryStore& store, std::string_view path);
    // Opens the key, making it and its missing ancestors first.
    bool create(Hive hive, std::string_view path) { return create(storeOf(hive), path); }
    bool create(RegistryStore& store, std::string_view path);
    void close();
    bool isOpen() const { return m_store != nullptr; }
    const std::string& path() const { return m_path; }

    bool subkeyNames(std::vector<std::string>& names) const;
    // Deletes a subkey that has no subkeys of its own.
    bool deleteSubkey(std::string_view name);
    // Deletes this key, which must have no subkeys, and closes it; stays open when it cannot.
    bool deleteKey();

    bool queryValue(std::string_view name, std::uint32_t& type, Bytes& data) const;
    bool setValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data);
    bool deleteValue(std::string_view name);

    // Replaces each %NAME% by the environment variable's value.
    static std::string expandEnvironmentStrings(std::string_view text);

private:
    std::string childPath(std::string_view name) const;

    RegistryStore* m_store = nullptr;
    std::string m_path;
};

}  // namespace s::reg::win
