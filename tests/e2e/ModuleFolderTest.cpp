// The folder of a module loaded by a relative path: the provider looks for the client
// library beside itself after every command has made some working folder the current one.
#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testing_support::BinDir;

TEST(ModuleFolder, StaysTheFolderItWasLoadedFromWhenTheCurrentFolderChanges) {
    testing_support::TempDir checkout("checkout");
    ASSERT_TRUE(platform::SetCurrentFolder(BinDir()));
    const std::string relative = std::string(".") + testing_support::Sep() +
                                 platform::LibraryFileName("morvek_module_facts");
    std::string error;
    platform::LibraryHandle module = platform::OpenLibrary(relative, nullptr, &error);
    ASSERT_NE(module, nullptr) << error;
    auto folder =
        reinterpret_cast<const char* (*)()>(platform::FindSymbol(module, "ModuleFactsFolder"));
    ASSERT_NE(folder, nullptr);

    ASSERT_TRUE(platform::SetCurrentFolder(checkout.Path()));
    EXPECT_EQ(std::string(folder()), BinDir());
    ASSERT_TRUE(platform::SetCurrentFolder(BinDir()));
    EXPECT_EQ(std::string(folder()), BinDir());
    platform::CloseLibrary(module);
}

// MORVEK_FAULT arms a module when it loads, on the thread that loads it: its second look-up
// fails, the others succeed, and the loading program's own calls are not counted.
TEST(ModuleFolder, AModuleIsArmedThroughTheEnvironmentWhenItLoads) {
    testing_support::ScopedEnv fault("MORVEK_FAULT", "lookup:2");
    std::string error;
    platform::LibraryHandle module = platform::OpenLibrary(
        BinDir() + testing_support::Sep() + platform::LibraryFileName("morvek_module_facts"),
        nullptr, &error);
    ASSERT_NE(module, nullptr) << error;
    auto exists =
        reinterpret_cast<int (*)(const char*)>(platform::FindSymbol(module, "ModuleFactsExists"));
    ASSERT_NE(exists, nullptr);
    const std::string here = BinDir();
    EXPECT_TRUE(platform::Exists(here));
    EXPECT_EQ(exists(here.c_str()), 1);
    EXPECT_EQ(exists(here.c_str()), 0);
    EXPECT_EQ(exists(here.c_str()), 1);
    EXPECT_TRUE(platform::Exists(here));
    platform::CloseLibrary(module);
}

} // namespace
