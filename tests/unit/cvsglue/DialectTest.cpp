// The rewriting of command lines for GNU CVS, as a table: arguments in, plan out.
#include "cvsglue/Dialect.h"

#include <gtest/gtest.h>

namespace {

using cvsglue::Action;
using cvsglue::Dialect;
using Args = std::vector<std::string>;

struct Case {
    const char* name;
    Args in;
    Action action;
    Args out; // the first run's arguments
};

TEST(Dialect, RewritesWhatGnuCvsSpellsOtherwise) {
    const Case cases[] = {
        {"-f comes first", {"update", "-A", "a.c"}, Action::Run, {"-f", "update", "-A", "a.c"}},
        {"globals kept in order",
         {"-t", "-z9", "update", "a.c"},
         Action::Run,
         {"-f", "-t", "-z9", "update", "a.c"}},
        {"an existing -f is not doubled", {"-f", "log", "a.c"}, Action::Run, {"-f", "log", "a.c"}},
        {"-kvl is -kkvl", {"update", "-kvl", "a.c"}, Action::Run, {"-f", "update", "-kkvl", "a.c"}},
        {"-ku is -kb",
         {"update", "-A", "-ku", "a.c"},
         Action::Run,
         {"-f", "update", "-A", "-kb", "a.c"}},
        {"other modes stay",
         {"update", "-kkv", "a.c"},
         Action::Run,
         {"-f", "update", "-kkv", "a.c"}},
        {"add -ku is -kb",
         {"add", "-ku", "-m", "c", "u.txt"},
         Action::Run,
         {"-f", "add", "-kb", "-m", "c", "u.txt"}},
        {"diff runs without a trace",
         {"-t", "-z3", "diff", "a.c"},
         Action::Run,
         {"-f", "-z3", "diff", "a.c"}},
        {"ls -e of a repository path is rls",
         {"-d", ":local:/r", "ls", "-e", "mod"},
         Action::Run,
         {"-f", "-d", ":local:/r", "rls", "-e", "mod"}},
        {"ls -e -l is rls -e", {"ls", "-e", "-l", "mod"}, Action::Run, {"-f", "rls", "-e", "mod"}},
        {"ls -q is rls with the global -q",
         {"ls", "-q", "mod/sub"},
         Action::Run,
         {"-f", "-q", "rls", "mod/sub"}},
        {"ls -e -R", {"ls", "-e", "-R", ""}, Action::Run, {"-f", "rls", "-e", "-R", ""}},
        {"edit -x",
         {"edit", "-x", "a.c", "b.c"},
         Action::EditExclusive,
         {"-f", "edit", "-c", "a.c", "b.c"}},
        {"plain edit", {"edit", "a.c"}, Action::Run, {"-f", "edit", "a.c"}},
        {"update -C of files",
         {"update", "-A", "-C", "a.c", "b.c"},
         Action::UpdateClean,
         {"-f", "update", "-A", "-C", "a.c", "b.c"}},
        {"update -C of the whole folder", {"update", "-C"}, Action::Run, {"-f", "update", "-C"}},
        {"update -p -C prints a revision",
         {"update", "-p", "-C", "a.c"},
         Action::Run,
         {"-f", "update", "-p", "-C", "a.c"}},
        {"-C as the value of -r is a tag",
         {"update", "-r", "-C", "a.c"},
         Action::Run,
         {"-f", "update", "-r", "-C", "a.c"}},
        {"add of a file on a branch",
         {"add", "-kb", "-m", "c", "-r", "BR1", "n.bin"},
         Action::AddOnBranch,
         {"-f", "add", "-kb", "-m", "c", "n.bin"}},
        {"add of a folder on a branch",
         {"add", "newdir", "-r", "BR1"},
         Action::AddOnBranch,
         {"-f", "add", "newdir"}},
        {"import -C gets a release tag",
         {"import", "-C", "-I *", "-m", "c", "--", "newmod", "Vendor_Name"},
         Action::ImportCreate,
         {"-f", "import", "-I *", "-m", "c", "--", "newmod", "Vendor_Name", "start"}},
        {"unedit of files", {"unedit", "a.c"}, Action::Unedit, {"-f", "unedit", "a.c"}},
        {"rename", {"rename", "a.c", "b.c"}, Action::Rename, {"-f", "rename", "a.c", "b.c"}},
        {"rename across folders is refused",
         {"rename", "a.c", "sub/b.c"},
         Action::Refuse,
         {"-f", "rename", "a.c", "sub/b.c"}},
        {"login on a local root does nothing",
         {"-d", "/repo", "login"},
         Action::Succeed,
         {"-f", "-d", "/repo", "login"}},
        {"login on a pserver root runs",
         {"-d", ":pserver:alice@127.0.0.1:2401/r", "login"},
         Action::Run,
         {"-f", "-d", ":pserver:alice@127.0.0.1:2401/r", "login"}},
    };
    for (const Case& c : cases) {
        cvsglue::Plan plan = cvsglue::MakePlan(Dialect::Gnu, c.in, {});
        EXPECT_EQ(plan.action, c.action) << c.name;
        EXPECT_EQ(plan.args, c.out) << c.name;
    }
}

TEST(Dialect, KeepsWhatTheEmulationsNeed) {
    cvsglue::Plan add = cvsglue::MakePlan(Dialect::Gnu, {"add", "newdir", "-r", "BR1"}, {});
    EXPECT_EQ(add.branch, "BR1");
    EXPECT_EQ(add.files, Args{"newdir"});

    cvsglue::Plan edit = cvsglue::MakePlan(Dialect::Gnu, {"-q", "edit", "-x", "a.c"}, {});
    EXPECT_EQ(edit.globals, (Args{"-f", "-q"}));
    EXPECT_EQ(edit.files, Args{"a.c"});
    EXPECT_TRUE(edit.options.empty());

    cvsglue::Plan ls = cvsglue::MakePlan(Dialect::Gnu, {"ls", "-e", "-R", "mod"}, {});
    EXPECT_TRUE(ls.listingRewrite);
    EXPECT_EQ(ls.listedPath, "mod");

    cvsglue::Plan get = cvsglue::MakePlan(Dialect::Gnu, {"update", "-p", "-r", "1.2", "a.c"}, {});
    EXPECT_TRUE(get.revisionCheck);
    EXPECT_EQ(get.files, Args{"a.c"}); // named when cvs fails to say why it printed nothing
    EXPECT_TRUE(get.loginHint);

    cvsglue::Plan clean =
        cvsglue::MakePlan(Dialect::Gnu, {"-q", "update", "-kvl", "-C", "-r", "1.2", "a.c"}, {});
    EXPECT_EQ(clean.args, (Args{"-f", "-q", "update", "-kkvl", "-C", "-r", "1.2", "a.c"}));
    EXPECT_EQ(clean.files, Args{"a.c"});

    cvsglue::Plan unedit = cvsglue::MakePlan(Dialect::Gnu, {"unedit", "a.c"}, {});
    EXPECT_TRUE(unedit.answerQuestions);
    cvsglue::Plan login = cvsglue::MakePlan(Dialect::Gnu, {"-d", ":pserver:u@h:/r", "login"}, {});
    EXPECT_TRUE(login.answerPassword);
    EXPECT_FALSE(login.loginHint);
}

TEST(Dialect, FindsTheRootOfLoginInOrder) {
    cvsglue::Facts facts;
    facts.environmentRoot = ":pserver:a@h:/r";
    EXPECT_EQ(cvsglue::MakePlan(Dialect::Gnu, {"logout"}, facts).action, Action::Run);
    facts.folderRoot = "/local/repo"; // CVS/Root comes before CVSROOT
    EXPECT_EQ(cvsglue::MakePlan(Dialect::Gnu, {"logout"}, facts).action, Action::Succeed);
    EXPECT_EQ(cvsglue::MakePlan(Dialect::Gnu, {"-d", ":pserver:a@h:/r", "logout"}, facts).action,
              Action::Run); // and -d before both
}

TEST(Dialect, LeavesOtherCvsAloneButForTheNoRcOption) {
    const Args in = {"-t", "rename", "a.c", "b.c"};
    cvsglue::Plan plan = cvsglue::MakePlan(Dialect::Other, in, {});
    EXPECT_EQ(plan.action, Action::Run);
    EXPECT_EQ(plan.args, (Args{"-f", "-t", "rename", "a.c", "b.c"}));
    EXPECT_EQ(cvsglue::MakePlan(Dialect::Other, {"ls", "-q", "m"}, {}).args,
              (Args{"-f", "ls", "-q", "m"}));
}

TEST(Dialect, TellsGnuCvsByItsVersionText) {
    EXPECT_EQ(cvsglue::DialectFromVersionText(
                  "\nConcurrent Versions System (CVS) 1.12.13-MirDebian-28 (client/server)\n"),
              Dialect::Gnu);
    EXPECT_EQ(cvsglue::DialectFromVersionText("Concurrent Versions System (CVSNT) 2.5.05"),
              Dialect::Other);
    EXPECT_EQ(cvsglue::DialectFromVersionText(""), Dialect::Other);
}

TEST(Dialect, ReadsRootsAndEntries) {
    EXPECT_TRUE(cvsglue::IsPserverRoot(":pserver:alice@127.0.0.1:24010/repo"));
    EXPECT_FALSE(cvsglue::IsPserverRoot(":fork:/repo"));
    EXPECT_FALSE(cvsglue::IsPserverRoot("/repo"));
    EXPECT_EQ(cvsglue::RootUser(":pserver:alice@127.0.0.1:24010/repo"), "alice");
    EXPECT_EQ(cvsglue::RootUser(":pserver:bob:secret@host:/repo"), "bob");
    EXPECT_EQ(cvsglue::RootUser(":local:/repo"), "");

    cvsglue::EntryLine e =
        cvsglue::ParseEntryLine("/img.bin/1.1.1.1/Thu Dec 10 02:21:27 2026/-kb/TBR1\n");
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.name, "img.bin");
    EXPECT_EQ(e.revision, "1.1.1.1");
    EXPECT_EQ(e.options, "-kb");
    EXPECT_EQ(e.tag, "TBR1");
    EXPECT_FALSE(cvsglue::ParseEntryLine("D/sub////").ok);
}

