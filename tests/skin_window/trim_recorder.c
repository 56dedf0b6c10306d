/* Stands in for the working-set tool in the trimming tests: appends its own
 * command line as one line to trim_log.txt beside itself, then stays alive
 * for half a second so that a test can deactivate the application again
 * while it runs. */
#include <windows.h>
#include <string.h>

int main(void) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    const char* line = GetCommandLineA();
    HANDLE log;
    DWORD written = 0;
    if (n == 0 || !slash) return 1;
    strcpy(slash + 1, "trim_log.txt");
    log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE) return 2;
    WriteFile(log, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(log, "\n", 1, &written, NULL);
    CloseHandle(log);
    Sleep(500);
    return 0;
}
