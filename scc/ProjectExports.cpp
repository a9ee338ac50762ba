// scc/ProjectExports.cpp - the provider's lifecycle and project binding: SccInitialize,
// SccUninitialize, SccOpenProject, SccCloseProject, SccGetProjPath.
#include "scc/Exports.h"

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "scc/CommandOptions.h"
#include "scc/ExportCall.h"
#include "scc/NoContext.h"
#include "scc/SccNames.h"
#include "scc/Trace.h"
#include "settings/SccSettings.h"
#include "ui/DlgConnect.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/Entries.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kCapabilities = 0xC7ABFAFF;
constexpr SccLong kCommentLength = 8192;
constexpr const char* kProviderName = "Morvek";
constexpr const char* kAuxPathLabel = "";
constexpr const char* kTitle = "Morvek CVS SCC";
// What SccOpenProject answers on a context the host never made.
constexpr SCCRTN kNotInitialized = static_cast<SCCRTN>(0x80004005);

// Copies a text into a host buffer of the interface's size (NUL included), cutting it
// there: a host that passes the sizes the interface names is never written past.
void CopyOut(char* buffer, const std::string& text, size_t size) {
    if (!buffer || size == 0)
        return;
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::string In(const char* text) {
    return text ? std::string(text) : std::string();
}

void Problem(CCVSContext& context, const std::string& text) {
    context.Echo(text);
    uifw::ShowMessageBox(context.GetWindow(), text, kTitle, uifw::kMbOk | uifw::kMbIconError);
}

// The three strings of SccGetProjPath's trace, in and out.
void TraceProjPathLines(const char* user, const char* project, const char* local, const char* aux,
                        SccBool allowChange, const SccBool* isNew) {
    TraceLog("user          '%s'\n", TraceText(user));
    TraceLog("proj_name     '%s'\n", TraceText(project));
    TraceLog("local_path    '%s'\n", TraceText(local));
    TraceLog("aux_proj      '%s'\n", TraceText(aux));
    TraceLog("allow_change  %08x\n", static_cast<uint32_t>(allowChange));
    TraceLog("new           %08x\n", isNew ? static_cast<uint32_t>(*isNew) : 0u);
}

SCCRTN OpenProject(CCVSContext& context, SccWindow window, char* projName, const char* localPath,
                   char* auxProjPath, const char* comment, LPTEXTOUTPROC textOut, SccLong flags) {
    context.SetWindow(window);
    context.SetFallbackWindow(window);
    context.SetTextOut(textOut);
    context.Echo("Opening Project ...\n");
    uifw::CWaitCursor busy;
    CCVSController controller(context);
    context.SetComment(In(comment));

    const std::string local = localPath;
    const bool createIfNew = (flags & SCC_OP_CREATEIFNEW) != 0;
    bool connected = false;
    if (In(auxProjPath).empty()) {
        if (IsCVSFolder(local)) {
            CopyOut(auxProjPath, ReadRoot(local), SCC_AUXPATH_SIZE);
        } else {
            context.Echo("Missing project source control information");
            if (!createIfNew)
                return SCC_E_UNKNOWNPROJECT;
            const bool existed = PathExists(local);
            CDlgConnect dialog(context.GetWindow());
            dialog.SetContext(&context);
            if (!controller.ConnectProject(In(projName), local, true, dialog)) {
                // Nothing of a cancelled connection stays behind, not even the folder.
                if (!existed)
                    platform::RemoveEmptyFolder(local);
                return SCC_E_UNKNOWNPROJECT;
            }
            // The host keeps the repository that was chosen with its project.
            CopyOut(auxProjPath, context.GetCVSRoot(), SCC_AUXPATH_SIZE);
            connected = true;
        }
    }
    // After a connection the module is the one chosen in the dialog, not the name the host
    // gave the project. A host that names no project opens a working folder as the module
    // it was checked out from; a context reused after a close must not keep the old one.
    if (!connected) {
        if (!In(projName).empty())
            context.SetProjectModule(projName);
        else
            context.SetProjectModule(IsCVSFolder(local) ? GetModulePath(local) : std::string());
    }

    context.SetLocalPath(local);
    if (!PathExists(local) && !EnsureFolder(local)) {
        Problem(context, "The working folder " + local +
                             " cannot be created. Choose a folder where you may create one.");
        return SCC_E_NONSPECIFICERROR;
    }
    SetCurrentFolderTo(local);

    const std::string aux = In(auxProjPath);
    if (!aux.empty()) {
        // Commands in a working folder go to the repository its CVS/Root names, whatever
        // the project says: a project naming another one would work elsewhere than it thinks.
        // Read once: a second read could tell another story than the one compared.
        const std::string bound = IsCVSFolder(local) ? ReadRoot(local) : aux;
        if (bound.empty()) {
            Problem(context, "The working folder " + local +
                                 " names no repository: its CVS/Root is empty or cannot be "
                                 "read. Check that file, then open the project again.");
            return SCC_E_UNKNOWNPROJECT;
        }
        if (!SameCvsRoot(bound, aux)) {
            Problem(context, "The folder " + local + " is a working folder of " + bound +
                                 ", not of " + aux +
                                 ". Open it with that repository, or choose another folder.");
            return SCC_E_UNKNOWNPROJECT;
        }
        context.SetCVSRoot(aux);
    }

    if (createIfNew && !IsCVSFolder(local) && !controller.Import(In(projName), local))
        return SCC_E_NONSPECIFICERROR;

    const std::string exe = GetSettings().GetCvsExePath();
    context.Echo("Project Information ...\n");
    context.Echo("CVSROOT...: " + context.GetCVSRoot());
    context.Echo("CVS PATH..: " + context.GetProjectModule() + "\n");
    context.Echo("LOCAL PATH: " + context.GetLocalPath() + "\n");
    context.Echo("CVS EXE...: " + (exe.empty() ? std::string("(default)") : exe) + "\n");
    return SCC_OK;
}

SCCRTN GetProjPath(CCVSContext& context, SccWindow window, char* user, char* projName,
                   char* localPath, char* auxProjPath, SccBool allowChangePath) {
    context.SetWindow(window);
    CCVSController controller(context);
    CSccSettings& settings = GetSettings();
    CopyOut(user, settings.GetVendorName(), SCC_USER_SIZE);

    const std::string proposedPath = In(localPath);
    if (IsCVSFolder(proposedPath)) {
        CopyOut(projName, GetModulePath(proposedPath), SCC_PRJPATH_SIZE);
        CopyOut(auxProjPath, ReadRoot(proposedPath), SCC_AUXPATH_SIZE);
    } else {
        const std::string parent = GetParentFolderNormalized(proposedPath);
        const std::string parentRoot = IsCVSFolder(parent) ? ReadRoot(parent) : std::string();
        if (!parentRoot.empty() && !In(projName).empty()) {
            CopyOut(projName, GetModulePath(parent) + "/" + In(projName), SCC_PRJPATH_SIZE);
            CopyOut(auxProjPath, parentRoot, SCC_AUXPATH_SIZE);
        }
    }

    CDlgConnect dialog(window);
    dialog.SetContext(&context);
    dialog.SetLocalPathEditable(allowChangePath == 1);
    dialog.SetLocalPath(proposedPath);
    dialog.SetCvsRoot(In(auxProjPath));
    dialog.SetModule(In(projName));
    dialog.SetInitialModule(In(projName));
    if (dialog.DoModal() != uifw::kIdOk)
        return SCC_I_OPERATIONCANCELED;

    std::string module = dialog.GetModule();
    if (module.size() > 1 && module.back() == '/')
        module.pop_back();
    const std::string local = dialog.GetLocalPath();
    const std::string root = dialog.GetCvsRoot();
    CopyOut(localPath, local, SCC_PRJPATH_SIZE);
    CopyOut(projName, module, SCC_PRJPATH_SIZE);
    CopyOut(auxProjPath, root, SCC_AUXPATH_SIZE);

    if (!PathExists(local) && !EnsureFolder(local)) {
        Problem(context, "The working folder " + local +
                             " cannot be created. Choose a folder where you may create one.");
        return SCC_E_NONSPECIFICERROR;
    }
    if (!IsCVSFolder(local) && !controller.BindFolder(local, root, module))
        return SCC_E_NONSPECIFICERROR;
    settings.UpdateModuleList(module, false);
    settings.UpdateRootList(root, false);
    settings.Save();
    return SCC_OK;
}

} // namespace

