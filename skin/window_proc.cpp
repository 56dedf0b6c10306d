// The window procedure of skinned top-level windows: painting from the
// cached rendering, the caption buttons' hover fade and clicks, minimize and
// maximize bookkeeping, track sizes, background brushes for child controls,
// repaints of controls whose contents change, working-set trimming on
// deactivation, and the detach when the window goes.
#include "skin/window_proc.h"

#include <commctrl.h>

#include <cstring>

#include "skin/attach.h"
#include "skin/caption_buttons.h"
#include "skin/caption_paint.h"
#include "skin/capture.h"
#include "skin/child_messages.h"
#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "skin/working_set.h"

namespace skin {
namespace {

LRESULT Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, prop::Hw_hProc));
    if (!previous) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

RECT ClientRectOf(HWND window) {
    RECT c{};
    GetClientRect(window, &c);
    return c;
}

// Height of the taskbar's rectangle, whatever edge it is docked at; 0 when
// there is no taskbar.
int TaskbarHeight() {
    RECT r{};
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(tray, &r);
    return r.bottom - r.top;
}

// ---- caption button painting, never with GDI+ down ------------------------------

void PaintButton(SkinEngine& e, int record, int button, std::optional<bool> pressed = {},
                 std::optional<int> alpha = {}) {
    if (EngineGdiplusUp()) e.PaintCaptionButton(record, button, nullptr, pressed, alpha);
}

// ---- rows of the message table ----------------------------------------------------

void OnShowWindow(SkinEngine& e, HWND window, int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    if (r.Minimized != 0) {
        r.Minimized = 0;
        return;
    }
    PaintDc paint(window);
    if (EngineGdiplusUp()) e.RenderWindow(record, 1);
}

void OnPaint(SkinEngine& e, HWND window) {
    PaintDc paint(window);
    const int record = WindowRecordOf(window);
    if (record == 0 || SkinWindowTable[record].Minimized != 0) return;
    // A window shown without WM_SHOWWINDOW (SetWindowPos with SWP_SHOWWINDOW)
    // after the process's first size message has no rendering yet, though
    // none is asked for: its first paint makes it.
    const SkinWindowRecord& r = SkinWindowTable[record];
    const bool rendered = r.WindowCacheDc != nullptr && ReadProp(window, prop::Ck_wtjbdx) != 0;
    // Without GDI+ no new rendering can be made; the last one stands.
    if ((r.RenderNeeded == 0 && rendered) || !EngineGdiplusUp()) {
        e.BlitWindowCache(record, paint);
        return;
    }
    // The rendering clears RenderNeeded itself once it has finished; one cut
    // short (the window lost its record on the way) is not taken as done.
    e.RenderWindow(record, 1);
}

void OnDoubleClick(SkinEngine& e, int record, LPARAM lParam) {
    const SkinWindowRecord& r = SkinWindowTable[record];
    if (MouseY(lParam) > r.CaptionHeight || r.FrameGestures == 0) return;
    const int button = e.FindMaximizeButton(record);
    if (button > 0) e.OnCaptionButtonClick(record, button);
}

void OnMouseMove(SkinEngine& e, HWND window, int record, LPARAM lParam) {
    const RECT client = ClientRectOf(window);
    SkinWindowRecord& r = SkinWindowTable[record];
    if (r.MouseTracked == 0) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, window, 1};
        TrackMouseEvent(&track);
    }
    if (r.CaptionOn == 0) return;
    if (IsInCaptionButtonStrip(record, lParam)) {
        if (r.FadeTimerOn == 0) {
            SetTimer(window, FadeTimerId(window), kFadeTickMs, nullptr);
            r.FadeTimerOn = 1;
        }
    } else {
        // The timer runs on until a running fade-out has finished.
        r.FadeTimerOn = 0;
    }
    e.PointerCaptionButton = e.HitCaptionButton(record, MouseX(lParam), MouseY(lParam));
    const int previous = r.HotCaptionButton;
    const int now = e.PointerCaptionButton;
    if (previous > 0 && now != previous) {
        // An unfinished fade-out is cut short before the next one starts.
        if (r.FadeOut.Step < kFadeSteps) PaintButton(e, record, r.FadeOut.Button, false, 0);
        r.FadeOut = {previous, 0};
    }
    if (now > 0 && now != previous) r.FadeIn = {now, 0};
    r.HotCaptionButton = now;
    if (r.Maximized == 0) e.UpdateResizeCursor(record, lParam, client);
}

