// The folders a program is looked for in: only absolute PATH entries, by each platform's
// rules (both tested everywhere).
#include "platform/Process.h"

#include <gtest/gtest.h>

namespace {

using platform::PathStyle;

TEST(ProgramSearchFolders, KeepOnlyTheAbsoluteEntriesInOrder) {
    struct Case {
        PathStyle style;
        const char* path;
        std::vector<std::string> folders;
    } const cases[] = {
        {PathStyle::Posix, "/usr/bin::.:bin:/opt/cvs/:./x", {"/usr/bin", "/opt/cvs/"}},
        {PathStyle::Posix, "", {}},
        {PathStyle::Posix, "C:\\cvs;/bin", {}}, // one relative entry on POSIX
        {PathStyle::Windows,
         "C:\\Windows;;.;cvs;\"C:\\Program Files\\CVS\";D:/tools;\\rooted;E:relative;"
         "\\\\server\\share\\bin",
         {"C:\\Windows", "C:\\Program Files\\CVS", "D:/tools", "\\\\server\\share\\bin"}},
        {PathStyle::Windows, ";", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::ProgramSearchFolders(c.path, c.style), c.folders) << c.path;
}

} // namespace
