/* empty.exe: empties the working set of the process whose decimal id is its
 * one argument. Exit code 0 on success, 1 for a missing or malformed
 * argument, 2 when the process cannot be opened, 3 when the system refuses
 * to trim it.
 *
 * Built without the C runtime (its own entry point, kernel32 only) so that
 * the carried bytes stay a few kilobytes. */
#include <windows.h>

/* Skips the program name as the system's command-line rules quote it. */
static const char* SkipProgramName(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    return p;
}

static const char* SkipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

/* Reads exactly one decimal number (1 .. 2^32 - 1) and nothing after it. */
static int ParseProcessId(const char* p, DWORD* id) {
    unsigned long long value = 0;
    int digits = 0;
    p = SkipBlanks(p);
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + (unsigned)(*p - '0');
        if (value > 0xFFFFFFFFull) return 0;
        ++p;
        ++digits;
    }
    p = SkipBlanks(p);
    if (digits == 0 || *p != '\0' || value == 0) return 0;
    *id = (DWORD)value;
    return 1;
}

static UINT Run(void) {
    DWORD id = 0;
    HANDLE process;
    BOOL trimmed;
    if (!ParseProcessId(SkipProgramName(GetCommandLineA()), &id)) return 1;
    process = OpenProcess(PROCESS_SET_QUOTA | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process) return 2;
    /* (SIZE_T)-1 for both limits asks the system to drop every page it can. */
    trimmed = SetProcessWorkingSetSize(process, (SIZE_T)-1, (SIZE_T)-1);
    CloseHandle(process);
    return trimmed ? 0 : 3;
}

void __cdecl WorkingSetToolEntry(void) { ExitProcess(Run()); }
