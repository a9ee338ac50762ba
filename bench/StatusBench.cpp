// bench/StatusBench.cpp - the status query on a working copy of 10,000 files in 100 folders,
// made once per run by the real cvs (an imported module, checked out), against the least any
// status query must do: read each Entries file once and look at each file once.
//
//   QueryWarm      SccQueryInfo of all files, the entries cache filled
//     ratio        query time / baseline time (goal: at most 2); cpu_ratio the same in
//                  processor time, which other work on the machine does not stretch
//     vs_cvs       "cvs -n -q update" time / query time (goal: 20 or more)
//   QueryCold      the first SccQueryInfo after SccUninitialize emptied the entries cache, on
//                  files the provider has already marked read-only
//     ratio        query time / baseline time (goal: at most 3)
//     vs_cvs       "cvs -n -q update" time / query time
//   CacheMemory    the heap the entries cache holds for the tree's Entries files
//     ratio        heap bytes / bytes of the Entries files (goal: at most 2)
//
// The baseline is plain C++ in this program: read each folder's CVS/Entries, stat each file
// it names.
#include "bench/BenchSupport.h"
#include "scc/Exports.h"
#include "settings/SccSettings.h"
#include "tests/support/HeapCount.h"
#include "ui/framework/HeadlessHost.h"
#include "workcopy/Entries.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using bench::Clock;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

int32_t DiscardText(char*, int32_t) {
    return 0;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds of processor time this process has used: the machine may be busy with others.
double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Time and processor time of the measured steps, summed over the iterations.
struct Spent {
    double wall = 0, cpu = 0;
    template <typename F> double Add(F step) {
        const double cpuStart = ProcessorSeconds();
        const double took = step();
        wall += took;
        cpu += ProcessorSeconds() - cpuStart;
        return took;
    }
};

// Settings and dialogs of the benchmark's own, and the working copy: made once per run.
struct Tree {
    Tree() {
        char folder[] = "/tmp/morvek-status-bench-XXXXXX";
        if (!mkdtemp(folder))
            throw std::runtime_error("no temporary folder");
        home = folder;
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("MORVEK_MACHINE_REGISTRY", (home + "/machine.reg").c_str(), 1);
        setenv("CVS_PASSFILE", (home + "/cvspass").c_str(), 1);
        unsetenv("CVSREAD");
        settings = std::make_unique<CSccSettings>();
        settings->SetHideStatusUI(true);
        SetProcessSettings(settings.get());

        root = home + "/repo";
        work = home + "/wc";
        const std::string source = home + "/src";
        mkdir(source.c_str(), 0777);
        for (int d = 0; d < kFolders; ++d) {
            char name[32];
            std::snprintf(name, sizeof name, "/d%02d", d);
            const std::string sub = source + name;
            mkdir(sub.c_str(), 0777);
            folders.push_back(work + name);
            for (int f = 0; f < kFilesPerFolder; ++f) {
                std::snprintf(name, sizeof name, "/file%03d.cpp", f);
                std::ofstream(sub + name) << "// file " << f << " of folder " << d << "\n";
                files.push_back(work + std::string(sub.substr(source.size())) + name);
            }
        }
        if (bench::RunQuietly({"cvs", "-d", root, "init"}, home) != 0 ||
            bench::RunQuietly({"cvs", "-d", root, "import", "-m", "bench", "bench", "V", "start"},
                              source) != 0 ||
            bench::RunQuietly({"cvs", "-d", root, "checkout", "-d", "wc", "bench"}, home) != 0)
            throw std::runtime_error("cvs could not make the working copy");
        for (const std::string& f : files)
            names.push_back(f.c_str());
        folders.push_back(work);
    }
    ~Tree() { bench::RunQuietly({"rm", "-rf", home}, "/"); }

    std::string home, root, work;
    std::vector<std::string> folders, files;
    std::vector<const char*> names;
    std::unique_ptr<CSccSettings> settings;
    uifw::HeadlessHost host{nullptr};
};

Tree& TheTree() {
    static Tree tree;
    return tree;
}

// A context with the working copy's project open, as a host holds one.
struct Session {
    Session() {
        Tree& tree = TheTree();
        char name[32], label[32], project[301] = "bench", aux[301] = "";
        SccLong caps, coLength, length;
        SccInitialize(&context, nullptr, "bench", name, &caps, label, &coLength, &length);
        std::snprintf(aux, sizeof aux, "%s", tree.root.c_str());
        if (SccOpenProject(context, nullptr, nullptr, project, tree.work.c_str(), aux, "",
                           &DiscardText, 0) != SCC_OK)
            throw std::runtime_error("the project did not open");
    }
    ~Session() { SccUninitialize(context); }
    // The seconds one query of every file takes; the answers are checked.
    double Query() {
        Tree& tree = TheTree();
        std::vector<SccLong> status(tree.names.size(), 0);
        const Clock::time_point start = Clock::now();
        SccQueryInfo(context, static_cast<SccLong>(tree.names.size()), tree.names.data(),
                     status.data());
        const double took = SecondsSince(start);
        for (SccLong s : status)
            if (s != SCC_STATUS_CONTROLLED)
                throw std::runtime_error("a file is not reported as controlled and unchanged");
        return took;
    }
    void* context = nullptr;
};

// The least a status query must do: each Entries file read once, each file looked at once.
double Baseline() {
    Tree& tree = TheTree();
    const Clock::time_point start = Clock::now();
    size_t seen = 0;
    for (const std::string& folder : tree.folders) {
        std::ifstream in(folder + "/CVS/Entries", std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 2 || line[0] != '/')
                continue;
            const std::string name = line.substr(1, line.find('/', 1) - 1);
            struct stat st;
            if (stat((folder + "/" + name).c_str(), &st) == 0)
                ++seen;
        }
    }
    const double took = SecondsSince(start);
    if (seen != tree.files.size())
        throw std::runtime_error("the baseline did not see every file");
    return took;
}

