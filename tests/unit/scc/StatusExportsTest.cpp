// The status exports on hand-made working copies: the status of each kind of file, the
// repair of copied folders (and the folders cvs makes that it must leave alone), the list a
// get asks for, and the trace blocks byte for byte. (With cvs: tests/e2e.)
#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
using trace_test::Hex;
using trace_test::kBanner;

constexpr int64_t kCheckedOut = 1500000000; // when cvs wrote the files
constexpr SccLong kOut = 0x1003;

// An Entries timestamp as cvs writes it: the day of month padded with a space.
std::string CvsStamp(int64_t t) {
    std::string text = FormatFileTime(t);
    if (text[8] == '0')
        text[8] = ' ';
    return text;
}

std::string FileLine(const std::string& name, int64_t t = kCheckedOut) {
    return "/" + name + "/1.1/" + CvsStamp(t) + "//\n";
}

// Working folders made by hand, as cvs leaves them.
class HandMadeCopy {
public:
    explicit HandMadeCopy(const TempDir& dir) : top_(dir.Path()) {}

    std::string Path(const std::string& relative) const {
        return relative.empty() ? top_ : NormalizePath(JoinPath(top_, relative));
    }
    void Bind(const std::string& folder, const std::string& repository,
              const std::string& entries) const {
        ASSERT_TRUE(platform::MakeFolderTree(Path(folder) + "/CVS"));
        WriteFile(Path(folder) + "/CVS/Root", "/repo\n");
        WriteFile(Path(folder) + "/CVS/Repository", repository + "\n");
        WriteFile(Path(folder) + "/CVS/Entries", entries);
    }
    // A file as cvs wrote it: writable, its time the one in Entries.
    void Checked(const std::string& file, const std::string& content = "text\n",
                 int64_t t = kCheckedOut) const {
        WriteFile(Path(file), content);
        ASSERT_TRUE(platform::SetLastWriteTime(Path(file), t));
    }
    void BaseCopy(const std::string& folder, const std::string& name) const {
        ASSERT_TRUE(platform::MakeFolderTree(Path(folder) + "/CVS/Base"));
        WriteFile(Path(folder) + "/CVS/Base/" + name, "base\n");
    }
    std::map<std::string, std::string> Files() const { return testing_support::ReadTree(top_); }

private:
    std::string top_;
};

class StatusExports : public ::testing::Test {
protected:
    void SetUp() override { ClearEntriesCache(); }
    void TearDown() override {
        ClearEntriesCache();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    std::string Take() { return trace_.Take(); }

    testing_support::EngineEnvironment env_;
    trace_test::ScopedTrace trace_;
    TempDir dir_{"status"};
    HandMadeCopy wc_{dir_};
};

TEST_F(StatusExports, StatusOfEachKindOfFile) {
    const bool wine = testing_support::RunningUnderWine(); // the archive bit cannot be cleared
    wc_.Bind("", "proj",
             FileLine("fresh.c") + FileLine("marked.c") + FileLine("madewritable.c") +
                 FileLine("edited.c") + "/merged.c/1.2/Result of merge//\n" + FileLine("gone.c") +
                 FileLine("lost.c") + FileLine("out.c") + FileLine("outwritten.c") +
                 "/added.c/0/dummy timestamp//\n/removed.c/-1.1/" + CvsStamp(kCheckedOut) +
                 "//\nD/sub////\n");
    wc_.Bind("sub", "proj/sub", "");
    ASSERT_TRUE(platform::MakeFolder(wc_.Path("plain")));
    for (const char* name : {"unlisted.c", "fresh.c", "marked.c", "madewritable.c", "merged.c",
                             "out.c", "outwritten.c", "added.c"})
        wc_.Checked(name);
    wc_.Checked("edited.c", "text\n", kCheckedOut + 1);
    MakeReadOnly(wc_.Path("marked.c"));
    MakeReadOnly(wc_.Path("out.c"));
    MakeWritable(wc_.Path("madewritable.c"));
    wc_.BaseCopy("", "gone.c");
    wc_.BaseCopy("", "out.c");
    wc_.BaseCopy("", "outwritten.c");

    struct Case {
        std::string name;
        SccLong status;
        bool writableAfter;
    };
    const std::vector<Case> cases = {
        {"unlisted.c", 0, true},
        {"fresh.c", 0x1, false}, // written by cvs and unchanged: the mark goes on
        {"marked.c", 0x1, false},
        {"madewritable.c", wine ? 0x1 : kOut, wine ? false : true},
        {"edited.c", kOut, true},
        {"merged.c", kOut, true},
        {"gone.c", kOut, false}, // missing, with a base copy
        {"lost.c", 0x1, false},  // missing, without one
        {"out.c", kOut, false},
        {"outwritten.c", kOut, true}, // checked out: stays editable though cvs wrote it
        {"added.c", kOut, true},
        {"removed.c", 0x1, false},
        {"sub", 1, true},
        {"plain", 0, true},
        {"missingdir/", 0, false},
        {"~sak0001.~sak", 0x7777, false},
    };
    std::vector<std::string> paths;
    std::vector<const char*> names;
    for (const Case& c : cases)
        paths.push_back(c.name.back() == '/' ? wc_.Path(c.name) + "/" : wc_.Path(c.name));
    for (const std::string& p : paths)
        names.push_back(p.c_str());
    names.push_back("");
    std::vector<SccLong> status(names.size(), 0x7777);
    EXPECT_EQ(
        SccQueryInfo(nullptr, static_cast<SccLong>(names.size()), names.data(), status.data()),
        SCC_OK);
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(status[i], cases[i].status) << cases[i].name;
        if (platform::Exists(paths[i]) && !platform::IsFolder(paths[i])) {
            EXPECT_EQ(IsWritable(paths[i]), cases[i].writableAfter) << cases[i].name;
        }
    }
    EXPECT_EQ(status.back(), 0) << "an empty name";
    EXPECT_FALSE(platform::Exists(wc_.Path("missingdir")));
    EXPECT_TRUE(IsArchiveSet(wc_.Path("fresh.c")));
}

