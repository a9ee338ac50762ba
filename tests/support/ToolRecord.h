// tests/support/ToolRecord.h - what the tests of the external tools share: the program
// that stands in for the editor and the diff tool (tests/programs/recordargs), and reading
// how it was started.
//
// A test points MORVEK_RECORD_ARGS at a file of its own (ToolRecorder does, for its life),
// names RecorderProgram() in EDITOR or DIFFEXE, lets the provider start it, and waits for
// the record. The provider does not wait for the tools it starts, so the test does.
#pragma once

#include "platform/Launch.h"
#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// The full path of the recording program.
inline std::string RecorderProgram() {
    return BinDir() + Sep() + (Sep() == '\\' ? "recordargs.exe" : "recordargs");
}

struct ToolStart {
    bool seen = false;
    std::string folder;            // its current folder
    std::string line;              // the command line (Windows only)
    std::vector<std::string> args; // argv[0] first
};

class ToolRecorder {
public:
    ToolRecorder() : env_("MORVEK_RECORD_ARGS", dir_ / "record") {}
    const std::string& RecordFile() const { return file_; }

    // Waits for a start (a generous ceiling: the program is started and left to run), reads
    // the record and removes it, so that the next start is told apart.
    ToolStart Wait(std::chrono::seconds ceiling = std::chrono::seconds(60)) const {
        const auto giveUp = std::chrono::steady_clock::now() + ceiling;
        ToolStart start;
        for (;;) {
            std::FILE* f = std::fopen(file_.c_str(), "rb");
            if (f) {
                std::fclose(f);
                break;
            }
            if (std::chrono::steady_clock::now() > giveUp)
                return start;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::istringstream in(ReadFile(file_));
        std::remove(file_.c_str());
        start.seen = true;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("folder=", 0) == 0)
                start.folder = line.substr(7);
            else if (line.rfind("line=", 0) == 0)
                start.line = line.substr(5);
            else if (line.rfind("arg=", 0) == 0)
                start.args.push_back(line.substr(4));
        }
        return start;
    }
    // Whether a start has been recorded by now, without waiting.
    bool Started() const {
        std::FILE* f = std::fopen(file_.c_str(), "rb");
        if (f)
            std::fclose(f);
        return f != nullptr;
    }

private:
    TempDir dir_{"tool"};
    std::string file_ = dir_ / "record";
    ScopedEnv env_;
};

// The arguments a command line gives the program after its own name, as the C runtime
// splits it: what the recorder sees on every platform.
inline std::vector<std::string> ArgumentsOf(const std::string& commandLine) {
    std::vector<std::string> words = platform::SplitWindowsCommandLine(commandLine);
    words.erase(words.begin());
    return words;
}

// The recorder's arguments after its own name.
inline std::vector<std::string> ArgumentsOf(const ToolStart& start) {
    return start.args.empty() ? start.args
                              : std::vector<std::string>(start.args.begin() + 1, start.args.end());
}

} // namespace testing_support
