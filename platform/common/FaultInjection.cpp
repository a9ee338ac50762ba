// platform/common/FaultInjection.cpp - the count behind FaultDue.
#include "platform/FaultInjection.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace fault_detail {
std::atomic<bool> active{false};
} // namespace fault_detail

namespace {

// Plain values only: a thread_local with a destructor would keep the module loaded after
// its host unloads it.
struct ThreadFaults {
    bool on = false;
    unsigned kinds = 0;
    uint64_t nth = 0; // 0: count only
    uint64_t calls = 0;
    bool fired = false;
};
thread_local ThreadFaults t_faults;
// Which call failed, cut at the buffer's end. Not on the heap: a module unloaded after it
// failed a call would leave that behind, unreachable.
thread_local char t_firedCall[1024];
std::atomic<int> g_threadsOn{0};

void Begin(FaultKind kinds, uint64_t nth) {
    if (!t_faults.on)
        ++g_threadsOn;
    t_faults = ThreadFaults{true, static_cast<unsigned>(kinds), nth, 0, false};
    t_firedCall[0] = '\0';
    fault_detail::active.store(true, std::memory_order_relaxed);
}

// MORVEK_FAULT arms the thread that loads the module.
const bool g_armedFromEnvironment = [] {
    const char* text = std::getenv("MORVEK_FAULT");
    FaultKind kinds;
    uint64_t nth = 0;
    if (!text || !ParseFaultSetting(text, kinds, nth))
        return false;
    Begin(kinds, nth);
    return true;
}();

} // namespace

bool fault_detail::Due(FaultKind kind, const char* call, const std::string& subject) {
    ThreadFaults& f = t_faults;
    if (!f.on || (f.kinds & static_cast<unsigned>(kind)) == 0)
        return false;
    if (++f.calls != f.nth)
        return false;
    f.fired = true;
    const std::string text = subject.empty() ? call : std::string(call) + " " + subject;
    text.copy(t_firedCall, sizeof t_firedCall - 1);
    t_firedCall[std::min(text.size(), sizeof t_firedCall - 1)] = '\0';
    return true;
}

void CountFaultCalls(FaultKind kinds) {
    Begin(kinds, 0);
}

void ArmFault(FaultKind kinds, uint64_t nth) {
    Begin(kinds, nth);
}

FaultReport StopFaults() {
    FaultReport report;
    if (!t_faults.on)
        return report;
    report.calls = t_faults.calls;
    report.fired = t_faults.fired;
    if (t_faults.fired)
        report.call = t_firedCall;
    t_faults = ThreadFaults{};
    if (--g_threadsOn == 0)
        fault_detail::active.store(false, std::memory_order_relaxed);
    return report;
}

bool ParseFaultSetting(const std::string& text, FaultKind& kinds, uint64_t& nth) {
    static const struct {
        const char* name;
        FaultKind kind;
    } kNames[] = {{"file", FaultKind::File},
                  {"folder", FaultKind::Folder},
                  {"registry", FaultKind::Registry},
                  {"process", FaultKind::Process},
                  {"library", FaultKind::Library},
                  {"lookup", FaultKind::Lookup},
                  {"any", FaultKind::Any}};
    const std::string::size_type colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size())
        return false;
    const std::string name = text.substr(0, colon), number = text.substr(colon + 1);
    uint64_t n = 0;
    for (char c : number) {
        if (c < '0' || c > '9' || n > (UINT64_MAX - 9) / 10)
            return false;
        n = n * 10 + static_cast<uint64_t>(c - '0');
    }
    if (n == 0)
        return false;
    for (const auto& entry : kNames) {
        if (name == entry.name) {
            kinds = entry.kind;
            nth = n;
            return true;
        }
    }
    return false;
}

} // namespace platform
