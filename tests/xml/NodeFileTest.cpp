#include "xml/Node.h"

#include "platform/FileFaults.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

using s::platform::faults::FileStep;
using s::testing::readWhole;
using s::testing::TempFolder;
using s::testing::writeWhole;
using s::thread::PooledPtr;
using s::xml::Node;
using s::xml::ParseStatus;

class NodeFileTest : public ::testing::Test {
protected:
    void TearDown() override { s::platform::faults::clearAll(); }

    TempFolder m_dir;
};

PooledPtr<Node> sampleDocument(const char* value)
{
    PooledPtr<Node> root(Node::take());
    root->setName("savedata");
    Node* view = root->addChild("MainWindow")->addChild("View");
    view->addAttribute("Width", 800);
    view->addAttribute("Title", value);
    view->addAttribute("", "some text");
    return root;
}

TEST_F(NodeFileTest, SaveThenLoadGivesTheSameDocument)
{
    const std::string path = m_dir.file("deep/er/SaveData.xml");
    PooledPtr<Node> root = sampleDocument("\xC3\xA9t\xC3\xA9 <1>");
    ASSERT_TRUE(root->save(path).ok());
    std::string expected;
    root->toUtf8(expected);
    EXPECT_EQ(readWhole(path), expected);
    EXPECT_EQ(expected.substr(0, 10), "<savedata>");  // no byte-order mark, no declaration

    PooledPtr<Node> loaded(Node::take());
    ASSERT_TRUE(loaded->load(path).ok());
    std::string again;
    EXPECT_EQ(loaded->toUtf8(again), expected);
    // Only the file itself is left in the folder: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path() / "deep/er"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(NodeFileTest, LoadReportsWhyAFileCannotBeRead)
{
    PooledPtr<Node> root(Node::take());
    s::xml::ParseResult missing = root->load(m_dir.file("none.xml"));
    EXPECT_EQ(missing.status, ParseStatus::Unreadable);
    EXPECT_EQ(missing.error, ENOENT);

    std::filesystem::create_directory(m_dir.path() / "folder.xml");
    s::xml::ParseResult folder = root->load(m_dir.file("folder.xml"));
    EXPECT_EQ(folder.status, ParseStatus::Unreadable);
    EXPECT_EQ(folder.error, EISDIR);

    writeWhole(m_dir.file("cut.xml"), "<savedata><View Width=\"8");
    EXPECT_EQ(root->load(m_dir.file("cut.xml")).status, ParseStatus::Truncated);
}

TEST_F(NodeFileTest, AFailedSaveLeavesTheOldFileWhole)
{
    const std::string path = m_dir.file("SaveData.xml");
    ASSERT_TRUE(sampleDocument("old")->save(path).ok());
    const std::string before = readWhole(path);

    const std::pair<FileStep, int> faults[] = {
        {FileStep::CreateTemporary, EACCES}, {FileStep::Write, ENOSPC}, {FileStep::Sync, EIO},
        {FileStep::Rename, EXDEV},
    };
    for (const auto& [step, error] : faults) {
        s::platform::faults::failNext(step, error);
        s::xml::SaveResult result = sampleDocument("new")->save(path);
        EXPECT_EQ(result.error, error);
        EXPECT_EQ(readWhole(path), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 1);
    }
    EXPECT_TRUE(sampleDocument("new")->save(path).ok());
    EXPECT_NE(readWhole(path), before);
}

TEST_F(NodeFileTest, SavingThroughASymbolicLinkReplacesItsTarget)
{
    const std::string target = m_dir.file("real.xml");
    const std::string link = m_dir.file("link.xml");
    std::filesystem::create_symlink("real.xml", link);
    ASSERT_TRUE(sampleDocument("one")->save(link).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    ASSERT_TRUE(sampleDocument("two")->save(link).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(readWhole(target).find("two"), std::string::npos);
}

}  // namespace
