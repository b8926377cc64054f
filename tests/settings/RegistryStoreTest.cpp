#include "settings/RegistryStore.h"

#include "platform/FileFaults.h"
#include "platform/Files.h"
#include "settings/RegDir.h"
#include "settings/Utf16.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using s::platform::faults::FileStep;
using s::reg::win::Bytes;
using s::reg::win::RegistryStore;
using s::testing::readWhole;
using s::testing::TempFolder;
using s::testing::writeWhole;

Bytes dword(std::uint32_t value)
{
    return Bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}


class RegistryStoreTest : public ::testing::Test {
protected:
    void TearDown() override { s::platform::faults::clearAll(); }

    // A store as another process would have it: its own view of the same file.
    std::unique_ptr<RegistryStore> newStore()
    {
        auto report = [this](const std::string& message) { m_reports.push_back(message); };
        return std::make_unique<RegistryStore>(m_file, report);
    }

    std::uint32_t readDword(RegistryStore& store, std::string_view path, std::string_view name)
    {
        std::uint32_t type = 0;
        Bytes data;
        if (!store.queryValue(path, name, type, data) || data.size() != 4)
            return 0xFFFFFFFF;
        return data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
    }

    TempFolder m_dir;
    std::string m_file = m_dir.file("config/ostrel/settings.xml");
    std::vector<std::string> m_reports;
};

