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
#include "bench/BenchSupport.h"
#include "cvsglue/CvsGlue.h"
#include "platform/DynamicLibrary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

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

} // namespace

BENCHMARK_MAIN();
