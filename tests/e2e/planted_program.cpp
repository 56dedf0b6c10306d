// A program that must never run: planted under the name of a program the
// renamer starts, in a folder it should never take programs from. Run, it
// leaves a note beside itself with its command line, first thing.
#include <windows.h>

int main() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 20) return 1;
    wchar_t* name = path;
    for (wchar_t* p = path; *p; ++p)
        if (*p == L'\\') name = p + 1;
    lstrcpyW(name, L"planted-ran.txt");
    HANDLE note = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (note == INVALID_HANDLE_VALUE) return 1;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(note, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
    CloseHandle(note);
    return 0;
}
