// scc/StatusExports.cpp - the status exports: SccQueryInfo and SccPopulateList, with their
// trace blocks around the answers of scc/StatusQueries.h.
#include "scc/Exports.h"

#include "engine/CVSContext.h"
#include "scc/ExportArgs.h"
#include "scc/ExportCall.h"
#include "scc/SccNames.h"
#include "scc/StatusQueries.h"
#include "scc/Trace.h"

namespace {

// The status words of a query, traced by name; only worked out while tracing, since the host
// asks for thousands of files at a time.
void TraceQueryLines(bool tracing, SccLong count, const char** names, const SccLong* status,
                     bool withValue) {
    for (SccLong i = 0; tracing && i < count; ++i) {
        const uint32_t value = Pointee(status ? status + i : nullptr);
        const std::string words = SccStatusNames(static_cast<int32_t>(value));
        if (withValue)
            TraceLog("file_names      '%s' (%08x:%s)\n", NameAt(names, i), value, words.c_str());
        else
            TraceLog("file_names      '%s' (%s)\n", NameAt(names, i), words.c_str());
    }
}

void TracePopulateLines(SccLong count, const char** names, const SccLong* status) {
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names    '%s' (%08x)\n", NameAt(names, i),
                 Pointee(status ? status + i : nullptr));
}

} // namespace

SCCRTN SccQueryInfo(void* context, SccLong count, const char** fileNames, SccLong* status) {
    const bool tracing = IsTracing();
    const CExportCall call("SccQueryInfo\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("num_files       %i\n", count);
    TraceQueryLines(tracing, count, fileNames, status, false);
    QueryFileStatus(static_cast<CCVSContext*>(context), count, fileNames, status);
    TraceLog("OUTPUT:\n");
    TraceQueryLines(tracing, count, fileNames, status, true);
    TraceResult(SCC_OK);
    return SCC_OK;
}

SCCRTN SccPopulateList(void* context, SccLong command, SccLong count, const char** fileNames,
                       POPLISTFUNC populate, void* callerData, SccLong* status, SccLong options) {
    const CExportCall call("SccPopulateList\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("command       %i (%s)\n", command, SccCommandName(command));
    TraceLog("num_files     %i\n", count);
    TracePopulateLines(count, fileNames, status);
    TraceLog("options       %08x\n", static_cast<uint32_t>(options));
    TraceLog("popul_proc    %08x\n", TraceLow32(reinterpret_cast<void*>(populate)));
    TraceLog("*callerdat    %08x\n", TraceLow32(callerData));
    PopulateFileList(static_cast<CCVSContext*>(context), command, count, fileNames, populate,
                     callerData, status, options);
    TraceLog("OUTPUT:");
    TracePopulateLines(count, fileNames, status);
    TraceLog("*callerdat    %08x\n", TraceLow32(callerData));
    TraceResult(SCC_OK);
    return SCC_OK;
}
