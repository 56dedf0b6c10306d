// The record of one skinned top-level window, the entries of its skinned
// controls, the table of records and the window properties through which
// windows and controls find them.
//
// Records live in SkinWindowTable by pointer, so appending a record never
// moves another one; still, nested window procedures can remove records, so
// code that sends messages looks its record up again by index afterwards.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>

#include "drawing/native_object.h"
#include "drawing/tooltip.h"
#include "runtime/runtime.h"
#include "skin/engine.h"

namespace skin {

// ---- window property names (values are 32-bit, set with SetPropA) -----------
namespace prop {
constexpr const char Hw_lbID[] = "Hw_lbID";     // record index on a window, entry index on a control
constexpr const char Hw_FuID[] = "Hw_FuID";     // owning record of a control
constexpr const char Hw_hProc[] = "Hw_hProc";   // the replaced window procedure
constexpr const char Kj_lbID[] = "Kj_lbID";     // entry index of a plain control
constexpr const char Kj_FuID[] = "Kj_FuID";     // owning record of a plain control
constexpr const char Kj_hProc[] = "Kj_hProc";   // replaced procedure of a plain control
constexpr const char Kj_Ztys[] = "Kj_Ztys";     // text colour of a control
constexpr const char Kj_dxjb[] = "Kj_dxjb";     // background brush last handed to a control
constexpr const char Kj_wtjb[] = "Kj_wtjb";     // the bitmap behind Kj_dxjb
constexpr const char Ck_Ycjdx[] = "Ck_Ycjdx";   // bitmap WindowCacheDc held before the engine's
constexpr const char Ck_wtjbdx[] = "Ck_wtjbdx"; // the engine's bitmap in WindowCacheDc
constexpr const char Mb_zpf[] = "Mb_zpf";       // marked window above a skinned container
constexpr const char Wxk_Zpf[] = "Wxk_Zpf";     // 1 marks a window as a skin container
constexpr const char Wxk_Cj[] = "Wxk_Cj";       // DC holding a marked window's background
}  // namespace prop

// The 32-bit value of a property, 0 when the window has none.
inline std::intptr_t ReadProp(HWND window, const char* name) {
    return reinterpret_cast<std::intptr_t>(GetPropA(window, name));
}
inline void WriteProp(HWND window, const char* name, std::intptr_t value) {
    SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}

// {x, y, width, height} in whole pixels.
struct RectI {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// ---- caption, status bar, docking ---------------------------------------------
// One caption button fading in or out: the button (1-based, 0 none) and the
// step of its fade (0..8).
struct CaptionFadeState {
    int32_t Button = 0;
    int32_t Step = 0;
};

struct CaptionButton {
    int32_t Width = 0;            // glyph and button width (26; close 38)
    int32_t Height = 0;           // 18
    rt::ByteString Image;         // the glyph (PNG)
    rt::ByteString SecondImage;   // restore glyph, maximize button only
    int32_t Kind = 0;             // 0 close, 1 maximize, 2 minimize, 3 menu, 4 help, 5 custom
    rt::AnsiText TipText;
    RoutineAddress Callback = 0;  // custom buttons
    drw::RectF Rect{0, 0, 0, 0};  // client coordinates; zero until laid out
};

struct StatusPane {
    int32_t Width = 0;  // -1: the rest of the bar
    rt::AnsiText Text;
    rt::ByteString Image;  // PNG, empty = none
    COLORREF TextColor = 0;
};

struct DockedWindow {
    HWND Window = nullptr;
    int32_t Y = 0;
};

// ---- per-control entries: the control's window handle first ------------------
struct SkinnedButton {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Kind = 0;  // 0 push, 1 image, 3 state image, 4 auto radio, 5 check box
    rt::ByteString Image;
    rt::ByteString HotImage;
    rt::ByteString PressedImage;
    rt::ByteString DisabledImage;
    int32_t ImageBesideText = 0;
    rt::AnsiText Text;
    int32_t Focused = 0;
    drw::TooltipObject Tooltip;  // its window is made on first use
    rt::AnsiText FontName;
    int32_t FontSize = 0;
    int32_t FontStyle = 0;
};

struct SkinnedEdit {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Focused = 0;
    int32_t LeftButtonDown = 0;
};

struct SkinnedComboBox {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Focused = 0;
};

struct SkinnedTrackbar {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Vertical = 0;
    int32_t TickSide = 0;  // 0 top/left, 1 bottom/right, 2 both, 3 none
    int32_t Hot = 0;
    int32_t SelectionRange = 0;
};

struct SkinnedProgressBar {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Vertical = 0;
};

struct SkinnedListControl {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Focused = 0;
    int32_t Hot = 0;
    int32_t ArrowKeyDown = 0;
};

struct SkinnedHeader {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Hot = 0;
    int32_t HotItem = 0;
    int32_t LastHotItem = 0;
    int32_t ButtonsStyle = 0;
    int32_t PressedItem = 0;
    int32_t Pressed = 0;
    rt::AnsiText FontName;
    int32_t FontStyle = 0;
    int32_t FontSize = 0;
    HIMAGELIST ImageList = nullptr;  // not owned
};

struct SkinnedUpDown {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    int32_t Hot = 0;
    int32_t HotHalf = 0;
    int32_t Pressed = 0;
    int32_t Horizontal = 0;
    LPARAM LastButtonPosition = 0;
};

struct ContainerPage {
    HWND Window = nullptr;  // 0 = no page
    int32_t Y = 0;
};

struct SkinnedContainer {
    HWND Window = nullptr;
    COLORREF FillColor = 0;  // 0 = no fill
    uint8_t FillAlpha = 0;
    int32_t Border = 0;
    WNDPROC PreviousProc = nullptr;
    int32_t FullRepaint = 0;
    int32_t GroupBox = 0;
    int32_t SelfPaint = 0;
    rt::AnsiText FontName;
    int32_t FontSize = 0;
    int32_t FontStyle = 0;
    rt::CountedArray<ContainerPage> Pages = rt::CountedArray<ContainerPage>(1);
};

struct SkinnedPlainControl {
    HWND Window = nullptr;
    WNDPROC PreviousProc = nullptr;
    COLORREF KeyColor = 0;
};

// ---- the record -----------------------------------------------------------------
struct SkinWindowRecord {
    SkinWindowRecord() = default;
    SkinWindowRecord(const SkinWindowRecord&) = delete;
    SkinWindowRecord& operator=(const SkinWindowRecord&) = delete;

