// The engine object: its thunks, its start-up with GDI+ and the program icon,
// the control options, and its destruction at program end.
#include "skin/engine.h"

#include <gdiplus.h>

#include <cstring>
#include <utility>

#include "skin/attach.h"
#include "skin/capture.h"
#include "skin/record.h"

namespace skin {

ULONG_PTR GdiplusToken = 0;
ULONG_PTR SavedGdiplusToken = 0;
HICON ProgramIcon = nullptr;
int FirstSizePending = 1;
int SkinControlsFlag = 1;
int GlassAlpha = 160;
COLORREF ThemeColor = 0x00DDCA22;
int TrackbarBackgroundFlag = 1;
SkinEngine* Engine = nullptr;
COLORREF GlobalPictureColor = 0;
int TransparentControlsFlag = 0;
int GlobalPictureMode = 0;
rt::ByteString GlobalPicture;

namespace {

int shutdownCalls = 0;

constexpr int kMaxThunkArguments = 256;

#if defined(__i386__)
// The thunk's code, with the engine object, the invoker and the argument
// bytes to pop patched in:
//   push ebp / mov ebp, esp / sub esp, 4
//   fnstcw [ebp-4]        keep the caller's control word
//   fninit                round to nearest, 64-bit precision, all masked
//   lea eax, [ebp+8]      the caller's first argument
//   push eax / push self / mov eax, invoker / call eax / add esp, 8
//   fldcw [ebp-4]         the caller's control word again
//   mov esp, ebp / pop ebp / ret n*4
constexpr unsigned char kThunkTemplate[] = {
    0x55, 0x89, 0xE5, 0x83, 0xEC, 0x04, 0xD9, 0x7D, 0xFC, 0xDB, 0xE3, 0x8D, 0x45, 0x08,
    0x50, 0x68, 0, 0, 0, 0, 0xB8, 0, 0, 0, 0, 0xFF, 0xD0, 0x83, 0xC4, 0x08,
    0xD9, 0x6D, 0xFC, 0x89, 0xEC, 0x5D, 0xC2, 0, 0};
constexpr std::size_t kSelfAt = 16;
constexpr std::size_t kInvokerAt = 21;
constexpr std::size_t kPopAt = 37;

void Put32(unsigned char* at, uint32_t v) { std::memcpy(at, &v, 4); }

#elif defined(__x86_64__)
// The thunk's code for the x64 convention, with the engine object and the
// invoker patched in. The first four arguments come in rcx, rdx, r8 and r9,
// the rest on the stack just above the 32 bytes the caller always leaves
// for the four: spilled there, all n lie in order from the caller's rsp+8.
// Floating point runs on SSE here, so the state the engine is given afresh
// and the caller gets back is MXCSR's (0x1F80: round to nearest, all
// exceptions masked, denormals kept, as a thread starts), together with the
// x87 control word that long double still uses. The caller clears the
// arguments, whatever n is.
//   mov [rsp+8], rcx / mov [rsp+16], rdx / mov [rsp+24], r8 / mov [rsp+32], r9
//   sub rsp, 0x38             home area for the call, room for the two words
//   stmxcsr [rsp+0x20]        keep the caller's MXCSR
//   fnstcw [rsp+0x28]         and its x87 control word
//   fninit                    x87: round to nearest, 64-bit precision, masked
//   mov dword [rsp+0x2C], 0x1F80 / ldmxcsr [rsp+0x2C]
//   lea rdx, [rsp+0x40]       the caller's first argument
//   mov rcx, self / mov rax, invoker / call rax
//   ldmxcsr [rsp+0x20] / fldcw [rsp+0x28]   the caller's state again
//   add rsp, 0x38 / ret
constexpr unsigned char kThunkTemplate[] = {
    0x48, 0x89, 0x4C, 0x24, 0x08, 0x48, 0x89, 0x54, 0x24, 0x10, 0x4C, 0x89, 0x44, 0x24, 0x18,
    0x4C, 0x89, 0x4C, 0x24, 0x20, 0x48, 0x83, 0xEC, 0x38, 0x0F, 0xAE, 0x5C, 0x24, 0x20,
    0xD9, 0x7C, 0x24, 0x28, 0xDB, 0xE3, 0xC7, 0x44, 0x24, 0x2C, 0x80, 0x1F, 0x00, 0x00,
    0x0F, 0xAE, 0x54, 0x24, 0x2C, 0x48, 0x8D, 0x54, 0x24, 0x40,
    0x48, 0xB9, 0, 0, 0, 0, 0, 0, 0, 0, 0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xD0,
    0x0F, 0xAE, 0x54, 0x24, 0x20, 0xD9, 0x6C, 0x24, 0x28, 0x48, 0x83, 0xC4, 0x38, 0xC3};
constexpr std::size_t kSelfAt = 55;
constexpr std::size_t kInvokerAt = 65;
// Where the prologue ends: after sub rsp, 0x38.
constexpr unsigned char kPrologueSize = 24;
constexpr unsigned char kFrameSize = 0x38;

void Put64(unsigned char* at, std::uint64_t v) { std::memcpy(at, &v, 8); }

// The unwind data of the thunk's code, kept in its block behind the code: an
// exception that crosses the engine's operation (a C++ throw or a fault a
// handler further up takes) has to be able to step over the thunk's frame.
struct ThunkUnwind {
    RUNTIME_FUNCTION function;
    // UNWIND_INFO version 1 with its one code, padded to an even count.
    unsigned char versionAndFlags, prologueSize, codeCount, frameRegister;
    unsigned char codeOffset, operation;
    unsigned char padding[2];
};
constexpr std::size_t kUnwindAt = (sizeof kThunkTemplate + 7) & ~std::size_t{7};

ThunkUnwind* UnwindOf(unsigned char* block) {
    return reinterpret_cast<ThunkUnwind*>(block + kUnwindAt);
}

#else
#error "the callback thunk knows the 32-bit and the x64 conventions"
#endif

}  // namespace

// ------------------------------------------------------------- thunks -------

CallbackThunk::CallbackThunk(CallbackThunk&& other) noexcept
    : code_(std::exchange(other.code_, nullptr)), size_(std::exchange(other.size_, 0)) {}

CallbackThunk& CallbackThunk::operator=(CallbackThunk&& other) noexcept {
    if (this != &other) {
        Free();
        code_ = std::exchange(other.code_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void CallbackThunk::Free() {
#if defined(__x86_64__)
    if (code_) RtlDeleteFunctionTable(&UnwindOf(code_)->function);
#endif
    if (code_) VirtualFree(code_, 0, MEM_RELEASE);
    code_ = nullptr;
    size_ = 0;
}

CallbackThunk CallbackThunk::FromBytes(const unsigned char* bytes, std::size_t size) {
    CallbackThunk t;
#if defined(__x86_64__)
    const std::size_t blockSize = kUnwindAt + sizeof(ThunkUnwind);
#else
    const std::size_t blockSize = size;
#endif
    void* block = VirtualAlloc(nullptr, blockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block) return t;
    auto* code = static_cast<unsigned char*>(block);
    std::memcpy(code, bytes, size);
#if defined(__x86_64__)
    ThunkUnwind* unwind = UnwindOf(code);
    unwind->function.BeginAddress = 0;
    unwind->function.EndAddress = static_cast<DWORD>(size);
    unwind->function.UnwindData = static_cast<DWORD>(kUnwindAt + sizeof(RUNTIME_FUNCTION));
    unwind->versionAndFlags = 1;
    unwind->prologueSize = kPrologueSize;
    unwind->codeCount = 1;
    unwind->frameRegister = 0;
    // UWOP_ALLOC_SMALL (2): rsp lowered by (info + 1) * 8 bytes.
    unwind->codeOffset = kPrologueSize;
    unwind->operation = 2 | ((kFrameSize / 8 - 1) << 4);
#endif
    // Written while writable, run while executable: never both at once.
    DWORD old = 0;
    if (!VirtualProtect(block, blockSize, PAGE_EXECUTE_READ, &old)) {
        VirtualFree(block, 0, MEM_RELEASE);
        return t;
    }
#if defined(__x86_64__)
    if (!RtlAddFunctionTable(&unwind->function, 1, reinterpret_cast<DWORD64>(code))) {
        VirtualFree(block, 0, MEM_RELEASE);
        return t;
    }
#endif
    FlushInstructionCache(GetCurrentProcess(), block, blockSize);
    t.code_ = code;
    t.size_ = size;
    return t;
}

CallbackThunk CallbackThunk::Build(SkinEngine* self, OperationInvoker invoker, int n) {
    if (!invoker || n < 0 || n > kMaxThunkArguments) return {};
    unsigned char code[sizeof kThunkTemplate];
    std::memcpy(code, kThunkTemplate, sizeof code);
#if defined(__i386__)
    Put32(code + kSelfAt, reinterpret_cast<uint32_t>(self));
    Put32(code + kInvokerAt, reinterpret_cast<uint32_t>(invoker));
    const uint16_t pop = static_cast<uint16_t>(n * 4);
    std::memcpy(code + kPopAt, &pop, 2);
#else
    Put64(code + kSelfAt, reinterpret_cast<std::uint64_t>(self));
    Put64(code + kInvokerAt, reinterpret_cast<std::uint64_t>(invoker));
#endif
    return FromBytes(code, sizeof code);
}

CallbackThunk CallbackThunk::Duplicate() const {
    if (!code_) return {};
    return FromBytes(code_, size_);
}

// ------------------------------------------------------------- engine -------

SkinEngine::SkinEngine() {
    WindowProcThunk = BuildCallbackThunk(Operation::SkinWindowProc, 4);
    CaptionClickThunk = BuildCallbackThunk(Operation::OnCaptionButtonClick, 2);
    CaptionClickThunkAddress = CaptionClickThunk.Address();
    GlobalPictureColor = rt::DefaultColour();
}

CallbackThunk SkinEngine::BuildCallbackThunk(Operation op, int n) {
    return CallbackThunk::Build(this, MethodSlot(op), n);
}

void SkinEngine::Destroy() {
    if (ProgramIcon) DestroyIcon(ProgramIcon);
    ProgramIcon = nullptr;
    ShutdownGdiplus(GdiplusToken);
    // A skinned window still there would next run freed code: each window
    // still on this object's procedure gets the procedure it had back.
    if (const auto entry = static_cast<LONG_PTR>(WindowProcThunk.Address())) {
        for (int i = 1; i <= SkinWindowTable.Count(); ++i) {
            const SkinWindowRecord& r = SkinWindowTable[i];
            if (r.Window && r.PreviousProc && GetWindowLongPtrA(r.Window, GWLP_WNDPROC) == entry)
                SetWindowLongPtrA(r.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(r.PreviousProc));
        }
    }
    WindowProcThunk.Free();
    CaptionClickThunk.Free();
    CaptionClickThunkAddress = 0;
}

std::unique_ptr<SkinEngine> SkinEngine::Copy() const {
    std::unique_ptr<SkinEngine> copy(new SkinEngine(NoThunks{}));
    copy->WindowProcThunk = WindowProcThunk.Duplicate();
    copy->FrameBorderWidth = FrameBorderWidth;
    copy->PointerCaptionButton = PointerCaptionButton;
    copy->CaptionClickThunk = CaptionClickThunk.Duplicate();
    copy->CaptionClickThunkAddress = copy->CaptionClickThunk.Address();
    return copy;
}

void SkinEngine::SetControlOptions(int skin, std::optional<int> alpha,
                                   std::optional<int> trackbarBackground) {
    SkinControlsFlag = skin;
    GlassAlpha = alpha.value_or(160);
    TransparentControlsFlag = alpha ? 1 : 0;
    TrackbarBackgroundFlag = trackbarBackground.value_or(1);
}

// ------------------------------------------------------- GDI+ and start -----

ULONG_PTR StartGdiplus(int version) {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = static_cast<UINT32>(version);
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) token = 0;
    SavedGdiplusToken = token;
    return token;
}

void ShutdownGdiplus(std::optional<ULONG_PTR> token) {
    ULONG_PTR t = 0;
    if (token) {
        t = *token;
    } else {
        t = SavedGdiplusToken;
        SavedGdiplusToken = 0;
    }
    if (t == 0) return;
    // The window procedure (on WM_QUIT) and Destroy both ask with the run's
    // token; whichever comes first shuts down, the other finds 0.
    if (GdiplusToken == t) GdiplusToken = 0;
    if (SavedGdiplusToken == t) SavedGdiplusToken = 0;
    ++shutdownCalls;
    Gdiplus::GdiplusShutdown(t);
}

int GdiplusShutdownCalls() { return shutdownCalls; }

int SkinModuleStart() {
    GdiplusToken = StartGdiplus();
    HMODULE module = GetModuleHandleA(nullptr);
    ProgramIcon = LoadIconA(module, MAKEINTRESOURCEA(129));
    if (!ProgramIcon) ProgramIcon = LoadIconA(module, "DEFAULT_ICON");
    FirstSizePending = 1;
    SkinControlsFlag = 1;
    GlassAlpha = 160;
    ThemeColor = 0x00DDCA22;
    TrackbarBackgroundFlag = 1;
    return 0;
}

void InstallSkinEngine() {
    if (Engine) return;
    Engine = new SkinEngine();
    rt::RegisterEndRoutine(&SkinEndRoutine);
    rt::RegisterModuleStart(&SkinModuleStart);
}

namespace {
// The engine joins the program's global start-up: whenever this unit is part
// of a program (every user of the engine reaches Engine through it), the
// engine object exists and both routines are registered before main runs.
struct EngineInstaller {
    EngineInstaller() { InstallSkinEngine(); }
} installer;
}  // namespace

void SkinEndRoutine() {
    if (Engine) {
        Engine->Destroy();
        delete Engine;
        Engine = nullptr;
    }
    // GDI+ is down by now; the records hold no GDI+ objects, but the cached
    // renderings of windows still there are GDI's.
    for (int i = 1; i <= SkinWindowTable.Count(); ++i) FreeWindowCaches(i);
    SkinWindowTable.Clear();
    MemoryDcRegistry.Clear();
    rt::ByteString().swap(GlobalPicture);
}

}  // namespace skin
