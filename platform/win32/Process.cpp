// platform/win32/Process.cpp - child processes with CreateProcessA, anonymous pipes and a job
// object.
//
// Anonymous pipes have no asynchronous reads, so one thread per output pipe reads and hands
// its chunks to the thread in Pump through a queue; the callbacks therefore all arrive on the
// thread that pumps. The job holds the child and everything it starts, so terminating the
// job ends the whole tree; closing the job's last handle does the same.
#include "platform/Process.h"
#include "platform/Environment.h"
#include "platform/win32/Win32.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>

namespace platform {

using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kDrainAfterKill = std::chrono::milliseconds(500);
constexpr auto kDrainAfterExit = std::chrono::milliseconds(1000);
constexpr auto kJobEmptyWait = std::chrono::milliseconds(500);
constexpr size_t kQueueLimit = 4u << 20; // a reader waits while this much is unread

constexpr UINT kTerminatedExitCode = 1;

void CloseH(HANDLE& h) {
    if (h && h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    h = nullptr;
}

bool SameNameNoCase(const std::string& entry, const std::string& name) {
    if (entry.size() <= name.size() || entry[name.size()] != '=')
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(entry[i])) !=
            std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// The chunks the reader threads have read, in arrival order.
struct Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<ProcessStream, std::string>> chunks;
    size_t bytes = 0;
    int open = 2;           // readers not yet at end of file
    bool abandoned = false; // Pump has stopped listening
};

struct Reader {
    std::shared_ptr<Queue> queue;
    HANDLE pipe;
    ProcessStream stream;
};

DWORD WINAPI ReadPipe(void* parameter) {
    std::unique_ptr<Reader> reader(static_cast<Reader*>(parameter));
    Queue& queue = *reader->queue;
    std::string buffer(65536, '\0');
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(reader->pipe, buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                        nullptr) ||
            got == 0)
            break;
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.changed.wait(lock, [&] { return queue.bytes < kQueueLimit || queue.abandoned; });
        if (queue.abandoned)
            continue; // keep reading so that the writer never blocks, but drop the text
        queue.chunks.emplace_back(reader->stream, std::string(buffer.data(), got));
        queue.bytes += got;
        queue.changed.notify_all();
    }
    ::CloseHandle(reader->pipe);
    std::lock_guard<std::mutex> lock(queue.mutex);
    --queue.open;
    queue.changed.notify_all();
    return 0;
}

} // namespace

struct ChildProcess::State {
    HANDLE process = nullptr;
    HANDLE job = nullptr;
    HANDLE input = nullptr;
    HANDLE output = nullptr, error = nullptr; // handed to the readers by Pump
    DWORD pid = 0;
    bool reaped = false;
    int status = -1;
    std::mutex mutex;
    std::atomic<bool> terminated{false};
    Clock::time_point terminatedAt;
    std::shared_ptr<Queue> queue = std::make_shared<Queue>();

    ~State() {
        CloseH(input);
        CloseH(output);
        CloseH(error);
        CloseH(process);
        CloseH(job); // kills whatever is left of the tree
    }
};

ChildProcess::ChildProcess() : state_(std::make_shared<State>()) {}

ChildProcess::~ChildProcess() {
    if (state_->process && !state_->reaped) {
        Terminate();
        Wait();
    }
}

