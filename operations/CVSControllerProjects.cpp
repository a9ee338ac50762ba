// operations/CVSControllerProjects.cpp - repositories and module folders: logout, module
// listings, import, binding a folder to a module, connecting a project, folder update.
#include "engine/CVSArgs.h"
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "settings/SccSettings.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/TextUtil.h"
#include "workcopy/Entries.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <algorithm>

namespace {

// The longest listing line read; a longer one ends the reading.
constexpr size_t kMaxListingLine = 999;

// The pieces of a line split at runs of "/", as a tokenizer splits it (a leading "/" is
// passed over and no piece is empty).
std::vector<std::string> SlashPieces(const std::string& line) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    while (start < line.size()) {
        const std::string::size_type slash = line.find('/', start);
        const std::string::size_type end = slash == std::string::npos ? line.size() : slash;
        if (end > start)
            pieces.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::string Piece(const std::vector<std::string>& pieces, size_t index) {
    return index < pieces.size() ? pieces[index] : std::string();
}

} // namespace

std::vector<CCVSModuleEntry> ParseModuleListing(const std::string& output, const std::string& path,
                                                bool foldersOnly) {
    // The top of the repository is listed as "."; its entries keep their plain names, since
    // a path such as "./mod" can be listed by no cvs and belongs in no CVS/Repository.
    std::string prefix = path == "." ? std::string() : path;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    std::vector<CCVSModuleEntry> entries;
    std::string folder;
    for (std::string line : uifw::Split(output, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kMaxListingLine)
            break;
        const bool folderLine = !line.empty() && line[0] == 'D';
        if (foldersOnly && !folderLine)
            continue;
        const std::vector<std::string> pieces = SlashPieces(line);
        if (pieces.empty())
            continue;
        CCVSModuleEntry entry;
        if (folderLine) {
            folder = Piece(pieces, 1);
            entry.name = folder;
        } else {
            entry.name = folder.empty() ? pieces[0] : folder + "\\" + pieces[0];
            entry.revision = Piece(pieces, 1);
            entry.date = Piece(pieces, 2);
        }
        entry.path = prefix + entry.name;
        entries.push_back(entry);
    }
    return entries;
}

bool SameCvsRoot(const std::string& a, const std::string& b) {
    auto canonical = [](std::string root) {
        root = uifw::Trim(root);
        if (root.rfind(":local:", 0) == 0)
            root.erase(0, 7);
        if (root.rfind(":pserver:", 0) == 0) {
            const std::string::size_type port = root.find(":2401/");
            if (port != std::string::npos)
                root.erase(port + 1, 4);
        }
        while (root.size() > 1 && root.back() == '/')
            root.pop_back();
        return root;
    };
    return canonical(a) == canonical(b);
}

bool CCVSController::RunIn(const std::string& folder, std::initializer_list<std::string> command) {
    CCVSArgs args;
    for (const std::string& item : command)
        args.Add(item);
    return context_.RunInFolder(folder, args);
}

bool CCVSController::Logout() {
    Announce("Logging out ...");
    return RunIn(context_.GetLocalPath(), {"logout"});
}

std::vector<CCVSModuleEntry> CCVSController::GetModules(const std::string& cvsRoot,
                                                        const std::string& path, bool foldersOnly,
                                                        bool recursive) {
    Announce("Getting module listing ...");
    CCVSArgs args;
    for (const char* item : {"-d", cvsRoot.c_str(), "ls", "-e"})
        args.Add(item);
    if (recursive)
        args.Add("-R");
    args.Add(path);
    const std::string savedRoot = context_.GetCVSRoot();
    context_.SetCVSRoot(cvsRoot);
    context_.RunInFolder(".", args); // what it printed is the answer, whatever its result
    context_.SetCVSRoot(savedRoot);

    return ParseModuleListing(context_.GetOutput(), path, foldersOnly);
}

bool CCVSController::TestModule(const std::string& cvsRoot, const std::string& module) {
    Announce("Testing module ...");
    const std::string savedRoot = context_.GetCVSRoot();
    context_.SetCVSRoot(cvsRoot);
    const bool ok = RunIn(GetTempFolder(), {"ls", "-e", "-l", module});
    context_.SetCVSRoot(savedRoot);
    return ok;
}

bool CCVSController::Import(const std::string& module, const std::string& folder) {
    CSccSettings& settings = GetSettings();
    std::string vendor = settings.GetVendorName();
    std::replace(vendor.begin(), vendor.end(), ' ', '_');
    EnsureFolder(folder);
    SetCurrentFolderTo(folder);
    // A folder inside a working folder is added to it, not imported on its own.
    if (!IsCVSFolder(GetParentFolderNormalized(folder))) {
        Announce("Importing module ...");
        if (!RunIn(folder,
                   {"import", "-C", "-I *", "-m", context_.GetComment(), "--", module, vendor}))
            return false;
    }
    settings.UpdateModuleList(module, false);
    return true;
}

bool CCVSController::InitModuleFolder(const std::string& module, const std::string& folder) {
    if (!IsCVSFolder(folder)) {
        Announce("Initializing Module Folder ...");
        CreateAdminFolder(folder, context_.GetCVSRoot(), module);
    }
    if (!TestModule(context_.GetCVSRoot(), module))
        return false;
    Announce("Updating Module Folder ...");
    return RunIn(folder, {"update", "-l"});
}

bool CCVSController::BindFolder(const std::string& folder, const std::string& cvsRoot,
                                const std::string& module) {
    context_.SetCVSRoot(cvsRoot);
    std::string problem;
    if (IsCVSFolder(folder)) {
        problem = folder + " is already a working folder of " + ReadRoot(folder) + ".";
    } else if (!CreateAdminFolder(folder, cvsRoot, module)) {
        // Nothing may run there: a run whose folder is missing would run elsewhere.
        problem = "The folder " + folder + " cannot be made a working folder: its CVS folder " +
                  "cannot be written. Choose a folder you can write to.";
    } else {
        if (InitModuleFolder(module, folder))
            return true;
        RemoveAdminFolder(folder);
        if (Import(module, folder))
            return true;
        problem =
            "Could not connect " + folder + " to the module " + module + " of " + cvsRoot + ".";
        const std::string detail = uifw::Trim(context_.GetErrorText());
        if (!detail.empty())
            problem += "\n\n" + detail;
        problem += "\n\nCheck the repository and the module, then try again.";
    }
    context_.Echo(problem);
    uifw::ShowMessageBox(context_.GetWindow(), problem, "Morvek :> Error",
                         uifw::kMbOk | uifw::kMbIconError);
    return false;
}

bool CCVSController::ConnectProject(const std::string& module, const std::string& folder,
                                    bool repositoryEditable, IConnectDialog& dialog) {
    ConnectDialogValues values;
    values.repositoryEditable = repositoryEditable || context_.GetCVSRoot().empty();
    values.cvsRoot = context_.GetCVSRoot();
    values.localPath = folder;
    values.module = module.empty() ? GetFileNamePart(NormalizePath(folder)) : module;
    values.initialModule = GetModulePath(folder);
    while (dialog.Ask(values)) {
        if (BindFolder(folder, values.cvsRoot, values.module)) {
            context_.SetProjectModule(values.module);
            context_.SetLocalPath(FindWorkingCopyTop(folder));
            break;
        }
        if (!dialog.AnsweredByPerson())
            break;
    }
    return IsCVSFolder(folder);
}

bool CCVSController::UpdateFolder(const std::string& folder, bool recursive) {
    Announce("Checking Directory Status ...");
    if (!RunIn(folder, {"ls", "-q", ReadRepository(folder)}))
        return false;
    Announce("Updating Directory ...");
    return RunIn(folder, {"update", recursive ? "-R" : "-l", "-d"});
}
