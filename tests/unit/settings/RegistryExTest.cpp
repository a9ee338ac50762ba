// CRegistryEx: one list of exchange calls that both reads and writes.
#include "settings/RegistryEx.h"
#include "platform/Registry.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;
using testing_support::IsolatedUser;

constexpr const char* kProductPath = "software\\Morvek\\VODORO";

// The raw value as stored below the product key (an empty section: the key itself).
struct Raw {
    long result = -1;
    uint32_t type = 0;
    std::string data;
};

Raw Stored(const std::string& section, const std::string& name) {
    Raw raw;
    RegKey key = nullptr;
    std::string path = kProductPath;
    if (!section.empty())
        path += "\\" + section;
    raw.result = OpenRegKey(RegHive::CurrentUser, path, RegAccess::Read, &key);
    if (raw.result == kRegOk) {
        raw.result = QueryRegValue(key, name, &raw.type, &raw.data);
        CloseRegKey(key);
    }
    return raw;
}

void Store(const std::string& section, const std::string& name, uint32_t type,
           const std::string& data) {
    RegKey key = nullptr;
    ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, std::string(kProductPath) + "\\" + section, &key),
              kRegOk);
    ASSERT_EQ(SetRegValue(key, name, type, data), kRegOk);
    CloseRegKey(key);
}

class RegistryEx : public ::testing::Test {
protected:
    IsolatedUser user_;
};

TEST_F(RegistryEx, TheSameCallsSaveAndLoad) {
    std::string text = "c:\\tools\\diff.exe";
    bool flag = true;
    {
        CRegistryEx r("Morvek", "VODORO", false);
        ASSERT_TRUE(r.IsProductKeyOpen());
        r.OpenSection("SETTINGS");
        EXPECT_EQ(r.ExchangeString("DIFFEXE", text), kRegOk);
        EXPECT_EQ(r.ExchangeFlag("TRACELOG", flag), kRegOk);
        std::string empty;
        EXPECT_EQ(r.ExchangeString("EMPTY", empty), kRegOk);
    }
    EXPECT_EQ(Stored("SETTINGS", "TRACELOG").data, std::string("1\0", 2));
    Raw empty = Stored("SETTINGS", "EMPTY");
    EXPECT_EQ(empty.type, kRegSz);
    EXPECT_EQ(empty.data, std::string(1, '\0')) << "an empty text is its NUL alone";

    text.clear();
    flag = false;
    CRegistryEx r("Morvek", "VODORO", true);
    r.OpenSection("SETTINGS");
    EXPECT_EQ(r.ExchangeString("DIFFEXE", text), kRegOk);
    EXPECT_EQ(r.ExchangeFlag("TRACELOG", flag), kRegOk);
    EXPECT_EQ(text, "c:\\tools\\diff.exe");
    EXPECT_TRUE(flag);
}

TEST_F(RegistryEx, ReadingTakesOnlyStringsCutAtTheirNul) {
    Store("S", "Number", kRegDword, std::string("\x2a\0\0\0", 4));
    Store("S", "Expand", kRegExpandSz, std::string("%X%\0", 4));
    Store("S", "Inner", kRegSz, std::string("ab\0cd\0", 6));
    Store("S", "Big", kRegSz, std::string(1 << 20, 'b') + '\0');
    CRegistryEx r("Morvek", "VODORO", true);
    r.OpenSection("S");
    std::string text = "kept";
    EXPECT_EQ(r.ExchangeString("Number", text), kRegOk);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(r.ExchangeString("Expand", text), kRegOk);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(r.ExchangeString("Missing", text), kRegFileNotFound);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(r.ExchangeString("Inner", text), kRegOk);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(r.ExchangeString("Big", text), kRegOk);
    EXPECT_EQ(text.size(), 1u << 20);
}

TEST_F(RegistryEx, OnlyExactlyOneReadsAsTrue) {
    const struct {
        const char* stored;
        bool expected;
    } cases[] = {{"1", true}, {"0", false},   {"01", false}, {"true", false},
                 {"", false}, {"yes", false}, {"1 ", false}};
    for (const auto& c : cases) {
        Store("F", "Flag", kRegSz, std::string(c.stored) + '\0');
        CRegistryEx r("Morvek", "VODORO", true);
        r.OpenSection("F");
        for (bool before : {false, true}) {
            bool flag = before;
            r.ExchangeFlag("Flag", flag);
            EXPECT_EQ(flag, c.expected) << "'" << c.stored << "'";
            flag = before;
            r.ExchangeFlag("NotStored", flag);
            EXPECT_EQ(flag, before);
        }
    }
}

TEST_F(RegistryEx, DeleteAllValuesSkipsNone) {
    CRegistryEx r("Morvek", "VODORO", false);
    r.OpenSection("CVSROOTS");
    for (int i = 0; i < 5; ++i)
        r.ExchangeDefaultString("Root_" + std::to_string(i), "r");
    std::vector<std::string> names;
    r.EnumValueNames(names);
    EXPECT_EQ(names.size(), 5u);
    r.DeleteAllValues();
    names.clear();
    r.EnumValueNames(names);
    EXPECT_TRUE(names.empty());
}

TEST_F(RegistryEx, EnumerationPassesOverNamesTooLongForItsBuffer) {
    CRegistryEx r("Morvek", "VODORO", false);
    r.OpenSection("L");
    r.ExchangeDefaultString("short", "1");
    r.ExchangeDefaultString(std::string(CRegistryEx::kMaxEnumeratedName, 'n'), "2");
    r.ExchangeDefaultString(std::string(CRegistryEx::kMaxEnumeratedName + 1, 'o'), "3");
    std::vector<std::string> names;
    r.EnumValueNames(names);
    EXPECT_EQ(names.size(), 2u);
}

TEST_F(RegistryEx, SectionNames) {
    {
        CRegistryEx r("Morvek", "VODORO", false);
        // Not a key name: the values go to the product key itself.
        r.OpenSection("\\bad");
        r.ExchangeDefaultString("InProduct", "p");
        // A run of backslashes is one separator.
        r.OpenSection("deep\\\\\\inner");
        r.ExchangeDefaultString("InDeep", "d");
    }
    EXPECT_EQ(Stored("", "InProduct").result, kRegOk);
    EXPECT_EQ(Stored("deep\\inner", "InDeep").result, kRegOk);
}

TEST_F(RegistryEx, WithoutAProductKeyReadsFailAndWritesAreLost) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "a Windows user always has a registry to write to";
    testing_support::WriteFile(user_.Folder() + "/plain-file", "x");
    testing_support::ScopedEnv config("XDG_CONFIG_HOME", user_.Folder() + "/plain-file/below");
    CRegistryEx r("Morvek", "VODORO", true);
    EXPECT_FALSE(r.IsProductKeyOpen());
    r.OpenSection("SETTINGS");
    std::string text = "kept";
    EXPECT_NE(r.ExchangeString("EDITOR", text), kRegOk);
    EXPECT_EQ(text, "kept");
    r.SetLoading(false);
    EXPECT_NE(r.ExchangeString("EDITOR", text), kRegOk);
}

} // namespace
