// The diff and history exports without a repository: the quick diff by time, the answers
// for files that are missing or not under CVS, a missing context, and their trace blocks,
// byte for byte. (With cvs, the comparison by contents, the visual diff and the history's
// actions: tests/integration/scc.)
#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "ui/DlgItemHistory.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::WriteFile;
using trace_test::Hex;
using trace_test::kBanner;

class HistoryExports : public ::testing::Test {
protected:
    void SetUp() override {
        // cvs stands in as a program that does nothing: no test here may need a repository.
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        context_ = env_.MakeContext();
        folder_ = NormalizePath(dir_.Path());
        platform::MakeFolder(folder_ + testing_support::Sep() + "CVS");
        file_ = folder_ + testing_support::Sep() + "a.txt";
        WriteFile(file_, "as cvs wrote it\n");
        WriteFile(folder_ + testing_support::Sep() + "CVS" + testing_support::Sep() + "Entries",
                  "/a.txt/1.3/" + GetFileTimeText(file_) + "//\n/gone.txt/1.1/dummy//\n");
        ClearEntriesCache();
        trace_.Take();
    }
    void TearDown() override {
        ClearEntriesCache();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    // The block of one SccDiff call with the options pointer 0x1234.
    static std::string DiffBlock(const std::string& file, const char* flags, const char* result) {
        return kBanner + "SccDiff\n" + kBanner + "INPUT:file_name        '" + file +
               "'\nfalgs            " + flags +
               "\noptions          00001234\nOUTPUT:options          00001234\nRESULT: " + result +
               "\n";
    }
    SCCRTN Diff(const std::string& file, SccLong flags) {
        return SccDiff(context_.get(), nullptr, file.c_str(), flags,
                       reinterpret_cast<SccCmdOptions>(0x1234));
    }

    testing_support::EngineEnvironment env_;
    testing_support::ScopedEnv anyCommand_{"FAKECVS_ANY_COMMAND", "1"};
    trace_test::ScopedTrace trace_;
    testing_support::TempDir dir_{"diff"};
    std::unique_ptr<CCVSContext> context_;
    std::string folder_, file_;
};

TEST_F(HistoryExports, TheQuickDiffDecidesByTimeWithoutRunningCvs) {
    const struct {
        SccLong flags;
        const char* flagsText;
    } byTime[] = {{0x70, "00000070"}, {0x40, "00000040"}, {0x50, "00000050"}, {0x7f, "0000007f"}};
    for (const auto& c : byTime) {
        SCOPED_TRACE(c.flagsText);
        EXPECT_EQ(Diff(file_, c.flags), SCC_OK);
        EXPECT_EQ(trace_.Take(), DiffBlock(file_, c.flagsText, "00000000 (SCC_OK)"));
    }
    // Contents or checksums with INDEPENDENTMODE on (its first-run value): by time too.
    ASSERT_TRUE(env_.Settings().GetIndependentMode());
    EXPECT_EQ(Diff(file_, 0x10), SCC_OK);
    EXPECT_EQ(Diff(file_, 0x20), SCC_OK);
    trace_.Take();

    platform::SetLastWriteTime(file_, platform::FindEntry(file_)->lastWriteTime + 3600);
    EXPECT_EQ(Diff(file_, 0x70), SCC_I_FILEDIFFERS);
    EXPECT_EQ(trace_.Take(), DiffBlock(file_, "00000070", "00000006 (SCC_I_FILEDIFFERS)"));
    EXPECT_EQ(Diff(file_, 0x10), SCC_I_FILEDIFFERS);
    EXPECT_THAT(env_.Pane().TakeCommands(), IsEmpty());
    // The host's window is not the context's for a comparison.
    int window = 0;
    context_->SetWindow(&window);
    SccDiff(context_.get(), &window, file_.c_str(), 0x40, nullptr);
    EXPECT_EQ(context_->GetWindow(), nullptr);
}

TEST_F(HistoryExports, AMissingFileAFileNotUnderCvsAndNoContextGetTheirCodes) {
    const std::string loose = folder_ + testing_support::Sep() + "loose.txt";
    WriteFile(loose, "x\n");
    const std::string gone = folder_ + testing_support::Sep() + "gone.txt";
    const struct {
        std::string file;
        SccLong flags;
        SCCRTN result;
        const char* traced;
    } cases[] = {
        {gone, 0x70, SCC_E_FILENOTEXIST, "ffffffe4 (SCC_E_FILENOTEXIST)"},
        {gone, 0, SCC_E_FILENOTEXIST, "ffffffe4 (SCC_E_FILENOTEXIST)"},
        {loose, 0x10, SCC_E_FILENOTCONTROLLED, "fffffff5 (SCC_E_FILENOTCONTROLLED)"},
        {loose, 0, SCC_E_FILENOTCONTROLLED, "fffffff5 (SCC_E_FILENOTCONTROLLED)"},
        {"", 0x40, SCC_E_FILENOTEXIST, "ffffffe4 (SCC_E_FILENOTEXIST)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(Diff(c.file, c.flags), c.result);
        char flags[16];
        std::snprintf(flags, sizeof flags, "%08x", static_cast<uint32_t>(c.flags));
        EXPECT_EQ(trace_.Take(), DiffBlock(c.file, flags, c.traced));
    }
    EXPECT_THAT(env_.Pane().TakeCommands(), IsEmpty());

    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(SccDiff(nullptr, nullptr, nullptr, 0x70, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccDiff\n" + kBanner +
                                 "INPUT:file_name        '(null)'\nfalgs            00000070\n"
                                 "options          00000000\nOUTPUT:options          00000000\n"
                                 "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");
    EXPECT_EQ(env_.Host().MessageBoxes().back().text,
              "Morvek CVS SCC not initialized by application.");
}

TEST_F(HistoryExports, HistoryShowsTheSheetForTheFilesAndAlwaysAnswersOk) {
    const std::string b = folder_ + testing_support::Sep() + "b.txt";
    const char* names[] = {file_.c_str(), b.c_str()};
    int window = 0;
    std::vector<std::string> shown;
    env_.Host().ExpectDialog("History", [&](uifw::DialogDriver& ui) {
        EXPECT_EQ(ui.Owner(), nullptr);
        shown = ui.Page(0).Items(CPageItemRevHist::kIdcFileName);
        ui.Click(uifw::kIdCancel);
    });
    EXPECT_EQ(
        SccHistory(context_.get(), &window, 2, names, 0x5, reinterpret_cast<SccCmdOptions>(0xabcd)),
        SCC_OK);
    EXPECT_THAT(shown, ElementsAre("a.txt", "b.txt"));
    EXPECT_EQ(context_->GetWindow(), &window);
    EXPECT_EQ(trace_.Take(), kBanner + "SccHistory\n" + kBanner + "INPUT: \nnum_files       2\n" +
                                 "file_names      '" + file_ + "'\nfile_names      '" + b +
                                 "'\nflags           00000005\noptions          0000abcd\n"
                                 "OUTPUT:\noptions          0000abcd\nRESULT: 00000000 (SCC_OK)\n");

    // No names (or a count below one): an empty sheet, no file lines.
    env_.Host().ExpectDialog("History", [](uifw::DialogDriver& ui) {
        EXPECT_THAT(ui.Page(0).Items(CPageItemRevHist::kIdcFileName), IsEmpty());
        ui.Click(uifw::kIdOk);
    });
    EXPECT_EQ(SccHistory(context_.get(), nullptr, -1, nullptr, 0, nullptr), SCC_OK);
    EXPECT_EQ(trace_.Take(), kBanner + "SccHistory\n" + kBanner +
                                 "INPUT: \nnum_files       -1\nflags           00000000\n"
                                 "options          00000000\nOUTPUT:\noptions          00000000\n"
                                 "RESULT: 00000000 (SCC_OK)\n");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(SccHistory(nullptr, nullptr, 0, nullptr, 0, nullptr), SCC_E_NONSPECIFICERROR);
}

} // namespace
