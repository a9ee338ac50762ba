// The file commands through the built provider, loaded by path as an IDE loads it, against a
// local repository, :fork: and a pserver: what each command runs, what it leaves on disk, and
// its trace block byte for byte. A user's content is checked byte for byte wherever a command
// could overwrite it.
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
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

// Without cvs edit (independent mode) the undo is cvs update -C, which keeps the edits as
// .#NAME.REVISION: the provider's own copy is then not needed and not left behind.
TEST(FileCommandsIndependent, UndoLeavesOneCopyOfTheEdits) {
    testing_support::IsolatedUser user;
    testing_support::CvsRepository repo;
    if (!repo.Ready())
        GTEST_SKIP() << repo.Problem();
    testing_support::CvsSandbox sandbox;
    ScopedEnv host("MORVEK_UI_HOST", "headless");
    const std::string work = sandbox.Folder("work");
    platform::RemoveEmptyFolder(work);
    ASSERT_TRUE(repo.Checkout(repo.LocalRoot(), work));
    e2e::StoreUserSettings({});
    e2e::LoadedProvider provider;
    e2e::Exports exports;
    ASSERT_TRUE(exports.Resolve(provider));
    void* context = nullptr;
    char name[SCC_NAME_SIZE], label[SCC_AUXLABEL_SIZE];
    SccLong caps, coLength, length;
    ASSERT_EQ(exports.initialize(&context, nullptr, "e2e", name, &caps, label, &coLength, &length),
              SCC_OK);
    char user_[SCC_USER_SIZE] = "", project[SCC_PRJPATH_SIZE] = "mod";
    char aux[SCC_AUXPATH_SIZE];
    std::snprintf(aux, sizeof aux, "%s", e2e::WorkingCopyRoot(work).c_str());
    ASSERT_EQ(exports.openProject(context, nullptr, user_, project, work.c_str(), aux, "",
                                  &e2e::HostPane::TextOut, 0),
              SCC_OK);
    const std::string a = work + Sep() + "a.txt";
    const std::string original = ReadFile(a);
    const char* names[] = {a.c_str()};
    ASSERT_EQ(exports.checkout(context, nullptr, 1, names, "", 0, nullptr), SCC_OK);
    WriteFile(a, "edited\n");
    e2e::HostPane::Clear();
    EXPECT_EQ(exports.uncheckout(context, nullptr, 1, names, 0, nullptr), SCC_OK);
    EXPECT_EQ(ReadFile(a), original);
    std::vector<platform::DirEntry> entries;
    ASSERT_TRUE(platform::ListFolder(work, entries));
    std::vector<std::string> kept;
    for (const platform::DirEntry& entry : entries)
        if (entry.name.rfind(".#a.txt.", 0) == 0 || entry.name.rfind("a.txt.~", 0) == 0)
            kept.push_back(entry.name);
    ASSERT_EQ(kept.size(), 1u) << e2e::HostPane::All();
    EXPECT_EQ(ReadFile(work + Sep() + kept[0]), "edited\n");
    exports.uninitialize(context);
    platform::SetCurrentFolder(testing_support::BinDir());
}

} // namespace
