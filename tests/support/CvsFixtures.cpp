// tests/support/CvsFixtures.cpp - building the test repositories and running the pserver.
#include "tests/support/CvsFixtures.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace testing_support {
namespace {

// A word for /bin/sh, in single quotes.
std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A path for the script, as its shell sees it.
std::string QuotePath(const std::string& path) {
    return Quote(UnixPath(path));
}

bool IsDrivePath(const std::string& s, size_t at) {
    return s.size() >= at + 3 && std::isalpha(static_cast<unsigned char>(s[at])) &&
           s[at + 1] == ':' && (s[at + 2] == '\\' || s[at + 2] == '/');
}

// A root as the cvs program sees it (under Wine: with the Unix path of the repository).
std::string UnixRoot(const std::string& root) {
    if (IsDrivePath(root, 0))
        return UnixPath(root);
    for (const std::string method : {":local:", ":fork:"})
        if (root.compare(0, method.size(), method) == 0 && IsDrivePath(root, method.size()))
            return method + UnixPath(root.substr(method.size()));
    return root;
}

std::string Missing() {
    if (Shell("true").status != 0)
        return "the CVS fixtures need a POSIX shell with cvs (under Wine: cvs-shim.exe)";
    if (!HaveProgram("cvs"))
        return "cvs is not installed (scripts/install-deps.sh installs it)";
    return std::string();
}

} // namespace

CvsSandbox::CvsSandbox()
    : dir_("cvsenv"), home_(dir_ / "home"), passFile_(dir_ / "cvspass"), homeEnv_("HOME", home_),
      passEnv_("CVS_PASSFILE", passFile_), rootEnv_("CVSROOT", nullptr),
      readEnv_("CVSREAD", nullptr), rshEnv_("CVS_RSH", nullptr) {
    Shell("mkdir -p " + QuotePath(home_));
}

std::string CvsSandbox::Folder(const std::string& name) const {
    std::string path = dir_ / name;
    Shell("rm -rf " + QuotePath(path) + " && mkdir -p " + QuotePath(path));
    return path;
}

HangingServer::HangingServer(std::string folder)
    : folder_(std::move(folder)), transport_("CVS_RSH", "/bin/sh") { // "sh hang.sh cvs server"
    WriteFile(folder_ + "/hang.sh", "echo started > \"$0.started\"\nexec sleep 30\n");
}

