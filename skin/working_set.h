// Working-set trimming: each time the application loses activation a short
// worker thread makes sure the carried tool empty.exe lies in the Windows
// folder and runs it with this process's id, so that the tool empties the
// process's working set.
#pragma once

#include <windows.h>

#include "runtime/runtime.h"

namespace skin {

// Starts one more trimming thread, whatever threads still run. True when it
// was started.
bool StartWorkingSetTrim();
// How many trimming threads started by StartWorkingSetTrim still run.
int WorkingSetTrimsRunning();
// Waits up to timeoutMs for every running trimming thread to end; true when
// none runs any more.
bool WaitForWorkingSetTrim(DWORD timeoutMs);

// The body of the trimming thread: with the carried tool bytes.
void RunWorkingSetTrim();
// The same with the given tool bytes: when "windir" is not set nothing is
// trimmed; otherwise %windir%\empty.exe is written when it is missing (under
// a temporary name in the same folder, then renamed into place, so nobody
// ever runs a half-written file) and run hidden, waited for, with the
// decimal process id as its one argument and its path quoted.
void RunWorkingSetTrimWith(const rt::ByteString& tool);

// The command line that runs the tool at path for the process id.
rt::AnsiText WorkingSetTrimCommand(const rt::AnsiText& toolPath, DWORD processId);

}  // namespace skin