TEST_F(StatusExports, QueryInfoTraceBlock) {
    wc_.Bind("", "proj", FileLine("a.c"));
    wc_.Checked("a.c");
    WriteFile(wc_.Path("b.c"), "new\n");
    const std::string a = wc_.Path("a.c"), b = wc_.Path("b.c"), sak = wc_.Path("x.~sak");
    const std::string top = wc_.Path("");
    const char* names[] = {a.c_str(), b.c_str(), top.c_str(), sak.c_str()};
    SccLong status[] = {0x1003, 0x10, -1, 0x4001};
    EXPECT_EQ(SccQueryInfo(nullptr, 4, names, status), SCC_OK);
    EXPECT_EQ(Take(), kBanner + "SccQueryInfo\n" + kBanner +
                          "INPUT:\n"
                          "num_files       4\n"
                          "file_names      '" +
                          a +
                          "' (SCC_STATUS_CONTROLLED,SCC_STATUS_CHECKEDOUT,"
                          "SCC_STATUS_OUTBYUSER,)\n"
                          "file_names      '" +
                          b +
                          "' ()\n"
                          "file_names      '" +
                          top +
                          "' (SCC_STATUS_INVALID)\n"
                          "file_names      '" +
                          sak +
                          "' (SCC_STATUS_CONTROLLED,"
                          "SCC_STATUS_RESERVED_1,)\n"
                          "OUTPUT:\n"
                          "file_names      '" +
                          a +
                          "' (00000001:SCC_STATUS_CONTROLLED,)\n"
                          "file_names      '" +
                          b +
                          "' (00000000:SCC_STATUS_NOTCONTROLLED)\n"
                          "file_names      '" +
                          top +
                          "' (00000001:SCC_STATUS_CONTROLLED,)\n"
                          "file_names      '" +
                          sak +
                          "' (00004001:SCC_STATUS_CONTROLLED,"
                          "SCC_STATUS_RESERVED_1,)\n"
                          "RESULT: 00000000 (SCC_OK)\n");
}

