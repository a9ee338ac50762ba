// platform/CommandLine.cpp - Windows command-line quoting, a pure function built everywhere
// so that its rules are tested on Linux as well as under Wine.
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

} // namespace platform
