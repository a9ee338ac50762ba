// Every platform call of a whole command made to fail in turn: for each command the walk
// counts the calls of one clean run, then runs the command once per call on a fresh working
// copy with that call failing. Whatever fails, the command ends with a result that says so
// and a line in the output pane that the clean run does not have (or succeeds with the clean
// run's result), no file of the user's is lost or changed, and the administrative files are
// whole: cvs reads the working copy afterwards, and nothing is left beside them unless the
// pane names it.
#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "scc/Exports.h"
#include "settings/SccSettings.h"
#include "tests/support/CvsEngineFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;
using Tree = std::map<std::string, std::string>; // relative path -> content; folders end in '/'

// Every file below folder: its content, or for a folder an empty entry.
void Snapshot(const std::string& folder, const std::string& relative, Tree& tree) {
    std::vector<platform::DirEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::DirEntry& e : entries) {
        const std::string path = folder + platform::kPathSeparator + e.name;
        const std::string rel = relative.empty() ? e.name : relative + "/" + e.name;
        if (e.IsFolder()) {
            tree[rel + "/"] = "";
            Snapshot(path, rel, tree);
        } else {
            tree[rel] = ReadFile(path);
        }
    }
}

bool IsAdministrative(const std::string& rel) {
    return rel.find("CVS/") != std::string::npos || rel == "CVS/";
}
std::string Leaf(const std::string& rel) {
    const std::string::size_type slash = rel.find_last_of('/', rel.size() - 2);
    return slash == std::string::npos ? rel : rel.substr(slash + 1);
}

// One command of the walk: what it is given and what it is meant to leave.
struct WalkCase {
    const char* name;
    std::function<void(const std::string& work)> prepare; // the user's doing before the call
    // The call; status receives SccQueryInfo's answer.
    std::function<SCCRTN(void* context, const std::string& work, std::vector<SccLong>& status)> run;
    // Working files (relative) and the content a successful run leaves in them; an empty
    // text for a file the command removes.
    Tree intended;
};

std::string P(const std::string& work, const std::string& rel) {
    std::string path = work;
    for (char c : "/" + rel)
        path += c == '/' ? platform::kPathSeparator : c;
    return path;
}

SCCRTN Query(void* context, const std::string& work, std::vector<SccLong>& status) {
    const std::string names[] = {P(work, "a.txt"), P(work, "img.bin"), P(work, "sub/c.txt"),
                                 P(work, "sub/deep/d.txt"), P(work, "new.txt")};
    const char* list[5];
    for (int i = 0; i < 5; ++i)
        list[i] = names[i].c_str();
    status.assign(5, 0);
    return SccQueryInfo(context, 5, list, status.data());
}

const WalkCase kCases[] = {
    {"get",
     [](const std::string& work) { platform::DeleteFileAt(P(work, "sub/c.txt")); },
     [](void* c, const std::string& work, std::vector<SccLong>&) {
         const std::string a = P(work, "a.txt"), s = P(work, "sub/c.txt");
         const char* names[] = {a.c_str(), s.c_str()};
         return SccGet(c, nullptr, 2, names, 0, nullptr);
     },
     {{"sub/c.txt", "c\n"}}},
    {"check-out",
     nullptr,
     [](void* c, const std::string& work, std::vector<SccLong>&) {
         const std::string a = P(work, "a.txt");
         const char* names[] = {a.c_str()};
         return SccCheckout(c, nullptr, 1, names, "", 0, nullptr);
     },
     {}},
    {"check-in",
     [](const std::string& work) {
         platform::SetAttributes(P(work, "a.txt"), 0);
         WriteFile(P(work, "a.txt"), "the user's edit\n");
     },
     [](void* c, const std::string& work, std::vector<SccLong>&) {
         const std::string a = P(work, "a.txt");
         const char* names[] = {a.c_str()};
         return SccCheckin(c, nullptr, 1, names, "an edit", 0, nullptr);
     },
     {}},
    {"add",
     [](const std::string& work) { WriteFile(P(work, "new.txt"), "brand new\n"); },
     [](void* c, const std::string& work, std::vector<SccLong>&) {
         const std::string n = P(work, "new.txt");
         const char* names[] = {n.c_str()};
         SccLong flags[] = {0};
         return SccAdd(c, nullptr, 1, names, "a new file", flags, nullptr);
     },
     {}},
    {"remove",
     nullptr,
     [](void* c, const std::string& work, std::vector<SccLong>&) {
         const std::string s = P(work, "sub/c.txt");
         const char* names[] = {s.c_str()};
         return SccRemove(c, nullptr, 1, names, "not needed", 0, nullptr);
     },
     {{"sub/c.txt", ""}}},
    {"rename",
     nullptr,
     [](void* c, const std::string& work, std::vector<SccLong>&) {
         return SccRename(c, nullptr, P(work, "a.txt").c_str(), P(work, "b.txt").c_str());
     },
     {{"a.txt", ""}, {"b.txt", "@a.txt"}}},
    {"status",
     [](const std::string& work) { WriteFile(P(work, "new.txt"), "brand new\n"); },
     Query,
     {}},
};

