// ui/BrowseProgram.cpp - choosing a program for a setting.
#include "ui/BrowseProgram.h"

#include "settings/SccSettings.h"
#include "ui/framework/DialogHost.h"

std::string BrowseForProgram(platform::WindowHandle owner, const std::string& current) {
    uifw::FileDialogRequest request;
    request.filter = "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||";
    request.defaultExtension = "*.Exe";
    request.initialPath = current;
    request.hideReadOnly = true;
    request.overwritePrompt = true;
    std::optional<std::string> chosen = uifw::ChooseFileToOpen(owner, request);
    return chosen ? *chosen : current;
}

void ChangeStoredSettings(const std::function<void(CSccSettings&)>& change) {
    CSccSettings stored;
    change(stored);
}