TEST_F(StatusExports, QueryInfoWithNullArraysStillDoesItsWork) {
    wc_.Bind("", "proj", FileLine("a.c"));
    wc_.Checked("a.c");
    const std::string a = wc_.Path("a.c");
    const char* names[] = {a.c_str()};
    EXPECT_EQ(SccQueryInfo(nullptr, 1, names, nullptr), SCC_OK);
    EXPECT_FALSE(IsWritable(a)) << "the mark goes on even when the host wants no answer";
    EXPECT_EQ(Take(), kBanner + "SccQueryInfo\n" + kBanner +
                          "INPUT:\nnum_files       1\n"
                          "file_names      '" +
                          a +
                          "' (SCC_STATUS_NOTCONTROLLED)\n"
                          "OUTPUT:\n"
                          "file_names      '" +
                          a +
                          "' (00000000:SCC_STATUS_NOTCONTROLLED)\n"
                          "RESULT: 00000000 (SCC_OK)\n");
    EXPECT_EQ(SccQueryInfo(nullptr, 2, nullptr, nullptr), SCC_OK);
    EXPECT_EQ(Take(), kBanner + "SccQueryInfo\n" + kBanner +
                          "INPUT:\nnum_files       2\n"
                          "file_names      '' (SCC_STATUS_NOTCONTROLLED)\n"
                          "file_names      '' (SCC_STATUS_NOTCONTROLLED)\n"
                          "OUTPUT:\n"
                          "file_names      '' (00000000:SCC_STATUS_NOTCONTROLLED)\n"
                          "file_names      '' (00000000:SCC_STATUS_NOTCONTROLLED)\n"
                          "RESULT: 00000000 (SCC_OK)\n");
    EXPECT_EQ(SccQueryInfo(nullptr, -1, nullptr, nullptr), SCC_OK);
    EXPECT_EQ(Take(), kBanner + "SccQueryInfo\n" + kBanner +
                          "INPUT:\nnum_files       -1\nOUTPUT:\nRESULT: 00000000 (SCC_OK)\n");
}

// A working copy of module proj: top (its folder named otherwise, as checkout -d makes it),
// a, lib/util and app, each listed by its parent, each with one file as cvs wrote it.
class CopiedFolders : public StatusExports {
protected:
    void SetUp() override {
        StatusExports::SetUp();
        wc_.Bind("", "proj", FileLine("top.c") + "D/a////\nD/lib////\nD/app////\n");
        wc_.Bind("a", "proj/a", FileLine("f.c") + "D/deep////\n");
        wc_.Bind("a/deep", "proj/a/deep", FileLine("d.c"));
        wc_.Bind("lib", "proj/lib", "D/util////\n");
        wc_.Bind("lib/util", "proj/lib/util", FileLine("u.c"));
        wc_.Bind("app", "proj/app", FileLine("m.c"));
        for (const char* file : {"top.c", "a/f.c", "a/deep/d.c", "lib/util/u.c", "app/m.c"})
            wc_.Checked(file);
        wc_.BaseCopy("a", "f.c");
        context_ = env_.MakeContext();
        context_->SetLocalPath(wc_.Path(""));
        context_->SetProjectModule("proj");
    }
    // Copies a folder with everything in it, the way a file manager does (times kept).
    void Copy(const std::string& from, const std::string& to) {
        ASSERT_TRUE(platform::MakeFolder(wc_.Path(to)));
        std::vector<platform::DirEntry> entries;
        ASSERT_TRUE(platform::ListFolder(wc_.Path(from), entries));
        for (const platform::DirEntry& e : entries) {
            if (e.IsFolder())
                Copy(from + "/" + e.name, to + "/" + e.name);
            else
                ASSERT_TRUE(platform::CopyFileTo(wc_.Path(from + "/" + e.name),
                                                 wc_.Path(to + "/" + e.name), true));
        }
    }
    // Removing a CVS folder makes its folder the current one, and Windows deletes no folder
    // that is some process's current folder.
    void RemoveCopy(const std::string& copy) {
        platform::SetCurrentFolder(testing_support::BinDir());
        testing_support::RemoveTree(wc_.Path(copy));
    }
    SccLong Query(const std::string& file) {
        const std::string path = wc_.Path(file);
        const char* names[] = {path.c_str()};
        SccLong status = 0x7777;
        EXPECT_EQ(SccQueryInfo(context_.get(), 1, names, &status), SCC_OK);
        return status;
    }
    // What the query may change: the CVS folders of the copy, nothing else.
    void ExpectOnlyCopyUnbound(const std::map<std::string, std::string>& before,
                               const std::string& copy) {
        std::map<std::string, std::string> expected;
        for (const auto& [path, content] : before) {
            const bool adminOfCopy =
                path.rfind(copy + "/", 0) == 0 && path.find("CVS/") != std::string::npos;
            if (!adminOfCopy)
                expected[path] = content;
        }
        EXPECT_EQ(wc_.Files(), expected);
    }

