// Caption-button actions.
#include "skin/caption_actions.h"

#include "skin/record.h"

namespace skin {
namespace {

enum ButtonKind { Close = 0, MaximizeRestore = 1, Minimize = 2, MainMenu = 3, Help = 4, Custom = 5 };

}  // namespace

#if defined(__i386__)

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

#elif defined(__x86_64__)

// Calls routine with count 64-bit arguments by the x64 convention: the first
// four in rcx, rdx, r8 and r9 (0 for those not given), the rest on the stack
// above the 32-byte home area that every call leaves, rsp 16-byte aligned at
// the call. Its frame is described for the unwinder, so an exception the
// routine throws passes through to the caller.
extern "C" int32_t SkinCallRoutineX64(RoutineAddress routine, const int64_t* arguments,
                                      std::size_t count);
__asm__(
    ".text\n"
    ".globl SkinCallRoutineX64\n"
    ".def SkinCallRoutineX64; .scl 2; .type 32; .endef\n"
    ".seh_proc SkinCallRoutineX64\n"
    "SkinCallRoutineX64:\n"
    "    pushq %rbp\n"
    "    .seh_pushreg %rbp\n"
    "    movq %rsp, %rbp\n"
    "    .seh_setframe %rbp, 0\n"
    "    .seh_endprologue\n"
    "    movq %rcx, %rax\n"           // the routine
    "    movq %rdx, %r10\n"           // the arguments
    "    movq %r8, %r11\n"            // their count
    // Room for max(count, 4) words, rounded up to 16 bytes.
    "    movq %r11, %rcx\n"
    "    cmpq $4, %rcx\n"
    "    jae 1f\n"
    "    movl $4, %ecx\n"
    "1:  leaq 15(,%rcx,8), %rcx\n"
    "    andq $-16, %rcx\n"
    "    subq %rcx, %rsp\n"
    // From the fifth on, each argument goes to its own slot above the home area.
    "    movq %r11, %rcx\n"
    "2:  cmpq $4, %rcx\n"
    "    jbe 3f\n"
    "    decq %rcx\n"
    "    movq (%r10,%rcx,8), %rdx\n"
    "    movq %rdx, (%rsp,%rcx,8)\n"
    "    jmp 2b\n"
    "3:  xorl %ecx, %ecx\n"
    "    xorl %edx, %edx\n"
    "    xorl %r8d, %r8d\n"
    "    xorl %r9d, %r9d\n"
    "    testq %r11, %r11\n"
    "    jz 4f\n"
    "    movq (%r10), %rcx\n"
    "    cmpq $2, %r11\n"
    "    jb 4f\n"
    "    movq 8(%r10), %rdx\n"
    "    cmpq $3, %r11\n"
    "    jb 4f\n"
    "    movq 16(%r10), %r8\n"
    "    cmpq $4, %r11\n"
    "    jb 4f\n"
    "    movq 24(%r10), %r9\n"
    "4:  callq *%rax\n"
    "    leaq 0(%rbp), %rsp\n"
    "    popq %rbp\n"
    "    retq\n"
    "    .seh_endproc\n");

int32_t InvokeUserCallback(RoutineAddress routine, const std::vector<int32_t>& arguments,
                           int callerClears) {
    // One convention: the caller always clears, so the flag has nothing to say.
    (void)callerClears;
    if (routine == 0) return 0;
    // Each argument in a whole register or slot, sign-extended as the
    // convention widens an int.
    const std::vector<int64_t> words(arguments.begin(), arguments.end());
    return SkinCallRoutineX64(routine, words.data(), words.size());
}

#else
#error "user routines are called by the 32-bit and the x64 conventions"
#endif

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
