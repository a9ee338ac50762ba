// tests/support/CvsFixtures.h - real CVS repositories for tests: local, through :fork:,
// and behind a pserver on 127.0.0.1.
//
// Under Wine the Linux cvs serves the Windows build through the test shim (cvs-shim.exe):
// paths stay Windows paths for the test, and the fixtures turn them into Unix paths where
// the Linux side needs them (scripts, CVS/Root, the pserver's root).
//
// Every fixture lives in its own temporary folder and is removed with it. They drive the
// real cvs program and need a POSIX system with cvs (and perl for the pserver); elsewhere,
// or when cvs is missing, Ready() is false and Problem() says why, so a test can skip:
//
//     testing_support::CvsRepository repo;
//     if (!repo.Ready()) GTEST_SKIP() << repo.Problem();
//     testing_support::CvsSandbox sandbox;            // HOME and CVS_PASSFILE of the test
//     std::string work = sandbox.Folder("work");
//     ASSERT_TRUE(repo.Checkout(repo.ForkRoot(), work));
//
// The module "mod" of every repository:
//     a.txt          text; revisions 1.1 (import), 1.2 (tagged REL_1), 1.3, and 1.2.2.1 on
//                    the branch BR1
//     img.bin        binary (-kb), bytes 0 to 255 with NUL and CR LF among them
//     sub/c.txt      text, in a folder
//     sub/deep/d.txt text, in a folder of a folder
// Every file carries the tag REL_1; the branch BR1 starts at REL_1.
#pragma once

#include "tests/support/TestSupport.h"

#include <chrono>
#include <memory>
#include <string>

namespace testing_support {

// HOME, CVS_PASSFILE and a clean CVS environment for the life of the object, so that no
// test reads or writes the real user's ~/.cvspass or ~/.cvsrc.
class CvsSandbox {
public:
    CvsSandbox();
    const std::string& Home() const { return home_; }
    const std::string& PassFile() const { return passFile_; }
    // A fresh, empty folder inside the sandbox.
    std::string Folder(const std::string& name) const;

private:
    TempDir dir_;
    std::string home_, passFile_;
    ScopedEnv homeEnv_, passEnv_, rootEnv_, readEnv_, rshEnv_;
};

// A server that never answers: the transport of Root() (CVS_RSH, set for the life of the
// object) is a shell script in folder that marks its start and sleeps. Commands for Root()
// must run in folder, where cvs finds the script.
class HangingServer {
public:
    explicit HangingServer(std::string folder);
    std::string Root() const { return ":ext:hang.sh:/nowhere"; }
    // Waits until a command has reached the transport; false when the ceiling passes first.
    bool WaitUntilReached(std::chrono::seconds ceiling) const;

private:
    std::string folder_;
    ScopedEnv transport_;
};

class CvsRepository {
public:
    static constexpr const char* kModule = "mod";

    CvsRepository();
    bool Ready() const { return problem_.empty(); }
    const std::string& Problem() const { return problem_; }

    const std::string& Path() const { return path_; }
    std::string LocalRoot() const { return path_; }
    std::string ForkRoot() const { return ":fork:" + path_; }

    // Makes folder (which must not exist yet) a working copy of the module at its newest
    // trunk revisions, with root in its CVS/Root files.
    bool Checkout(const std::string& root, const std::string& folder,
                  std::string* error = nullptr) const;
    // A working copy made by Checkout in a new folder of the sandbox; its path.
    std::string WorkingCopy(const CvsSandbox& sandbox, const std::string& name,
                            const std::string& root) const;
    // Runs cvs with arguments in folder, with -f and the sandbox's environment; as the
    // user named (for local and :fork: roots, see ActsAsNamedUsers), or the process's own.
    RunResult Cvs(const std::vector<std::string>& args, const std::string& folder,
                  const std::string& user = std::string()) const;
    // Whether local and :fork: commands run as the user that LOGNAME names: GNU cvs takes
    // the user from it only when it runs as root, else from the account. A pserver's user
    // is its login, whoever runs the client.
    static bool ActsAsNamedUsers();
    // Writes content to the file name (relative, with "/") of the working folder and
    // commits it with the message, read from a file so that it reaches cvs byte for byte.
    RunResult Commit(const std::string& folder, const std::string& name, const std::string& content,
                     const std::string& message) const;
    // Lets "cvs admin -m" change log messages (Debian keeps it for a group by default).
    bool AllowAdmin() const;

private:
    TempDir dir_;
    std::string path_;
    std::string template_;
    std::string problem_;
};

// A pserver for one repository on 127.0.0.1, on a port the system chooses, with one user
// and password. Stopped (its own process group, by id) when the object goes.
class CvsPserver {
public:
    explicit CvsPserver(const CvsRepository& repository, std::string user = "alice",
                        std::string password = "secret");
    ~CvsPserver();
    CvsPserver(const CvsPserver&) = delete;
    CvsPserver& operator=(const CvsPserver&) = delete;

    bool Ready() const { return problem_.empty(); }
    const std::string& Problem() const { return problem_; }
    int Port() const { return port_; }
    long ListenerId() const { return pid_; }
    // :pserver:USER@127.0.0.1:PORT/REPO (REPO as the server sees it), for the fixture's
    // user or another one.
    std::string Root() const;
    std::string Root(const std::string& user) const;
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    // Logs in with the real cvs, storing the password in the current CVS_PASSFILE.
    bool Login() const;
    // A further user of the server (the same system user serves every one), and its login.
    bool AddUser(const std::string& user, const std::string& password);
    bool Login(const std::string& user, const std::string& password) const;

private:
    const CvsRepository& repository_;
    std::string user_, password_;
    TempDir dir_;
    long pid_ = 0;
    int port_ = 0;
    std::string problem_;
};

// How a test reaches a repository, for tests that run against each: a local root, :fork:
// and a pserver on loopback.
enum class CvsMethod { Local, Fork, Pserver };
// "Local", "Fork", "Pserver": names for parameterised tests.
const char* CvsMethodName(CvsMethod method);

// The root that reaches the repository by the method, as the cvs program writes it into
// CVS/Root (under Wine: with the repository's Unix path, which the shim passes on as it is),
// so that a working folder's root and the root a test gives compare equal. For a pserver it
// starts one (kept in server) and logs in, storing the password in the current CVS_PASSFILE.
// Empty, with problem set, when that cannot be done.
std::string RootFor(CvsMethod method, const CvsRepository& repository,
                    std::unique_ptr<CvsPserver>& server, std::string& problem);

// img.bin of the module as imported (revision 1.1.1.1, and 1.1 of the trunk): every byte
// value, then CR LF, NUL and "end".
std::string ModuleImageBytes();
// Lines written with "\n", with the platform's text line end instead: a fetched text revision
// as the provider writes it.
std::string WithPlatformLineEnds(const std::string& lines);

// The cvs program the client library should run here: /usr/bin/cvs, or the shim under Wine.
std::string CvsProgram();
// Whether a process of the cvs side (a Linux process under Wine too) still runs.
bool ProcessRuns(long pid);

} // namespace testing_support
