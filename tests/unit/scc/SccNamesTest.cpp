// The trace's name tables, whole.
#include "scc/SccNames.h"

#include <gtest/gtest.h>

namespace {

TEST(SccNames, ResultTableIsTheInterfaceTableInSearchOrder) {
    const char* const expected[] = {
        "SCC_I_SHARESUBPROJOK",
        "SCC_I_FILEDIFFERS",
        "SCC_I_RELOADFILE",
        "SCC_I_FILENOTAFFECTED",
        "SCC_I_PROJECTCREATED",
        "SCC_I_OPERATIONCANCELED",
        "SCC_I_ADV_SUPPORT",
        "SCC_OK",
        "SCC_E_INITIALIZEFAILED",
        "SCC_E_UNKNOWNPROJECT",
        "SCC_E_COULDNOTCREATEPROJECT",
        "SCC_E_NOTCHECKEDOUT",
        "SCC_E_ALREADYCHECKEDOUT",
        "SCC_E_FILEISLOCKED",
        "SCC_E_FILEOUTEXCLUSIVE",
        "SCC_E_ACCESSFAILURE",
        "SCC_E_CHECKINCONFLICT",
        "SCC_E_FILEALREADYEXISTS",
        "SCC_E_FILENOTCONTROLLED",
        "SCC_E_FILEISCHECKEDOUT",
        "SCC_E_NOSPECIFIEDVERSION",
        "SCC_E_OPNOTSUPPORTED",
        "SCC_E_NONSPECIFICERROR",
        "SCC_E_OPNOTPERFORMED",
        "SCC_E_TYPENOTSUPPORTED",
        "SCC_E_VERIFYMERGE",
        "SCC_E_FIXMERGE",
        "SCC_E_SHELLFAILURE",
        "SCC_E_INVALIDUSER",
        "SCC_E_PROJECTALREADYOPEN",
        "SCC_E_PROJSYNTAXERR",
        "SCC_E_INVALIDFILEPATH",
        "SCC_E_PROJNOTOPEN",
        "SCC_E_NOTAUTHORIZED",
        "SCC_E_FILESYNTAXERR",
        "SCC_E_FILENOTEXIST",
        "SCC_E_CONNECTIONFAILURE",
    };
    size_t count = 0;
    const SccNamedValue* table = SccResultTable(count);
    ASSERT_EQ(count, std::size(expected));
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(table[i].value, 7 - static_cast<int32_t>(i));
        EXPECT_STREQ(table[i].name, expected[i]);
        EXPECT_STREQ(SccResultName(7 - static_cast<int32_t>(i)), expected[i]);
    }
}

TEST(SccNames, CodesOutsideTheTablesAreQuestionMarks) {
    for (int32_t code : {8, -30, -31, 100, static_cast<int32_t>(0x80004005)})
        EXPECT_STREQ(SccResultName(code), "?") << code;
    for (int32_t code : {-1, 11, 1000})
        EXPECT_STREQ(SccCommandName(code), "?") << code;
}

TEST(SccNames, CommandTable) {
    const char* const expected[] = {
        "SCC_command_get",        "SCC_command_checkout", "SCC_command_checkin",
        "SCC_command_uncheckout", "SCC_command_add",      "SCC_command_remove",
        "SCC_command_diff",       "SCC_command_history",  "SCC_command_rename",
        "SCC_command_properties", "SCC_command_option"};
    for (int32_t code = 0; code <= 10; ++code)
        EXPECT_STREQ(SccCommandName(code), expected[code]);
}

TEST(SccNames, StatusNames) {
    struct Case {
        int32_t status;
        const char* names;
    } const cases[] = {
        {-1, "SCC_STATUS_INVALID"},
        {0, "SCC_STATUS_NOTCONTROLLED"},
        {0x1003, "SCC_STATUS_CONTROLLED,SCC_STATUS_CHECKEDOUT,SCC_STATUS_OUTBYUSER,"},
        {0x0010, ""},
        {0x0011, "SCC_STATUS_CONTROLLED,"},
        {0xFFFF,
         "SCC_STATUS_CONTROLLED,SCC_STATUS_CHECKEDOUT,SCC_STATUS_OUTOTHER,"
         "SCC_STATUS_OUTEXCLUSIVE,SCC_STATUS_OUTOFDATE,SCC_STATUS_DELETED,SCC_STATUS_LOCKED,"
         "SCC_STATUS_MERGED,SCC_STATUS_SHARED,SCC_STATUS_PINNED,SCC_STATUS_MODIFIED,"
         "SCC_STATUS_OUTBYUSER,SCC_STATUS_NOMERGE,SCC_STATUS_RESERVED_1,SCC_STATUS_RESERVED_2,"},
        {0x10000, ""},
        {-2, "SCC_STATUS_CHECKEDOUT,SCC_STATUS_OUTOTHER,SCC_STATUS_OUTEXCLUSIVE,"
             "SCC_STATUS_OUTOFDATE,SCC_STATUS_DELETED,SCC_STATUS_LOCKED,SCC_STATUS_MERGED,"
             "SCC_STATUS_SHARED,SCC_STATUS_PINNED,SCC_STATUS_MODIFIED,SCC_STATUS_OUTBYUSER,"
             "SCC_STATUS_NOMERGE,SCC_STATUS_RESERVED_1,SCC_STATUS_RESERVED_2,"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SccStatusNames(c.status), c.names) << std::hex << c.status;

    size_t count = 0;
    const SccNamedValue* bits = SccStatusBitTable(count);
    ASSERT_EQ(count, 15u);
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(SccStatusNames(bits[i].value), std::string(bits[i].name) + ",");
}

} // namespace
