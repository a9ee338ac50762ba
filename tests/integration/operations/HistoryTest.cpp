// The controller's history operations against the real cvs, on a local root, :fork: and a
// pserver: a file's log with branches, tags, multi-line, empty, long and non-ASCII messages;
// the tag list; revisions fetched beside the file and over it, binary ones byte for byte
// with the user's own content kept; differences; log messages changed; and what bad input
// gets.
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tests/support/CvsEngineFixture.h"
#include "tests/support/EngineTestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

namespace {

using testing::HasSubstr;
using testing_support::ModuleImageBytes;
using testing_support::ReadFile;
using testing_support::WithPlatformLineEnds;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using Strings = std::vector<std::string>;

class History : public testing_support::CvsWorkingCopyFixture {};

INSTANTIATE_TEST_SUITE_P(Methods, History, testing_support::AllCvsMethods(),
                         testing_support::CvsMethodParamName);

TEST_P(History, TheLogOfAFileWithBranchesTagsAndMessages) {
    const std::string other = Copy("other");
    Commit(other, "a.txt", "line 4\n", "first line\nsecond line\n");
    Commit(other, "a.txt", "line 5\n", "");

    CCVSController controller(*context_);
    const std::vector<CCVSLogEntry> log = controller.GetHistory(File("a.txt"));
    EXPECT_TRUE(env_.Pane().Has("Getting file history ..."));
    EXPECT_EQ(Commands(), Strings{"cvs log a.txt"});
    Strings revisions, messages, described;
    for (const CCVSLogEntry& entry : log) {
        revisions.push_back(entry.revision);
        messages.push_back(entry.message);
        described.push_back(Describe(entry));
        EXPECT_TRUE(
            std::regex_match(entry.date, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \+0000)")))
            << entry.date;
        EXPECT_FALSE(entry.author.empty());
        EXPECT_EQ(entry.branches, entry.revision == "1.2"   ? " 1.2.2;"
                                  : entry.revision == "1.1" ? " 1.1.1;"
                                                            : "");
    }
    EXPECT_EQ(revisions, (Strings{"1.5", "1.4", "1.3", "1.2", "1.1", "1.1.1.1", "1.2.2.1"}));
    EXPECT_EQ(messages,
              (Strings{"*** empty log message ***", "first linesecond line", "third revision",
                       "second revision", "Initial revision", "initial import", "on the branch"}));
    // The working copy has 1.3; the head is 1.5.
    EXPECT_EQ(described[0].rfind("head 1.5 ", 0), 0u) << described[0];
    EXPECT_EQ(described[2].rfind("ancestor 1.3 ", 0), 0u) << described[2];
    EXPECT_EQ(described[3].rfind("1.2 ", 0), 0u) << described[3];
}

TEST_P(History, LongAndNonAsciiMessagesComeBackWhole) {
    std::string huge;
    for (int i = 0; huge.size() < 100 * 1024; ++i)
        huge += static_cast<char>(0x80 + i % 0x80); // bytes outside ASCII, on one line
    const std::string lines = "caf\xE9 \xC3\xA9t\xC3\xA9\n" + huge + "\nend\n";
    const std::string other = Copy("other");
    Commit(other, "sub/c.txt", "c 2\n", lines);

    CCVSController controller(*context_);
    const std::vector<CCVSLogEntry> log = controller.GetHistory(File("sub/c.txt"));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].revision, "1.2");
    EXPECT_TRUE(log[0].message == "caf\xE9 \xC3\xA9t\xC3\xA9" + huge + "end")
        << "a message of " << log[0].message.size() << " bytes";
    EXPECT_EQ(log[1].revision, "1.1");
    EXPECT_EQ(log[2].message, "initial import");
}

TEST_P(History, TheTagsOfTheModuleOnceEach) {
    CCVSController controller(*context_);
    Strings tags{"REL_1", "mine"};
    EXPECT_TRUE(controller.GetTags(work_, tags));
    EXPECT_EQ(Commands(), Strings{"cvs log -h"});
    EXPECT_EQ(tags, (Strings{"REL_1", "mine", "BR1", "start", "vendor"}));
    // A file's path lists the tags of its folder, in the order of the log.
    Strings fromFile;
    EXPECT_TRUE(controller.GetTags(File("sub/c.txt"), fromFile));
    EXPECT_EQ(fromFile, (Strings{"BR1", "REL_1", "start", "vendor"}));
}

