#include "gui/component/Box.h"
#include "gui/component/Window.h"
#include "gui/skin/ThinWindow.h"
#include "gui/text/Font.h"
#include "gui/text/TextEngine.h"
#include "gui/widgets/Label.h"
#include "platform/Messages.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace s::gui;
using namespace s::gui::win;
namespace hl = s::platform::headless;

// A column of 20 rows of 24 labels: with the boxes, 501 components.
Box* makeTree()
{
    Box* root = makeBox(100, 100, 0, 0, -1, 2, 4, 4, layout::kVertical);
    for (int row = 0; row < 20; ++row) {
        Box* line = makeBox(100, -1, 0, 1, 4, -1, -1, -1, layout::kHorizontal);
        for (int i = 0; i < 24; ++i)
            line->add(makeLabel(std::to_string(row * 24 + i), false, 0));
        root->add(line);
    }
    return root;
}

void layoutDetachedTree(benchmark::State& state)
{
    s::thread::PooledPtr<Box> root(makeTree());
    int width = 800;
    for (auto _ : state) {
        width = width == 800 ? 790 : 800;
        root->setSize(width, 600);
        root->doLayout();
    }
    state.SetLabel("501 components");
}
BENCHMARK(layoutDetachedTree)->Unit(benchmark::kMicrosecond);

// The same tree in a window: the window's resize lays it out, marking what moved for repainting.
void layoutTreeInWindow(benchmark::State& state)
{
    hl::HeadlessWindowSystem system;
    std::unique_ptr<s::platform::Display> display = system.openDisplay(nullptr);
    Window* window = s::thread::take<Window>();
    window->setBounds(0, 0, 800, 600);
    window->createIn(*display);
    window->add(makeTree());
    window->show(s::platform::SW_SHOW);
    hl::pump(*display);
    int width = 800;
    for (auto _ : state) {
        width = width == 800 ? 790 : 800;
        window->setSize(width, 600);
    }
    window->recycle();
}
BENCHMARK(layoutTreeInWindow)->Unit(benchmark::kMicrosecond);

// Every pixel of an 800 × 600 skinned window of 200 labels painted and presented.
void repaintWindowOf200Labels(benchmark::State& state)
{
    hl::HeadlessWindowSystem system;
    std::unique_ptr<s::platform::Display> display = system.openDisplay(nullptr);
    s::thread::PooledPtr<drawer::Skinner> skinner(drawer::skin::makeSkinner());
    skinner->selectSkin("Black Black II");
    Window* window = s::thread::take<Window>();
    window->setBounds(0, 0, 800, 600);
    window->setSkinner(skinner.get());
    window->createIn(*display);
    Box* root = makeBox(100, 100, 0, 0, 6, 4, 6, 6, layout::kFlow);
    for (int i = 0; i < 200; ++i)
        root->add(makeLabel("Label number " + std::to_string(i), false, 0));
    window->add(root);
    window->show(s::platform::SW_SHOW);
    hl::pump(*display);
    for (auto _ : state) {
        window->getNativeWindow()->invalidate();
        hl::pump(*display);
    }
    window->recycle();
}
BENCHMARK(repaintWindowOf200Labels)->Unit(benchmark::kMicrosecond);

// Measuring 100 different captions, once shaped afresh each time and once from the cache.
void measureTexts(benchmark::State& state)
{
    const bool cached = state.range(0) != 0;
    std::vector<std::string> texts;
    for (int i = 0; i < 100; ++i)
        texts.push_back("C:\\Users\\Someone\\Documents\\report-" + std::to_string(i) + ".docx");
    Font font;
    font.setSizeCode(-2);
    text::TextEngine& engine = text::TextEngine::forThisThread();
    engine.setCacheEnabled(cached);
    for (const std::string& t : texts)
        engine.measure(t, font, text::Flow::SingleLine, 0);
    for (auto _ : state) {
        for (const std::string& t : texts)
            benchmark::DoNotOptimize(engine.measure(t, font, text::Flow::SingleLine, 0));
    }
    engine.setCacheEnabled(true);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
    state.SetLabel(cached ? "cached" : "uncached");
}
BENCHMARK(measureTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
