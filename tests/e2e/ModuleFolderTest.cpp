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

} // namespace
