// scc/ExportArgs.h - reading the host's arguments without trusting them: a null array, a
// null name or a null pointer reads as empty or zero, so a careless caller cannot crash the
// host.
#pragma once

#include "scc/SccApi.h"

#include <cstdint>

// The name at index i of a list argument; "" for a null array or a null name.
inline const char* NameAt(const char** names, SccLong i) {
    return names && names[i] ? names[i] : "";
}

// The value an in/out pointer holds on entry, for the trace; a null pointer shows as 0.
inline uint32_t Pointee(const SccLong* p) {
    return p ? static_cast<uint32_t>(*p) : 0;
}
