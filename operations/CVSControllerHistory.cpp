// operations/CVSControllerHistory.cpp - the controller's history operations: a file's log,
// the tags of a folder, the content of one revision, the differences of a working file and
// the log message of a revision.
#include "operations/CVSController.h"

#include "engine/CVSArgs.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

namespace {

// Revisions that come back byte for byte: binary files, and Unicode ones, whose UTF-16 a
// line-end conversion would break. Text never holds a NUL, so a revision with one is not
// converted either, whatever CVS/Entries says (or when it says nothing).
bool KeepsItsBytes(const std::string& file, const std::string& content) {
    const std::string options = GetEntryOptions(file);
    return options == "-kb" || options == "-ku" || content.find('\0') != std::string::npos;
}

// Text as cvs printed it, with the platform's line ends: every CR LF and every LF becomes
// one platform line end; a lone CR stays.
std::string WithPlatformLineEnds(const std::string& content) {
    const std::string eol = platform::kTextLineEnd;
    std::string text;
    text.reserve(content.size() + (eol.size() > 1 ? content.size() / 16 : 0));
    for (std::string::size_type i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            continue;
        if (c == '\n')
            text += eol;
        else
            text += c;
    }
    return text;
}

// Before a revision replaces a working file, the file's own content is kept beside it as
// .#NAME.REV (REV: its revision in CVS/Entries), the name cvs gives a file it replaces,
// unless that content is elsewhere already: in the repository (the file is as cvs wrote
// it), in the revision that comes, or in a kept file of that name. A kept file with other
// content is never overwritten: the next free name .#NAME.REV~2, ~3, ... is taken.
// Gives the kept file's path ("" when nothing needed keeping); false when the content
// needed keeping and could not be kept, and then the working file is as it was.
bool KeepWorkingFile(CCVSContext& context, const std::string& file, const std::string& incoming,
                     std::string& kept) {
    kept.clear();
    if (!platform::Exists(file) || IsFileUnchanged(file))
        return true;
    std::string own;
    const bool readable = platform::ReadWholeFile(file, own);
    if (readable && own == incoming)
        return true;
    const std::string revision = GetEntryRevision(file);
    const std::string base =
        JoinPath(GetParentFolder(file),
                 ".#" + GetFileNamePart(file) + (revision.empty() ? "" : ".") + revision);
    std::string keep = base;
    for (int n = 2; platform::Exists(keep); ++n) {
        std::string existing;
        if (readable && platform::ReadWholeFile(keep, existing) && existing == own) {
            context.Echo("The local changes of " + file + " are kept in " + keep + " already");
            return true;
        }
        keep = base + "~" + std::to_string(n);
    }
    if (!platform::MoveFileTo(file, keep, false)) {
        context.Echo("Could not keep the local changes of " + file + " as " + keep +
                     "; the file is left as it is");
        return false;
    }
    kept = keep;
    context.Echo("Kept the local changes of " + file + " as " + keep);
    return true;
}

} // namespace

std::vector<CCVSLogEntry> CCVSController::GetHistory(const std::string& file) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Getting file history ...");
    CCVSArgs args;
    args.Add("log");
    context_.RunOnFiles(args, {file}); // a failed log leaves an output to read, or none
    return ParseLog(context_.GetOutput(), GetEntryRevision(file));
}

bool CCVSController::GetTags(const std::string& path, std::vector<std::string>& tags) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Getting tag list ...");
    CCVSArgs args;
    args.Add("log");
    args.Add("-h");
    context_.RunInFolder(path, args);
    ParseTagNames(context_.GetOutput(), tags);
    return true;
}

std::string CCVSController::GetRevision(const std::string& file, const std::string& revision,
                                        bool replaceLocal) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Getting file revision ...");
    std::string cvsFolder = GetParentFolder(file);
    AppendPath(cvsFolder, "CVS");
    if (!PathExists(cvsFolder))
        return kInvalidPathResult;
    std::string diffFolder = cvsFolder;
    AppendPath(diffFolder, "Diff");
    platform::MakeFolder(diffFolder);

    CCVSArgs args;
    args.Add("update");
    args.Add("-p");
    if (!revision.empty()) {
        args.Add("-r");
        args.Add(revision.c_str());
    }
    if (!context_.RunOnFiles(args, {file}))
        return kInvalidPathResult;

    const std::string name = GetFileNamePart(file);
    std::string target = file;
    if (!replaceLocal) {
        target = diffFolder;
        AppendPath(target, name + "." + revision);
    }
    const std::string output = context_.GetOutput();
    const std::string content = KeepsItsBytes(file, output) ? output : WithPlatformLineEnds(output);

    // Written beside the target first and then renamed over it, so that a failed write
    // leaves the old file where it was.
    const std::string partial = JoinPath(diffFolder, name + ".~fetch");
    if (!platform::WriteWholeFile(partial, content)) {
        RemoveFile(partial);
        context_.Echo("Could not write the revision to " + partial);
        return kInvalidPathResult;
    }
    std::string kept;
    if (replaceLocal && !KeepWorkingFile(context_, file, content, kept)) {
        RemoveFile(partial);
        return kInvalidPathResult;
    }
    if (PathExists(target))
        MakeWritable(target);
    if (!platform::MoveFileTo(partial, target, true)) {
        RemoveFile(partial);
        if (!kept.empty() && platform::MoveFileTo(kept, file, false))
            context_.Echo("Could not replace " + target + "; " + kept + " is back in its place");
        else
            context_.Echo("Could not write the revision to " + target);
        return kInvalidPathResult;
    }
    MakeReadOnly(target);
    return target;
}

bool CCVSController::DiffFile(const std::string& file, std::string& difference) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Comparing file ...");
    if (!PathExists(file))
        return false;
    CCVSArgs args;
    args.Add("diff");
    context_.SetQuiet(true);
    context_.RunOnFiles(args, {file}); // cvs says "differs" with a failure status
    context_.SetQuiet(false);
    difference = context_.GetOutput();
    return context_.GetErrorText().empty();
}

bool CCVSController::SetLogMessage(const std::string& file, const std::string& revision,
                                   const std::string& message) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Updating file annotation ...");
    CCVSArgs args;
    args.Add("admin");
    args.Add("-m");
    args.Add((revision + ":" + message).c_str());
    return context_.RunOnFiles(args, {file});
}
