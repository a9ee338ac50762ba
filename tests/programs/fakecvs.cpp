// tests/programs/fakecvs.cpp - a stand-in for cvs in the client library's tests.
//
//   fakecvs [GLOBAL OPTION...] COMMAND [ARGUMENT...]
//
// Global options (words starting with "-", "-d" with a value) are skipped, as cvs reads
// them. Commands:
//   --version            a version line that is not GNU CVS's
//   args ARG...          every argument after "args" as "<length>:<bytes>\n", on stdout
//   globals              the global options, one per line
//   streams N            N numbered lines to stdout and to stderr, alternating
//   exit CODE            nothing; exits with CODE
//   stderr TEXT          TEXT and a line feed to stderr only; exits 1
//   sleep SECONDS        "sleeping" on stdout, then sleeps
//   tree SECONDS FILE    starts "fakecvs sleep SECONDS" as a child, writes its process id
//                        to FILE, then sleeps SECONDS itself
//   deaf SECONDS FILE    ignores SIGTERM, closes standard output and error, then writes its
//                        process id to FILE and sleeps SECONDS: ended only by SIGKILL
//   linger HOW SECONDS FILE
//                        starts "fakecvs stubborn SECONDS" as a child that ignores SIGTERM
//                        and keeps both output streams open, in this process group (HOW
//                        "group"), a new process group ("newgroup") or a new session
//                        ("session"); writes the child's process id and its own to FILE,
//                        says "started", then sleeps SECONDS itself. On Windows every HOW
//                        starts a plain child.
//   stubborn SECONDS     ignores SIGTERM, then says "stubborn" and sleeps SECONDS
//   bytes N [err]        N bytes on stdout (stderr with "err"), byte i being i % 251 (NUL
//                        and a line feed in every 251)
//   line N               N bytes "x" on stdout and no line feed
//   flood N              N blocks of 64 KiB to stdout and to stderr, alternating, reading
//                        nothing: a reader that drains one stream only stalls it
//   killself             "dying" on stdout, then kills itself with SIGKILL (Windows:
//                        terminates itself with exit code 3)
//   nul                  "a", NUL, "b" on stdout
//   self                 the full path of this program's file and a line feed, on stdout
//   env NAME...          NAME=VALUE or NAME unset, one line each
//   unedit [forever]     asks "x.txt has been modified; revert changes? " on stdout and
//                        prints "answer=[LINE]" with the line it reads; with "forever",
//                        asks again after every answer, whatever it is
//   login                asks "CVS password: " on stderr and prints "password=[LINE]"
// With FAKECVS_PLAY naming a folder, any other command C plays what the folder holds for
// it: C.out on stdout, C.err on stderr, the number in C.rc as the exit code (0 without
// it); with C.hold there, it first creates C.started and waits (a minute at most) until
// C.go exists, so that a test holds the command while it runs. On POSIX it writes its nice
// value to C.nice: a child has the nice value of the thread that started it.
// A FILE is written whole under another name and then renamed, so that a reader that
// waits for it never sees half of it.
// With FAKECVS_ANY_COMMAND set, any other command does nothing and succeeds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <spawn.h>
#include <sys/resource.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

long ThisProcessId() {
#ifdef _WIN32
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

// Starts this program again as "COMMAND SECONDS", in a new process group or session as how
// says (POSIX); gives the child's process id.
long StartSelf([[maybe_unused]] const char* self, const std::string& command,
               const std::string& seconds, [[maybe_unused]] const std::string& how = "group") {
#ifdef _WIN32
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string line = "\"" + std::string(path) + "\" " + command + " " + seconds;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(path, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return 0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<long>(pi.dwProcessId);
#else
    std::string c = command, s = seconds;
    char* argv[] = {const_cast<char*>(self), c.data(), s.data(), nullptr};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    if (how == "newgroup") {
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    } else if (how == "session") {
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    }
    pid_t pid = 0;
    int rc = posix_spawn(&pid, "/proc/self/exe", nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    return rc == 0 ? static_cast<long>(pid) : 0;
#endif
}

void IgnoreTerminate() {
#ifndef _WIN32
    std::signal(SIGTERM, SIG_IGN);
#endif
}

void CloseOutputStreams() {
    std::fclose(stdout);
    std::fclose(stderr);
#ifndef _WIN32
    // The descriptors may have been duplicated by the C library: make sure both are gone.
    close(1);
    close(2);
#endif
}

// Writes the process ids, one a line, to path through a temporary name.
void WriteIds(const std::string& path, const std::vector<long>& ids) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (long id : ids)
            out << id << "\n";
    }
    std::rename(temporary.c_str(), path.c_str());
}

void SleepSeconds(const std::string& seconds) {
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(seconds.c_str())));
}

void Write(FILE* f, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fflush(f);
}

// The first COUNT bytes of the block repeated without end.
void WriteRepeated(FILE* to, const std::vector<char>& block, const std::string& count) {
    unsigned long long n = std::strtoull(count.c_str(), nullptr, 10);
    while (n > 0) {
        size_t chunk = n < block.size() ? static_cast<size_t>(n) : block.size();
        std::fwrite(block.data(), 1, chunk, to);
        n -= chunk;
    }
    std::fflush(to);
}

