// The engine object: callback thunks, control options, GDI+ start and
// shut-down, the module start routine and destruction.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "skin/attach.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/method_table.h"
#include "skin/record.h"

using namespace skin;

namespace {

uint16_t ReadControlWord() {
    uint16_t cw = 0;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    return cw;
}
void WriteControlWord(uint16_t cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }

#if defined(__x86_64__)
// On x64 floating point runs on SSE: its control and status register.
uint32_t ReadMxcsr() {
    uint32_t v = 0;
    __asm__ volatile("stmxcsr %0" : "=m"(v));
    return v;
}
void WriteMxcsr(uint32_t v) { __asm__ volatile("ldmxcsr %0" : : "m"(v)); }
#endif

// What a test operation saw when a thunk called it.
struct Seen {
    SkinEngine* self = nullptr;
    ThunkWord args[6] = {};
    uint16_t controlWord = 0;
    uint32_t mxcsr = 0;
    int calls = 0;
};
Seen seen;

template <int N>
ThunkWord TestOperation(SkinEngine* self, const ThunkWord* args) {
    seen.self = self;
    for (int i = 0; i < N; ++i) seen.args[i] = args[i];
    seen.controlWord = ReadControlWord();
    ++seen.calls;
    // Leave the floating-point state as no caller expects it: the thunk must
    // restore it.
    WriteControlWord(0x0C7F);
#if defined(__x86_64__)
    seen.mxcsr = ReadMxcsr();
    WriteMxcsr(0x7F80 | 0x3F);  // round towards zero, every exception flag raised
#endif
    return 1000 + N;
}

std::uintptr_t StackPointer() {
    std::uintptr_t sp = 0;
#if defined(__x86_64__)
    __asm__ volatile("movq %%rsp, %0" : "=r"(sp));
#else
    __asm__ volatile("movl %%esp, %0" : "=r"(sp));
#endif
    return sp;
}

// Calls fn and reports whether the stack pointer came back to where it was.
template <class Fn, class... A>
ThunkWord CallBalanced(Fn fn, bool& balanced, A... a) {
    const std::uintptr_t before = StackPointer();
    ThunkWord r = fn(a...);
    const std::uintptr_t after = StackPointer();
    balanced = before == after;
    return r;
}

// Words that use the whole width: on x64 the upper half must arrive too.
constexpr ThunkWord Wide(unsigned long long v) { return static_cast<ThunkWord>(v); }

bool IsExecutable(std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION info{};
    if (!VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info)) return false;
    return info.State == MEM_COMMIT &&
           (info.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE)) != 0;
}

bool IsFreed(std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info);
    return info.State == MEM_FREE;
}

LRESULT CALLBACK PlainProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

