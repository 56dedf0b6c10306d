/* Stands in for the working-set tool in the trimming tests: appends its own
 * command line as one line to trim_log.txt beside itself, then stays alive
 * for half a second so that a test can deactivate the application again
 * while it runs. Several may run at once: the line goes in one append, and
 * the log is shared for writing. */
#include <windows.h>
#include <string.h>

int main(void) {
    char path[MAX_PATH];
    static char entry[32768];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    const char* line = GetCommandLineA();
    HANDLE log;
    DWORD written = 0;
    size_t length = strlen(line);
    if (n == 0 || !slash || length + 2 > sizeof entry) return 1;
    memcpy(entry, line, length);
    entry[length++] = '\n';
    strcpy(slash + 1, "trim_log.txt");
    log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE) return 2;
    WriteFile(log, entry, (DWORD)length, &written, NULL);
    CloseHandle(log);
    Sleep(500);
    return 0;
}
