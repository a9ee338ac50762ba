// scc/SccNames.h - the names by which the trace shows result codes, commands and status.
#pragma once

#include <cstdint>
#include <string>

// The result table's name for a code, or "?".
const char* SccResultName(int32_t code);
// "SCC_command_get" ... "SCC_command_option" for 0 to 10, or "?".
const char* SccCommandName(int32_t code);
// -1 "SCC_STATUS_INVALID", 0 "SCC_STATUS_NOTCONTROLLED"; otherwise the name of every set bit
// that has one, in table order, each followed by ",". 0x0010 has no name: it gives "".
std::string SccStatusNames(int32_t status);

struct SccNamedValue {
    int32_t value;
    const char* name;
};
// The tables themselves, in search order (for tests and for code that lists them).
const SccNamedValue* SccResultTable(size_t& count);
const SccNamedValue* SccStatusBitTable(size_t& count);
