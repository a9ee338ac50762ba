// Reading a repository listing into module entries; comparing CVSROOT texts.
#include "operations/CVSController.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<CCVSModuleEntry>;

std::string Describe(const Entries& entries) {
    std::string text;
    for (const CCVSModuleEntry& e : entries)
        text += e.path + "|" + e.name + "|" + e.revision + "|" + e.date + "\n";
    return text;
}

TEST(ModuleListing, FilesFollowTheirFolderAndPathsStartWithTheListedPath) {
    const std::string output = "D/src////\n/a.c/1.2/Thu Dec 10 02:25:00 2026//\n";
    EXPECT_EQ(Describe(ParseModuleListing(output, "proj", false)),
              "proj/src|src||\n"
              "proj/src\\a.c|src\\a.c|1.2|Thu Dec 10 02:25:00 2026\n");
    EXPECT_EQ(Describe(ParseModuleListing(output, "proj", true)), "proj/src|src||\n");
    EXPECT_EQ(Describe(ParseModuleListing(output, "proj/", true)), "proj/src|src||\n");
}

TEST(ModuleListing, TheTopOfTheRepositoryGivesPlainNames) {
    const std::string output = "D/CVSROOT////\r\nD/mod////\r\n/top.txt/1.1/date//\r\n";
    for (const char* top : {"", "."})
        EXPECT_EQ(Describe(ParseModuleListing(output, top, false)),
                  "CVSROOT|CVSROOT||\nmod|mod||\nmod\\top.txt|mod\\top.txt|1.1|date\n")
            << top;
}

TEST(ModuleListing, ShortAndOddLines) {
    struct Case {
        const char* output;
        const char* expected;
    } const cases[] = {
        {"", ""},
        {"\n\n", ""},
        {"////\n", ""},                               // no piece at all
        {"D\n/x.c/1.1\n", "m/|||\nm/x.c|x.c|1.1|\n"}, // a folder without name, a file without date
        {"/only//\n", "m/only|only||\n"},             // a file line without revision
        {"//a.c///1.4//d//\n", "m/a.c|a.c|1.4|d\n"},  // runs of slashes are one separator
        {"cvs rls: Listing module: `m'\n", "m/cvs rls: Listing module: `m'|cvs rls: Listing "
                                           "module: `m'||\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Describe(ParseModuleListing(c.output, "m", false)), c.expected) << c.output;
}

TEST(ModuleListing, ALineTooLongEndsTheReading) {
    const std::string longLine = "/" + std::string(1000, 'x') + "/1.1/d//\n";
    EXPECT_EQ(ParseModuleListing("D/a////\n" + longLine + "D/b////\n", "", true).size(), 1u);
    const std::string fits = "/" + std::string(990, 'x') + "/1.1/d//\n";
    EXPECT_EQ(ParseModuleListing("D/a////\n" + fits + "D/b////\n", "", false).size(), 3u);
}

TEST(CvsRoots, TheSameRepositoryWhateverTheSpelling) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } const cases[] = {
        {"/repo", ":local:/repo", true},
        {"/repo/", "/repo", true},
        {" :pserver:ann@host:/repo ", ":pserver:ann@host:2401/repo", true},
        {":pserver:ann@host:2402/repo", ":pserver:ann@host:/repo", false},
        {":pserver:ann@host:/repo", ":pserver:bob@host:/repo", false},
        {":fork:/repo", "/repo", false},
        {"/repo", "/Repo", false},
        {"", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameCvsRoot(c.a, c.b), c.same) << c.a << " ~ " << c.b;
}

} // namespace
