// tools/scchost/Provider.cpp - loading the provider.
#include "tools/scchost/Provider.h"

#include "platform/Module.h"
#include "platform/PathStyle.h"

namespace scchost {

Provider::~Provider() {
    Unload();
}

bool Provider::Load(const std::string& path) {
    Unload();
    int code = 0;
    std::string text;
    library_ = platform::OpenLibrary(path, &code, &text);
    if (!library_) {
        error_ = "cannot load the provider '" + path + "': " + text;
        return false;
    }
    path_ = path;
    return true;
}

void Provider::Unload() {
    platform::CloseLibrary(library_);
    library_ = nullptr;
}

std::string DefaultProviderPath() {
    std::string self = platform::ExecutablePath();
    std::string::size_type sep = self.find_last_of("\\/");
    std::string folder = sep == std::string::npos ? std::string(".") : self.substr(0, sep);
    return folder + platform::kPathSeparator + platform::LibraryFileName("MorvekCVS");
}

} // namespace scchost
