// tests/programs/recordargs.cpp - stands in for the text editor and the diff tool: records
// how it was started in the file named by MORVEK_RECORD_ARGS, one item a line:
//
//   folder=<its current folder>
//   line=<the command line as the system gave it>     (Windows only)
//   arg=<argument>                                    argv[0] first, then each argument
//
// The record is written under another name and renamed, so a test that waits for the file
// reads it whole. Without the variable it does nothing. It always exits 0.
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    const char* target = std::getenv("MORVEK_RECORD_ARGS");
    if (!target || !*target)
        return 0;
    std::string record;
    char folder[4096];
    record += std::string("folder=") + (getcwd(folder, sizeof folder) ? folder : "?") + "\n";
#ifdef _WIN32
    record += std::string("line=") + GetCommandLineA() + "\n";
#endif
    for (int i = 0; i < argc; ++i)
        record += std::string("arg=") + argv[i] + "\n";

    const std::string partial = std::string(target) + ".partial";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out)
        return 0;
    std::fwrite(record.data(), 1, record.size(), out);
    std::fclose(out);
#ifdef _WIN32
    MoveFileExA(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING);
#else
    std::rename(partial.c_str(), target);
#endif
    return 0;
}