struct Outcome {
    SCCRTN result = SCC_OK;
    std::vector<SccLong> status;
    std::vector<SccLong> statusAfter; // every file's status once the command is done
    std::vector<std::string> pane;
    Tree before, after;
    platform::FaultReport report;
};

// A local repository, an isolated user whose settings run the real cvs, and a context bound
// to a working copy made afresh for each run.
class Walker {
public:
    Walker() {
        env_.Settings().SetCvsExePath(testing_support::CvsProgram());
        env_.Settings().SetUseComments(false);
        // A message box is a clear message too: what it says joins the pane's lines.
        env_.Host().UseScriptedAnswers(uifw::ScriptedAnswers(),
                                       [this](const std::string& text) { boxes_.push_back(text); });
        context_ = env_.MakeContext();
        context_->SetProjectModule(testing_support::CvsRepository::kModule);
    }
    ~Walker() {
        context_.reset();
        ClearEntriesCache();
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    bool Ready() const { return repo_->Ready(); }

    // nth 0: a clean run that counts the calls.
    Outcome RunOnce(const WalkCase& c, uint64_t run, platform::FaultKind kinds, uint64_t nth) {
        Outcome o;
        // A repository of the run's own too: a clean run commits.
        repo_ = std::make_unique<testing_support::CvsRepository>();
        work_ = repo_->WorkingCopy(sandbox_, "w" + std::to_string(run), repo_->LocalRoot());
        work_ = NormalizePath(work_);
        context_->SetCVSRoot(repo_->LocalRoot());
        context_->SetLocalPath(work_);
        ClearEntriesCache();
        if (c.prepare)
            c.prepare(work_);
        Snapshot(work_, "", o.before);
        env_.Pane().Clear();
        boxes_.clear();
        if (nth == 0)
            platform::CountFaultCalls(kinds);
        else
            platform::ArmFault(kinds, nth);
        o.result = c.run(context_.get(), work_, o.status);
        o.report = platform::StopFaults();
        platform::SetCurrentFolder(testing_support::BinDir());
        o.pane = env_.Pane().Lines();
        o.pane.insert(o.pane.end(), boxes_.begin(), boxes_.end());
        ClearEntriesCache();
        Query(context_.get(), work_, o.statusAfter);
        Snapshot(work_, "", o.after);
        ClearEntriesCache();
        return o;
    }
    const std::string& Work() const { return work_; }
    testing_support::CvsRepository& Repo() { return *repo_; }

private:
    testing_support::CvsSandbox sandbox_;
    std::unique_ptr<testing_support::CvsRepository> repo_ =
        std::make_unique<testing_support::CvsRepository>();
    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string work_;
    std::vector<std::string> boxes_;
};

class FaultWalkTest : public testing::TestWithParam<size_t> {};

bool Names(const std::vector<std::string>& pane, const std::string& leaf) {
    for (const std::string& line : pane)
        if (line.find(leaf) != std::string::npos)
            return true;
    return false;
}

// A status the provider could not obtain is answered as such: a failure too.
bool Failed(const Outcome& o) {
    return o.result < 0 || std::find(o.status.begin(), o.status.end(),
                                     SccLong{SCC_STATUS_INVALID}) != o.status.end();
}

// What the run did wrong, or empty.
std::string Judge(const WalkCase& c, const Outcome& clean, const Outcome& o,
                  const std::string& work, testing_support::CvsRepository& repo) {
    std::string problems;
    auto fault = [&](const std::string& text) { problems += "  " + text + "\n"; };
    const bool failed = Failed(o);
    if (!failed) {
        if (o.result != clean.result)
            fault("result " + std::to_string(o.result) + ", clean " + std::to_string(clean.result));
        if (o.status != clean.status)
            fault("a status differs from the clean run's");
        if (o.statusAfter != clean.statusAfter)
            fault("a file's status afterwards differs from the clean run's");
    } else {
        bool said = false;
        for (const std::string& line : o.pane)
            if (std::find(clean.pane.begin(), clean.pane.end(), line) == clean.pane.end())
                said = true;
        if (!said)
            fault("failed without a line of its own in the pane");
    }
    // The user's files: as before, as intended, or (removed or replaced) kept where the pane
    // says.
    for (const auto& [rel, content] : o.before) {
        if (IsAdministrative(rel) || rel.back() == '/')
            continue;
        auto now = o.after.find(rel);
        auto meant = c.intended.find(rel);
        if (now != o.after.end() && now->second == content)
            continue;
        if (meant != c.intended.end() && !failed) {
            if (meant->second.empty() && now == o.after.end())
                continue;
        }
        if (meant != c.intended.end() && now != o.after.end() && now->second == meant->second)
            continue;
        // Kept aside: another new file with the same content that the pane names.
        bool kept = false;
        for (const auto& [otherRel, other] : o.after)
            if (!o.before.count(otherRel) && other == content && Names(o.pane, Leaf(otherRel)))
                kept = true;
        if (!kept)
            fault(rel + (now == o.after.end() ? " is gone" : " changed") + " and kept nowhere");
    }
    // Nothing new but what was meant or what the pane names.
    for (const auto& [rel, content] : o.after) {
        if (o.before.count(rel) || rel.back() == '/')
            continue;
        if (c.intended.count(rel) && !failed)
            continue;
        if (c.intended.count(rel)) {
            const std::string& meant = c.intended.at(rel);
            if (meant.size() > 1 && meant[0] == '@' && o.before.count(meant.substr(1)) &&
                o.before.at(meant.substr(1)) == content)
                continue;
        }
        if (IsAdministrative(rel) && clean.after.count(rel))
            continue;
        // cvs keeps the message of a file scheduled for addition as CVS/NAME,t.
        const std::string leaf = Leaf(rel);
        if (IsAdministrative(rel) && leaf.size() > 2 &&
            leaf.compare(leaf.size() - 2, 2, ",t") == 0 &&
            Names(o.pane, leaf.substr(0, leaf.size() - 2)))
            continue;
        if (!Names(o.pane, Leaf(rel)))
            fault("left " + rel + " that the pane does not name");
    }
    // Administrative files whole: each Entries line is a file or a folder, Root and
    // Repository one line each, and cvs reads the working copy.
    for (const auto& [rel, content] : o.after) {
        const std::string leaf = Leaf(rel);
        if (!IsAdministrative(rel) || rel.find("/CVS/Base/") != std::string::npos)
            continue;
        if (leaf == "Root" || leaf == "Repository") {
            if (content.empty() || content.back() != '\n' ||
                content.find('\n') != content.size() - 1)
                fault(rel + " is not one line");
        } else if (leaf == "Entries" || leaf == "Entries.Log") {
            size_t start = 0;
            while (start < content.size()) {
                size_t end = content.find('\n', start);
                if (end == std::string::npos) {
                    fault(rel + " ends in the middle of a line");
                    break;
                }
                std::string line = content.substr(start, end - start);
                if (leaf == "Entries.Log" && line.size() > 2 && line[1] == ' ')
                    line = line.substr(2);
                if (!(line == "D" || (line.size() > 1 && (line[0] == '/' || line[0] == 'D'))))
                    fault(rel + " holds \"" + line + "\"");
                start = end + 1;
            }
        }
    }
    const testing_support::RunResult cvs = repo.Cvs({"-n", "-q", "update"}, work);
    if (cvs.status != 0)
        fault("cvs cannot read the working copy afterwards: " + cvs.err);
    return problems;
}

std::string PaneText(const std::vector<std::string>& pane) {
    std::string all;
    for (const std::string& line : pane)
        all += "  | " + line + "\n";
    return all;
}

// How many runs a walk makes: every call that changes something, and every third look-up
// (most of a command's calls ask what a path is, and cvs's own second's wait after it
// writes files makes each run cost about a second). MORVEK_FAULT_STRIDE=CHANGES,LOOKUPS sets
// them: "1,1" walks every call. The sanitizer build walks a stride of both.
struct Strides {
    uint64_t changes = 1, lookups = 3;
};
Strides WalkStrides() {
    Strides s;
#if defined(__SANITIZE_ADDRESS__)
    s = {4, 12};
#endif
    const std::string given = testing_support::GetEnv("MORVEK_FAULT_STRIDE");
    if (!given.empty()) {
        s.changes = std::max<uint64_t>(1, std::stoull(given));
        const std::string::size_type comma = given.find(',');
        s.lookups = comma == std::string::npos
                        ? s.changes
                        : std::max<uint64_t>(1, std::stoull(given.substr(comma + 1)));
    }
    return s;
}

struct Tally {
    uint64_t calls = 0, injected = 0, ok = 0, failures = 0;
};

void Walk(Walker& w, const WalkCase& c, platform::FaultKind kinds, uint64_t stride, Tally& t) {
    const Outcome clean = w.RunOnce(c, 0, kinds, 0);
    ASSERT_GE(clean.result, 0) << c.name << " fails without a fault:\n" << PaneText(clean.pane);
    t.calls += clean.report.calls;
    const bool verbose = !testing_support::GetEnv("MORVEK_FAULT_VERBOSE").empty();
    for (uint64_t n = 1; n <= clean.report.calls; n += stride) {
        const Outcome o = w.RunOnce(c, n, kinds, n);
        if (!o.report.fired)
            continue; // an earlier call took the run another way
        ++t.injected;
        (Failed(o) ? t.failures : t.ok)++;
        if (verbose)
            std::printf("%s %s -> %d\n%s", c.name, o.report.call.c_str(),
                        static_cast<int>(o.result), PaneText(o.pane).c_str());
        const std::string problems = Judge(c, clean, o, w.Work(), w.Repo());
        EXPECT_TRUE(problems.empty()) << c.name << ": failing " << o.report.call << ":\n"
                                      << problems << "pane:\n"
                                      << PaneText(o.pane);
    }
}

TEST_P(FaultWalkTest, EveryCallFailedInTurn) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "each run costs seconds under Wine; the Linux build walks the calls";
    const WalkCase& c = kCases[GetParam()];
    Walker w;
    if (!w.Ready())
        GTEST_SKIP() << w.Repo().Problem();
    const Strides strides = WalkStrides();
    const auto changes =
        static_cast<platform::FaultKind>(static_cast<unsigned>(platform::FaultKind::Any) &
                                         ~static_cast<unsigned>(platform::FaultKind::Lookup));
    Tally t;
    Walk(w, c, changes, strides.changes, t);
    Walk(w, c, platform::FaultKind::Lookup, strides.lookups, t);
    std::printf("fault walk %-10s calls %3llu  injected %3llu  ok %3llu  clear failure %3llu\n",
                c.name, static_cast<unsigned long long>(t.calls),
                static_cast<unsigned long long>(t.injected), static_cast<unsigned long long>(t.ok),
                static_cast<unsigned long long>(t.failures));
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultWalkTest,
                         testing::Range<size_t>(0, sizeof kCases / sizeof kCases[0]),
                         [](const testing::TestParamInfo<size_t>& info) {
                             std::string name = kCases[info.param].name;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

// The settings saved with each of the save's calls failing in turn, for a user whose store
// holds the first-run values: a save that says it succeeded stored every new value; one that
// failed says what it could not write; either way the store reads back whole, each value old
// or new, with nothing left beside it.
TEST(FaultWalkSettings, EveryCallOfASaveFailedInTurn) {
    struct Values {
        std::string diff, editor, root;
        bool exclusive = false;
        bool operator==(const Values& o) const {
            return diff == o.diff && editor == o.editor && root == o.root &&
                   exclusive == o.exclusive;
        }
    };
    auto read = [](CSccSettings& s) {
        return Values{s.GetDiffExe(), s.GetEditor(), s.GetRoot(0), s.GetExclusiveLock()};
    };
    const Values wanted{"newdiff %1 %2", "neweditor", ":local:/new/root", true};
    Tally t;
    uint64_t calls = 1;
    for (uint64_t n = 0; n <= calls; ++n) {
        testing_support::IsolatedUser user;
        std::unique_ptr<CSccSettings> settings = std::make_unique<CSccSettings>();
        settings->SetDiffExe(wanted.diff);
        settings->SetEditor(wanted.editor);
        settings->UpdateRootList(wanted.root, false);
        settings->SetExclusiveLock(wanted.exclusive);
        if (n == 0)
            platform::CountFaultCalls(platform::FaultKind::Any);
        else
            platform::ArmFault(platform::FaultKind::Any, n);
        const bool saved = settings->Save();
        const platform::FaultReport report = platform::StopFaults();
        if (n == 0) {
            ASSERT_TRUE(saved) << settings->SaveProblem();
            calls = t.calls = report.calls;
            continue;
        }
        if (!report.fired)
            continue;
        ++t.injected;
        (saved ? t.ok : t.failures)++;
        const std::string what = "failing " + report.call;
        EXPECT_EQ(saved, settings->SaveProblem().empty()) << what;
        settings.reset(); // its last save, at destruction, is not the one judged
        // The store's file (POSIX; Windows keeps the registry whole itself): nothing beside
        // it, and every line a line of the format.
        const std::string hive = platform::RegHiveFilePath(platform::RegHive::CurrentUser);
        if (!hive.empty()) {
            std::vector<std::string> beside;
            platform::ListFolderNames(hive.substr(0, hive.find_last_of('/')), beside);
            for (const std::string& name : beside)
                EXPECT_TRUE(name == "user.reg" || name == "user.reg.lock")
                    << what << ": left " << name;
            const std::string text = ReadFile(hive);
            EXPECT_EQ(text.rfind("REGEDIT4\n", 0), 0u) << what;
            size_t start = 0;
            while (start < text.size()) {
                const size_t end = text.find('\n', start);
                ASSERT_NE(end, std::string::npos) << what << ": the store ends mid-line";
                const std::string line = text.substr(start, end - start);
                EXPECT_TRUE(line.empty() || line == "REGEDIT4" || line[0] == '[' ||
                            line[0] == '"' || line[0] == '@')
                    << what << ": " << line;
                start = end + 1;
            }
        }
        // A save that said it succeeded stored every value (the destructor's save after it
        // may complete what a failed one could not, so that one is judged by its report).
        CSccSettings reread;
        if (saved) {
            EXPECT_TRUE(read(reread) == wanted) << what;
        }
    }
    std::printf("fault walk %-10s calls %3llu  injected %3llu  ok %3llu  clear failure %3llu\n",
                "settings", static_cast<unsigned long long>(t.calls),
                static_cast<unsigned long long>(t.injected), static_cast<unsigned long long>(t.ok),
                static_cast<unsigned long long>(t.failures));
}

} // namespace
