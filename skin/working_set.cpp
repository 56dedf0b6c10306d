// Working-set trimming.
#include "skin/working_set.h"

#include <shlwapi.h>

#include <atomic>
#include <memory>
#include <string>

#include "resources/carried.h"

namespace skin {
namespace {

// Trimming threads started and not yet ended. Each deactivation starts one,
// however many still run: each writes the tool under a name of its own and
// renames it into place, so overlapping threads never see a half-written one.
std::atomic<int> trimsRunning{0};
constexpr DWORD kExitWaitMs = 5000;

// The thread owns the tool's bytes it is given. The carried bytes are a
// static of the program made on first use, later than the wait at the end
// below, so they are destroyed before that wait: a thread still writing from
// them at the end would write freed memory into the tool.
DWORD WINAPI TrimThread(void* tool) {
    const std::unique_ptr<rt::ByteString> own(static_cast<rt::ByteString*>(tool));
    RunWorkingSetTrimWith(*own);
    --trimsRunning;
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

// At the program's end trimming threads that still run are given a moment
// to finish, so the tool is never left starting up for a process that is
// already gone.
struct WaitForTrimAtExit {
    ~WaitForTrimAtExit() { WaitForWorkingSetTrim(kExitWaitMs); }
} waitForTrimAtExit;

}  // namespace

bool StartWorkingSetTrim() {
    ++trimsRunning;
    auto tool = std::make_unique<rt::ByteString>(res::WorkingSetTool());
    if (!SHCreateThread(&TrimThread, tool.get(), 0, nullptr)) {
        --trimsRunning;
        return false;
    }
    tool.release();  // the thread's now
    return true;
}

int WorkingSetTrimsRunning() { return trimsRunning; }

bool WaitForWorkingSetTrim(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (trimsRunning > 0) {
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
