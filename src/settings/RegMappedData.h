#pragma once

#include "foundation/IPoolable.h"
#include "settings/IMappedData.h"
#include "settings/RegDir.h"

#include <string>

namespace s::reg {

namespace win {
class RegistryStore;
}

// The key of a product's own values ("Software\Quillon\<product>"), which holds "Silent".
std::string productKeyPath(std::string_view productId);
// The key below it that holds the settings store ("...\SaveData").
std::string saveDataKeyPath(std::string_view productId);

// The settings store kept in the registry: each path is a key below the base key, each name a
// value of it, the empty name the key's default value. Every change is stored at once.
//
// Value encodings: the 8-, 16- and 32-bit types and bool are dwords (signed ones sign-extended,
// bool 1 or 0); the 64-bit types, float and double are binary values of 8, 4 and 8 bytes;
// strings are sz (or expand_sz) with their terminating null; byte arrays are binary. A getter
// accepts a value of any type whose data has the size it expects.
class MappedData final : public map::IMappedData, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 4;
    // Expanded strings are cut to this many UTF-16 units.
    static constexpr std::size_t kExpandedLimit = 520;

    // The store under basePath in the current user's registry; keys are made by the first write.
    static thread::PooledPtr<MappedData> open(std::string_view basePath);
    static thread::PooledPtr<MappedData> open(win::RegistryStore& store, std::string_view basePath);

    MappedData() = default;
    MappedData(const MappedData&) = delete;
    MappedData& operator=(const MappedData&) = delete;

    const char* getClassName() const override { return "s_reg_MappedData"; }
    base::IObject* newInstance() const override;
    void recycle() override;
    void reset() override;

    // Saves what an earlier change could not save (every change is saved when it is made).
    bool save() override;
    bool createPath(std::string_view path) override;
    bool removePath(std::string_view path) override;
    bool selectPath(std::string_view path) override;
    bool hasValue(std::string_view path, std::string_view name) override;

    std::uint8_t getU8(std::string_view path, std::string_view name, std::uint8_t fallback) override;
    std::uint16_t getU16(std::string_view path, std::string_view name, std::uint16_t fallback) override;
    std::uint32_t getU32(std::string_view path, std::string_view name, std::uint32_t fallback) override;
    std::uint64_t getU64(std::string_view path, std::string_view name, std::uint64_t fallback) override;
    std::int8_t getS8(std::string_view path, std::string_view name, std::int8_t fallback) override;
    std::int16_t getS16(std::string_view path, std::string_view name, std::int16_t fallback) override;
    std::int32_t getS32(std::string_view path, std::string_view name, std::int32_t fallback) override;
    std::int64_t getS64(std::string_view path, std::string_view name, std::int64_t fallback) override;
    float getFloat(std::string_view path, std::string_view name, float fallback) override;
    double getDouble(std::string_view path, std::string_view name, double fallback) override;
    bool getBool(std::string_view path, std::string_view name, bool fallback) override;
    std::string getString(std::string_view path, std::string_view name, std::string_view fallback,
                          bool* expanded = nullptr, bool expand = true) override;
    bool getBytes(std::string_view path, std::string_view name, Bytes& out) override;

    bool removeValue(std::string_view path, std::string_view name) override;

    bool setU8(std::string_view path, std::string_view name, std::uint8_t value) override;
    bool setU16(std::string_view path, std::string_view name, std::uint16_t value) override;
    bool setU32(std::string_view path, std::string_view name, std::uint32_t value) override;
    bool setU64(std::string_view path, std::string_view name, std::uint64_t value) override;
    bool setS8(std::string_view path, std::string_view name, std::int8_t value) override;
    bool setS16(std::string_view path, std::string_view name, std::int16_t value) override;
    bool setS32(std::string_view path, std::string_view name, std::int32_t value) override;
    bool setS64(std::string_view path, std::string_view name, std::int64_t value) override;
    bool setFloat(std::string_view path, std::string_view name, float value) override;
    bool setDouble(std::string_view path, std::string_view name, double value) override;
    bool setBool(std::string_view path, std::string_view name, bool value) override;
    bool setString(std::string_view path, std::string_view name, std::string_view value) override;
    bool setExpandString(std::string_view path, std::string_view name, std::string_view value) override;
    bool setBytes(std::string_view path, std::string_view name, std::span<const std::uint8_t> value) override;

    bool getAutoSave() const override { return m_autoSave; }
    void setAutoSave(bool on) override { m_autoSave = on; }

private:
    const std::string& keyPath(std::string_view path);
    bool resolve(std::string_view path, bool create);
    // The data of the value when it has exactly `size` bytes.
    bool readSized(std::string_view path, std::string_view name, std::size_t size, std::uint64_t& bits);
    bool write(std::string_view path, std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data);
    bool writeDword(std::string_view path, std::string_view name, std::uint32_t value);
    bool writeBinary(std::string_view path, std::string_view name, std::uint64_t bits, std::size_t size);
    bool writeString(std::string_view path, std::string_view name, std::string_view value, std::uint32_t type);
    void deleteTree(const std::string& path);

    win::RegistryStore* m_store = nullptr;
    std::string m_basePath;
    std::string m_currentPath;
    win::RegDir m_current;
    std::string m_join;
    bool m_autoSave = true;
};

}  // namespace s::reg
