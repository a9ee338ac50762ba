// platform/Terminal.h - the terminal a command-line program talks to.
//
// Prompts and progress go to standard error, answers come from standard input, so that
// standard output stays free for results. On Windows the terminal is the console; typing
// without echo uses the console mode, Ctrl-C arrives through the console control handler.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

enum class StandardStream { Input, Output, Error };

bool IsTerminal(StandardStream stream);

// Whether the program is a console program. Windows: the executable's subsystem (a windowed
// program, such as an IDE, has no console of its own). POSIX: always.
bool IsConsoleProgram();

// Writes the prompt to standard error, then reads one line from standard input and stores it
// without its line end. With echo false and a terminal on standard input, what is typed is
// not shown (only the final line feed is); the terminal's echo comes back before the
// function returns, and also when the program is stopped by a signal meanwhile.
// False at the end of input (Ctrl-D, Ctrl-Z on Windows) or on a read error.
bool ReadTerminalLine(const std::string& prompt, std::string& line, bool echo);

// The width of the terminal on standard error in characters; 0 when it is not a terminal.
int TerminalColumns();

// While an InterruptWatch lives, the first Ctrl-C calls onInterrupt instead of ending the
// program; a second Ctrl-C ends it as it would without the watch. onInterrupt runs on a
// thread of the watch's own, never inside a signal handler, so it may do anything that is
// safe from another thread. One watch at a time; a second one made while the first lives
// does nothing.
class InterruptWatch {
public:
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace platform
