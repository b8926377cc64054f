// The window layer's costs: a synchronous send to another user-interface thread and back, and
// presenting a back buffer (whole 800 × 600 window, one 100 × 20 damaged rectangle) with and
// without MIT-SHM, each measured until the server has taken the pixels.
#include "platform/Display.h"
#include "platform/Messages.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/x11/X11WindowSystem.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <future>
#include <thread>

namespace {

using namespace s::platform;

class Answering final : public IWindowProc {
public:
    LResult windowProc(NativeWindow& window, unsigned code, WParam wParam, LParam lParam) override
    {
        if (code == WM_USER)
            return static_cast<LResult>(wParam + 1);
        return window.defaultProc(code, wParam, lParam);
    }
};

// A user-interface thread with one window, answering sends until the benchmark ends.
class UiThread {
public:
    explicit UiThread(IWindowSystem& system)
    {
        std::promise<WindowId> ready;
        auto window = ready.get_future();
        m_thread = std::thread([&] {
            std::unique_ptr<Display> display = system.openDisplay(nullptr);
            if (!display) {
                ready.set_value(0);
                return;
            }
            NativeWindow* w = display->createWindow({}, &m_proc);
            m_queue = display->threadQueue();
            ready.set_value(w != nullptr ? w->id() : 0);
            display->run();
        });
        m_window = window.get();
    }
    ~UiThread()
    {
        postQuit(m_queue, 0);
        m_thread.join();
    }
    WindowId window() const { return m_window; }

private:
    Answering m_proc;
    std::thread m_thread;
    WindowId m_window = 0;
    ThreadQueueRef m_queue;
};

void sendRoundTrip(benchmark::State& state, IWindowSystem& system)
{
    UiThread ui(system);
    if (ui.window() == 0) {
        state.SkipWithError("no display");
        return;
    }
    WParam value = 0;
    for (auto _ : state) {
        value = static_cast<WParam>(sendMessage(ui.window(), WM_USER, value));
        benchmark::DoNotOptimize(value);
    }
}

void BM_SendRoundTripX11(benchmark::State& state)
{
    sendRoundTrip(state, x11::windowSystem());
}

void BM_SendRoundTripHeadless(benchmark::State& state)
{
    static headless::HeadlessWindowSystem system;
    sendRoundTrip(state, system);
}

class Idle final : public IWindowProc {
public:
    LResult windowProc(NativeWindow& window, unsigned code, WParam wParam, LParam lParam) override
    {
        return window.defaultProc(code, wParam, lParam);
    }
};

// Arguments: width and height of the presented rectangle, 1 for MIT-SHM.
void BM_Present(benchmark::State& state)
{
    x11::setSharedMemoryAllowed(state.range(2) != 0);
    std::unique_ptr<Display> display = x11::windowSystem().openDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no display");
        return;
    }
    Idle proc;
    WindowParams params;
    params.bounds = Rect::fromSize(0, 0, 800, 600);
    NativeWindow* window = display->createWindow(params, &proc);
    window->show(SW_SHOWNA);
    display->serveOnce(100);
    if (x11::presentsThroughSharedMemory(*window) != (state.range(2) != 0)) {
        state.SkipWithError("MIT-SHM not as asked");
        return;
    }
    cairo_t* cr = cairo_create(window->backBuffer());
    cairo_set_source_rgb(cr, 0.2, 0.4, 0.6);
    cairo_paint(cr);
    cairo_destroy(cr);
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int at = width >= 800 ? 0 : 100;
    const Rect rect = Rect::fromSize(at, at, width, height);
    const bool shm = state.range(2) != 0;
    for (auto _ : state) {
        window->present(rect);
        // Until the server has the pixels: its completion event for shared memory (which the
        // next paint waits for anyway), a round trip for a copied image.
        if (shm)
            window->beginPaint();
        else
            x11::waitForServer(*display);
    }
    x11::setSharedMemoryAllowed(true);
}

}  // namespace

BENCHMARK(BM_SendRoundTripX11)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SendRoundTripHeadless)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Present)
    ->ArgNames({"w", "h", "shm"})
    ->Args({800, 600, 1})
    ->Args({800, 600, 0})
    ->Args({100, 20, 1})
    ->Args({100, 20, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
