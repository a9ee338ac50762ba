// cvsglue/Session.cpp - running cvs once: streaming, passwords, questions, abort.
#include "cvsglue/Session.h"

#include "platform/Environment.h"
#include "platform/PathStyle.h"
#include "platform/User.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <optional>
#include <thread>

namespace cvsglue {
namespace {

constexpr size_t kErrorKept = 1u << 20;
constexpr size_t kRecentKept = 1024;
constexpr int kDetectTimeoutMs = 15000;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Whether the recent standard output ends in a question that waits for an answer: GNU asks
// without a line feed ("... has been modified; revert changes? ", "Are you sure you want to
// release directory `x': "); the Windows variant ends its questions with "Enter: Yes/No".
bool EndsInQuestion(const std::string& recent) {
    std::string last = recent;
    const bool complete = !last.empty() && last.back() == '\n';
    while (!last.empty() && (last.back() == '\n' || last.back() == '\r'))
        last.pop_back();
    std::string::size_type nl = last.rfind('\n');
    if (nl != std::string::npos)
        last.erase(0, nl + 1);
    if (StartsWith(last, "Enter: Yes/No"))
        return true;
    if (complete)
        return false;
    return EndsWith(last, "? ") || (StartsWith(last, "Are you sure") && EndsWith(last, ": "));
}

bool IsPasswordPrompt(const std::string& partialLine) {
    return EndsWith(Lower(partialLine), "password: ") || EndsWith(Lower(partialLine), "password:");
}

std::mutex g_dialectMutex;
std::map<std::string, Dialect> g_dialects;

} // namespace

Session::Session(const Callbacks& callbacks, std::string executable)
    : callbacks_(callbacks), executable_(std::move(executable)) {}

void Session::Output(const std::string& text) {
    if (callbacks_.out && !text.empty())
        callbacks_.out(text.c_str(), text.size(), callbacks_.userData, nullptr);
}

void Session::Error(const std::string& text) {
    if (callbacks_.err && !text.empty())
        callbacks_.err(text.c_str(), text.size(), callbacks_.userData, nullptr);
}

const char* Session::GetEnv(const char* name) {
    return callbacks_.getenv ? callbacks_.getenv(name, callbacks_.userData) : nullptr;
}

void Session::Abort() {
    aborted_ = true;
    std::lock_guard<std::mutex> lock(mutex_);
    if (current_)
        current_->Terminate();
}

std::string Session::Variable(const std::string& name) const {
    for (auto it = environment_.rbegin(); it != environment_.rend(); ++it)
        if (it->first == name)
            return it->second;
    return platform::GetEnvironmentValue(name).value_or(std::string());
}

bool Session::Detect(Dialect& dialect) {
    {
        std::lock_guard<std::mutex> lock(g_dialectMutex);
        auto it = g_dialects.find(executable_);
        if (it != g_dialects.end()) {
            dialect = it->second;
            return true;
        }
    }
    RunOptions options;
    options.deliver = false;
    options.captureOutput = true;
    options.timeoutMs = kDetectTimeoutMs;
    RunResult r = Run({"--version"}, options);
    if (!r.started) {
        Error("cvs2ntlib: " + r.startError + "\n");
        return false;
    }
    if (r.aborted) {
        if (!aborted_)
            Error("cvs2ntlib: " + executable_ + " --version did not end; is it a cvs program?\n");
        return false;
    }
    dialect = DialectFromVersionText(r.output);
    std::lock_guard<std::mutex> lock(g_dialectMutex);
    g_dialects[executable_] = dialect;
    return true;
}

void Session::PrepareEnvironment(Dialect dialect) {
    std::vector<std::pair<std::string, std::string>> answers;
    for (const std::string& name : AskedVariables())
        if (const char* value = GetEnv(name.c_str()))
            answers.emplace_back(name, value);
    std::string profile = platform::UserProfileFolder();
    std::string passFile;
    if (!profile.empty()) {
        passFile = profile;
        if (passFile.back() != '/' && passFile.back() != '\\')
            passFile += platform::kPathSeparator;
        passFile += ".cvspass";
    }
    environment_ = CommandEnvironment(
        dialect, answers, platform::GetEnvironmentValue("CVS_PASSFILE").value_or(std::string()),
        passFile);
}

RunResult Session::Run(const std::vector<std::string>& args, const RunOptions& options) {
    RunResult r;
    if (aborted_) {
        r.aborted = true;
        return r;
    }
    platform::ProcessSpec spec;
    spec.program = executable_;
    spec.args = args;
    spec.folder = options.folder;
    spec.set = environment_;
    spec.keepInput = options.answerPassword || options.answerQuestions;
    platform::ChildProcess child;
    if (!child.Start(spec, r.startError))
        return r;
    r.started = true;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        current_ = &child;
    }
    if (aborted_)
        child.Terminate();

