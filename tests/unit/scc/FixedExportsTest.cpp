// The exports whose answer is fixed: their results and their trace blocks, byte for byte.
#include "engine/CVSContext.h"
#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "scc/Trace.h"
#include "tests/support/TestSupport.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "workcopy/Entries.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

using trace_test::Hex;
using trace_test::kBanner;

class FixedExports : public ::testing::Test {
protected:
    std::string Take() { return trace_.Take(); }

    // Exports that take a context reach the process's settings, which write first-run
    // values when they are first read.
    testing_support::IsolatedUser user_;
    trace_test::ScopedTrace trace_;
};

TEST_F(FixedExports, GetVersion) {
    EXPECT_EQ(SccGetVersion(), 0x00010001);
    EXPECT_EQ(Take(), kBanner + "SccGetVersion\n" + kBanner + "RESULT: 00010001 \n");
}

TEST_F(FixedExports, SetOptionNamesOptionsOneToSixOnly) {
    void* context = reinterpret_cast<void*>(static_cast<uintptr_t>(0x12345678));
    EXPECT_EQ(SccSetOption(context, 3, 1), 0);
    EXPECT_EQ(Take(), kBanner + "SccSetOption\n" + kBanner +
                          "INPUT:\n"
                          "context_arg 12345678\n"
                          "option      00000003\n"
                          "SCC_OPT_HASCANCELMODE\n"
                          "val         00000001\n"
                          "RESULT: 00000000 (SCC_OK)\n");
    EXPECT_EQ(SccSetOption(context, 7, -1), 0);
    EXPECT_EQ(Take(), kBanner + "SccSetOption\n" + kBanner +
                          "INPUT:\n"
                          "context_arg 12345678\n"
                          "option      00000007\n"
                          "val         ffffffff\n"
                          "RESULT: 00000000 (SCC_OK)\n");
    const char* names[] = {"SCC_OPT_EVENTQUEUE",      "SCC_OPT_USERDATA",
                           "SCC_OPT_HASCANCELMODE",   "SCC_OPT_NAMECHANGEPFN",
                           "SCC_OPT_SCCCHECKOUTONLY", "SCC_OPT_SHARESUBPROJ"};
    for (int option = 1; option <= 6; ++option) {
        EXPECT_EQ(SccSetOption(nullptr, option, 0), 0);
        EXPECT_NE(Take().find(std::string("\n") + names[option - 1] + "\n"), std::string::npos);
    }
}

TEST_F(FixedExports, ExtendedCapabilitiesLeaveTheFlagAlone) {
    SccBool supported = 5;
    EXPECT_EQ(SccGetExtendedCapabilities(nullptr, 8, &supported), 0);
    EXPECT_EQ(supported, 5);
    const std::string address = std::to_string(static_cast<int32_t>(TraceLow32(&supported)));
    const std::string lines = "lSccExCaps     8\npbSupported    " + address + "\n";
    EXPECT_EQ(Take(), kBanner + "SccGetExtendedCapabilities\n" + kBanner + "INPUT:\n" + lines +
                          "OUTPUT:\n" + lines);
}

TEST_F(FixedExports, DirQueryInfoMarksCvsFolders) {
    TempDir work("dirs");
    std::string controlled = work / "wc";
    std::string plain = work / "plain";
    std::string missing = work / "missing";
    for (const std::string& folder :
         {controlled, plain, controlled + testing_support::Sep() + "CVS"})
        ASSERT_TRUE(platform::MakeFolder(folder));
    testing_support::WriteFile(
        controlled + testing_support::Sep() + "CVS" + testing_support::Sep() + "Entries", "");
    const char* folders[] = {controlled.c_str(), plain.c_str(), missing.c_str()};
    SccLong status[] = {7, 7, 7};
    EXPECT_EQ(SccDirQueryInfo(nullptr, 3, folders, status), 0);
    EXPECT_EQ(status[0], 1);
    EXPECT_EQ(status[1], 0);
    EXPECT_EQ(status[2], 0);
    EXPECT_EQ(Take(), kBanner + "SccDirQueryInfo\n" + kBanner +
                          "INPUT:\n"
                          "num directories  3\n"
                          "Directory Names  '" +
                          controlled +
                          "' (00000007)\n"
                          "Directory Names  '" +
                          plain +
                          "' (00000007)\n"
                          "Directory Names  '" +
                          missing +
                          "' (00000007)\n"
                          "OUTPUT:\n"
                          "Directory Names  '" +
                          controlled +
                          "' (00000001)\n"
                          "Directory Names  '" +
                          plain +
                          "' (00000000)\n"
                          "Directory Names  '" +
                          missing +
                          "' (00000000)\n"
                          "RESULT: 00000000 (SCC_OK)\n");
}

