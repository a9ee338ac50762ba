// The readers of "cvs log" and "cvs log -h" on literal texts: both date formats of GNU cvs,
// branches, tags, multi-line and empty messages, CR LF line ends, the lines of another cvs
// version, texts cut off anywhere, and long lines.
#include "operations/CVSLogEntry.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// GNU cvs 1.12: ISO dates with a zone, commit ids, "lines:" after the first revision.
const char* const kGnu112Log = R"(
RCS file: /repo/mod/a.txt,v
Working file: a.txt
head: 1.3
branch:
locks: strict
access list:
symbolic names:
	BR1: 1.2.0.2
	REL_1: 1.2
	start: 1.1.1.1
	vendor: 1.1.1
keyword substitution: kv
total revisions: 5;	selected revisions: 5
description:
----------------------------
revision 1.3
date: 2026-12-10 02:21:35 +0000;  author: root;  state: Exp;  lines: +1 -0;  commitid: 1006B1A0CAF1CFE0036;
third
----------------------------
revision 1.2
date: 2026-12-10 02:21:34 +0000;  author: alice;  state: Exp;  lines: +1 -0;  commitid: 1006B1A0CAE1CDABF3F;
branches:  1.2.2;
second revision
with a second line
----------------------------
revision 1.1
date: 2026-12-10 02:21:27 +0000;  author: root;  state: Exp;  commitid: 1006B1A0CA71C7A72DE;
branches:  1.1.1;
*** empty log message ***
----------------------------
revision 1.1.1.1
date: 2026-12-10 02:21:27 +0000;  author: root;  state: Exp;  lines: +0 -0;  commitid: 1006B1A0CA71C7A72DE;

----------------------------
revision 1.2.2.1
date: 2026-12-10 02:21:40 +0000;  author: bob;  state: Exp;  lines: +1 -0;  commitid: 1006B1A0CB41D479403;
on branch
=============================================================================
)";

// GNU cvs 1.11: dates with slashes and no zone, no commit ids.
const char* const kGnu111Log = R"(
RCS file: /repo/mod/b.c,v
Working file: b.c
head: 1.2
branch:
locks: strict
access list:
symbolic names:
keyword substitution: kv
total revisions: 2;	selected revisions: 2
description:
----------------------------
revision 1.2
date: 2004/03/07 18:01:02;  author: carol;  state: Exp;  lines: +2 -1
fix
----------------------------
revision 1.1
date: 2004/03/01 09:00:00;  author: carol;  state: Exp;
initial
=============================================================================
)";

struct Expected {
    std::string revision, date, author, branches, message;
    bool head, working;
};

void ExpectEntries(const std::vector<CCVSLogEntry>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(got[i].revision, want[i].revision);
        EXPECT_EQ(got[i].date, want[i].date);
        EXPECT_EQ(got[i].author, want[i].author);
        EXPECT_EQ(got[i].branches, want[i].branches);
        EXPECT_EQ(got[i].message, want[i].message);
        EXPECT_EQ(got[i].isHead, want[i].head);
        EXPECT_EQ(got[i].isWorking, want[i].working);
    }
}

TEST(LogParser, ReadsAGnu112Log) {
    ExpectEntries(ParseLog(kGnu112Log, "1.2"),
                  {{"1.3", "2026-12-10 02:21:35 +0000", "root", "", "third", true, false},
                   {"1.2", "2026-12-10 02:21:34 +0000", "alice", " 1.2.2;",
                    "second revisionwith a second line", false, true},
                   {"1.1", "2026-12-10 02:21:27 +0000", "root", " 1.1.1;",
                    "*** empty log message ***", false, false},
                   {"1.1.1.1", "2026-12-10 02:21:27 +0000", "root", "", "", false, false},
                   {"1.2.2.1", "2026-12-10 02:21:40 +0000", "bob", "", "on branch", false, false}});
}

TEST(LogParser, ReadsAGnu111LogWithSlashDates) {
    ExpectEntries(ParseLog(kGnu111Log, "1.1"),
                  {{"1.2", "2004/03/07 18:01:02", "carol", "", "fix", true, false},
                   {"1.1", "2004/03/01 09:00:00", "carol", "", "initial", false, true}});
}

TEST(LogParser, KeepsCarriageReturnsInMessagesButNotInFields) {
    std::string crlf;
    for (const char* p = kGnu112Log; *p; ++p)
        crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    const std::vector<CCVSLogEntry> entries = ParseLog(crlf, "1.2");
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].revision, "1.3");
    EXPECT_TRUE(entries[0].isHead);
    EXPECT_TRUE(entries[1].isWorking);
    EXPECT_EQ(entries[1].branches, " 1.2.2;");
    EXPECT_EQ(entries[1].message, "second revision\rwith a second line\r");
    EXPECT_EQ(entries[3].message, "\r");
}

TEST(LogParser, DescribePrefersHeadToAncestor) {
    CCVSLogEntry entry;
    entry.revision = "1.4";
    entry.date = "2026-12-10 02:21:35 +0000";
    entry.author = "bob";
    EXPECT_EQ(Describe(entry), "1.4 2026-12-10 02:21:35 +0000 bob");
    entry.isWorking = true;
    EXPECT_EQ(Describe(entry), "ancestor 1.4 2026-12-10 02:21:35 +0000 bob");
    entry.isHead = true;
    EXPECT_EQ(Describe(entry), "head 1.4 2026-12-10 02:21:35 +0000 bob");
}

