// tests/support/CvsGlueClient.cpp - driving the built client library.
#include "tests/support/CvsGlueClient.h"

#include "platform/DynamicLibrary.h"
#include "tests/support/TestSupport.h"

namespace testing_support {

CvsGlueClient::CvsGlueClient()
    : CvsGlueClient(BinDir() + Sep() + platform::LibraryFileName("cvs2ntlib")) {}

CvsGlueClient::CvsGlueClient(const std::string& path) {
    library_ = platform::OpenLibrary(path, nullptr, &loadError_);
    if (!library_)
        return;
    auto find = [this](const char* name) { return platform::FindSymbol(library_, name); };
    abort_ = reinterpret_cast<DllGlueAbortFn>(find("dllglue_abort"));
    setOut_ = reinterpret_cast<DllGlueSetConsoleFn>(find("dllglue_setconsoleout"));
    setErr_ = reinterpret_cast<DllGlueSetConsoleFn>(find("dllglue_setconsoleerr"));
    setExit_ = reinterpret_cast<DllGlueSetExitFn>(find("dllglue_setconsoleexit"));
    setGetEnv_ = reinterpret_cast<DllGlueSetGetEnvFn>(find("dllglue_setgetenv"));
    auto main = reinterpret_cast<DllGlueMainFn>(find("dllglue_main"));
    if (abort_ && setOut_ && setErr_ && setExit_ && setGetEnv_ && main)
        main_ = main;
    else
        loadError_ = "an entry point is missing from " + path;
}

CvsGlueClient::~CvsGlueClient() {
    platform::CloseLibrary(library_);
}

CvsGlueClient::Result CvsGlueClient::Run(const std::string& executable,
                                         const std::vector<std::string>& args) {
    current_ = Result();
    asked.clear();
    if (!main_) {
        current_.rc = -100;
        current_.err = "library not loaded: " + loadError_;
        return current_;
    }
    setOut_(&OnOut);
    setErr_(&OnErr);
    setExit_(&OnExit);
    setGetEnv_(&OnGetEnv);
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    current_.rc = main_(executable.c_str(), static_cast<int>(argv.size()), argv.data(), this);
    return current_;
}

void CvsGlueClient::Abort() {
    if (abort_)
        abort_(this);
}

int CvsGlueClient::OnOut(const char* text, size_t length, void* user, void*) {
    auto* self = static_cast<CvsGlueClient*>(user);
    std::string chunk(text, length);
    self->current_.out += chunk;
    self->current_.outChunks.push_back(chunk);
    if (self->onOutput)
        self->onOutput(*self, chunk);
    return 0;
}

int CvsGlueClient::OnErr(const char* text, size_t length, void* user, void*) {
    auto* self = static_cast<CvsGlueClient*>(user);
    std::string chunk(text, length);
    self->current_.err += chunk;
    if (self->onError)
        self->onError(*self, chunk);
    return 0;
}

int CvsGlueClient::OnExit(int result, void* user) {
    auto* self = static_cast<CvsGlueClient*>(user);
    ++self->current_.exitCalls;
    self->current_.exitResult = result;
    return 0;
}

const char* CvsGlueClient::OnGetEnv(const char* name, void* user) {
    auto* self = static_cast<CvsGlueClient*>(user);
    self->asked.push_back(name);
    if (self->onAsk && (std::string(name) == "CVS_GETPASS" || std::string(name) == "CVSLIB_YESNO"))
        self->onAsk(*self, name);
    auto it = self->env.find(name);
    return it == self->env.end() ? nullptr : it->second.c_str();
}

std::string FakeCvsPath() {
#ifdef _WIN32
    return BinDir() + Sep() + "fakecvs.exe";
#else
    return BinDir() + Sep() + "fakecvs";
#endif
}

} // namespace testing_support
