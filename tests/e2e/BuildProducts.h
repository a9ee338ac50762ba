// tests/e2e/BuildProducts.h - what the build made, as its users meet it: the provider module
// loaded by path as a host environment loads it, and the programs (scchost) run by path.
#pragma once

#include "platform/DynamicLibrary.h"
#include "platform/Module.h"
#include "tests/support/TestSupport.h"

#include <string>
#include <vector>

namespace e2e {

// A product of the build (the provider, scchost, the helper programs).
inline std::string InBin(const std::string& name) {
    return testing_support::BinDir() + testing_support::Sep() + name;
}

// A program of the build, with ".exe" where programs carry it.
inline std::string ProgramPath(const std::string& name) {
    const std::string self = platform::ExecutablePath();
    const bool exe = self.size() > 4 && self.compare(self.size() - 4, 4, ".exe") == 0;
    return InBin(name + (exe ? ".exe" : ""));
}

// Runs scchost with the arguments in the folder. Its line ends are the platform's; the
// result has plain line feeds, so that one expectation holds everywhere.
inline testing_support::RunResult RunScchost(const std::vector<std::string>& args,
                                             const std::string& folder = "") {
    std::vector<std::string> argv{ProgramPath("scchost")};
    argv.insert(argv.end(), args.begin(), args.end());
    testing_support::RunResult r = testing_support::Run(argv, folder);
    for (std::string* text : {&r.out, &r.err})
        for (std::string::size_type at = 0; (at = text->find("\r\n", at)) != std::string::npos;)
            text->erase(at, 1);
    return r;
}

// The provider loaded for the life of the object.
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
