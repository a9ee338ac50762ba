// scc/Exports.h - the exported interface functions, as declared for callers inside the
// project (tests link them directly; hosts reach them through the module's export table).
#pragma once

#include "platform/Export.h"
#include "scc/SccApi.h"

MORVEK_EXPORT SCCRTN SccInitialize(void** context, SccWindow window, const char* callerName,
                                   char* providerName, SccLong* capabilities, char* auxPathLabel,
                                   SccLong* checkoutCommentLength, SccLong* commentLength);
MORVEK_EXPORT SCCRTN SccUninitialize(void* context);
MORVEK_EXPORT SCCRTN SccOpenProject(void* context, SccWindow window, char* user, char* projName,
                                    const char* localProjPath, char* auxProjPath,
                                    const char* comment, LPTEXTOUTPROC textOut, SccLong flags);
MORVEK_EXPORT SCCRTN SccCloseProject(void* context);
MORVEK_EXPORT SCCRTN SccGetProjPath(void* context, SccWindow window, char* user, char* projName,
                                    char* localPath, char* auxProjPath, SccBool allowChangePath,
                                    SccBool* isNew);
MORVEK_EXPORT SccLong SccGetVersion(void);
MORVEK_EXPORT SCCRTN SccSetOption(void* context, SccLong option, SccLong value);
MORVEK_EXPORT SCCRTN SccGetExtendedCapabilities(void* context, SccLong capability,
                                                SccBool* supported);
MORVEK_EXPORT SCCRTN SccDirQueryInfo(void* context, SccLong count, const char** folders,
                                     SccLong* status);
MORVEK_EXPORT SCCRTN SccQueryInfo(void* context, SccLong count, const char** fileNames,
                                  SccLong* status);
MORVEK_EXPORT SCCRTN SccPopulateList(void* context, SccLong command, SccLong count,
                                     const char** fileNames, POPLISTFUNC populate, void* callerData,
                                     SccLong* status, SccLong options);
MORVEK_EXPORT SCCRTN SccCreateSubProject(void* context, SccWindow window, char* user,
                                         const char* parentProjPath, const char* subProjName,
                                         char* auxProjPath, char* subProjPath);
MORVEK_EXPORT SCCRTN SccDirDiff(void* context, SccWindow window, const char* folder, SccLong flags,
                                SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccAddFromScc(void* context, SccWindow window, SccLong* count,
                                   const char*** fileNames);
MORVEK_EXPORT SCCRTN SccBeginBatch(void);
MORVEK_EXPORT SCCRTN SccEndBatch(void);
MORVEK_EXPORT SCCRTN SccGetEvents(void* context, char* fileName, SccLong* status,
                                  SccLong* eventsRemaining);
MORVEK_EXPORT SCCRTN SccGetParentProjectPath(void* context, SccWindow window, char* user,
                                             const char* projPath, char* auxProjPath,
                                             char* parentProjPath);
MORVEK_EXPORT SCCRTN SccIsMultiCheckoutEnabled(void* context, SccBool* multiCheckout);
MORVEK_EXPORT SCCRTN SccWillCreateSccFile(void* context, SccLong count, const char** fileNames,
                                          SccBool* sccFiles);
MORVEK_EXPORT SCCRTN SccDiff(void* context, SccWindow window, const char* fileName, SccLong flags,
                             SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccHistory(void* context, SccWindow window, SccLong count,
                                const char** fileNames, SccLong flags, SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccProperties(void* context, SccWindow window, const char* fileName);
MORVEK_EXPORT SCCRTN SccGetCommandOptions(void* context, SccWindow window, SccLong command,
                                          SccCmdOptions* options);
MORVEK_EXPORT SCCRTN SccRunScc(void* context, SccWindow window, SccLong count,
                               const char** fileNames);
MORVEK_EXPORT int32_t SccTest(void);
MORVEK_EXPORT SCCRTN SccGet(void* context, SccWindow window, SccLong count, const char** fileNames,
                            SccLong flags, SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccCheckout(void* context, SccWindow window, SccLong count,
                                 const char** fileNames, const char* comment, SccLong flags,
                                 SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccUncheckout(void* context, SccWindow window, SccLong count,
                                   const char** fileNames, SccLong flags, SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccCheckin(void* context, SccWindow window, SccLong count,
                                const char** fileNames, const char* comment, SccLong flags,
                                SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccAdd(void* context, SccWindow window, SccLong count, const char** fileNames,
                            const char* comment, SccLong* flags, SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccRemove(void* context, SccWindow window, SccLong count,
                               const char** fileNames, const char* comment, SccLong flags,
                               SccCmdOptions options);
MORVEK_EXPORT SCCRTN SccRename(void* context, SccWindow window, const char* oldName,
                               const char* newName);