SCCRTN SccInitialize(void** context, SccWindow window, const char* callerName, char* providerName,
                     SccLong* capabilities, char* auxPathLabel, SccLong* checkoutCommentLength,
                     SccLong* commentLength) {
    const CExportCall call("SccInitialize\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("caller         '%s'\n", TraceText(callerName));
    CCVSContext* made = nullptr;
    if (context) {
        made = new CCVSContext(window);
        *context = made;
    }
    if (capabilities)
        *capabilities = static_cast<SccLong>(kCapabilities);
    CopyOut(auxPathLabel, kAuxPathLabel, SCC_AUXLABEL_SIZE);
    CopyOut(providerName, kProviderName, SCC_NAME_SIZE);
    if (checkoutCommentLength)
        *checkoutCommentLength = kCommentLength;
    if (commentLength)
        *commentLength = kCommentLength;
    TraceLog("OUTPUT:\n");
    TraceLog("contextp       %08x\n", TraceLow32(made));
    TraceLog("caps           %08x\n", kCapabilities);
    TraceLog("co_comment_len %i\n", kCommentLength);
    TraceLog("comment_len    %i\n", kCommentLength);
    TraceLog("name           '%s'\n", kProviderName);
    TraceLog("path           '%s'\n", kAuxPathLabel);
    TraceResult(SCC_OK);
    return SCC_OK;
}

SCCRTN SccUninitialize(void* context) {
    const CExportCall call("SccUninitialize\n");
    if (call.Refused())
        return call.Refusal();
    if (context) {
        // A map of a context that is gone must never be handed to a command again.
        ForgetOfferedOptions(&static_cast<CCVSContext*>(context)->GetOptions());
        delete static_cast<CCVSContext*>(context);
    }
    ClearEntriesCache();
    TraceResult(SCC_OK);
    return SCC_OK;
}

SCCRTN SccOpenProject(void* context, SccWindow window, char* user, char* projName,
                      const char* localProjPath, char* auxProjPath, const char* comment,
                      LPTEXTOUTPROC textOut, SccLong flags) {
    const CExportCall call("SccOpenProject\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT: \n");
    TraceLog("user         '%s'\n", TraceText(user));
    TraceLog("project      '%s'\n", TraceText(projName));
    TraceLog("local_proj   '%s'\n", TraceText(localProjPath));
    TraceLog("aux_proj     '%s'\n", TraceText(auxProjPath));
    TraceLog("comment      '%s'\n", TraceText(comment));
    TraceLog("outproc      %08x\n", TraceLow32(reinterpret_cast<void*>(textOut)));
    TraceLog("flags        %08x\n", static_cast<uint32_t>(flags));
    if (flags & SCC_OP_CREATEIFNEW)
        TraceLog("SCC_OP_CREATEIFNEW\n");
    if (flags & SCC_OP_SILENTOPEN)
        TraceLog("SCC_OP_SILENTOPEN\n");
    SCCRTN result;
    if (In(localProjPath).empty()) {
        result = SCC_E_PROJECTALREADYOPEN;
    } else if (!context) {
        result = NoContext(kNotInitialized);
    } else {
        result = OpenProject(*static_cast<CCVSContext*>(context), window, projName, localProjPath,
                             auxProjPath, comment, textOut, flags);
    }
    TraceLog("OUTPUT:\n");
    TraceResult(result);
    return result;
}

SCCRTN SccCloseProject(void* context) {
    const CExportCall call("SccCloseProject\n");
    if (call.Refused())
        return call.Refusal();
    if (context && GetSettings().GetLogoutOnClose()) {
        CCVSController controller(*static_cast<CCVSContext*>(context));
        controller.Logout();
    }
    TraceResult(SCC_OK);
    return SCC_OK;
}

SCCRTN SccGetProjPath(void* context, SccWindow window, char* user, char* projName, char* localPath,
                      char* auxProjPath, SccBool allowChangePath, SccBool* isNew) {
    const CExportCall call("SccGetProjPath\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceProjPathLines(user, projName, localPath, auxProjPath, allowChangePath, isNew);
    SCCRTN result;
    if (!context) {
        // Not in the interface's description of this call, but nothing can be done without
        // a context, and a null one must not bring the host down.
        result = NoContext(kNotInitialized);
    } else {
        result = GetProjPath(*static_cast<CCVSContext*>(context), window, user, projName, localPath,
                             auxProjPath, allowChangePath);
    }
    TraceLog("OUTPUT:\n");
    TraceProjPathLines(user, projName, localPath, auxProjPath, allowChangePath, isNew);
    TraceResult(result);
    return result;
}
