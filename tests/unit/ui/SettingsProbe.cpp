// settings_probe RESULT-FILE - shows the settings dialog through the host the process
// chooses for itself (a terminal, or scripted answers), with the settings of whatever user
// the environment names, and writes the outcome to a file, never to the terminal:
// "result=N", then the values the registry holds afterwards, one per line.
#include "settings/SccSettings.h"
#include "ui/DlgSettings.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: settings_probe RESULT-FILE\n");
        return 2;
    }
    CDlgSettings dialog(nullptr, nullptr);
    const int result = dialog.DoModal();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out)
        return 3;
    CSccSettings stored;
    std::fprintf(out, "result=%d\neditor=%s\nusecompression=%d\ncompresslevel=%s\n", result,
                 stored.GetEditor().c_str(), stored.GetUseCompression() ? 1 : 0,
                 stored.GetCompressLevel().c_str());
    std::fclose(out);
    return 0;
}
