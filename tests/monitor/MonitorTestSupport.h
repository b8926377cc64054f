#pragma once

#include "monitor/CDirectoryChangeHandler.h"
#include "monitor/CDirectoryChangeWatcher.h"
#include "platform/ChangeRecords.h"
#include "platform/ChangeSource.h"
#include "platform/EventPort.h"
#include "platform/ThreadControl.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

namespace monitor_test {

using namespace std::chrono_literals;

// One delivered call, with paths as given.
struct Call {
    Call() = default;
    Call(std::string callKind, std::string callPath, std::string callNewPath = {}, int callError = 0)
        : kind(std::move(callKind)), path(std::move(callPath)), newPath(std::move(callNewPath)), error(callError)
    {
    }

    std::string kind;
    std::string path;
    std::string newPath;
    int error = 0;
    unsigned thread = 0;

    bool operator==(const Call& other) const
    {
        return kind == other.kind && path == other.path && newPath == other.newPath && error == other.error;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Call& call)
{
    out << call.kind << ' ' << call.path;
    if (!call.newPath.empty())
        out << " -> " << call.newPath;
    if (call.error != 0)
        out << " (" << call.error << ')';
    return out;
}

// Records every call and lets a test wait for the ones it expects.
class RecordingHandler : public CDirectoryChangeHandler {
public:
    void onCreated(const std::string& path) override { add({"added", path}); }
    void onDeleted(const std::string& path) override { add({"removed", path}); }
    void onRenamed(const std::string& oldPath, const std::string& newPath) override
    {
        add({"renamed", oldPath, newPath});
    }
    void onModified(const std::string& path) override { add({"modified", path}); }
    void onReadError(int errorCode, const std::string& directory) override { add({"read-error", directory, {}, errorCode}); }
    void onWatchStarted(int errorCode, const std::string& directory) override
    {
        add({"started", directory, {}, errorCode});
    }
    void onWatchStopped(const std::string& directory) override
    {
        if (stopHook)
            stopHook(directory);
        add({"stopped", directory});
    }
    bool acceptChange(int action, const std::string& path, const std::string& newPath) override
    {
        ++acceptCalls;
        return accept ? accept(action, path, newPath) : true;
    }

    std::vector<Call> calls() const
    {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    void clear()
    {
        std::lock_guard lock(m_lock);
        m_calls.clear();
    }
    // Waits until a call satisfies `match`; true when one did within the time.
    bool waitFor(const std::function<bool(const Call&)>& match, std::chrono::milliseconds limit = 10s) const
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, limit, [&] { return std::any_of(m_calls.begin(), m_calls.end(), match); });
    }
    bool waitFor(const Call& expected, std::chrono::milliseconds limit = 10s) const
    {
        return waitFor([&](const Call& c) { return c == expected; }, limit);
    }
    bool waitForCount(std::size_t count, std::chrono::milliseconds limit = 10s) const
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, limit, [&] { return m_calls.size() >= count; });
    }

    std::function<void(const std::string&)> stopHook;
    std::function<bool(int, const std::string&, const std::string&)> accept;
    std::atomic<int> acceptCalls{0};

private:
    void add(Call call)
    {
        call.thread = s::platform::currentThreadId();
        std::lock_guard lock(m_lock);
        m_calls.push_back(std::move(call));
        m_changed.notify_all();
    }

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<Call> m_calls;
};

// Holds one reference on a handler and releases it at the end of the test.
template <class Handler = RecordingHandler>
class HandlerRef {
public:
    HandlerRef() : m_handler(new Handler()) {}
    ~HandlerRef() { m_handler->release(); }
    HandlerRef(const HandlerRef&) = delete;
    HandlerRef& operator=(const HandlerRef&) = delete;
    Handler* operator->() const { return m_handler; }
    Handler* get() const { return m_handler; }

private:
    Handler* m_handler;
};

// What a fake source gives on one fill.
struct FakeFill {
    std::vector<std::pair<std::uint32_t, std::string>> records;
    std::vector<s::platform::ChangeNotice> notices;
    int failure = 0;
};

// The test's side of a fake source: fills to hand out, and what happened to the source.
struct FakeControl {
    std::mutex lock;
    std::deque<FakeFill> fills;
    s::platform::EventPort* port = nullptr;
    void* key = nullptr;
    int attachError = 0;
    bool attached = false;
    bool destroyed = false;

    void pushRecords(std::vector<std::pair<std::uint32_t, std::string>> records)
    {
        FakeFill fill;
        fill.records = std::move(records);
        push(std::move(fill));
    }

    // Queues a fill and tells the worker that the source is readable.
    void push(FakeFill fill)
    {
        std::lock_guard guard(lock);
        fills.push_back(std::move(fill));
        if (port != nullptr && !destroyed)
            port->signal(key);
    }
};

