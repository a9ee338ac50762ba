// bench/LogParseBench.cpp - reading the text of "cvs log" into revisions (ParseLog), against
// reading the same bytes line by line and doing nothing with them.
//
//   ParseLog/N   a log of N revisions (about 250 bytes each: a date line, every third with
//                branches, one to three message lines), parsed in memory
//     MB_s       megabytes of log text parsed per second (goal: at least 100)
//     ratio      parse time / time of the plain line scan over the same text
//     ns_rev     nanoseconds per revision (constant across N = linear time)
#include "bench/BenchSupport.h"
#include "operations/CVSLogEntry.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using bench::Clock;

std::string MakeLog(int revisions) {
    std::string text = "\nRCS file: /repo/mod/big.c,v\nWorking file: big.c\nhead: 1." +
                       std::to_string(revisions) +
                       "\nbranch:\nlocks: strict\naccess list:\nsymbolic names:\n"
                       "\tREL_1: 1.2\nkeyword substitution: kv\ntotal revisions: " +
                       std::to_string(revisions) +
                       ";\tselected revisions: " + std::to_string(revisions) + "\ndescription:\n";
    for (int r = revisions; r >= 1; --r) {
        text += "----------------------------\nrevision 1." + std::to_string(r) +
                "\ndate: 2026-12-10 02:21:35 +0000;  author: developer;  state: Exp;  "
                "lines: +12 -3;  commitid: 1006B1A0CAF1CFE0036;\n";
        if (r % 3 == 0)
            text += "branches:  1." + std::to_string(r) + ".2;\n";
        for (int line = 0; line <= r % 3; ++line)
            text += "Changed the parser of the module so that it reads line " +
                    std::to_string(line) + ".\n";
    }
    return text + "=============================================================================\n";
}

// The baseline: every line of the text found, and nothing else done.
size_t ScanLines(const std::string& text) {
    size_t lines = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
        ++lines;
        p = nl ? static_cast<const char*>(nl) + 1 : end;
    }
    return lines;
}

void ParseLogBench(benchmark::State& state) {
    const int revisions = static_cast<int>(state.range(0));
    const std::string text = MakeLog(revisions);
    double parse = 0, scan = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        benchmark::DoNotOptimize(ScanLines(text));
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        start = Clock::now();
        std::vector<CCVSLogEntry> entries = ParseLog(text, "1.2");
        const double p = std::chrono::duration<double>(Clock::now() - start).count();
        if (static_cast<int>(entries.size()) != revisions || !entries.front().isHead) {
            state.SkipWithError("revisions lost or misread");
            return;
        }
        benchmark::DoNotOptimize(entries.data());
        scan += s;
        parse += p;
        state.SetIterationTime(p);
    }
    const double megabytes = static_cast<double>(text.size()) / (1 << 20) * state.iterations();
    state.counters["MB_s"] = megabytes / parse;
    state.counters["ratio"] = parse / scan;
    state.counters["ns_rev"] = parse * 1e9 / (static_cast<double>(revisions) * state.iterations());
    state.counters["log_MB"] = static_cast<double>(text.size()) / (1 << 20);
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}
BENCHMARK(ParseLogBench)
    ->Name("ParseLog")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
