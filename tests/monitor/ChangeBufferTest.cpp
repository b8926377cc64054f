#include "monitor/ChangeBuffer.h"

#include "MonitorTestSupport.h"
#include "platform/ChangeRecords.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using monitor_test::Call;
using monitor_test::HandlerRef;
using s::monitor::ChangeBuffer;
using namespace s::platform;
using testing::ElementsAre;

// Writes records into the fill area and returns how many bytes they took.
std::size_t fill(ChangeBuffer& buffer, std::initializer_list<std::pair<std::uint32_t, std::string>> records)
{
    ChangeRecordWriter writer(buffer.fillArea(), buffer.capacity());
    for (const auto& [action, name] : records)
        EXPECT_TRUE(writer.put(action, {}, name));
    return writer.size();
}

void putHeader(std::byte* at, std::uint32_t next, std::uint32_t action, std::uint32_t nameLength)
{
    const ChangeRecordHeader header{next, action, nameLength};
    std::memcpy(at, &header, sizeof header);
}

class ChangeBufferTest : public testing::Test {
protected:
    std::vector<Call> walk(std::size_t filled, const std::string& directory = "/w")
    {
        m_handler->clear();
        m_buffer.walk(filled, directory, *m_handler.get());
        std::vector<Call> calls = m_handler->calls();
        for (Call& call : calls)
            call.thread = 0;
        return calls;
    }

    ChangeBuffer m_buffer{1024};
    HandlerRef<> m_handler;
};

TEST_F(ChangeBufferTest, EachActionBecomesItsCall)
{
    const std::size_t filled = fill(m_buffer, {{kChangeAdded, "a"},
                                               {kChangeRemoved, "sub/b"},
                                               {kChangeModified, "c"},
                                               {kChangeRenamedOldName, "d"},
                                               {kChangeRenamedNewName, "e"},
                                               {kChangeRenamedNewName, "orphan"},
                                               {99, "unknown"},
                                               {kChangeAdded, "last"}});
    EXPECT_THAT(walk(filled), ElementsAre(Call{"added", "/w/a"}, Call{"removed", "/w/sub/b"}, Call{"modified", "/w/c"},
                                          Call{"renamed", "/w/d", "/w/e"}, Call{"added", "/w/last"}));
    EXPECT_EQ(m_buffer.carryOver(), 0U);
}

TEST_F(ChangeBufferTest, OldNameLastInABufferIsPairedWithTheFirstRecordOfTheNext)
{
    std::size_t filled = fill(m_buffer, {{kChangeAdded, "a"}, {kChangeRenamedOldName, "old name"}});
    EXPECT_THAT(walk(filled), ElementsAre(Call{"added", "/w/a"}));
    EXPECT_EQ(m_buffer.carryOver(), changeRecordSize(8));
    // A read that brought nothing keeps the old name waiting.
    EXPECT_THAT(walk(0), ElementsAre());
    EXPECT_EQ(m_buffer.carryOver(), changeRecordSize(8));
    filled = fill(m_buffer, {{kChangeRenamedNewName, "new name"}, {kChangeModified, "b"}});
    EXPECT_THAT(walk(filled), ElementsAre(Call{"renamed", "/w/old name", "/w/new name"}, Call{"modified", "/w/b"}));
    EXPECT_EQ(m_buffer.carryOver(), 0U);
}

TEST_F(ChangeBufferTest, CarriedRecordOfTheLargestSizeStillPairs)
{
    // A record as large as a fill may be: it is carried whole in front of the fill area.
    const std::string longest(m_buffer.capacity() - kChangeRecordHeaderSize, 'x');
    std::size_t filled = fill(m_buffer, {{kChangeRenamedOldName, longest}});
    EXPECT_THAT(walk(filled), ElementsAre());
    filled = fill(m_buffer, {{kChangeRenamedNewName, "y"}});
    EXPECT_THAT(walk(filled), ElementsAre(Call{"renamed", "/w/" + longest, "/w/y"}));
}

TEST_F(ChangeBufferTest, ZeroNextOffsetEndsTheWalk)
{
    std::byte* area = m_buffer.fillArea();
    putHeader(area, 0, kChangeAdded, 1);
    std::memcpy(area + 12, "a", 1);
    putHeader(area + 16, 0, kChangeAdded, 1);
    std::memcpy(area + 28, "b", 1);
    EXPECT_THAT(walk(32), ElementsAre(Call{"added", "/w/a"}));
}

