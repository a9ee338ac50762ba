// bench/ContextBench.cpp - the cost of the provider's own layer: one Run of the command
// context (global options, environment, echo, the client library, captures, the line-by-line
// route to the output pane) against starting the same program directly.
//
//   RunOverhead     a command that prints nothing: ratio = Run time / direct start time
//   RunOutput/N     N megabytes of output through Run; the output capture holds all of it
//                   (by design: the operations parse it), checked byte for byte
//     ratio         Run time / plain pipe time for the same output
//     run_ms_MB     Run milliseconds per megabyte (constant across sizes = linear time)
//     capture_MB    what the capture holds afterwards (= N: memory linear in the output)
//   AbortOfAProcessTree  a command that started a child of its own, aborted from another
//                   thread once its first line has arrived (as the Cancel button does)
//     abort_ms      from the abort to Run's return, on average; worst_ms the slowest
//     of_goal       worst_ms against the goal of one second (at most 1)
//   CancelOfAHangingServer  the real cvs on an :ext: root whose transport never answers;
//                   the progress window's Cancel clicked on its own thread (the thread that
//                   runs the command serves it), once the transport has started
//     cancel_ms     from asking for the click to Run's return, on average; worst_ms, of_goal
//   RunMemory/N/S   N megabytes through Run in one of three shapes: S=0 lines on standard
//                   output (a log), S=1 no line feed at all (a binary file's content),
//                   S=2 lines on standard error (a trace); the heap is counted by
//                   tests/support/HeapCount.cpp
//     run_peak      the most the heap held during Run, above what it held before, per
//                   byte of output
//     read_peak     the same until the caller holds its copy of the output (GetOutput),
//                   as an operation that parses it does
#include "bench/BenchSupport.h"
#include "engine/CVSArgs.h"
#include "engine/CVSContext.h"
#include "engine/DlgStatus.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "settings/SccSettings.h"
#include "tests/support/HeapCount.h"
#include "ui/framework/HeadlessHost.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using bench::Clock;

int32_t DiscardText(char*, int32_t) {
    return 0;
}

// Settings and dialogs of the benchmark's own: nothing of the real user's is read or written.
struct Environment {
    Environment() {
        char folder[] = "/tmp/morvek-bench-XXXXXX";
        home = mkdtemp(folder) ? folder : "/tmp";
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("MORVEK_MACHINE_REGISTRY", (home + "/machine.reg").c_str(), 1);
        settings = std::make_unique<CSccSettings>();
        settings->SetCvsExePath(bench::FakeCvs());
        settings->SetHideStatusUI(true);
        SetProcessSettings(settings.get());
    }
    std::string home;
    std::unique_ptr<CSccSettings> settings;
    uifw::HeadlessHost host{nullptr};
};

Environment& Env() {
    static Environment environment;
    return environment;
}

