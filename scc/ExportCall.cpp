// scc/ExportCall.cpp - the depth of exports on each thread.
#include "scc/ExportCall.h"

#include "scc/Trace.h"

namespace {
// A plain counter: a thread_local of a type without a destructor leaves the module free to
// unload while the host's threads live on.
thread_local int t_depth = 0;
} // namespace

CExportCall::CExportCall(const char* namePiece) : nested_(t_depth > 0) {
    ++t_depth;
    TraceBegin(namePiece);
}

CExportCall::~CExportCall() {
    --t_depth;
}

SCCRTN CExportCall::Refusal() const {
    TraceLog("REFUSED: another call is running on this thread\n");
    TraceResult(SCC_E_NONSPECIFICERROR);
    return SCC_E_NONSPECIFICERROR;
}
