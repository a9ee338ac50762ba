// The client library against the real GNU cvs: every command form the provider builds that
// GNU spells otherwise, on a local repository and through :fork: (pserver where login
// matters), in working folders made by the fixtures.
#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using testing_support::CvsGlueClient;
using testing_support::ReadFile;
using testing_support::WriteFile;
using Args = std::vector<std::string>;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The current folder for the life of the object, as the provider sets it before a run.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : old_(platform::GetCurrentFolder()) {
        platform::SetCurrentFolder(folder);
    }
    ~InFolder() { platform::SetCurrentFolder(old_); }

private:
    std::string old_;
};

enum class Method { Local, Fork };

class GnuDialect : public testing::TestWithParam<Method> {
protected:
    void SetUp() override {
        if (!repo.Ready())
            GTEST_SKIP() << repo.Problem();
        ASSERT_TRUE(glue.Loaded()) << glue.LoadError();
        root = GetParam() == Method::Local ? repo.LocalRoot() : repo.ForkRoot();
        cvs = testing_support::CvsProgram();
    }

    // A fresh working copy of the module.
    std::string Work(const std::string& name = "work") {
        std::string folder = sandbox.Folder(name);
        platform::RemoveEmptyFolder(folder);
        std::string error;
        EXPECT_TRUE(repo.Checkout(root, folder, &error)) << error;
        return folder;
    }

    // Runs through the library (or another client of it) in folder, with the environment the
    // provider gives.
    CvsGlueClient::Result Glue(const std::string& folder, const Args& args,
                               CvsGlueClient* client = nullptr) {
        CvsGlueClient& c = client ? *client : glue;
        InFolder in(folder);
        c.env["CVSROOT"] = root;
        c.env["HOME"] = folder;
        return c.Run(cvs, args);
    }

    // A copy of the library, loaded apart with state of its own and armed through the
    // environment to fail its nth file call.
    std::unique_ptr<CvsGlueClient> Armed(int n) {
        const std::string copy = sandbox.Folder("lib" + std::to_string(++copies_)) + "/" +
                                 platform::LibraryFileName("cvs2ntlib");
        EXPECT_TRUE(platform::CopyFileTo(
            testing_support::BinDir() + "/" + platform::LibraryFileName("cvs2ntlib"), copy, false));
        testing_support::ScopedEnv fault("MORVEK_FAULT", "file:" + std::to_string(n));
        auto client = std::make_unique<CvsGlueClient>(copy);
        EXPECT_TRUE(client->Loaded()) << client->LoadError();
        return client;
    }

    std::string Entries(const std::string& folder) { return ReadFile(folder + "/CVS/Entries"); }

    testing_support::CvsSandbox sandbox;
    testing_support::CvsRepository repo;
    CvsGlueClient glue;
    std::string root, cvs;
    int copies_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Methods, GnuDialect, testing::Values(Method::Local, Method::Fork),
                         [](const testing::TestParamInfo<Method>& info) {
                             return info.param == Method::Local ? "Local" : "Fork";
                         });

TEST_P(GnuDialect, IgnoresACvsrcInTheWorkingFolder) {
    std::string work = Work();
    WriteFile(work + "/.cvsrc", "diff -u\n");
    WriteFile(work + "/a.txt", "changed\n");
    CvsGlueClient::Result r = Glue(work, {"diff", "a.txt"});
    EXPECT_EQ(r.rc, 1) << r.err;
    EXPECT_TRUE(Has(r.out, "Index: a.txt")) << r.out;
    EXPECT_FALSE(Has(r.out, "@@")) << "the .cvsrc was obeyed:\n" << r.out;
}

