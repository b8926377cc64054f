#include "settings/RegMappedData.h"

#include "foundation/AsciiCase.h"
#include "foundation/ClassPool.h"
#include "settings/RegistryStore.h"
#include "settings/Utf16.h"

#include <array>
#include <bit>

namespace s::reg {

namespace {

using win::Bytes;

template <std::size_t Size>
std::array<std::uint8_t, Size> littleEndian(std::uint64_t bits)
{
    std::array<std::uint8_t, Size> data{};
    for (std::size_t i = 0; i < Size; ++i)
        data[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return data;
}

}  // namespace

std::string productKeyPath(std::string_view productId)
{
    return "Software\\Quillon\\" + std::string(productId);
}

std::string saveDataKeyPath(std::string_view productId)
{
    return productKeyPath(productId) + "\\SaveData";
}

thread::PooledPtr<MappedData> MappedData::open(std::string_view basePath)
{
    return open(win::RegistryStore::currentUser(), basePath);
}

thread::PooledPtr<MappedData> MappedData::open(win::RegistryStore& store, std::string_view basePath)
{
    thread::PooledPtr<MappedData> mapped(thread::take<MappedData>());
    mapped->m_store = &store;
    mapped->m_basePath.assign(basePath);
    return mapped;
}

base::IObject* MappedData::newInstance() const
{
    return thread::take<MappedData>();
}

void MappedData::recycle()
{
    thread::giveBack(this);
}

void MappedData::reset()
{
    m_store = nullptr;
    m_basePath.clear();
    m_currentPath.clear();
    m_current.close();
    m_autoSave = true;
}

bool MappedData::save()
{
    return m_store != nullptr && m_store->flush();
}

const std::string& MappedData::keyPath(std::string_view path)
{
    m_join = m_basePath;
    if (!path.empty()) {
        if (!m_join.empty())
            m_join.push_back('\\');
        m_join.append(path);
    }
    return m_join;
}

bool MappedData::resolve(std::string_view path, bool create)
{
    if (m_store == nullptr)
        return false;
    // Only a key that was found is served again: a failed lookup is tried anew.
    if (m_current.isOpen() && base::equalsIgnoringAsciiCase(path, m_currentPath))
        return true;
    m_currentPath.assign(path);
    const std::string& key = keyPath(path);
    bool opened = create ? m_current.create(*m_store, key) : m_current.open(*m_store, key);
    // The empty path is the base key, which counts as there even before its first value.
    return opened || (path.empty() && !create);
}

bool MappedData::createPath(std::string_view path)
{
    return resolve(path, true);
}

bool MappedData::selectPath(std::string_view path)
{
    return resolve(path, false);
}

void MappedData::deleteTree(const std::string& path)
{
    win::RegDir key;
    if (!key.open(*m_store, path))
        return;
    std::vector<std::string> names;
    key.subkeyNames(names);
    for (const std::string& name : names)
        deleteTree(path + "\\" + name);
    key.deleteKey();
}

bool MappedData::removePath(std::string_view path)
{
    if (m_store == nullptr)
        return false;
    const std::string key = keyPath(path);
    // The cached key may be the removed one or lie below it.
    m_current.close();
    m_currentPath.clear();
    if (!m_store->keyExists(key))
        return false;
    deleteTree(key);
    return !m_store->keyExists(key) && (!m_autoSave || save());
}

bool MappedData::hasValue(std::string_view path, std::string_view name)
{
    std::uint32_t type = 0;
    Bytes data;
    return resolve(path, false) && m_current.queryValue(name, type, data);
}

bool MappedData::readSized(std::string_view path, std::string_view name, std::size_t size, std::uint64_t& bits)
{
    std::uint32_t type = 0;
    Bytes data;
    if (!resolve(path, false) || !m_current.queryValue(name, type, data) || data.size() != size)
        return false;
    bits = 0;
    for (std::size_t i = 0; i < size; ++i)
        bits |= std::uint64_t{data[i]} << (8 * i);
    return true;
}

std::uint8_t MappedData::getU8(std::string_view path, std::string_view name, std::uint8_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? static_cast<std::uint8_t>(bits) : fallback;
}

std::uint16_t MappedData::getU16(std::string_view path, std::string_view name, std::uint16_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? static_cast<std::uint16_t>(bits) : fallback;
}

std::uint32_t MappedData::getU32(std::string_view path, std::string_view name, std::uint32_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? static_cast<std::uint32_t>(bits) : fallback;
}

std::uint64_t MappedData::getU64(std::string_view path, std::string_view name, std::uint64_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 8, bits) ? bits : fallback;
}

std::int8_t MappedData::getS8(std::string_view path, std::string_view name, std::int8_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? static_cast<std::int8_t>(bits) : fallback;
}

std::int16_t MappedData::getS16(std::string_view path, std::string_view name, std::int16_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? static_cast<std::int16_t>(bits) : fallback;
}

std::int32_t MappedData::getS32(std::string_view path, std::string_view name, std::int32_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? static_cast<std::int32_t>(bits) : fallback;
}

std::int64_t MappedData::getS64(std::string_view path, std::string_view name, std::int64_t fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 8, bits) ? static_cast<std::int64_t>(bits) : fallback;
}

