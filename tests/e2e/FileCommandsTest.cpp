// The file commands through the built provider, loaded by path as an IDE loads it, against a
// local repository, :fork: and a pserver: what each command runs, what it leaves on disk, and
// its trace block byte for byte. A user's content is checked byte for byte wherever a command
// could overwrite it.
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "settings/SccSettings.h"
#include "tests/e2e/ProviderHost.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::Sep;
using testing_support::WriteFile;

using Method = testing_support::CvsMethod;

const std::string kBanner = "================================================\n";
const std::string kOk = "RESULT: 00000000 (SCC_OK)\n";

bool IsWritableFile(const std::string& path) {
    return (platform::GetAttributes(path) & platform::kAttrReadOnly) == 0;
}

// A working copy of the module, the provider loaded on it with a project open, as an IDE has
// it after opening a solution.
class FileCommands : public e2e::WorkingCopyTest {
protected:
    void TearDown() override {
        if (context_)
            exports_.uninitialize(context_);
        context_ = nullptr;
        provider_.reset();
        platform::SetCurrentFolder(testing_support::BinDir());
    }

    // Loads the provider with these settings and opens the project on the working copy.
    void Start(const e2e::UserSettings& settings = {}) {
        e2e::StoreUserSettings(settings);
        provider_ = std::make_unique<e2e::LoadedProvider>();
        ASSERT_TRUE(provider_->Ok()) << provider_->Error();
        ASSERT_TRUE(exports_.Resolve(*provider_));
        char name[SCC_NAME_SIZE], label[SCC_AUXLABEL_SIZE];
        SccLong caps = 0, coLength = 0, length = 0;
        ASSERT_EQ(
            exports_.initialize(&context_, nullptr, "e2e", name, &caps, label, &coLength, &length),
            SCC_OK);
        char user[SCC_USER_SIZE] = "", project[SCC_PRJPATH_SIZE] = "mod";
        char aux[SCC_AUXPATH_SIZE];
        std::snprintf(aux, sizeof aux, "%s", e2e::WorkingCopyRoot(work_).c_str());
        ASSERT_EQ(exports_.openProject(context_, nullptr, user, project, work_.c_str(), aux, "",
                                       &e2e::HostPane::TextOut, 0),
                  SCC_OK)
            << e2e::HostPane::All();
        e2e::HostPane::Clear();
        trace_.Take();
    }

    std::string Base(const std::string& relative) const {
        const std::string file = File(relative);
        const size_t cut = file.find_last_of(Sep());
        return file.substr(0, cut) + Sep() + "CVS" + Sep() + "Base" + file.substr(cut);
    }

    ScopedEnv host_{"MORVEK_UI_HOST", "headless"};
    ScopedEnv yes_{"MORVEK_ANSWER_YESNO", "yes"};
    std::unique_ptr<e2e::LoadedProvider> provider_;
    e2e::Exports exports_;
    void* context_ = nullptr;
    e2e::TraceReader trace_{user_.AppDataFolder()};
};

