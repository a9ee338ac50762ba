// The registry of the platform layer: the same answers from the Win32 registry and from the
// REGEDIT4 files that stand in for it on POSIX; on POSIX also the files themselves.
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace platform;
using testing_support::IsolatedUser;
using testing_support::ReadFile;
using testing_support::WriteFile;

constexpr const char* kTestKey = "software\\MorvekStoreTest";

// An open key that closes itself.
struct Key {
    RegKey key = nullptr;
    Key() = default;
    Key(const Key&) = delete;
    ~Key() { CloseRegKey(key); }
    RegKey* operator&() { return &key; }
    operator RegKey() const { return key; }
};

std::string Dword(uint32_t n) {
    std::string data;
    for (int i = 0; i < 4; ++i)
        data += static_cast<char>((n >> (8 * i)) & 0xFF);
    return data;
}

// A string as written with its terminating NUL.
std::string Sz(const char* text) {
    return std::string(text) + '\0';
}

struct Stored {
    long result = -1;
    uint32_t type = 0;
    std::string data;
};

Stored Query(RegKey key, const std::string& name) {
    Stored s;
    s.result = QueryRegValue(key, name, &s.type, &s.data);
    return s;
}

std::vector<std::string> Names(RegKey key) {
    std::vector<std::string> names;
    std::string name;
    for (uint32_t i = 0; EnumRegValueName(key, i, &name) == kRegOk; ++i)
        names.push_back(name);
    return names;
}

class RegistryStore : public ::testing::Test {
protected:
    IsolatedUser user_;
};

TEST_F(RegistryStore, ValuesOfEveryTypeComeBackByteForByte) {
    const std::string big(1 << 20, 'q');
    const struct {
        const char* name;
        uint32_t type;
        std::string data;
    } values[] = {
        {"Text", kRegSz, std::string("c:\\a \"b\"\0", 10)},
        {"Empty", kRegSz, std::string("\0", 1)},
        {"Lines", kRegSz, std::string("title\r\nbody\n\0", 13)},
        {"Expand", kRegExpandSz, std::string("%TEMP%\\x\0", 9)},
        {"Number", kRegDword, Dword(0xDEADBEEF)},
        {"Bytes", kRegBinary, std::string("\x00\xff\x10", 3)},
        {"Big", kRegSz, big + '\0'},
        // What a quoted string could mistake for escapes, and what it cannot hold.
        {"Backslashes", kRegSz, Sz(R"(c:\new\table\ \" \\ \r\)")},
        {"Controls", kRegSz, Sz("\x01\x1b[0m\x7f\rend")},
        {R"(c:\dir\"x\n)", kRegSz, Sz("named")},
        {"", kRegSz, std::string("default\0", 8)},
    };
    {
        Key key;
        ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, kTestKey, &key), kRegOk);
        for (const auto& v : values)
            ASSERT_EQ(SetRegValue(key, v.name, v.type, v.data), kRegOk) << v.name;
    }
    Key key;
    ASSERT_EQ(OpenRegKey(RegHive::CurrentUser, kTestKey, RegAccess::Read, &key), kRegOk);
    for (const auto& v : values) {
        Stored s = Query(key, v.name);
        EXPECT_EQ(s.result, kRegOk) << v.name;
        EXPECT_EQ(s.type, v.type) << v.name;
        EXPECT_TRUE(s.data == v.data) << v.name << ": " << s.data.size() << " bytes";
    }
    EXPECT_EQ(Query(key, "Missing").result, kRegFileNotFound);
}

TEST_F(RegistryStore, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    {
        Key key;
        ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, "Software\\MorvekStoreTest\\Mixed", &key),
                  kRegOk);
        ASSERT_EQ(SetRegString(key, "Alpha", "1"), kRegOk);
        ASSERT_EQ(SetRegString(key, "ALPHA", "2"), kRegOk);
    }
    Key key;
    ASSERT_EQ(
        OpenRegKey(RegHive::CurrentUser, "SOFTWARE\\morvekstoretest\\MIXED", RegAccess::Read, &key),
        kRegOk);
    EXPECT_EQ(Names(key), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(Query(key, "alpha").data, std::string("2\0", 2));
}

TEST_F(RegistryStore, EnumeratesDeletesAndClears) {
    Key key;
    ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, kTestKey, &key), kRegOk);
    for (const char* name : {"Root_0", "Root_1", "Root_2", "Root_3", "Root_4"})
        ASSERT_EQ(SetRegString(key, name, name), kRegOk);
    std::string name;
    EXPECT_EQ(EnumRegValueName(key, 5, &name), kRegNoMoreItems);
    EXPECT_EQ(DeleteRegValue(key, "Root_2"), kRegOk);
    EXPECT_EQ(DeleteRegValue(key, "Root_2"), kRegFileNotFound);
    std::vector<std::string> names = Names(key);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Root_0", "Root_1", "Root_3", "Root_4"}));
    EXPECT_EQ(DeleteAllRegValues(key), kRegOk);
    EXPECT_TRUE(Names(key).empty());
    EXPECT_EQ(FlushRegKey(key), kRegOk);
}

