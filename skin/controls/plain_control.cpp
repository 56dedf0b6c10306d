#include "skin/controls/plain_control.h"

#include <cstdint>
#include <optional>

#include "skin/capture.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

// Classes that paint into the DC handed to them in wParam, so their painting
// can be taken into a memory DC that already holds the skin.
constexpr const char* kColourKeyClasses[] = {
    "SysMonthCal32", "SysTabControl32",    "ToolbarWindow32",
    "msctls_statusbar32", "Button", "msctls_trackbar32",
};

LRESULT CallPlainPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(window, prop::Kj_hProc)), window,
                           message, wParam, lParam);
}

// The key colour of the control's entry; nullopt when its properties name
// no live entry.
std::optional<COLORREF> KeyColourOf(HWND window) {
    const int record = static_cast<int>(ReadProp(window, prop::Kj_FuID));
    const int entry = static_cast<int>(ReadProp(window, prop::Kj_lbID));
    if (!SkinWindowTable.Contains(record)) return std::nullopt;
    const auto& plain = SkinWindowTable[record].PlainControls;
    if (entry < 1 || entry > plain.Count() || plain[entry].Window != window) return std::nullopt;
    return plain[entry].KeyColor;
}

// The control paints into a capture of the skin; its painting, key colour
// left out, goes onto the glass and from there onto the screen.
LRESULT PaintIntoCapture(HWND window, LPARAM lParam, COLORREF key) {
    RECT r{};
    GetClientRect(window, &r);
    ScopedCapture painted(CaptureControlBackground(window, r));
    PaintDc paint(window);
    const LRESULT result = CallPlainPrevious(window, WM_PAINT,
                                             reinterpret_cast<WPARAM>(painted.Get()), lParam);
    ScopedCapture glass(CreateGlassBackgroundDc(window));
    TransparentBlt(glass, 0, 0, r.right, r.bottom, painted, 0, 0, r.right, r.bottom, key);
    BitBlt(paint, 0, 0, r.right - r.left, r.bottom - r.top, glass, 0, 0, SRCCOPY);
    return result;
}

// The control paints on the screen; what it shows in the update rectangle,
// key colour left out, is laid over the skin and put back.
LRESULT PaintThenReadBack(HWND window, WPARAM wParam, LPARAM lParam, COLORREF key) {
    LRESULT result = 0;
    {
        WindowDc screen(window);
        RECT u{};
        GetUpdateRect(window, &u, FALSE);
        const int w = u.right - u.left, h = u.bottom - u.top;
        ScopedCapture skin(CaptureControlBackground(window, u));
        // The control keeps its own paint DC: handed the capture instead, a
        // control that honours wParam would paint off screen and, never
        // calling BeginPaint, leave its update region invalid for ever.
        result = CallPlainPrevious(window, WM_PAINT, wParam, lParam);
        TransparentBlt(skin, 0, 0, w, h, screen, u.left, u.top, w, h, key);
        BitBlt(screen, u.left, u.top, w, h, skin, 0, 0, SRCCOPY);
    }
    InvalidateVisibleChildren(window);
    return result;
}

}  // namespace

bool IsColourKeyClass(HWND window) {
    const rt::AnsiText name = GetClassNameText(window);
    for (const char* cls : kColourKeyClasses)
        if (name == cls) return true;
    return false;
}

int FindPlainControlEntry(int record, HWND window) {
    return FindEntryOfWindow(SkinWindowTable[record].PlainControls, window);
}

void SkinEngine::AttachPlainControl(HWND window, std::optional<COLORREF> keyColor,
                                    COLORREF backgroundColor, int alpha) {
    // A control under no skinned window has no record to join.
    const int record = FindRootWindowRecord(window);
    if (record == 0) return;
    const COLORREF key = keyColor.value_or(rt::DefaultColour());
    auto& plain = SkinWindowTable[record].PlainControls;
    // Attached again: only the key changes. A second subclassing would make
    // the skin procedure its own replaced procedure (Kj_hProc) and loop.
    if (const int existing = FindPlainControlEntry(record, window)) {
        plain[existing].KeyColor = key;
        return;
    }
    const int index = TakeEntry(plain);
    SkinnedPlainControl& entry = plain[index];
    entry.Window = window;
    entry.KeyColor = key;
    const LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    WriteProp(window, prop::Kj_lbID, index);
    WriteProp(window, prop::Kj_FuID, record);
    WriteProp(window, prop::Kj_hProc, previous);
    entry.PreviousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PlainControlSkinProc)));

    // The standard controls inside are skinned through the container
    // operation; the control keeps painting itself through this unit.
    if (FindWindowExA(window, nullptr, nullptr, nullptr))
        AttachContainer(window, 0, backgroundColor, alpha);
}

LRESULT CALLBACK PlainControlSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::optional<COLORREF> key = KeyColourOf(window);
    if (!key) return CallPlainPrevious(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        if (SkinControlsFlag == 0) break;
        if (IsColourKeyClass(window)) return PaintIntoCapture(window, lParam, *key);
        return PaintThenReadBack(window, wParam, lParam, *key);
    case WM_ERASEBKGND:
        if (TransparentControlsFlag == 0) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_MOVE:
        if (TransparentControlsFlag != 0) InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (GetClassNameText(window) == "RichEdit20A") InvalidateRect(window, nullptr, FALSE);
        break;
    default:
        break;
    }
    return CallPlainPrevious(window, message, wParam, lParam);
}

}  // namespace skin
