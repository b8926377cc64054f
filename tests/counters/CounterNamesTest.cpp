#include "counters/CounterNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace s::system::counter {
namespace {

// A system on which the given probe paths exist; it records what it was asked.
struct FakeSystem {
    std::set<std::string> existing;
    std::vector<std::string> probed;
    int rebuilds = 0;
    int repairs = 0;
    // Paths that exist once the registration has been rebuilt.
    std::set<std::string> existingAfterRebuild;

    NameResolution resolution()
    {
        return NameResolution{
            [this](const std::string& path) {
                probed.push_back(path);
                return existing.count(path) != 0;
            },
            [this] {
                ++rebuilds;
                existing.insert(existingAfterRebuild.begin(), existingAfterRebuild.end());
                return false;
            },
            [this] { ++repairs; },
        };
    }
};

struct DiskPaths {
    std::string read;
    std::string write;
    std::string busy;
};

DiskPaths diskPaths(const CounterNames& names)
{
    return {names.diskTotalPath(kDiskReadBytes), names.diskTotalPath(kDiskWriteBytes), names.diskTotalPath(kDiskTime)};
}

TEST(CounterNamesTest, NamesAreEmptyBeforeResolution)
{
    CounterNames names;
    for (int entry = 0; entry <= kNameEntryCount + 1; ++entry)
        EXPECT_EQ(names.get(entry), "") << entry;
}

TEST(CounterNamesTest, FirstExistingProbeDecidesTheDiskPaths)
{
    const std::string english = "\\Process(_Total)\\% Processor Time";
    const std::string german = "\\Prozess(_Total)\\Prozessorzeit (%)";
    const std::string lastIndexes = "\\230(_Total)\\?";
    struct Case {
        const char* system;
        std::set<std::string> existing;
        size_t probed;
        DiskPaths paths;
    };
    const Case cases[] = {
        {"English", {english, german}, 1,
         {"\\PhysicalDisk(_Total)\\Disk Read Bytes/sec", "\\PhysicalDisk(_Total)\\Disk Write Bytes/sec",
          "\\PhysicalDisk(_Total)\\% Disk Time"}},
        {"German", {german}, 2,
         {"\\Physikalischer Datenträger(_Total)\\Bytes gelesen/s",
          "\\Physikalischer Datenträger(_Total)\\Bytes geschrieben/s", "\\Physikalischer Datenträger(_Total)\\Zeit (%)"}},
        {"indexes only", {lastIndexes}, 36, {"\\234(_Total)\\220", "\\234(_Total)\\222", "\\234(_Total)\\200"}},
    };
    for (const Case& c : cases) {
        FakeSystem system;
        system.existing = c.existing;
        CounterNames names;
        bool retry = true;
        resolveCounterNames(names, retry, system.resolution());

        ASSERT_EQ(system.probed.size(), c.probed) << c.system;
        for (size_t probe = 1; probe <= c.probed; ++probe)
            EXPECT_EQ(system.probed[probe - 1], probePath(static_cast<int>(probe))) << c.system;
        const DiskPaths paths = diskPaths(names);
        EXPECT_EQ(paths.read, c.paths.read) << c.system;
        EXPECT_EQ(paths.write, c.paths.write) << c.system;
        EXPECT_EQ(paths.busy, c.paths.busy) << c.system;
        EXPECT_TRUE(retry) << c.system;
        EXPECT_EQ(system.rebuilds, 0) << c.system;
    }
}

TEST(CounterNamesTest, NoProbeMatchingTwiceRebuildsOnceAndKeepsTheEnglishNames)
{
    FakeSystem system;
    CounterNames names;
    bool retry = true;
    resolveCounterNames(names, retry, system.resolution());

    EXPECT_EQ(system.rebuilds, 1);
    EXPECT_EQ(system.repairs, 1);
    EXPECT_EQ(system.probed.size(), 72u);
    EXPECT_FALSE(retry);
    EXPECT_EQ(diskPaths(names).read, "\\PhysicalDisk(_Total)\\Disk Read Bytes/sec");

    // The rebuild is tried once per process, however often names are resolved.
    resolveCounterNames(names, retry, system.resolution());
    EXPECT_EQ(system.rebuilds, 1);
    EXPECT_EQ(system.probed.size(), 108u);
}

TEST(CounterNamesTest, ProbingAfterTheRebuildTakesTheNamesThatThenExist)
{
    FakeSystem system;
    system.existingAfterRebuild = {"\\Proces(_Total)\\Czas procesora (%)"};
    CounterNames names;
    bool retry = true;
    resolveCounterNames(names, retry, system.resolution());

    EXPECT_EQ(system.rebuilds, 1);
    EXPECT_EQ(diskPaths(names).busy, "\\Dysk fizyczny(_Total)\\Czas dysku (%)");
}

TEST(CounterNamesTest, EveryProbeSelectsItsLanguagesDiskNames)
{
    struct Case {
        int probe;
        const char* object;
        const char* read;
        const char* write;
        const char* time;
    };
    const Case cases[] = {
        {3, "Fysieke schijf", "Schijfleesbewerkingen in bytes per seconde", "Schijfschrijfbewerkingen in bytes per seconde",
         "Percentage schijftijd"},
        {8, "Disco fisico", "Byte letti da disco/sec", "Byte scritti su disco/sec", "% Tempo disco"},
        {9, "Disque physique", "Lectures disque, octets/s", "Ecritures disque, octets/s", "% Temps du disque"},
        {11, "Disque physique", "Lectures disque, octets/s", "Écritures disque, octets/s", "Pourcentage du temps disque"},
        {13, "Физический диск", "Скорость чтения с диска (байт/сек)", "Скорость записи на диск (байт/сек)",
         "% активности диска"},
        {22, "FizikselDisk", "Disk Okuma Bayt/sn", "Disk Yazma Bayt/sn", "% Disk Zamanı"},
        {27, "قرص فعلي", "وحدات البايت المقروءة من القرص/الثانية", "وحدات البايت المكتوبة إلى القرص/الثانية",
         "% لزمن القرص"},
        {31, "PhysicalDisk", "Bytes de leitura de disco/segundo", "Bytes de gravação de disco/s", "% tempo de disco"},
        {34, "Disco físico", "Bytes lidos de disco/seg", "Bytes escritos em disco/seg", "% tempo de disco"},
        {35, "234", "220", "222", "200"},
    };
    for (const Case& c : cases) {
        const NameSet set = nameSetForProbe(c.probe);
        EXPECT_EQ(set[kPhysicalDiskObject - 1], c.object) << c.probe;
        EXPECT_EQ(set[kDiskReadBytes - 1], c.read) << c.probe;
        EXPECT_EQ(set[kDiskWriteBytes - 1], c.write) << c.probe;
        EXPECT_EQ(set[kDiskTime - 1], c.time) << c.probe;
    }
    EXPECT_EQ(nameSetForProbe(35)[kProcessorTime - 1], "6");
    EXPECT_EQ(nameSetForProbe(36)[kProcessorTime - 1], "?");
    EXPECT_EQ(nameSetForProbe(36)[kProcessObject - 1], "230");
    EXPECT_EQ(nameSetForProbe(36)[kElapsedTime - 1], "684");
    EXPECT_EQ(nameSetForProbe(1)[kProcessorObject - 1], "Processor");
    EXPECT_EQ(nameSetForProbe(1)[kElapsedTime - 1], "Elapsed Time");
    EXPECT_EQ(nameSetForProbe(2)[kProcessorObject - 1], "");

    std::set<std::string_view> paths;
    for (int probe = 1; probe <= kProbeCount; ++probe) {
        ASSERT_FALSE(probePath(probe).empty()) << probe;
        paths.insert(probePath(probe));
    }
    EXPECT_EQ(paths.size(), static_cast<size_t>(kProbeCount));
    EXPECT_TRUE(probePath(0).empty());
    EXPECT_TRUE(probePath(kProbeCount + 1).empty());
}

}  // namespace
}  // namespace s::system::counter