INSTANTIATE_TEST_SUITE_P(Methods, FileCommands,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

// Check-out with cvs edit, an edit, and the undo: cvs unedit reverts the file when told to,
// so the provider keeps the edits aside first.
TEST_P(FileCommands, CheckOutEditAndUndo) {
    e2e::UserSettings settings;
    settings.independentMode = false;
    ASSERT_NO_FATAL_FAILURE(Start(settings));
    const std::string a = File("a.txt");
    const std::string original = ReadFile(a);
    const char* names[] = {a.c_str(), a.c_str()};
    EXPECT_EQ(exports_.checkout(context_, nullptr, 2, names, "edit it", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccCheckout\n" + kBanner + "INPUT:num_files       2\n" +
                                 "file_names      " + a + " \n" + "file_names      " + a + " \n" +
                                 "comment         edit it\n"
                                 "flags           00000000\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n"
                                 "options         00000000\n" +
                                 kOk);
    EXPECT_THAT(e2e::HostPane::Lines(), testing::Contains(HasSubstr("named more than once")));
    EXPECT_THAT(e2e::HostPane::TakeCommands(), ElementsAre("cvs update a.txt", "cvs edit a.txt"));
    EXPECT_TRUE(IsWritableFile(a));
    EXPECT_EQ(ReadFile(Base("a.txt")), original);

    WriteFile(a, "edited\n");
    EXPECT_EQ(exports_.uncheckout(context_, nullptr, 1, names, 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccUnCheckout\n" + kBanner +
                                 "INPUT:\n"
                                 "num_files        1\n"
                                 "file_names      " +
                                 a +
                                 "\n"
                                 "options          00000000\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n"
                                 "options         00000000\n" +
                                 kOk);
    EXPECT_THAT(e2e::HostPane::Lines(),
                testing::Contains("The edits of \"" + a + "\" are kept in \"" + a + ".~edits\""));
    EXPECT_THAT(e2e::HostPane::TakeCommands(),
                ElementsAre("cvs unedit a.txt", "cvs update -C a.txt"));
    EXPECT_EQ(ReadFile(a), original);
    EXPECT_EQ(ReadFile(a + ".~edits"), "edited\n");
    EXPECT_FALSE(IsWritableFile(a));
    EXPECT_FALSE(platform::Exists(Base("a.txt")));
}

// A get merges the repository's change into the user's edits and never drops them; a file
// that is checked out stays editable; a folder get brings new files.
TEST_P(FileCommands, GetMergesAndKeepsCheckedOutFilesEditable) {
    const std::string a = File("a.txt");
    const std::string original = ReadFile(a);
    TheyCommit("a.txt", "theirs\n" + original);
    TheyCommit("sub/deep/new.txt", "new\n", true);
    ASSERT_NO_FATAL_FAILURE(Start());
    WriteFile(a, original + "mine\n");

    const char* names[] = {a.c_str()};
    EXPECT_EQ(exports_.get(context_, nullptr, 1, names, 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccGet\n" + kBanner +
                                 "INPUT:\n"
                                 "file_names      1\n"
                                 "file_names      " +
                                 a +
                                 "\n"
                                 "flags           00000000\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n" +
                                 kOk);
    EXPECT_THAT(e2e::HostPane::TakeCommands(), ElementsAre("cvs update a.txt"));
    EXPECT_EQ(ReadFile(a), "theirs\n" + original + "mine\n");

    const std::string c = File("sub/c.txt");
    const char* sub[] = {c.c_str()};
    ASSERT_EQ(exports_.checkout(context_, nullptr, 1, sub, "", 0, nullptr), SCC_OK);
    ASSERT_EQ(exports_.get(context_, nullptr, 1, sub, 0, nullptr), SCC_OK);
    EXPECT_TRUE(IsWritableFile(c));

    const std::string folder = File("sub");
    const char* folders[] = {folder.c_str()};
    trace_.Take();
    e2e::HostPane::Clear();
    EXPECT_EQ(exports_.get(context_, nullptr, 1, folders, SCC_GET_RECURSIVE, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_THAT(trace_.Take(), HasSubstr("flags           00000002\nSCC_GET_RECURSIVE\n"));
    EXPECT_THAT(e2e::HostPane::TakeCommands(), testing::Contains("cvs update -R -d"));
    EXPECT_EQ(ReadFile(File("sub/deep/new.txt")), "new\n");
}

// The repository has a file of a name the user already used for one of their own: the
// check-out brings the repository's, and the user's is kept aside, byte for byte.
TEST_P(FileCommands, CheckOutOfAnUnversionedFileKeepsTheUsersFile) {
    TheyCommit("new.txt", "theirs\n", true);
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string mine = File("new.txt");
    WriteFile(mine, std::string("mine\0with a NUL\r\n", 17));
    const std::string bytes = ReadFile(mine);
    const char* names[] = {mine.c_str()};
    EXPECT_EQ(exports_.checkout(context_, nullptr, 1, names, "", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(ReadFile(mine), "theirs\n");
    const std::string said = "Kept the unversioned file " + mine + " as ";
    std::string kept;
    for (const std::string& line : e2e::HostPane::Lines())
        if (line.rfind(said, 0) == 0)
            kept = line.substr(said.size());
    ASSERT_FALSE(kept.empty()) << e2e::HostPane::All();
    EXPECT_EQ(ReadFile(kept), bytes);
}

// An add (committed at once), a check-in, a rename and a remove, each as the repository then
// holds it.
TEST_P(FileCommands, AddCheckInRenameAndRemove) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string added = File("new.txt");
    WriteFile(added, "new\n");
    const char* names[] = {added.c_str()};
    SccLong flags[] = {0x1000};
    EXPECT_EQ(exports_.add(context_, nullptr, 1, names, "a new file", flags, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccAdd\n" + kBanner +
                                 "INPUT:\n"
                                 "num_files       :1\n"
                                 "file_names      '" +
                                 added +
                                 "' (00001000)\n"
                                 "comment         :a new file\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n"
                                 "options         00000000\n" +
                                 kOk);
    EXPECT_THAT(e2e::HostPane::TakeCommands(),
                ElementsAre("cvs add -m a new file new.txt", "cvs commit -m a new file new.txt"));
    EXPECT_TRUE(IsWritableFile(added)) << "kept checked out";

    const std::string a = File("a.txt");
    const char* edit[] = {a.c_str()};
    ASSERT_EQ(exports_.checkout(context_, nullptr, 1, edit, "", 0, nullptr), SCC_OK);
    WriteFile(a, "edited\n");
    trace_.Take();
    e2e::HostPane::Clear();
    EXPECT_EQ(exports_.checkin(context_, nullptr, 1, edit, "an edit", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccCheckin\n" + kBanner +
                                 "INPUT\n"
                                 "num_files       1\n"
                                 "file_names      " +
                                 a +
                                 "\n"
                                 "comment         an edit\n"
                                 "flags           00000000\n"
                                 "options         00000000\n"
                                 "Out:\n"
                                 "options         00000000\n"
                                 "RESULT: 0 (SCC_OK)\n");
    EXPECT_THAT(e2e::HostPane::TakeCommands(), ElementsAre("cvs commit -m an edit a.txt"));
    EXPECT_FALSE(IsWritableFile(a));
    EXPECT_FALSE(platform::Exists(Base("a.txt")));

    const std::string renamed = File("renamed.txt");
    EXPECT_EQ(exports_.rename(context_, nullptr, added.c_str(), renamed.c_str()), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccRename\n" + kBanner + kOk);
    EXPECT_EQ(ReadFile(renamed), "new\n");
    EXPECT_FALSE(platform::Exists(added));

    const std::string bin = File("img.bin");
    const std::string bytes = ReadFile(bin);
    const char* gone[] = {bin.c_str()};
    EXPECT_EQ(exports_.remove(context_, nullptr, 1, gone, "not needed", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_EQ(trace_.Take(), kBanner + "SccRemove\n" + kBanner +
                                 "INPUT:\n"
                                 "num_files       1\n"
                                 "file_names      '" +
                                 bin +
                                 "'\n"
                                 "options         00000000\n"
                                 "comment         'not needed'\n"
                                 "options         00000000\n"
                                 "OUTPUT:\n"
                                 "options         00000000\n" +
                                 kOk);
    EXPECT_EQ(ReadFile(bin), bytes) << "with AUTOCOMMIT the file stays, unversioned";

    // What another user gets now.
    const std::string theirs = NewCopy("after");
    ASSERT_EQ(repo_.Cvs({"-q", "update", "-d"}, theirs).status, 0);
    EXPECT_EQ(ReadFile(File("a.txt", theirs)), "edited\n");
    EXPECT_EQ(ReadFile(File("renamed.txt", theirs)), "new\n");
    EXPECT_FALSE(platform::Exists(File("new.txt", theirs)));
    EXPECT_FALSE(platform::Exists(File("img.bin", theirs)));
}

// A check-in the repository refuses (someone else committed first) fails, and the edits stay.
TEST_P(FileCommands, ARefusedCheckInKeepsTheEdits) {
    const std::string a = File("a.txt");
    ASSERT_NO_FATAL_FAILURE(TheyCommit("a.txt", "theirs\n"));
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string mine("mine\0\r\n", 7);
    WriteFile(a, mine);
    const char* names[] = {a.c_str()};
    EXPECT_EQ(exports_.checkin(context_, nullptr, 1, names, "mine", 0, nullptr),
              SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(trace_.Take(), HasSubstr("Out:\noptions         00000000\n"
                                         "RESULT: 4294967281 (SCC_E_NONSPECIFICERROR)\n"));
    EXPECT_THAT(e2e::HostPane::All(), HasSubstr("Up-to-date check failed"));
    EXPECT_EQ(ReadFile(a), mine);
}

// A rename onto the name of another file is refused; both files stay as they were.
TEST_P(FileCommands, ARenameOntoAnotherFileKeepsBoth) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string a = File("a.txt"), bin = File("img.bin");
    const std::string first = ReadFile(a), second = ReadFile(bin);
    EXPECT_EQ(exports_.rename(context_, nullptr, a.c_str(), bin.c_str()), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(ReadFile(a), first);
    EXPECT_EQ(ReadFile(bin), second);
    EXPECT_THAT(e2e::HostPane::TakeCommands(), testing::IsEmpty());
}

// What needs one repository only: the comment dialog, played by scripted answers as scchost
// gives them, and the undo without cvs edit.
class LocalFileCommands : public FileCommands {};
INSTANTIATE_TEST_SUITE_P(Local, LocalFileCommands, testing::Values(Method::Local), e2e::MethodName);

// The dialog's comment is the one committed; "Do not display" turns USECOMMENTS off for the
// next check-in and for the next load.
TEST_P(LocalFileCommands, TheCommentDialogGivesTheComment) {
    ScopedEnv comment("MORVEK_ANSWER_COMMENT", "from the dialog");
    ScopedEnv hide("MORVEK_ANSWER_DONOTDISPLAY", "yes");
    e2e::UserSettings settings;
    settings.useComments = true;
    ASSERT_NO_FATAL_FAILURE(Start(settings));
    const std::string a = File("a.txt");
    const char* names[] = {a.c_str()};
    WriteFile(a, "first\n");
    EXPECT_EQ(exports_.checkin(context_, nullptr, 1, names, "from the host", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_THAT(e2e::HostPane::TakeCommands(), ElementsAre("cvs commit -m from the dialog a.txt"));
    WriteFile(a, "second\n");
    EXPECT_EQ(exports_.checkin(context_, nullptr, 1, names, "no dialog", 0, nullptr), SCC_OK);
    EXPECT_THAT(e2e::HostPane::TakeCommands(), ElementsAre("cvs commit -m no dialog a.txt"));
    exports_.uninitialize(context_);
    context_ = nullptr;
    provider_.reset();
    CSccSettings saved;
    EXPECT_FALSE(saved.GetUseComments());
}

// A cancelled dialog runs nothing; an add with a comment from the host does not ask.
TEST_P(LocalFileCommands, ACancelledCommentRunsNothing) {
    ScopedEnv cancel("MORVEK_ANSWER_CHECKINCOMMENTS", "cancel");
    e2e::UserSettings settings;
    settings.useComments = true;
    ASSERT_NO_FATAL_FAILURE(Start(settings));
    const std::string a = File("a.txt");
    WriteFile(a, "edited\n");
    const char* names[] = {a.c_str()};
    EXPECT_EQ(exports_.checkin(context_, nullptr, 1, names, "", 0, nullptr),
              SCC_E_NONSPECIFICERROR);
    EXPECT_THAT(e2e::HostPane::TakeCommands(), testing::IsEmpty());
    EXPECT_EQ(ReadFile(a), "edited\n");

    const std::string added = File("new.txt");
    WriteFile(added, "new\n");
    const char* add[] = {added.c_str()};
    EXPECT_EQ(exports_.add(context_, nullptr, 1, add, "given", nullptr, nullptr), SCC_OK)
        << e2e::HostPane::All();
    EXPECT_THAT(e2e::HostPane::TakeCommands(),
                ElementsAre("cvs add -m given new.txt", "cvs commit -m given new.txt"));
}

// Names with spaces, quotes, shell characters, a leading dash and bytes beyond ASCII go
// through add, check-out, check-in and remove as they are.
TEST_P(LocalFileCommands, AwkwardNamesGoThroughAsTheyAre) {
    ASSERT_NO_FATAL_FAILURE(Start());
    std::vector<std::string> names = {"with space.txt", "$(touch hacked);x.txt", "-dash.txt"};
    if (!testing_support::RunningUnderWine()) {
        names.push_back("quote\"d 'x'.txt"); // Windows file names hold no double quote
        // Under Wine the Linux cvs behind the test shim gets the name in UTF-8 and writes it so
        // into Entries, where the Windows build looks for it in its ANSI code page.
        names.push_back("na\xc3\xafve.txt");
    }
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(File(name));
        WriteFile(paths.back(), name + "\n");
    }
    std::vector<const char*> list;
    for (const std::string& path : paths)
        list.push_back(path.c_str());
    const SccLong count = static_cast<SccLong>(list.size());
    ASSERT_EQ(exports_.add(context_, nullptr, count, list.data(), "odd names", nullptr, nullptr),
              SCC_OK)
        << e2e::HostPane::All();
    ASSERT_EQ(exports_.checkout(context_, nullptr, count, list.data(), "", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    for (const std::string& path : paths)
        WriteFile(path, "edited " + ReadFile(path));
    ASSERT_EQ(exports_.checkin(context_, nullptr, count, list.data(), "edited", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    // A name that begins with "-" puts "--" before the names, so cvs takes none for an option.
    std::string commit = "cvs commit -m edited --";
    for (const std::string& name : names)
        commit += " " + name;
    EXPECT_EQ(e2e::HostPane::TakeCommands().back(), commit);

    const std::string theirs = NewCopy("after");
    ASSERT_EQ(repo_.Cvs({"-q", "update", "-d"}, theirs).status, 0);
    for (const std::string& name : names)
        EXPECT_EQ(ReadFile(File(name, theirs)), "edited " + name + "\n") << name;
    EXPECT_FALSE(platform::Exists(File("hacked"))) << "nothing ran a shell";
    EXPECT_FALSE(platform::Exists(File("hacked", theirs)));

    ASSERT_EQ(exports_.remove(context_, nullptr, count, list.data(), "gone", 0, nullptr), SCC_OK)
        << e2e::HostPane::All();
    ASSERT_EQ(repo_.Cvs({"-q", "update", "-d"}, theirs).status, 0);
    for (const std::string& name : names)
        EXPECT_FALSE(platform::Exists(File(name, theirs))) << name;
}

// Without cvs edit (independent mode) the undo is cvs update -C, which keeps the edits as
// .#NAME.REVISION: the provider's own copy is then not needed and not left behind.
TEST_P(LocalFileCommands, UndoLeavesOneCopyOfTheEdits) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string a = File("a.txt");
    const std::string original = ReadFile(a);
    const char* names[] = {a.c_str()};
    ASSERT_EQ(exports_.checkout(context_, nullptr, 1, names, "", 0, nullptr), SCC_OK);
    WriteFile(a, "edited\n");
    e2e::HostPane::Clear();
    EXPECT_EQ(exports_.uncheckout(context_, nullptr, 1, names, 0, nullptr), SCC_OK);
    EXPECT_EQ(ReadFile(a), original);
    std::vector<platform::DirEntry> entries;
    ASSERT_TRUE(platform::ListFolder(work_, entries));
    std::vector<std::string> kept;
    for (const platform::DirEntry& entry : entries)
        if (entry.name.rfind(".#a.txt.", 0) == 0 || entry.name.rfind("a.txt.~", 0) == 0)
            kept.push_back(entry.name);
    ASSERT_EQ(kept.size(), 1u) << e2e::HostPane::All();
    EXPECT_EQ(ReadFile(work_ + Sep() + kept[0]), "edited\n");
}

} // namespace

// A call that reaches the provider on the thread of a running command (here from the output
// pane, as the host's windows do while the command serves their messages) is refused with
// its own trace block and leaves everything alone: the command goes on, and the provider
// answers again once it has returned.
TEST_P(LocalFileCommands, ACallOnTheThreadOfARunningCommandIsRefused) {
    ASSERT_NO_FATAL_FAILURE(Start());
    using QueryInfoFn = SCCRTN (*)(void*, SccLong, const char**, SccLong*);
    const auto queryInfo = provider_->Get<QueryInfoFn>("SccQueryInfo");
    ASSERT_NE(queryInfo, nullptr);
    const std::string a = File("a.txt");
    const char* names[] = {a.c_str()};
    std::vector<SCCRTN> nested;
    e2e::HostPane::OnText() = [&](const std::string& line) {
        if (line.rfind("cvs update", 0) != 0 || !nested.empty())
            return;
        SccLong status = 0;
        nested.push_back(queryInfo(context_, 1, names, &status));
        nested.push_back(exports_.get(context_, nullptr, 1, names, 0, nullptr));
        nested.push_back(exports_.uninitialize(context_));
    };
    const SCCRTN outer = exports_.get(context_, nullptr, 1, names, 0, nullptr);
    e2e::HostPane::OnText() = nullptr;
    EXPECT_EQ(outer, SCC_OK) << e2e::HostPane::All();
    EXPECT_THAT(nested, ElementsAre(SCC_E_NONSPECIFICERROR, SCC_E_NONSPECIFICERROR,
                                    SCC_E_NONSPECIFICERROR));
    const std::string refused = "REFUSED: another call is running on this thread\n"
                                "RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n";
    const std::string trace = trace_.Take();
    for (const char* name : {"SccQueryInfo\n", "SccGet\n", "SccUninitialize\n"})
        EXPECT_THAT(trace, HasSubstr(kBanner + name + kBanner + refused)) << name;
    EXPECT_THAT(trace, testing::EndsWith("OUTPUT:\n" + kOk));

    SccLong status = 0;
    EXPECT_EQ(queryInfo(context_, 1, names, &status), SCC_OK);
    EXPECT_NE(status & SCC_STATUS_CONTROLLED, 0);
    EXPECT_EQ(exports_.get(context_, nullptr, 1, names, 0, nullptr), SCC_OK);
}
