// scc/CommitExports.cpp - the file commands that change the repository: SccCheckin, SccAdd,
// SccRemove and SccRename.
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "scc/CommandOptions.h"
#include "scc/ExportArgs.h"
#include "scc/ExportCall.h"
#include "scc/Exports.h"
#include "scc/FileRequest.h"
#include "scc/SccNames.h"
#include "scc/Trace.h"
#include "settings/SccSettings.h"
#include "ui/DlgComment.h"
#include "ui/framework/DialogHost.h"
#include "workcopy/Entries.h"
#include "workcopy/EntriesOnDisk.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

namespace {

SCCRTN Outcome(bool ok) {
    return ok ? SCC_OK : SCC_E_NONSPECIFICERROR;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// With USECOMMENTS on, the comment dialog asks for the comment, starting from the context's;
// false when it is cancelled, and then nothing may run.
bool AskForComment(CCVSContext& context, SccWindow window, const char* command) {
    CSccSettings& settings = GetSettings();
    if (!settings.GetUseComments())
        return true;
    CDlgComment dialog(window);
    dialog.SetComment(context.GetComment());
    if (dialog.DoModal() != uifw::kIdOk) {
        context.Echo(std::string("The comment was cancelled; nothing was ") + command + ".");
        return false;
    }
    settings.SetUseComments(!dialog.GetDoNotDisplay());
    context.SetComment(dialog.GetComment());
    return true;
}

SCCRTN CheckIn(CCVSContext& context, SccWindow window, SccLong count, const char** names,
               const char* comment, SccLong flags, SccCmdOptions options) {
    std::vector<std::string> files;
    if (!TakeNames(context, count, names, NameKind::Files, files))
        return SCC_E_NONSPECIFICERROR;
    if (files.empty())
        return SCC_OK;
    const CCVSStringMap& map = OptionsForCommand(context, options);
    if (comment && *comment)
        context.SetComment(comment);
    if (!AskForComment(context, window, "checked in"))
        return SCC_E_NONSPECIFICERROR;
    CCVSController controller(context);
    return Outcome(controller.CommitFiles(files, (flags & SCC_KEEP_CHECKEDOUT) != 0, &map));
}

SCCRTN Add(CCVSContext& context, SccWindow window, SccLong count, const char** names,
           const char* comment, const SccLong* flags, SccCmdOptions options) {
    std::vector<std::string> files;
    std::vector<SccLong> positions;
    SCCRTN answer;
    if (!TakeFiles(context, count, names, MakeReadOnly, files, answer, &positions))
        return answer;
    for (const std::string& file : files)
        if (!platform::Exists(file)) {
            Refuse(context, Quoted(file) + " does not exist, so there is nothing to add; "
                                           "nothing was added.");
            return SCC_E_NONSPECIFICERROR;
        }
    if (comment && *comment)
        context.SetComment(comment);
    if (context.GetComment().empty() && !AskForComment(context, window, "added"))
        return SCC_E_NONSPECIFICERROR;
    const CCVSStringMap& map = OptionsForCommand(context, options);
    CCVSController controller(context);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!controller.AddFile(files[i], &map))
            return SCC_E_NONSPECIFICERROR;
        if (flags && (flags[positions[i]] & SCC_KEEP_CHECKEDOUT) != 0)
            MakeWritable(files[i]);
    }
    return SCC_OK;
}

// A scratch file the host made read-only goes too.
void DeleteScratchFile(const std::string& path) {
    RemoveFile(path);
}

SCCRTN Remove(CCVSContext& context, SccLong count, const char** names, const char* comment) {
    std::vector<std::string> files;
    SCCRTN answer;
    if (!TakeFiles(context, count, names, DeleteScratchFile, files, answer))
        return answer;
    // cvs would delete a file it does not know before it says so: such a file has nothing to
    // leave the repository, and stays as it is.
    for (const std::string& file : files)
        if (!IsInEntries(file)) {
            Refuse(context, Quoted(file) + " is not under CVS control; nothing was removed.");
            return SCC_E_NONSPECIFICERROR;
        }
    context.SetComment(comment ? comment : "");
    CCVSController controller(context);
    for (const std::string& file : files) {
        if (!controller.RemoveFromCVS(file))
            return SCC_E_NONSPECIFICERROR;
        RemoveFile(GetBaseCopyPath(file));
    }
    return SCC_OK;
}

