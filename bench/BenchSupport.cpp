// bench/BenchSupport.cpp - the baseline runner and the byte checker.
#include "bench/BenchSupport.h"

#include "platform/Module.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

std::string BinDir() {
    std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('/'));
}

std::string FakeCvs() {
    return BinDir() + "/fakecvs";
}

void Checker::Feed(const char* data, size_t size) {
    if (size > maxChunk)
        maxChunk = size;
    unsigned phase = static_cast<unsigned>(count % 251);
    for (size_t i = 0; i < size; ++i) {
        wrong += static_cast<unsigned char>(data[i]) != phase;
        if (++phase == 251)
            phase = 0;
    }
    count += size;
}

double PlainPipe(const std::string& program, const std::vector<std::string>& args, Checker& check) {
    auto start = Clock::now();
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    static char buffer[65536];
    for (;;) {
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        check.Feed(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int RunQuietly(const std::vector<std::string>& argv, const std::string& folder) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace bench
