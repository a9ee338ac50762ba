// scc/Trace.h - the call trace: every export appends a block describing the call.
//
// The trace path is decided once when the library starts and is empty while tracing is off.
// Each piece opens the file, appends, and closes it again, so the file is complete after
// every piece. When the file cannot be opened, one message box says so and tracing stops for
// the rest of the process. No lock orders pieces of calls made at once on different
// threads; they may interleave.
#pragma once

#include <cstdint>
#include <string>

// Appends one printf-formatted piece; no newline is added.
void TraceLog(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;

void SetTracePath(const std::string& path);
std::string GetTracePath();
bool IsTracing();

// Pointers appear in the trace by their low 32 bits, as "%08x" shows them.
inline uint32_t TraceLow32(const void* p) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}
// A C string for a "%s" piece; a null pointer shows as "(null)".
inline const char* TraceText(const char* s) {
    return s ? s : "(null)";
}

// The opening of a block: banner, the export's name piece (as given, with or without its
// newline), banner.
void TraceBegin(const char* namePiece);
// "RESULT: %08x (%s)\n" with the code and its name.
void TraceResult(int32_t result);
