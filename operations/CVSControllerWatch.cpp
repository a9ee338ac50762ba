// operations/CVSControllerWatch.cpp - the controller's editors and watchers: who has files
// open for edit, who watches them, and adding and removing the user's own watch.
#include "operations/CVSController.h"

#include "workcopy/PathFunctions.h"

namespace {

// What a failed listing leaves in the error message: the run's error text, which names the
// cause (no server, no working folder, ...), or, when cvs said nothing, what failed.
std::string ListingFailure(CCVSContext& context, const char* what,
                           const std::vector<std::string>& files) {
    std::string text = context.GetErrorText();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        text = std::string("The ") + what + " of " +
               (files.empty() ? std::string("no file") : GetFileNamePart(files.front())) +
               " could not be listed.";
    return text;
}

} // namespace

bool CCVSController::GetEditors(const std::vector<std::string>& files,
                                std::vector<CCVSEditor>& editors) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Getting file editors ...");
    if (!RunOn({"editors"}, files)) {
        SetErrorMessage(ListingFailure(context_, "editors", files));
        return false;
    }
    ParseEditors(context_.GetOutput(), editors);
    return true;
}

bool CCVSController::GetWatchers(const std::vector<std::string>& files,
                                 std::vector<CCVSWatcher>& watchers) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Getting file watchers ...");
    if (!RunOn({"watchers"}, files)) {
        SetErrorMessage(ListingFailure(context_, "watchers", files));
        return false;
    }
    ParseWatchers(context_.GetOutput(), watchers);
    return true;
}

bool CCVSController::AddWatch(const std::vector<std::string>& files) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Adding file watch ...");
    return RunOn({"watch", "add"}, files);
}

bool CCVSController::RemoveWatch(const std::vector<std::string>& files) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Removing file watch ...");
    return RunOn({"watch", "remove"}, files);
}