TEST_P(History, ARevisionIsWrittenBesideTheFileWithThePlatformsLineEnds) {
    CCVSController controller(*context_);
    const std::string diff = In(work_, "CVS/Diff");
    std::string path = controller.GetRevision(File("a.txt"), "1.2", false);
    EXPECT_EQ(Commands(), Strings{"cvs update -p -r 1.2 a.txt"});
    EXPECT_EQ(path, In(diff, "a.txt.1.2"));
    EXPECT_EQ(ReadFile(path), WithPlatformLineEnds("line 1\nline 2\n"));
    EXPECT_FALSE(IsWritable(path));
    // Fetched again over the read-only copy; a tag names a revision too.
    EXPECT_EQ(controller.GetRevision(File("a.txt"), "REL_1", false), In(diff, "a.txt.REL_1"));
    EXPECT_EQ(controller.GetRevision(File("a.txt"), "1.2", false), path);
    EXPECT_EQ(ReadFile(In(diff, "a.txt.REL_1")), WithPlatformLineEnds("line 1\nline 2\n"));
    // No revision: the working file's own.
    path = controller.GetRevision(File("a.txt"), "", false);
    EXPECT_EQ(Commands().back(), "cvs update -p a.txt");
    EXPECT_EQ(ReadFile(path), WithPlatformLineEnds("line 1\nline 2\nline 3\n"));
    EXPECT_EQ(ReadFile(File("a.txt")), "line 1\nline 2\nline 3\n"); // untouched
}

TEST_P(History, ABinaryRevisionComesBackByteForByte) {
    Commit(work_, "img.bin", std::string("\0\r\n\r\0new", 9), "new image");
    CCVSController controller(*context_);

    const std::string copy = controller.GetRevision(File("img.bin"), "1.1.1.1", false);
    EXPECT_TRUE(ReadFile(copy) == ModuleImageBytes());

    // Over the working file: it was as cvs wrote it, so nothing needs keeping.
    EXPECT_EQ(controller.GetRevision(File("img.bin"), "1.1.1.1", true), File("img.bin"));
    EXPECT_TRUE(ReadFile(File("img.bin")) == ModuleImageBytes());
    EXPECT_FALSE(platform::Exists(File(".#img.bin.1.2")));
    EXPECT_FALSE(IsWritable(File("img.bin")));
}

TEST_P(History, ReplacingAChangedWorkingFileKeepsTheUsersContent) {
    CCVSController controller(*context_);
    const std::string mine("my own work\r\n\0with a NUL", 25);
    WriteFile(File("a.txt"), mine);
    EXPECT_EQ(controller.GetRevision(File("a.txt"), "1.2", true), File("a.txt"));
    EXPECT_EQ(ReadFile(File("a.txt")), WithPlatformLineEnds("line 1\nline 2\n"));
    EXPECT_TRUE(ReadFile(File(".#a.txt.1.3")) == mine);
    EXPECT_TRUE(env_.Pane().Has("Kept the local changes of " + File("a.txt") + " as " +
                                File(".#a.txt.1.3")))
        << env_.Pane().All();

    // Another change, another replacement: the first kept file stays as it was.
    MakeWritable(File("a.txt"));
    WriteFile(File("a.txt"), "second try\n");
    EXPECT_EQ(controller.GetRevision(File("a.txt"), "1.1", true), File("a.txt"));
    EXPECT_EQ(ReadFile(File("a.txt")), WithPlatformLineEnds("line 1\n"));
    EXPECT_TRUE(ReadFile(File(".#a.txt.1.3")) == mine);
    EXPECT_EQ(ReadFile(File(".#a.txt.1.3~2")), "second try\n");
}

