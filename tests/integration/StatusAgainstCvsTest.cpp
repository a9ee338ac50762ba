// What SccQueryInfo says of a working copy, against what the real cvs says of it
// ("cvs -n -q update"), on working copies made at random by cvs itself: files edited,
// touched, touched back, lost, removed, added, unknown, out of date, written by cvs on
// update, merged, in conflict, checked out, and folders copied.
//
// Each seed makes a folder of the working copy; MORVEK_STATUS_SEED=N runs seed N alone (a
// failure names its seed).
#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/TestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {

using testing_support::ReadFile;
using testing_support::Sep;
using testing_support::WriteFile;

// What the generator did to a file.
enum class Kind {
    Untouched,
    Edited,
    Touched,      // a new time, the same content
    TouchedBack,  // new content, the time cvs wrote
    Lost,         // deleted, cvs not told
    Removed,      // deleted and "cvs remove"
    Added,        // new and "cvs add"
    Unknown,      // new, cvs not told
    OutOfDate,    // a newer revision committed from another working copy
    Updated,      // that newer revision brought here by "cvs update": written by cvs
    Merged,       // edited here, changed there, merged cleanly by "cvs update"
    Conflict,     // edited here and there on the same line
    MadeWritable, // the provider's check-out mark: writable, archive bit clear
    CheckedOut,   // a base copy in CVS/Base
    Count
};

const char* const kKindNames[] = {"untouched",     "edited",     "touched", "touched back",
                                  "lost",          "removed",    "added",   "unknown",
                                  "out of date",   "updated",    "merged",  "conflict",
                                  "made writable", "checked out"};

constexpr SccLong kOut = 0x1003;
const char* const kLines = "line 1\nline 2\nline 3\nline 4\n";

// One seed's part of the working copy: folder sN of the module, with a few folders of a few
// files each and files at its top, and what was done to each file.
struct Plan {
    unsigned seed = 0;
    std::string top; // "sN/"
    std::vector<std::string> folders;
    std::map<std::string, Kind> kinds; // by path relative to the working copy
    bool copied = false;               // sN/d0 copied to sN/d0copy

    explicit Plan(unsigned s, bool wine) : seed(s), top("s" + std::to_string(s) + "/") {
        std::mt19937 random(seed);
        auto pick = [&random](int n) {
            return static_cast<int>(random() % static_cast<unsigned>(n));
        };
        folders.push_back(top);
        for (int d = 0, n = 1 + pick(3); d < n; ++d)
            folders.push_back(top + "d" + std::to_string(d) + "/");
        for (const std::string& folder : folders) {
            for (int f = 0, n = 4 + pick(4); f < n; ++f) {
                Kind kind = static_cast<Kind>(pick(static_cast<int>(Kind::Count)));
                if (kind == Kind::Added || kind == Kind::Unknown ||
                    (wine && kind == Kind::MadeWritable))
                    kind = Kind::Untouched; // those are files of their own, below
                // The first stays as cvs wrote it, so that a copy is plainly a copy.
                kinds[folder + "f" + std::to_string(f) + ".txt"] = f == 0 ? Kind::Untouched : kind;
            }
        }
        copied = folders.size() > 1 && pick(2) == 0;
    }
    std::string Trace() const {
        return "seed " + std::to_string(seed) + " (MORVEK_STATUS_SEED=" + std::to_string(seed) +
               " replays it)";
    }
};

class StatusAgainstCvs : public ::testing::Test {
protected:
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        ClearEntriesCache();
    }
    void TearDown() override {
        ClearEntriesCache();
        platform::SetCurrentFolder(testing_support::BinDir());
    }

    void Cvs(std::vector<std::string> args, const std::vector<std::string>& files,
             const std::string& folder) {
        if (files.empty())
            return;
        args.insert(args.end(), files.begin(), files.end());
        testing_support::RunResult r = repo_.Cvs(args, folder);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::string Path(const std::string& top, const std::string& relative) const {
        std::string path = top + Sep() + relative;
        for (char& c : path)
            if (c == '/')
                c = Sep();
        return path;
    }

    void MakeWorkingCopies(std::vector<Plan>& plans);
    void Check(const Plan& plan);

    testing_support::CvsSandbox sandbox_;
    testing_support::CvsRepository repo_;
    std::string wc_, other_;
};

