// The skinning engine object, its globals, its callback thunks and the
// program's start-up and shut-down of the engine.
//
// Argument conventions of every engine operation:
//  - An optional argument whose "not given" differs from every value (a mode
//    that defaults to another global, a colour where black is valid, a flag
//    whose absence means "keep") is a std::optional<T>: {} = not given.
//  - An optional argument with a plain documented default is an ordinary C++
//    default argument (for example ColorRefToArgb's alpha of 255).
//  - An optional argument passed by reference (pictures, pane lists, a
//    graphics surface) is a pointer: nullptr = not given.
//
// Every operation of the engine is a member of SkinEngine, declared here in
// method-table order. Each unit of skin/ and skin/controls/ defines the
// members of its own concern; an operation is reachable through a thunk only
// when its unit puts an invoker into the method table (method_table.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "drawing/native_object.h"
#include "runtime/runtime.h"

namespace skin {

struct StatusPane;

// The address of a routine of the caller that takes no arguments (caption
// button callbacks). 0 means none.
using RoutineAddress = std::uintptr_t;

// Slots of the method table, in table order.
enum class Operation : int {
    Destroy,
    Copy,
    SkinWindowProc,
    OnCaptionButtonClick,
    AttachSkin,
    AddCaptionButton,
    SetCaptionTextStyle,
    SetWindowBackground,
    SetSkinTheme,
    SetControlOptions,
    RenderWindow,
    BlitWindowCache,
    PaintWindowBackground,
    PaintWindowBorder,
    PaintCaptionSeparators,
    RestoreCaptionCache,
    RestoreStatusBarCache,
    PaintCaptionButton,
    PaintCaptionButtonHighlight,
    LayoutCaptionButtons,
    HitCaptionButton,
    FindMaximizeButton,
    CaptionMouseDown,
    UpdateResizeCursor,
    SetHelpButtonCallback,
    SetMenuButtonCallback,
    PaintCaption,
    CreateStatusBar,
    LayoutStatusBar,
    PaintStatusPane,
    SetPaneText,
    SetStatusBarStyle,
    SetButtonImage,
    SetButtonImages,
    AttachContainer,
    SetContainerAlpha,
    GetCaptionStripRect,
    AttachPlainControl,
    LayoutDockedPanes,
    SetControlTextColor,
    GetPictureColor,
    SetSystemButtonImages,
    Count
};
constexpr int kOperationCount = static_cast<int>(Operation::Count);
static_assert(kOperationCount == 42, "the engine has 42 operations");

class SkinEngine;

// One argument or result of a thunk, as wide as an address: a 32-bit stdcall
// slot in the 32-bit program, a 64-bit register or stack slot in the 64-bit
// one. A narrower value (an int, a COLORREF) is in its low bits.
using ThunkWord = std::uintptr_t;

// How a thunk reaches an operation: the bound object and the address of the
// caller's first argument (the arguments one word each, in the caller's order).
using OperationInvoker = ThunkWord (*)(SkinEngine* self, const ThunkWord* args);

// The invoker in a slot of the method table, nullptr when the table holds no
// invoker for that operation.
OperationInvoker MethodSlot(Operation op);

// A block of machine code that Windows calls with n stdcall arguments of 32
// bits and that calls one operation of one engine object with them. The code
// lives in memory allocated executable (data execution prevention forbids
// running it from ordinary data); the block is freed with the thunk.
class CallbackThunk {
public:
    CallbackThunk() = default;
    CallbackThunk(const CallbackThunk&) = delete;
    CallbackThunk& operator=(const CallbackThunk&) = delete;
    CallbackThunk(CallbackThunk&& other) noexcept;
    CallbackThunk& operator=(CallbackThunk&& other) noexcept;
    ~CallbackThunk() { Free(); }

    bool Empty() const { return code_ == nullptr; }
    // The entry point (0 when empty), e.g. to install as a window procedure.
    std::uintptr_t Address() const { return reinterpret_cast<std::uintptr_t>(code_); }
    std::size_t Size() const { return size_; }
    // The same code in a new executable block (it calls the same object).
    CallbackThunk Duplicate() const;
    void Free();

