#include "counters/CounterLanguage.h"

#include <gtest/gtest.h>

namespace s::system::counter {
namespace {

TEST(CounterLanguageTest, NumberFollowsTheLanguageAndTheSystemVersion)
{
    struct Case {
        std::optional<platform::SystemVersion> version;
        std::uint16_t language;
        std::uint16_t number;
    };
    const platform::SystemVersion xp{5, 1, 2600};
    const platform::SystemVersion win2000{5, 0, 2195};
    const platform::SystemVersion vista{6, 0, 6000};
    const platform::SystemVersion oldBuild{6, 0, 5};
    const Case cases[] = {
        {std::nullopt, 0x0409, 0},
        {vista, 0x0409, 9},       // English (United States)
        {vista, 0x0809, 9},       // English (United Kingdom)
        {vista, 0x0407, 7},       // German
        {vista, 0x0416, 0x0416},  // Portuguese (Brazil), whole identifier
        {vista, 0x0816, 0x0816},  // Portuguese (Portugal)
        {oldBuild, 0x0416, 0x16},
        {xp, 0x0804, 0x0804},     // Chinese (Simplified) on 5.1
        {win2000, 0x0804, 0x04},
        {vista, 0x0404, 0x04},
    };
    for (const Case& c : cases)
        EXPECT_EQ(counterLanguageNumber(c.version, c.language), c.number) << std::hex << c.language;
}

}  // namespace
}  // namespace s::system::counter
