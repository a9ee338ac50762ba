/* cvsglue/CvsGlue.h - the C interface of the CVS client library (cvs2ntlib.dll on Windows,
 * libcvs2ntlib.so elsewhere).
 *
 * The provider loads the library at run time, looks up the six dllglue_* entry points by
 * name (the *Fn types below), registers its callbacks and runs one cvs command at a time.
 * The library runs the cvs executable as a child process (never through a shell) and
 * delivers everything it writes through the console callbacks while it runs.
 *
 * Registration is process-wide: the four setters store one callback each for every later
 * run. Every callback call carries the user data given to dllglue_main.
 *
 * Console callbacks: (text, length, user data, reserved). A chunk is the next piece of one
 * stream, of any length and cut anywhere (also inside a line); it may hold any byte, NUL
 * included, and length counts its bytes. A NUL byte follows the chunk (not counted), so a
 * caller that treats it as a C string sees at least its first part. reserved is always null.
 * Chunks arrive on the thread that called dllglue_main, in the order cvs wrote them per
 * stream. The return value is ignored.
 *
 * Exit callback: called once when the command has ended, with its result (as dllglue_main
 * returns it) and the user data. The return value is ignored.
 *
 * Environment callback: (name, user data) -> value or null. The child inherits the process
 * environment; for each variable below the library asks the callback, and a non-null answer
 * replaces the inherited value for this command (an empty answer sets it empty), while null
 * keeps whatever the process environment holds. Asked: CVSROOT, HOME, CVS_RSH, CVS_SERVER,
 * CVS_PSERVER_PORT, CVS_CLIENT_PORT, CVS_CLIENT_LOG, CVS_PASSFILE, CVSREAD, CVSEDITOR, VISUAL,
 * EDITOR, CVSUSEUNIXLF, CVSIGNORE, CVSWRAPPERS, CVSUMASK, TMPDIR. Asked only when needed:
 *  - CVS_GETPASS when cvs asks for the repository password (login). A null or empty answer
 *    ends the login as failed ("no password given"); nothing is sent to the server.
 *  - CVSLIB_YESNO when cvs asks a yes/no question. The question has already been delivered
 *    on the output stream (it ends that stream's last chunk, without a line feed). An answer
 *    beginning with "y" or "Y" says yes; anything else, null included, says no.
 *
 * Password file: cvs keeps the passwords of "login" in one file per user, whatever HOME says
 * (the provider sets HOME to each working folder): CVS_PASSFILE when the callback or the
 * process environment gives it, else ".cvspass" in the user's own profile folder (POSIX: the
 * home folder of the account database; Windows: the user profile folder).
 *
 * The command line: the library always adds the global option -f (no ~/.cvsrc: HOME is the
 * working folder, whose .cvsrc must not change the provider's commands). For GNU CVS it also
 * rewrites or carries out by several runs the command forms that GNU CVS spells otherwise;
 * a form it cannot carry out fails with a message on the error stream that says so.
 */
#ifndef MORVEK_CVSGLUE_CVSGLUE_H
#define MORVEK_CVSGLUE_CVSGLUE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*DllGlueConsoleFn)(const char* text, size_t length, void* userData, void* reserved);
typedef int (*DllGlueExitFn)(int result, void* userData);
typedef const char* (*DllGlueGetEnvFn)(const char* name, void* userData);

/* Runs one cvs command: executable is the full path of the cvs program, argv[0..argc-1] the
 * arguments after the program name (a null item counts as an empty argument). Returns when
 * the command has ended and all its text has been delivered: 0 on success, the exit status
 * of cvs when it failed, or one of the DLLGLUE_* results below. */
typedef int (*DllGlueMainFn)(const char* executable, int argc, const char* const* argv,
                             void* userData);
/* Ends the command running with this user data, and every process it started, within a
 * second; that dllglue_main then returns DLLGLUE_ABORTED. Any thread may call it, also a
 * console callback. Without a running command it does nothing. */
typedef void (*DllGlueAbortFn)(void* userData);
typedef void (*DllGlueSetConsoleFn)(DllGlueConsoleFn callback);
typedef void (*DllGlueSetExitFn)(DllGlueExitFn callback);
typedef void (*DllGlueSetGetEnvFn)(DllGlueGetEnvFn callback);

#define DLLGLUE_CANNOT_START (-1) /* the executable could not be run; the reason is on stderr */
#define DLLGLUE_ABORTED (-2)      /* dllglue_abort ended the command */

#ifdef __cplusplus
}
#endif

#endif
