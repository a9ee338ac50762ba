// bench/CvsGlueBench.cpp - the cost of running cvs through the client library.
//
// The stand-in for cvs (fakecvs) writes N bytes to standard output. The baseline reads them
// with the plainest loop there is: fork, exec, read a pipe until its end. The library run
// goes through dllglue_main with console callbacks that only look at each chunk. Each
// iteration does both and reports:
//   ratio        library time / baseline time for the same output
//   lib_ms_MB    library milliseconds per megabyte (constant across sizes = linear time)
//   base_ms_MB   baseline milliseconds per megabyte
//   max_chunk_KB the largest chunk the callback saw: what the library holds at a time
//                (its memory does not grow with the output)
// and checks that every byte arrived, in order. The provider's own layer is measured in
// ContextBench.cpp.
//
// AbortToReturn measures one abort against children that resist it: a child that has closed
// its output and ignores SIGTERM ("deaf"), and one whose child ignores SIGTERM in a session
// of its own and keeps the output open ("linger session"). It reports
//   abort_ms     milliseconds from dllglue_abort to dllglue_main's return
//   bound_ratio  abort_ms against the goal of one second (below 1 meets it)
//   left         processes of the command still running after the return (must be 0)
#include "bench/BenchSupport.h"
#include "cvsglue/CvsGlue.h"
#include "platform/DynamicLibrary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using bench::BinDir;
using bench::Checker;
using bench::Clock;

struct Library {
    Library() {
        handle = platform::OpenLibrary(BinDir() + "/" + platform::LibraryFileName("cvs2ntlib"));
        if (!handle)
            throw std::runtime_error("cannot load the client library");
        main = reinterpret_cast<DllGlueMainFn>(platform::FindSymbol(handle, "dllglue_main"));
        abort = reinterpret_cast<DllGlueAbortFn>(platform::FindSymbol(handle, "dllglue_abort"));
        reinterpret_cast<DllGlueSetConsoleFn>(
            platform::FindSymbol(handle, "dllglue_setconsoleout"))(
            [](const char* text, size_t length, void* user, void*) {
                static_cast<Checker*>(user)->Feed(text, length);
                return 0;
            });
        reinterpret_cast<DllGlueSetConsoleFn>(platform::FindSymbol(
            handle, "dllglue_setconsoleerr"))([](const char*, size_t, void*, void*) { return 0; });
        reinterpret_cast<DllGlueSetGetEnvFn>(platform::FindSymbol(handle, "dllglue_setgetenv"))(
            [](const char*, void*) -> const char* { return nullptr; });
    }
    void* handle = nullptr;
    DllGlueMainFn main = nullptr;
    DllGlueAbortFn abort = nullptr;
};

double ThroughLibrary(Library& library, const std::string& program, uint64_t size, Checker& check) {
    const std::string count = std::to_string(size);
    const char* argv[] = {"bytes", count.c_str()};
    auto start = Clock::now();
    if (library.main(program.c_str(), 2, argv, &check) != 0)
        throw std::runtime_error("the library run failed");
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void LibraryOverPipe(benchmark::State& state) {
    static Library library;
    const std::string program = BinDir() + "/fakecvs";
    const uint64_t size = static_cast<uint64_t>(state.range(0)) << 20;
    double base = 0, lib = 0;
    size_t maxChunk = 0;
    for (auto _ : state) {
        Checker pipeCheck, libCheck;
        const double b = bench::PlainPipe(program, {"bytes", std::to_string(size)}, pipeCheck);
        const double l = ThroughLibrary(library, program, size, libCheck);
        if (pipeCheck.count != size || libCheck.count != size || libCheck.wrong ||
            pipeCheck.wrong) {
            state.SkipWithError("output lost, added or out of order");
            return;
        }
        base += b;
        lib += l;
        maxChunk = std::max(maxChunk, libCheck.maxChunk);
        state.SetIterationTime(b + l);
    }
    const double megabytes = static_cast<double>(size) / (1 << 20) * state.iterations();
    state.counters["ratio"] = lib / base;
    state.counters["lib_ms_MB"] = lib * 1000 / megabytes;
    state.counters["base_ms_MB"] = base * 1000 / megabytes;
    state.counters["max_chunk_KB"] = static_cast<double>(maxChunk) / 1024;
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
}
BENCHMARK(LibraryOverPipe)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

bool Alive(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::string::size_type close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z';
}

void AbortToReturn(benchmark::State& state) {
    static Library library;
    const bool deaf = state.range(0) == 0;
    state.SetLabel(deaf ? "deaf" : "linger session");
    const std::string pidFile = "/tmp/morvek-abort-bench-" + std::to_string(::getpid()) + ".pids";
    double total = 0;
    int left = 0;
    for (auto _ : state) {
        std::remove(pidFile.c_str());
        std::vector<std::string> words =
            deaf ? std::vector<std::string>{"deaf", "60", pidFile}
                 : std::vector<std::string>{"linger", "session", "60", pidFile};
        std::vector<const char*> argv;
        for (const std::string& w : words)
            argv.push_back(w.c_str());
        Checker check;
        Clock::time_point returned;
        int rc = 0;
        std::thread runner([&] {
            rc = library.main(bench::FakeCvs().c_str(), static_cast<int>(argv.size()), argv.data(),
                              &check);
            returned = Clock::now();
        });
        std::vector<long> ids;
        for (int i = 0; i < 2000 && ids.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            std::ifstream in(pidFile);
            for (long id = 0; in >> id;)
                ids.push_back(id);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the library now waits
        const Clock::time_point aborted = Clock::now();
        library.abort(&check);
        runner.join();
        if (rc != DLLGLUE_ABORTED) {
            state.SkipWithError("the run did not report the abort");
            return;
        }
        total += std::chrono::duration<double>(returned - aborted).count();
        state.SetIterationTime(std::chrono::duration<double>(returned - aborted).count());
        for (long id : ids)
            if (Alive(id)) {
                ++left;
                ::kill(static_cast<pid_t>(id), SIGKILL);
            }
    }
    std::remove(pidFile.c_str());
    const double ms = total * 1000 / static_cast<double>(state.iterations());
    state.counters["abort_ms"] = ms;
    state.counters["bound_ratio"] = ms / 1000;
    state.counters["left"] = left;
}
BENCHMARK(AbortToReturn)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
