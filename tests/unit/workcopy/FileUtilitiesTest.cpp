// Small file and text functions.
#include "workcopy/FileUtilities.h"
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "tests/support/TestSupport.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

// The bytes of a literal, NULs included, without the terminating NUL.
template <size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

TEST(DetectTextEncoding, Classes) {
    TempDir dir("enc");
    std::string utf16;
    for (char c : std::string(150, 'x') + "\r\n")
        utf16 += std::string(1, c) + '\0';
    struct Case {
        const char* name;
        std::string content;
        int expected;
    } const cases[] = {
        {"source.c", "int main(void)\r\n{\treturn 0;\n}\n", kEncodingText},
        {"empty", "", kEncodingText},
        {"zeros.bin", Bytes("\0\0\0\0abc"), kEncodingBinary}, // "nul" is a device on Windows
        {"bom8.txt", "\xEF\xBB\xBFhello\n", kEncodingText},
        {"ef.bin", Bytes("\xEF\xBB\x01\x02"), kEncodingBinary}, // not quite the UTF-8 mark
        {"be.txt", Bytes("\xFE\xFF\x00h\x00i"), kEncodingUnicode},
        {"le-bom.txt", Bytes("\xFF\xFEh\0i\0\r\0\n\0"), kEncodingUnicode},
        {"le-long.txt", "\xFF\xFE" + utf16, kEncodingUnicode}, // longer than the window read
        {"le-nobom.txt", utf16, kEncodingUnicode},
        {"latin1.txt", "caf\xE9\n", kEncodingBinary},
        {"ctrlz.txt", Bytes("text\x1A\x00\x01\x02"), kEncodingText}, // 0x1A ends the data
    };
    for (const Case& c : cases) {
        WriteFile(dir / c.name, c.content);
        EXPECT_EQ(DetectTextEncoding(dir / c.name), c.expected) << c.name;
    }
    EXPECT_EQ(DetectTextEncoding(dir.Path()), kEncodingUnknown);
    EXPECT_EQ(DetectTextEncoding(dir / "missing"), kEncodingUnknown);
}

TEST(FileUtilities, FolderOfPath) {
    TempDir dir("folder");
    WriteFile(dir / "f.c", "");
    EXPECT_EQ(GetFolderOfPath(dir.Path()), dir.Path());
    EXPECT_EQ(GetFolderOfPath(dir / "f.c"), dir.Path());
    EXPECT_EQ(GetFolderOfPath(dir / "missing.c"), dir.Path());
    if (platform::kNativePathStyle == platform::PathStyle::Windows) {
        EXPECT_EQ(GetFolderOfPath("C:\\nothing-here.c"), "C:\\");
    } else {
        EXPECT_EQ(GetFolderOfPath("/nothing-here.c"), "/");
    }
    EXPECT_EQ(GetFolderOfPath("name.c"), "");
}

TEST(FileUtilities, RemoveFileDeletesReadOnlyFiles) {
    TempDir dir("remove");
    const std::string file = dir / "ro.txt";
    WriteFile(file, "x");
    MakeReadOnly(file);
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(RemoveFile(file));
}

TEST(FileUtilities, CurrentAndTemporaryFolders) {
    TempDir dir("cwd");
    WriteFile(dir / "f.c", "");
    const std::string before = GetCurrentFolder();
    EXPECT_TRUE(SetCurrentFolderTo(dir / "f.c"));
    EXPECT_EQ(GetCurrentFolder(), NormalizePath(dir.Path()));
    EXPECT_TRUE(SetCurrentFolderTo(before));
    EXPECT_EQ(GetCurrentFolder(), before);

    const std::string temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_FALSE(IsPathSeparator(temp.back()));
    EXPECT_TRUE(platform::IsFolder(temp));
}

TEST(FileUtilities, TextComparisonsAndMarkers) {
    EXPECT_EQ(CompareNoCase("Module", "MODULE"), 0);
    EXPECT_EQ(CompareNoCase(nullptr, ""), 0);
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_LT(CompareNoCase("ab", "ABC"), 0);

    EXPECT_FALSE(IsValidPathResult("invalid"));
    EXPECT_TRUE(IsValidPathResult("INVALID"));
    EXPECT_TRUE(IsValidPathResult("invalid "));
    EXPECT_TRUE(IsValidPathResult(""));

    EXPECT_TRUE(SamePath("/a/b", "/a/b"));
    EXPECT_EQ(SamePath("/a/B", "/a/b"), platform::kFileNamesFoldCase);
}

TEST(FileUtilities, EnsureFolderAndVersion) {
    TempDir dir("ensure");
    const std::string deep = dir / "a" + testing_support::Sep() + "b";
    EXPECT_TRUE(EnsureFolder(deep));
    EXPECT_TRUE(platform::IsFolder(deep));
    EXPECT_TRUE(EnsureFolder(deep));

    const std::string version = GetModuleVersionText();
    int parts[4];
    char end;
    EXPECT_EQ(std::sscanf(version.c_str(), "%d.%d.%d.%d%c", &parts[0], &parts[1], &parts[2],
                          &parts[3], &end),
              4)
        << version;
}

} // namespace