TEST_F(RegistryStoreTest, ValuesKeepTheirTypesAndDataInAReadableFile)
{
    auto store = newStore();
    ASSERT_TRUE(store->createKey("Software\\Quillon\\Quillon Ostrel\\SaveData\\MainWindow"));
    const std::string key = "Software\\Quillon\\Quillon Ostrel\\SaveData\\MainWindow";
    const Bytes blob{0x00, 0x7f, 0xff};
    const Bytes qword{1, 0, 0, 0, 0, 0, 0, 0x80};
    EXPECT_TRUE(store->setValue(key, "Width", s::reg::win::kRegDword, dword(800)));
    EXPECT_TRUE(store->setValue(key, "", s::reg::win::kRegSz, s::reg::stringData("Freeware \"&\" <x>")));
    EXPECT_TRUE(store->setValue(key, "Path", s::reg::win::kRegExpandSz, s::reg::stringData("%HOME%/log")));
    EXPECT_TRUE(store->setValue(key, "Blob", s::reg::win::kRegBinary, blob));
    EXPECT_TRUE(store->setValue(key, "Big", s::reg::win::kRegQword, qword));
    EXPECT_TRUE(store->setValue(key, "Odd", 0x1234, blob));
    EXPECT_TRUE(store->setValue(key, "Empty", s::reg::win::kRegSz, Bytes{}));
    EXPECT_TRUE(store->setValue(key, "Raw", s::reg::win::kRegSz, s::reg::stringData("\xFF")));

    EXPECT_EQ(readWhole(m_file),
              "<registry version=\"1\"><key name=\"Software\"><key name=\"Quillon\"><key name=\"Quillon Ostrel\">"
              "<key name=\"SaveData\"><key name=\"MainWindow\">"
              "<value name=\"Width\" type=\"dword\" data=\"800\"></value>"
              "<value name=\"\" type=\"sz\" data=\"Freeware &quot;&amp;&quot; &lt;x>\"></value>"
              "<value name=\"Path\" type=\"expand_sz\" data=\"%HOME%/log\"></value>"
              "<value name=\"Blob\" type=\"binary\" hex=\"007fff\"></value>"
              "<value name=\"Big\" type=\"qword\" data=\"9223372036854775809\"></value>"
              "<value name=\"Odd\" type=\"4660\" hex=\"007fff\"></value>"
              "<value name=\"Empty\" type=\"sz\" hex=\"\"></value>"
              "<value name=\"Raw\" type=\"sz\" hex=\"ffdc0000\"></value>"
              "</key></key></key></key></key></registry>");

    auto other = newStore();
    const std::pair<const char*, Bytes> expected[] = {
        {"width", dword(800)},
        {"", s::reg::stringData("Freeware \"&\" <x>")},
        {"Path", s::reg::stringData("%HOME%/log")},
        {"Blob", blob},
        {"Big", qword},
        {"Odd", blob},
        {"Empty", {}},
        {"Raw", s::reg::stringData("\xFF")},
    };
    for (const auto& [name, data] : expected) {
        std::uint32_t type = 0;
        Bytes read;
        ASSERT_TRUE(other->queryValue("software\\QUILLON\\quillon ostrel\\savedata\\mainwindow", name, type, read))
            << name;
        EXPECT_EQ(read, data) << name;
    }
    std::uint32_t type = 0;
    Bytes read;
    other->queryValue(key, "Odd", type, read);
    EXPECT_EQ(type, 0x1234u);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(RegistryStoreTest, KeysNeedTheirParentsAndLoseOnlyEmptyOnes)
{
    auto store = newStore();
    EXPECT_FALSE(store->setValue("A\\B", "v", s::reg::win::kRegDword, dword(1)));  // no such key
    EXPECT_FALSE(std::filesystem::exists(m_file));
    ASSERT_TRUE(store->createKey("A\\B\\C"));
    EXPECT_TRUE(store->keyExists("a\\b"));
    std::vector<std::string> names;
    ASSERT_TRUE(store->subkeyNames("A", names));
    EXPECT_EQ(names, std::vector<std::string>{"B"});
    EXPECT_FALSE(store->deleteKey("A\\B"));  // it has a subkey
    EXPECT_TRUE(store->deleteKey("A\\B\\C"));
    EXPECT_TRUE(store->deleteKey("A\\B"));
    EXPECT_FALSE(store->keyExists("A\\B"));
    EXPECT_FALSE(store->deleteKey("A\\B"));
    for (const char* bad : {"\\A", "A\\", "A\\\\B"}) {
        EXPECT_FALSE(store->createKey(bad)) << bad;
        EXPECT_FALSE(store->keyExists(bad)) << bad;
    }
    std::string deep = "K";
    for (std::size_t i = 1; i < RegistryStore::kMaxKeyDepth; ++i)
        deep += "\\K";
    EXPECT_TRUE(store->createKey(deep));
    EXPECT_FALSE(store->createKey(deep + "\\K"));
    EXPECT_TRUE(newStore()->keyExists(deep));
}

TEST_F(RegistryStoreTest, AChangeThatChangesNothingTouchesNoFile)
{
    auto store = newStore();
    ASSERT_TRUE(store->createKey("K"));
    ASSERT_TRUE(store->setValue("K", "v", s::reg::win::kRegDword, dword(7)));
    const s::platform::FileStamp before = s::platform::fileStamp(m_file);
    // Any write would fail now, so a write would show as a false result.
    s::platform::faults::failNext(FileStep::CreateTemporary, EIO);
    s::platform::faults::failNext(FileStep::Lock, EIO);
    EXPECT_TRUE(store->setValue("k", "V", s::reg::win::kRegDword, dword(7)));
    EXPECT_TRUE(store->createKey("K"));
    EXPECT_FALSE(store->deleteValue("K", "missing"));
    EXPECT_EQ(s::platform::fileStamp(m_file), before);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(RegistryStoreTest, TwoWritersKeepEachOthersValues)
{
    auto first = newStore();
    auto second = newStore();
    ASSERT_TRUE(first->createKey("K"));
    // The second store read the file before the first one wrote; it must read it again.
    EXPECT_TRUE(second->keyExists("K"));
    ASSERT_TRUE(first->setValue("K", "a", s::reg::win::kRegDword, dword(1)));
    ASSERT_TRUE(second->setValue("K", "b", s::reg::win::kRegDword, dword(2)));
    ASSERT_TRUE(first->setValue("K", "c", s::reg::win::kRegDword, dword(3)));
    auto third = newStore();
    for (RegistryStore* store : {first.get(), second.get(), third.get()}) {
        EXPECT_EQ(readDword(*store, "K", "a"), 1u);
        EXPECT_EQ(readDword(*store, "K", "b"), 2u);
        EXPECT_EQ(readDword(*store, "K", "c"), 3u);
    }
    ASSERT_TRUE(second->deleteValue("K", "a"));
    EXPECT_EQ(readDword(*first, "K", "a"), 0xFFFFFFFFu);
}

TEST_F(RegistryStoreTest, ADamagedFileIsSetAsideReportedOnceAndReplaced)
{
    struct Case {
        const char* content;
        const char* problem;
    };
    const Case cases[] = {
        {"<registry version=\"1\"><key name=\"K\"><value name=\"v\" type=\"dword\" data=\"5\"", "ends in the middle"},
        {"\x01\x02 binary garbage", "holds no XML element"},
        {"", "holds no XML element"},
        {"<savedata><View/></savedata>", "is not a settings file"},
        {"<registry><key name=\"K\"></key></registry>", "is not a settings file"},
        {"<registry version=\"x\"></registry>", "is not a settings file"},
    };
    for (const Case& c : cases) {
        m_reports.clear();
        std::filesystem::remove_all(m_dir.path() / "config");
        std::filesystem::create_directories(m_dir.path() / "config/ostrel");
        writeWhole(m_file, c.content);
        auto store = newStore();
        EXPECT_FALSE(store->keyExists("K")) << c.content;
        EXPECT_EQ(readDword(*store, "K", "v"), 0xFFFFFFFFu);
        ASSERT_EQ(m_reports.size(), 1u) << c.content;
        EXPECT_NE(m_reports[0].find(c.problem), std::string::npos) << m_reports[0];
        EXPECT_NE(m_reports[0].find(m_file + ".broken"), std::string::npos) << m_reports[0];
        EXPECT_EQ(readWhole(m_file + ".broken"), c.content);
        ASSERT_TRUE(store->createKey("K"));
        EXPECT_TRUE(store->setValue("K", "v", s::reg::win::kRegDword, dword(6)));
        EXPECT_EQ(readDword(*newStore(), "K", "v"), 6u);
        EXPECT_EQ(m_reports.size(), 1u);
    }
}

TEST_F(RegistryStoreTest, AnUnreadableFileIsSetAsideToo)
{
    std::filesystem::create_directories(m_file);
    auto store = newStore();
    EXPECT_FALSE(store->keyExists("K"));
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find("cannot be read"), std::string::npos) << m_reports[0];
    EXPECT_TRUE(std::filesystem::is_directory(m_file + ".broken"));
    EXPECT_TRUE(store->createKey("K"));
    EXPECT_TRUE(std::filesystem::is_regular_file(m_file));
}

TEST_F(RegistryStoreTest, AFileThatCanBeNeitherReadNorMovedIsNeverOverwritten)
{
    std::filesystem::create_directories(m_dir.path() / "config/ostrel");
    writeWhole(m_file, "<registry version=\"1\"><key name=\"K\"></key></registry>");
    // Read once to find the damage and once more under the lock before moving it aside.
    s::platform::faults::failNext(FileStep::Read, EIO, 0, 2);
    s::platform::faults::failNext(FileStep::MoveAside, EACCES);
    auto store = newStore();
    EXPECT_FALSE(store->keyExists("K"));
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find("will not be saved"), std::string::npos) << m_reports[0];
    EXPECT_TRUE(store->createKey("Mine"));  // usable for this run
    EXPECT_EQ(readWhole(m_file), "<registry version=\"1\"><key name=\"K\"></key></registry>");
    EXPECT_EQ(m_reports.size(), 1u);
}

