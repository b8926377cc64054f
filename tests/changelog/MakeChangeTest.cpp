#include "changelog/Change.h"
#include "changelog/MakeChange.h"
#include "changelog/PathParts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;
using s::thread::PooledPtr;

TEST(SplitPath, FolderNameAndExtension)
{
    const struct {
        std::string path;
        const char* folder;
        const char* name;
        const char* extension;
    } cases[] = {
        {"/a", "/", "a", ""},
        {"/tmp/x/report.TXT", "/tmp/x", "report.TXT", ".TXT"},
        {"/tmp/x/dir/", "/tmp/x", "dir", ""},
        {"/tmp/x/dir///", "/tmp/x", "dir", ""},
        {"/a//b", "/a", "b", ""},
        {"//a", "/", "a", ""},
        {"/home/u/.profile", "/home/u", ".profile", ""},
        {"/home/u/.config.bak", "/home/u", ".config.bak", ".bak"},
        {"/a/archive.tar.GZ", "/a", "archive.tar.GZ", ".GZ"},
        {"/a/name.", "/a", "name.", "."},
        {"/a b/c d.e f", "/a b", "c d.e f", ".e f"},
        {"/x/caf\xe9.\xc9T\xff", "/x", "caf\xe9.\xc9T\xff", ".\xc9T\xff"},
    };
    for (const auto& c : cases) {
        fa::PathParts parts;
        ASSERT_TRUE(fa::splitPath(c.path, parts)) << c.path;
        const std::string_view path = c.path;
        const std::string_view name = path.substr(parts.nameOffset, parts.nameLength);
        EXPECT_EQ(path.substr(0, parts.folderLength), c.folder) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
        EXPECT_EQ(name.substr(parts.extensionOffset), c.extension) << c.path;
    }
}

TEST(SplitPath, PathsThatCannotBeSplit)
{
    const std::string cases[] = {"", "relative/name", "name", "/", "///", std::string("/a\0b", 4)};
    for (const std::string& path : cases) {
        fa::PathParts parts;
        EXPECT_FALSE(fa::splitPath(path, parts)) << path;
    }
}

// Sets the character type locale for one test and puts the previous one back.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : m_saved(std::setlocale(LC_CTYPE, nullptr))
    {
        m_ok = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_CTYPE, m_saved.c_str()); }
    bool ok() const { return m_ok; }

private:
    std::string m_saved;
    bool m_ok = false;
};

TEST(LowerCaseInLocale, FollowsTheLocaleAndKeepsBytesThatAreNoCharacter)
{
    {
        LocaleScope scope("C.UTF-8");
        ASSERT_TRUE(scope.ok()) << "the C.UTF-8 locale is missing";
        EXPECT_EQ(fa::lowerCaseInLocale(".TXT"), ".txt");
        EXPECT_EQ(fa::lowerCaseInLocale(".\xc3\x84\xc3\x96Z"), ".\xc3\xa4\xc3\xb6z");  // ÄÖZ
        EXPECT_EQ(fa::lowerCaseInLocale(".\xd0\x96"), ".\xd0\xb6");                    // Cyrillic Zhe
        EXPECT_EQ(fa::lowerCaseInLocale(".\xc9T\xff"), ".\xc9t\xff");
        EXPECT_EQ(fa::lowerCaseInLocale(".A\xc3"), ".a\xc3");  // cut-off character at the end
    }
    {
        LocaleScope scope("C");
        ASSERT_TRUE(scope.ok());
        EXPECT_EQ(fa::lowerCaseInLocale(".\xc3\x84Z"), ".\xc3\x84z");
    }
}

class MakeChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        s::testing::writeWhole(m_dir.file("five.BIN"), "12345");
        std::filesystem::create_directory(m_dir.path() / "folder");
        std::filesystem::create_directory_symlink(m_dir.path() / "folder", m_dir.path() / "link");
    }

    PooledPtr<fa::Change> make(fa::ChangeKind kind, const std::string& name)
    {
        return PooledPtr<fa::Change>(fa::makeChange(kind, m_dir.file(name)));
    }

    s::testing::TempFolder m_dir;
};

