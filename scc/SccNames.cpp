// scc/SccNames.cpp - the trace's name tables.
#include "scc/SccNames.h"

#include <iterator>

namespace {

const SccNamedValue kResults[] = {
    {7, "SCC_I_SHARESUBPROJOK"},
    {6, "SCC_I_FILEDIFFERS"},
    {5, "SCC_I_RELOADFILE"},
    {4, "SCC_I_FILENOTAFFECTED"},
    {3, "SCC_I_PROJECTCREATED"},
    {2, "SCC_I_OPERATIONCANCELED"},
    {1, "SCC_I_ADV_SUPPORT"},
    {0, "SCC_OK"},
    {-1, "SCC_E_INITIALIZEFAILED"},
    {-2, "SCC_E_UNKNOWNPROJECT"},
    {-3, "SCC_E_COULDNOTCREATEPROJECT"},
    {-4, "SCC_E_NOTCHECKEDOUT"},
    {-5, "SCC_E_ALREADYCHECKEDOUT"},
    {-6, "SCC_E_FILEISLOCKED"},
    {-7, "SCC_E_FILEOUTEXCLUSIVE"},
    {-8, "SCC_E_ACCESSFAILURE"},
    {-9, "SCC_E_CHECKINCONFLICT"},
    {-10, "SCC_E_FILEALREADYEXISTS"},
    {-11, "SCC_E_FILENOTCONTROLLED"},
    {-12, "SCC_E_FILEISCHECKEDOUT"},
    {-13, "SCC_E_NOSPECIFIEDVERSION"},
    {-14, "SCC_E_OPNOTSUPPORTED"},
    {-15, "SCC_E_NONSPECIFICERROR"},
    {-16, "SCC_E_OPNOTPERFORMED"},
    {-17, "SCC_E_TYPENOTSUPPORTED"},
    {-18, "SCC_E_VERIFYMERGE"},
    {-19, "SCC_E_FIXMERGE"},
    {-20, "SCC_E_SHELLFAILURE"},
    {-21, "SCC_E_INVALIDUSER"},
    {-22, "SCC_E_PROJECTALREADYOPEN"},
    {-23, "SCC_E_PROJSYNTAXERR"},
    {-24, "SCC_E_INVALIDFILEPATH"},
    {-25, "SCC_E_PROJNOTOPEN"},
    {-26, "SCC_E_NOTAUTHORIZED"},
    {-27, "SCC_E_FILESYNTAXERR"},
    {-28, "SCC_E_FILENOTEXIST"},
    {-29, "SCC_E_CONNECTIONFAILURE"},
};

const char* const kCommands[] = {
    "SCC_command_get",    "SCC_command_checkout",   "SCC_command_checkin", "SCC_command_uncheckout",
    "SCC_command_add",    "SCC_command_remove",     "SCC_command_diff",    "SCC_command_history",
    "SCC_command_rename", "SCC_command_properties", "SCC_command_option",
};

const SccNamedValue kStatusBits[] = {
    {0x0001, "SCC_STATUS_CONTROLLED"}, {0x0002, "SCC_STATUS_CHECKEDOUT"},
    {0x0004, "SCC_STATUS_OUTOTHER"},   {0x0008, "SCC_STATUS_OUTEXCLUSIVE"},
    {0x0020, "SCC_STATUS_OUTOFDATE"},  {0x0040, "SCC_STATUS_DELETED"},
    {0x0080, "SCC_STATUS_LOCKED"},     {0x0100, "SCC_STATUS_MERGED"},
    {0x0200, "SCC_STATUS_SHARED"},     {0x0400, "SCC_STATUS_PINNED"},
    {0x0800, "SCC_STATUS_MODIFIED"},   {0x1000, "SCC_STATUS_OUTBYUSER"},
    {0x2000, "SCC_STATUS_NOMERGE"},    {0x4000, "SCC_STATUS_RESERVED_1"},
    {0x8000, "SCC_STATUS_RESERVED_2"},
};

} // namespace

const char* SccResultName(int32_t code) {
    for (const SccNamedValue& row : kResults)
        if (row.value == code)
            return row.name;
    return "?";
}

const char* SccCommandName(int32_t code) {
    if (code < 0 || code >= static_cast<int32_t>(std::size(kCommands)))
        return "?";
    return kCommands[code];
}

std::string SccStatusNames(int32_t status) {
    if (status == -1)
        return "SCC_STATUS_INVALID";
    if (status == 0)
        return "SCC_STATUS_NOTCONTROLLED";
    std::string names;
    for (const SccNamedValue& row : kStatusBits)
        if (status & row.value) {
            names += row.name;
            names += ',';
        }
    return names;
}

const SccNamedValue* SccResultTable(size_t& count) {
    count = std::size(kResults);
    return kResults;
}

const SccNamedValue* SccStatusBitTable(size_t& count) {
    count = std::size(kStatusBits);
    return kStatusBits;
}
