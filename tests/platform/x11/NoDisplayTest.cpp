#include "platform/x11/X11WindowSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(NoDisplayTest, OpeningWithoutADisplayNamesDisplayInOneLine)
{
    const char* const cases[] = {nullptr, "", ":987"};  // unset, empty, no server there
    for (const char* value : cases) {
        if (value == nullptr)
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", value, 1);
        std::string error;
        EXPECT_EQ(s::platform::x11::windowSystem().openDisplay(&error), nullptr);
        const std::string reason = s::platform::x11::probeDisplay();
        EXPECT_EQ(reason, error);
        EXPECT_NE(reason.find("DISPLAY"), std::string::npos) << reason;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
    }
}

}  // namespace
