// tests/e2e/LoadedProvider.h - the built provider module loaded by path, as a host
// environment loads it, for the life of the object.
#pragma once

#include "platform/DynamicLibrary.h"
#include "tests/support/TestSupport.h"

#include <string>

namespace e2e {

// A product of the build (the provider, scchost, the helper programs).
inline std::string InBin(const std::string& name) {
    return testing_support::BinDir() + testing_support::Sep() + name;
}

class LoadedProvider {
public:
    LoadedProvider() {
        module_ =
            platform::OpenLibrary(InBin(platform::LibraryFileName("MorvekCVS")), nullptr, &error_);
    }
    ~LoadedProvider() { Unload(); }
    LoadedProvider(const LoadedProvider&) = delete;
    LoadedProvider& operator=(const LoadedProvider&) = delete;

    bool Ok() const { return module_ != nullptr; }
    const std::string& Error() const { return error_; }
    template <typename Fn> Fn Get(const char* name) {
        return reinterpret_cast<Fn>(platform::FindSymbol(module_, name));
    }
    void Unload() {
        platform::CloseLibrary(module_);
        module_ = nullptr;
    }

private:
    platform::LibraryHandle module_ = nullptr;
    std::string error_;
};

} // namespace e2e
