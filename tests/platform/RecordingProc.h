#pragma once

#include "platform/Display.h"
#include "platform/Messages.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace s::platform::testing {

struct Recorded {
    unsigned code = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::int64_t time = 0;
    Point point() const { return pointFromLParam(lParam); }
};

// A window procedure that records what it is given and lets a test answer some messages.
// Only the codes in `watched` are recorded (all when empty).
class RecordingProc final : public IWindowProc {
public:
    using Handler = std::function<std::optional<LResult>(NativeWindow&, unsigned, WParam, LParam)>;

    explicit RecordingProc(std::vector<unsigned> watched = {}) : m_watched(std::move(watched)) {}

    LResult windowProc(NativeWindow& window, unsigned code, WParam wParam, LParam lParam) override
    {
        if (m_watched.empty() || std::find(m_watched.begin(), m_watched.end(), code) != m_watched.end()) {
            std::lock_guard lock(m_lock);
            m_log.push_back({code, wParam, lParam, window.display().now()});
        }
        if (handler) {
            if (std::optional<LResult> answer = handler(window, code, wParam, lParam))
                return *answer;
        }
        return window.defaultProc(code, wParam, lParam);
    }

    std::vector<Recorded> log() const
    {
        std::lock_guard lock(m_lock);
        return m_log;
    }
    std::vector<Recorded> of(unsigned code) const
    {
        std::vector<Recorded> found;
        for (const Recorded& r : log()) {
            if (r.code == code)
                found.push_back(r);
        }
        return found;
    }
    std::vector<unsigned> codes() const
    {
        std::vector<unsigned> found;
        for (const Recorded& r : log())
            found.push_back(r.code);
        return found;
    }
    void clear()
    {
        std::lock_guard lock(m_lock);
        m_log.clear();
    }

    Handler handler;

private:
    std::vector<unsigned> m_watched;
    mutable std::mutex m_lock;
    std::vector<Recorded> m_log;
};

}  // namespace s::platform::testing