bool ChildProcess::Start(const ProcessSpec& spec, std::string& error) {
    if (win32::Injected(FaultKind::Process, ERROR_NOT_ENOUGH_MEMORY, "Start", spec.program)) {
        error = "cannot run " + spec.program + ": " + win32::ErrorText(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    State& s = *state_;
    if (s.process) {
        error = "a process was already started";
        return false;
    }
    SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr,
           errRead = nullptr, errWrite = nullptr;
    auto closeAll = [&] {
        CloseH(inRead), CloseH(inWrite), CloseH(outRead), CloseH(outWrite), CloseH(errRead),
            CloseH(errWrite);
    };
    if (!::CreatePipe(&inRead, &inWrite, &inherit, 0) ||
        !::CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        error = "cannot create a pipe: " + win32::ErrorText(::GetLastError());
        closeAll();
        return false;
    }
    // Only the child's ends are inherited.
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    // The environment block: inherited entries with the changes applied, sorted as Windows
    // expects, each NUL-terminated, the block ended by one more NUL.
    std::vector<std::string> env;
    if (char* block = ::GetEnvironmentStringsA()) {
        for (const char* p = block; *p; p += std::strlen(p) + 1)
            env.emplace_back(p);
        ::FreeEnvironmentStringsA(block);
    }
    auto removeName = [&env](const std::string& name) {
        env.erase(std::remove_if(env.begin(), env.end(),
                                 [&](const std::string& e) { return SameNameNoCase(e, name); }),
                  env.end());
    };
    for (const auto& [name, value] : spec.set) {
        removeName(name);
        env.push_back(name + "=" + value);
    }
    for (const std::string& name : spec.unset)
        removeName(name);
    std::stable_sort(env.begin(), env.end(), [](const std::string& a, const std::string& b) {
        return _stricmp(a.c_str(), b.c_str()) < 0;
    });
    std::string block;
    for (const std::string& e : env) {
        block += e;
        block += '\0';
    }
    block += '\0';

    std::string commandLine = BuildWindowsCommandLine(spec.program, spec.args);
    STARTUPINFOA si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inRead;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);

    s.job = ::CreateJobObjectA(nullptr, nullptr);
    if (s.job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
        std::memset(&limits, 0, sizeof limits);
        // What the child means to outlive it (a program started for the user) may leave
        // the job by asking to; everything else ends with the job.
        limits.BasicLimitInformation.LimitFlags =
            JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
        ::SetInformationJobObject(s.job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    BOOL created = FALSE;
    DWORD createError = 0;
    // A start that the system gives up as an internal error (Wine does so when a loaded
    // machine keeps the new process from starting in time) never ran the child: starting it
    // again is safe.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0)
            ::Sleep(200);
        created = ::CreateProcessA(spec.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                   CREATE_SUSPENDED | CREATE_NO_WINDOW, block.data(),
                                   spec.folder.empty() ? nullptr : spec.folder.c_str(), &si, &pi);
        createError = ::GetLastError();
        if (created || createError != ERROR_INTERNAL_ERROR)
            break;
    }
    CloseH(inRead);
    CloseH(outWrite);
    CloseH(errWrite);
    if (!created) {
        error = "cannot run " + spec.program + ": " + win32::ErrorText(createError);
        // Windows refuses a longer command line with a text that does not say so.
        constexpr size_t kCommandLineLimit = 32767;
        if (commandLine.size() > kCommandLineLimit)
            error = "cannot run " + spec.program + ": its command line is " +
                    std::to_string(commandLine.size()) + " characters long; Windows takes " +
                    std::to_string(kCommandLineLimit) + " at most";
        closeAll();
        CloseH(s.job);
        return false;
    }
    // A host that runs in a job which forbids nesting keeps the child out of ours; then
    // Terminate ends the child alone.
    if (s.job && !::AssignProcessToJobObject(s.job, pi.hProcess))
        CloseH(s.job);
    ::ResumeThread(pi.hThread);
    ::CloseHandle(pi.hThread);
    s.process = pi.hProcess;
    s.pid = pi.dwProcessId;
    s.input = inWrite;
    s.output = outRead;
    s.error = errRead;
    if (!spec.keepInput)
        CloseH(s.input);
    return true;
}

void ChildProcess::Pump(const ProcessSink& sink) {
    State& s = *state_;
    if (!s.process || !s.output)
        return;
    std::shared_ptr<Queue> queue = s.queue;
    // Win32 threads, so that they can be cancelled and joined: none of them may outlive the
    // call, since the module that holds their code may be unloaded right after it.
    HANDLE readers[2] = {nullptr, nullptr};
    HANDLE pipes[2] = {s.output, s.error};
    const ProcessStream streams[2] = {ProcessStream::Output, ProcessStream::Error};
    s.output = s.error = nullptr; // the readers close them
    for (int k = 0; k < 2; ++k) {
        readers[k] = ::CreateThread(nullptr, 0, ReadPipe, new Reader{queue, pipes[k], streams[k]},
                                    0, nullptr);
        if (!readers[k]) {
            ::CloseHandle(pipes[k]);
            std::lock_guard<std::mutex> lock(queue->mutex);
            --queue->open;
        }
    }
    Clock::time_point giveUpAt = Clock::time_point::max();
    bool exited = false;
    std::unique_lock<std::mutex> lock(queue->mutex);
    for (;;) {
        while (!queue->chunks.empty()) {
            auto chunk = std::move(queue->chunks.front());
            queue->chunks.pop_front();
            queue->bytes -= chunk.second.size();
            queue->changed.notify_all();
            lock.unlock();
            if (sink)
                sink(chunk.first, chunk.second.data(), chunk.second.size());
            lock.lock();
        }
        if (queue->open == 0)
            break;
        if (s.terminated) {
            std::lock_guard<std::mutex> stateLock(s.mutex);
            giveUpAt = std::min(giveUpAt, s.terminatedAt + kDrainAfterKill);
        }
        if (!exited && ::WaitForSingleObject(s.process, 0) == WAIT_OBJECT_0) {
            exited = true;
            giveUpAt = std::min(giveUpAt, Clock::now() + kDrainAfterExit);
        }
        if (Clock::now() >= giveUpAt)
            break; // a process outside the job keeps a pipe open: stop waiting for it
        queue->changed.wait_for(lock, std::chrono::milliseconds(s.terminated ? 20 : 100));
    }
    queue->abandoned = true;
    queue->changed.notify_all();
    const bool stuck = queue->open > 0;
    lock.unlock();
    for (HANDLE reader : readers) {
        if (!reader)
            continue;
        if (stuck)
            ::CancelSynchronousIo(reader); // a stray process holds the pipe open
        if (::WaitForSingleObject(reader, 2000) != WAIT_OBJECT_0)
            ::TerminateThread(reader, 1); // cannot be cancelled: never run past the call
        ::CloseHandle(reader);
    }
}

bool ChildProcess::WriteInput(const std::string& data) {
    State& s = *state_;
    if (!s.input)
        return false;
    for (size_t done = 0; done < data.size();) {
        DWORD written = 0;
        if (!::WriteFile(s.input, data.data() + done, static_cast<DWORD>(data.size() - done),
                         &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

void ChildProcess::CloseInput() {
    CloseH(state_->input);
}

int ChildProcess::Wait() {
    State& s = *state_;
    if (!s.process)
        return -1;
    if (s.reaped)
        return s.status;
    CloseH(s.input);
    ::WaitForSingleObject(s.process, INFINITE);
    DWORD code = 0;
    std::lock_guard<std::mutex> lock(s.mutex);
    s.status = ::GetExitCodeProcess(s.process, &code) ? static_cast<int>(code) : -1;
    s.reaped = true;
    if (s.terminated && s.job) {
        // What is left of the tree; termination is asynchronous, so wait (briefly) until the
        // job is empty: after an abort nothing of the command may still run.
        ::TerminateJobObject(s.job, kTerminatedExitCode);
        const auto until = Clock::now() + kJobEmptyWait;
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info;
        while (::QueryInformationJobObject(s.job, JobObjectBasicAccountingInformation, &info,
                                           sizeof info, nullptr) &&
               info.ActiveProcesses > 0 && Clock::now() < until)
            ::Sleep(5);
    }
    return s.status;
}

void ChildProcess::Terminate() {
    State& s = *state_;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.process || s.reaped)
        return;
    if (!s.terminated) {
        s.terminatedAt = Clock::now();
        s.terminated = true;
    }
    if (s.job)
        ::TerminateJobObject(s.job, kTerminatedExitCode);
    else
        ::TerminateProcess(s.process, kTerminatedExitCode);
    s.queue->changed.notify_all();
}

bool ChildProcess::WasTerminated() const {
    return state_->terminated;
}

std::string ChildProcess::EndSignalText() const {
    return std::string();
}

long ChildProcess::Id() const {
    return static_cast<long>(state_->pid);
}

std::string ProgramFileName(const std::string& base) {
    return base + ".exe";
}

std::string FindProgramOnPath(const std::string& program) {
    if (program.empty() || program.find_first_of("\\/:") != std::string::npos)
        return std::string();
    const std::string path = GetEnvironmentValue("PATH").value_or(std::string());
    for (const std::string& folder : ProgramSearchFolders(path, PathStyle::Windows)) {
        const char last = folder.back();
        const std::string candidate = folder + (last == '\\' || last == '/' ? "" : "\\") + program;
        const DWORD attributes = ::GetFileAttributesA(candidate.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return candidate;
    }
    return std::string();
}

} // namespace platform
