// platform/FaultInjection.h - making the Nth call of the platform layer fail, for tests that
// show what every floor above does when the system refuses a file, folder, registry, process
// or library call.
//
// Every such call of this layer (POSIX and Windows alike) first asks FaultDue. Disarmed, the
// question is one relaxed atomic load, and it is compiled into every build: the program that
// is tested is the program that ships. Armed, the Nth call of the kinds asked for fails as the
// system fails it: errno (POSIX) or the last error (Windows) is set to what the real failure
// sets (EIO / ERROR_WRITE_FAULT for a write, EACCES / ERROR_ACCESS_DENIED for an open or a
// look-up), and the call returns its usual failure (false, none, kRegWriteFault, a child that
// does not start, a library that does not load). Only that one call fails; the calls after it
// succeed again, as after a transient fault.
//
// Calls are counted per thread: the thread that arms (or starts counting) is the only one
// whose calls count and fail. A command runs its platform calls on its own thread in a fixed
// order, so the Nth call is the same call on every run; the host's other threads (workers,
// the message loop, a test's helpers) call in an order that varies from run to run, and a
// process-wide count would hit a different call each time.
//
// Each module that links this layer (the provider, the client library, the host tool) counts
// on its own. A program a test starts is armed through the environment: MORVEK_FAULT=KIND:N
// (KIND one of file, folder, registry, process, library, lookup, any) is read once, when the module
// loads, and arms the thread that loads it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace platform {

enum class FaultKind : unsigned {
    File = 1,     // a file's attributes and times set; copy, move, delete, read and write whole
    Folder = 2,   // list, make, remove, enter
    Registry = 4, // open, create, query, set, delete, flush
    Process = 8,  // start a child or a program, list or end processes
    Library = 16, // load a module, find an entry point
    Lookup = 32,  // what a path is: exists, folder, attributes, times (a failed stat)
    Any = 63,
};

namespace fault_detail {
extern std::atomic<bool> active;
bool Due(FaultKind kind, const char* call, const std::string& subject);
} // namespace fault_detail

// Whether this call is the one to fail. call and subject name it for the report.
inline bool FaultDue(FaultKind kind, const char* call, const std::string& subject = {}) {
    return fault_detail::active.load(std::memory_order_relaxed) &&
           fault_detail::Due(kind, call, subject);
}

// Counts this thread's calls of the kinds from now on, failing none.
void CountFaultCalls(FaultKind kinds);
// Fails this thread's nth call (from 1) of the kinds, counting from now.
void ArmFault(FaultKind kinds, uint64_t nth);

struct FaultReport {
    uint64_t calls = 0; // calls of the kinds counted
    bool fired = false; // the armed call came and failed
    std::string call;   // which one: "MoveFileTo /w/a.txt"
};
// Ends the count or the arming on this thread and tells what happened.
FaultReport StopFaults();

// "file:3", "lookup:2", "any:12", ...: what MORVEK_FAULT holds; false when the text is not of that
// form.
bool ParseFaultSetting(const std::string& text, FaultKind& kinds, uint64_t& nth);

} // namespace platform