    std::unique_ptr<CCVSContext> context_;
};

TEST_F(CopiedFolders, ACopyLosesItsBindingAndNothingElseChanges) {
    struct Case {
        const char* from;
        const char* to;
        const char* file;
        SccLong original; // the status of the file in the original
    } const cases[] = {
        {"a", "b", "b/f.c", kOut},                       // beside the original
        {"lib/util", "app/util2", "app/util2/u.c", 0x1}, // into another folder
        {"a", "b", "b/deep/d.c", kOut}, // below the copy: its own folder's name is right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        Copy(c.from, c.to);
        const auto before = wc_.Files();
        const std::string fileName = GetFileNamePart(c.file);
        if (std::string(c.file) == "b/deep/d.c") {
            EXPECT_EQ(Query(c.file), 0x1) << "deep's own name matches its repository path";
            EXPECT_TRUE(IsCVSFolder(wc_.Path("b"))) << "only the folders of asked files";
            RemoveCopy(c.to);
            continue;
        }
        EXPECT_EQ(Query(c.file), 0);
        EXPECT_FALSE(IsCVSFolder(wc_.Path(c.to)));
        ExpectOnlyCopyUnbound(before, c.to);
        EXPECT_TRUE(env_.Pane().Has("The folder " + wc_.Path(c.to) +
                                    " is a copy of the working folder " + wc_.Path(c.from) +
                                    ": its CVS folders were removed, so that it can be added as "
                                    "a folder of its own."));
        EXPECT_EQ(Query(std::string(c.from) + "/" + fileName), c.original) << "the original";
        RemoveCopy(c.to);
    }
}

TEST_F(CopiedFolders, FoldersCvsMadeUnderAnotherNameKeepTheirBinding) {
    // Each of these has a repository path ending in another name than the folder.
    // Listed by its parent, as cvs lists a nested checkout after its next command there.
    Copy("a", "listed");
    WriteFile(wc_.Path("CVS/Entries"), ReadFile(wc_.Path("CVS/Entries")) + "D/listed////\n");
    // A second checkout of proj/a (checkout -d inside the working copy), which cvs records in
    // the parent's Entries.Log until its next command there. Its lines are the original's
    // word for word: cvs gives a checked-out file the time of its revision.
    wc_.Bind("again", "proj/a", FileLine("f.c"));
    wc_.Checked("again/f.c");
    WriteFile(wc_.Path("CVS/Entries.Log"), "A D/again////\n");
    // A module alias inside an ampersand module: the parent holds no files of its own.
    wc_.Bind("combo", "CVSROOT/Emptydir", "");
    wc_.Bind("combo/renamedlib", "proj/lib/util", FileLine("u.c"));
    wc_.Checked("combo/renamedlib/u.c");
    // Moved: the folder it came from is gone.
    wc_.Bind("moved", "proj/gone", FileLine("g.c"));
    wc_.Checked("moved/g.c");
    // With pending work of its own: an add, a removal, a base copy.
    WriteFile(wc_.Path("again/CVS/Entries"), ReadFile(wc_.Path("again/CVS/Entries")) +
                                                 "/new.c/0/dummy timestamp//\n" + "/old.c/-1.1/" +
                                                 CvsStamp(kCheckedOut) + "//\n");
    WriteFile(wc_.Path("again/new.c"), "pending add\n");
    wc_.BaseCopy("again", "f.c");

    const auto before = wc_.Files();
    EXPECT_EQ(Query("listed/f.c"), kOut) << "copied with its base copy";
    EXPECT_EQ(Query("again/f.c"), kOut);
    EXPECT_EQ(Query("again/new.c"), kOut);
    EXPECT_EQ(Query("combo/renamedlib/u.c"), 0x1);
    EXPECT_EQ(Query("moved/g.c"), 0x1);
    EXPECT_EQ(wc_.Files(), before);
    EXPECT_TRUE(env_.Pane().Lines().empty());
}