TEST_F(RegistryStore, KeyPaths) {
    Key created;
    ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, "software\\MorvekStoreTest\\\\\\a\\b\\", &created),
              kRegOk);
    ASSERT_EQ(SetRegString(created, "v", "x"), kRegOk);
    Key same;
    EXPECT_EQ(
        OpenRegKey(RegHive::CurrentUser, "software\\MorvekStoreTest\\a\\b", RegAccess::Read, &same),
        kRegOk);
    EXPECT_EQ(Query(same, "v").result, kRegOk);

    Key bad;
    EXPECT_EQ(CreateRegKey(RegHive::CurrentUser, "\\software\\x", &bad), kRegBadPathname);
    EXPECT_NE(CreateRegKey(created, std::string(300, 'k'), &bad), kRegOk);
    EXPECT_EQ(OpenRegKey(RegHive::CurrentUser, "software\\NoSuchKey\\Below", RegAccess::Read, &bad),
              kRegFileNotFound);
    EXPECT_EQ(bad.key, nullptr);

    Key readOnly;
    ASSERT_EQ(OpenRegKey(RegHive::CurrentUser, kTestKey, RegAccess::Read, &readOnly), kRegOk);
    EXPECT_EQ(SetRegString(readOnly, "v", "x"), kRegAccessDenied);
    EXPECT_EQ(QueryRegValue(nullptr, "v", nullptr, nullptr), kRegInvalidHandle);
}

// The files that stand in for the registry on POSIX.
class RegistryFiles : public RegistryStore {
protected:
    void SetUp() override {
        if (testing_support::RunningUnderWine())
            GTEST_SKIP() << "the Windows build keeps no registry files";
    }
};

std::string Section(const std::string& file, const std::string& key) {
    std::string text = ReadFile(file);
    std::string::size_type at = text.find("[" + key + "]\n");
    if (at == std::string::npos)
        return "(missing " + key + ")";
    std::string::size_type end = text.find("\n\n", at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
}

TEST_F(RegistryFiles, FileIsRegedit4InCreationOrder) {
    {
        Key key;
        ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, kTestKey, &key), kRegOk);
        SetRegString(key, "Zeta", "c:\\x \"q\"");
        SetRegString(key, "Alpha", "two\nlines");
        SetRegValue(key, "Path", kRegExpandSz, std::string("%A%\0", 4));
        SetRegValue(key, "N", kRegDword, Dword(42));
        SetRegString(key, "", "");
        // A name the file cannot hold on one line is refused, never written as broken lines.
        EXPECT_EQ(SetRegString(key, "two\nlines", "x"), kRegInvalidParameter);
        Key below;
        EXPECT_EQ(CreateRegKey(key, "two\nlines", &below), kRegInvalidParameter);
        EXPECT_EQ(below.key, nullptr);
    }
    const std::string text = ReadFile(user_.UserHiveFile());
    EXPECT_EQ(text.find("lines\""), std::string::npos) << text;
    EXPECT_EQ(text.compare(0, 10, "REGEDIT4\n\n"), 0) << text;
    EXPECT_EQ(Section(user_.UserHiveFile(), "HKEY_CURRENT_USER\\software\\MorvekStoreTest"),
              "[HKEY_CURRENT_USER\\software\\MorvekStoreTest]\n"
              "\"Zeta\"=\"c:\\\\x \\\"q\\\"\"\n"
              "\"Alpha\"=hex(1):74,77,6f,0a,6c,69,6e,65,73,00\n"
              "\"Path\"=hex(2):25,41,25,00\n"
              "\"N\"=dword:0000002a\n"
              "@=\"\"\n");
    Key key;
    ASSERT_EQ(OpenRegKey(RegHive::CurrentUser, kTestKey, RegAccess::Read, &key), kRegOk);
    EXPECT_EQ(Names(key), (std::vector<std::string>{"Zeta", "Alpha", "Path", "N", ""}));
}

