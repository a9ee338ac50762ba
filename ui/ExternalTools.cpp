// ui/ExternalTools.cpp - the command lines of the text editor and the diff tool.
#include "ui/ExternalTools.h"

#include "engine/CVSContext.h"
#include "platform/Launch.h"
#include "platform/Module.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/FileUtilities.h"

namespace {

std::string TrimBlanks(const std::string& text) {
    const std::string::size_type from = text.find_first_not_of(" \t\r\n");
    if (from == std::string::npos)
        return std::string();
    return text.substr(from, text.find_last_not_of(" \t\r\n") - from + 1);
}

std::string RemoveAll(std::string text, const std::string& what) {
    if (what.empty())
        return text;
    for (std::string::size_type at; (at = text.find(what)) != std::string::npos;)
        text.erase(at, what.size());
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Present: the text holds it, and not first at its very start.
bool HasPlaceholder(const std::string& arguments, const char* placeholder) {
    const std::string::size_type at = arguments.find(placeholder);
    return at != std::string::npos && at != 0;
}

// Every "%1" and "%2" of the template replaced in one pass.
std::string Substitute(const std::string& text, const std::string& first,
                       const std::string& second) {
    std::string out;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

ToolText SplitToolText(const std::string& setting) {
    ToolText tool;
    tool.executable = TrimBlanks(RemoveAll(RemoveAll(setting, "%1"), "%2"));
    tool.arguments = RemoveAll(setting, tool.executable);
    return tool;
}

std::string RevisionFileList(const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& file : files)
        list += Quoted(file) + " ";
    return list;
}

std::string HistoryToolCommandLine(const std::string& setting, const std::string& revisionFiles,
                                   const std::string& workingFile, bool useDiffTool,
                                   bool withWorkingFile) {
    const ToolText tool = SplitToolText(setting);
    const std::string program = Quoted(tool.executable);
    if (!useDiffTool || !withWorkingFile)
        return program + " " + revisionFiles;
    const bool first = HasPlaceholder(tool.arguments, "%1");
    const bool second = HasPlaceholder(tool.arguments, "%2");
    if (first && second)
        return program + " " + Substitute(tool.arguments, Quoted(workingFile), revisionFiles);
    if (first)
        return program + " " + Quoted(workingFile) + " " + revisionFiles;
    return program + " " + revisionFiles + " " + Quoted(workingFile);
}

std::string CompareCommandLine(const std::string& diffExe, const std::string& workingFile,
                               const std::string& revisionFile) {
    const ToolText tool = SplitToolText(TrimBlanks(diffExe));
    const std::string program = Quoted(tool.executable);
    const bool first = HasPlaceholder(tool.arguments, "%1");
    const bool second = HasPlaceholder(tool.arguments, "%2");
    if (first && second)
        return program + " " +
               Substitute(tool.arguments, Quoted(workingFile), Quoted(revisionFile));
    if (first)
        return program + " " + Quoted(workingFile) + " " + Quoted(revisionFile);
    return program + " " + Quoted(revisionFile) + " " + Quoted(workingFile);
}

bool StartExternalTool(CCVSContext& context, const std::string& commandLine,
                       const std::string& setting, const std::string& caption) {
    const std::string folder = platform::ThisModuleFolder();
    SetCurrentFolderTo(folder);
    std::string reason;
    if (platform::StartProgram(commandLine, folder, reason))
        return true;
    const std::vector<std::string> words = platform::SplitWindowsCommandLine(commandLine);
    const std::string message = "Could not start \"" + words[0] + "\" (" + setting + "): " + reason;
    context.Echo(message, kTextKindInfo);
    if (caption.empty())
        uifw::ShowAppMessageBox(nullptr, message, uifw::kMbOk);
    else
        uifw::ShowMessageBox(nullptr, message, caption, uifw::kMbOk);
    return false;
}
