// tests/support/TraceBlocks.h - pieces of the provider's call trace as tests expect them, byte
// for byte: the banner, pointers as "%08x" shows them, and the blocks that do not vary.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace trace_test {

const std::string kBanner = "================================================\n";

// A value or a pointer as "%08x" traces it (a pointer's low 32 bits).
inline std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}
inline std::string Hex(const void* p) {
    return Hex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)));
}

// SccInitialize called by caller, answering with the context.
inline std::string InitializeBlock(const std::string& caller, const void* context) {
    return kBanner + "SccInitialize\n" + kBanner + "INPUT:\ncaller         '" + caller +
           "'\nOUTPUT:\ncontextp       " + Hex(context) +
           "\n"
           "caps           c7abfaff\n"
           "co_comment_len 8192\n"
           "comment_len    8192\n"
           "name           'Morvek'\n"
           "path           ''\n"
           "RESULT: 00000000 (SCC_OK)\n";
}

const std::string kUninitializeBlock =
    kBanner + "SccUninitialize\n" + kBanner + "RESULT: 00000000 (SCC_OK)\n";

} // namespace trace_test
