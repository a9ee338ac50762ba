// The file commands without a repository: the host's bad input, its scratch files and the
// choice of the options map. Whatever is refused runs no cvs and leaves every file as it
// was. (With cvs: tests/e2e.)
#include "platform/FileSystem.h"
#include "scc/CommandOptions.h"
#include "scc/Exports.h"
#include "scc/FileRequest.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "ui/DlgComment.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

using trace_test::Hex;
using trace_test::kBanner;

class FileExports : public ::testing::Test {
protected:
    void SetUp() override {
        ResetOfferedOptions();
        ASSERT_TRUE(CreateAdminFolder(wc_ + platform::kPathSeparator, "/srv/cvs", "m"));
        WriteFile(In("CVS/Entries"), "/a.txt/1.1/Sun Nov  6 08:49:37 1994//\nD/sub////\n");
        WriteFile(a_, "mine\n");
        ASSERT_TRUE(platform::MakeFolder(In("sub")));
        ASSERT_EQ(
            SccInitialize(&context_, nullptr, "test", name_, &caps_, label_, &coLength_, &length_),
            SCC_OK);
        char aux[SCC_AUXPATH_SIZE] = "";
        char project[SCC_PRJPATH_SIZE] = "m";
        char user[SCC_USER_SIZE] = "";
        ASSERT_EQ(SccOpenProject(context_, nullptr, user, project, wc_.c_str(), aux, "",
                                 &testing_support::OutputPane::TextOut, 0),
                  SCC_OK);
        env_.Pane().Clear();
        trace_.Take();
    }
    void TearDown() override {
        SccUninitialize(context_);
        ResetOfferedOptions();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    std::string In(const std::string& relative) const {
        std::string path = wc_;
        AppendPath(path, relative);
        return path;
    }

    testing_support::EngineEnvironment env_;
    trace_test::ScopedTrace trace_;
    TempDir dir_{"files"};
    const std::string wc_ = NormalizePath(dir_ / "wc");
    const std::string a_ = NormalizePath(dir_ / "wc/a.txt");
    void* context_ = nullptr;
    char name_[SCC_NAME_SIZE] = "";
    char label_[SCC_AUXLABEL_SIZE] = "";
    SccLong caps_ = 0, coLength_ = 0, length_ = 0;
};

// Each command refuses a name before anything runs; the trace shows the call as it came.
TEST_F(FileExports, TraceBlocksOfRefusedCalls) {
    const char* names[] = {"a.txt", nullptr};
    int marker = 0;
    void* options = &marker;
    const std::string opt = Hex(options);

    EXPECT_EQ(SccGet(context_, nullptr, 2, names, SCC_GET_ALL | SCC_GET_RECURSIVE, options),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccGet\n" + kBanner +
                                 "INPUT:\n"
                                 "file_names      2\n"
                                 "file_names      a.txt\n"
                                 "file_names      \n"
                                 "flags           00000003\n"
                                 "SCC_GET_RECURSIVE\n"
                                 "SCC_GET_ALL\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "OUTPUT:\n"
                                 "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");

    EXPECT_EQ(SccCheckout(context_, nullptr, 2, names, "why", 0x10, options),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccCheckout\n" + kBanner +
                                 "INPUT:num_files       2\n"
                                 "file_names      a.txt \n"
                                 "file_names       \n"
                                 "comment         why\n"
                                 "flags           00000010\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "OUTPUT:\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");

    EXPECT_EQ(SccCheckout(context_, nullptr, 0, nullptr, nullptr, 0, nullptr), SCC_OK);
    EXPECT_EQ(trace_.Take(), kBanner + "SccCheckout\n" + kBanner +
                                 "INPUT:num_files       0\n"
                                 "comment         (null)\n"
                                 "flags           00000000\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n"
                                 "options         00000000\n"
                                 "RESULT: 00000000 (SCC_OK)\n");

    EXPECT_EQ(SccUncheckout(context_, nullptr, 1, names, 0x20, options), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccUnCheckout\n" + kBanner +
                                 "INPUT:\n"
                                 "num_files        1\n"
                                 "file_names      a.txt\n"
                                 "options          00000020\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "OUTPUT:\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");
}

// What a host can get wrong, and what each command answers: the result, one line in the pane
// that says what was wrong, no cvs run, no file changed.
TEST_F(FileExports, BadInputIsRefusedBeforeAnythingRuns) {
    const std::string sub = In("sub");
    const std::string outside = NormalizePath(dir_ / "elsewhere.txt");
    WriteFile(outside, "other\n");
    const std::string dotted = wc_ + platform::kPathSeparator + "sub" + platform::kPathSeparator +
                               ".." + platform::kPathSeparator + "a.txt";
    using Call = std::function<SCCRTN(const char**, SccLong)>;
    const Call get = [&](const char** n, SccLong c) {
        return SccGet(context_, nullptr, c, n, 0, nullptr);
    };
    const Call getFolders = [&](const char** n, SccLong c) {
        return SccGet(context_, nullptr, c, n, SCC_GET_RECURSIVE, nullptr);
    };
    const Call checkout = [&](const char** n, SccLong c) {
        return SccCheckout(context_, nullptr, c, n, "", 0, nullptr);
    };
    const Call uncheckout = [&](const char** n, SccLong c) {
        return SccUncheckout(context_, nullptr, c, n, 0, nullptr);
    };
    const std::string empty, relative = "a.txt", gone = In("gone");
    struct Case {
        const char* what;
        Call call;
        std::vector<const std::string*> names; // null: a null name
        bool nullList;
        SccLong count;
        SCCRTN result;
        std::string says;
    } const cases[] = {
        {"no list", checkout, {}, true, 1, SCC_E_NONSPECIFICERROR, "named no files"},
        {"negative count", uncheckout, {&a_}, false, -1, SCC_E_NONSPECIFICERROR, "named no files"},
        {"null name",
         checkout,
         {&a_, nullptr},
         false,
         2,
         SCC_E_NONSPECIFICERROR,
         "Name 2 of the request is empty"},
        {"empty name", get, {&empty}, false, 1, SCC_E_NONSPECIFICERROR, "is empty"},
        {"relative",
         uncheckout,
         {&relative},
         false,
         1,
         SCC_E_NONSPECIFICERROR,
         "\"a.txt\" is not a full path"},
        {"dot dot", checkout, {&dotted}, false, 1, SCC_E_NONSPECIFICERROR, "is not a full path"},
        {"folder for a file",
         checkout,
         {&a_, &sub},
         false,
         2,
         SCC_E_NONSPECIFICERROR,
         "\"" + sub + "\" is a folder, where a file was expected"},
        {"file for a folder",
         getFolders,
         {&a_},
         false,
         1,
         SCC_E_NONSPECIFICERROR,
         "is a file, where a folder was expected"},
        {"missing folder",
         getFolders,
         {&gone},
         false,
         1,
         SCC_E_NONSPECIFICERROR,
         "is not an existing folder"},
        {"outside",
         uncheckout,
         {&a_, &outside},
         false,
         2,
         SCC_E_NONSPECIFICERROR,
         "lies outside the open project \"" + wc_ + "\""},
        {"no files: get", get, {}, false, 0, SCC_E_NONSPECIFICERROR, "named no files"},
        {"no folders: get", getFolders, {}, false, 0, SCC_E_NONSPECIFICERROR, "named no folders"},
        {"no files: check out", checkout, {}, false, 0, SCC_OK, "named no files"},
        {"no files: undo", uncheckout, {}, false, 0, SCC_OK, "named no files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<const char*> names;
        for (const std::string* name : c.names)
            names.push_back(name ? name->c_str() : nullptr);
        EXPECT_EQ(c.call(c.nullList ? nullptr : names.data(), c.count), c.result);
        ASSERT_EQ(env_.Pane().Lines().size(), 1u) << env_.Pane().All();
        EXPECT_THAT(env_.Pane().Lines()[0], HasSubstr(c.says));
        env_.Pane().Clear();
        EXPECT_EQ(ReadFile(a_), "mine\n");
        EXPECT_EQ(ReadFile(outside), "other\n");
        EXPECT_FALSE(PathExists(In("CVS/Base/a.txt")));
    }
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());
}

TEST_F(FileExports, WithoutAContextOrAProjectNothingRuns) {
    const char* names[] = {a_.c_str()};
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_EQ(SccCheckout(nullptr, nullptr, 1, names, "", 0, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(env_.Host().MessageBoxes().at(0).text,
              "Morvek CVS SCC not initialized by application.");

    // A context the host never opened a project on.
    void* fresh = nullptr;
    ASSERT_EQ(SccInitialize(&fresh, nullptr, "test", name_, &caps_, label_, &coLength_, &length_),
              SCC_OK);
    static_cast<CCVSContext*>(fresh)->SetTextOut(&testing_support::OutputPane::TextOut);
    EXPECT_EQ(SccGet(fresh, nullptr, 1, names, 0, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Pane().All(), HasSubstr("No project is open"));
    SccUninitialize(fresh);
    EXPECT_EQ(ReadFile(a_), "mine\n");
}

// The host's scratch files are handled alone, without cvs: further names are ignored.
TEST_F(FileExports, ScratchFilesOfTheHost) {
    const std::string scratch = In("~sak0001.tmp");
    WriteFile(scratch, "scratch");
    MakeReadOnly(scratch);
    const char* names[] = {scratch.c_str(), "not even a path"};
    EXPECT_EQ(SccCheckout(context_, nullptr, 2, names, "", 0, nullptr), SCC_OK);
    EXPECT_TRUE(IsWritable(scratch));
    if (!testing_support::RunningUnderWine()) { // Wine cannot clear the archive attribute
        EXPECT_FALSE(IsArchiveSet(scratch));
    }
    EXPECT_EQ(SccUncheckout(context_, nullptr, 2, names, 0, nullptr), SCC_OK);
    EXPECT_FALSE(IsWritable(scratch));
    EXPECT_TRUE(env_.Pane().Lines().empty()) << env_.Pane().All();
    EXPECT_FALSE(PathExists(In("CVS/Base/~sak0001.tmp")));

    // Only the file's own name counts, letter case too, and a file CVS knows is never one.
    WriteFile(In("CVS/Entries"), "/x~sak.c/1.1/Sun Nov  6 08:49:37 1994//\n");
    const std::string folder = NormalizePath(dir_ / "my~sakura/a.c");
    const struct {
        std::string name;
        bool scratch;
    } cases[] = {
        {scratch, true}, {In("mssccprj.scc~sak"), true}, {In("~SAK1.tmp"), false},
        {folder, false}, {In("x~sak.c"), false},
    };
    for (const auto& c : cases) {
        const char* one[] = {c.name.c_str()};
        EXPECT_EQ(IsHostScratchFile(1, one), c.scratch) << c.name;
    }
    EXPECT_FALSE(IsHostScratchFile(0, names));
    EXPECT_FALSE(IsHostScratchFile(1, nullptr));
}

TEST_F(FileExports, WhichOptionsMapACommandUses) {
    CCVSContext& own = *static_cast<CCVSContext*>(context_);
    CCVSContext other;
    CCVSStringMap strangers;
    // Before advanced options were ever offered, only the context's own map counts.
    EXPECT_EQ(&OptionsForGet(own, &other.GetOptions()), &own.GetOptions());
    EXPECT_EQ(&OptionsForCommand(own, &other.GetOptions()), &own.GetOptions());

    RememberOfferedOptions(&other.GetOptions());
    EXPECT_TRUE(AdvancedOptionsOffered());
    EXPECT_EQ(&OptionsForGet(own, &other.GetOptions()), &other.GetOptions());
    EXPECT_EQ(&OptionsForGet(own, nullptr), &own.GetOptions());
    EXPECT_EQ(&OptionsForCommand(own, nullptr), &other.GetOptions()); // the remembered map
    // A pointer this provider never handed out is no map of its own.
    EXPECT_EQ(&OptionsForGet(own, &strangers), &own.GetOptions());
    EXPECT_EQ(&OptionsForCommand(own, &strangers), &other.GetOptions());

    // A map handed out earlier stays usable while its context lives.
    RememberOfferedOptions(&own.GetOptions());
    EXPECT_EQ(&OptionsForCommand(own, &other.GetOptions()), &other.GetOptions());
    EXPECT_EQ(&OptionsForCommand(own, nullptr), &own.GetOptions());

    // Once its context is gone, the remembered map is forgotten: no command may use it.
    void* second = nullptr;
    ASSERT_EQ(SccInitialize(&second, nullptr, "test", name_, &caps_, label_, &coLength_, &length_),
              SCC_OK);
    CCVSStringMap* secondMap = &static_cast<CCVSContext*>(second)->GetOptions();
    RememberOfferedOptions(secondMap);
    SccUninitialize(second);
    EXPECT_EQ(RememberedOptions(), nullptr);
    EXPECT_TRUE(AdvancedOptionsOffered()) << "the flag is never cleared";
    EXPECT_EQ(&OptionsForCommand(own, secondMap), &own.GetOptions());
}

TEST_F(FileExports, TraceBlocksOfCheckInAddRemoveAndRename) {
    const char* names[] = {"a.txt", "b.txt"};
    SccLong flags[] = {0x1000, 0};
    int marker = 0;
    void* options = &marker;
    const std::string opt = Hex(options);

    // A failed check-in is traced as an unsigned number.
    EXPECT_EQ(SccCheckin(context_, nullptr, 1, names, "fix", 0x1000, options),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccCheckin\n" + kBanner +
                                 "INPUT\n"
                                 "num_files       1\n"
                                 "file_names      a.txt\n"
                                 "comment         fix\n"
                                 "flags           00001000\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "Out:\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "RESULT: 4294967281 (SCC_E_NONSPECIFICERROR)\n");

    EXPECT_EQ(SccAdd(context_, nullptr, 2, names, nullptr, flags, options), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccAdd\n" + kBanner +
                                 "INPUT:\n"
                                 "num_files       :2\n"
                                 "file_names      'a.txt' (00001000)\n"
                                 "file_names      'b.txt' (00000000)\n"
                                 "comment         :(null)\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "OUTPUT:\n"
                                 "options         " +
                                 opt +
                                 "\n"
                                 "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");

    EXPECT_EQ(SccRemove(context_, nullptr, 2, names, "gone", 0x20, nullptr),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(), kBanner + "SccRemove\n" + kBanner +
                                 "INPUT:\n"
                                 "num_files       2\n"
                                 "file_names      'a.txt'\n"
                                 "file_names      'b.txt'\n"
                                 "options         00000020\n"
                                 "comment         'gone'\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n"
                                 "options         00000000\n"
                                 "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");

    EXPECT_EQ(SccRename(context_, nullptr, "a.txt", nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(trace_.Take(),
              kBanner + "SccRename\n" + kBanner + "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n");
}

// Refusals that need a look at the working copy; nothing runs and every file stays.
TEST_F(FileExports, CheckInAddRemoveAndRenameRefuseWhatTheyCannotDo) {
    const std::string unlisted = In("mine.txt");
    WriteFile(unlisted, "only here\n");
    const std::string missing = In("missing.txt");
    const char* add[] = {a_.c_str(), missing.c_str()};
    EXPECT_EQ(SccAdd(context_, nullptr, 2, add, "c", nullptr, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Pane().All(), HasSubstr("does not exist, so there is nothing to add"));
    const char* remove[] = {a_.c_str(), unlisted.c_str()};
    EXPECT_EQ(SccRemove(context_, nullptr, 2, remove, "c", 0, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Pane().All(), HasSubstr("\"" + unlisted + "\" is not under CVS control"));
    const char* folder[] = {In("sub").c_str()};
    const std::string sub = In("sub");
    folder[0] = sub.c_str();
    EXPECT_EQ(SccCheckin(context_, nullptr, 1, folder, "c", 0, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Pane().All(), HasSubstr("is a folder, where a file was expected"));
    EXPECT_EQ(SccRename(context_, nullptr, a_.c_str(), a_.c_str()), SCC_OK);
    EXPECT_THAT(env_.Pane().All(), HasSubstr("nothing was renamed"));
    EXPECT_EQ(SccRename(context_, nullptr, a_.c_str(), "b.txt"), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Pane().All(), Not(HasSubstr("Current Directory")));
    EXPECT_EQ(ReadFile(unlisted), "only here\n");
    EXPECT_EQ(ReadFile(a_), "mine\n");
}

// A cancelled comment dialog runs nothing; the dialog starts from the host's comment, and
// Cancel keeps USECOMMENTS as it was.
TEST_F(FileExports, ACancelledCommentDialogRunsNothing) {
    env_.Settings().SetUseComments(true);
    const char* names[] = {a_.c_str()};
    env_.Host().ExpectDialog("Checkin Comments", [](uifw::DialogDriver& ui) {
        EXPECT_EQ(ui.Text(CDlgComment::kIdcComment), "from the host");
        ui.Type(CDlgComment::kIdcComment, "typed, then cancelled");
        ui.Click(uifw::kIdCancel);
    });
    EXPECT_EQ(SccCheckin(context_, nullptr, 1, names, "from the host", 0, nullptr),
              SCC_E_NONSPECIFICERROR);
    EXPECT_TRUE(env_.Settings().GetUseComments());
    EXPECT_THAT(env_.Pane().Lines(),
                testing::Contains("The comment was cancelled; nothing was checked in."));
    EXPECT_EQ(ReadFile(a_), "mine\n");
}

// An undo keeps edited files aside before cvs may revert them; when one copy cannot be made
// (here its name would be too long for the file system), nothing runs and no copy is left.
TEST_F(FileExports, AnUndoThatCannotKeepTheEditsRunsNothing) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "a file name this long makes a path beyond what the Windows build's "
                        "file calls take";
    const std::string longName = std::string(250, 'n') + ".txt";
    const std::string longFile = In(longName);
    WriteFile(In("CVS/Entries"), "/a.txt/1.1/Sun Nov  6 08:49:37 1994//\n/" + longName +
                                     "/1.1/Sun Nov  6 08:49:37 1994//\n");
    WriteFile(longFile, "long edits\n");
    const char* names[] = {a_.c_str(), longFile.c_str()};
    EXPECT_EQ(SccUncheckout(context_, nullptr, 2, names, 0, nullptr), SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(env_.Pane().All(), HasSubstr("Could not keep a copy of the edits of"));
    EXPECT_THAT(env_.Pane().All(), Not(HasSubstr("Current Directory")));
    EXPECT_EQ(ReadFile(a_), "mine\n");
    EXPECT_EQ(ReadFile(longFile), "long edits\n");
    EXPECT_FALSE(platform::Exists(a_ + ".~edits")) << "the copy made before the failure stays";
}

// The host's scratch files: an add makes one read-only, a remove deletes it; no cvs runs.
TEST_F(FileExports, ScratchFilesOfTheHostOnAddAndRemove) {
    const std::string scratch = In("~sak77.tmp");
    WriteFile(scratch, "scratch");
    const char* names[] = {scratch.c_str(), a_.c_str()};
    EXPECT_EQ(SccAdd(context_, nullptr, 2, names, "", nullptr, nullptr), SCC_OK);
    EXPECT_FALSE(IsWritable(scratch));
    EXPECT_EQ(SccRemove(context_, nullptr, 2, names, "", 0, nullptr), SCC_OK);
    EXPECT_FALSE(platform::Exists(scratch));
    EXPECT_EQ(ReadFile(a_), "mine\n");
    EXPECT_TRUE(env_.Pane().Lines().empty()) << env_.Pane().All();
}

// A move to another folder runs no cvs: a moved folder that its new parent does not list
// loses the binding of its old place; a file keeps the working folder it lands in, and a
// folder its parent lists keeps its own.
TEST_F(FileExports, MovesToAnotherFolderUnbindOnlyAMovedFolder) {
    ASSERT_TRUE(CreateAdminFolder(In("sub") + platform::kPathSeparator, "/srv/cvs", "m/sub"));
    WriteFile(In("sub/CVS/Entries"), "/c.txt/0/dummy timestamp//\n");
    const std::string moved = In("sub/moved");
    ASSERT_TRUE(CreateAdminFolder(moved + platform::kPathSeparator, "/srv/cvs", "m/old"));
    const std::string oldFolder = In("old");

    EXPECT_EQ(SccRename(context_, nullptr, oldFolder.c_str(), moved.c_str()), SCC_OK);
    EXPECT_FALSE(IsCVSFolder(moved));
    EXPECT_THAT(env_.Pane().All(), HasSubstr("was moved"));

    const std::string file = In("sub/c.txt");
    WriteFile(file, "pending add\n");
    EXPECT_EQ(SccRename(context_, nullptr, a_.c_str(), file.c_str()), SCC_E_NONSPECIFICERROR)
        << "the new name has an Entries line already";
    EXPECT_EQ(ReadFile(In("sub/CVS/Entries")), "/c.txt/0/dummy timestamp//\n");
    EXPECT_TRUE(IsCVSFolder(In("sub")));

    // cvs checked this one out under its own name: its parent lists it.
    WriteFile(In("sub/CVS/Entries"), "D/alias////\n");
    const std::string alias = In("sub/alias");
    ASSERT_TRUE(CreateAdminFolder(alias + platform::kPathSeparator, "/srv/cvs", "m/elsewhere"));
    EXPECT_EQ(SccRename(context_, nullptr, In("x").c_str(), alias.c_str()), SCC_OK);
    EXPECT_TRUE(IsCVSFolder(alias));
    EXPECT_EQ(ReadRepository(alias), "m/elsewhere");
}

} // namespace