TEST(CallbackThunk, PassesArgumentsInOrderAndKeepsTheCallersFpuControlWord) {
    using Fn0 = ThunkWord(__stdcall*)();
    using Fn2 = ThunkWord(__stdcall*)(ThunkWord, ThunkWord);
    using Fn4 = ThunkWord(__stdcall*)(ThunkWord, ThunkWord, ThunkWord, ThunkWord);
    // Six: on x64 the fifth and sixth come on the stack, not in registers.
    using Fn6 = ThunkWord(__stdcall*)(ThunkWord, ThunkWord, ThunkWord, ThunkWord, ThunkWord,
                                      ThunkWord);
    SkinEngine* object = reinterpret_cast<SkinEngine*>(Wide(0x00007FF612345678ull));
    CallbackThunk t0 = CallbackThunk::Build(object, &TestOperation<0>, 0);
    CallbackThunk t2 = CallbackThunk::Build(object, &TestOperation<2>, 2);
    CallbackThunk t4 = CallbackThunk::Build(object, &TestOperation<4>, 4);
    CallbackThunk t6 = CallbackThunk::Build(object, &TestOperation<6>, 6);
    ASSERT_FALSE(t0.Empty());
    ASSERT_FALSE(t2.Empty());
    ASSERT_FALSE(t4.Empty());
    ASSERT_FALSE(t6.Empty());
    // Code that data execution prevention lets run.
    EXPECT_TRUE(IsExecutable(t0.Address()));

    const uint16_t callerWord = 0x027F;  // 53-bit precision, as some hosts run
    const uint16_t original = ReadControlWord();
#if defined(__x86_64__)
    // Round up, denormals flushed and read as zero, the precision flag raised.
    const uint32_t callerMxcsr = 0x1F80 | 0x4000 | 0x8000 | 0x0040 | 0x0020;
    const uint32_t originalMxcsr = ReadMxcsr();
#endif
    auto prepare = [&] {
        seen = {};
        WriteControlWord(callerWord);
#if defined(__x86_64__)
        WriteMxcsr(callerMxcsr);
#endif
    };
    auto checkState = [&] {
        EXPECT_EQ(ReadControlWord(), callerWord);
        EXPECT_EQ(seen.controlWord & 0x1F3F, 0x033F);  // nearest, 64-bit, all masked
#if defined(__x86_64__)
        const uint32_t back = ReadMxcsr();
        WriteMxcsr(originalMxcsr);  // before any assertion does arithmetic
        EXPECT_EQ(back, callerMxcsr);
        EXPECT_EQ(seen.mxcsr, 0x1F80u);  // nearest, all masked, no flags, no flushing
#endif
    };
    bool balanced = false;

    prepare();
    const ThunkWord r0 = CallBalanced(reinterpret_cast<Fn0>(t0.Address()), balanced);
    checkState();
    EXPECT_EQ(r0, 1000u);
    EXPECT_TRUE(balanced);
    EXPECT_EQ(seen.self, object);

    prepare();
    const ThunkWord r2 = CallBalanced(reinterpret_cast<Fn2>(t2.Address()), balanced, 11u, 22u);
    checkState();
    EXPECT_EQ(r2, 1002u);
    EXPECT_TRUE(balanced);
    EXPECT_EQ(seen.args[0], 11u);
    EXPECT_EQ(seen.args[1], 22u);

    prepare();
    const ThunkWord r4 = CallBalanced(reinterpret_cast<Fn4>(t4.Address()), balanced, Wide(1),
                                      Wide(0xFFFFFFFFFFFFFFFFull), Wide(0x0000000300000003ull),
                                      Wide(0x8000000080000000ull));
    checkState();
    EXPECT_EQ(r4, 1004u);
    EXPECT_TRUE(balanced);
    EXPECT_EQ(seen.args[0], 1u);
    EXPECT_EQ(seen.args[1], Wide(0xFFFFFFFFFFFFFFFFull));
    EXPECT_EQ(seen.args[2], Wide(0x0000000300000003ull));
    EXPECT_EQ(seen.args[3], Wide(0x8000000080000000ull));
    EXPECT_EQ(seen.calls, 1);

    prepare();
    const ThunkWord r6 =
        CallBalanced(reinterpret_cast<Fn6>(t6.Address()), balanced, Wide(0x1111111101ull),
                     Wide(2), Wide(3), Wide(4), Wide(0x5555555505ull), Wide(0x6666666606ull));
    checkState();
    EXPECT_EQ(r6, 1006u);
    EXPECT_TRUE(balanced);
    EXPECT_EQ(seen.self, object);
    EXPECT_EQ(seen.args[0], Wide(0x1111111101ull));
    EXPECT_EQ(seen.args[3], 4u);
    EXPECT_EQ(seen.args[4], Wide(0x5555555505ull));
    EXPECT_EQ(seen.args[5], Wide(0x6666666606ull));

    WriteControlWord(original);
}

#if defined(__x86_64__)
struct ThrownThrough {
    int value;
};
ThunkWord ThrowingOperation(SkinEngine*, const ThunkWord* args) {
    throw ThrownThrough{static_cast<int>(args[1])};
}

