// platform/CommandLine.cpp - Windows command-line quoting, a pure function built everywhere
// so that its rules are tested on Linux as well as under Wine.
#include "platform/Launch.h"
#include "platform/Process.h"

namespace platform {

std::string QuoteWindowsArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == '\\') {
            ++i;
            ++backslashes;
        }
        if (i == argument.size()) {
            // The closing quote follows: every backslash before it must be doubled.
            quoted.append(backslashes * 2, '\\');
            break;
        }
        if (argument[i] == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
            quoted += '"';
        } else {
            quoted.append(backslashes, '\\');
            quoted += argument[i];
        }
    }
    quoted += '"';
    return quoted;
}

std::string BuildWindowsCommandLine(const std::string& program,
                                    const std::vector<std::string>& args) {
    std::string line = program.find_first_of(" \t") == std::string::npos && !program.empty()
                           ? program
                           : "\"" + program + "\"";
    for (const std::string& a : args) {
        line += ' ';
        line += QuoteWindowsArgument(a);
    }
    return line;
}

std::vector<std::string> SplitWindowsCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    const size_t n = commandLine.size();
    size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };

    // The program: its quotes only group, and know no escapes.
    std::string program;
    bool quoted = false;
    for (; i < n && (quoted || !blank(commandLine[i])); ++i) {
        if (commandLine[i] == '"')
            quoted = !quoted;
        else
            program += commandLine[i];
    }
    words.push_back(program);

    for (;;) {
        while (i < n && blank(commandLine[i]))
            ++i;
        if (i >= n)
            break;
        std::string word;
        quoted = false;
        for (;;) {
            size_t backslashes = 0;
            while (i < n && commandLine[i] == '\\') {
                ++i;
                ++backslashes;
            }
            bool literal = true;
            if (i < n && commandLine[i] == '"') {
                if (backslashes % 2 == 0) {
                    if (quoted && i + 1 < n && commandLine[i + 1] == '"')
                        ++i; // "" inside quotes: one quote
                    else {
                        literal = false;
                        quoted = !quoted;
                    }
                }
                backslashes /= 2;
            }
            word.append(backslashes, '\\');
            if (i >= n || (!quoted && blank(commandLine[i])))
                break;
            if (literal)
                word += commandLine[i];
            ++i;
        }
        words.push_back(word);
    }
    return words;
}

} // namespace platform
