// Caption-button actions.
#include "skin/caption_actions.h"

#include "skin/record.h"

namespace skin {
namespace {

enum ButtonKind { Close = 0, MaximizeRestore = 1, Minimize = 2, MainMenu = 3, Help = 4, Custom = 5 };

}  // namespace

int32_t InvokeUserCallback(RoutineAddress routine, const std::vector<int32_t>& arguments,
                           int callerClears) {
    // Whoever clears the arguments, the stack pointer is restored from edi
    // (kept by every routine of the platform's calling conventions).
    (void)callerClears;
    if (routine == 0) return 0;
    const int32_t* first = arguments.data();
    std::uintptr_t count = arguments.size();
    std::uintptr_t target = routine;
    int32_t result = 0;
    __asm__ volatile(
        "movl %%esp, %%edi\n\t"
        "1:\n\t"
        "testl %%ecx, %%ecx\n\t"
        "jz 2f\n\t"
        "decl %%ecx\n\t"
        "pushl (%%esi,%%ecx,4)\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "call *%%edx\n\t"
        "movl %%edi, %%esp\n\t"
        : "=a"(result), "+c"(count), "+d"(target), "+S"(first)
        :
        : "edi", "memory", "cc");
    return result;
}

void SkinEngine::OnCaptionButtonClick(int record, int button) {
    SkinWindowRecord& r = SkinWindowTable[record];
    if (button <= 0 || button > r.CaptionButtons.Count()) return;
    const CaptionButton& b = r.CaptionButtons[button];
    // The commands are sent, not posted: they run through the window
    // procedure and the replaced one before this returns, and SC_CLOSE may
    // remove the record, so nothing of it is touched after a send.
    const HWND window = r.Window;
    switch (b.Kind) {
    case Close:
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case MaximizeRestore:
        r.RenderNeeded = 1;
        if (r.Maximized != 0) {
            r.Minimized = 0;
            r.Maximized = 0;
            SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            r.Maximized = 1;
            r.Minimized = 0;
            SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case Minimize:
        r.Minimized = 1;
        SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case Help:
        InvokeUserCallback(r.HelpCallback);
        break;
    case MainMenu:
        InvokeUserCallback(r.MenuCallback);
        break;
    case Custom:
        InvokeUserCallback(b.Callback);
        break;
    default:
        break;
    }
}

}  // namespace skin