void OnFadeTick(SkinEngine& e, HWND window, int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    if (r.FadeIn.Button > 0 && r.FadeIn.Step < kFadeSteps) {
        ++r.FadeIn.Step;
        PaintButton(e, record, r.FadeIn.Button, false, FadeInAlpha(r.FadeIn.Step));
    }
    // Painted last, so a button fading both ways shows its fade-out.
    if (r.FadeOut.Button > 0 && r.FadeOut.Step < kFadeSteps) {
        ++r.FadeOut.Step;
        PaintButton(e, record, r.FadeOut.Button, false, FadeOutAlpha(r.FadeOut.Step));
    }
    const bool pointerGone = r.MouseTracked == 0 || r.FadeTimerOn == 0;
    const bool fadeOutDone = r.FadeOut.Step >= kFadeSteps || r.FadeOut.Button == 0;
    if (pointerGone && fadeOutDone) {
        r.FadeTimerOn = 0;
        KillTimer(window, FadeTimerId(window));
        r.HotCaptionButton = 0;
        r.FadeIn = {};
        r.FadeOut = {};
    }
}

void OnMouseLeave(SkinEngine& e, int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    r.MouseTracked = 0;
    // A press that left the window with the pointer clicks nothing later.
    r.CaptionPressPending = 0;
    if (r.HotCaptionButton <= 0 || r.CaptionOn == 0) return;
    if (r.FadeOut.Step < kFadeSteps && r.FadeIn.Step < kFadeSteps) {
        PaintButton(e, record, r.FadeOut.Button);
        r.FadeIn = {};
    }
    r.FadeOut = {r.HotCaptionButton, 0};
    r.HotCaptionButton = 0;
}

void OnLeftButtonDown(SkinEngine& e, HWND window, int record, LPARAM lParam) {
    const RECT client = ClientRectOf(window);
    {
        SkinWindowRecord& r = SkinWindowTable[record];
        r.FadeIn.Button = 0;
        r.CaptionPressPending = 0;
        if (r.CaptionOn == 0) return;
        if (r.Maximized == 0 && r.Minimized == 0) e.CaptionMouseDown(record, lParam, client);
    }
    // A move or sizing loop may have run: the record is looked up again.
    record = WindowRecordOf(window);
    if (record == 0) return;
    e.PointerCaptionButton = e.HitCaptionButton(record, MouseX(lParam), MouseY(lParam));
    if (e.PointerCaptionButton > 0) {
        SkinWindowTable[record].CaptionPressPending = 1;
        PaintButton(e, record, e.PointerCaptionButton, true);
    }
}

void OnLeftButtonUp(SkinEngine& e, int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    const bool pressed = r.CaptionPressPending != 0;
    r.CaptionPressPending = 0;
    const int button = e.PointerCaptionButton;
    if (!pressed || e.CaptionClickThunkAddress == 0 || button <= 0 ||
        button > r.CaptionButtons.Count() || r.CaptionOn == 0)
        return;
    // The click goes through the engine's caption-click entry point.
    using ClickEntry = void(__stdcall*)(int, int);
    reinterpret_cast<ClickEntry>(e.CaptionClickThunkAddress)(record, button);
}

void OnSysCommand(int record, WPARAM wParam) {
    SkinWindowRecord& r = SkinWindowTable[record];
    switch (wParam & 0xFFF0) {
    case SC_MAXIMIZE:
        r.Maximized = 1;
        r.RenderNeeded = 1;
        break;
    case SC_RESTORE:
        r.RenderNeeded = 1;
        r.Minimized = 0;
        break;
    case SC_MINIMIZE:
        r.RenderNeeded = 1;
        r.Minimized = 1;
        break;
    default:
        break;
    }
}

