// tools/scchost/Provider.h - the provider module as a host environment sees it: a library
// loaded by path, reached only through its exported functions.
#pragma once

#include "platform/DynamicLibrary.h"
#include "scc/SccApi.h"

#include <string>

namespace scchost {

class Provider {
public:
    Provider() = default;
    ~Provider();
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;

    // Loads the module; on failure returns false and leaves the reason in Error().
    bool Load(const std::string& path);
    void Unload();
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }

    // The export of that name cast to the given function type, or null (Error() says which).
    template <typename Fn> Fn Resolve(const char* name) {
        void* symbol = platform::FindSymbol(library_, name);
        if (!symbol)
            error_ = std::string("the provider has no export ") + name;
        return reinterpret_cast<Fn>(symbol);
    }

private:
    platform::LibraryHandle library_ = nullptr;
    std::string path_;
    std::string error_;
};

// The default provider: the module beside this program.
std::string DefaultProviderPath();

} // namespace scchost
