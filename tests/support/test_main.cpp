// Shared main for every test program: GoogleTest with its output unbuffered,
// so a crash under Wine still shows which case was running.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    // A crash must fail the test, not open a debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    // Test windows take activation from each other all the time, and every
    // deactivation of a skinned window trims the working set by writing and
    // running a tool in %windir%. No test program should touch the Windows
    // folder or leave a tool running that holds the test runner's output:
    // without "windir" the engine trims nothing. The trimming tests set it
    // to a folder of their own.
    SetEnvironmentVariableA("windir", nullptr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
