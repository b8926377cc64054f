#include "settings/XmlMappedData.h"

#include "platform/FileFaults.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace {

using s::platform::faults::FileStep;
using s::testing::readWhole;
using s::testing::TempFolder;
using s::testing::writeWhole;
using s::thread::PooledPtr;
using s::xml::MappedData;

class XmlMappedDataTest : public ::testing::Test {
protected:
    void TearDown() override { s::platform::faults::clearAll(); }

    PooledPtr<MappedData> open()
    {
        return MappedData::open(m_file, [this](const std::string& message) { m_reports.push_back(message); });
    }

    std::string written(const MappedData& store) const
    {
        std::string out;
        return store.document().writeTo(out);
    }

    TempFolder m_dir;
    std::string m_file = m_dir.file("savedata/SaveData.xml");
    std::vector<std::string> m_reports;
};

TEST_F(XmlMappedDataTest, ReadingAnEmptyStoreGivesFallbacksAndCreatesNothing)
{
    auto store = open();
    EXPECT_EQ(store->getS32("MainWindow\\View", "Width", 800), 800);
    EXPECT_TRUE(store->getBool("MainWindow\\View", "EasyDrag", true));
    EXPECT_EQ(store->getString("", "Skin", "Black Black II"), "Black Black II");
    EXPECT_FALSE(store->hasValue("MainWindow\\View", "X"));
    EXPECT_FALSE(store->selectPath("MainWindow"));
    EXPECT_EQ(written(*store), "<savedata></savedata>");
    EXPECT_FALSE(std::filesystem::exists(m_file));

    EXPECT_TRUE(store->setS32("MainWindow\\View", "Width", 1024));
    EXPECT_EQ(readWhole(m_file), "<savedata><MainWindow><View Width=\"1024\"></View></MainWindow></savedata>");
    EXPECT_EQ(open()->getS32("MainWindow\\View", "Width", 800), 1024);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(XmlMappedDataTest, EveryTypeIsWrittenInItsTextForm)
{
    auto store = open();
    store->setAutoSave(false);
    store->setU8("T", "u8", 200);
    store->setU16("T", "u16", 65535);
    store->setU32("T", "u32", 4000000000u);
    store->setU64("T", "u64", 18446744073709551615u);
    store->setS8("T", "s8", -5);
    store->setS16("T", "s16", -30000);
    store->setS32("T", "s32", -2);
    store->setS64("T", "s64", -9000000000);
    store->setFloat("T", "f", 2.5f);
    store->setDouble("T", "d", -1.25);
    store->setBool("T", "on", true);
    store->setBool("T", "off", false);
    store->setString("T", "s", "a<b & \"c\"");
    store->setString("T", "", "x > y");
    const std::uint8_t bytes[] = {0x00, 0xab, 0x10};
    store->setBytes("T", "bytes", bytes);
    EXPECT_FALSE(std::filesystem::exists(m_file));
    ASSERT_TRUE(store->save());

    EXPECT_EQ(readWhole(m_file),
              "<savedata><T u8=\"200\" u16=\"65535\" u32=\"4000000000\" u64=\"-1\" s8=\"-5\" s16=\"-30000\" "
              "s32=\"-2\" s64=\"-9000000000\" f=\"2.500000\" d=\"-1.250000\" on=\"1\" off=\"0\" "
              "s=\"a&lt;b &amp; &quot;c&quot;\" bytes=\"00ab10\">x&#160;&gt;&#160;y</T></savedata>");

    auto again = open();
    EXPECT_EQ(again->getU8("T", "u8", 0), 200);
    EXPECT_EQ(again->getU16("T", "u16", 0), 65535);
    EXPECT_EQ(again->getU32("T", "u32", 0), 4000000000u);
    EXPECT_EQ(again->getU64("T", "u64", 0), 18446744073709551615u);
    EXPECT_EQ(again->getS8("T", "s8", 0), -5);
    EXPECT_EQ(again->getS16("T", "s16", 0), -30000);
    EXPECT_EQ(again->getS32("T", "s32", 0), -2);
    EXPECT_EQ(again->getS64("T", "s64", 0), -9000000000);
    EXPECT_FLOAT_EQ(again->getFloat("T", "f", 0), 2.5f);
    EXPECT_DOUBLE_EQ(again->getDouble("T", "d", 0), -1.25);
    EXPECT_TRUE(again->getBool("T", "on", false));
    EXPECT_FALSE(again->getBool("T", "off", true));
    bool expanded = true;
    EXPECT_EQ(again->getString("T", "s", "", &expanded), "a<b & \"c\"");
    EXPECT_FALSE(expanded);
    EXPECT_EQ(again->getString("T", "", ""), "x > y");
    s::map::IMappedData::Bytes read{0x77};
    EXPECT_TRUE(again->getBytes("T", "bytes", read));
    EXPECT_EQ(read, (s::map::IMappedData::Bytes{0x77, 0x00, 0xab, 0x10}));
}

TEST_F(XmlMappedDataTest, RewritingAValueMovesItToTheEnd)
{
    writeWhole(m_dir.file("order.xml"),
               "<savedata><View EasyDrag=\"1\" KeepOnTop=\"0\" Maximized=\"0\"></View></savedata>");
    m_file = m_dir.file("order.xml");
    auto store = open();
    store->setBool("View", "keepontop", true);
    EXPECT_EQ(readWhole(m_file), "<savedata><View EasyDrag=\"1\" Maximized=\"0\" keepontop=\"1\"></View></savedata>");
    EXPECT_TRUE(store->getBool("View", "KeepOnTop", false));
}

TEST_F(XmlMappedDataTest, PathsMatchExactlyButTheCacheIgnoresCase)
{
    writeWhole(m_dir.file("case.xml"), "<savedata><View Width=\"5\"></View></savedata>");
    m_file = m_dir.file("case.xml");
    auto store = open();
    ASSERT_TRUE(store->selectPath("View"));
    EXPECT_TRUE(store->selectPath("view"));
    EXPECT_EQ(store->getS32("VIEW", "width", 0), 5);

    auto fresh = open();
    EXPECT_FALSE(fresh->selectPath("view"));
    EXPECT_EQ(fresh->getS32("view", "Width", 0), 0);
    EXPECT_EQ(fresh->getS32("View", "Width", 0), 5);
}

TEST_F(XmlMappedDataTest, SeparatorsAndEmptyComponents)
{
    auto store = open();
    store->setAutoSave(false);
    store->setS32("A/B\\C", "v", 1);
    EXPECT_EQ(store->getS32("A\\B/C", "v", 0), 1);
    store->setS32("D\\\\E", "v", 2);  // an empty component is an element with an empty name
    EXPECT_EQ(written(*store),
              "<savedata><A><B><C v=\"1\"></C></B></A><D><><E v=\"2\"></E></></D></savedata>");
    ASSERT_TRUE(store->save());
    EXPECT_EQ(open()->getS32("D\\\\E", "v", 0), 2);
}

TEST_F(XmlMappedDataTest, RemovingValuesAndGroups)
{
    auto store = open();
    store->setAutoSave(false);
    store->setS32("MainWindow\\View", "X", 1);
    store->setS32("MainWindow\\View", "Y", 2);
    store->setS32("MainWindow\\ChangesColumnOrder", "length", 6);
    store->setString("MainWindow", "", "text");

    EXPECT_TRUE(store->removeValue("MainWindow\\View", "x"));
    EXPECT_FALSE(store->hasValue("MainWindow\\View", "X"));
    EXPECT_TRUE(store->hasValue("MainWindow\\View", "Y"));
    EXPECT_FALSE(store->removeValue("MainWindow\\View", "X"));
    EXPECT_FALSE(store->removeValue("Nowhere", "X"));

    // The current group is inside the removed one: it must not be used afterwards.
    ASSERT_TRUE(store->selectPath("MainWindow\\View"));
    EXPECT_TRUE(store->removePath("MainWindow\\View"));
    EXPECT_FALSE(store->selectPath("MainWindow\\View"));
    EXPECT_EQ(store->getS32("MainWindow\\View", "Y", -1), -1);
    EXPECT_EQ(store->getS32("MainWindow\\ChangesColumnOrder", "length", 0), 6);
    EXPECT_FALSE(store->removePath("MainWindow\\View"));
    EXPECT_EQ(written(*store), "<savedata><MainWindow>text<ChangesColumnOrder length=\"6\"></ChangesColumnOrder>"
                               "</MainWindow></savedata>");

    EXPECT_TRUE(store->removePath(""));
    EXPECT_EQ(written(*store), "<savedata></savedata>");
}

TEST_F(XmlMappedDataTest, AutoSaveDecidesWhenTheFileIsWritten)
{
    auto store = open();
    EXPECT_TRUE(store->getAutoSave());
    store->setAutoSave(false);
    store->setString("", "Language", "German");
    EXPECT_FALSE(std::filesystem::exists(m_file));
    store->setAutoSave(true);  // switching on does not save by itself
    EXPECT_FALSE(std::filesystem::exists(m_file));
    store->setString("", "Skin", "Blue");
    EXPECT_EQ(open()->getString("", "Language", ""), "German");
}

TEST_F(XmlMappedDataTest, NamesThatWouldDamageTheDocumentAreRefused)
{
    auto store = open();
    EXPECT_FALSE(store->setS32("MainWindow\\View", "/media/My Disk", 1));
    EXPECT_FALSE(store->setS32("My Disk", "C", 1));
    EXPECT_FALSE(store->createPath("a=b"));
    EXPECT_TRUE(store->setS32("MainWindow\\View", "C", 1));
    auto again = open();
    EXPECT_EQ(again->getS32("MainWindow\\View", "C", 0), 1);
    EXPECT_FALSE(again->hasValue("MainWindow\\View", "/media/My Disk"));
}

TEST_F(XmlMappedDataTest, DuplicatedNamesInAFileDoNotShadowANewValue)
{
    writeWhole(m_dir.file("dup.xml"), "<savedata><View Width=\"1\" Width=\"2\"></View></savedata>");
    m_file = m_dir.file("dup.xml");
    auto store = open();
    EXPECT_EQ(store->getS32("View", "Width", 0), 1);
    store->setS32("View", "Width", 3);
    EXPECT_EQ(store->getS32("View", "Width", 0), 3);
    EXPECT_EQ(readWhole(m_file), "<savedata><View Width=\"3\"></View></savedata>");
}

TEST_F(XmlMappedDataTest, ADamagedFileIsMovedAsideOnceAndTheStoreStartsEmpty)
{
    const char* kDamaged[] = {
        "<savedata><View Width=\"1024\"",  // truncated
        "this is not XML",
        "",
        "<!-- only a comment -->",
    };
    for (const char* content : kDamaged) {
        m_reports.clear();
        std::filesystem::remove_all(m_dir.path() / "savedata");
        std::filesystem::create_directories(m_dir.path() / "savedata");
        writeWhole(m_file, content);
        auto store = open();
        EXPECT_EQ(store->getS32("View", "Width", 800), 800) << content;
        ASSERT_EQ(m_reports.size(), 1u) << content;
        EXPECT_NE(m_reports[0].find(m_file + ".broken"), std::string::npos) << m_reports[0];
        EXPECT_EQ(readWhole(m_file + ".broken"), content);
        EXPECT_TRUE(store->setS32("View", "Width", 640));
        EXPECT_EQ(open()->getS32("View", "Width", 0), 640);
        EXPECT_EQ(m_reports.size(), 1u);
    }
}

TEST_F(XmlMappedDataTest, ACommentBeforeTheRootIsSkipped)
{
    writeWhole(m_dir.file("c.xml"),
               "<?xml version=\"1.0\"?>\n<!-- hand-written -->\n<savedata><V a=\"1\"/></savedata>");
    m_file = m_dir.file("c.xml");
    EXPECT_EQ(open()->getS32("V", "a", 0), 1);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(XmlMappedDataTest, AnUnreadableFileThatCannotBeMovedIsNeverOverwritten)
{
    std::filesystem::create_directories(m_file);  // a folder where the file should be
    s::platform::faults::failNext(FileStep::MoveAside, EACCES);
    auto store = open();
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find("will not be saved"), std::string::npos) << m_reports[0];
    EXPECT_FALSE(store->setS32("View", "Width", 1));
    EXPECT_EQ(store->getS32("View", "Width", 0), 1);  // still usable for this run
    EXPECT_TRUE(std::filesystem::is_directory(m_file));
}

TEST_F(XmlMappedDataTest, AFullDiskKeepsTheValuesAndSaysSoOnce)
{
    auto store = open();
    ASSERT_TRUE(store->setString("", "Language", "German"));
    const std::string before = readWhole(m_file);

    s::platform::faults::failNext(FileStep::Write, ENOSPC);
    EXPECT_FALSE(store->setS32("View", "Width", 1024));
    s::platform::faults::failNext(FileStep::Write, ENOSPC);
    EXPECT_FALSE(store->setS32("View", "Height", 768));
    EXPECT_EQ(readWhole(m_file), before);
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find("No space left on device"), std::string::npos) << m_reports[0];

    // Space again: the next change saves everything written meanwhile.
    EXPECT_TRUE(store->setBool("View", "KeepOnTop", true));
    auto again = open();
    EXPECT_EQ(again->getS32("View", "Width", 0), 1024);
    EXPECT_EQ(again->getS32("View", "Height", 0), 768);
    EXPECT_EQ(again->getString("", "Language", ""), "German");
    EXPECT_EQ(m_reports.size(), 1u);
}

TEST_F(XmlMappedDataTest, AStoreWithoutAFileKeepsValuesInMemory)
{
    auto store = MappedData::openWithoutFile();
    EXPECT_STREQ(store->getClassName(), "s_xml_MappedData");
    EXPECT_TRUE(store->setString("A", "b", "c"));
    EXPECT_TRUE(store->save());
    EXPECT_EQ(store->getString("A", "b", ""), "c");
}

}  // namespace