// A file typed by hand, as the README invites on Linux, reads as the registry editor imports
// it, and a write brings each value back as it was read.
TEST_F(RegistryFiles, HandEditedFileReadsAsTheRegistryEditorImportsIt) {
    const std::string settings = "[HKEY_CURRENT_USER\\software\\Morvek\\VODORO\\SETTINGS]\n";
    const struct {
        const char* line; // as typed below the key's header
        const char* name;
        const char* text; // what the value reads as
    } cases[] = {
        {R"("EDITOR"="c:\windows\notepad.exe")", "EDITOR", R"(c:\windows\notepad.exe)"},
        {R"("Escaped"="c:\\new\\table")", "Escaped", R"(c:\new\table)"},
        {R"("Quoted"="say \"hi\"")", "Quoted", R"(say "hi")"},
        {R"("Letters"="\r\t\0\x41\u")", "Letters", R"(\r\t\0\x41\u)"},
        {R"("Mixed"="\\\n\\")", "Mixed", R"(\\n\)"},
        {R"("c:\path"="named with a backslash")", "c:\\path", "named with a backslash"},
        {R"(  "Blanks"  =  "kept inside "  )", "Blanks", "kept inside "},
        {R"("Dup"="first")", "Dup", "last"},
    };
    std::string file = "REGEDIT4\n\n" + settings;
    std::vector<std::string> names;
    for (const auto& c : cases) {
        file += std::string(c.line) + "\n";
        names.push_back(c.name);
    }
    file += "[HKEY_CURRENT_USER\\software\\Other]\n\"X\"=\"1\"\n" + settings + "\"DUP\"=\"last\"\n";
    ASSERT_TRUE(platform::MakeFolderTree(user_.Folder() + "/config/Morvek"));
    WriteFile(user_.UserHiveFile(), file);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "as typed" : "as written back");
        Key key;
        ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, "software\\Morvek\\VODORO\\SETTINGS", &key),
                  kRegOk);
        for (const auto& c : cases) {
            Stored s = Query(key, c.name);
            EXPECT_EQ(s.result, kRegOk) << c.line;
            EXPECT_EQ(s.type, kRegSz) << c.line;
            EXPECT_TRUE(s.data == std::string(c.text) + '\0') << c.line << " read as " << s.data;
        }
        EXPECT_EQ(Names(key), names);
        if (round == 0) {
            ASSERT_EQ(SetRegString(key, "Written", "1"), kRegOk);
            names.push_back("Written");
        }
    }
    const std::string after = ReadFile(user_.UserHiveFile());
    EXPECT_NE(after.find(R"("EDITOR"="c:\\windows\\notepad.exe")"), std::string::npos) << after;
    EXPECT_EQ(after.find(R"("Dup"="first")"), std::string::npos) << after;
    EXPECT_EQ(after.find("\"DUP\""), std::string::npos) << after;
}

// Lines that are not REGEDIT4: reported once, the sound rest read, and all of it kept when
// the file is written again.
TEST_F(RegistryFiles, DamagedFileIsReadAsFarAsSoundAndNeverShrinks) {
    const std::string header = "[HKEY_CURRENT_USER\\software\\Morvek\\VODORO\\SETTINGS]\n";
    const struct {
        const char* what;
        std::string text;
        const char* garbage; // a line that must survive a write
    } cases[] = {
        {"no signature", "garbage first\n" + header + "\"A\"=\"1\"\n", "garbage first"},
        {"line between values", "REGEDIT4\n\n" + header + "\"A\"=\"1\"\nthis is not a value\n",
         "this is not a value"},
        {"bad data", "REGEDIT4\n\n" + header + "\"A\"=\"1\"\n\"B\"=dword:xyz\n", "\"B\"=dword:xyz"},
        {"truncated", "REGEDIT4\n\n" + header + "\"A\"=\"1\"\n\"B\"=\"unterminat",
         "\"B\"=\"unterm"},
        {"NUL bytes and CR LF",
         "REGEDIT4\r\n\r\n" + header + "\"A\"=\"1\"\r\n" +
             std::string("\"B\"=\"x\"\0\0junk\r\n", 15),
         "junk"},
        {"broken header hides its values",
         "REGEDIT4\n\n" + header +
             "\"A\"=\"1\"\n[HKEY_CURRENT_USER\\software\\Other\n\"C\"=\"3\"\n",
         "\"C\"=\"3\""},
        {"backslash before the closing quote",
         "REGEDIT4\n\n" + header + "\"A\"=\"1\"\n\"B\"=\"c:\\dir\\\"\n", "\"B\"=\"c:\\dir\\\""},
        {"header of another hive",
         "REGEDIT4\n\n" + header + "\"A\"=\"1\"\n[HKEY_CLASSES_ROOT\\x]\n\"C\"=\"3\"\n",
         "[HKEY_CLASSES_ROOT\\x]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IsolatedUser user;
        ASSERT_TRUE(platform::MakeFolderTree(user.Folder() + "/config/Morvek"));
        WriteFile(user.UserHiveFile(), c.text);

        testing::internal::CaptureStderr();
        for (int round = 0; round < 2; ++round) {
            Key key;
            ASSERT_EQ(
                CreateRegKey(RegHive::CurrentUser, "software\\Morvek\\VODORO\\SETTINGS", &key),
                kRegOk);
            EXPECT_EQ(Query(key, "A").data, std::string("1\0", 2));
            EXPECT_EQ(Query(key, "C").result, kRegFileNotFound);
            EXPECT_EQ(SetRegString(key, "New" + std::to_string(round), "v"), kRegOk);
        }
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(user.UserHiveFile()), std::string::npos) << err;
        EXPECT_EQ(err.find("REGEDIT4"), err.rfind("REGEDIT4")) << "reported more than once";

        const std::string after = ReadFile(user.UserHiveFile());
        EXPECT_NE(after.find(c.garbage), std::string::npos) << after;
        EXPECT_NE(after.find("\"A\"=\"1\""), std::string::npos) << after;
        EXPECT_NE(after.find("\"New1\"=\"v\""), std::string::npos) << after;
    }
}

