// Working-set trimming.
#include "skin/working_set.h"

#include <shlwapi.h>

#include <atomic>
#include <string>

#include "resources/carried.h"

namespace skin {
namespace {

std::atomic<bool> trimRunning{false};
constexpr DWORD kExitWaitMs = 5000;

DWORD WINAPI TrimThread(void*) {
    RunWorkingSetTrim();
    trimRunning = false;
    return 0;
}

// Puts the tool at path unless a file is there already. The bytes go to a
// temporary file of this thread in the same folder first; the rename never
// replaces a file, so when another process put the tool there meanwhile its
// file stays and ours is thrown away.
bool PlaceTool(const rt::AnsiText& path, const rt::ByteString& tool) {
    if (rt::FileExists(path)) return true;
    const rt::AnsiText temporary = path + "." + std::to_string(GetCurrentProcessId()) + "." +
                                   std::to_string(GetCurrentThreadId()) + ".tmp";
    const bool written = rt::WriteFileBytes(temporary, tool);
    if (!written || !rt::RenameFile(temporary, path)) DeleteFileA(temporary.c_str());
    return rt::FileExists(path) != 0;
}

// At the program's end a trimming thread that still runs is given a moment
// to finish, so the tool is never left starting up for a process that is
// already gone.
struct WaitForTrimAtExit {
    ~WaitForTrimAtExit() { WaitForWorkingSetTrim(kExitWaitMs); }
} waitForTrimAtExit;

}  // namespace

bool StartWorkingSetTrim() {
    if (trimRunning.exchange(true)) return false;
    if (!SHCreateThread(&TrimThread, nullptr, 0, nullptr)) {
        trimRunning = false;
        return false;
    }
    return true;
}

bool WorkingSetTrimRunning() { return trimRunning; }

bool WaitForWorkingSetTrim(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (trimRunning) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

void RunWorkingSetTrim() { RunWorkingSetTrimWith(res::WorkingSetTool()); }

void RunWorkingSetTrimWith(const rt::ByteString& tool) {
    // Without "windir" the path would name the root of the current drive,
    // which is nobody's place for our tool.
    const rt::AnsiText windir = rt::Environment("windir");
    if (windir.empty()) return;
    const rt::AnsiText path = windir + "\\empty.exe";
    if (!PlaceTool(path, tool)) return;
    rt::Run(WorkingSetTrimCommand(path, GetCurrentProcessId()), true, 1);
}

rt::AnsiText WorkingSetTrimCommand(const rt::AnsiText& toolPath, DWORD processId) {
    return "\"" + toolPath + "\" " + std::to_string(processId);
}

}  // namespace skin