// An exception the engine's operation does not catch goes on to whoever
// called the thunk: the unwinder looks the thunk's code up and finds its
// frame described, for as long as the code is there.
TEST(CallbackThunk, AnExceptionPassesThroughTheThunkToItsCaller) {
    using Fn2 = ThunkWord(__stdcall*)(ThunkWord, ThunkWord);
    CallbackThunk thunk = CallbackThunk::Build(nullptr, &ThrowingOperation, 2);
    ASSERT_FALSE(thunk.Empty());
    DWORD64 base = 0;
    EXPECT_NE(RtlLookupFunctionEntry(thunk.Address() + 30, &base, nullptr), nullptr);
    EXPECT_EQ(base, thunk.Address());
    int caught = 0;
    for (int i = 1; i <= 3; ++i) {
        try {
            reinterpret_cast<Fn2>(thunk.Address())(0, static_cast<ThunkWord>(i));
        } catch (const ThrownThrough& e) {
            caught += e.value;
        }
    }
    EXPECT_EQ(caught, 6);
    // A freed thunk's description goes with its code.
    const std::uintptr_t at = thunk.Address();
    thunk.Free();
    EXPECT_EQ(RtlLookupFunctionEntry(at + 30, &base, nullptr), nullptr);
}
#endif

TEST(CallbackThunk, EmptyForAnEmptySlotOrAnArgumentCountOutOfRange) {
    SkinEngine* object = reinterpret_cast<SkinEngine*>(0x1000);
    EXPECT_TRUE(CallbackThunk::Build(object, nullptr, 2).Empty());
    EXPECT_TRUE(CallbackThunk::Build(object, &TestOperation<0>, -1).Empty());
    EXPECT_TRUE(CallbackThunk::Build(object, &TestOperation<0>, 257).Empty());
    EXPECT_FALSE(CallbackThunk::Build(object, &TestOperation<0>, 256).Empty());
    EXPECT_FALSE(CallbackThunk::Build(object, &TestOperation<0>, 0).Empty());
}

TEST(CallbackThunk, DuplicateIsNewCodeCallingTheSameObject) {
    using Fn2 = ThunkWord(__stdcall*)(ThunkWord, ThunkWord);
    SkinEngine* object = reinterpret_cast<SkinEngine*>(0x4242);
    CallbackThunk original = CallbackThunk::Build(object, &TestOperation<2>, 2);
    CallbackThunk copy = original.Duplicate();
    ASSERT_FALSE(copy.Empty());
    EXPECT_NE(copy.Address(), original.Address());
    const std::uintptr_t freedAt = original.Address();
    original.Free();
    EXPECT_TRUE(IsFreed(freedAt));
    seen = {};
    EXPECT_EQ(reinterpret_cast<Fn2>(copy.Address())(5, Wide(0x600000006ull)), 1002u);
    EXPECT_EQ(seen.self, object);
    EXPECT_EQ(seen.args[1], Wide(0x600000006ull));
}

TEST(SkinEngine, ThunkOfATableSlotReachesTheEngineOperation) {
    using Fn3 = ThunkWord(__stdcall*)(ThunkWord, ThunkWord, ThunkWord);
    SkinEngine engine;
    EXPECT_EQ(engine.FrameBorderWidth, 0);
    CallbackThunk options = engine.BuildCallbackThunk(Operation::SetControlOptions, 3);
    ASSERT_FALSE(options.Empty());
    reinterpret_cast<Fn3>(options.Address())(0, 77, 0);
    EXPECT_EQ(SkinControlsFlag, 0);
    EXPECT_EQ(GlassAlpha, 77);
    EXPECT_EQ(TransparentControlsFlag, 1);  // an alpha through a thunk is given
    EXPECT_EQ(TrackbarBackgroundFlag, 0);
    engine.SetControlOptions(1);
    // Every operation has a slot (what each one reaches: the caption tests).
    for (int op = 0; op < kOperationCount; ++op)
        EXPECT_NE(MethodSlot(static_cast<Operation>(op)), nullptr) << "slot " << op;
    EXPECT_TRUE(engine.BuildCallbackThunk(Operation::SetControlOptions, 300).Empty());
    // The constructor bound both thunks to their operations.
    ASSERT_FALSE(engine.WindowProcThunk.Empty());
    EXPECT_TRUE(IsExecutable(engine.WindowProcThunk.Address()));
    ASSERT_FALSE(engine.CaptionClickThunk.Empty());
    EXPECT_EQ(engine.CaptionClickThunkAddress, engine.CaptionClickThunk.Address());

    // A copy has its own code for both thunks.
    std::unique_ptr<SkinEngine> copy = engine.Copy();
    EXPECT_FALSE(copy->WindowProcThunk.Empty());
    EXPECT_NE(copy->WindowProcThunk.Address(), engine.WindowProcThunk.Address());
    EXPECT_EQ(copy->WindowProcThunk.Size(), engine.WindowProcThunk.Size());
    EXPECT_NE(copy->CaptionClickThunkAddress, engine.CaptionClickThunkAddress);
    EXPECT_EQ(copy->CaptionClickThunkAddress, copy->CaptionClickThunk.Address());
}

