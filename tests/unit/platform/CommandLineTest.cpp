// Windows command-line quoting: exact strings, checked on every platform.
#include "platform/Process.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsCommandLine, QuotesEachArgumentSoThatItSplitsBackUnchanged) {
    struct Case {
        const char* argument;
        const char* quoted;
    } cases[] = {
        {"plain", "plain"},
        {"", "\"\""},
        {"two words", "\"two words\""},
        {"tab\there", "\"tab\there\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"\"", "\"\\\"\""},
        {"C:\\path\\file.txt", "C:\\path\\file.txt"},   // backslashes alone stay as they are
        {"C:\\with space\\", "\"C:\\with space\\\\\""}, // doubled before the closing quote
        {"a\\\"b", "\"a\\\\\\\"b\""},                   // backslash before a quote: 2n+1
        {"-leading", "-leading"},
        {"$(echo hi); rm -rf /", "\"$(echo hi); rm -rf /\""},
        {"semi;colon", "semi;colon"},
        {"new\nline", "\"new\nline\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::QuoteWindowsArgument(c.argument), c.quoted) << c.argument;
}

TEST(WindowsCommandLine, QuotesTheProgramOnlyWhenItHoldsBlanks) {
    EXPECT_EQ(platform::BuildWindowsCommandLine("C:\\cvs\\cvs.exe", {"update", "-A"}),
              "C:\\cvs\\cvs.exe update -A");
    EXPECT_EQ(platform::BuildWindowsCommandLine("C:\\Program Files\\CVS\\cvs.exe",
                                                {"commit", "-m", "a message", ""}),
              "\"C:\\Program Files\\CVS\\cvs.exe\" commit -m \"a message\" \"\"");
}

} // namespace