    HWND Window = nullptr;
    int32_t CaptionHeight = 0;
    int32_t HelpButtonOn = 0;
    int32_t MenuButtonOn = 0;
    int32_t MinimizeButtonOn = 0;
    int32_t MaximizeButtonOn = 0;
    int32_t CloseButtonOn = 0;
    int32_t DrawTitle = 0;
    int32_t CaptionGloss = 0;
    WNDPROC PreviousProc = nullptr;
    rt::ByteString Picture;
    int32_t PictureMode = 0;
    COLORREF PictureColor = 0;
    rt::CountedArray<CaptionButton> CaptionButtons;
    int32_t StripX = 0;
    int32_t StripY = 0;
    int32_t StripWidth = 0;
    int32_t StripHeight = 0;
    HBITMAP CaptionCacheOldBitmap = nullptr;
    HBITMAP CaptionCacheBitmap = nullptr;
    HBITMAP StatusCacheOldBitmap = nullptr;
    HBITMAP StatusCacheBitmap = nullptr;
    int32_t Maximized = 0;
    int32_t Minimized = 0;
    int32_t MinTrackWidth = 0;
    int32_t MinTrackHeight = 0;
    int32_t MaxTrackWidth = 0;
    int32_t MaxTrackHeight = 0;
    int32_t FrameGestures = 0;
    int32_t CaptionOn = 0;
    COLORREF TitleColor = 0;
    COLORREF TitleHaloColor = 0;
    rt::AnsiText TitleFontName;
    int32_t TitleFontSize = 0;
    int32_t TitleBold = 0;
    int32_t HotCaptionButton = 0;
    int32_t HotControlClass = 0;
    HWND HotEditParent = nullptr;
    RoutineAddress HelpCallback = 0;
    RoutineAddress MenuCallback = 0;
    drw::TooltipObject CaptionTooltip;  // window made by attach
    int32_t StatusHeight = 0;
    RectI StatusRect;
    rt::CountedArray<StatusPane> StatusPanes;
    rt::CountedArray<RectI> StatusPaneRects;
    int32_t StatusTextColor = 0;
    int32_t StatusGlow = 0;
    COLORREF StatusGlowTextColor = 0;
    COLORREF StatusGlowColor = 0;
    rt::AnsiText StatusFontName;
    int32_t StatusFontSize = 0;
    rt::CountedArray<SkinnedButton> Buttons;
    rt::CountedArray<SkinnedEdit> Edits;
    rt::CountedArray<SkinnedListControl> ListControls;
    rt::CountedArray<SkinnedTrackbar> Trackbars;
    rt::CountedArray<SkinnedProgressBar> ProgressBars;
    rt::CountedArray<SkinnedComboBox> ComboBoxes;
    rt::CountedArray<SkinnedUpDown> UpDowns;
    rt::CountedArray<SkinnedHeader> Headers;
    rt::CountedArray<SkinnedPlainControl> PlainControls;
    int32_t RenderNeeded = 0;
    HDC WindowCacheDc = nullptr;
    HDC CaptionCacheDc = nullptr;
    HDC StatusCacheDc = nullptr;
    int32_t PreviousHotEntry = 0;
    int32_t HotEntry = 0;
    rt::CountedArray<SkinnedContainer> Containers;
    rt::CountedArray<DockedWindow> DockedWindows;
    int32_t MouseTracked = 0;
    CaptionFadeState FadeIn;
    CaptionFadeState FadeOut;
    int32_t FadeTimerOn = 0;
    // The left button went down on one of this window's caption buttons and
    // has not come up yet: only then does a release click a caption button.
    int32_t CaptionPressPending = 0;
    // The maximize detection's own SetWindowPos is running.
    int32_t FittingToScreen = 0;
    // The finished background of the last rendering, reused while nothing it
    // depends on changes (frame.cpp). Holds GDI objects only.
    std::shared_ptr<struct BackgroundLayer> BackgroundCache;
};

// A record as attach starts it: every field zero or empty, each per-control
// array holding one all-zero entry (the first attached control of a family
// takes it over), CaptionTooltip a tooltip object whose window is not made.
std::unique_ptr<SkinWindowRecord> NewSkinWindowRecord();

// The table of records, indexed from 1 in the order windows were attached.
// Every access is range-checked (an index out of range is a fatal error
// report); records are held by pointer and never move.
class WindowRecordTable {
public:
    int Count() const { return records_.Count(); }
    SkinWindowRecord& operator[](int index) { return *records_[index]; }
    const SkinWindowRecord& operator[](int index) const { return *records_[index]; }
    bool Contains(int index) const { return index >= 1 && index <= Count(); }
    // Appends and returns the record's index.
    int Append(std::unique_ptr<SkinWindowRecord> record);
    // Frees the record and everything it owns; later records move up by one.
    void RemoveAt(int index);
    void Clear();

private:
    rt::CountedArray<std::unique_ptr<SkinWindowRecord>> records_;
};

extern WindowRecordTable SkinWindowTable;

// Writes every record's index anew where windows and controls read it:
// Hw_lbID on each window, Hw_FuID on the controls of ListControls, Buttons,
// Edits, ComboBoxes, Headers, UpDowns, Trackbars, ProgressBars and
// Containers, Kj_FuID on PlainControls. Entries without a window are skipped.
void RenumberWindowProperties();

}  // namespace skin
