// The transparent label: a static text with a see-through background. It
// never erases, draws its text with a transparent background mode, and lets
// the mouse through to whatever lies beneath it (HTTRANSPARENT), so a tip
// over a list box still lets the list box see the mouse.
#include "runtime/units_internal.h"

namespace rt::detail {
namespace {

void DrawLabelText(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int len = GetWindowTextLengthA(hwnd);
    std::vector<char> text(static_cast<std::size_t>(len) + 1);
    GetWindowTextA(hwnd, text.data(), len + 1);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ oldFont = SelectObject(dc, UnitFont());
    DrawTextA(dc, text.data(), len, &rc, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void PaintLabel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawLabelText(hwnd, dc);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // see-through: what lies beneath stays
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: PaintLabel(hwnd); return 0;
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    default: return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

}  // namespace

void RedrawLabelText(HWND label) {
    HDC dc = GetDC(label);
    DrawLabelText(label, dc);
    ReleaseDC(label, dc);
}

const char* TransparentLabelClass() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LabelProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "RtTransparentLabel";
        RegisterClassA(&wc);
        return "RtTransparentLabel";
    }();
    return name;
}

}  // namespace rt::detail
