#include "settings/RegMappedData.h"

#include "platform/FileFaults.h"
#include "settings/RegistryStore.h"
#include "settings/Utf16.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using s::reg::MappedData;
using s::reg::win::Bytes;
using s::reg::win::RegDir;
using s::reg::win::RegistryStore;
using s::testing::TempFolder;
using s::thread::PooledPtr;

const std::string kSaveData = s::reg::saveDataKeyPath("Quillon Ostrel");

class RegMappedDataTest : public ::testing::Test {
protected:
    void TearDown() override { s::platform::faults::clearAll(); }

    PooledPtr<MappedData> open() { return MappedData::open(m_store, kSaveData); }

    // Puts a value in place with the given type and data, as another program might have.
    void place(std::string_view path, std::string_view name, std::uint32_t type, const Bytes& data)
    {
        const std::string key = kSaveData + (path.empty() ? "" : "\\" + std::string(path));
        ASSERT_TRUE(m_store.createKey(key));
        ASSERT_TRUE(m_store.setValue(key, name, type, data));
    }

    Bytes stored(std::string_view path, std::string_view name, std::uint32_t* type = nullptr)
    {
        std::uint32_t storedType = 0;
        Bytes data;
        m_store.queryValue(kSaveData + "\\" + std::string(path), name, storedType, data);
        if (type != nullptr)
            *type = storedType;
        return data;
    }

    TempFolder m_dir;
    std::vector<std::string> m_reports;
    RegistryStore m_store{m_dir.file("ostrel/settings.xml"),
                          [this](const std::string& message) { m_reports.push_back(message); }};
};


TEST_F(RegMappedDataTest, TheKeyOfTheStoreAndOfItsProduct)
{
    EXPECT_EQ(kSaveData, "Software\\Quillon\\Quillon Ostrel\\SaveData");
    EXPECT_EQ(s::reg::productKeyPath("Quillon Ostrel"), "Software\\Quillon\\Quillon Ostrel");
    EXPECT_STREQ(open()->getClassName(), "s_reg_MappedData");
}

TEST_F(RegMappedDataTest, ReadingAnEmptyStoreCreatesNothingAndWritingCreatesTheKeys)
{
    auto store = open();
    EXPECT_EQ(store->getS32("MainWindow\\View", "Width", 800), 800);
    EXPECT_EQ(store->getString("Language", "", "English"), "English");
    EXPECT_FALSE(store->hasValue("MainWindow\\View", "X"));
    EXPECT_FALSE(store->selectPath("MainWindow\\View"));
    EXPECT_TRUE(store->selectPath(""));
    EXPECT_FALSE(m_store.keyExists("Software"));
    EXPECT_FALSE(std::filesystem::exists(m_store.file()));

    EXPECT_TRUE(store->setS32("MainWindow\\View", "Width", 1024));
    EXPECT_TRUE(m_store.keyExists(kSaveData + "\\MainWindow"));
    EXPECT_TRUE(m_store.keyExists(kSaveData + "\\MainWindow\\View"));
    EXPECT_EQ(MappedData::open(*std::make_unique<RegistryStore>(m_store.file()), kSaveData)
                  ->getS32("MainWindow\\View", "Width", 800),
              1024);
}

