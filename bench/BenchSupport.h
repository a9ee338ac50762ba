// bench/BenchSupport.h - what the benchmarks share: where the programs are, the byte
// pattern of the stand-in for cvs, and the plainest way to run a program (the baseline).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

std::string BinDir();
std::string FakeCvs();

// Checks the fakecvs "bytes" pattern (byte i is i % 251) as the data streams past.
struct Checker {
    uint64_t count = 0;
    uint64_t wrong = 0;
    size_t maxChunk = 0;
    void Feed(const char* data, size_t size);
};

// fork, exec, read standard output until its end, wait: the seconds it took.
double PlainPipe(const std::string& program, const std::vector<std::string>& args, Checker& check);

// Runs a program found on the PATH in a folder, its output thrown away: its exit status, or
// -1 when it could not be run.
int RunQuietly(const std::vector<std::string>& argv, const std::string& folder);

} // namespace bench