TEST_F(ChangeBufferTest, RecordsOutsideTheFilledBytesAreNeverRead)
{
    struct Case {
        const char* what;
        std::uint32_t next;
        std::uint32_t secondNameLength;
        std::size_t filled;
    };
    // The first record is 16 bytes; a second one, when reachable, starts at `next`.
    const Case cases[] = {
        {"next offset past the filled bytes", 64, 1, 32},
        {"next offset past the capacity", 0x7FFFFFF0, 1, 32},
        {"name longer than what is left", 16, 200, 32},
        {"header cut by the end", 16, 1, 20},
        {"filled beyond the capacity", 16, 1, 1U << 30},
    };
    for (const Case& c : cases) {
        std::byte* area = m_buffer.fillArea();
        std::memset(area, 0, m_buffer.capacity());
        putHeader(area, c.next, kChangeAdded, 1);
        std::memcpy(area + 12, "a", 1);
        putHeader(area + 16, 0, kChangeAdded, c.secondNameLength);
        std::memcpy(area + 28, "b", 1);
        const std::vector<Call> calls = walk(c.filled);
        ASSERT_FALSE(calls.empty()) << c.what;
        EXPECT_EQ(calls[0], (Call{"added", "/w/a"})) << c.what;
        if (c.filled == (1U << 30))
            EXPECT_EQ(calls.size(), 2U) << c.what;
        else
            EXPECT_EQ(calls.size(), 1U) << c.what;
    }
}

TEST_F(ChangeBufferTest, FirstRecordCutShortGivesNothing)
{
    std::byte* area = m_buffer.fillArea();
    putHeader(area, 0, kChangeAdded, 100);
    EXPECT_THAT(walk(40), ElementsAre());
    EXPECT_THAT(walk(8), ElementsAre());
}

TEST_F(ChangeBufferTest, OldNameWhoseNextIsCutOffWaitsForTheNextRead)
{
    std::byte* area = m_buffer.fillArea();
    putHeader(area, 16, kChangeRenamedOldName, 3);
    std::memcpy(area + 12, "old", 3);
    putHeader(area + 16, 0, kChangeRenamedNewName, 500);
    EXPECT_THAT(walk(40), ElementsAre());
    EXPECT_EQ(m_buffer.carryOver(), 16U);
    const std::size_t filled = fill(m_buffer, {{kChangeRenamedNewName, "new"}});
    EXPECT_THAT(walk(filled), ElementsAre(Call{"renamed", "/w/old", "/w/new"}));
}

TEST_F(ChangeBufferTest, FullPathsJoinTheDirectoryWithOneSlash)
{
    struct Case {
        const char* directory;
        const char* expected;
    };
    const Case cases[] = {{"/w", "/w/n"}, {"/w/", "/w/n"}, {"/", "/n"}};
    for (const Case& c : cases) {
        const std::size_t filled = fill(m_buffer, {{kChangeAdded, "n"}});
        EXPECT_THAT(walk(filled, c.directory), ElementsAre(Call{"added", c.expected})) << c.directory;
    }
}

TEST_F(ChangeBufferTest, NamesArePassedByteForByteAndWhole)
{
    ChangeBuffer large(64 * 1024);
    const std::string awkward = std::string("new\nline/\xff\xfe/") + std::string(4000, 'z');
    ChangeRecordWriter writer(large.fillArea(), large.capacity());
    ASSERT_TRUE(writer.put(kChangeAdded, {}, awkward));
    m_handler->clear();
    large.walk(writer.size(), "/w", *m_handler.get());
    const std::vector<Call> calls = m_handler->calls();
    ASSERT_EQ(calls.size(), 1U);
    EXPECT_EQ(calls[0].path, "/w/" + awkward);
}

TEST(ChangeRecordWriterTest, LinksRecordsAndRefusesWhatDoesNotFit)
{
    alignas(4) std::byte buffer[64];
    ChangeRecordWriter writer(buffer, sizeof buffer);
    EXPECT_TRUE(writer.put(kChangeAdded, "dir", "name"));
    EXPECT_TRUE(writer.put(kChangeRemoved, {}, "x"));
    EXPECT_FALSE(writer.put(kChangeModified, {}, std::string(40, 'y')));
    EXPECT_EQ(writer.size(), changeRecordSize(8) + changeRecordSize(1));
    ChangeRecordHeader first{};
    std::memcpy(&first, buffer, sizeof first);
    EXPECT_EQ(first.nextEntryOffset, changeRecordSize(8));
    EXPECT_EQ(first.nameLength, 8U);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer) + 12, 8), "dir/name");
    ChangeRecordHeader second{};
    std::memcpy(&second, buffer + first.nextEntryOffset, sizeof second);
    EXPECT_EQ(second.nextEntryOffset, 0U);
    EXPECT_EQ(second.action, kChangeRemoved);
}

}  // namespace
