// tests/programs/cvs-shim.cpp - a Windows program that runs the Linux cvs from inside Wine,
// so that the Windows client library can be tested against the real cvs.
//
// Under Wine a Linux program started with CreateProcess gets no process handle and ignores
// pipe handles. The shim therefore starts /bin/bash (a Linux process) with a script that
// connects the program's standard input, output and error to three loopback TCP ports of the
// shim and reports its exit status on a fourth, and pumps those sockets to and from its own
// standard handles. To its caller it is an ordinary Windows console program: streamed output,
// separate error stream, the real exit status.
//
// Arguments arrive as UTF-16 and go to Linux as UTF-8, each quoted for Wine's splitting.
// Windows paths are turned into Linux paths: an argument "X:\..." and the roots
// ":local:X:\...", ":fork:X:\..." (also in CVSROOT, HOME and CVS_PASSFILE). The administrative
// files of the working folders it may read are read as a cvs for Windows reads them (CR LF is
// a line end). Test machines only: any local process could connect to the ports first.
// CVS_SHIM_TARGET names another Linux program.
#include "platform/Process.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <shellapi.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using UnixNameFn = char*(CDECL*)(const WCHAR*);
using DosNameFn = WCHAR*(CDECL*)(const char*);
UnixNameFn g_toUnix;
DosNameFn g_toDos;

std::string Utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    return w;
}

bool IsDrivePath(const std::string& s, size_t at = 0) {
    return s.size() >= at + 3 && std::isalpha(static_cast<unsigned char>(s[at])) &&
           s[at + 1] == ':' && (s[at + 2] == '\\' || s[at + 2] == '/');
}

std::string ToUnix(const std::string& path) {
    char* unixPath = g_toUnix(Wide(path).c_str());
    if (!unixPath)
        return path;
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string Convert(const std::string& arg) {
    if (IsDrivePath(arg))
        return ToUnix(arg);
    for (const char* method : {":local:", ":fork:"}) {
        size_t n = std::strlen(method);
        if (arg.compare(0, n, method) == 0 && IsDrivePath(arg, n))
            return method + ToUnix(arg.substr(n));
    }
    return arg;
}

SOCKET Listen(unsigned short& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof a;
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) || listen(s, 1) ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len))
        return INVALID_SOCKET;
    port = ntohs(a.sin_port);
    return s;
}

SOCKET AcceptWithin(SOCKET listener, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(listener, &set);
    timeval tv = {ms / 1000, (ms % 1000) * 1000};
    SOCKET c = select(0, &set, nullptr, nullptr, &tv) == 1 ? accept(listener, nullptr, nullptr)
                                                           : INVALID_SOCKET;
    closesocket(listener);
    return c;
}

struct Pump {
    SOCKET socket;
    HANDLE handle;
};

DWORD WINAPI SocketToHandle(void* p) {
    Pump* pump = static_cast<Pump*>(p);
    char buffer[16384];
    int n;
    DWORD written;
    while ((n = recv(pump->socket, buffer, sizeof buffer, 0)) > 0)
        WriteFile(pump->handle, buffer, static_cast<DWORD>(n), &written, nullptr);
    return 0;
}

DWORD WINAPI HandleToSocket(void* p) {
    Pump* pump = static_cast<Pump*>(p);
    char buffer[16384];
    DWORD n;
    while (ReadFile(pump->handle, buffer, sizeof buffer, &n, nullptr) && n > 0)
        if (send(pump->socket, buffer, static_cast<int>(n), 0) <= 0)
            break;
    shutdown(pump->socket, SD_SEND); // the Linux side reads end of file
    return 0;
}

