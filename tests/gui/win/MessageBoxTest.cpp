#include "RecordingProc.h"
#include "gui/win/DisplayCheck.h"
#include "gui/win/MessageBox.h"
#include "gui/win/UIThread.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/x11/X11WindowSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

using namespace s::platform;
using namespace s::gui::win;
using s::platform::testing::RecordingProc;
namespace hl = s::platform::headless;

class OwnerWindow final : public IUiWindow {
public:
    bool createNativeWindows(Display& display) override
    {
        WindowParams params;
        params.bounds = Rect::fromSize(100, 100, 600, 400);
        NativeWindow* window = display.createWindow(params, &proc);
        window->show(SW_SHOW);
        id = window->id();
        return true;
    }
    RecordingProc proc{{WM_ENABLE}};
    std::atomic<WindowId> id{0};
};

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        thread.start(&system);
        thread.setWindow(&owner);
        ASSERT_TRUE(thread.waitUntilRunning());
    }

    // Waits until the box is the active window of the owner's thread; returns its bounds.
    Rect waitForBox()
    {
        Rect bounds;
        for (int i = 0; i < 500; ++i) {
            invoke(owner.id, [&] {
                NativeWindow* active = currentDisplay()->activeWindow();
                if (active != nullptr && active->id() != owner.id)
                    bounds = active->bounds();
            });
            if (!bounds.isEmpty())
                return bounds;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "no message box appeared";
        return bounds;
    }

    hl::HeadlessWindowSystem system;
    OwnerWindow owner;
    UIThread thread;
};

struct KeyCase {
    const char* name;
    MessageBoxKind kind;
    int key;
    bool answer;
};

class MessageBoxKeyTest : public MessageBoxTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MessageBoxKeyTest, AnswersByKeyFromAnotherThread)
{
    const KeyCase& c = GetParam();
    auto shown = std::async(std::launch::async, [&] { return showMessageBox(owner.id, "Save the log?", c.kind); });
    waitForBox();
    hl::pressKey(*thread.display(), c.key);
    ASSERT_EQ(shown.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(shown.get(), c.answer);
}

INSTANTIATE_TEST_SUITE_P(Keys, MessageBoxKeyTest,
                         ::testing::Values(KeyCase{"QuestionEnterIsYes", MessageBoxKind::Question, VK_RETURN, true},
                                           KeyCase{"QuestionN", MessageBoxKind::Question, 'N', false},
                                           KeyCase{"QuestionY", MessageBoxKind::Question, 'Y', true},
                                           KeyCase{"InformationEscape", MessageBoxKind::Information, VK_ESCAPE, true},
                                           KeyCase{"ErrorEnter", MessageBoxKind::Error, VK_RETURN, true}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(MessageBoxTest, IsModalToItsOwnerAndAnswersNoByItsButton)
{
    auto shown = std::async(std::launch::async, [&] {
        return showMessageBox(owner.id, "Delete every row?", MessageBoxKind::Question);
    });
    const Rect box = waitForBox();
    // Centred over the owner.
    EXPECT_NEAR((box.left + box.right) / 2, 400, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, 300, 1);

    bool ownerEnabled = true;
    invoke(owner.id, [&] { ownerEnabled = currentDisplay()->findWindow(owner.id)->isEnabled(); });
    EXPECT_FALSE(ownerEnabled);

    // Escape and the desktop's close leave a question open; a click on No (bottom right) ends it.
    hl::pressKey(*thread.display(), VK_ESCAPE);
    hl::click(*thread.display(), 1, {box.right - 16 - 40, box.bottom - 16 - 13});
    ASSERT_EQ(shown.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(shown.get());
    invoke(owner.id, [&] { ownerEnabled = currentDisplay()->findWindow(owner.id)->isEnabled(); });
    EXPECT_TRUE(ownerEnabled);
}

TEST_F(MessageBoxTest, DrawsItsTextAndButtons)
{
    auto shown = std::async(std::launch::async, [&] {
        return showMessageBox(owner.id, "Window Creation Failed!", MessageBoxKind::Error);
    });
    const Rect box = waitForBox();
    int dark = 0;
    int red = 0;
    // Counted once the box has presented its background.
    for (int attempt = 0; attempt < 500 && red == 0; ++attempt) {
        invoke(owner.id, [&] {
            NativeWindow* w = currentDisplay()->activeWindow();
            if (hl::presentedPixel(*w, 2, 30) != 0xF0F0F0u)
                return;
            const Rect c = w->clientRect();
            for (int y = 26; y < c.height(); ++y) {
                for (int x = 0; x < c.width(); ++x) {
                    const std::uint32_t p = hl::presentedPixel(*w, x, y);
                    const int r = static_cast<int>(p >> 16), g = static_cast<int>((p >> 8) & 0xFF), b = static_cast<int>(p & 0xFF);
                    if (r < 80 && g < 80 && b < 80)
                        ++dark;  // text
                    if (r > 180 && g < 90 && b < 90)
                        ++red;  // the error mark
                }
            }
        });
        if (red == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GT(dark, 50);
    EXPECT_GT(red, 200);
    hl::pressKey(*thread.display(), VK_RETURN);
    EXPECT_TRUE(shown.get());
    (void)box;
}

TEST_F(MessageBoxTest, AnOwnerThatIsGoneAnswersAtOnce)
{
    EXPECT_FALSE(showMessageBox(WindowId{987654}, "nobody", MessageBoxKind::Information));
}

TEST(DisplayCheckTest, NoDisplayGivesOneLineNamingDisplayAndAFailureStatus)
{
    unsetenv("DISPLAY");
    char* text = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    EXPECT_EQ(checkDisplay(x11::windowSystem(), out), 1);
    std::fclose(out);
    const std::string line(text, size);
    free(text);
    EXPECT_EQ(line, "ostrel: cannot open the X display: DISPLAY is not set\n");

    hl::HeadlessWindowSystem headless;
    EXPECT_EQ(checkDisplay(headless, stderr), 0);
}

}  // namespace