class FakeChangeSource final : public s::platform::IChangeSource {
public:
    explicit FakeChangeSource(std::shared_ptr<FakeControl> control) : m_control(std::move(control)) {}
    ~FakeChangeSource() override
    {
        std::lock_guard guard(m_control->lock);
        m_control->destroyed = true;
    }
    const char* backendName() const override { return "fake"; }
    int attach(s::platform::EventPort& port, void* key) override
    {
        std::lock_guard guard(m_control->lock);
        if (m_control->attachError != 0)
            return m_control->attachError;
        m_control->port = &port;
        m_control->key = key;
        m_control->attached = true;
        if (!m_control->fills.empty())
            port.signal(key);
        return 0;
    }
    s::platform::FillResult fill(std::byte* buffer, std::size_t capacity) override
    {
        std::lock_guard guard(m_control->lock);
        s::platform::FillResult result;
        if (m_control->fills.empty())
            return result;
        FakeFill fill = std::move(m_control->fills.front());
        m_control->fills.pop_front();
        s::platform::ChangeRecordWriter writer(buffer, capacity);
        for (const auto& [action, name] : fill.records)
            writer.put(action, {}, name);
        for (auto& notice : fill.notices)
            m_notices.push_back(std::move(notice));
        result.bytes = writer.size();
        result.failure = fill.failure;
        result.more = !m_control->fills.empty();
        return result;
    }
    bool takeNotice(s::platform::ChangeNotice& notice) override
    {
        if (m_notices.empty())
            return false;
        notice = std::move(m_notices.front());
        m_notices.pop_front();
        return true;
    }

private:
    std::shared_ptr<FakeControl> m_control;
    std::deque<s::platform::ChangeNotice> m_notices;
};

// Opens fake sources; each directory has its control block, made on first use.
class FakeSources final : public s::platform::IChangeSourceFactory {
public:
    int openSource(const std::string& directory, std::unique_ptr<s::platform::IChangeSource>& source) override
    {
        std::lock_guard guard(m_lock);
        const auto error = m_openErrors.find(directory);
        if (error != m_openErrors.end())
            return error->second;
        auto& control = m_controls[directory];
        control = std::make_shared<FakeControl>();
        control->attachError = m_attachErrors.count(directory) != 0 ? m_attachErrors[directory] : 0;
        source = std::make_unique<FakeChangeSource>(control);
        return 0;
    }
    std::shared_ptr<FakeControl> control(const std::string& directory)
    {
        std::lock_guard guard(m_lock);
        return m_controls[directory];
    }
    void failOpen(const std::string& directory, int error)
    {
        std::lock_guard guard(m_lock);
        m_openErrors[directory] = error;
    }
    void failAttach(const std::string& directory, int error)
    {
        std::lock_guard guard(m_lock);
        m_attachErrors[directory] = error;
    }

private:
    std::mutex m_lock;
    std::map<std::string, std::shared_ptr<FakeControl>> m_controls;
    std::map<std::string, int> m_openErrors;
    std::map<std::string, int> m_attachErrors;
};

// Holds the watcher's worker still: a second watch is removed and its handler keeps the
// watch-stopped notice waiting, and with it the worker. Meanwhile kernel events queue up, so
// that the next reads see them all at once.
class WorkerBlocker {
public:
    WorkerBlocker(CDirectoryChangeWatcher& watcher, std::string directory)
        : m_watcher(watcher), m_directory(std::move(directory))
    {
        m_handler->stopHook = [this](const std::string&) {
            std::unique_lock lock(m_lock);
            m_entered = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_released; });
        };
        m_addResult = m_watcher.addWatch(m_directory, m_handler.get());
    }
    ~WorkerBlocker() { release(); }

    int addResult() const { return m_addResult; }

    // Returns once the worker waits.
    void block()
    {
        m_remover = std::thread([this] { m_watcher.removeWatch(m_directory); });
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_entered; });
    }
    void release()
    {
        {
            std::lock_guard lock(m_lock);
            m_released = true;
            m_changed.notify_all();
        }
        if (m_remover.joinable())
            m_remover.join();
    }

private:
    CDirectoryChangeWatcher& m_watcher;
    std::string m_directory;
    HandlerRef<> m_handler;
    int m_addResult = -1;
    std::thread m_remover;
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_released = false;
};

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = std::filesystem::temp_directory_path() / ("ostrel-monitor-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(m_path, error))
                return;
        }
    }
    ~TempDir()
    {
        std::error_code error;
        // Unreadable directories left by a test would stop the removal.
        for (auto it = std::filesystem::recursive_directory_iterator(
                 m_path, std::filesystem::directory_options::skip_permission_denied, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, error);
        }
        std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string string() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

inline void touch(const std::filesystem::path& file)
{
    std::ofstream out(file, std::ios::app);
}

inline void append(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::app);
    out << text;
}

}  // namespace monitor_test
