#include "archive/Archive.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using s::archive::ResourceRecord;
using s::archive::dll::win::Archive;

const unsigned char kFirst[] = {1, 2, 3};
const unsigned char kSecond[] = {4, 5};
const ResourceRecord kRecords[] = {
    {"IDR_XML", 130, kFirst, sizeof(kFirst)},
    {"IDR_JPG", 130, kSecond, sizeof(kSecond)},
    {"#14", 128, kSecond, 0},
};

struct ArchiveTest : testing::Test {
    s::thread::PooledPtr<Archive> archive{s::thread::take<Archive>()};
};

TEST_F(ArchiveTest, FindsByTypeNameIgnoringCaseAndByNumber)
{
    archive->open({kRecords, std::size(kRecords)});
    struct Case {
        const char* type;
        int id;
        const ResourceRecord* expected;
    };
    const Case cases[] = {
        {"IDR_XML", 130, &kRecords[0]}, {"idr_xml", 130, &kRecords[0]}, {"IDR_JPG", 130, &kRecords[1]},
        {"IDR_XML", 131, nullptr},      {"IDR_XM", 130, nullptr},       {"IDR_XMLX", 130, nullptr},
        {"#14", 128, &kRecords[2]},     {"", 130, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(archive->findResource(c.type, c.id), c.expected) << c.type << " " << c.id;
}

TEST_F(ArchiveTest, ReadsBytesAndGivesNothingForAbsentOrEmptyResources)
{
    archive->open({kRecords, std::size(kRecords)});
    auto bytes = archive->readResource("IDR_JPG", 130);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.end()), (std::vector<unsigned char>{4, 5}));
    EXPECT_TRUE(archive->readResource("IDR_JPG", 999).empty());
    EXPECT_TRUE(archive->readResource("#14", 128).empty());
    EXPECT_NE(archive->findResource("#14", 128), nullptr);
}

TEST_F(ArchiveTest, ClosedOrResetArchiveHasNothing)
{
    archive->open({kRecords, std::size(kRecords)});
    archive->reset();
    EXPECT_EQ(archive->getResourceCount(), 0u);
    EXPECT_EQ(archive->findResource("IDR_XML", 130), nullptr);
    archive->open({nullptr, 5});
    EXPECT_EQ(archive->getResourceCount(), 0u);
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The build step must embed every resource file byte for byte under its type and number.
TEST_F(ArchiveTest, ExecutableHoldsEveryResourceFileUnderItsTypeAndNumber)
{
    ASSERT_TRUE(archive->openExecutable());
    namespace r = s::resources;
    struct Case {
        const char* type;
        int id;
        const char* file;
    };
    const Case cases[] = {
        {r::kPackType, r::kPackId, "/resources/lang.xml"},
        {r::kImageType, r::kWideTextureId, "/resources/images/texture-wide.jpg"},
        {r::kImageType, r::kTallTextureId, "/resources/images/texture-tall.jpg"},
        {r::kGroupIconType, r::kApplicationIconId, "/resources/icons/ostrel.ico"},
    };
    EXPECT_EQ(archive->getResourceCount(), std::size(cases));
    for (const Case& c : cases) {
        std::vector<unsigned char> expected = readFile(std::string(OSTREL_SOURCE_DIR) + c.file);
        ASSERT_FALSE(expected.empty()) << c.file;
        auto bytes = archive->readResource(c.type, c.id);
        EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.end()), expected) << c.file;
        // The embedded data is followed by a zero byte that is not counted.
        ASSERT_NE(archive->findResource(c.type, c.id), nullptr);
        EXPECT_EQ(bytes.data()[bytes.size()], 0) << c.file;
    }
}

}  // namespace