TEST(Dialect, GivesGnuThePortAndAFixedPasswordFile) {
    using Env = std::vector<std::pair<std::string, std::string>>;
    const Env answers = {
        {"CVSROOT", ":pserver:a@h:/r"}, {"CVS_PSERVER_PORT", "2401"}, {"CVS_CLIENT_LOG", "/tmp/"}};
    Env gnu = cvsglue::CommandEnvironment(Dialect::Gnu, answers, "", "/home/u/.cvspass");
    EXPECT_EQ(gnu, (Env{{"CVSROOT", ":pserver:a@h:/r"},
                        {"CVS_PSERVER_PORT", "2401"},
                        {"CVS_CLIENT_PORT", "2401"},
                        {"CVS_PASSFILE", "/home/u/.cvspass"}}));
    // An inherited password file is kept; an answered client port wins over the mapping;
    // a client log that names a file prefix is passed on.
    Env other = cvsglue::CommandEnvironment(
        Dialect::Gnu,
        {{"CVS_PSERVER_PORT", "1"}, {"CVS_CLIENT_PORT", "2"}, {"CVS_CLIENT_LOG", "/tmp/log"}},
        "/elsewhere/pass", "/home/u/.cvspass");
    EXPECT_EQ(
        other,
        (Env{{"CVS_PSERVER_PORT", "1"}, {"CVS_CLIENT_PORT", "2"}, {"CVS_CLIENT_LOG", "/tmp/log"}}));
    Env notGnu = cvsglue::CommandEnvironment(Dialect::Other, answers, "", "");
    EXPECT_EQ(notGnu, answers);
}

