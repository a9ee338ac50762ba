// scc/Trace.cpp - the trace writer.
#include "scc/Trace.h"

#include "platform/MessageBox.h"
#include "scc/SccNames.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

constexpr const char* kBanner = "================================================\n";

// The path is read by every piece and emptied by a failing one, possibly on other threads;
// the lock guards only the string, not the order of pieces in the file.
std::mutex& PathLock() {
    static std::mutex lock;
    return lock;
}
std::string& Path() {
    static std::string path;
    return path;
}

std::string Format(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[512];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (static_cast<size_t>(n) < sizeof small)
        return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(n));
}

} // namespace

void SetTracePath(const std::string& path) {
    std::lock_guard<std::mutex> guard(PathLock());
    Path() = path;
}

std::string GetTracePath() {
    std::lock_guard<std::mutex> guard(PathLock());
    return Path();
}

bool IsTracing() {
    return !GetTracePath().empty();
}

void TraceLog(const char* format, ...) {
    const std::string path = GetTracePath();
    if (path.empty())
        return;
    va_list args;
    va_start(args, format);
    const std::string text = Format(format, args);
    va_end(args);

    // Binary append: the trace holds exactly the bytes of the pieces, LF line ends included.
    if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(PathLock());
        if (Path() != path)
            return; // another thread already gave up on this file
        Path().clear();
    }
    platform::ShowSystemMessageBox(nullptr, "Failed to create log file", "Morvek CVS SCC",
                                   platform::kMbOk);
}

void TraceBegin(const char* namePiece) {
    TraceLog("%s", kBanner);
    TraceLog("%s", namePiece);
    TraceLog("%s", kBanner);
}

void TraceResult(int32_t result) {
    TraceLog("RESULT: %08x (%s)\n", static_cast<uint32_t>(result), SccResultName(result));
}