TEST_F(MakeChange, DirectoryFlagAndSizeByKind)
{
    using K = fa::ChangeKind;
    const struct {
        K kind;
        std::string name;
        bool directory;
        std::int64_t size;
    } cases[] = {
        {K::Created, "five.BIN", false, -1},
        {K::Written, "five.BIN", false, 5},
        {K::RenamedTo, "five.BIN", false, 5},
        {K::Deleted, "five.BIN", false, -1},
        {K::RenamedFrom, "five.BIN", false, -1},
        {K::Created, "folder", true, -1},
        {K::Written, "folder", true, -1},
        {K::RenamedTo, "folder", true, -1},
        // Examined where it does not exist any more: no directory, size 0 for the kinds that have one.
        {K::Deleted, "folder", false, -1},
        {K::Written, "gone.txt", false, 0},
        {K::RenamedTo, "gone.txt", false, 0},
        {K::Created, "gone.txt", false, -1},
        {K::Written, "five.BIN/below", false, 0},
        // The link itself is described, not what it points at.
        {K::Created, "link", false, -1},
        // A name the system refuses to examine: the size is not known.
        {K::Written, std::string(300, 'n'), false, -1},
    };
    for (const auto& c : cases) {
        const auto change = make(c.kind, c.name);
        EXPECT_EQ(change->isDirectory(), c.directory) << c.name << " kind " << static_cast<int>(c.kind);
        EXPECT_EQ(change->getSize(), c.size) << c.name << " kind " << static_cast<int>(c.kind);
        EXPECT_EQ(change->getKind(), c.kind);
    }
}

TEST_F(MakeChange, PathPartsOfTheRecord)
{
    LocaleScope scope("C.UTF-8");
    ASSERT_TRUE(scope.ok());
    const auto change = make(fa::ChangeKind::Written, "five.BIN");
    EXPECT_EQ(change->getFullPath(), m_dir.file("five.BIN"));
    EXPECT_EQ(change->getName(), "five.BIN");
    EXPECT_EQ(change->getFolder(), m_dir.path().string());
    EXPECT_EQ(change->getExtension(), ".bin");
    EXPECT_FALSE(change->isShown());
    EXPECT_EQ(change->getRow(), nullptr);

    const std::string odd = "caf\xe9\tname.T\xc9XT";
    s::testing::writeWhole(m_dir.file(odd), "x");
    const auto oddChange = make(fa::ChangeKind::Written, odd);
    EXPECT_EQ(oddChange->getName(), odd);
    EXPECT_EQ(oddChange->getExtension(), ".t\xc9xt");
    EXPECT_EQ(oddChange->getSize(), 1);
}

TEST(MakeChangeOfUnsplittablePath, KeepsThePathWithEmptyPartsAndUnknownSize)
{
    const PooledPtr<fa::Change> change(fa::makeChange(fa::ChangeKind::Written, "relative.txt"));
    EXPECT_EQ(change->getFullPath(), "relative.txt");
    EXPECT_EQ(change->getName(), "");
    EXPECT_EQ(change->getFolder(), "");
    EXPECT_EQ(change->getExtension(), "");
    EXPECT_EQ(change->getSize(), -1);
    EXPECT_FALSE(change->isDirectory());
}

TEST(MakeChangeStamps, RecordsMadeInABurstHaveIncreasingStamps)
{
    std::int64_t previous = 0;
    for (int i = 0; i < 1000; ++i) {
        const PooledPtr<fa::Change> change(fa::makeChange(fa::ChangeKind::Deleted, "/gone/" + std::to_string(i)));
        EXPECT_GT(change->getTime(), previous);
        previous = change->getTime();
    }
}

}  // namespace
