// morvek_sleeper [SECONDS] - a stand-in for a program the provider starts or stops.
//
// Copied under the name a test needs (Belmora.exe, ...), it leaves the file "<its own
// path>.ran" to show that it was started, then sleeps (2 seconds unless told otherwise).
#include "platform/Module.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    const std::string marker = platform::ExecutablePath() + ".ran";
    if (std::FILE* file = std::fopen(marker.c_str(), "wb"))
        std::fclose(file);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 2;
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return 0;
}
