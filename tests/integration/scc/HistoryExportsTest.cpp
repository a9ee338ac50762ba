// SccDiff and SccHistory against the real cvs: the comparison by contents, the visual diff
// with and without the revision choice, the history sheet's tools, what failures answer,
// and each call's trace block, byte for byte.
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Text.h"
#include "scc/Exports.h"
#include "tests/support/CvsEngineFixture.h"
#include "tests/support/ToolRecord.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "ui/DlgDiff.h"
#include "ui/DlgItemHistory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing_support::ArgumentsOf;
using testing_support::ReadFile;
using testing_support::WriteFile;
using trace_test::Hex;
using trace_test::kBanner;
using Strings = std::vector<std::string>;

class DiffAndHistory : public testing_support::CvsWorkingCopyFixture {
protected:
    void SetUp() override {
        CvsWorkingCopyFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        env_.Settings().SetIndependentMode(false);
        env_.Settings().SetDiffExe(testing_support::RecorderProgram() + " %1 %2");
        trace_.Take();
    }
    SCCRTN Diff(const std::string& file, SccLong flags, SccWindow window = nullptr) {
        return SccDiff(context_.get(), window, file.c_str(), flags,
                       reinterpret_cast<SccCmdOptions>(0x5678));
    }
    static std::string DiffBlock(const std::string& file, const char* flags, const char* result) {
        return kBanner + "SccDiff\n" + kBanner + "INPUT:file_name        '" + file +
               "'\nfalgs            " + flags +
               "\noptions          00005678\nOUTPUT:options          00005678\nRESULT: " + result +
               "\n";
    }

    trace_test::ScopedTrace trace_;
    testing_support::ToolRecorder recorder_;
};

INSTANTIATE_TEST_SUITE_P(Methods, DiffAndHistory, testing_support::AllCvsMethods(),
                         testing_support::CvsMethodParamName);

TEST_P(DiffAndHistory, TheQuickDiffByContentsRunsCvsDiff) {
    EXPECT_EQ(Diff(File("a.txt"), 0x10), SCC_OK);
    EXPECT_THAT(Commands(), ElementsAre("cvs diff a.txt"));
    EXPECT_EQ(trace_.Take(), DiffBlock(File("a.txt"), "00000010", "00000000 (SCC_OK)"));

    // The same content written again: by time it differs, by contents it does not.
    WriteFile(File("a.txt"), "line 1\nline 2\nline 3\n");
    platform::SetLastWriteTime(File("a.txt"),
                               platform::FindEntry(File("a.txt"))->lastWriteTime + 60);
    EXPECT_EQ(Diff(File("a.txt"), 0x20), SCC_OK);
    EXPECT_EQ(Diff(File("a.txt"), 0x70), SCC_I_FILEDIFFERS);
    WriteFile(File("a.txt"), "line 1\nchanged\n");
    EXPECT_EQ(Diff(File("a.txt"), 0x10), SCC_I_FILEDIFFERS);
    EXPECT_EQ(trace_.Take(),
              DiffBlock(File("a.txt"), "00000020", "00000000 (SCC_OK)") +
                  DiffBlock(File("a.txt"), "00000070", "00000006 (SCC_I_FILEDIFFERS)") +
                  DiffBlock(File("a.txt"), "00000010", "00000006 (SCC_I_FILEDIFFERS)"));
    // The differences are not the output pane's.
    EXPECT_FALSE(env_.Pane().Has("> changed"));

    // A file CVS/Entries names but the repository does not know: the comparison fails.
    WriteFile(File("CVS/Entries"), ReadFile(File("CVS/Entries")) + "/ghost.txt/1.1/dummy//\n");
    WriteFile(File("ghost.txt"), "boo\n");
    ClearEntriesCache();
    EXPECT_EQ(Diff(File("ghost.txt"), 0x10), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(),
              DiffBlock(File("ghost.txt"), "00000010", "fffffff1 (SCC_E_NONSPECIFICERROR)"));
}

