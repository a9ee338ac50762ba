// The built provider module, loaded by path as a host environment loads it.
#include "platform/DynamicLibrary.h"
#include "platform/PathStyle.h"
#include "scc/SccApi.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string ProviderPath() {
    return testing_support::BinDir() + testing_support::Sep() +
           platform::LibraryFileName("MorvekCVS");
}

TEST(ProviderModule, LoadsAndAnswersTheVersion) {
    testing_support::IsolatedUser user; // loading reads and writes the user's settings
    std::string error;
    platform::LibraryHandle module = platform::OpenLibrary(ProviderPath(), nullptr, &error);
    ASSERT_NE(module, nullptr) << error;
    auto getVersion =
        reinterpret_cast<SccLong (*)()>(platform::FindSymbol(module, "SccGetVersion"));
    ASSERT_NE(getVersion, nullptr);
    EXPECT_EQ(getVersion(), 0x00010001);
    platform::CloseLibrary(module);
}

TEST(ProviderModule, LoadingTakesTheScriptedAnswersOutOfTheEnvironment) {
    testing_support::IsolatedUser user;
    testing_support::ScopedEnv password("MORVEK_ANSWER_PASSWORD", "secret");
    testing_support::ScopedEnv host("MORVEK_UI_HOST", "headless");
    platform::LibraryHandle module = platform::OpenLibrary(ProviderPath());
    ASSERT_NE(module, nullptr);
    // Children of the host (cvs, the external tools) must never see the password.
    EXPECT_EQ(testing_support::GetEnv("MORVEK_ANSWER_PASSWORD"), "");
    platform::CloseLibrary(module);
}

} // namespace
