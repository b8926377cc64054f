#include "counters/CounterRegistration.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace s::system::counter {
namespace {

using namespace std::string_literals;

// A registry in memory that records what was written.
class FakeStore final : public IRegistrationStore {
public:
    std::map<std::pair<std::string, std::string>, std::uint32_t> dwords;
    std::map<std::string, std::string> performanceData;
    std::vector<std::string> sizeQueries;
    std::vector<std::pair<std::string, std::uint32_t>> writes;  // "key|value name", value
    bool readsFail = false;

    bool readMachineDword(std::string_view key, std::string_view name, std::uint32_t& value) override
    {
        const auto found = dwords.find({std::string(key), std::string(name)});
        if (found == dwords.end())
            return false;
        value = found->second;
        return true;
    }
    bool writeMachineDword(std::string_view key, std::string_view name, std::uint32_t value) override
    {
        writes.emplace_back(std::string(key) + "|" + std::string(name), value);
        dwords[{std::string(key), std::string(name)}] = value;
        return true;
    }
    bool queryPerformanceDataSize(std::string_view name, std::size_t& bytes) override
    {
        sizeQueries.emplace_back(name);
        const auto found = performanceData.find(std::string(name));
        if (found == performanceData.end())
            return false;
        bytes = found->second.size();
        return true;
    }
    bool readPerformanceData(std::string_view name, std::size_t bytes, std::string& data) override
    {
        if (readsFail)
            return false;
        data = performanceData.at(std::string(name)).substr(0, bytes);
        return true;
    }
};

const std::string kPerflib(kPerflibKey);
const std::string kPerfDisk = "SYSTEM\\CurrentControlSet\\Services\\Perfdisk\\Performance";

TEST(CounterRegistrationTest, DisabledCountersAreTurnedBackOnAndOthersAreLeftAlone)
{
    FakeStore store;
    store.dwords[{kPerfDisk, "Disable Performance Counters"}] = 1;
    store.dwords[{"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Performance", "Disable Performance Counters"}] = 0;
    repairCounterRegistration(store, 9);

    ASSERT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(store.writes[0].first, kPerfDisk + "|Disable Performance Counters");
    EXPECT_EQ(store.writes[0].second, 0u);
}

TEST(CounterRegistrationTest, LastCounterAndLastHelpAreRaisedToTheLargestIndexOfTheirLists)
{
    struct Case {
        const char* name;
        std::string counters;
        std::uint32_t lastCounter;
        std::vector<std::pair<std::string, std::uint32_t>> expectedWrites;
    };
    const Case cases[] = {
        {"raised", "1\0" "1847\0" "2\0System\0" "1846\0Memory\0\0"s, 1000, {{kPerflib + "|Last Counter", 1846}}},
        {"equal is not written", "1\0" "1847\0" "1846\0Memory\0\0"s, 1846, {}},
        {"larger is not lowered", "1\0" "1847\0" "1846\0Memory\0\0"s, 5000, {}},
        {"odd number of texts", "1\0" "1847\0" "1846\0\0"s, 0, {}},
        {"one text", "4000\0\0"s, 0, {}},
        {"texts that are no numbers", "x\0a\0" "12a\0b\0" "-5\0c\0" "99999999999\0d\0" "30\0e\0\0"s, 0,
         {{kPerflib + "|Last Counter", 30}}},
        {"missing final terminator", "7\0seven\0" "9\0nine"s, 0, {{kPerflib + "|Last Counter", 9}}},
    };
    for (const Case& c : cases) {
        FakeStore store;
        store.performanceData["Counter 9"] = c.counters;
        store.dwords[{kPerflib, "Last Counter"}] = c.lastCounter;
        repairCounterRegistration(store, 9);
        EXPECT_EQ(store.writes, c.expectedWrites) << c.name;
    }
}

TEST(CounterRegistrationTest, ListsAreLookedForUnderTheLanguageNumberThenTheCurrentLanguageThenEnglish)
{
    FakeStore store;
    store.performanceData["Counter CurrentLanguage"] = "1\0One\0" "20\0Twenty\0\0"s;
    store.performanceData["Counter 8"] = "1\0One\0" "900\0Nine hundred\0\0"s;
    store.performanceData["Help 8"] = "3\0Three\0" "41\0Forty-one\0\0"s;
    repairCounterRegistration(store, 7);

    EXPECT_EQ(store.sizeQueries, (std::vector<std::string>{"Counter 7", "Counter CurrentLanguage", "Help 7",
                                                           "Help CurrentLanguage", "Help 8"}));
    EXPECT_EQ(store.writes, (std::vector<std::pair<std::string, std::uint32_t>>{{kPerflib + "|Last Counter", 20},
                                                                                 {kPerflib + "|Last Help", 41}}));
}

TEST(CounterRegistrationTest, AListWhoseSizeIsKnownButThatCannotBeReadEndsTheSearch)
{
    FakeStore store;
    store.performanceData["Counter 9"] = "5\0Five\0\0"s;
    store.performanceData["Counter 8"] = "1\0One\0" "900\0Nine hundred\0\0"s;
    store.readsFail = true;
    repairCounterRegistration(store, 9);
    EXPECT_EQ(store.sizeQueries, (std::vector<std::string>{"Counter 9", "Help 9", "Help CurrentLanguage", "Help 8"}));
    EXPECT_TRUE(store.writes.empty());
}

TEST(CounterRegistrationTest, MultiStringsSplitUpToTheEmptyText)
{
    struct Case {
        std::string data;
        std::vector<std::string_view> texts;
    };
    const Case cases[] = {
        {""s, {}},
        {"\0\0"s, {}},
        {"a\0\0"s, {"a"}},
        {"a\0bc\0\0ignored\0\0"s, {"a", "bc"}},
        {"a\0bc"s, {"a", "bc"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitMultiString(c.data), c.texts) << c.data.size();
}

}  // namespace
}  // namespace s::system::counter