    std::mutex timerMutex;
    std::condition_variable timerWake;
    bool finished = false;
    std::atomic<bool> timedOut{false};
    std::thread timer;
    if (options.timeoutMs > 0) {
        timer = std::thread([&] {
            std::unique_lock<std::mutex> lock(timerMutex);
            if (!timerWake.wait_for(lock, std::chrono::milliseconds(options.timeoutMs),
                                    [&] { return finished; })) {
                timedOut = true;
                child.Terminate();
            }
        });
    }

    std::optional<ListingRewriter> listing;
    if (options.listing)
        listing = *options.listing;
    std::string recent;   // the end of standard output, for questions
    std::string errLine;  // standard error not yet delivered, while a password may come
    bool refused = false; // the password was declined
    std::string text;

    auto deliverError = [&](const std::string& t) {
        if (options.deliver)
            Error(t);
    };
    child.Pump([&](platform::ProcessStream stream, const char* data, size_t size) {
        if (stream == platform::ProcessStream::Output) {
            r.outputBytes += size;
            if (listing)
                text = listing->Feed(data, size);
            else
                text.assign(data, size);
            if (options.captureOutput)
                r.output += text;
            if (options.deliver)
                Output(text);
            if (options.answerQuestions) {
                recent.append(data, size);
                if (recent.size() > kRecentKept)
                    recent.erase(0, recent.size() - kRecentKept);
                if (EndsInQuestion(recent)) {
                    recent.clear();
                    const char* answer = GetEnv("CVSLIB_YESNO");
                    const bool yes = answer && (answer[0] == 'y' || answer[0] == 'Y');
                    child.WriteInput(yes ? "y\n" : "n\n");
                }
            }
            return;
        }
        if (r.error.size() < kErrorKept)
            r.error.append(data, std::min(size, kErrorKept - r.error.size()));
        if (!options.answerPassword) {
            if (options.deliver) {
                text.assign(data, size);
                Error(text);
            }
            return;
        }
        errLine.append(data, size);
        std::string::size_type nl = errLine.rfind('\n');
        if (nl != std::string::npos) {
            deliverError(errLine.substr(0, nl + 1));
            errLine.erase(0, nl + 1);
        }
        if (!refused && IsPasswordPrompt(errLine)) {
            // The prompt is the library's to answer; the user never sees it.
            errLine.clear();
            const char* password = GetEnv("CVS_GETPASS");
            if (!password || !*password) {
                refused = true;
                deliverError("cvs login: no password given; the login was not tried\n");
                child.Terminate();
            } else {
                child.WriteInput(std::string(password) + "\n");
            }
        }
    });
    if (listing) {
        text = listing->Finish();
        if (options.captureOutput)
            r.output += text;
        if (options.deliver)
            Output(text);
    }
    deliverError(errLine);
    r.status = child.Wait();
    r.endSignal = child.EndSignalText();
    if (timer.joinable()) {
        {
            std::lock_guard<std::mutex> lock(timerMutex);
            finished = true;
        }
        timerWake.notify_all();
        timer.join();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        current_ = nullptr;
    }
    if (refused)
        r.status = 1;
    r.aborted = aborted_ || timedOut;
    return r;
}

} // namespace cvsglue