TEST_F(RegistryStoreTest, AFileOfANewerFormatIsReadAndKeptBeforeTheFirstSave)
{
    const std::string newer =
        "<registry version=\"3\" extra=\"x\"><key name=\"K\" colour=\"blue\"><value name=\"v\" type=\"dword\" "
        "data=\"9\"></value><value name=\"w\" type=\"future\" data=\"?\"></value><note>hi</note></key></registry>";
    std::filesystem::create_directories(m_dir.path() / "config/ostrel");
    writeWhole(m_file, newer);
    auto store = newStore();
    EXPECT_EQ(readDword(*store, "K", "v"), 9u);
    ASSERT_EQ(m_reports.size(), 2u);
    EXPECT_NE(m_reports[0].find("newer version"), std::string::npos) << m_reports[0];
    EXPECT_NE(m_reports[1].find("1 entries"), std::string::npos) << m_reports[1];
    EXPECT_EQ(readWhole(m_file), newer);  // reading changes nothing

    ASSERT_TRUE(store->setValue("K", "v", s::reg::win::kRegDword, dword(10)));
    EXPECT_EQ(readWhole(m_file + ".newer"), newer);
    EXPECT_EQ(readDword(*newStore(), "K", "v"), 10u);
    EXPECT_EQ(readWhole(m_file).substr(0, 22), "<registry version=\"1\">");
    EXPECT_EQ(m_reports.size(), 2u);
}

