// ui/framework/DialogHost.cpp - the process's host and the scopes that use it.
#include "ui/framework/DialogHost.h"

#include "platform/Help.h"
#include "ui/framework/HostChoice.h"

#include <atomic>
#include <cstdio>

namespace uifw {
namespace {
std::atomic<IDialogHost*> g_installed{nullptr};
} // namespace

IDialogHost& Host() {
    if (IDialogHost* host = g_installed.load())
        return *host;
    return ProcessHost();
}

ScopedHost::ScopedHost(IDialogHost& host) : previous_(g_installed.exchange(&host)) {}

ScopedHost::~ScopedHost() {
    g_installed.store(previous_);
}

std::optional<std::string> BrowseForFolder(platform::WindowHandle owner, const std::string& title) {
    return Host().BrowseForFolder(owner, title);
}

void IDialogHost::ShowHelp(const std::string& helpFile) {
    platform::ShowHtmlHelp(helpFile);
}

void ShowHelp(const std::string& helpFile) {
    Host().ShowHelp(helpFile);
}

std::optional<std::string> ChooseFileToOpen(platform::WindowHandle owner,
                                            const FileDialogRequest& request) {
    return Host().ChooseFileToOpen(owner, request);
}

void WriteToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void WriteToStandardOutput(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

CWaitCursor::CWaitCursor() {
    Host().BeginBusyCursor();
}

CWaitCursor::~CWaitCursor() {
    Host().EndBusyCursor();
}

CConsoleTextScope::CConsoleTextScope() {
    Host().BeginConsoleText();
}

CConsoleTextScope::~CConsoleTextScope() {
    Host().EndConsoleText();
}

} // namespace uifw