TEST_F(CopiedFolders, WalkingUpStopsAtTheTopOfTheWorkingCopy) {
    // The top's folder name is not its repository's, and the query goes up from the copy.
    Copy("a", "b");
    const auto before = wc_.Files();
    EXPECT_EQ(Query("b/f.c"), 0);
    ExpectOnlyCopyUnbound(before, "b");
    EXPECT_TRUE(IsCVSFolder(wc_.Path("")));
    EXPECT_EQ(Query("top.c"), 0x1);
}

TEST_F(StatusExports, PopulateListForAGetMarksListedFilesOnly) {
    wc_.Bind("", "proj", FileLine("a.c") + FileLine("b.c") + FileLine("gone.c"));
    wc_.Checked("a.c");
    wc_.Checked("b.c", "edited\n", kCheckedOut + 60);
    WriteFile(wc_.Path("new.c"), "new\n");
    const std::string a = wc_.Path("a.c"), b = wc_.Path("b.c"), gone = wc_.Path("gone.c"),
                      fresh = wc_.Path("new.c");
    const char* names[] = {a.c_str(), b.c_str(), gone.c_str(), fresh.c_str()};
    int calls = 0;
    POPLISTFUNC count = [](void* data, SccBool, SccLong, char*) -> SccBool {
        ++*static_cast<int*>(data);
        return 1;
    };

    SccLong status[] = {0x40, 0x40, 0x40, 0x40};
    EXPECT_EQ(SccPopulateList(nullptr, SCC_COMMAND_GET, 4, names, count, &calls, status, 0),
              SCC_OK);
    EXPECT_EQ(std::vector<SccLong>(status, status + 4),
              (std::vector<SccLong>{0x1, 0x3, 0x1, 0x40}));
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(IsWritable(a)) << "a list changes no attribute";
    const std::string lines = "file_names    '" + a + "' (%s)\nfile_names    '" + b +
                              "' (%s)\nfile_names    '" + gone + "' (%s)\nfile_names    '" + fresh +
                              "' (%s)\n";
    auto filled = [&lines](std::vector<const char*> values) {
        std::string text = lines;
        for (const char* v : values)
            text.replace(text.find("%s"), 2, v);
        return text;
    };
    EXPECT_EQ(Take(), kBanner + "SccPopulateList\n" + kBanner +
                          "INPUT:\n"
                          "command       0 (SCC_command_get)\n"
                          "num_files     4\n" +
                          filled({"00000040", "00000040", "00000040", "00000040"}) +
                          "options       00000000\n"
                          "popul_proc    " +
                          Hex(reinterpret_cast<void*>(count)) +
                          "\n"
                          "*callerdat    " +
                          Hex(&calls) +
                          "\n"
                          "OUTPUT:" +
                          filled({"00000001", "00000003", "00000001", "00000040"}) +
                          "*callerdat    " + Hex(&calls) +
                          "\n"
                          "RESULT: 00000000 (SCC_OK)\n");

    SccLong untouched[] = {0x40, 0x40, 0x40, 0x40};
    EXPECT_EQ(SccPopulateList(nullptr, SCC_COMMAND_CHECKOUT, 4, names, count, &calls, untouched, 0),
              SCC_OK);
    EXPECT_EQ(std::vector<SccLong>(untouched, untouched + 4),
              (std::vector<SccLong>{0x40, 0x40, 0x40, 0x40}));
    EXPECT_EQ(calls, 0);
    Take();
    EXPECT_EQ(SccPopulateList(nullptr, SCC_COMMAND_GET, 0, nullptr, nullptr, nullptr, nullptr,
                              SCC_PL_DIR),
              SCC_OK);
    EXPECT_EQ(Take(), kBanner + "SccPopulateList\n" + kBanner +
                          "INPUT:\ncommand       0 (SCC_command_get)\nnum_files     0\n"
                          "options       00000001\npopul_proc    00000000\n"
                          "*callerdat    00000000\nOUTPUT:*callerdat    00000000\n"
                          "RESULT: 00000000 (SCC_OK)\n");
    EXPECT_EQ(SccPopulateList(nullptr, 42, 1, names, nullptr, nullptr, nullptr, 0), SCC_OK);
    EXPECT_NE(Take().find("command       42 (?)\n"), std::string::npos);
}

} // namespace
