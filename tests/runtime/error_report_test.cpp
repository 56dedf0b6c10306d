// The error report stops the whole program with a clear text and a nonzero
// exit code instead of reading past memory or using a unit of another kind.
#include <gtest/gtest.h>

#include <string>

#include "runtime/runtime.h"

namespace {

struct Outcome { DWORD exitCode; std::string err; };

Outcome RunHelper(const char* how) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe(self);
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + "error_report_helper.exe";
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdError = writeEnd;
    si.hStdOutput = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string cmd = "\"" + exe + "\" " + how;
    SetEnvironmentVariableA("PINYIN_ERROR_REPORT_QUIET", "1");
    PROCESS_INFORMATION pi = {};
    Outcome out = {0xFFFFFFFF, ""};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << exe;
        return out;
    }
    CloseHandle(writeEnd);
    char buf[512];
    DWORD got;
    while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got) out.err.append(buf, got);
    WaitForSingleObject(pi.hProcess, 30000);
    GetExitCodeProcess(pi.hProcess, &out.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(readEnd);
    return out;
}

TEST(ErrorReport, StopsTheProgramWithAClearReport) {
    struct Case { const char* how; const char* says; };
    for (const Case& c : {Case{"index", "array index out of range"}, Case{"kind", "a unit of the wrong type"},
                          Case{"name", "no unit is named nothing"}}) {
        const Outcome out = RunHelper(c.how);
        EXPECT_EQ(out.exitCode, 3u) << c.how;
        EXPECT_NE(out.err.find(c.says), std::string::npos) << c.how << ": " << out.err;
    }
}

}  // namespace
