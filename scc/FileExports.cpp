// scc/FileExports.cpp - the file commands that bring the repository's content: SccGet,
// SccCheckout and SccUncheckout.
//
// A checked-out file has a base copy in CVS/Base (the status queries read it as "checked
// out"): the check-out makes it when the controller has succeeded, without replacing one that
// is there, and the undo removes it.
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "scc/CommandOptions.h"
#include "scc/ExportArgs.h"
#include "scc/ExportCall.h"
#include "scc/Exports.h"
#include "scc/FileRequest.h"
#include "scc/Trace.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

namespace {

SCCRTN Outcome(bool ok) {
    return ok ? SCC_OK : SCC_E_NONSPECIFICERROR;
}

// The base copy of a file, when its folder is a working folder (asking for it elsewhere would
// make a CVS folder there).
bool HasBaseCopy(const std::string& file) {
    return IsCVSFolder(GetParentFolder(file)) && PathExists(GetBaseCopyPath(file));
}

SCCRTN Get(CCVSContext& context, SccLong count, const char** names, SccLong flags,
           SccCmdOptions options) {
    const CCVSStringMap& map = OptionsForGet(context, options);
    CCVSController controller(context);
    if ((flags & (SCC_GET_ALL | SCC_GET_RECURSIVE)) != 0) {
        std::vector<std::string> folders;
        if (!TakeNames(context, count, names, NameKind::Folders, folders))
            return SCC_E_NONSPECIFICERROR;
        if (folders.empty())
            return SCC_E_NONSPECIFICERROR;
        bool ok = false;
        for (const std::string& folder : folders) {
            ok = controller.UpdateFolder(folder, (flags & SCC_GET_RECURSIVE) != 0);
            if (!ok)
                break;
        }
        return Outcome(ok);
    }
    std::vector<std::string> files;
    if (!TakeNames(context, count, names, NameKind::Files, files))
        return SCC_E_NONSPECIFICERROR;
    if (files.empty())
        return SCC_E_NONSPECIFICERROR;
    const bool ok = controller.UpdateFiles(files, false, false, false, &map);
    // A checked-out file stays editable, whatever the update did.
    for (const std::string& file : files)
        if (HasBaseCopy(file))
            MakeWritable(file);
    return Outcome(ok);
}

SCCRTN CheckOut(CCVSContext& context, SccLong count, const char** names, const char* comment,
                SccCmdOptions options) {
    std::vector<std::string> files;
    SCCRTN answer;
    if (!TakeFiles(context, count, names, MakeWritable, files, answer))
        return answer;
    const CCVSStringMap& map = OptionsForCommand(context, options);
    context.SetComment(comment ? comment : "");
    CCVSController controller(context);
    if (!controller.CheckOutFiles(files, &map))
        return SCC_E_NONSPECIFICERROR;
    for (const std::string& file : files)
        platform::CopyFileTo(file, GetBaseCopyPath(file), true);
    return SCC_OK;
}

SCCRTN UncheckOut(CCVSContext& context, SccLong count, const char** names) {
    std::vector<std::string> files;
    SCCRTN answer;
    if (!TakeFiles(context, count, names, MakeReadOnly, files, answer))
        return answer;
    CKeptEdits edits;
    if (!edits.Keep(context, files))
        return SCC_E_NONSPECIFICERROR;
    bool ok;
    {
        CCVSController controller(context);
        ok = controller.UncheckOutFiles(files);
    }
    edits.Settle(context);
    if (!ok)
        return SCC_E_NONSPECIFICERROR;
    for (const std::string& file : files)
        RemoveFile(GetBaseCopyPath(file));
    return SCC_OK;
}

} // namespace

SCCRTN SccGet(void* context, SccWindow window, SccLong count, const char** names, SccLong flags,
              SccCmdOptions options) {
    const CExportCall call("SccGet\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("file_names      %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      %s\n", NameAt(names, i));
    TraceLog("flags           %08x\n", static_cast<uint32_t>(flags));
    if (flags & SCC_GET_RECURSIVE)
        TraceLog("SCC_GET_RECURSIVE\n");
    if (flags & SCC_GET_ALL)
        TraceLog("SCC_GET_ALL\n");
    TraceLog("options         %08x\n", TraceLow32(options));
    const SCCRTN result = RunFileCommand(context, window, true, [&](CCVSContext& ctx) {
        return Get(ctx, count, names, flags, options);
    });
    TraceLog("OUTPUT:\n");
    TraceResult(result);
    return result;
}

SCCRTN SccCheckout(void* context, SccWindow window, SccLong count, const char** names,
                   const char* comment, SccLong flags, SccCmdOptions options) {
    const CExportCall call("SccCheckout\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:");
    TraceLog("num_files       %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      %s \n", NameAt(names, i));
    TraceLog("comment         %s\n", TraceText(comment));
    TraceLog("flags           %08x\n", static_cast<uint32_t>(flags));
    TraceLog("options         %08x\n", TraceLow32(options));
    const SCCRTN result = RunFileCommand(context, window, true, [&](CCVSContext& ctx) {
        return CheckOut(ctx, count, names, comment, options);
    });
    TraceLog("OUTPUT:\n");
    TraceLog("options         %08x\n", TraceLow32(options));
    TraceResult(result);
    return result;
}

SCCRTN SccUncheckout(void* context, SccWindow window, SccLong count, const char** names,
                     SccLong flags, SccCmdOptions options) {
    const CExportCall call("SccUnCheckout\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("num_files        %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      %s\n", NameAt(names, i));
    TraceLog("options          %08x\n", static_cast<uint32_t>(flags));
    TraceLog("options         %08x\n", TraceLow32(options));
    const SCCRTN result = RunFileCommand(
        context, window, true, [&](CCVSContext& ctx) { return UncheckOut(ctx, count, names); });
    TraceLog("OUTPUT:\n");
    TraceLog("options         %08x\n", TraceLow32(options));
    TraceResult(result);
    return result;
}
