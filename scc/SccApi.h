// scc/SccApi.h - the source-control plug-in interface as this provider implements it.
//
// The SCC folder is the provider's C interface: the exported functions, the call trace with
// its name tables, and the operations that map each command onto CVS. Nothing above it
// but the module host; nothing crosses it but C types.
//
// Interface types are spelled with fixed widths: LONG and BOOL are 32-bit on 64-bit Windows
// (and must stay so on Linux, where long is 64-bit); window handles and contexts are pointers.
#pragma once

#include <cstdint>

using SCCRTN = int32_t;
using SccLong = int32_t;
using SccBool = int32_t;
using SccWindow = void*;
using SccCmdOptions = void*;

// Callbacks implemented by the host environment.
using LPTEXTOUTPROC = SccLong (*)(char* displayString, SccLong messageType);
using POPLISTFUNC = SccBool (*)(void* callerData, SccBool addRemove, SccLong status,
                                char* fileName);
using OPTNAMECHANGEPFN = void (*)(void* callerData, const char* oldName, const char* newName);

// Result codes.
enum : SCCRTN {
    SCC_I_SHARESUBPROJOK = 7,
    SCC_I_FILEDIFFERS = 6,
    SCC_I_RELOADFILE = 5,
    SCC_I_FILENOTAFFECTED = 4,
    SCC_I_PROJECTCREATED = 3,
    SCC_I_OPERATIONCANCELED = 2,
    SCC_I_ADV_SUPPORT = 1,
    SCC_OK = 0,
    SCC_E_INITIALIZEFAILED = -1,
    SCC_E_UNKNOWNPROJECT = -2,
    SCC_E_COULDNOTCREATEPROJECT = -3,
    SCC_E_NOTCHECKEDOUT = -4,
    SCC_E_ALREADYCHECKEDOUT = -5,
    SCC_E_FILEISLOCKED = -6,
    SCC_E_FILEOUTEXCLUSIVE = -7,
    SCC_E_ACCESSFAILURE = -8,
    SCC_E_CHECKINCONFLICT = -9,
    SCC_E_FILEALREADYEXISTS = -10,
    SCC_E_FILENOTCONTROLLED = -11,
    SCC_E_FILEISCHECKEDOUT = -12,
    SCC_E_NOSPECIFIEDVERSION = -13,
    SCC_E_OPNOTSUPPORTED = -14,
    SCC_E_NONSPECIFICERROR = -15,
    SCC_E_OPNOTPERFORMED = -16,
    SCC_E_TYPENOTSUPPORTED = -17,
    SCC_E_VERIFYMERGE = -18,
    SCC_E_FIXMERGE = -19,
    SCC_E_SHELLFAILURE = -20,
    SCC_E_INVALIDUSER = -21,
    SCC_E_PROJECTALREADYOPEN = -22,
    SCC_E_PROJSYNTAXERR = -23,
    SCC_E_INVALIDFILEPATH = -24,
    SCC_E_PROJNOTOPEN = -25,
    SCC_E_NOTAUTHORIZED = -26,
    SCC_E_FILESYNTAXERR = -27,
    SCC_E_FILENOTEXIST = -28,
    SCC_E_CONNECTIONFAILURE = -29,
    SCC_E_UNKNOWNERROR = -30,
};

// Commands (SccGetCommandOptions, SccPopulateList).
enum SCCCOMMAND : int32_t {
    SCC_COMMAND_GET = 0,
    SCC_COMMAND_CHECKOUT,
    SCC_COMMAND_CHECKIN,
    SCC_COMMAND_UNCHECKOUT,
    SCC_COMMAND_ADD,
    SCC_COMMAND_REMOVE,
    SCC_COMMAND_DIFF,
    SCC_COMMAND_HISTORY,
    SCC_COMMAND_RENAME,
    SCC_COMMAND_PROPERTIES,
    SCC_COMMAND_OPTIONS,
};

// File status bits.
enum : SccLong {
    SCC_STATUS_INVALID = -1,
    SCC_STATUS_NOTCONTROLLED = 0x0000,
    SCC_STATUS_CONTROLLED = 0x0001,
    SCC_STATUS_CHECKEDOUT = 0x0002,
    SCC_STATUS_OUTOTHER = 0x0004,
    SCC_STATUS_OUTEXCLUSIVE = 0x0008,
    SCC_STATUS_OUTMULTIPLE = 0x0010,
    SCC_STATUS_OUTOFDATE = 0x0020,
    SCC_STATUS_DELETED = 0x0040,
    SCC_STATUS_LOCKED = 0x0080,
    SCC_STATUS_MERGED = 0x0100,
    SCC_STATUS_SHARED = 0x0200,
    SCC_STATUS_PINNED = 0x0400,
    SCC_STATUS_MODIFIED = 0x0800,
    SCC_STATUS_OUTBYUSER = 0x1000,
    SCC_STATUS_NOMERGE = 0x2000,
    SCC_STATUS_RESERVED_1 = 0x4000,
    SCC_STATUS_RESERVED_2 = 0x8000,
};

// Folder status (SccDirQueryInfo).
enum : SccLong {
    SCC_DIRSTATUS_INVALID = -1,
    SCC_DIRSTATUS_NOTCONTROLLED = 0,
    SCC_DIRSTATUS_CONTROLLED = 1,
    SCC_DIRSTATUS_EMPTYPROJ = 2,
};