TEST_P(History, BadInputGetsNoRevisionAndLeavesFilesAlone) {
    CCVSController controller(*context_);
    const std::string invalid = kInvalidPathResult;
    EXPECT_EQ(controller.GetRevision(File("a.txt"), "9.9", false), invalid);
    EXPECT_EQ(controller.GetRevision(File("a.txt"), "NO_SUCH_TAG", true), invalid);
    EXPECT_EQ(ReadFile(File("a.txt")), "line 1\nline 2\nline 3\n");
    EXPECT_FALSE(platform::Exists(In(work_, "CVS/Diff/a.txt.9.9")));

    WriteFile(File("loose.txt"), "not under CVS\n");
    for (const char* revision : {"", "1.1"})
        EXPECT_EQ(controller.GetRevision(File("loose.txt"), revision, true), invalid) << revision;
    EXPECT_EQ(ReadFile(File("loose.txt")), "not under CVS\n");
    EXPECT_THAT(env_.Pane().All(), HasSubstr("loose.txt"));
    EXPECT_TRUE(controller.GetHistory(File("loose.txt")).empty());
    EXPECT_TRUE(controller.GetHistory(File("nosuch.txt")).empty());

    // A folder that is not a working folder: nothing runs.
    const std::string plain = sandbox_.Folder("plain");
    WriteFile(In(plain, "x.txt"), "x\n");
    Commands();
    EXPECT_EQ(controller.GetRevision(In(plain, "x.txt"), "1.1", true), invalid);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(ReadFile(In(plain, "x.txt")), "x\n");
}

TEST_P(History, DifferencesOfTheWorkingFile) {
    // The trace option must not make a comparison fail.
    env_.Settings().SetUseCompression(true);
    env_.Settings().SetCompressLevel("9");
    env_.Settings().SetUseCvsTrace(true);
    CCVSController controller(*context_);
    std::string difference = "old";
    EXPECT_TRUE(controller.DiffFile(File("a.txt"), difference));
    EXPECT_EQ(difference, "");
    EXPECT_EQ(Commands(), Strings{"cvs -t -z9 diff a.txt"});

    WriteFile(File("a.txt"), "line 1\nline 2\nline 3\nchanged\n");
    EXPECT_TRUE(controller.DiffFile(File("a.txt"), difference));
    EXPECT_THAT(difference, HasSubstr("> changed"));
    EXPECT_FALSE(env_.Pane().Has("> changed")) << "the comparison runs quietly";

    WriteFile(File("loose.txt"), "x\n");
    EXPECT_FALSE(controller.DiffFile(File("loose.txt"), difference));
    Commands();
    EXPECT_FALSE(controller.DiffFile(File("nosuch.txt"), difference));
    EXPECT_TRUE(Commands().empty());
}

TEST_P(History, ALogMessageIsChanged) {
    CCVSController controller(*context_);
    // Not allowed by the repository: the run's failure, with cvs's reason.
    EXPECT_FALSE(controller.SetLogMessage(File("a.txt"), "1.2", "new"));
    EXPECT_THAT(context_->GetErrorText(), HasSubstr("_cvsadmin"));

    AllowAdmin();
    EXPECT_TRUE(controller.SetLogMessage(File("a.txt"), "1.2", "new message\nwith two lines"))
        << context_->GetErrorText();
    EXPECT_EQ(Commands().back(), "cvs admin -m 1.2:new message\nwith two lines a.txt");
    std::vector<CCVSLogEntry> log = controller.GetHistory(File("a.txt"));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[1].revision, "1.2");
    EXPECT_EQ(log[1].message, "new messagewith two lines");

    EXPECT_FALSE(controller.SetLogMessage(File("a.txt"), "9.9", "nowhere"));
    EXPECT_THAT(context_->GetErrorText(), HasSubstr("no such revision 9.9"));
}

TEST_P(History, ALongNonAsciiLogMessageIsSetWholeOrRefusedClearly) {
    AllowAdmin();
    std::string message = "\xE4\xF6\xFC\n";
    while (message.size() < 100 * 1024)
        message += static_cast<char>(0x80 + message.size() % 0x7F);
    CCVSController controller(*context_);
    const bool ok = controller.SetLogMessage(File("a.txt"), "1.3", message);
    const std::string error = context_->GetErrorText();
    const std::vector<CCVSLogEntry> log = controller.GetHistory(File("a.txt"));
    ASSERT_FALSE(log.empty());
    if (testing_support::RunningUnderWine()) {
        // Windows takes a command line of 32767 characters at most.
        EXPECT_FALSE(ok);
        EXPECT_THAT(error, HasSubstr("characters long"));
        EXPECT_EQ(log[0].message, "third revision");
        return;
    }
    EXPECT_TRUE(ok) << error;
    std::string joined = message;
    joined.erase(joined.find('\n'), 1);
    EXPECT_TRUE(log[0].message == joined) << log[0].message.size() << " bytes";
}

} // namespace