TEST(SkinEngine, SetControlOptionsOverGivenAndOmittedArguments) {
    struct Case {
        int skin;
        std::optional<int> alpha, trackbar;
        int skinFlag, glassAlpha, transparent, trackbarFlag;
    };
    const Case cases[] = {
        {1, std::nullopt, std::nullopt, 1, 160, 0, 1},
        {1, 10, std::nullopt, 1, 10, 1, 1},  // what the application passes
        {1, 0, std::nullopt, 1, 0, 1, 1},    // alpha 0 given is still given
        {0, 255, 0, 0, 255, 1, 0},
        {0, std::nullopt, 0, 0, 160, 0, 0},
        {5, std::nullopt, 1, 5, 160, 0, 1},
    };
    SkinEngine engine;
    for (const Case& c : cases) {
        GlassAlpha = -1;
        TransparentControlsFlag = -1;
        TrackbarBackgroundFlag = -1;
        engine.SetControlOptions(c.skin, c.alpha, c.trackbar);
        EXPECT_EQ(SkinControlsFlag, c.skinFlag);
        EXPECT_EQ(GlassAlpha, c.glassAlpha);
        EXPECT_EQ(TransparentControlsFlag, c.transparent);
        EXPECT_EQ(TrackbarBackgroundFlag, c.trackbarFlag);
    }
    engine.SetControlOptions(1);
}

TEST(SkinEngine, GdiplusIsShutDownOncePerRun) {
    enum Step { NoToken, RunToken, ZeroToken, Destroy };
    struct Case {
        const char* what;
        Step first, second;
        int shutdowns;
    };
    const Case cases[] = {
        {"twice without a token", NoToken, NoToken, 1},
        {"window procedure, then Destroy", RunToken, Destroy, 1},
        {"Destroy, then without a token", Destroy, NoToken, 1},
        {"with the run's token, then without", RunToken, NoToken, 1},
        {"a token of 0 twice", ZeroToken, ZeroToken, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SkinEngine engine;
        GdiplusToken = StartGdiplus();
        ASSERT_NE(GdiplusToken, 0u);
        ASSERT_EQ(SavedGdiplusToken, GdiplusToken);
        const int before = GdiplusShutdownCalls();
        for (Step step : {c.first, c.second}) {
            switch (step) {
                case NoToken: ShutdownGdiplus(); break;
                case RunToken: ShutdownGdiplus(GdiplusToken); break;
                case ZeroToken: ShutdownGdiplus(0); break;
                case Destroy: engine.Destroy(); break;
            }
        }
        EXPECT_EQ(GdiplusShutdownCalls() - before, c.shutdowns);
        // Whatever was left running is shut down, so the next case starts clean.
        ShutdownGdiplus(GdiplusToken);
        ShutdownGdiplus();
    }
}

TEST(SkinEngine, ModuleStartRunsGdiplusLoadsIcon129AndSetsTheDefaults) {
    FirstSizePending = 0;
    SkinControlsFlag = 0;
    GlassAlpha = 3;
    ThemeColor = 0;
    TrackbarBackgroundFlag = 0;
    EXPECT_EQ(SkinModuleStart(), 0);
    EXPECT_NE(GdiplusToken, 0u);
    EXPECT_EQ(SavedGdiplusToken, GdiplusToken);
    EXPECT_EQ(FirstSizePending, 1);
    EXPECT_EQ(SkinControlsFlag, 1);
    EXPECT_EQ(GlassAlpha, 160);
    EXPECT_EQ(ThemeColor, 0x00DDCA22u);
    EXPECT_EQ(TrackbarBackgroundFlag, 1);
    // The icon is the executable's resource 129.
    ASSERT_NE(ProgramIcon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(ProgramIcon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON));
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    EXPECT_NE(FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129),
                            reinterpret_cast<LPCSTR>(RT_GROUP_ICON)),
              nullptr);

    // Destroy gives everything back: the icon, GDI+ (once) and both thunks.
    SkinEngine engine;
    engine.WindowProcThunk = CallbackThunk::Build(&engine, &TestOperation<0>, 0);
    const std::uintptr_t code = engine.WindowProcThunk.Address();
    const int before = GdiplusShutdownCalls();
    engine.Destroy();
    engine.Destroy();
    EXPECT_EQ(GdiplusShutdownCalls() - before, 1);
    EXPECT_EQ(ProgramIcon, nullptr);
    EXPECT_EQ(GdiplusToken, 0u);
    EXPECT_TRUE(engine.WindowProcThunk.Empty());
    EXPECT_EQ(engine.CaptionClickThunkAddress, 0u);
    EXPECT_TRUE(IsFreed(code));
}