TEST(LogParser, LinesOfAnotherCvsVersionGiveSensibleRecords) {
    // A log in the style of another cvs: more fields on the date line, a mergepoint line,
    // header lines of its own, a date line without labels, and a revision without a date.
    const char* text =
        "RCS file: /repo/mod/c.cpp,v\n"
        "Working file: c.cpp\n"
        "head: 1.3\n"
        "branch:\n"
        "locks: strict\n"
        "access list:\n"
        "keyword substitution: kv\n"
        "total revisions: 3;\tselected revisions: 3\n"
        "description:\n"
        "Unknown header: with a value\n"
        "----------------------------\n"
        "revision 1.3\n"
        "date: 2005/03/04 10:11:12;  author: dave;  state: Exp;  lines: +1 -0;  "
        "kopt: kv;  commitid: 9a4229e5;  mergepoint: 1.2.2.1;  filename: c.cpp;\n"
        "mergepoint:  1.2.2.1;\n"
        "merged\n"
        "----------------------------\n"
        "revision 1.2\n"
        "2005/03/01 10:00:00 by erin\n"
        "no labels\n"
        "----------------------------\n"
        "revision 1.1\n"
        "----------------------------\n"
        "=============================================================================\n";
    ExpectEntries(ParseLog(text, ""), {{"1.3", "2005/03/04 10:11:12", "dave", "",
                                        "mergepoint:  1.2.2.1;merged", true, false},
                                       {"1.2", "", "", "", "no labels", false, false},
                                       {"1.1", "", "", "", "", false, false}});
}

TEST(LogParser, TextCutOffAnywhereGivesTheEntriesReadSoFar) {
    const std::string text = kGnu112Log;
    const std::vector<CCVSLogEntry> whole = ParseLog(text, "");
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        const std::vector<CCVSLogEntry> part = ParseLog(text.substr(0, cut), "");
        ASSERT_LE(part.size(), whole.size()) << cut;
        for (size_t i = 0; i + 1 < part.size(); ++i)
            ASSERT_EQ(part[i].message, whole[i].message) << cut;
    }
    // Without its last line feed the text still ends its last entry.
    const std::vector<CCVSLogEntry> noEnd = ParseLog(text.substr(0, text.size() - 1), "");
    ASSERT_EQ(noEnd.size(), whole.size());
    EXPECT_EQ(noEnd.back().message, "on branch");
}

TEST(LogParser, ALongMessageLineIsReadWholeAndTheOlderRevisionsFollow) {
    const std::string huge(100 * 1024, 'x');
    const std::string text = "head: 1.2\n----------------------------\nrevision 1.2\n"
                             "date: 2026-01-02 03:04:05 +0000;  author: fay;  state: Exp;\n" +
                             huge + "\nsecond line \xE4\xF6\xFC\n" +
                             "----------------------------\nrevision 1.1\n"
                             "date: 2026-01-01 00:00:00 +0000;  author: fay;  state: Exp;\n"
                             "first\n=====\n";
    const std::vector<CCVSLogEntry> entries = ParseLog(text, "1.1");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].message, huge + "second line \xE4\xF6\xFC");
    EXPECT_EQ(entries[1].message, "first");
    EXPECT_TRUE(entries[1].isWorking);
}

TEST(LogParser, ArbitraryBytesNeverBreakIt) {
    std::mt19937 random(12345);
    const std::string pieces[] = {"revision ",
                                  "head: ",
                                  "date: ",
                                  "author: ",
                                  ";",
                                  "branches: ",
                                  "----",
                                  "====",
                                  "\n",
                                  "\r\n",
                                  "symbolic names:",
                                  "\t",
                                  ":",
                                  std::string(1, '\0'),
                                  "1.2",
                                  "x"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        for (const CCVSLogEntry& entry : ParseLog(text, "1.2"))
            EXPECT_LE(entry.message.size(), text.size());
        std::vector<std::string> tags;
        ParseTagNames(text, tags);
        for (const std::string& tag : tags)
            EXPECT_FALSE(tag.empty());
    }
}

TEST(LogParser, TagNamesOnceEachInOrderOfFirstAppearance) {
    const std::string headers = std::string(kGnu112Log) +
                                "\nRCS file: /repo/mod/b.c,v\nWorking file: b.c\nhead: 1.1\n"
                                "symbolic names:\r\n"
                                "\tREL_2: 1.1\r\n"
                                "\tREL_1: 1.1\r\n"
                                "keyword substitution: b\r\n"
                                "total revisions: 1\r\n";
    std::vector<std::string> tags{"vendor", "MINE"};
    ParseTagNames(headers, tags);
    EXPECT_EQ(tags, (std::vector<std::string>{"vendor", "MINE", "BR1", "REL_1", "start", "REL_2"}));

    // Another cvs without a "keyword substitution:" line: the names end with the indented lines.
    std::vector<std::string> other;
    ParseTagNames("symbolic names:\n\tT1: 1.1\n  T2 : 1.2\ntotal revisions: 2\n\tnot: a tag\n",
                  other);
    EXPECT_EQ(other, (std::vector<std::string>{"T1", "T2"}));
}

} // namespace
