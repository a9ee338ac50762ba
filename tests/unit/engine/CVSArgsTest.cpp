// The argument vector.
#include "engine/CVSArgs.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Items(const CCVSArgs& args) {
    std::vector<std::string> items;
    for (int i = 0; i < args.GetCount(); ++i)
        items.push_back(args.GetAt(i) ? args.GetAt(i) : "<null>");
    return items;
}

TEST(CVSArgs, InsertAtFrontKeepsTheLaterInsertFirst) {
    CCVSArgs args;
    args.Add("update");
    args.Add("-A");
    args.InsertAt(0, "-z3");
    EXPECT_EQ(Items(args), (std::vector<std::string>{"-z3", "update", "-A"}));
    args.InsertAt(0, "-t");
    EXPECT_EQ(Items(args), (std::vector<std::string>{"-t", "-z3", "update", "-A"}));
    args.InsertAt(99, "end");
    EXPECT_EQ(args.GetAt(4), std::string("end"));
}

TEST(CVSArgs, CopiesNullsAndReuse) {
    CCVSArgs args;
    std::string text = "a file with spaces";
    args.Add(text);
    text[0] = 'X';
    args.Add(static_cast<const char*>(nullptr));
    args.Add("");
    EXPECT_EQ(Items(args), (std::vector<std::string>{"a file with spaces", "<null>", ""}));
    EXPECT_EQ(args.CommandLine(), "cvs a file with spaces  ");
    EXPECT_EQ(args.GetArgv()[1], nullptr);
    EXPECT_EQ(args.GetAt(3), nullptr);
    EXPECT_EQ(args.GetAt(-1), nullptr);

    args.RemoveAll();
    EXPECT_EQ(args.GetCount(), 0);
    EXPECT_EQ(args.GetArgv(), nullptr);
    EXPECT_EQ(args.CommandLine(), "cvs");
    args.Add("log");
    EXPECT_EQ(Items(args), std::vector<std::string>{"log"});
}

} // namespace
