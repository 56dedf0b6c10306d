// The program: FileList is freed by the end routine; the runtime builds
// MainWindow and runs the message loop.
#include <windows.h>

#include "app/file_list.h"
#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    rt::RegisterEndRoutine(app::FreeFileList);
    return rt::RunProgram(app::MainWindowDesign());
}