void OnSetText(SkinEngine& e, int record, LPARAM lParam) {
    const SkinWindowRecord& r = SkinWindowTable[record];
    if (r.DrawTitle == 0 || r.CaptionOn == 0 || !EngineGdiplusUp()) return;
    // A NULL text is the empty title.
    const char* text = reinterpret_cast<const char*>(lParam);
    e.PaintCaption(record, nullptr, rt::AnsiText(text ? text : ""));
}

void OnGetMinMaxInfo(int record, LPARAM lParam) {
    const SkinWindowRecord& r = SkinWindowTable[record];
    MINMAXINFO info;
    std::memcpy(&info, reinterpret_cast<const void*>(lParam), sizeof info);
    info.ptMinTrackSize = POINT{r.MinTrackWidth, r.MinTrackHeight};
    if (r.Maximized != 0)
        info.ptMaxTrackSize = POINT{rt::ScreenWidth(), rt::ScreenHeight() - TaskbarHeight()};
    else
        info.ptMaxTrackSize = POINT{r.MaxTrackWidth, r.MaxTrackHeight};
    std::memcpy(reinterpret_cast<void*>(lParam), &info, sizeof info);
}

// A window whose client area covers the whole screen counts as maximized and
// is fitted above the taskbar. Its own SetWindowPos comes back here: the
// nested call does nothing, and no call is made when the window already has
// that size (with no taskbar, the screen itself).
void DetectMaximized(HWND window, int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    if (r.MaximizeButtonOn != 1 || r.FittingToScreen != 0) return;
    const RECT client = ClientRectOf(window);
    const int w = rt::ScreenWidth();
    const int h = rt::ScreenHeight();
    if (client.right != w || client.bottom != h) return;
    r.Maximized = 1;
    const int fitted = h - TaskbarHeight();
    RECT now{};
    GetWindowRect(window, &now);
    if (now.right - now.left == w && now.bottom - now.top == fitted) return;
    r.FittingToScreen = 1;
    SetWindowPos(window, nullptr, 0, 0, w, fitted, SWP_NOZORDER | SWP_NOOWNERZORDER);
    if (const int again = WindowRecordOf(window)) SkinWindowTable[again].FittingToScreen = 0;
}

void OnWindowPosChanged(SkinEngine& e, HWND window, int record) {
    DetectMaximized(window, record);
    record = WindowRecordOf(window);
    if (record == 0) return;
    e.LayoutCaptionButtons(record);
    if (SkinWindowTable[record].StatusHeight > 0) e.LayoutStatusBar(record);
}

// Whether the window's current rendering was made at another size than
// width x height; false when it has none yet.
bool RenderedAtAnotherSize(HWND window, int width, int height) {
    const HGDIOBJ rendering = reinterpret_cast<HGDIOBJ>(ReadProp(window, prop::Ck_wtjbdx));
    BITMAP b{};
    if (!rendering || GetObjectA(rendering, sizeof b, &b) != sizeof b) return false;
    return b.bmWidth != width || b.bmHeight != height;
}

void OnSize(SkinEngine& e, int record, LPARAM lParam) {
    SkinWindowRecord& r = SkinWindowTable[record];
    r.HotCaptionButton = 0;
    // The size message of the first showing in the process comes right after
    // that showing's rendering and does not ask for another. Not every
    // showing brings one (the runtime's does not): the process's first size
    // message may be the user's first resize, which finds a rendering of the
    // old size and asks for a new one like any later size message. Without a
    // rendering the window's first paint makes one.
    const bool first = FirstSizePending != 0;
    FirstSizePending = 0;
    if (first && !RenderedAtAnotherSize(r.Window, LOWORD(lParam), HIWORD(lParam))) {
        r.RenderNeeded = 0;
    } else {
        r.RenderNeeded = 1;
        // The new rendering is made by the next paint, but a window made
        // smaller gets none from the system unless its class asks for one
        // (CS_HREDRAW, CS_VREDRAW): the window asks for it itself.
        InvalidateRect(r.Window, nullptr, FALSE);
    }
    e.LayoutDockedPanes(record);
}