TEST_F(FixedExports, DirQueryInfoWithNoFoldersOrNullArrays) {
    EXPECT_EQ(SccDirQueryInfo(nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(Take(), kBanner + "SccDirQueryInfo\n" + kBanner +
                          "INPUT:\nnum directories  0\nOUTPUT:\nRESULT: 00000000 (SCC_OK)\n");
    EXPECT_EQ(SccDirQueryInfo(nullptr, -3, nullptr, nullptr), 0);
    EXPECT_EQ(Take(), kBanner + "SccDirQueryInfo\n" + kBanner +
                          "INPUT:\nnum directories  -3\nOUTPUT:\nRESULT: 00000000 (SCC_OK)\n");
    const char* folders[] = {nullptr};
    EXPECT_EQ(SccDirQueryInfo(nullptr, 1, folders, nullptr), 0);
    EXPECT_EQ(Take(), kBanner + "SccDirQueryInfo\n" + kBanner +
                          "INPUT:\nnum directories  1\nDirectory Names  '' (00000000)\n"
                          "OUTPUT:\nDirectory Names  '' (00000000)\nRESULT: 00000000 (SCC_OK)\n");
}

TEST_F(FixedExports, CreateSubProjectRecordsTheWindowAndEndsWithoutNewline) {
    CCVSContext context;
    char user[32] = "alice", aux[301] = ":local:/repo", sub[301] = "";
    void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(0xABC));
    EXPECT_EQ(SccCreateSubProject(&context, window, user, "/work/p", "child", aux, sub), -14);
    EXPECT_EQ(context.GetWindow(), window);
    EXPECT_EQ(Take(), kBanner + "SccCreateSubProject\n" + kBanner +
                          "user             'alice'\n"
                          "parent proj path '/work/p'\n"
                          "sub proj name    'child'\n"
                          "aux proj path    ':local:/repo'\n"
                          "sub proj path    ''\n"
                          "RESULT: 4294967282 (SCC_E_OPNOTSUPPORTED)");
}

TEST_F(FixedExports, DirDiffRecordsTheWindow) {
    CCVSContext context;
    void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(0x42));
    int options = 0;
    EXPECT_EQ(SccDirDiff(&context, window, "/w", 0x12, &options), -14);
    EXPECT_EQ(context.GetWindow(), window);
    EXPECT_EQ(Take(), kBanner + "SccDirDiff\n" + kBanner +
                          "INPUT:\n"
                          "Directory Name   '/w'\n"
                          "flags            00000012\n"
                          "options          " +
                          Hex(&options) +
                          "\n"
                          "OUTPUT:\n"
                          "options          " +
                          Hex(&options) +
                          "\n"
                          "RESULT: fffffff2 (SCC_E_OPNOTSUPPORTED)\n");
}

TEST_F(FixedExports, UnsupportedCommandsWithNothingToTrace) {
    const std::string result = "RESULT: fffffff2 (SCC_E_OPNOTSUPPORTED)\n";
    SccLong count = 3;
    const char** names = nullptr;
    EXPECT_EQ(SccAddFromScc(nullptr, nullptr, &count, &names), -14);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Take(), kBanner + "SccAddFromScc\n" + kBanner + result);
    EXPECT_EQ(SccBeginBatch(), -14);
    EXPECT_EQ(Take(), kBanner + "SccBeginBatch\n" + kBanner + result);
    EXPECT_EQ(SccEndBatch(), -14);
    EXPECT_EQ(Take(), kBanner + "SccEndBatch\n" + kBanner + result);
}

