#include "settings/RegDir.h"

#include "foundation/ClassPool.h"
#include "platform/Files.h"
#include "settings/RegistryStore.h"

namespace s::reg::win {

RegistryStore& RegDir::storeOf(Hive hive)
{
    return hive == Hive::CurrentUser ? RegistryStore::currentUser() : RegistryStore::localMachine();
}

base::IObject* RegDir::newInstance() const
{
    return thread::take<RegDir>();
}

void RegDir::recycle()
{
    thread::giveBack(this);
}

bool RegDir::open(RegistryStore& store, std::string_view path)
{
    close();
    if (!store.keyExists(path))
        return false;
    m_store = &store;
    m_path.assign(path);
    return true;
}

bool RegDir::create(RegistryStore& store, std::string_view path)
{
    close();
    if (!store.createKey(path))
        return false;
    m_store = &store;
    m_path.assign(path);
    return true;
}

void RegDir::close()
{
    m_store = nullptr;
    m_path.clear();
}

std::string RegDir::childPath(std::string_view name) const
{
    return m_path.empty() ? std::string(name) : m_path + "\\" + std::string(name);
}

bool RegDir::subkeyNames(std::vector<std::string>& names) const
{
    names.clear();
    return m_store != nullptr && m_store->subkeyNames(m_path, names);
}

bool RegDir::deleteSubkey(std::string_view name)
{
    // A name with a backslash would reach below the subkey.
    if (m_store == nullptr || name.empty() || name.find('\\') != std::string_view::npos)
        return false;
    return m_store->deleteKey(childPath(name));
}

bool RegDir::deleteKey()
{
    if (m_store == nullptr)
        return false;
    if (!m_store->deleteKey(m_path))
        return false;
    close();
    return true;
}

bool RegDir::queryValue(std::string_view name, std::uint32_t& type, Bytes& data) const
{
    return m_store != nullptr && m_store->queryValue(m_path, name, type, data);
}

bool RegDir::setValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data)
{
    return m_store != nullptr && m_store->setValue(m_path, name, type, data);
}

bool RegDir::deleteValue(std::string_view name)
{
    return m_store != nullptr && m_store->deleteValue(m_path, name);
}

std::string RegDir::expandEnvironmentStrings(std::string_view text)
{
    return platform::expandEnvironmentStrings(text);
}

}  // namespace s::reg::win
