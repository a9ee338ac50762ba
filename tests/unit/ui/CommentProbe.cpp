// comment_probe RESULT-FILE [COMMENT] - shows the check-in comment dialog through the host
// the process chooses for itself (a terminal, or scripted answers), with the settings of
// whatever user the environment names, and writes the outcome to a file, never to the
// terminal: "result=N", "comment=...", "donotdisplay=0|1", "mru=...", one per line.
#include "settings/SccSettings.h"
#include "ui/DlgComment.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: comment_probe RESULT-FILE [COMMENT]\n");
        return 2;
    }
    CDlgComment dialog(nullptr);
    if (argc > 2)
        dialog.SetComment(argv[2]);
    const int result = dialog.DoModal();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out)
        return 3;
    std::fprintf(out, "result=%d\ncomment=%s\ndonotdisplay=%d\nmru=%s\n", result,
                 dialog.GetComment().c_str(), dialog.GetDoNotDisplay() ? 1 : 0,
                 GetSettings().GetMruTemplate().c_str());
    std::fclose(out);
    return 0;
}
