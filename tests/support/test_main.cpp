// Shared main for every test program: GoogleTest with its output unbuffered,
// so a crash under Wine still shows which case was running.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    // A crash must fail the test, not open a debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