    // The thunk for invoker bound to self, taking n arguments (0..256);
    // empty when invoker is null or n is out of range.
    static CallbackThunk Build(SkinEngine* self, OperationInvoker invoker, int n);

private:
    static CallbackThunk FromBytes(const unsigned char* bytes, std::size_t size);
    unsigned char* code_ = nullptr;
    std::size_t size_ = 0;
};

class SkinEngine {
public:
    // Builds both thunks and takes the runtime's default colour as the
    // global picture colour.
    SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;
    ~SkinEngine() = default;

    // ---- operations, in method-table order ---------------------------------
    // Destroys the program icon, shuts GDI+ down (once per run) and frees the
    // thunks. Safe to run twice.
    void Destroy();
    // A new object with copies of both thunks; the copied code still calls
    // this object.
    std::unique_ptr<SkinEngine> Copy() const;
    LRESULT SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCaptionButtonClick(int record, int button);
    void AttachSkin(HWND window, std::optional<int> captionHeight = {},
                    std::optional<int> captionOn = {}, std::optional<int> frameGestures = {},
                    std::optional<int> helpButtonOn = {}, std::optional<int> menuButtonOn = {},
                    std::optional<int> drawTitle = {}, std::optional<int> captionGloss = {},
                    std::optional<int> statusHeight = {},
                    const rt::CountedArray<StatusPane>* panes = nullptr,
                    const rt::ByteString* picture = nullptr,
                    std::optional<int> pictureMode = {});
    bool AddCaptionButton(HWND window, const rt::ByteString& image, const rt::AnsiText& tipText,
                          RoutineAddress routine);
    bool SetCaptionTextStyle(HWND window, std::optional<rt::AnsiText> fontName = {},
                             std::optional<int> fontSize = {},
                             std::optional<COLORREF> titleColor = {},
                             std::optional<COLORREF> haloColor = {},
                             std::optional<int> titleBold = {});
    int SetWindowBackground(HWND window, const rt::ByteString& picture,
                            std::optional<int> mode = {});
    // themeColour may be the sentinel -1.
    void SetSkinTheme(std::optional<rt::AnsiText> path = {},
                      const rt::ByteString* picture = nullptr,
                      std::optional<COLORREF> colour = {},
                      std::optional<int32_t> themeColour = {},
                      std::optional<int> mode = {});
    void SetControlOptions(int skin, std::optional<int> alpha = {},
                           std::optional<int> trackbarBackground = {});
    void RenderWindow(int record, int show);
    void BlitWindowCache(int record, HDC dc);
    void PaintWindowBackground(drw::GraphicsObject& graphics, int record);
    void PaintWindowBorder(int record, drw::GraphicsObject& graphics);
    void PaintCaptionSeparators(int record, int button, drw::GraphicsObject& graphics);
    void RestoreCaptionCache(int record, const RECT& rect);
    void RestoreStatusBarCache(int record, const RECT& rect);
    void PaintCaptionButton(int record, int button, drw::GraphicsObject* graphics = nullptr,
                            std::optional<bool> pressed = {}, std::optional<int> alpha = {});
    void PaintCaptionButtonHighlight(drw::GraphicsObject& graphics, int record, int button,
                                     int alpha);
    void LayoutCaptionButtons(int record);
    int HitCaptionButton(int record, int x, int y);
    int FindMaximizeButton(int record);
    void CaptionMouseDown(int record, LPARAM lParam, const RECT& client);
    void UpdateResizeCursor(int record, LPARAM lParam, const RECT& client);
    void SetHelpButtonCallback(HWND window, RoutineAddress routine);
    void SetMenuButtonCallback(HWND window, RoutineAddress routine);
    void PaintCaption(int record, drw::GraphicsObject* graphics = nullptr,
                      std::optional<rt::AnsiText> title = {});
    void CreateStatusBar(int record, int height,
                         const rt::CountedArray<StatusPane>* panes = nullptr);
    void LayoutStatusBar(int record);
    void PaintStatusPane(int record, drw::GraphicsObject* graphics = nullptr, int pane = 1);
    int SetPaneText(HWND window, int pane, const rt::AnsiText& text,
                    const rt::ByteString* image = nullptr,
                    std::optional<COLORREF> textColor = {});
    int SetStatusBarStyle(HWND window, int automaticTextColor = 1, int glow = 0,
                          COLORREF glowTextColor = 0x000000, COLORREF glowColor = 0xFFFFFF,
                          std::optional<rt::AnsiText> face = {},
                          std::optional<int> size = {});
    int SetButtonImage(HWND window, const rt::ByteString& picture, int beside = 0,
                       const rt::AnsiText& tip = {});
    int SetButtonImages(HWND window, const rt::ByteString& normal,
                        const rt::ByteString& hot = {}, const rt::ByteString& pressed = {},
                        const rt::ByteString& disabled = {}, const rt::AnsiText& tip = {});
    void AttachContainer(HWND window, int paint = 1, COLORREF fillColor = 0,
                         int fillAlpha = 255, int border = 0);
    void SetContainerAlpha(HWND window, int alpha);
    RECT GetCaptionStripRect(HWND window);
    // keyColor defaults to the runtime's default colour.
    void AttachPlainControl(HWND window, std::optional<COLORREF> keyColor = {},
                            COLORREF backgroundColor = 0, int alpha = 0);
    void LayoutDockedPanes(int record);
    void SetControlTextColor(HWND control, COLORREF colour);
    COLORREF GetPictureColor();
    bool SetSystemButtonImages(HWND window, const rt::ByteString* minimize = nullptr,
                               const rt::ByteString* maximize = nullptr,
                               const rt::ByteString* restore = nullptr,
                               const rt::ByteString* close = nullptr);