TEST(SkinEngine, DestroyGivesWindowsStillSkinnedTheirOwnProcedureBack) {
    // GDI+ and the icon belong to the run, not to this engine.
    const ULONG_PTR token = std::exchange(GdiplusToken, 0);
    const HICON icon = std::exchange(ProgramIcon, nullptr);
    WNDCLASSA cls{};
    cls.lpfnWndProc = &PlainProcedure;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "EngineDestroyTest";
    RegisterClassA(&cls);
    HWND window = CreateWindowExA(0, cls.lpszClassName, "before", WS_POPUP, 0, 0, 200, 150,
                                  nullptr, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&PlainProcedure));
    LONG_PTR replaced = 0;
    {
        SkinEngine engine;
        engine.AttachSkin(window);
        // What the attach replaced (the caption tooltip may have hooked in
        // before it).
        replaced = ReadProp(window, prop::Hw_hProc);
        ASSERT_NE(replaced, 0);
        ASSERT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC),
                  static_cast<LONG_PTR>(engine.WindowProcThunk.Address()));
        engine.Destroy();
    }
    GdiplusToken = token;
    ProgramIcon = icon;
    // Checked before any message: one through freed code would crash.
    ASSERT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), replaced);
    SetWindowTextA(window, "after");
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "after");
    DestroyWindow(window);
    // The engine's procedure no longer sees the window go: its record is
    // removed by hand.
    const int records = SkinWindowTable.Count();
    DetachSkinWindow(window);
    EXPECT_EQ(SkinWindowTable.Count(), records - 1);
}

TEST(SkinEngine, GlobalStartUpMadeTheEngineAndTheEndRoutineFreesEverything) {
    // The engine object exists before main, as part of the global start-up.
    ASSERT_NE(Engine, nullptr);
    EXPECT_EQ(GlobalPictureColor, rt::DefaultColour());
    EXPECT_EQ(Engine->FrameBorderWidth, 0);

    auto record = NewSkinWindowRecord();
    record->Picture = {1, 2, 3};
    // Cached renderings of a window that outlives the engine: a window cache
    // and a caption layer holding the engine's bitmap.
    record->WindowCacheDc = MemoryDc(nullptr).Release();
    record->CaptionCacheDc = MemoryDc(nullptr).Release();
    record->CaptionCacheBitmap = MakeDibSection32(8, 8).Release();
    record->CaptionCacheOldBitmap =
        static_cast<HBITMAP>(SelectObject(record->CaptionCacheDc, record->CaptionCacheBitmap));
    const HGDIOBJ caches[] = {record->WindowCacheDc, record->CaptionCacheDc,
                              record->CaptionCacheBitmap};
    SkinWindowTable.Append(std::move(record));
    GlobalPicture = {9, 9};
    GdiplusToken = StartGdiplus();
    const int before = GdiplusShutdownCalls();
    SkinEndRoutine();
    EXPECT_EQ(Engine, nullptr);
    EXPECT_EQ(SkinWindowTable.Count(), 0);
    for (HGDIOBJ h : caches) EXPECT_EQ(GetObjectType(h), 0u) << h;
    EXPECT_TRUE(GlobalPicture.empty());
    EXPECT_EQ(GdiplusShutdownCalls() - before, 1);
    // A second install makes a new engine; the end routine runs once more.
    InstallSkinEngine();
    EXPECT_NE(Engine, nullptr);
    SkinEndRoutine();
    EXPECT_EQ(Engine, nullptr);
}