TEST_F(RegMappedDataTest, SettersUseTheTypesOfTheEncodingTable)
{
    auto store = open();
    store->setU8("T", "u8", 0xF0);
    store->setU16("T", "u16", 0xF00F);
    store->setU32("T", "u32", 0xF000000F);
    store->setS8("T", "s8", -2);
    store->setS16("T", "s16", -2);
    store->setS32("T", "s32", -2);
    store->setBool("T", "b", true);
    store->setU64("T", "u64", 0x0102030405060708ULL);
    store->setS64("T", "s64", -2);
    store->setFloat("T", "f", 1.0f);
    store->setDouble("T", "d", 1.0);
    store->setString("T", "s", "A");
    store->setExpandString("T", "e", "%X%");
    const std::uint8_t blob[] = {9, 8, 7};
    store->setBytes("T", "bytes", blob);

    struct Case {
        const char* name;
        std::uint32_t type;
        Bytes data;
    };
    const Case cases[] = {
        {"u8", s::reg::win::kRegDword, {0xF0, 0, 0, 0}},
        {"u16", s::reg::win::kRegDword, {0x0F, 0xF0, 0, 0}},
        {"u32", s::reg::win::kRegDword, {0x0F, 0, 0, 0xF0}},
        {"s8", s::reg::win::kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"s16", s::reg::win::kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"s32", s::reg::win::kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"b", s::reg::win::kRegDword, {1, 0, 0, 0}},
        {"u64", s::reg::win::kRegBinary, {8, 7, 6, 5, 4, 3, 2, 1}},
        {"s64", s::reg::win::kRegBinary, {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"f", s::reg::win::kRegBinary, {0x00, 0x00, 0x80, 0x3F}},
        {"d", s::reg::win::kRegBinary, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"s", s::reg::win::kRegSz, {'A', 0, 0, 0}},
        {"e", s::reg::win::kRegExpandSz, {'%', 0, 'X', 0, '%', 0, 0, 0}},
        {"bytes", s::reg::win::kRegBinary, {9, 8, 7}},
    };
    for (const Case& c : cases) {
        std::uint32_t type = 0;
        EXPECT_EQ(stored("T", c.name, &type), c.data) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }

    EXPECT_EQ(store->getU8("T", "u8", 0), 0xF0);
    EXPECT_EQ(store->getU16("T", "u16", 0), 0xF00F);
    EXPECT_EQ(store->getU32("T", "u32", 0), 0xF000000Fu);
    EXPECT_EQ(store->getS8("T", "s8", 0), -2);
    EXPECT_EQ(store->getS16("T", "s16", 0), -2);
    EXPECT_EQ(store->getS32("T", "s32", 0), -2);
    EXPECT_TRUE(store->getBool("T", "b", false));
    EXPECT_EQ(store->getU64("T", "u64", 0), 0x0102030405060708ULL);
    EXPECT_EQ(store->getS64("T", "s64", 0), -2);
    EXPECT_EQ(store->getFloat("T", "f", 0), 1.0f);
    EXPECT_EQ(store->getDouble("T", "d", 0), 1.0);
    EXPECT_EQ(store->getString("T", "s", ""), "A");
    Bytes bytes{1};
    EXPECT_TRUE(store->getBytes("T", "bytes", bytes));
    EXPECT_EQ(bytes, (Bytes{1, 9, 8, 7}));
    EXPECT_FALSE(store->getBytes("T", "none", bytes));
    EXPECT_EQ(bytes.size(), 4u);
}

TEST_F(RegMappedDataTest, GettersAcceptAnyTypeOfTheRightLength)
{
    place("V", "sz1", s::reg::win::kRegSz, s::reg::stringData("A"));      // 4 bytes with its null
    place("V", "sz2", s::reg::win::kRegSz, s::reg::stringData("AB"));     // 6 bytes
    place("V", "two", s::reg::win::kRegDword, {2, 0, 0, 0});
    place("V", "short", s::reg::win::kRegDword, {1, 0});
    place("V", "eight", s::reg::win::kRegQword, {1, 0, 0, 0, 0, 0, 0, 0});
    place("V", "wide", s::reg::win::kRegDword, {0x34, 0x12, 0xCD, 0xAB});
    auto store = open();

    EXPECT_EQ(store->getU32("V", "sz1", 7), 0x41u);  // the raw bytes 'A', 0, 0, 0
    EXPECT_EQ(store->getS32("V", "sz2", 7), 7);
    EXPECT_TRUE(store->getBool("V", "two", false));
    EXPECT_EQ(store->getU32("V", "short", 7), 7u);
    EXPECT_FALSE(store->getBool("V", "short", false));
    EXPECT_EQ(store->getU32("V", "eight", 7), 7u);
    EXPECT_EQ(store->getU64("V", "eight", 7), 1u);
    EXPECT_EQ(store->getS64("V", "two", 7), 7);
    EXPECT_EQ(store->getDouble("V", "two", 7.0), 7.0);
    EXPECT_EQ(store->getU8("V", "wide", 0), 0x34);
    EXPECT_EQ(store->getU16("V", "wide", 0), 0x1234);
    EXPECT_EQ(store->getS16("V", "wide", 0), 0x1234);
    EXPECT_EQ(store->getS8("V", "wide", 0), 0x34);
    EXPECT_EQ(store->getS32("V", "wide", 0), static_cast<std::int32_t>(0xABCD1234u));
}

TEST_F(RegMappedDataTest, StringsByTypeAndExpansion)
{
    ::setenv("TEMP", "/tmp/ostrel-temp", 1);
    place("S", "plain", s::reg::win::kRegSz, s::reg::stringData("%TEMP%\\x"));
    place("S", "expand", s::reg::win::kRegExpandSz, s::reg::stringData("%TEMP%\\x"));
    place("S", "unset", s::reg::win::kRegExpandSz, s::reg::stringData("%OSTREL_NOT_SET_ANYWHERE%\\x"));
    place("S", "nodata", s::reg::win::kRegSz, {});
    place("S", "nodword", s::reg::win::kRegDword, {});
    place("S", "number", s::reg::win::kRegDword, {1, 0, 0, 0});
    place("S", "long", s::reg::win::kRegExpandSz, s::reg::stringData(std::string(600, 'x')));
    auto store = open();

    bool expanded = true;
    EXPECT_EQ(store->getString("S", "plain", "fb", &expanded), "%TEMP%\\x");
    EXPECT_FALSE(expanded);
    EXPECT_EQ(store->getString("S", "expand", "fb", &expanded, true), "/tmp/ostrel-temp\\x");
    EXPECT_TRUE(expanded);
    expanded = false;
    EXPECT_EQ(store->getString("S", "expand", "fb", &expanded, false), "%TEMP%\\x");
    EXPECT_TRUE(expanded);
    EXPECT_EQ(store->getString("S", "unset", "fb"), "%OSTREL_NOT_SET_ANYWHERE%\\x");
    EXPECT_EQ(store->getString("S", "nodata", "fb"), "");
    EXPECT_EQ(store->getString("S", "nodword", "fb"), "");
    EXPECT_EQ(store->getString("S", "number", "fb"), "fb");
    EXPECT_EQ(store->getString("S", "missing", "fb"), "fb");
    EXPECT_EQ(store->getString("S", "long", "fb").size(), MappedData::kExpandedLimit);
    EXPECT_EQ(store->getString("S", "long", "fb", nullptr, false).size(), 600u);
    ::unsetenv("TEMP");
}

TEST_F(RegMappedDataTest, RemovePathDeletesTheWholeTreeAndForgetsTheCachedKey)
{
    auto store = open();
    store->setS32("MainWindow\\View", "X", 1);
    store->setS32("MainWindow\\View\\Deeper\\Deepest", "Y", 2);
    store->setS32("MainWindow\\View\\Other", "Z", 3);
    store->setS32("MainWindow\\ChangesColumnOrder", "length", 6);
    ASSERT_TRUE(store->selectPath("MainWindow\\View\\Deeper"));

    EXPECT_TRUE(store->removePath("MainWindow\\View"));
    EXPECT_FALSE(m_store.keyExists(kSaveData + "\\MainWindow\\View"));
    EXPECT_TRUE(m_store.keyExists(kSaveData + "\\MainWindow\\ChangesColumnOrder"));
    EXPECT_FALSE(store->selectPath("MainWindow\\View\\Deeper"));
    EXPECT_FALSE(store->removePath("MainWindow\\View"));
    // Writing under the removed path makes the keys again.
    EXPECT_TRUE(store->setS32("MainWindow\\View\\Deeper", "Y", 4));
    EXPECT_EQ(store->getS32("MainWindow\\View\\Deeper", "Y", 0), 4);

    EXPECT_TRUE(store->removeValue("MainWindow\\ChangesColumnOrder", "LENGTH"));
    EXPECT_FALSE(store->hasValue("MainWindow\\ChangesColumnOrder", "length"));
    EXPECT_FALSE(store->removeValue("MainWindow\\ChangesColumnOrder", "length"));
}

TEST_F(RegMappedDataTest, TheCacheServesAFoundKeyIgnoringCase)
{
    place("View", "Width", s::reg::win::kRegDword, {5, 0, 0, 0});
    auto store = open();
    ASSERT_TRUE(store->selectPath("View"));
    EXPECT_TRUE(store->selectPath("VIEW"));
    EXPECT_EQ(store->getS32("view", "width", 0), 5);
    EXPECT_FALSE(store->selectPath("Elsewhere"));
    EXPECT_FALSE(store->selectPath("ELSEWHERE"));
}

TEST_F(RegMappedDataTest, TheSilentMarkLivesOneLevelAboveTheStore)
{
    const std::string product = s::reg::productKeyPath("Quillon Ostrel");
    ASSERT_TRUE(m_store.createKey(product));
    ASSERT_TRUE(m_store.setValue(product, "Silent", s::reg::win::kRegDword, Bytes{1, 0, 0, 0}));
    auto store = open();
    EXPECT_FALSE(store->hasValue("", "Silent"));

    RegDir key;
    ASSERT_TRUE(key.open(m_store, product));
    std::uint32_t type = 0;
    Bytes data;
    ASSERT_TRUE(key.queryValue("Silent", type, data));
    EXPECT_EQ(type, s::reg::win::kRegDword);
    EXPECT_EQ(data, (Bytes{1, 0, 0, 0}));
    const Bytes cleared{0, 0, 0, 0};
    EXPECT_TRUE(key.setValue("Silent", s::reg::win::kRegDword, cleared));
    ASSERT_TRUE(key.queryValue("Silent", type, data));
    EXPECT_EQ(data, cleared);
}

TEST_F(RegMappedDataTest, SaveWritesWhatAFailedChangeLeftBehind)
{
    auto store = open();
    ASSERT_TRUE(store->setS32("V", "a", 1));
    EXPECT_TRUE(store->save());  // nothing left to save
    s::platform::faults::failNext(s::platform::faults::FileStep::Write, ENOSPC);
    EXPECT_FALSE(store->setS32("V", "a", 2));
    EXPECT_EQ(store->getS32("V", "a", 0), 2);
    EXPECT_TRUE(store->save());
    RegistryStore other(m_store.file());
    EXPECT_EQ(MappedData::open(other, kSaveData)->getS32("V", "a", 0), 2);
    EXPECT_EQ(m_reports.size(), 1u);
}

TEST_F(RegMappedDataTest, WritingAfterTheFileWasRemovedMakesTheKeysAgain)
{
    auto store = open();
    ASSERT_TRUE(store->setS32("V", "a", 1));
    std::filesystem::remove(m_store.file());
    EXPECT_EQ(store->getS32("V", "a", 0), 0);
    EXPECT_TRUE(store->setS32("V", "b", 2));
    RegistryStore other(m_store.file());
    EXPECT_EQ(MappedData::open(other, kSaveData)->getS32("V", "b", 0), 2);
}

}  // namespace
