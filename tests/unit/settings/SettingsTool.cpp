// morvek_settings_tool - drives CSccSettings from outside a test process: the tests that
// need several processes, a process killed while it saves, or the other platform's build.
//
//   morvek_settings_tool fill           store a fixed set of values that tests recognise
//   morvek_settings_tool dump           print every value and list entry, one per line
//   morvek_settings_tool save N [SIZE]  N saves, each with values tagged "<pid>-<i>";
//                                       with SIZE, LASTUPDATE carries SIZE more bytes
//   morvek_settings_tool save-forever SIZE   the same without end
//
// Every save holds one tag throughout, and the lengths of its lists follow from i, so a
// dump shows whether a file holds one complete save.
#include "platform/ProcessList.h"
#include "settings/SccSettings.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

void Print(const char* name, const std::string& value) {
    std::printf("%s=%s\n", name, Escaped(value).c_str());
}

void Print(const char* name, bool value) {
    std::printf("%s=%d\n", name, value ? 1 : 0);
}

int Dump() {
    CSccSettings s;
    Print("EXCLUSIVELOCK", s.GetExclusiveLock());
    Print("NOCHECKOUTUPDATES", s.GetNoCheckoutUpdates());
    Print("HIDESTATUSUI", s.GetHideStatusUI());
    Print("INDEPENDENTMODE", s.GetIndependentMode());
    Print("WARNONEDIT", s.GetWarnOnEdit());
    Print("DIFFEXE", s.GetDiffExe());
    Print("EDITOR", s.GetEditor());
    Print("CONFLICTEXE", s.GetConflictExe());
    Print("VENDORNAME", s.GetVendorName());
    Print("COMPRESSLEVEL", s.GetCompressLevel());
    Print("USECOMPRESSION", s.GetUseCompression());
    Print("AUTOMERGE", s.GetAutoMerge());
    Print("USEUNIXLF", s.GetUseUnixLF());
    Print("TRACELOG", s.GetTraceLog());
    Print("USECOMMENTS", s.GetUseComments());
    Print("LOGOUTONCLOSE", s.GetLogoutOnClose());
    Print("AUTOCOMMIT", s.GetAutoCommit());
    Print("CVSEXEPATH", s.GetCvsExePath());
    Print("MRUTEMPLATE", s.GetMruTemplate());
    Print("USECVSTRACE", s.GetUseCvsTrace());
    Print("USEQUICKCOMPARE", s.GetUseQuickCompare());
    std::printf("MODULES=%d\n", s.GetModuleCount());
    for (int i = 0; i < s.GetModuleCount(); ++i)
        Print("MODULE", s.GetModule(i));
    std::printf("ROOTS=%d\n", s.GetRootCount());
    for (int i = 0; i < s.GetRootCount(); ++i)
        Print("ROOT", s.GetRoot(i));
    std::printf("TEMPLATES=%d\n", s.GetTemplateCount());
    for (int i = 0; i < s.GetTemplateCount(); ++i)
        Print("TEMPLATE", s.GetTemplate(i));
    return 0;
}

int Fill() {
    CSccSettings s;
    s.SetExclusiveLock(true);
    s.SetNoCheckoutUpdates(true);
    s.SetHideStatusUI(true);
    s.SetIndependentMode(false);
    s.SetWarnOnEdit(true);
    s.SetDiffExe("C:\\Tools\\Compare It\\cmp.exe \"%1\" \"%2\"");
    s.SetEditor("C:\\Program Files\\Editor\\ed.exe");
    s.SetConflictExe("merge.exe");
    s.SetVendorName("Vendor & Sons");
    s.SetCompressLevel("7");
    s.SetUseCompression(true);
    s.SetAutoMerge(false);
    s.SetUseUnixLF(true);
    s.SetUseComments(false);
    s.SetLogoutOnClose(true);
    s.SetAutoCommit(false);
    s.SetCvsExePath("C:\\cvs\\cvs.exe");
    s.SetMruTemplate("Bug fix");
    s.SetUseCvsTrace(true);
    s.SetUseQuickCompare(true);
    for (const char* m : {"tools/lib", "web", "doc\\manual"})
        s.UpdateModuleList(m, false);
    for (const char* r : {":pserver:ann@cvs.example.org:/cvsroot", ":local:C:\\repo"})
        s.UpdateRootList(r, false);
    s.UpdateTemplateList("Release\nVersion bump.", false);
    s.UpdateTemplateList("Bug fix\nFixes #\n\n\tDetails: \"quoted\" and \\back\\slashes", false);
    return 0;
}

void SaveTagged(const std::string& tag, unsigned i, size_t size) {
    CSccSettings s;
    s.SetDiffExe("diff-" + tag);
    s.SetEditor("edit-" + tag);
    s.SetConflictExe("merge-" + tag);
    s.SetVendorName("vendor-" + tag);
    s.SetCvsExePath("cvs-" + tag);
    s.SetMruTemplate("mru-" + tag);
    s.SetExclusiveLock(i % 2 == 1);
    s.SetUseCvsTrace(i % 3 == 1);
    while (s.GetModuleCount() > 0)
        s.UpdateModuleList(s.GetModule(0), true);
    while (s.GetRootCount() > 0)
        s.UpdateRootList(s.GetRoot(0), true);
    while (s.GetTemplateCount() > 0)
        s.UpdateTemplateList(s.GetTemplate(0), true);
    for (unsigned k = 0; k < 1 + i % 15; ++k)
        s.UpdateModuleList("module" + std::to_string(k) + "-" + tag, false);
    for (unsigned k = 0; k < 1 + i % 7; ++k)
        s.UpdateRootList("root" + std::to_string(k) + "-" + tag, false);
    for (unsigned k = 0; k < 1 + i % 5; ++k)
        s.UpdateTemplateList("title" + std::to_string(k) + "\nbody-" + tag, false);
    if (size > 0)
        s.SetCvsExePath("cvs-" + std::string(size, 'x') + "-" + tag);
}

int Save(long count, size_t size) {
    const std::string pid = std::to_string(platform::CurrentProcessId());
    for (long i = 0; count < 0 || i < count; ++i)
        SaveTagged(pid + "-" + std::to_string(i), static_cast<unsigned>(i), size);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "dump" && argc == 2)
        return Dump();
    if (command == "fill" && argc == 2)
        return Fill();
    if (command == "save" && (argc == 3 || argc == 4))
        return Save(std::atol(argv[2]), argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 0);
    if (command == "save-forever" && argc == 3)
        return Save(-1, std::strtoul(argv[2], nullptr, 10));
    std::fprintf(stderr, "usage: morvek_settings_tool fill | dump | save N [SIZE] | "
                         "save-forever SIZE\n");
    return 2;
}
