// Starts a working-set trim and ends the program at once, as an application
// that loses activation just before it quits. The folder given is "windir".
// The carried tool is first put there and taken away again, so that the
// tool's bytes are already made when the second trim starts, as they are in
// a program that has trimmed before.
#include <windows.h>

#include <string>

#include "skin/working_set.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    SetEnvironmentVariableA("windir", folder.c_str());
    if (!skin::StartWorkingSetTrim() || !skin::WaitForWorkingSetTrim(10000)) return 3;
    if (!DeleteFileA((folder + "\\empty.exe").c_str())) return 4;
    return skin::StartWorkingSetTrim() ? 0 : 5;
}