// A process writes only what it changed, on the file as it stands then.
TEST_F(RegistryFiles, ChangesOfOthersSurviveAWrite) {
    Key key;
    ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, kTestKey, &key), kRegOk);
    ASSERT_EQ(SetRegString(key, "Mine", "1"), kRegOk);
    ASSERT_EQ(FlushRegKey(key), kRegOk);
    // Another process saves meanwhile (the way it would: a complete file put in place).
    std::string text = ReadFile(user_.UserHiveFile());
    text += "[HKEY_CURRENT_USER\\software\\Theirs]\n\"Value\"=\"theirs\"\n";
    WriteFile(user_.UserHiveFile() + ".new", text);
    ASSERT_TRUE(platform::MoveFileTo(user_.UserHiveFile() + ".new", user_.UserHiveFile(), true));

    ASSERT_EQ(SetRegString(key, "Mine", "2"), kRegOk);
    ASSERT_EQ(FlushRegKey(key), kRegOk);
    const std::string after = ReadFile(user_.UserHiveFile());
    EXPECT_NE(after.find("\"Value\"=\"theirs\""), std::string::npos) << after;
    EXPECT_NE(after.find("\"Mine\"=\"2\""), std::string::npos) << after;
}

TEST_F(RegistryFiles, UnwritableStoreReadsButRefusesChanges) {
    WriteFile(user_.Folder() + "/plain-file", "x");
    testing_support::ScopedEnv config("XDG_CONFIG_HOME", user_.Folder() + "/plain-file/below");
    Key software;
    EXPECT_EQ(OpenRegKey(RegHive::CurrentUser, "software", RegAccess::ReadWrite, &software),
              kRegOk);
    Key created;
    EXPECT_EQ(CreateRegKey(software, "Morvek", &created), kRegAccessDenied);
    EXPECT_EQ(created.key, nullptr);
}

TEST_F(RegistryFiles, LinkedHiveFileStaysLinked) {
    const std::string real = user_.Folder() + "/dotfiles-user.reg";
    WriteFile(real, "REGEDIT4\n\n[HKEY_CURRENT_USER\\software\\Old]\n\"A\"=\"1\"\n");
    ASSERT_TRUE(platform::MakeFolderTree(user_.Folder() + "/config/Morvek"));
    ASSERT_EQ(testing_support::Shell("ln -s '" + real + "' '" + user_.UserHiveFile() + "'").status,
              0);
    {
        Key key;
        ASSERT_EQ(CreateRegKey(RegHive::CurrentUser, kTestKey, &key), kRegOk);
        SetRegString(key, "B", "2");
    }
    EXPECT_EQ(testing_support::Shell("test -L '" + user_.UserHiveFile() + "'").status, 0);
    const std::string text = ReadFile(real);
    EXPECT_NE(text.find("\"A\"=\"1\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"B\"=\"2\""), std::string::npos) << text;
}

TEST_F(RegistryFiles, MachineHiveComesFromItsVariable) {
    WriteFile(user_.MachineHiveFile(),
              "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
              "\"RegisteredOwner\"=\"Owner\"\n");
    Key key;
    ASSERT_EQ(OpenRegKey(RegHive::LocalMachine, "software\\microsoft\\windows nt\\currentversion",
                         RegAccess::Read, &key),
              kRegOk);
    EXPECT_EQ(Query(key, "RegisteredOwner").data, std::string("Owner\0", 6));
    EXPECT_EQ(RegHiveFilePath(RegHive::LocalMachine), user_.MachineHiveFile());
}

} // namespace
