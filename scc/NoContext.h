// scc/NoContext.h - the answer to a call without the context SccInitialize gave the host.
#pragma once

#include "scc/SccApi.h"
#include "ui/framework/MessageBox.h"

// Every call needs the context the host was given by SccInitialize; a host that passes none
// gets a message and a failure rather than a crash. The project calls answer the system's
// "unspecified failure" (E_FAIL) instead, as they always have.
inline SCCRTN NoContext(SCCRTN result = SCC_E_NONSPECIFICERROR) {
    uifw::ShowMessageBox(nullptr, "Morvek CVS SCC not initialized by application.",
                         "Morvek CVS SCC", uifw::kMbOk);
    return result;
}
