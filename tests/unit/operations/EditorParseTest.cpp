// The readers of "cvs editors" and "cvs watchers" on literal texts: several users of one
// file (continuation lines), missing and further fields, empty lines, CR LF line ends, the
// permanent and the temporary watch actions, and a long line.
#include "operations/CVSEditor.h"

#include <gtest/gtest.h>

namespace {

using Row = std::vector<std::string>;

std::vector<Row> Editors(std::string_view text) {
    std::vector<CCVSEditor> editors;
    ParseEditors(text, editors);
    std::vector<Row> rows;
    for (const CCVSEditor& e : editors)
        rows.push_back({e.file, e.user, e.date, e.host, e.folder});
    return rows;
}

std::vector<Row> Watchers(std::string_view text) {
    std::vector<CCVSWatcher> watchers;
    ParseWatchers(text, watchers);
    std::vector<Row> rows;
    for (const CCVSWatcher& w : watchers)
        rows.push_back({w.file, w.user, w.edit ? "yes" : "no", w.unedit ? "yes" : "no",
                        w.commit ? "yes" : "no"});
    return rows;
}

const char* const kDate = "Thu Dec 10 02:42:21 2026 -0000";

TEST(EditorParse, OneRecordPerLineWithTheFileOfContinuationLines) {
    const std::string text = std::string("a.txt\talice\t") + kDate + "\thost1\t/work/one\n" +
                             "\tbob\t" + kDate + "\thost2\t/work/two\n" + "b.txt\tbob\t" + kDate +
                             "\thost2\t/work/two\n";
    EXPECT_EQ(Editors(text), (std::vector<Row>{{"a.txt", "alice", kDate, "host1", "/work/one"},
                                               {"a.txt", "bob", kDate, "host2", "/work/two"},
                                               {"b.txt", "bob", kDate, "host2", "/work/two"}}));
}

TEST(EditorParse, FieldsLinesAndLineEnds) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"nothing", "", {}},
        {"a last line without a line feed", "a.txt\tann", {{"a.txt", "ann", "", "", ""}}},
        {"runs of tabs are one separator",
         "a.txt\t\tann\t\t\td\th\tf\n",
         {{"a.txt", "ann", "d", "h", "f"}}},
        {"further fields are dropped", "a\tb\tc\td\te\tf\tg\n", {{"a", "b", "c", "d", "e"}}},
        {"an empty line gives an empty record",
         "a\tu\n\nb\tv\n",
         {{"a", "u", "", "", ""}, {"", "", "", "", ""}, {"b", "v", "", "", ""}}},
        {"a carriage return before the line feed is not part of the folder",
         "a\tu\td\th\tC:\\work\r\n",
         {{"a", "u", "d", "h", "C:\\work"}}},
        {"a continuation line with no line before it has no file",
         "\tann\td\n",
         {{"", "ann", "d", "", ""}}},
        {"blanks inside a field stay",
         "my file.txt\tann\td\th\t/a b\n",
         {{"my file.txt", "ann", "d", "h", "/a b"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Editors(c.text), c.rows) << c.name;
}

TEST(EditorParse, ALongLineIsReadWhole) {
    const std::string folder(100000, 'x');
    const std::vector<Row> rows = Editors("a\tu\td\th\t" + folder + "\nb\tv\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][4], folder);
    EXPECT_EQ(rows[1][0], "b");
}

TEST(WatcherParse, FlagsFromEitherKindOfWatchInAnyPosition) {
    const std::string text = "a.txt\talice\tedit\tunedit\tcommit\ttedit\ttunedit\ttcommit\n"
                             "\tbob\tcommit\ttedit\ttunedit\ttcommit\n"
                             "\tcarol\ttedit\ttunedit\ttcommit\n"
                             "b.txt\talice\tedit\tcommit\n"
                             "\tdave\n"
                             "\terin\tunedit\tsomething else\n";
    EXPECT_EQ(Watchers(text), (std::vector<Row>{{"a.txt", "alice", "yes", "yes", "yes"},
                                                {"a.txt", "bob", "yes", "yes", "yes"},
                                                {"a.txt", "carol", "yes", "yes", "yes"},
                                                {"b.txt", "alice", "yes", "no", "yes"},
                                                {"b.txt", "dave", "no", "no", "no"},
                                                {"b.txt", "erin", "no", "yes", "no"}}));
}

TEST(WatcherParse, OnlyExactActionNamesCount) {
    EXPECT_EQ(Watchers("a\tu\tEdit\tedits\t tedit\tcommit\r\n\n"),
              (std::vector<Row>{{"a", "u", "no", "no", "yes"}, {"", "", "no", "no", "no"}}));
}

} // namespace