// Capability bits reported by SccInitialize.
constexpr uint32_t SCC_CAP_REMOVE = 0x00000001;
constexpr uint32_t SCC_CAP_RENAME = 0x00000002;
constexpr uint32_t SCC_CAP_DIFF = 0x00000004;
constexpr uint32_t SCC_CAP_HISTORY = 0x00000008;
constexpr uint32_t SCC_CAP_PROPERTIES = 0x00000010;
constexpr uint32_t SCC_CAP_RUNSCC = 0x00000020;
constexpr uint32_t SCC_CAP_GETCOMMANDOPTIONS = 0x00000040;
constexpr uint32_t SCC_CAP_QUERYINFO = 0x00000080;
constexpr uint32_t SCC_CAP_GETEVENTS = 0x00000100;
constexpr uint32_t SCC_CAP_GETPROJPATH = 0x00000200;
constexpr uint32_t SCC_CAP_ADDFROMSCC = 0x00000400;
constexpr uint32_t SCC_CAP_COMMENTCHECKOUT = 0x00000800;
constexpr uint32_t SCC_CAP_COMMENTCHECKIN = 0x00001000;
constexpr uint32_t SCC_CAP_COMMENTADD = 0x00002000;
constexpr uint32_t SCC_CAP_COMMENTREMOVE = 0x00004000;
constexpr uint32_t SCC_CAP_TEXTOUT = 0x00008000;
constexpr uint32_t SCC_CAP_CREATESUBPROJECT = 0x00010000;
constexpr uint32_t SCC_CAP_GETPARENTPROJECT = 0x00020000;
constexpr uint32_t SCC_CAP_BATCH = 0x00040000;
constexpr uint32_t SCC_CAP_DIRECTORYSTATUS = 0x00080000;
constexpr uint32_t SCC_CAP_DIRECTORYDIFF = 0x00100000;
constexpr uint32_t SCC_CAP_ADD_STORELATEST = 0x00200000;
constexpr uint32_t SCC_CAP_HISTORY_MULTFILE = 0x00400000;
constexpr uint32_t SCC_CAP_IGNORECASE = 0x00800000;
constexpr uint32_t SCC_CAP_IGNORESPACE = 0x01000000;
constexpr uint32_t SCC_CAP_POPULATELIST = 0x02000000;
constexpr uint32_t SCC_CAP_COMMENTPROJECT = 0x04000000;
constexpr uint32_t SCC_CAP_MULTICHECKOUT = 0x08000000;
constexpr uint32_t SCC_CAP_DIFFALWAYS = 0x10000000;
constexpr uint32_t SCC_CAP_GET_NOUI = 0x20000000;
constexpr uint32_t SCC_CAP_REENTRANT = 0x40000000;
constexpr uint32_t SCC_CAP_SCCFILE = 0x80000000;

// SccSetOption options.
enum : SccLong {
    SCC_OPT_EVENTQUEUE = 1,
    SCC_OPT_USERDATA = 2,
    SCC_OPT_HASCANCELMODE = 3,
    SCC_OPT_NAMECHANGEPFN = 4,
    SCC_OPT_SCCCHECKOUTONLY = 5,
    SCC_OPT_SHARESUBPROJ = 6,
};

// Command flags.
constexpr SccLong SCC_KEEP_CHECKEDOUT = 0x1000;
constexpr SccLong SCC_FILETYPE_AUTO = 0x00;
constexpr SccLong SCC_FILETYPE_TEXT = 0x01;
constexpr SccLong SCC_DIFF_IGNORECASE = 0x0002;
constexpr SccLong SCC_DIFF_IGNORESPACE = 0x0004;
constexpr SccLong SCC_DIFF_QD_CONTENTS = 0x0010;
constexpr SccLong SCC_DIFF_QD_CHECKSUM = 0x0020;
constexpr SccLong SCC_DIFF_QD_TIME = 0x0040;
constexpr SccLong SCC_DIFF_QUICK_DIFF = 0x0070;
constexpr SccLong SCC_PL_DIR = 0x1;
constexpr SccLong SCC_OP_CREATEIFNEW = 0x1;
constexpr SccLong SCC_OP_SILENTOPEN = 0x2;
constexpr SccLong SCC_GET_ALL = 0x1;
constexpr SccLong SCC_GET_RECURSIVE = 0x2;

// Text-out message kinds.
enum : SccLong {
    SCC_MSG_RTN_CANCEL = -1,
    SCC_MSG_RTN_OK = 0,
    SCC_MSG_INFO = 1,
    SCC_MSG_WARNING,
    SCC_MSG_ERROR,
    SCC_MSG_STATUS,
    SCC_MSG_DOCANCEL,
    SCC_MSG_STARTCANCEL,
    SCC_MSG_STOPCANCEL,
};

// Buffer sizes, with the terminating NUL.
constexpr int SCC_NAME_SIZE = 32;
constexpr int SCC_AUXLABEL_SIZE = 32;
constexpr int SCC_USER_SIZE = 32;
constexpr int SCC_PRJPATH_SIZE = 301;
constexpr int SCC_AUXPATH_SIZE = 301;

// The interface version this provider reports: 1.1.
constexpr SccLong kSccInterfaceVersion = 0x00010001;
