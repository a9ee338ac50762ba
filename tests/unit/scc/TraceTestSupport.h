// tests/unit/scc/TraceTestSupport.h - what the tests of the exports share: a trace file of
// the test's own and the pieces of the blocks they compare byte for byte.
#pragma once

#include "scc/Trace.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TraceBlocks.h"

#include <string>

namespace trace_test {

// The trace goes to a file of the test's own while the object lives.
class ScopedTrace {
public:
    ScopedTrace() { SetTracePath(dir_ / "trace.log"); }
    ~ScopedTrace() { SetTracePath(""); }
    // The trace written since the last call, forgotten, so that each check sees its blocks.
    std::string Take() {
        std::string text = testing_support::ReadFile(dir_ / "trace.log");
        std::remove((dir_ / "trace.log").c_str());
        return text;
    }

private:
    testing_support::TempDir dir_{"trace"};
};

} // namespace trace_test