TEST_F(RegistryStoreTest, AFullDiskKeepsChangesAndSaysSoOnce)
{
    auto store = newStore();
    ASSERT_TRUE(store->createKey("K"));
    ASSERT_TRUE(store->setValue("K", "old", s::reg::win::kRegDword, dword(1)));
    const std::string before = readWhole(m_file);

    s::platform::faults::failNext(FileStep::Write, ENOSPC);
    EXPECT_FALSE(store->setValue("K", "a", s::reg::win::kRegDword, dword(2)));
    s::platform::faults::failNext(FileStep::Sync, ENOSPC);
    EXPECT_FALSE(store->setValue("K", "b", s::reg::win::kRegDword, dword(3)));
    s::platform::faults::failNext(FileStep::Lock, ENOLCK);
    EXPECT_FALSE(store->flush());
    EXPECT_EQ(readWhole(m_file), before);
    EXPECT_EQ(readDword(*store, "K", "a"), 2u);  // this process still sees what it wrote
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find("No space left on device"), std::string::npos) << m_reports[0];

    // Another process writes meanwhile; the kept changes go on top of its file.
    auto other = newStore();
    ASSERT_TRUE(other->setValue("K", "theirs", s::reg::win::kRegDword, dword(4)));
    EXPECT_TRUE(store->flush());
    auto fresh = newStore();
    EXPECT_EQ(readDword(*fresh, "K", "old"), 1u);
    EXPECT_EQ(readDword(*fresh, "K", "a"), 2u);
    EXPECT_EQ(readDword(*fresh, "K", "b"), 3u);
    EXPECT_EQ(readDword(*fresh, "K", "theirs"), 4u);
    EXPECT_EQ(m_reports.size(), 1u);
}

TEST_F(RegistryStoreTest, ReadsFollowWhatAnotherProcessWrote)
{
    auto reader = newStore();
    EXPECT_FALSE(reader->keyExists("K"));
    auto writer = newStore();
    ASSERT_TRUE(writer->createKey("K"));
    ASSERT_TRUE(writer->setValue("K", "v", s::reg::win::kRegDword, dword(1)));
    EXPECT_EQ(readDword(*reader, "K", "v"), 1u);
    ASSERT_TRUE(writer->setValue("K", "v", s::reg::win::kRegDword, dword(2)));
    EXPECT_EQ(readDword(*reader, "K", "v"), 2u);
    std::filesystem::remove(m_file);
    EXPECT_FALSE(reader->keyExists("K"));
}

TEST_F(RegistryStoreTest, TheMachineStoreHasNoKeysAndRefusesWrites)
{
    RegistryStore& machine = RegistryStore::localMachine();
    EXPECT_FALSE(machine.createKey("SOFTWARE\\Microsoft"));
    EXPECT_FALSE(machine.keyExists("SOFTWARE"));
    EXPECT_TRUE(machine.keyExists(""));
    EXPECT_FALSE(machine.setValue("", "v", s::reg::win::kRegDword, dword(1)));
    s::reg::win::RegDir key;
    EXPECT_FALSE(key.open(s::reg::win::Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib"));
    EXPECT_FALSE(key.create(s::reg::win::Hive::LocalMachine, "SOFTWARE\\Ostrel"));
}

}  // namespace