// Whether the folder has an entry of that name that is itself a folder.
bool HasFolder(const std::wstring& folder, const wchar_t* name) {
    const DWORD attributes = GetFileAttributesW((folder + L"\\" + name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A cvs built for Windows reads its administrative files in text mode, where CR LF ends a
// line; the Linux cvs would keep the CR as part of the line (a repository "mod\r"). So the
// files of the CVS folders that cvs may read lose the CR of their line ends first: the
// current folder's and, below it, those of the folders cvs would enter (the ones with a CVS
// folder). Files of CVS\Base, copies of working files, are never touched.
void DropCarriageReturns(const std::wstring& folder, int depth) {
    if (depth > 64 || !HasFolder(folder, L"CVS"))
        return;
    WIN32_FIND_DATAW found;
    const std::wstring admin = folder + L"\\CVS";
    HANDLE search = FindFirstFileW((admin + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::wstring file = admin + L"\\" + found.cFileName;
        std::string text;
        if (FILE* in = _wfopen(file.c_str(), L"rb")) {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
                text.append(buffer, n);
            std::fclose(in);
        }
        std::string lines;
        for (size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                lines += text[i];
        if (lines.size() == text.size())
            continue;
        if (FILE* out = _wfopen(file.c_str(), L"wb")) {
            std::fwrite(lines.data(), 1, lines.size(), out);
            std::fclose(out);
        }
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L".." &&
            name != L"CVS")
            DropCarriageReturns(folder + L"\\" + name, depth + 1);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

} // namespace

int main() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    g_toUnix = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    g_toDos = reinterpret_cast<DosNameFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
    if (!g_toUnix || !g_toDos) {
        std::fprintf(stderr, "cvs-shim: this program runs only under Wine\n");
        return 126;
    }
    const char* target =
        std::getenv("CVS_SHIM_TARGET") ? std::getenv("CVS_SHIM_TARGET") : "/usr/bin/cvs";
    if (!std::getenv("CVS_SHIM_TARGET")) {
        WCHAR current[MAX_PATH];
        const DWORD n = GetCurrentDirectoryW(MAX_PATH, current);
        if (n > 0 && n < MAX_PATH)
            DropCarriageReturns(current, 0);
    }
    for (const char* name : {"CVSROOT", "HOME", "CVS_PASSFILE"})
        if (const char* value = std::getenv(name))
            SetEnvironmentVariableA(name, Convert(value).c_str());

    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    unsigned short ports[4];
    SOCKET listeners[4];
    for (int i = 0; i < 4; ++i)
        if ((listeners[i] = Listen(ports[i])) == INVALID_SOCKET) {
            std::fprintf(stderr, "cvs-shim: cannot listen on 127.0.0.1\n");
            return 126;
        }

    WCHAR* bashW = g_toDos("/bin/bash");
    const std::string bash = Utf8(bashW);
    HeapFree(GetProcessHeap(), 0, bashW);
    // $1..$4: the ports; then the program and its arguments.
    const std::string script =
        "exec 0</dev/tcp/127.0.0.1/$1 1>/dev/tcp/127.0.0.1/$2 2>/dev/tcp/127.0.0.1/$3 || exit 125; "
        "p=$4; shift 4; \"$@\"; rc=$?; exec 0<&- 1>&- 2>&-; echo $rc >/dev/tcp/127.0.0.1/$p";
    std::vector<std::string> args = {"-c", script, "cvs-shim"};
    for (unsigned short port : ports)
        args.push_back(std::to_string(port));
    args.push_back(target);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i < argc; ++i)
        args.push_back(Convert(Utf8(argv[i])));
    std::wstring line = Wide(platform::BuildWindowsCommandLine(bash, args));

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::fprintf(stderr, "cvs-shim: cannot start /bin/bash: error %lu\n", GetLastError());
        return 126;
    }
    SOCKET sockets[3];
    for (int i = 0; i < 3; ++i)
        if ((sockets[i] = AcceptWithin(listeners[i], 30000)) == INVALID_SOCKET) {
            std::fprintf(stderr, "cvs-shim: %s did not connect\n", target);
            return 126;
        }
    Pump in = {sockets[0], GetStdHandle(STD_INPUT_HANDLE)};
    Pump out = {sockets[1], GetStdHandle(STD_OUTPUT_HANDLE)};
    Pump err = {sockets[2], GetStdHandle(STD_ERROR_HANDLE)};
    CloseHandle(CreateThread(nullptr, 0, HandleToSocket, &in, 0, nullptr)); // ends with us
    HANDLE pumps[2] = {CreateThread(nullptr, 0, SocketToHandle, &out, 0, nullptr),
                       CreateThread(nullptr, 0, SocketToHandle, &err, 0, nullptr)};
    WaitForMultipleObjects(2, pumps, TRUE, INFINITE);
    int rc = 255; // no status: the program was killed
    SOCKET status = AcceptWithin(listeners[3], 10000);
    if (status != INVALID_SOCKET) {
        char text[16] = {0};
        int got = 0, n;
        while (got < 15 && (n = recv(status, text + got, 15 - got, 0)) > 0)
            got += n;
        if (got > 0)
            rc = std::atoi(text);
    }
    ExitProcess(static_cast<UINT>(rc));
}
