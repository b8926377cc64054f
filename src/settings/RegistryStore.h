#pragma once

#include "platform/Files.h"
#include "settings/RegKeyTree.h"
#include "settings/Reporter.h"

#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace s::reg::win {

// The registry on a system that has none: typed values in a tree of keys, kept in one file
// (the format is in RegistryFormat.h) and shared by every process of the user.
//
// Every change is in the file when the call returns: the file is written to a temporary file,
// flushed and renamed over the old one, under an advisory lock, after reading it again if
// another process changed it since. A change that changes nothing touches no file. Reads see
// what other processes wrote. A file that is damaged or cannot be read is moved aside and
// reported, and the store starts empty; a change that cannot be saved (a full disk) is kept,
// reported once, and saved with the next change or flush.
//
// Paths are key names joined by '\'; the empty path is the root. Names ignore ASCII case.
// The store is safe to use from several threads.
class RegistryStore {
public:
    // Keys deeper than this are refused: the file could not be read back.
    static constexpr std::size_t kMaxKeyDepth = 200;

    // The current user's store, in "ostrel/settings.xml" of the user's configuration folder.
    static RegistryStore& currentUser();
    // The machine-wide keys: none exist here, and every change is refused.
    static RegistryStore& localMachine();
    static std::string currentUserFile();

    explicit RegistryStore(std::string file, map::Reporter reporter = map::stderrReporter());
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const std::string& file() const { return m_file; }

    bool keyExists(std::string_view path);
    // Makes the key and its missing ancestors; true when it exists afterwards.
    bool createKey(std::string_view path);
    // Deletes a key that has no subkeys.
    bool deleteKey(std::string_view path);
    bool subkeyNames(std::string_view path, std::vector<std::string>& names);
    bool queryValue(std::string_view path, std::string_view name, std::uint32_t& type, Bytes& data);
    // Sets a value in an existing key.
    bool setValue(std::string_view path, std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data);
    bool deleteValue(std::string_view path, std::string_view name);
    // Saves changes that could not be saved before; true when none is left.
    bool flush();

private:
    struct ReadOnly {};
    explicit RegistryStore(ReadOnly);

    bool change(RegChange change);
    // Brings the tree up to date with the file when it changed; lockHeld tells whether the
    // caller holds the file lock (needed to move a damaged file aside).
    void refresh(bool lockHeld);
    void load(bool lockHeld);
    bool persist();
    void reportOnce(bool& reported, const std::string& message);

    std::mutex m_mutex;
    const std::string m_file;
    const std::string m_lockFile;
    const bool m_readOnly = false;
    map::Reporter m_reporter;
    RegKey m_root;
    std::vector<RegChange> m_pending;  // made in m_root, not yet in the file
    platform::FileStamp m_stamp;       // of the file m_root was read from or written to
    std::string m_newerBytes;          // a file of a newer format, to keep a copy of before saving
    bool m_saveRefused = false;        // the file could be neither read nor moved aside
    bool m_saveReported = false;
    bool m_newerReported = false;
    bool m_skippedReported = false;
    bool m_leftoversRemoved = false;
};

}  // namespace s::reg::win
