#include "lang/TextIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// kAllTextIds is what the pack is checked against; a named identifier missing from it would
// escape that check.
TEST(TextIds, EveryNamedIdentifierIsInTheList)
{
    std::string header = readFile(std::filesystem::path(OSTREL_SOURCE_DIR) / "src/lang/TextIds.h");
    ASSERT_FALSE(header.empty());
    std::regex constant(R"(inline constexpr int (k\w+) = (\d+);)");
    int checked = 0;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), constant); it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[1];
        if (name.ends_with("Offset") || name.ends_with("Base"))
            continue;
        int value = std::stoi((*it)[2]);
        EXPECT_NE(std::find(s::lang::text::kAllTextIds.begin(), s::lang::text::kAllTextIds.end(), value),
                  s::lang::text::kAllTextIds.end())
            << name << " = " << value;
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(s::lang::text::kAllTextIds.size()));
}

// Texts are asked for by name (lang/TextIds.h), so that every identifier the code uses is one the
// pack is checked to have.
TEST(TextIds, NoSourceAsksForATextByALiteralNumber)
{
    std::regex literalLookup(R"((getText|getEnglishText)\s*\(\s*[0-9])");
    std::filesystem::path sources = std::filesystem::path(OSTREL_SOURCE_DIR) / "src";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sources)) {
        std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        ++files;
        std::istringstream lines(readFile(entry.path()));
        std::string line;
        for (int number = 1; std::getline(lines, line); ++number)
            EXPECT_FALSE(std::regex_search(line, literalLookup)) << entry.path().string() << ":" << number << ": " << line;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
