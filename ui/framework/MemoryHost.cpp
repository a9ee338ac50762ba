// ui/framework/MemoryHost.cpp - windows in memory: modal runs, children, modeless windows.
#include "ui/framework/MemoryHost.h"

#include <algorithm>

namespace uifw {

CMemoryHost::CMemoryHost(FaultSink faults) : faults_(std::move(faults)) {}

CMemoryHost::~CMemoryHost() {
    // Windows still open when the host goes (modeless ones, sessions kept too long) are
    // closed so that no dialog is left pointing at it.
    while (!windows_.empty()) {
        CMemoryWindow* top = windows_.begin()->second.get();
        while (top->Parent())
            top = top->Parent();
        Destroy(*top);
    }
}

void CMemoryHost::ReportFault(const std::string& message) const {
    if (faults_)
        faults_(message);
}

std::shared_ptr<CMemoryWindow> CMemoryHost::Realise(CWindowBase& model, CMemoryWindow* parent,
                                                    platform::WindowHandle owner) {
    auto window = std::make_shared<CMemoryWindow>(Key(), model, parent, owner, faults_);
    windows_[&model] = window;
    if (parent)
        parent->AddChild(window.get());
    model.HostAttach(Key(), this, window.get());
    return window;
}

DialogDriver CMemoryHost::MakeDriver(const std::shared_ptr<CMemoryWindow>& window) const {
    return DialogDriver(Key(), window, faults_);
}

std::shared_ptr<CMemoryWindow> CMemoryHost::OpenModal(CDialog& dialog) {
    if (dialog.IsRealised()) {
        ReportFault("dialog \"" + dialog.GetCaption() + "\" is shown again while it is open");
        return nullptr;
    }
    dialog.HostBeginModal(Key());
    std::shared_ptr<CMemoryWindow> window = Realise(dialog, nullptr, dialog.Owner());
    dialogsShown_.push_back(window->GetCaption());
    if (dialog.HostInit(Key()))
        window->PlaceInitialFocus();
    if (!window->Ended())
        window->ShowWindow(true);
    return window;
}

int CMemoryHost::RunModal(CDialog& dialog) {
    std::shared_ptr<CMemoryWindow> window = OpenModal(dialog);
    if (!window)
        return -1;
    if (!window->Ended()) {
        DialogDriver ui = MakeDriver(window);
        PlayModal(ui);
    }
    if (windows_.count(&dialog) && !window->Ended()) {
        ReportFault("dialog \"" + window->GetCaption() +
                    "\" was left open by whoever played it; it is closed with Cancel");
        dialog.EndDialog(kIdCancel);
    }
    const int result = window->Result();
    if (windows_.count(&dialog))
        Destroy(*window);
    return result;
}

bool CMemoryHost::CreateChild(CWindowBase& child, CWindowBase& parent) {
    auto it = windows_.find(&parent);
    if (it == windows_.end() || child.IsRealised()) {
        ReportFault(child.IsRealised() ? "a child window is created twice"
                                       : "a child window's parent is not open");
        return false;
    }
    std::shared_ptr<CMemoryWindow> window = Realise(child, it->second.get(), parent.Handle());
    if (child.HostInit(Key()))
        window->PlaceInitialFocus();
    return true;
}

bool CMemoryHost::CreateModeless(CModelessDialog& window, platform::WindowHandle owner) {
    if (window.IsRealised())
        return false;
    std::shared_ptr<CMemoryWindow> memory = Realise(window, nullptr, owner);
    modeless_.push_back(&window);
    if (window.HostInit(Key()))
        memory->PlaceInitialFocus();
    OnModelessCreated(*memory);
    return true;
}

void CMemoryHost::DestroyWindow(CWindowBase& window) {
    auto it = windows_.find(&window);
    if (it != windows_.end())
        Destroy(*it->second);
}

void CMemoryHost::Destroy(CMemoryWindow& window) {
    std::shared_ptr<CMemoryWindow> keep = windows_[&window.Model()];
    CWindowBase& model = window.Model();
    auto* modeless = dynamic_cast<CModelessDialog*>(&model);
    if (modeless)
        OnModelessDestroying(window);
    // As the system does: the window is told first, then its children.
    model.HostDestroy(Key());
    const std::vector<CMemoryWindow*> children = window.Children();
    for (CMemoryWindow* child : children)
        Destroy(*child);
    if (window.Parent())
        window.Parent()->RemoveChild(&window);
    model.HostDetach(Key());
    windows_.erase(&model);
    if (modeless) {
        modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), modeless), modeless_.end());
        modeless->HostAfterDestroy(Key());
    }
}

void CMemoryHost::BeginBusyCursor() {
    if (busyDepth_++ == 0)
        ++busyShown_;
}

void CMemoryHost::EndBusyCursor() {
    if (busyDepth_ > 0)
        --busyDepth_;
}

std::optional<std::string> CMemoryHost::BrowseForFolder(platform::WindowHandle owner,
                                                        const std::string& title) {
    PathRequest request;
    request.kind = PathRequest::Kind::Folder;
    request.owner = owner;
    request.title = title;
    pathRequests_.push_back(request);
    return AnswerPathRequest(request);
}

std::optional<std::string> CMemoryHost::ChooseFileToOpen(platform::WindowHandle owner,
                                                         const FileDialogRequest& file) {
    PathRequest request;
    request.kind = PathRequest::Kind::File;
    request.owner = owner;
    request.file = file;
    pathRequests_.push_back(request);
    return AnswerPathRequest(request);
}

void CMemoryHost::ShowHelp(const std::string& helpFile) {
    helpRequests_.push_back(helpFile);
}

DialogDriver CMemoryHost::DriverFor(const CWindowBase& window) {
    auto it = windows_.find(&window);
    if (it == windows_.end()) {
        ReportFault("a driver is asked for a window that is not open");
        return DialogDriver(Key(), std::weak_ptr<CMemoryWindow>(), faults_);
    }
    return MakeDriver(it->second);
}

std::vector<CModelessDialog*> CMemoryHost::ModelessWindows() const {
    return modeless_;
}

} // namespace uifw
