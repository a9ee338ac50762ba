// scc/HistoryExports.cpp - comparing a file with the repository and showing its history:
// SccDiff and SccHistory.
#include "scc/ExportCall.h"
#include "scc/Exports.h"

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "scc/NoContext.h"
#include "scc/Trace.h"
#include "settings/SccSettings.h"
#include "ui/DlgDiff.h"
#include "ui/DlgItemHistory.h"
#include "ui/ExternalTools.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

namespace {

constexpr const char* kTitle = "Morvek CVS SCC";

SCCRTN ByTime(const std::string& file) {
    return IsFileUnchanged(file) ? SCC_OK : SCC_I_FILEDIFFERS;
}

SCCRTN Diff(CCVSContext& context, SccWindow window, const std::string& file, SccLong flags) {
    // The comparison program and the dialogs have no owner here: the host's window is only
    // the revision choice's.
    context.SetWindow(nullptr);
    CCVSController controller(context);
    if (file.empty() || !PathExists(file))
        return SCC_E_FILENOTEXIST;
    if (!IsInEntries(file))
        return SCC_E_FILENOTCONTROLLED;

    if ((flags & SCC_DIFF_QUICK_DIFF) == SCC_DIFF_QUICK_DIFF || (flags & SCC_DIFF_QD_TIME))
        return ByTime(file);
    if (flags & (SCC_DIFF_QD_CONTENTS | SCC_DIFF_QD_CHECKSUM)) {
        if (GetSettings().GetIndependentMode())
            return ByTime(file);
        std::string difference;
        if (!controller.DiffFile(file, difference))
            return SCC_E_NONSPECIFICERROR;
        return difference.empty() ? SCC_OK : SCC_I_FILEDIFFERS;
    }

    std::string revision;
    if (!GetSettings().GetUseQuickCompare()) {
        CDlgDiff choice(context, file, window);
        if (choice.DoModal() != uifw::kIdOk)
            return SCC_OK;
        revision = choice.GetEntry().revision;
    }
    const std::string fetched = controller.GetRevision(file, revision, false);
    if (fetched == kInvalidPathResult) {
        context.Echo("Error while retrieving revision");
        return SCC_E_NONSPECIFICERROR;
    }
    const std::string commandLine = CompareCommandLine(GetSettings().GetDiffExe(), file, fetched);
    return StartExternalTool(context, commandLine, "DIFFEXE", kTitle) ? SCC_OK
                                                                      : SCC_E_NONSPECIFICERROR;
}

} // namespace

SCCRTN SccDiff(void* context, SccWindow window, const char* fileName, SccLong flags,
               SccCmdOptions options) {
    const CExportCall call("SccDiff\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:");
    TraceLog("file_name        '%s'\n", TraceText(fileName));
    TraceLog("falgs            %08x\n", static_cast<uint32_t>(flags));
    TraceLog("options          %08x\n", TraceLow32(options));
    const SCCRTN result = context ? Diff(*static_cast<CCVSContext*>(context), window,
                                         fileName ? NormalizePath(fileName) : std::string(), flags)
                                  : NoContext();
    TraceLog("OUTPUT:");
    TraceLog("options          %08x\n", TraceLow32(options));
    TraceResult(result);
    return result;
}

SCCRTN SccHistory(void* context, SccWindow window, SccLong count, const char** fileNames,
                  SccLong flags, SccCmdOptions options) {
    const CExportCall call("SccHistory\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT: \n");
    TraceLog("num_files       %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      '%s'\n", TraceText(fileNames ? fileNames[i] : nullptr));
    TraceLog("flags           %08x\n", static_cast<uint32_t>(flags));
    TraceLog("options          %08x\n", TraceLow32(options));
    SCCRTN result = SCC_OK;
    if (!context) {
        result = NoContext();
    } else {
        CCVSContext& ctx = *static_cast<CCVSContext*>(context);
        ctx.SetWindow(window);
        CCVSController controller(ctx);
        std::vector<std::string> files;
        for (SccLong i = 0; fileNames && i < count; ++i)
            if (fileNames[i] && *fileNames[i])
                files.push_back(NormalizePath(fileNames[i]));
        CDlgItemHistory history(ctx, "History", std::move(files));
        history.DoModal();
    }
    TraceLog("OUTPUT:\n");
    TraceLog("options          %08x\n", TraceLow32(options));
    TraceResult(result);
    return result;
}
