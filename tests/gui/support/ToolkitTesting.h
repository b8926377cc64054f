#pragma once

#include "foundation/IEventListener.h"
#include "gui/base/Colour.h"
#include "gui/component/Box.h"
#include "gui/component/Component.h"
#include "gui/component/Window.h"
#include "lang/Localizer.h"
#include "platform/Messages.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// Helpers for the toolkit's tests: a headless desktop on the test's thread, windows on it,
// recorded events, pixels and a component whose sizes a test sets.
namespace s::gui::testing {

namespace hl = platform::headless;

// Records every event it is told, in order.
class EventLog final : public events::IEventListener {
public:
    int onEvent(base::IObject* source, int code) override
    {
        m_events.emplace_back(source, code);
        return 0;
    }
    const std::vector<std::pair<base::IObject*, int>>& events() const { return m_events; }
    std::vector<int> codes() const
    {
        std::vector<int> all;
        for (const auto& e : m_events)
            all.push_back(e.second);
        return all;
    }
    void clear() { m_events.clear(); }

private:
    std::vector<std::pair<base::IObject*, int>> m_events;
};

// A leaf whose content sizes the test sets.
class Sized final : public win::Component {
public:
    static constexpr int kPoolCapacity = 64;
    Sized(int minWidth = 0, int minHeight = 0, int prefWidth = 0, int prefHeight = 0)
    {
        setContentSizes(minWidth, minHeight, prefWidth, prefHeight);
    }
    // Takes the point when set, like a widget that reacts to the pointer.
    bool opaque = false;
    std::vector<unsigned> messages;
    int hitTest(platform::Point) const override { return opaque ? platform::HTCLIENT : platform::HTTRANSPARENT; }
    platform::LResult handleMessage(unsigned code, platform::WParam w, platform::LParam l) override
    {
        messages.push_back(code);
        return Component::handleMessage(code, w, l);
    }
    void setPercent(int width, int height)
    {
        storePercentWidth(width);
        storePercentHeight(height);
    }
    void setFixed(int width, int height)
    {
        storeFixedWidth(width);
        storeFixedHeight(height);
    }
    const char* getClassName() const override { return "s_gui_testing_Sized"; }
    base::IObject* newInstance() const override { return new Sized(); }
    void recycle() override { delete this; }
    void reset() override {}
};

// A headless desktop with one display on the test's thread.
class HeadlessDesk : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        display = system.openDisplay(&error);
        ASSERT_NE(display, nullptr) << error;
    }
    void TearDown() override
    {
        for (win::Window* w : m_windows)
            w->recycle();
        m_windows.clear();
        display.reset();
    }

    // A shown window with the given bounds, made on this thread.
    win::Window* openWindow(platform::Rect bounds = platform::Rect::fromSize(100, 100, 400, 300))
    {
        win::Window* window = thread::take<win::Window>();
        window->setBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
        EXPECT_TRUE(window->createIn(*display));
        window->show(platform::SW_SHOW);
        pump();
        m_windows.push_back(window);
        return window;
    }

    // A shown window holding the widget in a full-size column with the given alignment; the
    // column is returned in *column.
    template <class W>
    W* place(W* widget, platform::Rect bounds = platform::Rect::fromSize(0, 0, 300, 100), int hAlign = 0,
             int vAlign = 0, win::Box** column = nullptr)
    {
        win::Window* window = openWindow(bounds);
        win::Box* root = win::makeBox(100, 100, hAlign, vAlign, -1, -1, -1, -1, layout::kVertical);
        root->add(widget);
        window->add(root);
        pump();
        if (column != nullptr)
            *column = root;
        return widget;
    }

    void pump() { hl::pump(*display); }
    void advance(int ms) { hl::advance(*display, ms); }

    // The screen point of a component's local point.
    static platform::Point screenOf(const win::Component& c, int x, int y)
    {
        return {c.getScreenX() + x, c.getScreenY() + y};
    }
    void click(const win::Component& c, int x, int y)
    {
        const platform::Point p = screenOf(c, x, y);
        hl::movePointer(*display, p);
        hl::click(*display, 1, p);
        pump();
    }
    void hover(const win::Component& c, int x, int y)
    {
        hl::movePointer(*display, screenOf(c, x, y));
        pump();
    }

    // The colour presented at a window point, as 0xRRGGBB.
    static std::uint32_t pixel(win::Window& w, int x, int y) { return hl::presentedPixel(*w.getNativeWindow(), x, y); }
    static std::uint32_t pixelOf(const win::Component& c, int x, int y)
    {
        const platform::Rect r = c.windowRect();
        return hl::presentedPixel(*c.getWindow()->getNativeWindow(), r.left + x, r.top + y);
    }
    // How many pixels of the component's rectangle show the colour (each channel within
    // tolerance of it: thin glyph strokes are rarely covered whole).
    static int countOf(const win::Component& c, Colour colour, int tolerance = 0)
    {
        const platform::Rect r = c.windowRect();
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                const std::uint32_t p = hl::presentedPixel(*c.getWindow()->getNativeWindow(), x, y);
                const auto near = [&](int shift) {
                    const int a = static_cast<int>((p >> shift) & 0xFF);
                    const int b = static_cast<int>((toRgbHex(colour) >> shift) & 0xFF);
                    return a - b <= tolerance && b - a <= tolerance;
                };
                if (near(0) && near(8) && near(16))
                    ++count;
            }
        }
        return count;
    }

    hl::HeadlessWindowSystem system;
    std::unique_ptr<platform::Display> display;

private:
    std::vector<win::Window*> m_windows;
};

// A localizer whose languages carry the given texts by id.
struct LanguageTexts {
    std::string tag;
    std::string englishName;
    std::vector<std::pair<int, std::string>> texts;
};

inline thread::PooledPtr<lang::Localizer> makeLocalizer(const std::vector<LanguageTexts>& languages)
{
    thread::PooledPtr<lang::Localizer> localizer(thread::take<lang::Localizer>());
    localizer->setSystemLanguageName(languages.empty() ? "" : languages.front().englishName);
    for (const LanguageTexts& l : languages) {
        lang::LangPack* pack = thread::take<lang::LangPack>();
        pack->setNames(l.tag, l.englishName, l.englishName);
        for (const auto& [id, text] : l.texts)
            pack->appendText(id, text);
        localizer->appendLanguage(pack);
    }
    return localizer;
}

}  // namespace s::gui::testing
