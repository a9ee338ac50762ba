// fuzz/FuzzInput.h - fuzz targets for every reader of text that comes from outside: the
// working copy's administrative files, cvs output, the settings file, the command lines the
// client library rewrites and the paths the IDE hands in.
//
// Each target is one LLVMFuzzerTestOneInput. The fuzz preset links it with libFuzzer; every
// other preset links the same function into a test program that replays the target's corpus
// (fuzz/corpus/TARGET), so a case once found stays a test on every platform. A target checks
// what must hold whatever the input (FUZZ_CHECK), not only that nothing crashes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Ends the process with the failed condition named: libFuzzer keeps the input as a finding,
// and the replay test of that input fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzzing {

inline std::string_view AsText(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input cut at NUL bytes into at most maxParts parts (the last keeps any further NULs),
// so that one corpus file can hold several texts and stay readable.
inline std::vector<std::string> SplitAtNul(std::string_view text, size_t maxParts) {
    std::vector<std::string> parts;
    while (parts.size() + 1 < maxParts) {
        const std::string_view::size_type nul = text.find('\0');
        if (nul == std::string_view::npos)
            break;
        parts.emplace_back(text.substr(0, nul));
        text.remove_prefix(nul + 1);
    }
    parts.emplace_back(text);
    return parts;
}

// Part i, or an empty text when there are fewer.
inline std::string PartOr(const std::vector<std::string>& parts, size_t i,
                          const std::string& fallback = std::string()) {
    return i < parts.size() ? parts[i] : fallback;
}

// Without the white space at both ends, as the provider trims texts it shows.
inline std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const std::string::size_type first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace fuzzing
