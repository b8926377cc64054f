#include "app/WatchList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

TEST(WatchList, AbsoluteNormalisedOnceAndNotInsideAnother)
{
    s::testing::TempFolder dir;
    const std::string base = dir.path().string();
    std::filesystem::create_directories(dir.path() / "a/inner");
    std::filesystem::create_directories(dir.path() / "ab");
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());

    std::FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    const std::vector<std::string> roots =
        s::app::watchListOf({"a/", base + "/a", base + "//ab/", "./a/inner/..", base + "/a/inner", "missing"}, report);
    std::filesystem::current_path(saved);

    EXPECT_EQ(roots, (std::vector<std::string>{base + "/a", base + "/ab", base + "/missing"}));
    std::rewind(report);
    char text[512] = {};
    std::fread(text, 1, sizeof text - 1, report);
    std::fclose(report);
    EXPECT_NE(std::string(text).find(base + "/a/inner is watched as part of"), std::string::npos) << text;
}

}  // namespace
