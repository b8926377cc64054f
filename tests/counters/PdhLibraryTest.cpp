#include "counters/PdhLibrary.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::system::counter {
namespace {

struct Notices {
    std::vector<std::string> texts;
    UserNotice notice()
    {
        return [this](const std::string& text) { texts.push_back(text); };
    }
};

bool allNull(const platform::perf::EntryPoints& pdh)
{
    return pdh.openQuery == nullptr && pdh.closeQuery == nullptr && pdh.collectQueryData == nullptr &&
           pdh.getFormattedCounterValue == nullptr && pdh.addCounter == nullptr && pdh.validatePath == nullptr;
}

TEST(PdhLibraryTest, MissingModuleTellsTheUserOnceAndLeavesEveryEntryPointNull)
{
    s::testing::TempFolder empty;
    system::win::DllLocater locater(empty.string());
    Notices notices;
    PdhLibrary library(locater, notices.notice());

    EXPECT_TRUE(allNull(library.load()));
    EXPECT_TRUE(allNull(library.load()));
    EXPECT_EQ(notices.texts, std::vector<std::string>{"Failed to Load Pdh.dll!!\nError Code - 2"});
}

TEST(PdhLibraryTest, FileThatIsNoModuleFollowsTheSameFailurePath)
{
    s::testing::TempFolder folder;
    folder.write(platform::perf::providerModuleFileName(), "not a module");
    system::win::DllLocater locater(folder.string());
    Notices notices;
    PdhLibrary library(locater, notices.notice());

    EXPECT_TRUE(allNull(library.load()));
    EXPECT_EQ(notices.texts, std::vector<std::string>{"Failed to Load Pdh.dll!!\nError Code - 8"});
}

TEST(PdhLibraryTest, BuiltModuleResolvesEveryEntryPoint)
{
    system::win::DllLocater locater(OSTREL_PROVIDER_FOLDER);
    Notices notices;
    PdhLibrary library(locater, notices.notice());

    const platform::perf::EntryPoints& pdh = library.load();
    EXPECT_TRUE(pdh.isComplete());
    EXPECT_TRUE(notices.texts.empty());
    EXPECT_EQ(pdh.validatePath("\\PhysicalDisk(_Total)\\% Disk Time"), platform::perf::kSuccess);
    EXPECT_EQ(pdh.validatePath("\\PhysicalDisk(_Total)\\Zeit (%)"), platform::perf::kNoCounter);
}

TEST(PdhLibraryTest, LocaterLoadsEachModuleOnceAndOnlyFromItsFolder)
{
    system::win::DllLocater locater(OSTREL_PROVIDER_FOLDER);
    unsigned error = 0;
    void* first = locater.load(platform::perf::providerModuleFileName(), error);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(locater.load(platform::perf::providerModuleFileName(), error), first);
    for (const char* name : {"", "../libostrel_pdh.so", "/usr/lib/libostrel_pdh.so"}) {
        EXPECT_EQ(locater.load(name, error), nullptr) << name;
        EXPECT_EQ(error, 2u) << name;
    }
}

}  // namespace
}  // namespace s::system::counter
