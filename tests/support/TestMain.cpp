// tests/support/TestMain.cpp - the main of every test program.
//
// Under Wine a crash must end the test program at once with a failing status; without the
// filter, Wine may start its debugger and, rarely, exit 0 or hang.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <cstdio>
#include <windows.h>

static LONG WINAPI ExitOnCrash(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "unhandled exception 0x%08lx at %p\n",
                 static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode),
                 e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ExitOnCrash);
#endif
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
