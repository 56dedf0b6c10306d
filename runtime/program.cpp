// The program's start-up and shut-down order: module start routines, the
// main window, the message loop, the end routines.
#include "runtime/units_internal.h"

#include <ole2.h>

#include <algorithm>

namespace rt {
namespace detail {
int BuildWindowMarked(const WindowDesign& design, bool isMain);
}

namespace {
// Function-local statics: registration may come from static initialisers.
std::vector<int (*)()>& ModuleStarts() {
    static std::vector<int (*)()> list;
    return list;
}
std::vector<void (*)()>& EndRoutines() {
    static std::vector<void (*)()> list;
    return list;
}
}  // namespace

void RegisterModuleStart(int (*fn)()) {
    if (fn) ModuleStarts().push_back(fn);
}

void RegisterEndRoutine(void (*fn)()) {
    if (!fn) return;
    std::vector<void (*)()>& list = EndRoutines();
    list.erase(std::remove(list.begin(), list.end(), fn), list.end());
    list.push_back(fn);
}

std::vector<void (*)()> EndRoutineOrder() { return EndRoutines(); }

int RunProgram(const WindowDesign& mainWindow) {
    const bool ole = SUCCEEDED(OleInitialize(nullptr));  // drag and drop needs an STA
    int code = 0;
    for (auto start : ModuleStarts())
        if ((code = start()) != 0) break;
    if (code == 0) {
        detail::BuildWindowMarked(mainWindow, true);
        MSG msg = {};
        BOOL got;
        while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        code = got == 0 ? static_cast<int>(msg.wParam) : 1;
    }
    for (auto end : EndRoutines()) end();
    if (ole) OleUninitialize();
    return code;
}

}  // namespace rt