std::string ReadLine() {
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

std::string ReadWhole(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    std::string text;
    if (found)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text;
}

int Play(const std::string& folder, const std::string& command) {
    const std::string base = folder + "/" + command;
#ifndef _WIN32
    std::ofstream(base + ".nice") << getpriority(PRIO_PROCESS, 0);
#endif
    bool found = false;
    ReadWhole(base + ".hold", found);
    if (found) {
        std::ofstream(base + ".started").put('\n');
        for (int k = 0; k < 6000; ++k) {
            ReadWhole(base + ".go", found);
            if (found)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    const std::string out = ReadWhole(base + ".out", found);
    Write(stdout, out);
    const std::string err = ReadWhole(base + ".err", found);
    Write(stderr, err);
    const std::string rc = ReadWhole(base + ".rc", found);
    return found ? std::atoi(rc.c_str()) : 0;
}

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    int i = 1;
    std::vector<std::string> globals;
    while (i < argc && argv[i][0] == '-' && std::strcmp(argv[i], "--version") != 0) {
        globals.push_back(argv[i]);
        if (std::strcmp(argv[i], "-d") == 0 && i + 1 < argc)
            globals.push_back(argv[++i]);
        ++i;
    }
    if (i >= argc) {
        Write(stderr, "fakecvs: no command\n");
        return 1;
    }
    const std::string command = argv[i++];
    std::vector<std::string> args(argv + i, argv + argc);
    auto arg = [&args](size_t k) { return k < args.size() ? args[k] : std::string(); };

    if (command == "--version") {
        Write(stdout, "fakecvs 1.0 (a test double, not a real cvs)\n");
    } else if (command == "args") {
        std::string out;
        for (const std::string& a : args)
            out += std::to_string(a.size()) + ":" + a + "\n";
        Write(stdout, out);
    } else if (command == "globals") {
        for (const std::string& g : globals)
            Write(stdout, g + "\n");
    } else if (command == "streams") {
        int n = std::atoi(arg(0).c_str());
        for (int k = 0; k < n; ++k) {
            Write(stdout, "out " + std::to_string(k) + "\n");
            Write(stderr, "err " + std::to_string(k) + "\n");
        }
    } else if (command == "exit") {
        return std::atoi(arg(0).c_str());
    } else if (command == "stderr") {
        Write(stderr, arg(0) + "\n");
        return 1;
    } else if (command == "sleep") {
        Write(stdout, "sleeping\n");
        SleepSeconds(arg(0));
    } else if (command == "tree") {
        long child = StartSelf(argv[0], "sleep", arg(0));
        WriteIds(arg(1), {child, ThisProcessId()});
        Write(stdout, "started " + std::to_string(child) + "\n");
        SleepSeconds(arg(0));
    } else if (command == "deaf") {
        IgnoreTerminate();
        CloseOutputStreams();
        WriteIds(arg(1), {ThisProcessId()});
        SleepSeconds(arg(0));
    } else if (command == "linger") {
        long child = StartSelf(argv[0], "stubborn", arg(1), arg(0));
        WriteIds(arg(2), {child, ThisProcessId()});
        Write(stdout, "started " + std::to_string(child) + "\n");
        SleepSeconds(arg(1));
    } else if (command == "stubborn") {
        IgnoreTerminate();
        Write(stdout, "stubborn\n");
        SleepSeconds(arg(0));
    } else if (command == "bytes") {
        std::vector<char> block(251 * 261); // a whole number of periods, about 64 KiB
        for (size_t k = 0; k < block.size(); ++k)
            block[k] = static_cast<char>(k % 251);
        WriteRepeated(arg(1) == "err" ? stderr : stdout, block, arg(0));
    } else if (command == "flood") {
        const std::vector<char> block(65536, 'f');
        const int n = std::atoi(arg(0).c_str());
        for (int k = 0; k < n; ++k) {
            std::fwrite(block.data(), 1, block.size(), stdout);
            std::fflush(stdout);
            std::fwrite(block.data(), 1, block.size(), stderr);
            std::fflush(stderr);
        }
    } else if (command == "killself") {
        Write(stdout, "dying\n");
#ifdef _WIN32
        TerminateProcess(GetCurrentProcess(), 3);
#else
        raise(SIGKILL);
#endif
    } else if (command == "line") {
        WriteRepeated(stdout, std::vector<char>(65536, 'x'), arg(0));
    } else if (command == "self") {
#ifdef _WIN32
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
        Write(stdout, std::string(path, n) + "\n");
#else
        char path[4096];
        const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
        Write(stdout, std::string(path, n > 0 ? static_cast<size_t>(n) : 0) + "\n");
#endif
    } else if (command == "nul") {
        std::fwrite("a\0b", 1, 3, stdout);
        std::fflush(stdout);
    } else if (command == "env") {
        for (const std::string& name : args) {
            const char* value = std::getenv(name.c_str());
            Write(stdout, value ? name + "=" + value + "\n" : name + " unset\n");
        }
    } else if (command == "unedit") {
        do {
            Write(stdout, "x.txt has been modified; revert changes? ");
            Write(stdout, "answer=[" + ReadLine() + "]\n");
        } while (arg(0) == "forever");
    } else if (command == "login") {
        Write(stderr, "CVS password: ");
        Write(stdout, "password=[" + ReadLine() + "]\n");
    } else if (const char* play = std::getenv("FAKECVS_PLAY")) {
        return Play(play, command);
    } else if (std::getenv("FAKECVS_ANY_COMMAND")) {
        // Tests of the layers above the library only look at which commands ran.
    } else {
        Write(stderr, "fakecvs: unknown command " + command + "\n");
        return 1;
    }
    return 0;
}
