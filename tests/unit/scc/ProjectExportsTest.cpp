// The lifecycle and project exports without a repository: their answers, what they leave
// on disk and their trace blocks, byte for byte. (With cvs: tests/e2e.)
#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "scc/Trace.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "ui/DlgConnect.h"
#include "workcopy/Entries.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::TempDir;

using trace_test::Hex;
using trace_test::kBanner;

class ProjectExports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            SccInitialize(&context_, nullptr, "test", name_, &caps_, label_, &coLength_, &length_),
            SCC_OK);
        Take();
    }
    void TearDown() override {
        SccUninitialize(context_);
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    std::string Take() { return trace_.Take(); }
    std::string Folder(const std::string& name) { return NormalizePath(dir_ / name); }
    SCCRTN Open(const std::string& local, char* aux, SccLong flags, const char* project = "") {
        std::snprintf(project_, sizeof project_, "%s", project);
        return SccOpenProject(context_, nullptr, user_, project_, local.c_str(), aux, "",
                              &testing_support::OutputPane::TextOut, flags);
    }
    CCVSContext& Context() { return *static_cast<CCVSContext*>(context_); }

    testing_support::EngineEnvironment env_;
    trace_test::ScopedTrace trace_;
    TempDir dir_{"proj"};
    void* context_ = nullptr;
    char name_[SCC_NAME_SIZE] = "x";
    char label_[SCC_AUXLABEL_SIZE] = "x";
    SccLong caps_ = 0, coLength_ = 0, length_ = 0;
    char user_[SCC_USER_SIZE] = "ann";
    char project_[SCC_PRJPATH_SIZE] = "";
};

TEST_F(ProjectExports, InitializeReportsTheProviderAndUninitializeEndsIt) {
    void* context = nullptr;
    char name[SCC_NAME_SIZE] = "x", label[SCC_AUXLABEL_SIZE] = "x";
    SccLong caps = 0, coLength = 0, length = 0;
    EXPECT_EQ(SccInitialize(&context, nullptr, "Studio", name, &caps, label, &coLength, &length),
              SCC_OK);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(caps), 0xC7ABFAFFu);
    EXPECT_STREQ(name, "Morvek");
    EXPECT_STREQ(label, "");
    EXPECT_EQ(coLength, 8192);
    EXPECT_EQ(length, 8192);
    EXPECT_EQ(Take(), trace_test::InitializeBlock("Studio", context));
    EXPECT_EQ(SccUninitialize(context), SCC_OK);
    EXPECT_EQ(Take(), trace_test::kUninitializeBlock);

    // A host that passes no places for the answers gets none written, and no context.
    EXPECT_EQ(SccInitialize(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              SCC_OK);
    EXPECT_THAT(Take(), HasSubstr("caller         '(null)'\nOUTPUT:\ncontextp       00000000\n"));
    EXPECT_EQ(SccUninitialize(nullptr), SCC_OK);
}

TEST_F(ProjectExports, OpenRefusesAnEmptyLocalPathAndAMissingContext) {
    char aux[SCC_AUXPATH_SIZE] = "";
    EXPECT_EQ(Open("", aux, SCC_OP_CREATEIFNEW | SCC_OP_SILENTOPEN, "p"), SCC_E_PROJECTALREADYOPEN);
    EXPECT_EQ(Take(), kBanner + "SccOpenProject\n" + kBanner +
                          "INPUT: \n"
                          "user         'ann'\n"
                          "project      'p'\n"
                          "local_proj   ''\n"
                          "aux_proj     ''\n"
                          "comment      ''\n"
                          "outproc      " +
                          Hex(reinterpret_cast<void*>(&testing_support::OutputPane::TextOut)) +
                          "\n"
                          "flags        00000003\n"
                          "SCC_OP_CREATEIFNEW\n"
                          "SCC_OP_SILENTOPEN\n"
                          "OUTPUT:\n"
                          "RESULT: ffffffea (SCC_E_PROJECTALREADYOPEN)\n");
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());

    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(
        SccOpenProject(nullptr, nullptr, user_, project_, Folder("w").c_str(), aux, "", nullptr, 0),
        static_cast<SCCRTN>(0x80004005));
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(env_.Host().MessageBoxes()[0].text, "Morvek CVS SCC not initialized by application.");
    EXPECT_EQ(env_.Host().MessageBoxes()[0].caption, "Morvek CVS SCC");
    EXPECT_EQ(env_.Host().MessageBoxes()[0].owner, nullptr);
    EXPECT_THAT(Take(), HasSubstr("flags        00000000\nOUTPUT:\nRESULT: 80004005 (?)\n"));
    EXPECT_FALSE(PathExists(Folder("w")));
}

