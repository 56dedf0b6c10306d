// The program: the end routines in their order, then the runtime builds
// MainWindow and runs the message loop.
#include <windows.h>

#include "app/main_window.h"
#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::RegisterEndRoutines();
    return rt::RunProgram(app::MainWindowDesign());
}