double TimedRun(CCVSContext& context, std::initializer_list<const char*> items) {
    CCVSArgs args;
    for (const char* item : items)
        args.Add(item);
    auto start = Clock::now();
    if (!context.Run(args))
        throw std::runtime_error("the run failed");
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void RunOverhead(benchmark::State& state) {
    Env();
    CCVSContext context;
    context.SetTextOut(&DiscardText);
    double base = 0, run = 0;
    for (auto _ : state) {
        bench::Checker none;
        const double b = bench::PlainPipe(bench::FakeCvs(), {"exit", "0"}, none);
        const double r = TimedRun(context, {"exit", "0"});
        base += b;
        run += r;
        state.SetIterationTime(b + r);
    }
    state.counters["ratio"] = run / base;
    state.counters["run_ms"] = run * 1000 / state.iterations();
    state.counters["direct_ms"] = base * 1000 / state.iterations();
}
BENCHMARK(RunOverhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

std::atomic<bool> g_started{false};

int32_t WatchForStart(char* text, int32_t) {
    if (std::strncmp(text, "started", 7) == 0)
        g_started = true;
    return 0;
}

void AbortOfAProcessTree(benchmark::State& state) {
    Env();
    const std::string pids = Env().home + "/pids";
    double total = 0, worst = 0;
    for (auto _ : state) {
        CCVSContext context;
        context.SetTextOut(&WatchForStart);
        g_started = false;
        Clock::time_point abortedAt;
        std::thread aborter([&] {
            while (!g_started)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            abortedAt = Clock::now();
            context.Abort();
        });
        CCVSArgs args;
        for (const char* item : {"tree", "60", pids.c_str()})
            args.Add(item);
        const bool ended = context.Run(args);
        const Clock::time_point returned = Clock::now();
        g_started = true; // a command that never started must not keep the aborter waiting
        aborter.join();
        if (ended) {
            state.SkipWithError("the command ran to its end");
            return;
        }
        const double took = std::chrono::duration<double>(returned - abortedAt).count();
        total += took;
        worst = std::max(worst, took);
        state.SetIterationTime(took);
    }
    state.counters["abort_ms"] = total * 1000 / state.iterations();
    state.counters["worst_ms"] = worst * 1000;
    state.counters["of_goal"] = worst / 1.0;
}
BENCHMARK(AbortOfAProcessTree)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void CancelOfAHangingServer(benchmark::State& state) {
    Env();
    const std::string cvs = platform::FindProgramOnPath("cvs");
    if (cvs.empty()) {
        state.SkipWithError("no cvs on the PATH");
        return;
    }
    const std::string folder = Env().home + "/hang";
    platform::MakeFolder(folder);
    std::ofstream(folder + "/hang.sh") << "echo started > \"$0.started\"\nexec sleep 30\n";
    setenv("CVS_RSH", "/bin/sh", 1); // "sh hang.sh cvs server" in the command's folder
    Env().settings->SetCvsExePath(cvs);
    Env().settings->SetHideStatusUI(false);
    double total = 0, worst = 0;
    for (auto _ : state) {
        platform::DeleteFileAt(folder + "/hang.sh.started");
        CCVSContext context;
        context.SetTextOut(&DiscardText);
        context.SetCVSRoot(":ext:hang.sh:/nowhere");
        context.SetActivity("Listing ...");
        CDlgStatus* status = context.GetProgressWindow();
        std::atomic<bool> over{false};
        Clock::time_point askedAt;
        std::thread user([&] {
            while (!over && !platform::Exists(folder + "/hang.sh.started"))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            askedAt = Clock::now();
            context.RunOnContextThread(
                [&] { Env().host.DriverFor(*status).Click(CDlgStatus::kIdcCancel); });
        });
        CCVSArgs args;
        args.Add("ls");
        const bool ended = context.RunInFolder(folder, args);
        const Clock::time_point returned = Clock::now();
        over = true;
        user.join();
        if (ended || !status || !status->CancelRequested()) {
            state.SkipWithError("the command was not cancelled");
            break;
        }
        const double took = std::chrono::duration<double>(returned - askedAt).count();
        total += took;
        worst = std::max(worst, took);
        state.SetIterationTime(took);
    }
    Env().settings->SetHideStatusUI(true);
    Env().settings->SetCvsExePath(bench::FakeCvs());
    unsetenv("CVS_RSH");
    state.counters["cancel_ms"] = total * 1000 / state.iterations();
    state.counters["worst_ms"] = worst * 1000;
    state.counters["of_goal"] = worst / 1.0;
}
BENCHMARK(CancelOfAHangingServer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void RunOutput(benchmark::State& state) {
    Env();
    const uint64_t size = static_cast<uint64_t>(state.range(0)) << 20;
    const std::string count = std::to_string(size);
    double base = 0, run = 0, captured = 0;
    for (auto _ : state) {
        CCVSContext context;
        context.SetTextOut(&DiscardText);
        bench::Checker pipeCheck, runCheck;
        const double b = bench::PlainPipe(bench::FakeCvs(), {"bytes", count}, pipeCheck);
        const double r = TimedRun(context, {"bytes", count.c_str()});
        const std::string output = context.GetOutput();
        runCheck.Feed(output.data(), output.size());
        if (runCheck.count != size || runCheck.wrong || pipeCheck.count != size) {
            state.SkipWithError("output lost, added or out of order");
            return;
        }
        base += b;
        run += r;
        captured = static_cast<double>(output.size()) / (1 << 20);
        state.SetIterationTime(b + r);
    }
    const double megabytes = static_cast<double>(size) / (1 << 20) * state.iterations();
    state.counters["ratio"] = run / base;
    state.counters["run_ms_MB"] = run * 1000 / megabytes;
    state.counters["base_ms_MB"] = base * 1000 / megabytes;
    state.counters["capture_MB"] = captured;
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
}
BENCHMARK(RunOutput)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void RunMemory(benchmark::State& state) {
    Env();
    const uint64_t size = static_cast<uint64_t>(state.range(0)) << 20;
    const std::string count = std::to_string(size);
    const int shape = static_cast<int>(state.range(1));
    double runPeak = 0, readPeak = 0;
    for (auto _ : state) {
        CCVSContext context;
        context.SetTextOut(&DiscardText);
        CCVSArgs args;
        for (const char* item :
             {shape == 1 ? "line" : "bytes", count.c_str(), shape == 2 ? "err" : "out"})
            args.Add(item);
        const size_t before = testing_support::HeapInUse();
        testing_support::ResetHeapPeak();
        if (!context.Run(args)) {
            state.SkipWithError("the run failed");
            return;
        }
        runPeak =
            static_cast<double>(testing_support::HeapPeak() - before) / static_cast<double>(size);
        const std::string output = shape == 2 ? context.GetErrorText() : context.GetOutput();
        readPeak =
            static_cast<double>(testing_support::HeapPeak() - before) / static_cast<double>(size);
        if (output.size() < size) {
            state.SkipWithError("output lost");
            return;
        }
    }
    state.counters["run_peak"] = runPeak;
    state.counters["read_peak"] = readPeak;
}
BENCHMARK(RunMemory)
    ->Args({50, 0})
    ->Args({50, 1})
    ->Args({50, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