float MappedData::getFloat(std::string_view path, std::string_view name, float fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? std::bit_cast<float>(static_cast<std::uint32_t>(bits)) : fallback;
}

double MappedData::getDouble(std::string_view path, std::string_view name, double fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 8, bits) ? std::bit_cast<double>(bits) : fallback;
}

bool MappedData::getBool(std::string_view path, std::string_view name, bool fallback)
{
    std::uint64_t bits = 0;
    return readSized(path, name, 4, bits) ? bits != 0 : fallback;
}

std::string MappedData::getString(std::string_view path, std::string_view name, std::string_view fallback,
                                  bool* expanded, bool expand)
{
    if (expanded != nullptr)
        *expanded = false;
    std::uint32_t type = 0;
    Bytes data;
    if (!resolve(path, false) || !m_current.queryValue(name, type, data))
        return std::string(fallback);
    if (data.empty())
        return {};
    if (type == win::kRegSz)
        return textOfUtf16(data);
    if (type != win::kRegExpandSz)
        return std::string(fallback);
    if (expanded != nullptr)
        *expanded = true;
    std::string text = textOfUtf16(data);
    if (!expand)
        return text;
    return std::string(firstUnits(win::RegDir::expandEnvironmentStrings(text), kExpandedLimit));
}

bool MappedData::getBytes(std::string_view path, std::string_view name, Bytes& out)
{
    std::uint32_t type = 0;
    Bytes data;
    if (!resolve(path, false) || !m_current.queryValue(name, type, data))
        return false;
    out.insert(out.end(), data.begin(), data.end());
    return true;
}

bool MappedData::removeValue(std::string_view path, std::string_view name)
{
    return resolve(path, false) && m_current.deleteValue(name) && (!m_autoSave || save());
}

bool MappedData::write(std::string_view path, std::string_view name, std::uint32_t type,
                       std::span<const std::uint8_t> data)
{
    if (!resolve(path, true))
        return false;
    bool stored = m_current.setValue(name, type, data);
    if (!stored && !m_store->keyExists(m_current.path())) {
        // The cached key went away meanwhile (another process removed it, or its file): make it again.
        m_current.close();
        stored = resolve(path, true) && m_current.setValue(name, type, data);
    }
    return (!m_autoSave || save()) && stored;
}

bool MappedData::writeDword(std::string_view path, std::string_view name, std::uint32_t value)
{
    return write(path, name, win::kRegDword, littleEndian<4>(value));
}

bool MappedData::writeBinary(std::string_view path, std::string_view name, std::uint64_t bits, std::size_t size)
{
    auto data = littleEndian<8>(bits);
    return write(path, name, win::kRegBinary, std::span<const std::uint8_t>(data.data(), size));
}

bool MappedData::writeString(std::string_view path, std::string_view name, std::string_view value, std::uint32_t type)
{
    return write(path, name, type, stringData(value));
}

bool MappedData::setU8(std::string_view path, std::string_view name, std::uint8_t value)
{
    return writeDword(path, name, value);
}

bool MappedData::setU16(std::string_view path, std::string_view name, std::uint16_t value)
{
    return writeDword(path, name, value);
}

bool MappedData::setU32(std::string_view path, std::string_view name, std::uint32_t value)
{
    return writeDword(path, name, value);
}

bool MappedData::setU64(std::string_view path, std::string_view name, std::uint64_t value)
{
    return writeBinary(path, name, value, 8);
}

bool MappedData::setS8(std::string_view path, std::string_view name, std::int8_t value)
{
    return writeDword(path, name, static_cast<std::uint32_t>(std::int32_t{value}));
}

bool MappedData::setS16(std::string_view path, std::string_view name, std::int16_t value)
{
    return writeDword(path, name, static_cast<std::uint32_t>(std::int32_t{value}));
}

bool MappedData::setS32(std::string_view path, std::string_view name, std::int32_t value)
{
    return writeDword(path, name, static_cast<std::uint32_t>(value));
}

bool MappedData::setS64(std::string_view path, std::string_view name, std::int64_t value)
{
    return writeBinary(path, name, static_cast<std::uint64_t>(value), 8);
}

bool MappedData::setFloat(std::string_view path, std::string_view name, float value)
{
    return writeBinary(path, name, std::bit_cast<std::uint32_t>(value), 4);
}

bool MappedData::setDouble(std::string_view path, std::string_view name, double value)
{
    return writeBinary(path, name, std::bit_cast<std::uint64_t>(value), 8);
}

bool MappedData::setBool(std::string_view path, std::string_view name, bool value)
{
    return writeDword(path, name, value ? 1 : 0);
}

bool MappedData::setString(std::string_view path, std::string_view name, std::string_view value)
{
    return writeString(path, name, value, win::kRegSz);
}

bool MappedData::setExpandString(std::string_view path, std::string_view name, std::string_view value)
{
    return writeString(path, name, value, win::kRegExpandSz);
}

bool MappedData::setBytes(std::string_view path, std::string_view name, std::span<const std::uint8_t> value)
{
    return write(path, name, win::kRegBinary, value);
}

}  // namespace s::reg
