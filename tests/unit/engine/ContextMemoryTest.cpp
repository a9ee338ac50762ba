// The heap while a command's large output goes through the context: the captures keep every
// byte and the pane gets every line, but nothing else holds another whole copy.
#include "engine/CVSArgs.h"
#include "engine/CVSContext.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/support/HeapCount.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// An output pane that keeps no text, so that it adds nothing to what is measured.
struct CountingPane {
    static int32_t TextOut(char* text, int32_t) {
        const size_t length = std::char_traits<char>::length(text);
        ++texts;
        bytes += length;
        longest = std::max(longest, length);
        return 0;
    }
    static void Clear() { texts = bytes = longest = 0; }
    static size_t texts, bytes, longest;
};
size_t CountingPane::texts = 0;
size_t CountingPane::bytes = 0;
size_t CountingPane::longest = 0;

// Whether text is the fakecvs "bytes" pattern: byte i is i % 251.
bool IsBytesPattern(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) != i % 251)
            return false;
    return true;
}

TEST(ContextMemory, LargeOutputIsHeldOnceWhileItRunsAndTwiceWhenCopiedOut) {
    testing_support::EngineEnvironment env;
    env.Settings().SetCvsExePath(testing_support::FakeCvsPath());
    env.Settings().SetHideStatusUI(true);
    const size_t size = 16u << 20;
    const std::string count = std::to_string(size);
    // What the client library holds while it runs (up to its first megabyte of the error
    // stream, in a string that grows) and the captures' bookkeeping.
    const double slack = double(2u << 20) / size + 0.01;
    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool errorStream;
        bool oneLine;
        double runPeak; // times the output, besides the slack
    } const cases[] = {
        {"lines on standard output", {"bytes", count}, false, false, 1},
        // The pane gets the whole line as one text: it is put together once, at its end.
        {"no line feed at all", {"line", count}, false, true, 2},
        {"lines on standard error", {"bytes", count, "err"}, true, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingPane::Clear();
        CCVSContext context;
        context.SetTextOut(&CountingPane::TextOut);
        CCVSArgs args;
        for (const std::string& arg : c.args)
            args.Add(arg);

        const size_t before = testing_support::HeapInUse();
        testing_support::ResetHeapPeak();
        ASSERT_TRUE(context.Run(args));
        const double runPeak = double(testing_support::HeapPeak() - before) / size;
        const std::string copy = c.errorStream ? context.GetErrorCapture() : context.GetOutput();
        const double readPeak = double(testing_support::HeapPeak() - before) / size;

        EXPECT_LE(runPeak, c.runPeak + slack);
        EXPECT_LE(readPeak, 2 + slack);
        // Every byte, in order (the error stream gains the line feed that ends a run).
        ASSERT_EQ(copy.size(), size + (c.errorStream ? 1 : 0));
        if (c.oneLine) {
            EXPECT_EQ(copy.find_first_not_of('x'), std::string::npos);
            EXPECT_EQ(CountingPane::texts, 2u); // the echoed command line, then the output
            EXPECT_EQ(CountingPane::longest, size);
        } else {
            const std::string pattern = copy.substr(0, size);
            EXPECT_TRUE(IsBytesPattern(pattern));
            // The echoed command line, one text per line, and the unfinished last line.
            const size_t lines = std::count(pattern.begin(), pattern.end(), '\n');
            ASSERT_NE(pattern.back(), '\n');
            EXPECT_EQ(CountingPane::texts, 1 + lines + 1);
            EXPECT_LE(CountingPane::longest, 251u);
        }
    }
}

} // namespace
