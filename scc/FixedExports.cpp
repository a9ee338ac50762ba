// scc/FixedExports.cpp - the exports whose whole answer is fixed: the version, options and
// capabilities, the folder-status query, and the commands this provider does not support.
#include "scc/Exports.h"

#include "engine/CVSContext.h"
#include "scc/ExportArgs.h"
#include "scc/ExportCall.h"
#include "scc/SccNames.h"
#include "scc/Trace.h"
#include "workcopy/Entries.h"

namespace {

void RecordWindow(void* context, SccWindow window) {
    if (context)
        static_cast<CCVSContext*>(context)->SetWindow(window);
}

const char* OptionName(SccLong option) {
    switch (option) {
    case SCC_OPT_EVENTQUEUE:
        return "SCC_OPT_EVENTQUEUE\n";
    case SCC_OPT_USERDATA:
        return "SCC_OPT_USERDATA\n";
    case SCC_OPT_HASCANCELMODE:
        return "SCC_OPT_HASCANCELMODE\n";
    case SCC_OPT_NAMECHANGEPFN:
        return "SCC_OPT_NAMECHANGEPFN\n";
    case SCC_OPT_SCCCHECKOUTONLY:
        return "SCC_OPT_SCCCHECKOUTONLY\n";
    case SCC_OPT_SHARESUBPROJ:
        return "SCC_OPT_SHARESUBPROJ\n";
    default:
        return nullptr;
    }
}

} // namespace

SccLong SccGetVersion(void) {
    TraceBegin("SccGetVersion\n");
    TraceLog("RESULT: %08x \n", static_cast<uint32_t>(kSccInterfaceVersion));
    return kSccInterfaceVersion;
}

SCCRTN SccSetOption(void* context, SccLong option, SccLong value) {
    const CExportCall call("SccSetOption\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("context_arg %08x\n", TraceLow32(context));
    TraceLog("option      %08x\n", static_cast<uint32_t>(option));
    if (const char* name = OptionName(option))
        TraceLog("%s", name);
    TraceLog("val         %08x\n", static_cast<uint32_t>(value));
    TraceResult(SCC_OK);
    return SCC_OK;
}

SCCRTN SccGetExtendedCapabilities(void*, SccLong capability, SccBool* supported) {
    const CExportCall call("SccGetExtendedCapabilities\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("lSccExCaps     %i\n", capability);
    TraceLog("pbSupported    %i\n", static_cast<int32_t>(TraceLow32(supported)));
    TraceLog("OUTPUT:\n");
    TraceLog("lSccExCaps     %i\n", capability);
    TraceLog("pbSupported    %i\n", static_cast<int32_t>(TraceLow32(supported)));
    return SCC_OK;
}

SCCRTN SccDirQueryInfo(void*, SccLong count, const char** folders, SccLong* status) {
    const CExportCall call("SccDirQueryInfo\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("num directories  %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("Directory Names  '%s' (%08x)\n", NameAt(folders, i),
                 Pointee(status ? status + i : nullptr));
    for (SccLong i = 0; i < count && status; ++i) {
        status[i] = SCC_DIRSTATUS_NOTCONTROLLED;
        if (IsCVSFolder(NameAt(folders, i)))
            status[i] = SCC_DIRSTATUS_CONTROLLED;
    }
    TraceLog("OUTPUT:\n");
    for (SccLong i = 0; i < count; ++i)
        TraceLog("Directory Names  '%s' (%08x)\n", NameAt(folders, i),
                 Pointee(status ? status + i : nullptr));
    TraceResult(SCC_OK);
    return SCC_OK;
}

SCCRTN SccCreateSubProject(void* context, SccWindow window, char* user, const char* parentProjPath,
                           const char* subProjName, char* auxProjPath, char* subProjPath) {
    const CExportCall call("SccCreateSubProject\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("user             '%s'\n", TraceText(user));
    TraceLog("parent proj path '%s'\n", TraceText(parentProjPath));
    TraceLog("sub proj name    '%s'\n", TraceText(subProjName));
    TraceLog("aux proj path    '%s'\n", TraceText(auxProjPath));
    TraceLog("sub proj path    '%s'\n", TraceText(subProjPath));
    RecordWindow(context, window);
    const SCCRTN result = SCC_E_OPNOTSUPPORTED;
    TraceLog("RESULT: %u (%s)", static_cast<uint32_t>(result), SccResultName(result));
    return result;
}

SCCRTN SccDirDiff(void* context, SccWindow window, const char* folder, SccLong flags,
                  SccCmdOptions options) {
    const CExportCall call("SccDirDiff\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("Directory Name   '%s'\n", TraceText(folder));
    TraceLog("flags            %08x\n", static_cast<uint32_t>(flags));
    TraceLog("options          %08x\n", TraceLow32(options));
    RecordWindow(context, window);
    TraceLog("OUTPUT:\n");
    TraceLog("options          %08x\n", TraceLow32(options));
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccAddFromScc(void*, SccWindow, SccLong*, const char***) {
    const CExportCall call("SccAddFromScc\n");
    if (call.Refused())
        return call.Refusal();
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccBeginBatch(void) {
    TraceBegin("SccBeginBatch\n");
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccEndBatch(void) {
    TraceBegin("SccEndBatch\n");
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccGetEvents(void*, char* fileName, SccLong* status, SccLong* eventsRemaining) {
    const CExportCall call("SccGetEvents");
    if (call.Refused())
        return call.Refusal();
    TraceLog("filename       %s\n", TraceText(fileName));
    TraceLog("status         %08x\n", Pointee(status));
    TraceLog("evts remaining %08x\n", Pointee(eventsRemaining));
    TraceLog("OUTPUT:\n");
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccGetParentProjectPath(void*, SccWindow, char* user, const char* projPath,
                               char* auxProjPath, char* parentProjPath) {
    const CExportCall call("SccGetParentProjectPath");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("user          %s\n", TraceText(user));
    TraceLog("ProjPath      %s\n", TraceText(projPath));
    TraceLog("AuxProjPath   %s\n", TraceText(auxProjPath));
    TraceLog("ParProjPath   %s\n", TraceText(parentProjPath));
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccIsMultiCheckoutEnabled(void*, SccBool* multiCheckout) {
    const CExportCall call("SccIsMultiCheckoutEnabled");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("multicheckout  %08x\n", Pointee(multiCheckout));
    TraceLog("OUTPUT:\n");
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN SccWillCreateSccFile(void*, SccLong count, const char** fileNames, SccBool* sccFiles) {
    const CExportCall call("SccWillCreateSccFile\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("files         %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names    '%s' (%08x)\n", NameAt(fileNames, i),
                 Pointee(sccFiles ? sccFiles + i : nullptr));
    TraceResult(SCC_E_OPNOTSUPPORTED);
    return SCC_E_OPNOTSUPPORTED;
}

int32_t SccTest(void) {
    return 0;
}
