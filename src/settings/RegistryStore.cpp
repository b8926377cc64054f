#include "settings/RegistryStore.h"

#include "settings/DocumentFile.h"
#include "settings/RegistryFormat.h"

#include <utility>

namespace s::reg::win {

namespace {

using Lock = std::lock_guard<std::mutex>;

bool isValidPath(std::string_view path)
{
    std::vector<std::string_view> components;
    return splitKeyPath(path, components) && components.size() <= RegistryStore::kMaxKeyDepth;
}

}  // namespace

RegistryStore& RegistryStore::currentUser()
{
    // Never destroyed, like the pools: a store used from a static destructor stays valid.
    static RegistryStore* store = new RegistryStore(currentUserFile());
    return *store;
}

RegistryStore& RegistryStore::localMachine()
{
    static RegistryStore* store = new RegistryStore(ReadOnly{});
    return *store;
}

std::string RegistryStore::currentUserFile()
{
    std::string home = platform::configHome();
    return home.empty() ? std::string() : home + "/ostrel/settings.xml";
}

RegistryStore::RegistryStore(std::string file, map::Reporter reporter)
    : m_file(std::move(file)), m_lockFile(m_file.empty() ? std::string() : m_file + ".lock"),
      m_reporter(std::move(reporter))
{
}

RegistryStore::RegistryStore(ReadOnly) : m_readOnly(true)
{
}

bool RegistryStore::keyExists(std::string_view path)
{
    Lock lock(m_mutex);
    refresh(false);
    return findKey(m_root, path) != nullptr;
}

bool RegistryStore::createKey(std::string_view path)
{
    if (m_readOnly || !isValidPath(path))
        return false;
    Lock lock(m_mutex);
    refresh(false);
    if (findKey(m_root, path) == nullptr)
        change(RegChange{RegChange::Kind::CreateKey, std::string(path), {}, kRegNone, {}});
    // The key can be used even while it waits to be saved: values set in it are kept with it.
    return findKey(m_root, path) != nullptr;
}

bool RegistryStore::deleteKey(std::string_view path)
{
    if (m_readOnly || path.empty() || !isValidPath(path))
        return false;
    Lock lock(m_mutex);
    refresh(false);
    RegKey* key = findKey(m_root, path);
    if (key == nullptr || !key->subkeys.empty())
        return false;
    return change(RegChange{RegChange::Kind::DeleteKey, std::string(path), {}, kRegNone, {}});
}

bool RegistryStore::subkeyNames(std::string_view path, std::vector<std::string>& names)
{
    names.clear();
    Lock lock(m_mutex);
    refresh(false);
    RegKey* key = findKey(m_root, path);
    if (key == nullptr)
        return false;
    for (const auto& subkey : key->subkeys)
        names.push_back(subkey->name);
    return true;
}

bool RegistryStore::queryValue(std::string_view path, std::string_view name, std::uint32_t& type, Bytes& data)
{
    Lock lock(m_mutex);
    refresh(false);
    RegKey* key = findKey(m_root, path);
    const RegValue* value = key == nullptr ? nullptr : key->findValue(name);
    if (value == nullptr)
        return false;
    type = value->type;
    data = value->data;
    return true;
}

bool RegistryStore::setValue(std::string_view path, std::string_view name, std::uint32_t type,
                             std::span<const std::uint8_t> data)
{
    if (m_readOnly)
        return false;
    Lock lock(m_mutex);
    refresh(false);
    if (findKey(m_root, path) == nullptr)
        return false;
    return change(RegChange{RegChange::Kind::SetValue, std::string(path), std::string(name), type,
                            Bytes(data.begin(), data.end())});
}

bool RegistryStore::deleteValue(std::string_view path, std::string_view name)
{
    if (m_readOnly)
        return false;
    Lock lock(m_mutex);
    refresh(false);
    RegKey* key = findKey(m_root, path);
    if (key == nullptr || key->findValue(name) == nullptr)
        return false;
    return change(RegChange{RegChange::Kind::DeleteValue, std::string(path), std::string(name), kRegNone, {}});
}

bool RegistryStore::flush()
{
    Lock lock(m_mutex);
    return m_pending.empty() || persist();
}

bool RegistryStore::change(RegChange change)
{
    if (!applyChange(change, m_root))
        return m_pending.empty();
    m_pending.push_back(std::move(change));
    return persist();
}

void RegistryStore::refresh(bool lockHeld)
{
    if (m_readOnly || m_file.empty())
        return;
    if (platform::fileStamp(m_file) == m_stamp)
        return;
    load(lockHeld);
}

void RegistryStore::load(bool lockHeld)
{
    thread::PooledPtr<xml::Node> document(xml::Node::take());
    map::DocumentRead read = map::readDocument(m_file, *document);
    RegKey fresh;
    RegistryRead format;
    if (read.outcome == map::DocumentRead::Outcome::Loaded) {
        format = readRegistry(*document, fresh);
        if (!format.recognized) {
            read.outcome = map::DocumentRead::Outcome::Damaged;
            read.problem = "is not a settings file of this program";
        }
    }

    if (read.outcome == map::DocumentRead::Outcome::Damaged) {
        if (!lockHeld) {
            // Moving the file aside must not race with another process replacing it.
            platform::FileLock fileLock;
            if (fileLock.acquire(m_lockFile, platform::FileLock::Mode::Exclusive).ok()) {
                load(true);
                return;
            }
        }
        // The tree stays as it was: empty at start, the last good state later on.
        m_saveRefused = !map::setAsideDamaged(m_file, read.problem, m_reporter);
        m_stamp = m_saveRefused ? read.stamp : platform::fileStamp(m_file);
        return;
    }

    m_saveRefused = false;
    m_stamp = read.stamp;
    m_root = std::move(fresh);
    for (const RegChange& pending : m_pending)
        applyChange(pending, m_root);
    if (read.outcome == map::DocumentRead::Outcome::Missing) {
        m_newerBytes.clear();
        return;
    }
    if (format.version > kRegistryFormatVersion) {
        m_newerBytes = std::move(read.bytes);
        reportOnce(m_newerReported, "the settings file " + m_file + " was written by a newer version of Ostrel " +
                                        "(format " + std::to_string(format.version) +
                                        "); this version uses the settings it understands and keeps a copy of the " +
                                        "file as " + m_file + ".newer before it saves");
    } else {
        m_newerBytes.clear();
    }
    if (format.skipped > 0) {
        reportOnce(m_skippedReported, "the settings file " + m_file + " has " + std::to_string(format.skipped) +
                                          " entries that this version cannot read; they are left out");
    }
}

bool RegistryStore::persist()
{
    if (m_file.empty()) {
        reportOnce(m_saveReported, "no home folder is known; the settings are kept for this run only");
        return false;
    }
    auto saveFailed = [this](int error) {
        reportOnce(m_saveReported, "cannot save the settings to " + m_file + " (" + map::errorText(error) +
                                       "); they are kept and saved again with the next change");
        return false;
    };

    platform::FileLock fileLock;
    if (platform::FileResult locked = fileLock.acquire(m_lockFile, platform::FileLock::Mode::Exclusive); !locked.ok())
        return saveFailed(locked.error);
    if (!m_leftoversRemoved) {
        // A writer killed mid-write leaves its temporary file; no one writes while we hold the lock.
        platform::removeLeftTemporaries(m_file);
        m_leftoversRemoved = true;
    }
    // Another process may have saved since this one read the file: start from what it wrote.
    refresh(true);
    if (m_saveRefused)
        return false;

    if (!m_newerBytes.empty()) {
        std::string copy = m_file + ".newer";
        for (int n = 1; platform::fileExists(copy); ++n)
            copy = m_file + ".newer-" + std::to_string(n);
        if (platform::FileResult kept = platform::writeFileDurably(copy, m_newerBytes); !kept.ok())
            return saveFailed(kept.error);
        m_newerBytes.clear();
    }

    thread::PooledPtr<xml::Node> document(xml::Node::take());
    writeRegistry(m_root, *document);
    std::string bytes;
    document->toUtf8(bytes);
    platform::FileStamp stamp;
    if (platform::FileResult written = platform::writeFileDurably(m_file, bytes, &stamp); !written.ok())
        return saveFailed(written.error);
    m_stamp = stamp;
    m_pending.clear();
    m_saveReported = false;
    return true;
}

void RegistryStore::reportOnce(bool& reported, const std::string& message)
{
    if (reported)
        return;
    reported = true;
    if (m_reporter)
        m_reporter(message);
}

}  // namespace s::reg::win