TEST_F(ProjectExports, APlainFolderWithoutARepositoryIsUnknownAndNothingIsMade) {
    char aux[SCC_AUXPATH_SIZE] = "";
    const std::string plain = Folder("plain");
    ASSERT_TRUE(platform::MakeFolder(plain));
    for (const std::string& local : {plain, Folder("missing")}) {
        EXPECT_EQ(Open(local, aux, 0, "proj"), SCC_E_UNKNOWNPROJECT);
        EXPECT_THAT(env_.Pane().Lines(),
                    testing::ElementsAre("Opening Project ...",
                                         "Missing project source control information"));
        env_.Pane().Clear();
    }
    std::vector<platform::DirEntry> entries;
    ASSERT_TRUE(platform::ListFolder(plain, entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(PathExists(Folder("missing")));
    EXPECT_THAT(Take(), HasSubstr("OUTPUT:\nRESULT: fffffffe (SCC_E_UNKNOWNPROJECT)\n"));
}

TEST_F(ProjectExports, CancellingTheConnectionForANewProjectLeavesNothing) {
    char aux[SCC_AUXPATH_SIZE] = "";
    const std::string fresh = Folder("fresh");
    env_.Host().ExpectDialog("Connect to Repository/Module ...", [&](uifw::DialogDriver& ui) {
        EXPECT_EQ(ui.Text(CDlgConnect::kIdcLocalPath), fresh);
        EXPECT_TRUE(ui.IsReadOnly(CDlgConnect::kIdcLocalPath));
        EXPECT_TRUE(ui.IsEnabled(CDlgConnect::kIdcCvsRoot));
        EXPECT_EQ(ui.Text(CDlgConnect::kIdcModule), "fresh"); // no name: the folder's
        ui.Click(uifw::kIdCancel);
    });
    EXPECT_EQ(Open(fresh, aux, SCC_OP_CREATEIFNEW), SCC_E_UNKNOWNPROJECT);
    EXPECT_FALSE(PathExists(fresh));
    EXPECT_STREQ(aux, "");
}

TEST_F(ProjectExports, AWorkingFolderOpensWithItsOwnRootAndAMissingFolderIsMade) {
    const std::string wc = Folder("wc");
    ASSERT_TRUE(CreateAdminFolder(wc + platform::kPathSeparator, ":pserver:ann@h:/cvs", "m"));
    char aux[SCC_AUXPATH_SIZE] = "";
    EXPECT_EQ(Open(wc, aux, 0, "m"), SCC_OK);
    EXPECT_STREQ(aux, ":pserver:ann@h:/cvs");
    EXPECT_EQ(Context().GetCVSRoot(), ":pserver:ann@h:/cvs");
    EXPECT_EQ(Context().GetProjectModule(), "m");
    EXPECT_EQ(Context().GetLocalPath(), wc);
    EXPECT_EQ(GetCurrentFolder(), wc);
    EXPECT_THAT(env_.Pane().Lines(),
                testing::ElementsAre("Opening Project ...", "Project Information ...",
                                     "CVSROOT...: :pserver:ann@h:/cvs", "CVS PATH..: m",
                                     "LOCAL PATH: " + wc, "CVS EXE...: (default)"));
    EXPECT_THAT(Take(), HasSubstr("OUTPUT:\nRESULT: 00000000 (SCC_OK)\n"));

    // Without a project name the folder's own module counts, not the one opened before.
    const std::string below = wc + platform::kPathSeparator + "sub";
    ASSERT_TRUE(
        CreateAdminFolder(below + platform::kPathSeparator, ":pserver:ann@h:/cvs", "m/sub"));
    env_.Pane().Clear();
    EXPECT_EQ(Open(below, aux, 0), SCC_OK);
    EXPECT_EQ(Context().GetProjectModule(), "m/sub");
    EXPECT_THAT(env_.Pane().Lines(), testing::Contains("CVS PATH..: m/sub"));

    const std::string made = Folder("made/below");
    std::snprintf(aux, sizeof aux, "/srv/cvs");
    EXPECT_EQ(Open(made, aux, 0, "n"), SCC_OK);
    EXPECT_TRUE(platform::IsFolder(made));
    EXPECT_EQ(GetCurrentFolder(), made);
    EXPECT_EQ(Context().GetCVSRoot(), "/srv/cvs");
    EXPECT_FALSE(IsCVSFolder(made)); // without SCC_OP_CREATEIFNEW nothing is imported
    std::snprintf(aux, sizeof aux, "/srv/cvs");
    EXPECT_EQ(Open(made, aux, 0), SCC_OK);
    EXPECT_EQ(Context().GetProjectModule(), "");
}

TEST_F(ProjectExports, OpeningAFolderWithAnotherRepositoryOrOneThatCannotBeMadeFails) {
    const std::string wc = Folder("wc");
    ASSERT_TRUE(CreateAdminFolder(wc + platform::kPathSeparator, "/srv/cvs", "m"));
    char aux[SCC_AUXPATH_SIZE] = "/srv/other";
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(Open(wc, aux, SCC_OP_CREATEIFNEW, "m"), SCC_E_UNKNOWNPROJECT);
    EXPECT_THAT(env_.Host().MessageBoxes().back().text,
                HasSubstr("is a working folder of /srv/cvs, not of /srv/other"));
    EXPECT_EQ(ReadRoot(wc), "/srv/cvs");

    const std::string blank = Folder("blank");
    ASSERT_TRUE(CreateAdminFolder(blank + platform::kPathSeparator, "/srv/cvs", "m"));
    testing_support::WriteFile(
        blank + platform::kPathSeparator + "CVS" + platform::kPathSeparator + "Root", "");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(Open(blank, aux, 0, "m"), SCC_E_UNKNOWNPROJECT);
    EXPECT_THAT(env_.Host().MessageBoxes().back().text,
                HasSubstr("names no repository: its CVS/Root is empty or cannot be read"));

    const std::string file = Folder("file.txt");
    testing_support::WriteFile(file, "x");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(Open(file + platform::kPathSeparator + "sub", aux, 0, "m"), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Host().MessageBoxes().back().text, HasSubstr("cannot be created"));
    EXPECT_EQ(ReadFile(file), "x");
}

TEST_F(ProjectExports, CloseLogsOutOnlyWhenAsked) {
    EXPECT_EQ(SccCloseProject(context_), SCC_OK);
    EXPECT_EQ(SccCloseProject(nullptr), SCC_OK);
    EXPECT_TRUE(env_.Pane().Lines().empty());
    EXPECT_EQ(Take(), kBanner + "SccCloseProject\n" + kBanner + "RESULT: 00000000 (SCC_OK)\n" +
                          kBanner + "SccCloseProject\n" + kBanner + "RESULT: 00000000 (SCC_OK)\n");
}

TEST_F(ProjectExports, GetProjPathProposesASubModuleOfTheFolderAround) {
    env_.Settings().SetVendorName("Ann Smith");
    const std::string wc = Folder("wc");
    ASSERT_TRUE(CreateAdminFolder(wc + platform::kPathSeparator, "/srv/cvs", "m"));
    const std::string inner = wc + platform::kPathSeparator + "p";
    char user[SCC_USER_SIZE] = "";
    char project[SCC_PRJPATH_SIZE] = "p";
    char local[SCC_PRJPATH_SIZE];
    std::snprintf(local, sizeof local, "%s", inner.c_str());
    char aux[SCC_AUXPATH_SIZE] = "";
    SccBool isNew = 7;
    env_.Host().ExpectDialog("Connect to Repository/Module ...", [&](uifw::DialogDriver& ui) {
        EXPECT_EQ(ui.Text(CDlgConnect::kIdcCvsRoot), "/srv/cvs");
        EXPECT_EQ(ui.Text(CDlgConnect::kIdcModule), "m/p");
        EXPECT_EQ(ui.Items(CDlgConnect::kIdcModule), std::vector<std::string>{"m/p"});
        EXPECT_FALSE(ui.IsReadOnly(CDlgConnect::kIdcLocalPath)); // allowed to change
        ui.Click(uifw::kIdCancel);
    });
    EXPECT_EQ(SccGetProjPath(context_, nullptr, user, project, local, aux, 1, &isNew),
              SCC_I_OPERATIONCANCELED);
    EXPECT_STREQ(user, "Ann Smith");
    EXPECT_STREQ(project, "m/p");
    EXPECT_STREQ(aux, "/srv/cvs");
    EXPECT_EQ(isNew, 7); // never written
    EXPECT_FALSE(PathExists(inner));
    EXPECT_EQ(Take(), kBanner + "SccGetProjPath\n" + kBanner +
                          "INPUT:\n"
                          "user          ''\n"
                          "proj_name     'p'\n"
                          "local_path    '" +
                          inner +
                          "'\n"
                          "aux_proj      ''\n"
                          "allow_change  00000001\n"
                          "new           00000007\n"
                          "OUTPUT:\n"
                          "user          'Ann Smith'\n"
                          "proj_name     'm/p'\n"
                          "local_path    '" +
                          inner +
                          "'\n"
                          "aux_proj      '/srv/cvs'\n"
                          "allow_change  00000001\n"
                          "new           00000007\n"
                          "RESULT: 00000002 (SCC_I_OPERATIONCANCELED)\n");
}

TEST_F(ProjectExports, GetProjPathOnAWorkingFolderOnlyRemembersItsModuleAndRoot) {
    const std::string wc = Folder("wc");
    ASSERT_TRUE(CreateAdminFolder(wc + platform::kPathSeparator, "/srv/cvs", "m"));
    char user[SCC_USER_SIZE] = "", project[SCC_PRJPATH_SIZE] = "whatever";
    char local[SCC_PRJPATH_SIZE], aux[SCC_AUXPATH_SIZE] = "";
    std::snprintf(local, sizeof local, "%s", wc.c_str());
    env_.Host().ExpectDialog("", [&](uifw::DialogDriver& ui) {
        EXPECT_TRUE(ui.IsReadOnly(CDlgConnect::kIdcLocalPath)); // flag 0
        EXPECT_EQ(ui.FocusedControl(), CDlgConnect::kIdcCvsRoot);
        ui.Type(CDlgConnect::kIdcModule, "m/");
        ui.Click(uifw::kIdOk);
    });
    EXPECT_EQ(SccGetProjPath(context_, nullptr, user, project, local, aux, 0, nullptr), SCC_OK);
    EXPECT_STREQ(project, "m");
    EXPECT_STREQ(aux, "/srv/cvs");
    EXPECT_TRUE(env_.Pane().Lines().empty()); // no cvs
    CSccSettings saved;
    EXPECT_EQ(saved.GetModule(0), "m");
    EXPECT_EQ(saved.GetRoot(0), "/srv/cvs");
    EXPECT_THAT(Take(), HasSubstr("new           00000000\nRESULT: 00000000 (SCC_OK)\n"));
}

} // namespace
