/* Stands in for the working-set tool in the trimming tests: appends its own
 * command line as one line to trim_log.txt beside itself. When the process
 * named by its argument has made the event "trim_recorder_hold_<id>", it then
 * stays alive until that event is set, so that a test can deactivate the
 * application again while it surely runs. Several may run at once: the
 * appends take turns under a named mutex (Wine does not make two processes'
 * appends to one file atomic). */
#include <windows.h>
#include <string.h>

int main(void) {
    char path[MAX_PATH];
    static char entry[32768];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    const char* line = GetCommandLineA();
    const char* argument = strrchr(line, ' ');
    char holdName[64];
    HANDLE log, hold, turn;
    DWORD written = 0;
    size_t length = strlen(line);
    if (n == 0 || !slash || length + 2 > sizeof entry) return 1;
    memcpy(entry, line, length);
    entry[length++] = '\n';
    strcpy(slash + 1, "trim_log.txt");
    turn = CreateMutexA(NULL, FALSE, "trim_recorder_log");
    if (!turn || WaitForSingleObject(turn, INFINITE) != WAIT_OBJECT_0) return 3;
    log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log != INVALID_HANDLE_VALUE) {
        WriteFile(log, entry, (DWORD)length, &written, NULL);
        CloseHandle(log);
    }
    ReleaseMutex(turn);
    CloseHandle(turn);
    if (log == INVALID_HANDLE_VALUE) return 2;
    if (argument && strlen(argument + 1) < 20) {
        strcpy(holdName, "trim_recorder_hold_");
        strcat(holdName, argument + 1);
        hold = OpenEventA(SYNCHRONIZE, FALSE, holdName);
        if (hold) {
            /* A bound only so that a test that fails cannot leave it behind. */
            WaitForSingleObject(hold, 60000);
            CloseHandle(hold);
        }
    }
    return 0;
}