// A folder the host moved or renamed still carries the CVS folders of where it was; committed
// from there, its files would land on the old ones. Its parent does not list it under its
// new name. A folder that is listed there is bound where it stands (cvs may have checked it
// out under another name than its repository folder) and keeps its binding: its Entries,
// pending additions and removals and base copies exist nowhere else. The listing is read from
// disk, with CVS/Entries.Log, where cvs first records a folder it checks out: a binding once
// gone cannot be had back, so a parent that cannot be read counts as listing it.
void UnbindMovedFolder(CCVSContext& context, const std::string& folder) {
    if (!IsCVSFolder(folder) || ReadEntriesListing(folder) != EntriesListing::NotListed)
        return;
    RemoveAdminFolderTree(folder);
    context.Echo("The folder " + Quoted(folder) +
                 " was moved; it is no longer bound to its old place in the repository. "
                 "Add it to put it under CVS control where it is now.");
}

SCCRTN Rename(CCVSContext& context, const char* oldName, const char* newName) {
    const char* names[] = {oldName, newName};
    std::vector<std::string> paths;
    if (!TakeNames(context, 2, names, NameKind::Any, paths))
        return SCC_E_NONSPECIFICERROR;
    if (paths.size() < 2) {
        context.Echo("The old and the new name are the same; nothing was renamed.");
        return SCC_OK;
    }
    const std::string& from = paths[0];
    const std::string& to = paths[1];
    const bool folder = platform::IsFolder(to) || platform::IsFolder(from);
    if (GetParentFolder(from) != GetParentFolder(to) || folder) {
        // Moved elsewhere, or a folder: no cvs command renames those. A file keeps the
        // binding of the working folder it now lies in.
        if (platform::IsFolder(to))
            UnbindMovedFolder(context, to);
        return IsInEntries(to) ? SCC_E_NONSPECIFICERROR : SCC_OK;
    }
    CCVSController controller(context);
    return Outcome(controller.RenameFile(from, to));
}

} // namespace

SCCRTN SccCheckin(void* context, SccWindow window, SccLong count, const char** names,
                  const char* comment, SccLong flags, SccCmdOptions options) {
    const CExportCall call("SccCheckin\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT\n");
    TraceLog("num_files       %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      %s\n", NameAt(names, i));
    TraceLog("comment         %s\n", TraceText(comment));
    TraceLog("flags           %08x\n", static_cast<uint32_t>(flags));
    TraceLog("options         %08x\n", TraceLow32(options));
    const SCCRTN result = RunFileCommand(context, window, true, [&](CCVSContext& ctx) {
        return CheckIn(ctx, window, count, names, comment, flags, options);
    });
    TraceLog("Out:\n");
    TraceLog("options         %08x\n", TraceLow32(options));
    TraceLog("RESULT: %u (%s)\n", static_cast<uint32_t>(result), SccResultName(result));
    return result;
}

SCCRTN SccAdd(void* context, SccWindow window, SccLong count, const char** names,
              const char* comment, SccLong* flags, SccCmdOptions options) {
    const CExportCall call("SccAdd\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("num_files       :%i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      '%s' (%08x)\n", NameAt(names, i),
                 Pointee(flags ? flags + i : nullptr));
    TraceLog("comment         :%s\n", TraceText(comment));
    TraceLog("options         %08x\n", TraceLow32(options));
    const SCCRTN result = RunFileCommand(context, window, true, [&](CCVSContext& ctx) {
        return Add(ctx, window, count, names, comment, flags, options);
    });
    TraceLog("OUTPUT:\n");
    TraceLog("options         %08x\n", TraceLow32(options));
    TraceResult(result);
    return result;
}

SCCRTN SccRemove(void* context, SccWindow window, SccLong count, const char** names,
                 const char* comment, SccLong flags, SccCmdOptions options) {
    const CExportCall call("SccRemove\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("num_files       %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      '%s'\n", NameAt(names, i));
    TraceLog("options         %08x\n", static_cast<uint32_t>(flags));
    TraceLog("comment         '%s'\n", TraceText(comment));
    TraceLog("options         %08x\n", TraceLow32(options));
    const SCCRTN result = RunFileCommand(context, window, true, [&](CCVSContext& ctx) {
        return Remove(ctx, count, names, comment);
    });
    TraceLog("OUTPUT:\n");
    TraceLog("options         %08x\n", TraceLow32(options));
    TraceResult(result);
    return result;
}

SCCRTN SccRename(void* context, SccWindow window, const char* oldName, const char* newName) {
    const CExportCall call("SccRename\n");
    if (call.Refused())
        return call.Refusal();
    const SCCRTN result = RunFileCommand(
        context, window, false, [&](CCVSContext& ctx) { return Rename(ctx, oldName, newName); });
    TraceResult(result);
    return result;
}