    // ---- fields, in order ----------------------------------------------------
    // Bound to SkinWindowProc with 4 arguments; its address becomes the window
    // procedure of every skinned top-level window.
    CallbackThunk WindowProcThunk;
    // Width of the skinned frame; 0 until the first AttachSkin sets it to 3.
    int FrameBorderWidth = 0;
    // 1-based caption button under the pointer at the last move or press over
    // any skinned window, 0 none.
    int PointerCaptionButton = 0;
    // Bound to OnCaptionButtonClick with 2 arguments; never handed to Windows.
    CallbackThunk CaptionClickThunk;
    // Entry point of CaptionClickThunk; caption clicks act only while it is not 0.
    std::uintptr_t CaptionClickThunkAddress = 0;

    // The thunk for the operation in this object's method table with n
    // arguments; empty when the slot is empty or n is outside 0..256.
    CallbackThunk BuildCallbackThunk(Operation op, int n);

private:
    struct NoThunks {};
    explicit SkinEngine(NoThunks) {}
};

// ---- engine globals (one program-wide instance each) -------------------------
extern ULONG_PTR GdiplusToken;
extern ULONG_PTR SavedGdiplusToken;
extern HICON ProgramIcon;
extern int FirstSizePending;        // 1
extern int SkinControlsFlag;        // 1
extern int GlassAlpha;              // 160
extern COLORREF ThemeColor;         // 0x00DDCA22
extern int TrackbarBackgroundFlag;  // 1
extern SkinEngine* Engine;          // made by InstallSkinEngine
extern COLORREF GlobalPictureColor; // the runtime's default colour
extern int TransparentControlsFlag; // 0
extern int GlobalPictureMode;       // 0
extern rt::ByteString GlobalPicture;
// SkinWindowTable: record.h. MemoryDcRegistry: capture.h.

// ---- start-up and shut-down ----------------------------------------------------
// GdiplusStartup with the given version; the token is also kept in
// SavedGdiplusToken. A failed start gives 0.
ULONG_PTR StartGdiplus(int version = 1);
// Without a token, SavedGdiplusToken is used and cleared. A token of 0 does
// nothing. Whatever token is shut down is also cleared from GdiplusToken and
// SavedGdiplusToken where it stands, so that GDI+ is shut down once per run
// even when both the window procedure and Destroy ask for it.
void ShutdownGdiplus(std::optional<ULONG_PTR> token = {});
// The engine's module start routine: GDI+ running, program icon, defaults.
int SkinModuleStart();

// The engine's place in the program's start-up and shut-down order: makes
// the global engine object, registers the end routine and the module start
// routine with the runtime. It runs by itself during the global start-up of
// every program that links the engine; a second call does nothing.
void InstallSkinEngine();
// The end routine: destroys and frees the engine, then frees every window
// record still in the table, the memory-DC registry's entries (memory only)
// and the global picture.
void SkinEndRoutine();

// Diagnostics for tests: how many times GdiplusShutdown was really called.
int GdiplusShutdownCalls();

}  // namespace skin