TEST_F(FixedExports, NamesWithoutNewlineRunIntoTheBanner) {
    char file[260] = "a.c";
    SccLong status = 0x1001, remaining = 2;
    EXPECT_EQ(SccGetEvents(nullptr, file, &status, &remaining), -14);
    EXPECT_EQ(status, 0x1001);
    EXPECT_EQ(remaining, 2);
    EXPECT_EQ(Take(), kBanner + "SccGetEvents" + kBanner +
                          "filename       a.c\n"
                          "status         00001001\n"
                          "evts remaining 00000002\n"
                          "OUTPUT:\n"
                          "RESULT: fffffff2 (SCC_E_OPNOTSUPPORTED)\n");

    char user[32] = "bob", aux[301] = "aux", parent[301] = "untouched";
    EXPECT_EQ(SccGetParentProjectPath(nullptr, nullptr, user, "/p", aux, parent), -14);
    EXPECT_STREQ(parent, "untouched");
    EXPECT_EQ(Take(), kBanner + "SccGetParentProjectPath" + kBanner +
                          "INPUT:\n"
                          "user          bob\n"
                          "ProjPath      /p\n"
                          "AuxProjPath   aux\n"
                          "ParProjPath   untouched\n");

    SccBool multi = 9;
    EXPECT_EQ(SccIsMultiCheckoutEnabled(nullptr, &multi), -14);
    EXPECT_EQ(multi, 9);
    EXPECT_EQ(Take(), kBanner + "SccIsMultiCheckoutEnabled" + kBanner +
                          "INPUT:\n"
                          "multicheckout  00000009\n"
                          "OUTPUT:\n"
                          "RESULT: fffffff2 (SCC_E_OPNOTSUPPORTED)\n");
}

TEST_F(FixedExports, WillCreateSccFileListsItsFiles) {
    const char* files[] = {"x.sln", "y.prj"};
    SccBool flags[] = {1, 0};
    EXPECT_EQ(SccWillCreateSccFile(nullptr, 2, files, flags), -14);
    EXPECT_EQ(flags[0], 1);
    EXPECT_EQ(Take(), kBanner + "SccWillCreateSccFile\n" + kBanner +
                          "INPUT:\n"
                          "files         2\n"
                          "file_names    'x.sln' (00000001)\n"
                          "file_names    'y.prj' (00000000)\n"
                          "RESULT: fffffff2 (SCC_E_OPNOTSUPPORTED)\n");
}

TEST_F(FixedExports, TestWritesNothing) {
    EXPECT_EQ(SccTest(), 0);
    EXPECT_EQ(Take(), "");
}

TEST(TraceWriter, OffWritesNothing) {
    TempDir dir("trace-off");
    SetTracePath("");
    SccGetVersion();
    TraceLog("piece\n");
    EXPECT_EQ(ReadFile(dir / "trace.log"), "");
}

TEST(TraceWriter, PiecesRunOnAndTheFileOnlyGrows) {
    TempDir dir("trace-grow");
    testing_support::WriteFile(dir / "trace.log", "kept\n");
    SetTracePath(dir / "trace.log");
    TraceLog("a%s", "b");
    TraceLog("%i|%u|%08x\n", -15, static_cast<unsigned>(-15), 0x1003u);
    SetTracePath("");
    EXPECT_EQ(ReadFile(dir / "trace.log"), "kept\nab-15|4294967281|00001003\n");
}

TEST(TraceWriter, AnUnopenableFileStopsTracingForGood) {
    TempDir dir("trace-fail");
    const std::string bad = dir / "no-such-folder" + testing_support::Sep() + "trace.log";
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "the Windows build shows a real message box here, which needs a desktop";
    SetTracePath(bad);
    ::testing::internal::CaptureStderr();
    SccGetVersion(); // the first piece fails and reports once
    SccGetVersion();
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(GetTracePath(), "");
    EXPECT_EQ(shown, "Morvek CVS SCC: Failed to create log file\n");
    SetTracePath("");
}

} // namespace