bool HangingServer::WaitUntilReached(std::chrono::seconds ceiling) const {
    const auto until = std::chrono::steady_clock::now() + ceiling;
    while (!platform::Exists(folder_ + "/hang.sh.started")) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

namespace {

// The module is built once per build folder and copied for every test: cvs waits for the
// next second after each command that writes working files, so building it takes seconds,
// while a copy takes milliseconds. The name holds a hash of the script, so a changed
// script builds a new template; a lock keeps parallel tests from building it twice.
const std::string& TemplateScript() {
    static const std::string script =
        "set -e\n"
        "export HOME=\"$T/home\" CVS_PASSFILE=\"$T/home/.cvspass\"; unset CVSROOT CVSREAD\n"
        "R=\"$T/repo\"\n"
        "mkdir -p \"$T/home\" \"$T/src/sub/deep\"\n"
        "cvs -Q -f -d \"$R\" init\n"
        "cd \"$T/src\"\n"
        "printf 'line 1\\n' > a.txt\n"
        "perl -e 'print map { chr } 0..255; print \"\\r\\n\\0end\"' > img.bin\n"
        "printf 'c\\n' > sub/c.txt\n"
        "printf 'd\\n' > sub/deep/d.txt\n"
        "cvs -Q -f -d \"$R\" import -W \"*.bin -k 'b'\" -m 'initial import' mod vendor start\n"
        "cd \"$T\"\n"
        "cvs -Q -f -d \"$R\" checkout -d setup mod\n"
        "cd setup\n"
        "printf 'line 2\\n' >> a.txt\n"
        "cvs -Q -f commit -m 'second revision' a.txt\n"
        "cvs -Q -f tag REL_1\n"
        "cvs -Q -f tag -b BR1\n"
        "printf 'line 3\\n' >> a.txt\n"
        "cvs -Q -f commit -m 'third revision' a.txt\n"
        "cvs -Q -f update -r BR1 a.txt\n"
        "printf 'on the branch\\n' >> a.txt\n"
        "cvs -Q -f commit -m 'on the branch' a.txt\n"
        "cd \"$T\"\n"
        "rm -rf setup src\n"
        "cvs -Q -f -d \"$R\" checkout -d work mod\n";
    return script;
}

std::string TemplateFolder(std::string& problem) {
    // Beside the bin folder of the build. Under Wine a path converts to its Unix form only
    // while its parent exists, so "ready" is joined to the folder's Unix form: converted
    // whole before the folder was built, it would stay a Windows path, the check would
    // always fail, and a second test would rebuild the folder while the first copies it.
    const std::string bin = BinDir();
    const std::string folder =
        bin.substr(0, bin.find_last_of("\\/")) + Sep() + "cvs-fixture-" +
        std::to_string(std::hash<std::string>()(TemplateScript()) % 1000000007);
    const std::string script = "set -e\n"
                               "exec 9>" +
                               QuotePath(folder + ".lock") +
                               "\n"
                               "flock 9\n"
                               "[ -f " +
                               Quote(UnixPath(folder) + "/ready") +
                               " ] && exit 0\n"
                               "T=" +
                               QuotePath(folder + ".new") +
                               "\n"
                               "rm -rf \"$T\" " +
                               QuotePath(folder) +
                               "\n"
                               "mkdir -p \"$T\"\n"
                               "(\n" +
                               TemplateScript() +
                               ")\n"
                               "touch \"$T/ready\"\n"
                               "mv \"$T\" " +
                               QuotePath(folder) + "\n";
    RunResult r = Shell(script);
    if (r.status != 0 || Shell("test -f " + Quote(UnixPath(folder) + "/ready")).status != 0)
        problem = "cannot build the test repository (status " + std::to_string(r.status) +
                  "): " + r.err + r.out;
    return folder;
}

} // namespace

CvsRepository::CvsRepository() : dir_("cvsrepo"), path_(dir_ / "repo") {
    problem_ = Missing();
    if (!problem_.empty())
        return;
    template_ = TemplateFolder(problem_);
    if (!problem_.empty())
        return;
    RunResult r = Shell("cp -a " + QuotePath(template_ + "/repo") + " " + QuotePath(path_));
    if (r.status != 0)
        problem_ = "cannot copy the test repository: " + r.err;
}

bool CvsRepository::Checkout(const std::string& root, const std::string& folder,
                             std::string* error) const {
    // A copy of the template's working copy, pointed at this repository through root: the
    // same files, times and Entries that "cvs checkout" would write.
    RunResult r = Shell("set -e\n"
                        "cp -a " +
                        QuotePath(template_ + "/work") + " " + QuotePath(folder) +
                        "\n"
                        "find " +
                        QuotePath(folder) +
                        " -path '*/CVS/Root' | while read -r f; do\n"
                        "  printf '%s\\n' " +
                        Quote(UnixRoot(root)) +
                        " > \"$f\"\n"
                        "done\n");
    if (r.status != 0 && error)
        *error = r.err;
    return r.status == 0;
}

std::string CvsRepository::WorkingCopy(const CvsSandbox& sandbox, const std::string& name,
                                       const std::string& root) const {
    std::string folder = sandbox.Folder(name);
    Shell("rmdir " + QuotePath(folder));
    std::string error;
    EXPECT_TRUE(Checkout(root, folder, &error)) << error;
    return folder;
}

RunResult CvsRepository::Cvs(const std::vector<std::string>& args, const std::string& folder,
                             const std::string& user) const {
    // Without a controlling terminal, so that cvs cannot take the user from the terminal's
    // login record either.
    std::string line =
        user.empty() ? std::string("cvs -f")
                     : "LOGNAME=" + Quote(user) + " USER=" + Quote(user) + " setsid -w cvs -f";
    for (const std::string& a : args)
        line += " " + Quote(UnixRoot(a));
    return Shell(line, folder);
}

RunResult CvsRepository::Commit(const std::string& folder, const std::string& name,
                                const std::string& content, const std::string& message) const {
    std::string file = folder;
    for (char c : "/" + name)
        if (c)
            file += c == '/' ? Sep() : c;
    WriteFile(file, content);
    TempDir messages("message");
    WriteFile(messages / "m", message);
    return Cvs({"commit", "-F", messages / "m", name}, folder);
}

bool CvsRepository::AllowAdmin() const {
    return Shell("f=" + Quote(UnixPath(path_) + "/CVSROOT/config") +
                 "; chmod u+w \"$f\" && printf 'UserAdminOptions=km\\n' >> \"$f\"")
               .status == 0;
}

CvsPserver::CvsPserver(const CvsRepository& repository, std::string user, std::string password)
    : repository_(repository), user_(std::move(user)), password_(std::move(password)),
      dir_("pserver") {
    if (!repository_.Ready()) {
        problem_ = repository_.Problem();
        return;
    }
    if (!HaveProgram("perl") || !HaveProgram("setsid")) {
        problem_ = "the pserver fixture needs perl and setsid";
        return;
    }
    const std::string repo = QuotePath(repository_.Path());
    const std::string state = dir_ / "state";
    const std::string log = dir_ / "log";
    // As root the server runs as nobody (cvs refuses root), which must own the repository.
    // Each server writes its temporary files into a folder of its own: the test's TMPDIR
    // may be one that nobody cannot write. When nobody cannot even reach the folders (a
    // TMPDIR closed to other users), the fixture says so rather than fail every command.
    const std::string script =
        "set -e\n"
        "R=" +
        repo +
        "\n"
        "T=" +
        QuotePath(dir_ / "tmp") +
        "\n"
        "if [ \"$(id -u)\" = 0 ]; then SYSUSER=nobody; else SYSUSER=$(id -un); fi\n"
        "HASH=$(perl -e 'print crypt($ARGV[0], q($6$morvektests$))' " +
        Quote(password_) +
        ")\n"
        "echo \"" +
        user_ +
        ":$HASH:$SYSUSER\" >> \"$R/CVSROOT/passwd\"\n"
        "chmod u+w \"$R/CVSROOT/config\"\n"
        "printf 'SystemAuth=no\\n' >> \"$R/CVSROOT/config\"\n"
        "mkdir -p \"$T\"\n"
        "chmod 700 \"$T\"\n"
        "if [ \"$(id -u)\" = 0 ]; then\n"
        "  chown -R nobody \"$R\" \"$T\"\n"
        "  perl -e '($u, $g) = (getpwnam(q(nobody)))[2, 3]; $) = qq($g $g); $> = $u;\n"
        "           exit(-w $ARGV[0] && -w qq($ARGV[1]/CVSROOT) ? 0 : 1)' \"$T\" \"$R\" || {\n"
        "    echo \"the user nobody, as whom the server runs for root, cannot reach $T or $R\"\n"
        "    echo \"(is TMPDIR closed to other users?)\"\n"
        "    exit 3\n"
        "  } >&2\n"
        "fi\n"
        "TMPDIR=\"$T\" setsid -f perl " +
        Quote(SourceDir() + "/tests/support/pserver.pl") + " \"$R\" " + QuotePath(state) + " " +
        QuotePath(log) + " </dev/null >/dev/null 2>>" + QuotePath(log) + "\n";
    RunResult r = Shell(script);
    if (r.status != 0) {
        problem_ = "cannot start the pserver: " + r.err;
        return;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < until) {
        std::ifstream in(state);
        if (in >> pid_ >> port_)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (pid_ <= 0 || port_ <= 0)
        problem_ = "the pserver did not start: " + ReadFile(log);
}

CvsPserver::~CvsPserver() {
    if (pid_ <= 0)
        return;
    // The listener leads its own process group, which holds every server it forked.
    const std::string group = "-" + std::to_string(pid_);
    Shell("kill -TERM " + group + " 2>/dev/null; sleep 0.1; kill -KILL " + group +
          " 2>/dev/null; true");
}

bool CvsRepository::ActsAsNamedUsers() {
    return Shell("[ \"$(id -u)\" = 0 ]").status == 0;
}

std::string CvsPserver::Root() const {
    return Root(user_);
}

std::string CvsPserver::Root(const std::string& user) const {
    return ":pserver:" + user + "@127.0.0.1:" + std::to_string(port_) +
           UnixPath(repository_.Path());
}

bool CvsPserver::Login() const {
    return Login(user_, password_);
}

bool CvsPserver::AddUser(const std::string& user, const std::string& password) {
    // The server reads CVSROOT/passwd on every connection; the system user is the first
    // user's.
    const std::string passwd = QuotePath(repository_.Path() + "/CVSROOT/passwd");
    return Shell("set -e\n"
                 "SYSUSER=$(head -n 1 " +
                 passwd +
                 " | cut -d: -f3)\n"
                 "HASH=$(perl -e 'print crypt($ARGV[0], q($6$morvektests$))' " +
                 Quote(password) +
                 ")\n"
                 "echo " +
                 Quote(user) + "\":$HASH:$SYSUSER\" >> " + passwd + "\n")
               .status == 0;
}

bool CvsPserver::Login(const std::string& user, const std::string& password) const {
    // Without a terminal cvs reads the password from standard input.
    RunResult r = Shell("printf '%s\\n' " + Quote(password) + " | setsid -w cvs -f -d " +
                        Quote(Root(user)) + " login");
    return r.status == 0;
}

std::string ModuleImageBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes + std::string("\r\n\0end", 6);
}

std::string WithPlatformLineEnds(const std::string& lines) {
    std::string text;
    for (char c : lines)
        text += c == '\n' ? std::string(platform::kTextLineEnd) : std::string(1, c);
    return text;
}

std::string CvsProgram() {
    if (RunningUnderWine())
        return BinDir() + Sep() + "cvs-shim.exe";
    return "/usr/bin/cvs";
}

bool ProcessRuns(long pid) {
    // A zombie has ended: nobody may reap it where the init process does not.
    return pid > 0 && Shell("ps -o stat= -p " + std::to_string(pid) + " | grep -qv Z").status == 0;
}

const char* CvsMethodName(CvsMethod method) {
    switch (method) {
    case CvsMethod::Local:
        return "Local";
    case CvsMethod::Fork:
        return "Fork";
    case CvsMethod::Pserver:
        return "Pserver";
    }
    return "?";
}

std::string RootFor(CvsMethod method, const CvsRepository& repository,
                    std::unique_ptr<CvsPserver>& server, std::string& problem) {
    if (method != CvsMethod::Pserver)
        return UnixRoot(method == CvsMethod::Local ? repository.LocalRoot()
                                                   : repository.ForkRoot());
    server = std::make_unique<CvsPserver>(repository);
    if (!server->Ready()) {
        problem = server->Problem();
        return std::string();
    }
    if (!server->Login()) {
        problem = "cannot log in to the pserver on port " + std::to_string(server->Port());
        return std::string();
    }
    return server->Root();
}

} // namespace testing_support
