#include "app/ConsoleText.h"
#include "changelog/Change.h"
#include "changelog/KindCaptions.h"
#include "changelog/PathParts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;

TEST(ConsoleText, EscapesWhatWouldBreakTheLineOrTheTerminal)
{
    const struct {
        std::string text;
        const char* shown;
    } cases[] = {
        {"plain name.txt", "plain name.txt"},
        {"tab\there", "tab\\there"},
        {"new\nline", "new\\nline"},
        {"back\\slash", "back\\\\slash"},
        {"\\t is not a tab", "\\\\t is not a tab"},
        {"cr\rbell\aesc\x1b[31m", "cr\\x0dbell\\x07esc\\x1b[31m"},
        {std::string("nul\0byte", 8), "nul\\x00byte"},
        {"del\x7f", "del\\x7f"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
        {"latin1 caf\xe9", "latin1 caf\\xe9"},
        {"cut \xe2\x82", "cut \\xe2\\x82"},
        {"overlong \xc0\xaf", "overlong \\xc0\\xaf"},
        {"surrogate \xed\xa0\x80", "surrogate \\xed\\xa0\\x80"},
        {"beyond \xf4\x90\x80\x80", "beyond \\xf4\\x90\\x80\\x80"},
        {"c1 \xc2\x9b" "1m", "c1 \\xc2\\x9b1m"},
        {"nbsp \xc2\xa0", "nbsp \xc2\xa0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s::app::escaped(c.text), c.shown) << c.shown;
}

TEST(ConsoleText, ChangeLineHasTheSixCellsOfItsRow)
{
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    const fa::KindCaptions captions("Create +", "Delete -", "Rename");
    const struct {
        fa::ChangeKind kind;
        std::string path;
        std::string extension;
        std::int64_t size;
        const char* line;
    } cases[] = {
        {fa::ChangeKind::Created, "/tmp/w/notes.TXT", ".txt", -1, "Nov 14  22:13 20\tCreate +\tnotes.TXT\t-\t/tmp/w\t.txt\n"},
        {fa::ChangeKind::Written, "/tmp/w/notes.TXT", ".txt", 1536, "Nov 14  22:13 20\t>\tnotes.TXT\t1.50 KB\t/tmp/w\t.txt\n"},
        {fa::ChangeKind::RenamedFrom, "/a", "", -1, "Nov 14  22:13 20\tRename -\ta\t-\t/\t\n"},
        {fa::ChangeKind::RenamedTo, "/a\tb/c\nd.E\xff", ".e\xff", 0,
         "Nov 14  22:13 20\tRename +\tc\\nd.E\\xff\t0 B\t/a\\tb\t.e\\xff\n"},
        {fa::ChangeKind::Deleted, "relative", "", -1, "Nov 14  22:13 20\tDelete -\t\t-\t\t\n"},
    };
    for (const auto& c : cases) {
        s::thread::PooledPtr<fa::Change> change(s::thread::take<fa::Change>());
        fa::PathParts parts;
        fa::splitPath(c.path, parts);
        change->setPath(c.path, parts, c.extension);
        change->setKind(c.kind);
        change->setSize(c.size);
        change->setTime(1700000000123);
        std::string line;
        s::app::appendChangeLine(line, *change, captions);
        EXPECT_EQ(line, c.line);
    }
}

}  // namespace
