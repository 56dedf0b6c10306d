// The message box, raised above every window.
#include "runtime/runtime.h"

namespace rt {
namespace {

// Raises the message box of this thread above all windows as it becomes
// active (Wine ignores MB_TOPMOST).
LRESULT CALLBACK RaiseMessageBox(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wp);
        char cls[16] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (!lstrcmpA(cls, "#32770") && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void MessageBoxText(const AnsiText& text, HWND owner) {
    if (!owner) owner = UnitWindow(MainWindowUnit());
    // Topmost: a window that another program opens just before the box (the
    // Explorer a conversion starts) must not hide the message waiting for OK.
    // The caller gives no title; the owner's title says whose message it is
    // (the start-up message shows while the main window is still hidden).
    char title[256] = {};
    if (owner) GetWindowTextA(owner, title, sizeof title);
    HHOOK hook = SetWindowsHookExA(WH_CBT, RaiseMessageBox, nullptr, GetCurrentThreadId());
    MessageBoxA(owner, text.c_str(), title, MB_OK | MB_TOPMOST);
    if (hook) UnhookWindowsHookEx(hook);
}

}  // namespace rt