TEST_P(GnuDialect, DiffRunsWithoutTheTraceSoItsErrorTextStaysEmpty) {
    std::string work = Work();
    CvsGlueClient::Result r = Glue(work, {"-t", "diff", "a.txt"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.err, "");
}

TEST_P(GnuDialect, SpellsTheKeywordModesAsGnuDoes) {
    std::string work = Work();
    CvsGlueClient::Result r = Glue(work, {"update", "-kvl", "a.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(Entries(work), "/a.txt/1.3/") && Has(Entries(work), "/-kkvl/"))
        << Entries(work);

    WriteFile(work + "/u.txt", "unicode text stand-in\n");
    r = Glue(work, {"add", "-ku", "-m", "a unicode file", "u.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(Entries(work), "/u.txt/0/") && Has(Entries(work), "/-kb/")) << Entries(work);
}

TEST_P(GnuDialect, ListsRepositoryPathsWithLs) {
    std::string elsewhere = sandbox.Folder("plain");
    CvsGlueClient::Result r = Glue(elsewhere, {"-d", root, "ls", "-e", "mod"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "/a.txt/1.3/")) << r.out;
    EXPECT_TRUE(Has(r.out, "/img.bin/1.1.1.1/") && Has(r.out, "D/sub////")) << r.out;

    r = Glue(elsewhere, {"ls", "-e", "-l", "mod"});
    EXPECT_EQ(r.rc, 0) << r.err;
    r = Glue(elsewhere, {"ls", "-e", "-l", "nosuchmodule"});
    EXPECT_NE(r.rc, 0);

    std::string work = Work();
    r = Glue(work, {"ls", "-q", "mod/sub"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "c.txt\ndeep\n");
}

TEST_P(GnuDialect, ListsRecursivelyWithEachFileAfterItsFolder) {
    std::string elsewhere = sandbox.Folder("plain");
    CvsGlueClient::Result r = Glue(elsewhere, {"-d", root, "ls", "-e", "-R", "mod"});
    EXPECT_EQ(r.rc, 0) << r.err;
    std::vector<std::string> lines;
    for (size_t at = 0; at < r.out.size();) {
        size_t nl = r.out.find('\n', at);
        std::string line = r.out.substr(at, nl - at);
        lines.push_back(line.substr(0, line.find('/', 2) + 1)); // the name
        at = nl + 1;
    }
    EXPECT_EQ(lines, (Args{"/a.txt/", "/img.bin/", "D/sub/", "/c.txt/", "D/sub\\deep/", "/d.txt/"}))
        << r.out;
}

TEST_P(GnuDialect, ReservesAnEditWhileOnlyThisFolderEdits) {
    std::string work = Work();
    CvsGlueClient::Result r = Glue(work, {"edit", "-x", "a.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    r = Glue(work, {"edit", "-x", "a.txt"}); // again: the only editor is this folder
    if (testing_support::RunningUnderWine())
        // cvs records its folder as the Linux path behind the shim, which the Windows
        // library cannot match with its own folder: it refuses rather than guess.
        EXPECT_TRUE(r.rc != 0 && Has(r.err, "existing editors")) << r.err;
    else
        EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(ReadFile(work + "/CVS/Baserev"), "Ba.txt/1.3/"));

    // Another user edits img.bin, as the repository records it: no reserved edit.
    platform::MakeFolder(repo.Path() + "/mod/CVS");
    WriteFile(repo.Path() + "/mod/CVS/fileattr",
              "Fimg.bin\t_editors=bob>Thu Dec 10 04:49:48 2026 -0000+elsewhere+/w;"
              "_watchers=bob>tedit+tunedit+tcommit\n");
    r = Glue(work, {"edit", "-x", "img.bin"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "existing editors")) << r.err;
    EXPECT_TRUE(Has(r.out, "bob")) << r.out;
}

TEST_P(GnuDialect, UneditsWhatCvsEditSawAndLeavesOtherFilesAlone) {
    std::string work = Work();
    ASSERT_EQ(Glue(work, {"edit", "a.txt"}).rc, 0);
    WriteFile(work + "/a.txt", "local change\n");
    glue.env["CVSLIB_YESNO"] = "yes";
    CvsGlueClient::Result r = Glue(work, {"unedit", "a.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "revert changes?")) << r.out;
    EXPECT_EQ(ReadFile(work + "/a.txt"), "line 1\nline 2\nline 3\n");

    // A base copy made without "cvs edit": GNU would delete the file; nothing happens.
    platform::MakeFolder(work + "/sub/CVS/Base");
    WriteFile(work + "/sub/CVS/Base/c.txt", "c\n");
    WriteFile(work + "/sub/c.txt", "changed in place\n");
    r = Glue(work + "/sub", {"unedit", "c.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(ReadFile(work + "/sub/c.txt"), "changed in place\n");
}

TEST_P(GnuDialect, AddsFilesAndFoldersOnABranch) {
    std::string work = Work();
    WriteFile(work + "/n3.txt", "new on the branch\n");
    CvsGlueClient::Result r = Glue(work, {"add", "-m", "branch file", "-r", "BR1", "n3.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(Entries(work), "/n3.txt/0/") && Has(Entries(work), "/TBR1")) << Entries(work);
    EXPECT_FALSE(platform::Exists(work + "/CVS/Tag")) << "the folder's tag was not put back";
    r = Glue(work, {"commit", "-m", "on the branch", "n3.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(r.out + r.err, "1.1.2.1")) << r.out << r.err;

    ASSERT_TRUE(platform::MakeFolder(work + "/newdir"));
    r = Glue(work, {"add", "newdir", "-r", "BR1"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(ReadFile(work + "/newdir/CVS/Tag"), "TBR1\n");
    EXPECT_FALSE(platform::Exists(work + "/CVS/Tag"));
}

TEST_P(GnuDialect, RenamesAFileKeepingItsKeywordMode) {
    std::string work = Work();
    const std::string bytes = ReadFile(work + "/img.bin");
    CvsGlueClient::Result r = Glue(work, {"rename", "img.bin", "pic.bin"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(ReadFile(work + "/pic.bin"), bytes);
    EXPECT_FALSE(platform::Exists(work + "/img.bin"));
    EXPECT_TRUE(Has(Entries(work), "/pic.bin/1.1/") && Has(Entries(work), "/-kb/"))
        << Entries(work);
    EXPECT_FALSE(Has(Entries(work), "/img.bin/"));
    EXPECT_TRUE(platform::Exists(repo.Path() + "/mod/Attic/img.bin,v"));
    EXPECT_TRUE(platform::Exists(repo.Path() + "/mod/pic.bin,v"));

    r = Glue(work, {"rename", "nosuch.txt", "b.txt"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "nosuch.txt")) << r.err;
    r = Glue(work, {"rename", "a.txt", "pic.bin"}); // the new name is taken
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(platform::Exists(work + "/a.txt"));
    r = Glue(work, {"rename", "a.txt", "sub/a.txt"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "rename")) << r.err;
}

// The lines of CVS/Entries in a fixed order: cvs rewrites the file in an order of its own.
std::vector<std::string> SortedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (std::string::size_type nl; (nl = text.find('\n', start)) != std::string::npos;
         start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A rename aborted while it removes the old name or adds the new one puts the working copy
// back as it was, the user's edits byte for byte; the rename then still works.
TEST_P(GnuDialect, ARenameAbortedBeforeItsCommitPutsTheWorkingCopyBack) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "under Wine the test shim runs the Linux cvs outside the command's job: "
                        "an abort ends the shim while that cvs finishes its step, so the "
                        "working copy the test then reads is not the one the abort left";
    struct Case {
        const char* step; // the text of the step during which the abort comes
        std::string from, to;
    } const cases[] = {{"for removal", "a.txt", "b.txt"}, {"for addition", "img.bin", "pic.bin"}};
    std::string work = Work();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        const std::string edited = std::string("edited\0\r\n", 9) + ReadFile(work + "/" + c.from);
        WriteFile(work + "/" + c.from, edited);
        const std::vector<std::string> before = SortedLines(Entries(work));
        glue.onError = [&c](CvsGlueClient& client, const std::string& chunk) {
            if (Has(chunk, c.step))
                client.Abort();
        };
        CvsGlueClient::Result r = Glue(work, {"rename", c.from, c.to});
        glue.onError = nullptr;
        EXPECT_EQ(r.rc, DLLGLUE_ABORTED) << r.err;
        EXPECT_TRUE(
            Has(r.err, "cvs rename: aborted; `" + c.from + "' is as it was before the rename"))
            << r.err;
        EXPECT_EQ(ReadFile(work + "/" + c.from), edited);
        EXPECT_FALSE(platform::Exists(work + "/" + c.to));
        EXPECT_EQ(SortedLines(Entries(work)), before);
        EXPECT_FALSE(platform::Exists(work + "/CVS/Entries.Log"));
        EXPECT_FALSE(platform::Exists(work + "/CVS/" + c.to + ",t"));

        r = Glue(work, {"rename", c.from, c.to});
        EXPECT_EQ(r.rc, 0) << r.err;
        EXPECT_EQ(ReadFile(work + "/" + c.to), edited);
    }
}

// A rename whose add fails (the new name came into the repository from elsewhere) is undone
// as completely: the old name is not left scheduled for removal.
TEST_P(GnuDialect, ARenameWhoseAddFailsPutsTheWorkingCopyBack) {
    std::string work = Work(), other = Work("other");
    WriteFile(other + "/d.txt", "added elsewhere\n");
    ASSERT_EQ(Glue(other, {"add", "d.txt"}).rc, 0);
    ASSERT_EQ(Glue(other, {"commit", "-m", "elsewhere", "d.txt"}).rc, 0);
    const std::string edited = "edited\n" + ReadFile(work + "/a.txt");
    WriteFile(work + "/a.txt", edited);
    const std::vector<std::string> before = SortedLines(Entries(work));

    CvsGlueClient::Result r = Glue(work, {"rename", "a.txt", "d.txt"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "cvs rename: `d.txt' could not be added; `a.txt' is as it was before "
                           "the rename"))
        << r.err;
    EXPECT_EQ(ReadFile(work + "/a.txt"), edited);
    EXPECT_FALSE(platform::Exists(work + "/d.txt"));
    EXPECT_EQ(SortedLines(Entries(work)), before);
}

// Whatever file call of the library fails while a rename is undone, CVS/Entries keeps the
// line of every other file, and the user's edits are where the error text says.
TEST_P(GnuDialect, ARenameUndoneWhileAFileCallFailsKeepsEveryOtherEntry) {
    if (GetParam() != Method::Local || testing_support::RunningUnderWine())
        GTEST_SKIP() << "a run per file call: the local method on Linux walks them";
    std::string other = Work("other");
    WriteFile(other + "/d.txt", "added elsewhere\n");
    ASSERT_EQ(Glue(other, {"add", "d.txt"}).rc, 0);
    ASSERT_EQ(Glue(other, {"commit", "-m", "elsewhere", "d.txt"}).rc, 0);
    for (int n = 1; n <= 14; ++n) {
        SCOPED_TRACE(n);
        const std::string work = Work("w" + std::to_string(n));
        const std::string edited = std::string("edited\0\r\n", 9) + ReadFile(work + "/a.txt");
        WriteFile(work + "/a.txt", edited);
        const std::vector<std::string> before = SortedLines(Entries(work));
        const CvsGlueClient::Result r = Glue(work, {"rename", "a.txt", "d.txt"}, Armed(n).get());
        EXPECT_NE(r.rc, 0);
        const std::vector<std::string> after = SortedLines(Entries(work));
        for (const std::string& line : before) {
            const bool kept =
                Has(line, "/a.txt/") || std::find(after.begin(), after.end(), line) != after.end();
            EXPECT_TRUE(kept) << line << " is gone:\n" << r.err;
        }
        const bool movedOnly = Has(r.err, "the file's content is in `d.txt'");
        EXPECT_EQ(ReadFile(work + (movedOnly ? "/d.txt" : "/a.txt")), edited) << r.err;
    }
}

// Whatever file call of the library fails while a file is added on a branch, the folder's own
// CVS/Tag is there afterwards as it was, or kept where the error text says.
TEST_P(GnuDialect, AnAddOnABranchWhileAFileCallFailsKeepsTheFoldersTag) {
    if (GetParam() != Method::Local || testing_support::RunningUnderWine())
        GTEST_SKIP() << "a run per file call: the local method on Linux walks them";
    const std::string tag = "Nuser-tag\r\n";
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const std::string work = Work("t" + std::to_string(n));
        WriteFile(work + "/CVS/Tag", tag);
        WriteFile(work + "/n3.txt", "new on the branch\n");
        const CvsGlueClient::Result r =
            Glue(work, {"add", "-m", "branch file", "-r", "BR1", "n3.txt"}, Armed(n).get());
        const std::string kept = work + "/CVS/Tag.kept-during-add";
        EXPECT_EQ(ReadFile(Has(r.err, "kept in") ? kept : work + "/CVS/Tag"), tag) << r.err;
    }
    // A tag kept aside by an earlier add that could not put it back is never written over:
    // the add is refused and both tags stay as they are.
    const std::string work = Work("taken");
    const std::string earlier = "Nearlier-tag\n";
    WriteFile(work + "/CVS/Tag", tag);
    WriteFile(work + "/CVS/Tag.kept-during-add", earlier);
    WriteFile(work + "/n3.txt", "new on the branch\n");
    const CvsGlueClient::Result r = Glue(work, {"add", "-m", "branch file", "-r", "BR1", "n3.txt"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "Tag.kept-during-add is in the way; nothing was added")) << r.err;
    EXPECT_EQ(ReadFile(work + "/CVS/Tag"), tag);
    EXPECT_EQ(ReadFile(work + "/CVS/Tag.kept-during-add"), earlier);
    EXPECT_FALSE(Has(Entries(work), "/n3.txt/"));
}

// Aborted while it commits, a rename may have reached the repository in part: the error text
// says what the working copy holds, and the user's edits are under the new name.
TEST_P(GnuDialect, ARenameAbortedInItsCommitSaysWhatTheWorkingCopyHolds) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "under Wine the test shim runs the Linux cvs outside the command's job: "
                        "an abort ends the shim while that cvs may still commit, so the "
                        "working copy the test then reads is not the one the abort left";
    std::string work = Work();
    const std::string edited = std::string("edited\0\r\n", 9) + ReadFile(work + "/a.txt");
    WriteFile(work + "/a.txt", edited);
    glue.onOutput = [](CvsGlueClient& c, const std::string& chunk) {
        if (Has(chunk, "<--"))
            c.Abort();
    };
    CvsGlueClient::Result r = Glue(work, {"rename", "a.txt", "b.txt"});
    EXPECT_EQ(r.rc, DLLGLUE_ABORTED) << r.err;
    EXPECT_TRUE(Has(r.err, "cvs rename: the commit was aborted: ")) << r.err;
    EXPECT_TRUE(Has(r.err, "the file's content is in `b.txt'")) << r.err;
    EXPECT_EQ(ReadFile(work + "/b.txt"), edited);
    EXPECT_FALSE(platform::Exists(work + "/a.txt"));
    // cvs folds what a command it ended early left in CVS/Entries.Log into CVS/Entries.
    Glue(work, {"status", "b.txt"});
    const std::string entries = Entries(work);
    EXPECT_EQ(Has(r.err, "`a.txt' is scheduled for removal"), Has(entries, "/a.txt/-"))
        << r.err << entries;
    EXPECT_EQ(Has(r.err, "the removal of `a.txt' is committed"), !Has(entries, "/a.txt/"))
        << r.err << entries;
    EXPECT_EQ(Has(r.err, "`b.txt' is scheduled for addition"), Has(entries, "/b.txt/0/"))
        << r.err << entries;
    EXPECT_EQ(Has(r.err, "`b.txt' is committed as revision 1.1"), Has(entries, "/b.txt/1.1/"))
        << r.err << entries;
}

TEST_P(GnuDialect, ImportsAFolderAndMakesItAWorkingFolder) {
    std::string folder = sandbox.Folder("newproj");
    WriteFile(folder + "/i1.txt", "ignored\n");
    CvsGlueClient::Result r =
        Glue(folder, {"import", "-C", "-I *", "-m", "new module", "--", "newmod", "Morvek_Corp"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(platform::IsFolder(repo.Path() + "/newmod"));
    EXPECT_EQ(ReadFile(folder + "/CVS/Repository"), "newmod\n");
    EXPECT_EQ(ReadFile(folder + "/i1.txt"), "ignored\n");
}

TEST_P(GnuDialect, FailsToFetchARevisionThatIsNotThere) {
    std::string work = Work();
    CvsGlueClient::Result r = Glue(work, {"update", "-p", "-r", "1.2", "a.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "line 1\nline 2\n");
    EXPECT_NE(Glue(work, {"update", "-p", "-r", "9.9", "a.txt"}).rc, 0);
    EXPECT_NE(Glue(work, {"update", "-p", "nosuch.txt"}).rc, 0);
    // A file that is not under CVS: GNU says so without -r, and nothing at all with it.
    WriteFile(work + "/loose.txt", "mine\n");
    EXPECT_NE(Glue(work, {"update", "-p", "loose.txt"}).rc, 0);
    r = Glue(work, {"update", "-p", "-r", "1.1", "loose.txt"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "no such revision of `loose.txt'")) << r.err;
    EXPECT_NE(Glue(work, {"update", "-p", "-r", "1.1", "nosuch.txt"}).rc, 0);
    // An empty revision is a revision.
    WriteFile(work + "/empty.txt", "");
    ASSERT_EQ(repo.Cvs({"add", "empty.txt"}, work).status, 0);
    ASSERT_EQ(repo.Cvs({"commit", "-m", "empty", "empty.txt"}, work).status, 0);
    r = Glue(work, {"update", "-p", "-r", "1.1", "empty.txt"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_P(GnuDialect, UpdateCOfAFileInConflictKeepsItAndFetchesTheRepositorysCopy) {
    std::string work = Work();
    std::string other = Work("other");
    WriteFile(other + "/a.txt", "line 1\ntheirs\nline 3\n");
    ASSERT_EQ(Glue(other, {"commit", "-m", "theirs", "a.txt"}).rc, 0);
    WriteFile(work + "/a.txt", "line 1\nmine\nline 3\n");
    ASSERT_EQ(Glue(work, {"update", "a.txt"}).rc, 0);
    ASSERT_TRUE(Has(Entries(work), "/a.txt/1.4/Result of merge")) << Entries(work);
    const std::string conflicted = ReadFile(work + "/a.txt");
    WriteFile(work + "/.#a.txt.1.4", "kept before\n"); // never overwritten

    CvsGlueClient::Result r = Glue(work, {"update", "-C", "a.txt", "b.txt"});
    EXPECT_EQ(r.rc, 0) << r.out << r.err;
    EXPECT_EQ(ReadFile(work + "/a.txt"), "line 1\ntheirs\nline 3\n");
    EXPECT_EQ(ReadFile(work + "/.#a.txt.1.4~2"), conflicted);
    EXPECT_EQ(ReadFile(work + "/.#a.txt.1.4"), "kept before\n");
    EXPECT_EQ(ReadFile(work + "/.#a.txt.1.3"), "line 1\nmine\nline 3\n"); // the merge's own
    EXPECT_TRUE(Has(r.out, "(Locally modified a.txt moved to .#a.txt.1.4~2)")) << r.out;
    EXPECT_FALSE(Has(r.err, "was lost")) << r.err;
    EXPECT_TRUE(Has(Entries(work), "/a.txt/1.4/")) << Entries(work);
    EXPECT_FALSE(Has(Entries(work), "Result of merge")) << Entries(work);

    // A conflict again, and a file cvs refuses for a reason of its own: that failure stands,
    // and the file it refused is left alone.
    WriteFile(other + "/a.txt", "line 1\ntheirs again\nline 3\n");
    WriteFile(other + "/extra.txt", "the repository's\n");
    ASSERT_EQ(Glue(other, {"add", "extra.txt"}).rc, 0);
    ASSERT_EQ(Glue(other, {"commit", "-m", "theirs", "a.txt", "extra.txt"}).rc, 0);
    WriteFile(work + "/a.txt", "line 1\nmine again\nline 3\n");
    ASSERT_EQ(Glue(work, {"update", "a.txt"}).rc, 0);
    const std::string again = ReadFile(work + "/a.txt");
    WriteFile(work + "/extra.txt", "in the way\n");
    r = Glue(work, {"update", "-C", "a.txt", "extra.txt"});
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "extra.txt")) << r.err;
    EXPECT_EQ(ReadFile(work + "/a.txt"), "line 1\ntheirs again\nline 3\n");
    EXPECT_EQ(ReadFile(work + "/.#a.txt.1.5"), again);
    EXPECT_EQ(ReadFile(work + "/extra.txt"), "in the way\n");
}

TEST_P(GnuDialect, LoginOnARootWithoutPasswordsSucceedsWithoutCvs) {
    std::string work = Work();
    CvsGlueClient::Result r = Glue(work, {"-d", root, "login"});
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(Glue(work, {"logout"}).rc, 0);
}

// login and logout against the pserver fixture.
class GnuPserver : public testing::Test {
protected:
    void SetUp() override {
        if (!server.Ready())
            GTEST_SKIP() << server.Problem();
        ASSERT_TRUE(glue.Loaded()) << glue.LoadError();
        work = sandbox.Folder("work");
    }
    CvsGlueClient::Result Glue(const Args& args, const std::string& root) {
        InFolder in(work);
        glue.env["CVSROOT"] = root;
        glue.env["HOME"] = work;
        return glue.Run(testing_support::CvsProgram(), args);
    }

    testing_support::CvsSandbox sandbox;
    testing_support::CvsRepository repo;
    testing_support::CvsPserver server{repo};
    CvsGlueClient glue;
    std::string work;
};

TEST_F(GnuPserver, LogsInWithThePasswordFromTheCallbackIntoTheFixedPasswordFile) {
    const std::string root = server.Root();
    CvsGlueClient::Result r = Glue({"-q", "ls", "mod"}, root);
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "cvs login")) << r.err;

    int asked = 0;
    glue.onAsk = [&](CvsGlueClient& c, const std::string& name) {
        if (name == "CVS_GETPASS") {
            ++asked;
            c.env["CVS_GETPASS"] = server.Password();
        }
    };
    r = Glue({"-d", root, "login"}, root);
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Has(r.out, "Logging in to")) << r.out;
    EXPECT_FALSE(Has(r.err, "password")) << r.err;
    EXPECT_TRUE(Has(ReadFile(sandbox.PassFile()), root)) << "not in the fixed password file";
    EXPECT_FALSE(platform::Exists(work + "/.cvspass")) << "the password went to HOME";

    r = Glue({"-q", "ls", "mod"}, root);
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "a.txt\n")) << r.out;

    r = Glue({"logout"}, root);
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_FALSE(Has(ReadFile(sandbox.PassFile()), root));
}

TEST_F(GnuPserver, AWrongPasswordFailsAndAWrongStoredOneSaysToLogIn) {
    const std::string root = server.Root();
    glue.env["CVS_GETPASS"] = "wrong";
    CvsGlueClient::Result r = Glue({"-d", root, "login"}, root);
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "authorization failed")) << r.err;

    // A stored password the server no longer takes: GNU says only "authorization failed".
    ASSERT_TRUE(server.Login());
    ASSERT_EQ(testing_support::Shell(
                  "sed -i \"s/^alice:[^:]*:/alice:$(perl -e 'print crypt(q(other), q(ab))'):/\" " +
                  testing_support::UnixPath(repo.Path()) + "/CVSROOT/passwd")
                  .status,
              0);
    r = Glue({"-q", "ls", "mod"}, root);
    EXPECT_NE(r.rc, 0);
    EXPECT_TRUE(Has(r.err, "try \"cvs login\"")) << r.err;
}

TEST(CvsPserverFixture, StopsItsListenerWhenItGoes) {
    testing_support::CvsSandbox sandbox;
    testing_support::CvsRepository repo;
    long listener = 0;
    {
        testing_support::CvsPserver server(repo);
        if (!server.Ready())
            GTEST_SKIP() << server.Problem();
        listener = server.ListenerId();
        EXPECT_TRUE(testing_support::ProcessRuns(listener));
        EXPECT_TRUE(server.Login());
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (testing_support::ProcessRuns(listener) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(testing_support::ProcessRuns(listener));
}

// Run as root, the server works as nobody, who may not write the test's TMPDIR: it has a
// temporary folder of its own.
TEST(CvsPserverFixture, ServesWhenItsUserCannotWriteTheTemporaryFolder) {
    if (!testing_support::RunningAsRoot() || testing_support::RunningUnderWine())
        GTEST_SKIP() << "only a server started by root runs as another user";
    testing_support::TempDir shared("tmp");
    ASSERT_EQ(testing_support::Shell("chmod 755 '" + shared.Path() + "'").status, 0);
    testing_support::ScopedEnv tmp("TMPDIR", shared.Path());
    testing_support::CvsSandbox sandbox;
    testing_support::CvsRepository repo;
    if (!repo.Ready())
        GTEST_SKIP() << repo.Problem();
    testing_support::CvsPserver server(repo);
    ASSERT_TRUE(server.Ready()) << server.Problem();
    ASSERT_TRUE(server.Login());
    testing_support::RunResult r =
        repo.Cvs({"-d", server.Root(), "-q", "rls", "mod"}, sandbox.Folder("work"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "a.txt")) << r.out;
}

TEST_F(GnuPserver, TakesThePortOfARootWithoutOneFromTheProvidersVariable) {
    const std::string portless =
        ":pserver:" + server.User() + "@127.0.0.1:" + testing_support::UnixPath(repo.Path());
    glue.env["CVS_GETPASS"] = server.Password();
    glue.env["CVS_PSERVER_PORT"] = std::to_string(server.Port());
    CvsGlueClient::Result r = Glue({"-d", portless, "login"}, portless);
    EXPECT_EQ(r.rc, 0) << r.err;
    r = Glue({"-q", "ls", "mod"}, portless);
    EXPECT_EQ(r.rc, 0) << r.err;
}

} // namespace