// Every file of the working copy below a folder, by its path relative to the top: on disk
// (CVS folders aside) or named by an Entries file; and those Entries names.
void CollectFiles(const std::string& folder, const std::string& prefix,
                  std::set<std::string>& files, std::set<std::string>& listed) {
    std::vector<platform::DirEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::DirEntry& e : entries) {
        if (e.name == "CVS")
            continue;
        if (e.IsFolder())
            CollectFiles(folder + Sep() + e.name, prefix + e.name + "/", files, listed);
        else
            files.insert(prefix + e.name);
    }
    std::istringstream lines(ReadFile(folder + Sep() + "CVS" + Sep() + "Entries"));
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 1 && line[0] == '/') {
            files.insert(prefix + line.substr(1, line.find('/', 1) - 1));
            listed.insert(prefix + line.substr(1, line.find('/', 1) - 1));
        }
    }
}

// All seeds share one working copy, each in a folder of its own, so that the cvs commands
// (each waits for the next second once it has written files) run once for all of them.
void StatusAgainstCvs::MakeWorkingCopies(std::vector<Plan>& plans) {
    const std::string root = repo_.LocalRoot();
    const std::string source = sandbox_.Folder("src");
    for (const Plan& plan : plans) {
        for (const std::string& folder : plan.folders)
            ASSERT_TRUE(platform::MakeFolderTree(Path(source, folder)));
        for (const auto& [file, kind] : plan.kinds)
            WriteFile(Path(source, file), kLines);
    }
    Cvs({"-d", root, "import", "-m", "start", "rnd", "vendor"}, {"start"}, source);
    const std::string parent = sandbox_.Folder("work");
    Cvs({"-d", root, "checkout", "-d"}, {"wc", "rnd"}, parent);
    Cvs({"-d", root, "checkout", "-d"}, {"other", "rnd"}, parent);
    wc_ = parent + Sep() + "wc";
    other_ = parent + Sep() + "other";

    // From the other working copy: newer revisions, and a file the repository gains.
    std::vector<std::string> committed, updateHere, added, removed;
    for (const Plan& plan : plans) {
        for (const auto& [file, kind] : plan.kinds) {
            if (kind == Kind::OutOfDate || kind == Kind::Updated || kind == Kind::Conflict ||
                kind == Kind::Merged) {
                WriteFile(Path(other_, file), kind == Kind::Merged
                                                  ? "line 1\nline 2\nline 3\ntheirs 4\n"
                                                  : "theirs 1\nline 2\nline 3\nline 4\n");
                committed.push_back(file);
            }
            if (kind == Kind::Updated || kind == Kind::Conflict || kind == Kind::Merged)
                updateHere.push_back(file);
            // Edited here too: the update merges the two.
            if (kind == Kind::Conflict || kind == Kind::Merged)
                WriteFile(Path(wc_, file), "mine 1\nline 2\nline 3\nline 4\n");
        }
        const std::string fresh = plan.top + "fromothers.txt";
        WriteFile(Path(other_, fresh), "new there\n");
        added.push_back(fresh);
    }
    Cvs({"add"}, added, other_);
    committed.insert(committed.end(), added.begin(), added.end());
    Cvs({"commit", "-m", "there"}, committed, other_);
    // A conflict makes the update fail; what it wrote is what counts.
    std::vector<std::string> update = {"-q", "update"};
    update.insert(update.end(), updateHere.begin(), updateHere.end());
    ASSERT_NE(repo_.Cvs(update, wc_).status, -1);

    // Here: changes cvs hears of, and changes it does not.
    added.clear();
    for (Plan& plan : plans) {
        for (const auto& [file, kind] : plan.kinds) {
            const std::string path = Path(wc_, file);
            const std::optional<platform::DirEntry> written = platform::FindEntry(path);
            ASSERT_TRUE(written) << file;
            switch (kind) {
            case Kind::Edited:
                WriteFile(path, "edited\n");
                ASSERT_TRUE(platform::SetLastWriteTime(path, written->lastWriteTime + 100));
                break;
            case Kind::Touched:
                ASSERT_TRUE(platform::SetLastWriteTime(path, written->lastWriteTime + 100));
                break;
            case Kind::TouchedBack:
                WriteFile(path, "edited, and its time set back\n");
                ASSERT_TRUE(platform::SetLastWriteTime(path, written->lastWriteTime));
                break;
            case Kind::Lost:
            case Kind::Removed:
                ASSERT_TRUE(platform::DeleteFileAt(path));
                if (kind == Kind::Removed)
                    removed.push_back(file);
                break;
            case Kind::MadeWritable:
                MakeWritable(path);
                break;
            case Kind::CheckedOut:
                ASSERT_TRUE(platform::CopyFileTo(path, GetBaseCopyPath(path), true));
                break;
            default:
                break;
            }
        }
        for (const std::string& folder : plan.folders) {
            WriteFile(Path(wc_, folder + "added.txt"), "added\n");
            added.push_back(folder + "added.txt");
            plan.kinds[folder + "added.txt"] = Kind::Added;
            WriteFile(Path(wc_, folder + "unknown.txt"), "unknown\n");
            plan.kinds[folder + "unknown.txt"] = Kind::Unknown;
        }
    }
    Cvs({"add"}, added, wc_);
    Cvs({"remove"}, removed, wc_);
    for (const Plan& plan : plans) {
        if (!plan.copied)
            continue;
        testing_support::RunResult r = testing_support::Shell(
            "cp -r d0 d0copy", testing_support::UnixPath(Path(wc_, plan.top)));
        ASSERT_EQ(r.status, 0) << r.err;
    }
}

