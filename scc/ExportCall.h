// scc/ExportCall.h - one export at a time on a thread.
//
// While an export runs, its thread goes on serving window messages: a command waits for cvs
// that way, and a dialog runs its loop. The environment's windows stay alive meanwhile, and
// one of them may call the provider again on the same thread (a timer that refreshes the
// status of files, a menu command). That call would find the provider in the middle of the
// first one (the context's captures and progress window, the current folder, a dialog on
// the stack), so it is refused: it writes the opening of its trace block, the line
// "REFUSED: another call is running on this thread", and the result SCC_E_NONSPECIFICERROR,
// and touches nothing else. Calls from other threads are not affected.
#pragma once

#include "scc/SccApi.h"

class CExportCall {
public:
    // Writes the opening of the trace block with the export's name piece and marks the
    // thread as inside an export.
    explicit CExportCall(const char* namePiece);
    ~CExportCall();
    CExportCall(const CExportCall&) = delete;
    CExportCall& operator=(const CExportCall&) = delete;

    // Whether another export of this thread was already running.
    bool Refused() const { return nested_; }
    // The refused call's trace lines and result.
    SCCRTN Refusal() const;

private:
    bool nested_;
};
