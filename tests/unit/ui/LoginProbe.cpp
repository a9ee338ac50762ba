// login_probe RESULT-FILE [CVSROOT] - shows the login dialog through the host the process
// chooses for itself (a terminal, or scripted answers) and writes the outcome to a file,
// never to the terminal: "result=N", "cvsroot=...", "password=...", one per line.
#include "ui/DlgPassword.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: login_probe RESULT-FILE [CVSROOT]\n");
        return 2;
    }
    CDlgPassword dialog(nullptr);
    if (argc > 2)
        dialog.SetCvsRoot(argv[2]);
    const int result = dialog.DoModal();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out)
        return 3;
    std::fprintf(out, "result=%d\ncvsroot=%s\npassword=%s\n", result, dialog.GetCvsRoot().c_str(),
                 dialog.GetPassword().c_str());
    std::fclose(out);
    return 0;
}
