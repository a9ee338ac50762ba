// scc/PropertyExports.cpp - the provider's own windows: a file's properties
// (SccProperties), the advanced options of a command (SccGetCommandOptions) and the settings
// (SccRunScc).
#include "scc/Exports.h"

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "scc/CommandOptions.h"
#include "scc/ExportCall.h"
#include "scc/NoContext.h"
#include "scc/SccNames.h"
#include "scc/Trace.h"
#include "ui/DlgCmdOpts.h"
#include "ui/DlgItemProp.h"
#include "ui/DlgSettings.h"
#include "workcopy/PathFunctions.h"

namespace {

SCCRTN Properties(CCVSContext& context, SccWindow window, const char* fileName) {
    context.SetWindow(window);
    // A host that names no file gets no sheet of nothing.
    if (!fileName || !*fileName)
        return SCC_OK;
    const std::string path = NormalizePath(fileName);
    CDlgItemProp sheet(context, GetFileNamePart(path) + " Properties", path, window);
    sheet.DoModal();
    return SCC_OK;
}

bool HasAdvancedOptions(SccLong command) {
    switch (command) {
    case SCC_COMMAND_GET:
    case SCC_COMMAND_CHECKOUT:
    case SCC_COMMAND_CHECKIN:
    case SCC_COMMAND_ADD:
    case SCC_COMMAND_OPTIONS:
        return true;
    default:
        return false;
    }
}

SCCRTN CommandOptions(CCVSContext& context, SccWindow window, SccLong command,
                      SccCmdOptions* options) {
    CCVSStringMap* map = &context.GetOptions();
    context.SetWindow(window);
    CCVSController controller(context);
    if (!options) {
        // The host asks whether there is anything to show: the question counts as an offer,
        // and the map remembered before stays remembered.
        RememberOfferedOptions(RememberedOptions());
        return HasAdvancedOptions(command) ? SCC_I_ADV_SUPPORT : SCC_E_OPNOTSUPPORTED;
    }
    *options = nullptr;
    switch (command) {
    case SCC_COMMAND_GET:
    case SCC_COMMAND_CHECKOUT: {
        CDlgGetCmdOpts sheet(context, CDlgGetCmdOpts::kCaption, context.GetWindow());
        if (sheet.DoModal() == uifw::kIdOk)
            *options = map;
        break;
    }
    case SCC_COMMAND_CHECKIN:
    case SCC_COMMAND_ADD: {
        CDlgCheckInOpts sheet(context, CDlgCheckInOpts::kCaption, context.GetWindow());
        if (sheet.DoModal() == uifw::kIdOk)
            *options = map;
        break;
    }
    case SCC_COMMAND_OPTIONS: {
        CDlgSettings settings(&context, context.GetWindow());
        settings.DoModal();
        break;
    }
    default:
        break;
    }
    // However the sheet ended, later commands of this context use its map.
    RememberOfferedOptions(map);
    return SCC_OK;
}

} // namespace

SCCRTN SccProperties(void* context, SccWindow window, const char* fileName) {
    const CExportCall call("SccProperties\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("file_name      '%s'\n", TraceText(fileName));
    const SCCRTN result =
        context ? Properties(*static_cast<CCVSContext*>(context), window, fileName) : NoContext();
    TraceResult(result);
    return result;
}

SCCRTN SccGetCommandOptions(void* context, SccWindow window, SccLong command,
                            SccCmdOptions* options) {
    const CExportCall call("SccGetCommandOptions\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("INPUT:\n");
    TraceLog("command       %08x (%s)\n", static_cast<uint32_t>(command), SccCommandName(command));
    TraceLog("pvOptions     %08x\n", TraceLow32(options));
    const SCCRTN result =
        context ? CommandOptions(*static_cast<CCVSContext*>(context), window, command, options)
                : NoContext();
    TraceResult(result);
    return result;
}

SCCRTN SccRunScc(void* context, SccWindow window, SccLong count, const char** fileNames) {
    const CExportCall call("SccRunScc\n");
    if (call.Refused())
        return call.Refusal();
    TraceLog("files        %i\n", count);
    for (SccLong i = 0; i < count; ++i)
        TraceLog("file_names      '%s'\n", TraceText(fileNames ? fileNames[i] : nullptr));
    SCCRTN result = SCC_OK;
    if (!context) {
        result = NoContext();
    } else {
        CCVSContext& ctx = *static_cast<CCVSContext*>(context);
        ctx.SetWindow(window);
        CDlgSettings settings(&ctx, window);
        settings.DoModal();
    }
    TraceResult(result);
    return result;
}
