// SccDiff and SccHistory through the provider loaded by path, called as an IDE calls them,
// against a local repository, :fork: and a pserver: the quick diff by time and by contents,
// the visual diff on the revision chosen, "Replace Local" giving back a binary revision byte
// for byte and keeping the user's own changes, and their trace blocks byte for byte. The
// revision choice and the history sheet are answered by the scripted answers the provider
// takes from the environment when it loads.
#include "platform/FileSystem.h"
#include "tests/e2e/IdeSession.h"
#include "tests/support/ToolRecord.h"
#include "tests/support/TraceBlocks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using e2e::Answers;
using e2e::g_pane;
using e2e::IdeSession;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;
using testing_support::ArgumentsOf;
using testing_support::ModuleImageBytes;
using testing_support::ReadFile;
using testing_support::Sep;
using testing_support::WithPlatformLineEnds;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using trace_test::InitializeBlock;
using trace_test::kBanner;
using trace_test::kUninitializeBlock;

std::string DiffBlock(const std::string& file, const char* flags, const char* result) {
    return kBanner + "SccDiff\n" + kBanner + "INPUT:file_name        '" + file +
           "'\nfalgs            " + flags +
           "\noptions          00000000\nOUTPUT:options          00000000\nRESULT: " + result +
           "\n";
}
std::string HistoryBlock(const std::string& file) {
    return kBanner + "SccHistory\n" + kBanner + "INPUT: \nnum_files       1\nfile_names      '" +
           file +
           "'\nflags           00000000\noptions          00000000\n"
           "OUTPUT:\noptions          00000000\nRESULT: 00000000 (SCC_OK)\n";
}

class HistoryExportsModule : public e2e::IdeOnWorkingCopy {
protected:
    void SetUp() override {
        IdeOnWorkingCopy::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CSccSettings settings;
        settings.SetIndependentMode(false);
        settings.SetDiffExe(testing_support::RecorderProgram() + " %1 %2");
        settings.SetEditor(testing_support::RecorderProgram());
    }
    SCCRTN History(IdeSession& ide, const std::string& file) {
        const char* names[] = {file.c_str()};
        return ide.Get<decltype(&SccHistory)>("SccHistory")(ide.Context(), nullptr, 1, names, 0,
                                                            nullptr);
    }

    testing_support::ToolRecorder recorder_;
};

INSTANTIATE_TEST_SUITE_P(Methods, HistoryExportsModule,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

TEST_P(HistoryExportsModule, TheQuickDiffAnswersAndTheVisualDiffStartsTheTool) {
    const std::string a = File("a.txt"), c = File("sub/c.txt"), loose = File("loose.txt");
    WriteFile(c, "changed\n");
    WriteFile(loose, "not under CVS\n");
    IdeSession ide(Answers{{"REVISION", "1.1"}});
    Open(ide);
    auto diff = ide.Get<decltype(&SccDiff)>("SccDiff");
    g_pane.clear();

    // By time: no cvs runs.
    EXPECT_EQ(diff(ide.Context(), nullptr, a.c_str(), 0x70, nullptr), SCC_OK);
    EXPECT_EQ(diff(ide.Context(), nullptr, c.c_str(), 0x40, nullptr), SCC_I_FILEDIFFERS);
    EXPECT_THAT(g_pane, Not(Contains(HasSubstr("Current Directory: "))));
    // By contents: cvs diff, whose differences stay out of the pane.
    EXPECT_EQ(diff(ide.Context(), nullptr, a.c_str(), 0x10, nullptr), SCC_OK);
    EXPECT_EQ(diff(ide.Context(), nullptr, c.c_str(), 0x20, nullptr), SCC_I_FILEDIFFERS);
    EXPECT_THAT(g_pane, Contains("cvs diff c.txt"));
    EXPECT_THAT(g_pane, Not(Contains(HasSubstr("changed"))));
    // Visual: the revision chosen, fetched beside the file, and the working file first.
    EXPECT_EQ(diff(ide.Context(), nullptr, a.c_str(), 0, nullptr), SCC_OK);
    const testing_support::ToolStart start = recorder_.Wait();
    ASSERT_TRUE(start.seen);
    const std::string r11 = File("CVS/Diff/a.txt.1.1");
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(a, r11));
    EXPECT_EQ(ReadFile(r11), WithPlatformLineEnds("line 1\n"));
    // Files that are missing or not under CVS.
    EXPECT_EQ(diff(ide.Context(), nullptr, loose.c_str(), 0, nullptr), SCC_E_FILENOTCONTROLLED);
    EXPECT_EQ(diff(ide.Context(), nullptr, File("gone.txt").c_str(), 0x70, nullptr),
              SCC_E_FILENOTEXIST);

    const void* context = ide.Context();
    ide.Uninitialize();
    EXPECT_EQ(Trace().rfind(InitializeBlock("IDE", context), 0), 0u);
    EXPECT_EQ(TraceFrom("SccDiff"),
              DiffBlock(a, "00000070", "00000000 (SCC_OK)") +
                  DiffBlock(c, "00000040", "00000006 (SCC_I_FILEDIFFERS)") +
                  DiffBlock(a, "00000010", "00000000 (SCC_OK)") +
                  DiffBlock(c, "00000020", "00000006 (SCC_I_FILEDIFFERS)") +
                  DiffBlock(a, "00000000", "00000000 (SCC_OK)") +
                  DiffBlock(loose, "00000000", "fffffff5 (SCC_E_FILENOTCONTROLLED)") +
                  DiffBlock(File("gone.txt"), "00000070", "ffffffe4 (SCC_E_FILENOTEXIST)") +
                  kUninitializeBlock);
}

TEST_P(HistoryExportsModule, ReplaceLocalGivesBackTheRepositorysBytesAndKeepsTheUsersOwn) {
    // A newer binary revision with NULs and CRs of its own; the working file is that one.
    const std::string img = File("img.bin");
    const std::string newer("\0\r\n\r\0newer image\r", 18);
    ASSERT_EQ(repo_.Commit(work_, "img.bin", newer, "newer image").status, 0);
    {
        IdeSession ide(Answers{{"REVISIONS", "1.1"}, {"ACTION", "replace local"}});
        Open(ide);
        EXPECT_EQ(History(ide, img), SCC_OK);
        EXPECT_TRUE(ReadFile(img) == ModuleImageBytes());
        // The working file was the repository's 1.2: nothing of the user's to keep.
        EXPECT_FALSE(platform::Exists(File(".#img.bin.1.2")));
        ide.Uninitialize();
        EXPECT_EQ(TraceFrom("SccHistory"), HistoryBlock(img) + kUninitializeBlock);
    }

    // The user's own bytes, over which a revision comes: kept as cvs keeps them, and said.
    const std::string a = File("a.txt");
    const std::string mine("my own work\r\n\0with a NUL\r", 26);
    WriteFile(a, mine);
    g_pane.clear();
    IdeSession ide(Answers{{"REVISIONS", "1.2"}, {"ACTION", "replace local"}});
    Open(ide);
    EXPECT_EQ(History(ide, a), SCC_OK);
    EXPECT_EQ(ReadFile(a), WithPlatformLineEnds("line 1\nline 2\n"));
    EXPECT_TRUE(ReadFile(File(".#a.txt.1.3")) == mine);
    EXPECT_THAT(g_pane, Contains("Kept the local changes of " + a + " as " + File(".#a.txt.1.3")));
}

} // namespace