// The brush and bitmap last handed to a control live until its next ones; a
// static, button or list box has nobody else to delete them when it goes, so
// the window takes them back from all of its descendants while they still
// exist (its own WM_DESTROY comes before theirs).
BOOL CALLBACK TakeBackHandedOutBackground(HWND control, LPARAM) {
    if (GetPropA(control, prop::Kj_dxjb) || GetPropA(control, prop::Kj_wtjb))
        DeleteHandedOutBackground(control);
    return TRUE;
}

}  // namespace

int WindowRecordOf(HWND window) { return OwnRecordIndex(window); }

bool EngineGdiplusUp() { return !(GdiplusShutdownCalls() > 0 && GdiplusToken == 0); }

LRESULT SkinEngine::SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Rows that need the record skip their action when the window has none.
    const int record = WindowRecordOf(window);
    switch (message) {
    case WM_QUIT:
        ShutdownGdiplus(GdiplusToken);
        break;
    case WM_NCDESTROY:
        DetachSkinWindow(window);
        KillTimer(window, FadeTimerId(window));
        break;
    case WM_SHOWWINDOW:
        if (wParam == 1 && record) OnShowWindow(*this, window, record);
        break;
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_PAINT:
        OnPaint(*this, window);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if (record) OnDoubleClick(*this, record, lParam);
        break;
    case WM_MOUSEMOVE:
        if (record) OnMouseMove(*this, window, record, lParam);
        break;
    case WM_MOUSEHOVER:
        if (record) SkinWindowTable[record].MouseTracked = 1;
        break;
    case WM_MOUSELEAVE:
        if (record) OnMouseLeave(*this, record);
        break;
    case WM_TIMER:
        if (wParam == FadeTimerId(window) && record) OnFadeTick(*this, window, record);
        break;
    case WM_GETMINMAXINFO:
        if (record && lParam) OnGetMinMaxInfo(record, lParam);
        break;
    case WM_WINDOWPOSCHANGED:
        if (record) OnWindowPosChanged(*this, window, record);
        break;
    case WM_SIZE:
        if (record) OnSize(*this, record, lParam);
        break;
    case WM_LBUTTONDOWN:
        if (record) OnLeftButtonDown(*this, window, record, lParam);
        break;
    case WM_LBUTTONUP:
        if (record) OnLeftButtonUp(*this, record);
        break;
    case WM_SYSCOMMAND:
        if (record) OnSysCommand(record, wParam);
        break;
    case WM_QUERYOPEN:
        if (record) SkinWindowTable[record].Minimized = 0;
        break;
    case WM_SETTEXT:
        if (record) OnSetText(*this, record, lParam);
        break;
    case WM_DRAWITEM:
        // Owner-drawn buttons are drawn with GDI+.
        if (record && EngineGdiplusUp()) DispatchOwnerDrawMessage(record, lParam);
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // Glass brushes are drawn with GDI+: without it the replaced
        // procedure answers.
        if (!EngineGdiplusUp()) break;
        [[fallthrough]];
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        LRESULT brush = 0;
        if (AnswerChildColourMessage(message, wParam, lParam, brush)) return brush;
        break;
    }
    case WM_ACTIVATEAPP:
        if (wParam == 0) StartWorkingSetTrim();
        break;
    case WM_COMMAND:
        if (TransparentControls()) RepaintChangedChild(wParam, lParam);
        break;
    case WM_NOTIFY:
        RepaintExpandedTreeChild(lParam);
        break;
    case WM_DESTROY: {
        const LRESULT result = Forward(window, message, wParam, lParam);
        EnumChildWindows(window, &TakeBackHandedOutBackground, 0);
        return result;
    }
    default:
        // WM_MOVE, WM_CTLCOLORSCROLLBAR, scrolling and the rest:
        // the replaced procedure's.
        break;
    }
    return Forward(window, message, wParam, lParam);
}

void SkinEngine::SetControlTextColor(HWND control, COLORREF colour) {
    if (!control) return;
    if (GetClassNameText(control) == "ComboBox") {
        // A combo box shows its text in its edit field; a drop-down list has
        // none and keeps its colour.
        if (HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr))
            WriteProp(edit, prop::Kj_Ztys, static_cast<std::intptr_t>(colour));
        return;
    }
    WriteProp(control, prop::Kj_Ztys, static_cast<std::intptr_t>(colour));
}

}  // namespace skin
