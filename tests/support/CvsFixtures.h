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
    // Runs cvs with arguments in folder, with -f and the sandbox's environment.
    RunResult Cvs(const std::vector<std::string>& args, const std::string& folder) const;

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
    // :pserver:USER@127.0.0.1:PORT/REPO (REPO as the server sees it)
    std::string Root() const;
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    // Logs in with the real cvs, storing the password in the current CVS_PASSFILE.
    bool Login() const;

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

// The cvs program the client library should run here: /usr/bin/cvs, or the shim under Wine.
std::string CvsProgram();
// Whether a process of the cvs side (a Linux process under Wine too) still runs.
bool ProcessRuns(long pid);

} // namespace testing_support