TEST_P(DiffAndHistory, TheVisualDiffStartsTheToolOnTheChosenRevision) {
    // The revision chosen in the dialog, owned by the host's window.
    int window = 0;
    env_.Host().ExpectDialog("Morvek :> File Difference", [&](uifw::DialogDriver& ui) {
        EXPECT_EQ(ui.Owner(), &window);
        ui.Choose(CDlgDiff::kIdcRevision, "1.2 ");
        ui.Click(uifw::kIdOk);
    });
    Commands();
    EXPECT_EQ(Diff(File("a.txt"), 0, &window), SCC_OK);
    EXPECT_THAT(Commands(), ElementsAre("cvs log a.txt", "cvs update -p -r 1.2 a.txt"));
    const std::string r12 = In(work_, "CVS/Diff/a.txt.1.2");
    testing_support::ToolStart start = recorder_.Wait();
    ASSERT_TRUE(start.seen);
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(File("a.txt"), r12));
    const std::string line =
        "\"" + testing_support::RecorderProgram() + "\"  \"" + File("a.txt") + "\" \"" + r12 + "\"";
    if (!start.line.empty()) {
        EXPECT_EQ(start.line, line);
    }
    EXPECT_EQ(trace_.Take(), DiffBlock(File("a.txt"), "00000000", "00000000 (SCC_OK)"));

    // Cancelled: nothing is fetched or started, and that is no failure.
    env_.Host().ExpectDialog("Morvek :> File Difference",
                             [](uifw::DialogDriver& ui) { ui.Click(uifw::kIdCancel); });
    EXPECT_EQ(Diff(File("a.txt"), 0), SCC_OK);
    EXPECT_THAT(Commands(), ElementsAre("cvs log a.txt"));
    EXPECT_FALSE(recorder_.Started());

    // USEQUICKCOMPARE: no choice; the revision of the working file, "a.txt." beside it, and
    // the revision first when DIFFEXE names %2 only.
    env_.Settings().SetUseQuickCompare(true);
    env_.Settings().SetDiffExe(testing_support::RecorderProgram() + " %2");
    EXPECT_EQ(Diff(File("sub/c.txt"), 0), SCC_OK);
    EXPECT_THAT(Commands(), ElementsAre("cvs update -p c.txt")); // in the file's folder
    start = recorder_.Wait();
    EXPECT_THAT(ArgumentsOf(start),
                ElementsAre(In(work_, "sub/CVS/Diff/c.txt."), File("sub/c.txt")));
    EXPECT_EQ(ReadFile(In(work_, "sub/CVS/Diff/c.txt.")),
              std::string("c") + platform::kTextLineEnd);
    EXPECT_EQ(start.folder, platform::ThisModuleFolder());
}

TEST_P(DiffAndHistory, ARevisionThatCannotBeFetchedOrADiffToolThatCannotStartFail) {
    env_.Settings().SetUseQuickCompare(true);
    WriteFile(File("CVS/Entries"), ReadFile(File("CVS/Entries")) + "/ghost.txt/1.1/dummy//\n");
    WriteFile(File("ghost.txt"), "boo\n");
    ClearEntriesCache();
    EXPECT_EQ(Diff(File("ghost.txt"), 0), SCC_E_NONSPECIFICERROR);
    EXPECT_TRUE(env_.Pane().Has("Error while retrieving revision"));
    EXPECT_EQ(ReadFile(File("ghost.txt")), "boo\n");

    const std::string missing = File("no-such-diff-tool");
    env_.Settings().SetDiffExe(missing + " %1 %2");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(Diff(File("a.txt"), 0), SCC_E_NONSPECIFICERROR);
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    const uifw::MessageBoxRecord box = env_.Host().MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Morvek CVS SCC");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text.rfind("Could not start \"" + missing + "\" (DIFFEXE): ", 0), 0u) << box.text;
    EXPECT_TRUE(env_.Pane().Has(box.text));
    EXPECT_EQ(trace_.Take(),
              DiffBlock(File("ghost.txt"), "00000000", "fffffff1 (SCC_E_NONSPECIFICERROR)") +
                  DiffBlock(File("a.txt"), "00000000", "fffffff1 (SCC_E_NONSPECIFICERROR)"));
    EXPECT_FALSE(recorder_.Started());
}

TEST_P(DiffAndHistory, TheHistoryStartsTheDiffToolOnARevisionAndTheWorkingFile) {
    const std::string file = File("a.txt");
    const char* names[] = {file.c_str()};
    env_.Host().ExpectDialog("History", [&](uifw::DialogDriver& ui) {
        uifw::DialogDriver page = ui.Page(0);
        const auto rows = page.Rows(CPageItemRevHist::kIdcRevisions);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i][1] == "1.1")
                page.ClickRow(CPageItemRevHist::kIdcRevisions, static_cast<int>(i));
        page.Click(CPageItemRevHist::kIdcDiffLocal);
        ui.Click(uifw::kIdOk);
    });
    EXPECT_EQ(SccHistory(context_.get(), nullptr, 1, names, 0, nullptr), SCC_OK);
    const testing_support::ToolStart start = recorder_.Wait();
    EXPECT_THAT(ArgumentsOf(start), ElementsAre(file, In(work_, "CVS/Diff/a.txt.1.1")));
    EXPECT_EQ(trace_.Take(), kBanner + "SccHistory\n" + kBanner + "INPUT: \nnum_files       1\n" +
                                 "file_names      '" + file +
                                 "'\nflags           00000000\noptions          00000000\n"
                                 "OUTPUT:\noptions          00000000\nRESULT: 00000000 (SCC_OK)\n");
}

} // namespace