// The provider's answer first (a copied folder loses its binding), then cvs's.
void StatusAgainstCvs::Check(const Plan& plan) {
    SCOPED_TRACE(plan.Trace());
    std::set<std::string> files, listed;
    CollectFiles(Path(wc_, plan.top), plan.top, files, listed);
    files.insert(plan.top + "fromothers.txt");
    std::vector<std::string> paths;
    std::vector<const char*> names;
    for (const std::string& f : files)
        paths.push_back(NormalizePath(Path(wc_, f)));
    for (const std::string& p : paths)
        names.push_back(p.c_str());
    std::vector<SccLong> status(names.size(), -1);
    ASSERT_EQ(
        SccQueryInfo(nullptr, static_cast<SccLong>(names.size()), names.data(), status.data()),
        SCC_OK);

    // Its exit status is 1 when it found a conflict.
    testing_support::RunResult r =
        repo_.Cvs({"-n", "-q", "update", plan.top.substr(0, plan.top.size() - 1)}, wc_);
    ASSERT_TRUE(r.status == 0 || r.status == 1) << r.err;
    std::map<std::string, char> said; // by path, or by folder for a folder cvs does not know
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 2 && line[1] == ' ')
            said[line.substr(2)] = line[0];
    const std::string copy = plan.top + "d0copy";
    if (plan.copied) {
        EXPECT_EQ(said[copy], '?') << "cvs does not take the copy for a folder of its own";
    }

    size_t i = 0;
    for (const std::string& file : files) {
        const SccLong ours = status[i++];
        char code = said.count(file) ? said[file] : ' ';
        if (plan.copied && file.rfind(copy + "/", 0) == 0)
            code = said[copy];
        const auto known = plan.kinds.find(file);
        const Kind kind = known == plan.kinds.end() ? Kind::Untouched : known->second;
        SccLong expected;
        switch (code) {
        case '?':
            expected = 0;
            break;
        case 'A':
        case 'M':
        case 'C':
            expected = kOut;
            break;
        case 'U':
        case 'P':
        case 'R':
            // Missing or out of date, yet not edited here: under control, not checked out
            // (there is no status bit for either). A file only the repository has is not
            // under control here at all.
            expected = listed.count(file) ? 0x1 : 0;
            break;
        default:
            if (!listed.count(file)) {
                // cvs passes over the names of its ignore list, such as the .#NAME.REV copy
                // it keeps of a file before a merge; to the provider they are files it does
                // not control.
                expected = 0;
            } else {
                // Up to date for cvs, which compares the content of a file whose time changed;
                // the provider never reads content, so a touched file counts as edited and
                // the host offers to check it in. A file the user may edit (the provider's
                // writable mark, or a base copy) counts as checked out: that is what the bit
                // means here.
                expected =
                    kind == Kind::Touched || kind == Kind::MadeWritable || kind == Kind::CheckedOut
                        ? kOut
                        : 0x1;
            }
            break;
        }
        EXPECT_EQ(ours, expected) << file << ": " << kKindNames[static_cast<int>(kind)]
                                  << ", cvs said '" << code << "'";
    }
}

TEST_F(StatusAgainstCvs, RandomWorkingCopies) {
    const bool wine = testing_support::RunningUnderWine(); // the archive bit cannot be cleared
    const std::string chosen = testing_support::GetEnv("MORVEK_STATUS_SEED");
    std::vector<Plan> plans;
    if (!chosen.empty()) {
        plans.emplace_back(static_cast<unsigned>(std::stoul(chosen)), wine);
    } else {
        for (unsigned seed : {1u, 2u, 3u, 4u})
            plans.emplace_back(seed, wine);
        std::set<Kind> made;
        for (const Plan& plan : plans)
            for (const auto& file : plan.kinds)
                made.insert(file.second);
        EXPECT_EQ(made.size(), static_cast<size_t>(Kind::Count) - (wine ? 3 : 2))
            << "the seeds make every kind of file but the added and unknown ones, made apart";
    }
    MakeWorkingCopies(plans);
    for (const Plan& plan : plans)
        Check(plan);
}

} // namespace