TEST(ListingRewriter, PutsEachFileAfterItsFolderLine) {
    const std::string listing = "mod:\n"
                                "/a.txt/1.7/Thu Dec 10 02:25:00 2026//\n"
                                "D/newdir////\n"
                                "D/sub////\n"
                                "\n"
                                "mod/newdir:\n"
                                "\n"
                                "mod/sub:\n"
                                "/c.txt/1.1.1.1/Thu Dec 10 02:21:27 2026//\n"
                                "D/deep////\n"
                                "\n"
                                "mod/sub/deep:\n"
                                "/d.txt/1.1.1.1/Thu Dec 10 02:21:27 2026//\n";
    const std::string expected = "/a.txt/1.7/Thu Dec 10 02:25:00 2026//\n"
                                 "D/newdir////\n"
                                 "D/sub////\n"
                                 "/c.txt/1.1.1.1/Thu Dec 10 02:21:27 2026//\n"
                                 "D/sub\\deep////\n"
                                 "/d.txt/1.1.1.1/Thu Dec 10 02:21:27 2026//\n";
    // Whole, and cut into chunks of every size from one byte up.
    for (size_t step = 1; step <= listing.size(); step = step * 2 + 1) {
        cvsglue::ListingRewriter rewriter("mod/");
        std::string out;
        for (size_t at = 0; at < listing.size(); at += step)
            out += rewriter.Feed(listing.data() + at, std::min(step, listing.size() - at));
        out += rewriter.Finish();
        EXPECT_EQ(out, expected) << "chunks of " << step;
    }
}

} // namespace
