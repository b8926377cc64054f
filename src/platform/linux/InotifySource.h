#pragma once

#include "platform/ChangeSource.h"
#include "platform/linux/ChangeOutput.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <dirent.h>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace s::platform::linux_impl {

// Recursive inotify: a watch on every directory of the tree (mount points below the top are
// not entered). New directories are watched and scanned at once, so that what was made in
// them before their watch existed is still reported as added. Renames are paired by cookie.
class InotifySource final : public IChangeSource {
public:
    static int open(const std::string& directory, std::unique_ptr<IChangeSource>& source);
    ~InotifySource() override;

    const char* backendName() const override { return "inotify"; }
    int attach(EventPort& port, void* key) override;
    FillResult fill(std::byte* buffer, std::size_t capacity) override;
    bool takeNotice(ChangeNotice& notice) override { return m_output.takeNotice(notice); }

private:
    struct Node {
        int wd = -1;
        Node* parent = nullptr;
        std::string name;
        std::unordered_map<std::string, Node*> children;
    };

    // Silent: an existing tree (the first scan, a directory moved in): watch, report nothing.
    // ReportAll: a new directory: every entry is reported as added.
    // ReportNew: after an overflow: directories not watched yet are reported and scanned.
    enum class ScanMode { Silent, ReportAll, ReportNew };
    struct ScanTask {
        int wd;
        ScanMode mode;
        int retries = 0;
    };

    struct PendingMove {
        std::uint32_t cookie;
        int wd;
        std::string name;
        bool isDirectory;
        std::chrono::steady_clock::time_point deadline;
    };

    struct StringHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    using NameSet = std::unordered_set<std::string, StringHash, std::equal_to<>>;

    InotifySource() = default;

    void readEvents(int& failure);
    void forgetScannedNames();
    void processEvents();
    void handleEvent(int wd, std::uint32_t mask, std::uint32_t cookie, std::string_view name);
    void onCreated(Node* node, std::string_view name, bool isDirectory);
    void onDeleted(Node* node, std::string_view name, bool isDirectory);
    void onMovedTo(Node* node, std::string_view name, std::uint32_t cookie, bool isDirectory);
    void expireMoves();
    void watchNewDirectory(Node* parent, std::string_view name, ScanMode mode);
    void topGone();

    // A directory being read; new directories and the rest each have one.
    struct Scan {
        std::deque<ScanTask> queue;
        DIR* directory = nullptr;
        ScanTask task{-1, ScanMode::Silent};
        std::string relative;
    };

    void runScans(Scan& scan, int budget);
    bool startScan(Scan& scan);
    void handleScanEntry(Scan& scan, Node* node, const dirent& entry);
    void reportScanned(Scan& scan, Node* node, std::string_view name);
    void finishScan(Scan& scan);
    void closeScan(Scan& scan);
    void queueScan(int wd, ScanMode mode);
    bool scanning() const;

    Node* addNode(int wd, Node* parent, std::string_view name);
    void moveNode(Node* node, Node* newParent, std::string_view newName);
    void forgetSubtree(Node* node, bool removeWatches);

    // The node's path relative to the top, into out.
    const std::string& relativePath(const Node* node, std::string& out);
    int openDirectory(std::string_view relative, bool followLast);
    // Watches the open directory; -1 (with notices given) when that fails.
    int watchDescriptor(int descriptor, std::string_view relative, std::string_view name);
    bool onTopMount(int descriptor) const;
    void armTimer();

    std::string m_root;
    int m_inotify = -1;
    int m_timer = -1;
    EventPort* m_port = nullptr;
    void* m_key = nullptr;
    bool m_useProcPaths = true;
    bool m_haveMountId = false;
    std::uint64_t m_mountId = 0;
    std::uint64_t m_device = 0;

    std::unordered_map<int, std::unique_ptr<Node>> m_nodes;
    Node* m_top = nullptr;
    bool m_dormant = false;
    bool m_limitReported = false;
    bool m_drained = false;

    // Scans of directories made while watched run before the next event is handled, so that
    // their contents are reported right after them.
    Scan m_newDirectories;
    Scan m_tree;
    // Names a ReportAll scan reported, by watch, so that the create events queued for the same
    // names are not reported twice. Dropped once the kernel queue was read empty after the scan.
    std::unordered_map<int, NameSet> m_scanned;
    std::vector<int> m_scannedDone;
    std::vector<int> m_scannedBeforeRead;

    std::vector<PendingMove> m_moves;

    std::unique_ptr<std::byte[]> m_events;
    std::size_t m_eventsPosition = 0;
    std::size_t m_eventsEnd = 0;

    ChangeOutput m_output;
    std::string m_relative;
    std::string m_otherRelative;
    std::string m_path;
    std::vector<const Node*> m_chain;
};

}  // namespace s::platform::linux_impl
