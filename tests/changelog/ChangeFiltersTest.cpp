#include "ChangeLogTestSupport.h"
#include "changelog/ChangeFilters.h"
#include "settings/RegMappedData.h"
#include "settings/RegistryStore.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace changelog_test;
using K = fa::ChangeKind;

TEST(OwningDrive, LongestMountPointOnAComponentBoundary)
{
    const std::vector<std::string> roots = {"/", "/home", "/home/u/data", "/mnt/a b", "/srv/"};
    const struct {
        const char* path;
        int owner;
    } cases[] = {
        {"/etc/passwd", 0},
        {"/", 0},
        {"/home", 1},
        {"/home/", 1},
        {"/home/u/f", 1},
        {"/homework/f", 0},
        {"/home/u/data", 2},
        {"/home/u/data/f", 2},
        {"/home/u/database", 1},
        {"/mnt/a b/c", 3},
        {"/mnt/a bc", 0},
        {"/srv/x", 4},
        {"relative/path", -1},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fa::owningDrive(roots, c.path), c.owner) << c.path;

    const std::vector<std::string> watched = {"/tmp/w"};
    EXPECT_EQ(fa::owningDrive(watched, "/tmp/w/x"), 0);
    EXPECT_EQ(fa::owningDrive(watched, "/tmp/wx"), -1);
    EXPECT_EQ(fa::owningDrive(watched, "/tmp"), -1);
}

TEST(FilterSnapshot, VisibleWhenItsKindAndItsOwnDriveAreOn)
{
    const std::vector<std::string> roots = {"/", "/home"};
    const struct {
        std::vector<char> drives;
        fa::KindFlags kinds;
        K kind;
        const char* path;
        bool visible;
    } cases[] = {
        {{1, 1}, {}, K::Created, "/home/f", true},
        {{1, 0}, {}, K::Created, "/home/f", false},
        {{0, 1}, {}, K::Created, "/etc/f", false},
        {{0, 1}, {}, K::Created, "/homework", false},
        {{1, 1}, {true, true, true, false}, K::RenamedFrom, "/etc/f", false},
        {{1, 1}, {true, true, true, false}, K::RenamedTo, "/etc/f", false},
        {{1, 1}, {true, true, false, true}, K::Written, "/etc/f", false},
        {{1, 1}, {false, true, true, true}, K::Created, "/etc/f", false},
        {{1, 1}, {true, false, true, true}, K::Deleted, "/etc/f", false},
        {{1, 1}, {true, false, true, true}, K::Created, "/etc/f", true},
        {{1, 1}, {}, K::Written, "relative", false},
    };
    for (const auto& c : cases) {
        const fa::FilterSnapshot snapshot{c.drives, c.kinds};
        s::thread::PooledPtr<fa::Change> change(recordOf(c.kind, c.path));
        EXPECT_EQ(snapshot.isVisible(roots, *change), c.visible) << c.path << " kind " << static_cast<int>(c.kind);
    }
}

// Through the user's settings store as the program keeps it: a file read back by a fresh store.
TEST(ChangeFiltersSettings, DriveKeysAreWholeMountPointsAndMissingOnesMeanOn)
{
    constexpr const char* kBase = "Software\\Quillon\\Quillon Ostrel\\SaveData";
    s::testing::TempFolder folder;
    const std::string file = folder.file("settings.xml");
    {
        s::reg::win::RegistryStore store(file);
        const auto settings = s::reg::MappedData::open(store, kBase);
        ASSERT_TRUE(settings->setS32("View", "/home", 0));
        ASSERT_TRUE(settings->setBool("View", "Written", false));

        fa::ChangeFilters filters({"/", "/home", "/mnt/data"});
        filters.load(*settings);
        const fa::FilterSnapshot loaded = filters.snapshot();
        EXPECT_EQ(loaded.driveEnabled, (std::vector<char>{1, 0, 1}));
        EXPECT_EQ(loaded.kinds, (fa::KindFlags{true, true, false, true}));
        EXPECT_FALSE(filters.hasChanges()) << "loading is not a change";

        filters.setDriveEnabled(2, false, settings.get());
        filters.setDriveEnabled(1, true, settings.get());
        std::vector<char> drives;
        ASSERT_TRUE(filters.takeDriveChange(drives));
        EXPECT_EQ(drives, (std::vector<char>{1, 1, 0}));
        EXPECT_FALSE(filters.takeDriveChange(drives)) << "the mark is taken once";

        filters.setKindFlags({false, true, true, false}, settings.get());
        fa::KindFlags kinds;
        ASSERT_TRUE(filters.takeKindChange(kinds));
        EXPECT_EQ(kinds, (fa::KindFlags{false, true, true, false}));
        EXPECT_FALSE(filters.hasChanges());

        filters.setDriveEnabled(7, false, settings.get());
        EXPECT_FALSE(filters.hasChanges()) << "a drive that is not in the list changes nothing";
    }
    s::reg::win::RegistryStore store(file);
    const auto settings = s::reg::MappedData::open(store, kBase);
    EXPECT_EQ(settings->getS32("View", "/mnt/data", -1), 0);
    EXPECT_EQ(settings->getS32("View", "/home", -1), 1);
    EXPECT_FALSE(settings->hasValue("View", "/")) << "an untouched drive writes nothing";
    EXPECT_FALSE(settings->getBool("View", "Created", true));
    EXPECT_TRUE(settings->getBool("View", "Deleted", false));
    EXPECT_TRUE(settings->getBool("View", "Written", false));
    EXPECT_FALSE(settings->getBool("View", "Renamed", true));

    fa::ChangeFilters again({"/", "/home", "/mnt/data"});
    again.load(*settings);
    EXPECT_EQ(again.snapshot().driveEnabled, (std::vector<char>{1, 1, 0}));
}

}  // namespace