double CvsUpdate() {
    const Clock::time_point start = Clock::now();
    if (bench::RunQuietly({"cvs", "-f", "-n", "-q", "update"}, TheTree().work) != 0)
        throw std::runtime_error("cvs -n -q update failed");
    return SecondsSince(start);
}

// The files as the provider leaves them after a first query: marked read-only.
void MarkOnce() {
    static bool marked = false;
    if (!marked) {
        Session session;
        session.Query();
        marked = true;
    }
}

void Report(benchmark::State& state, const Spent& query, const Spent& base, double cvs) {
    const double n = static_cast<double>(state.iterations());
    state.counters["ratio"] = query.wall / base.wall;
    state.counters["cpu_ratio"] = query.cpu / base.cpu;
    state.counters["query_ms"] = query.wall * 1000 / n;
    state.counters["baseline_ms"] = base.wall * 1000 / n;
    state.counters["cvs_ms"] = cvs * 1000;
    state.counters["vs_cvs"] = cvs / (query.wall / n);
}

void QueryWarm(benchmark::State& state) {
    MarkOnce();
    Session session;
    session.Query(); // fills the entries cache
    const double cvs = CvsUpdate();
    Spent query, base;
    for (auto _ : state) {
        base.Add(Baseline);
        state.SetIterationTime(query.Add([&session] { return session.Query(); }));
    }
    Report(state, query, base, cvs);
}
BENCHMARK(QueryWarm)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void QueryCold(benchmark::State& state) {
    MarkOnce();
    const double cvs = CvsUpdate();
    Spent query, base;
    for (auto _ : state) {
        { Session closed; } // SccUninitialize empties the entries cache
        Session session;
        base.Add(Baseline);
        state.SetIterationTime(query.Add([&session] { return session.Query(); }));
    }
    Report(state, query, base, cvs);
}
BENCHMARK(QueryCold)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void CacheMemory(benchmark::State& state) {
    MarkOnce();
    Tree& tree = TheTree();
    double held = 0, files = 0;
    for (auto _ : state) {
        Session session;
        ClearEntriesCache();
        const size_t before = testing_support::HeapInUse();
        session.Query();
        held = static_cast<double>(testing_support::HeapInUse() - before);
        files = 0;
        for (const std::string& folder : tree.folders) {
            struct stat st;
            if (stat((folder + "/CVS/Entries").c_str(), &st) == 0)
                files += static_cast<double>(st.st_size);
        }
        if (EntriesCache::Instance().Size() != tree.folders.size())
            throw std::runtime_error("the cache does not hold every folder");
    }
    state.counters["ratio"] = held / files;
    state.counters["cache_KB"] = held / 1024;
    state.counters["entries_KB"] = files / 1024;
}
BENCHMARK(CacheMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
