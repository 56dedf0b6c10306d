#include "skin/controls/container.h"

#include <commctrl.h>

#include <string>

#include "drawing/font.h"
#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "skin/capture.h"
#include "skin/child_messages.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/edit.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/header.h"
#include "skin/controls/list_control.h"
#include "skin/controls/progress_bar.h"
#include "skin/controls/push_button.h"
#include "skin/controls/subclass.h"
#include "skin/controls/trackbar.h"
#include "skin/controls/up_down.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr int kStringAlignmentCenter = 1;
constexpr int kUnitWorld = 0;
constexpr int kFlushSync = 1;

float F(double v) { return static_cast<float>(v); }

RECT ClientRectOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

rt::AnsiText WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

void OutlineRoundedRect(drw::GraphicsObject& g, float x, float y, float w, float h, int radius,
                        uint32_t argb) {
    drw::PathObject path;
    path.Create();
    AddRoundedRectPath(path, x, y, w, h, radius);
    OutlinePath(g, path, argb);
}

void FillRect(HDC dc, const SkinnedContainer& entry, float x, float y, float w, float h) {
    drw::GraphicsObject g;
    g.FromHdc(dc);
    drw::SolidBrushObject brush;
    brush.Create(ColorRefToArgb(entry.FillColor, entry.FillAlpha));
    g.FillRectangle(brush, x, y, w, h);
}

// The picture behind the container with its fill and its frames, in a
// registered DC the size of its client area; 0 when no skinned window lies
// above it.
HDC ComposeContainer(int record, int entry, RECT& client) {
    const SkinnedContainer& c = SkinWindowTable[record].Containers[entry];
    HWND window = c.Window;
    const bool groupBox = c.GroupBox != 0, border = c.Border != 0;
    client = ClientRectOf(window);
    HDC capture = CaptureControlBackground(window, client);
    if (!capture) return nullptr;
    if (groupBox) {
        PaintGroupBox(record, entry, capture);
    } else if (border) {
        drw::GraphicsObject g;
        g.FromHdc(capture);
        OutlineRoundedRect(g, 0, 0, F(client.right - 1), F(client.bottom - 1), 5,
                           ColorRefToArgb(0x000000, 40));
        OutlineRoundedRect(g, 1, 1, F(client.right - 3), F(client.bottom - 3), 3,
                           ColorRefToArgb(0xFFFFFF, 100));
    }
    return capture;
}

// ---- messages ---------------------------------------------------------------
LRESULT OnShowWindow(HWND window, WPARAM wParam, LPARAM lParam) {
    CallPreviousProc(window, WM_SHOWWINDOW, wParam, lParam);
    // The previous procedure may have done anything: the entry is read anew.
    ControlIds ids;
    if (const SkinnedContainer* c = LiveEntryOf(window, &SkinWindowRecord::Containers, &ids);
        c && c->SelfPaint)
        PaintContainer(ids.record, ids.entry, nullptr);
    return DefWindowProcA(window, WM_SHOWWINDOW, wParam, lParam);
}

LRESULT OnPaint(HWND window, const ControlIds& ids, WPARAM wParam, LPARAM lParam) {
    {
        PaintDc paint(window);
        if (SkinWindowTable[ids.record].Containers[ids.entry].FullRepaint)
            PaintContainer(ids.record, ids.entry, paint);
        else
            PaintContainerChild(ids.record, ids.entry, window, paint);
    }
    return DefWindowProcA(window, WM_PAINT, wParam, lParam);
}

}  // namespace

// ---- engine operations ------------------------------------------------------
void SkinEngine::AttachContainer(HWND window, int paint, COLORREF fillColor, int fillAlpha,
                                 int border) {
    const int record = FindRootWindowRecord(window);
    // A window under no skinned window has no record to hold its entry.
    if (record == 0 || !window) return;
    if (FindContainerEntry(record, window) > 0) return;
    // A control a family skins already (a list view with its header, say)
    // keeps that skin: both procedures would share one Hw_hProc.
    if (IsSkinSubclassed(window)) return;

    int index = TakeEntry(SkinWindowTable[record].Containers);
    {
        SkinnedContainer& c = SkinWindowTable[record].Containers[index];
        // The window is set now so that the family attaches below already
        // find their controls inside a known container.
        c.Window = window;
        c.FillColor = fillColor;
        c.FillAlpha = static_cast<uint8_t>(fillAlpha & 0xFF);
        c.Border = border;
        c.SelfPaint = paint;
    }
    if (IsGroupBoxWindow(window)) {
        const ControlFont font = ReadControlFont(window);
        SkinnedContainer& c = SkinWindowTable[record].Containers[index];
        c.GroupBox = 1;
        c.FontName = font.FaceName;
        c.FontSize = font.Size;
        c.FontStyle = font.Style;
    }

    AttachPushButtons(record, window);
    AttachCheckAndRadioButtons(record, window);
    AttachEditsAndComboBoxes(record, window);
    AttachTrackbars(record, window);
    AttachProgressBars(record, window);
    AttachListControls(record, window);
    AttachUpDowns(record, window);
    AttachHeaders(record, window);

    SkinnedContainer& c = SkinWindowTable[record].Containers[index];
    c.FullRepaint = 1;
    SubclassControl(c, window, record, index, ContainerSkinProc);
    WriteProp(window, prop::Mb_zpf, reinterpret_cast<std::intptr_t>(FindSkinParent(window)));
}

void SkinEngine::SetContainerAlpha(HWND window, int alpha) {
    // The properties must name this window's own container entry: other
    // skinned controls carry the same two properties for other arrays.
    SkinnedContainer* c = LiveEntryOf(window, &SkinWindowRecord::Containers);
    if (!c || c->FillColor == 0) return;
    c->FillAlpha = static_cast<uint8_t>(alpha & 0xFF);
    InvalidateRect(window, nullptr, FALSE);
}

// ---- the procedure ----------------------------------------------------------
LRESULT CALLBACK ContainerSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    SkinnedContainer* c = LiveEntryOf(window, &SkinWindowRecord::Containers, &ids);
    if (!c) return CallPreviousProc(window, message, wParam, lParam);
    const bool selfPaint = c->SelfPaint != 0;
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam == 1) return OnShowWindow(window, wParam, lParam);
        break;
    case WM_MOVE:
        if (selfPaint && c->FillAlpha != 255) InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_PAINT:
        if (selfPaint) return OnPaint(window, ids, wParam, lParam);
        break;
    case WM_ERASEBKGND:
        if (!selfPaint) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_SIZE:
        c->FullRepaint = 1;
        LayoutContainerPages(ids.record, ids.entry);
        break;
    case WM_DRAWITEM: {
        DRAWITEMSTRUCT item{};
        if (CopyFromParam(lParam, item)) DispatchButtonOwnerDraw(ids.record, item);
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        LRESULT brush = 0;
        if (AnswerChildColourMessage(message, wParam, lParam, brush)) return brush;
        break;
    }
    case WM_COMMAND:
        if (TransparentControls()) RepaintChangedChild(wParam, lParam);
        break;
    case WM_NOTIFY:
        RepaintExpandedTreeChild(lParam);
        break;
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

// ---- painting ---------------------------------------------------------------
void PaintContainer(int record, int entry, HDC dc) {
    RECT r{};
    ScopedCapture capture(ComposeContainer(record, entry, r));
    HWND window = SkinWindowTable[record].Containers[entry].Window;
    if (capture) {
        HDC target = dc ? dc : GetDcExcludingChildren(window);
        BitBlt(target, 0, 0, r.right, r.bottom, capture, 0, 0, SRCCOPY);
        if (!dc) ReleaseDC(window, target);
    }
    SkinWindowTable[record].Containers[entry].FullRepaint = 0;
}

void PaintContainerChild(int record, int entry, HWND window, HDC) {
    RECT r{};
    {
        ScopedCapture capture(ComposeContainer(record, entry, r));
        if (!capture) return;
        HWND container = SkinWindowTable[record].Containers[entry].Window;
        HDC target = GetDcExcludingChildren(container);
        BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, capture, r.left, r.top,
               SRCCOPY);
        ReleaseDC(window, target);
    }
    InvalidateTransparentChildren(window);
}

double GroupBoxCaptionX(LONG style, int w, int tw) {
    if ((style & BS_CENTER) == BS_CENTER) return (w - tw) / 2.0;
    if (!(style & BS_LEFT)) return w - tw - 10;
    return 10;
}

void PaintGroupBox(int record, int entry, HDC dc) {
    const SkinnedContainer& c = SkinWindowTable[record].Containers[entry];
    HWND window = c.Window;
    const rt::AnsiText fontName = c.FontName;
    const int fontSize = c.FontSize, fontStyle = c.FontStyle;
    const RECT client = ClientRectOf(window);
    const int w = client.right, h = client.bottom;

    drw::GraphicsObject g;
    g.FromHdc(dc);
    OutlineRoundedRect(g, 0, 5, F(w - 1), F(h - 6), 5, ColorRefToArgb(0x000000, 40));
    OutlineRoundedRect(g, 1, 6, F(w - 3), F(h - 8), 3, ColorRefToArgb(0xFFFFFF, 90));
    // The frames reach the DC before the gap is cut into them with GDI.
    g.Flush(kFlushSync);

    drw::FontObject font;
    font.CreateByName(fontName, F(fontSize), fontStyle, kUnitWorld);
    drw::StringFormatObject format;
    format.Create();
    format.SetAlign(kStringAlignmentCenter);
    drw::SolidBrushObject brush;
    brush.Create(ColorRefToArgb(static_cast<COLORREF>(ReadProp(window, prop::Kj_Ztys)), 255));

    const rt::AnsiText text = WindowText(window);
    const int tw = MeasureTextWidth(text, fontName, fontSize, fontStyle);
    const double x = GroupBoxCaptionX(GetWindowLongA(window, GWL_STYLE), w, tw);
    CopyParentBackground(window, dc,
                         RECT{static_cast<LONG>(x), 1, static_cast<LONG>(x + tw),
                              static_cast<LONG>(1 + fontSize + 3)});
    g.DrawString(text, font, brush, drw::RectF{F(x), 1, F(tw), F(fontSize + 3)}, &format);
}

void CopyParentBackground(HWND window, HDC dc, const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    int record = 0, container = 0;
    HWND marked = nullptr;
    const int direct = FindSkinContainer(window, record, container, marked);

    HDC source = nullptr;
    RECT offset{};
    int fillRecord = 0, fillEntry = 0;
    bool ownShape = true;  // a group box's own fill leaves its caption strip
    if (direct == 1) {
        source = SkinWindowTable[record].WindowCacheDc;
        offset = GetRectInContainer(window);
        fillRecord = record;
        fillEntry = FindContainerEntry(record, window);
    } else if (marked) {
        HWND from = marked;
        if (marked == window) from = reinterpret_cast<HWND>(ReadProp(window, prop::Mb_zpf));
        const int root = FindRootWindowRecord(window);
        if (from) {
            source = reinterpret_cast<HDC>(ReadProp(from, prop::Wxk_Cj));
            offset = GetRectRelativeTo(from, window);
        } else if (root > 0) {
            source = SkinWindowTable[root].WindowCacheDc;
            offset = GetRectInRootWindow(window);
        }
        fillRecord = root;
        fillEntry = root > 0 ? FindContainerEntry(root, window) : 0;
    } else {
        const int root = record > 0 ? record : FindRootWindowRecord(window);
        if (root == 0) return;
        source = SkinWindowTable[root].WindowCacheDc;
        offset = GetRectInRootWindow(window);
        fillRecord = root;
        const int own = FindContainerEntry(root, window);
        fillEntry = own > 0 ? own : container;
        ownShape = false;
    }
    if (source)
        BitBlt(dc, rect.left, rect.top, w, h, source, offset.left + rect.left,
               offset.top + rect.top, SRCCOPY);
    if (fillRecord == 0 || fillEntry == 0) return;
    const SkinnedContainer& fill = SkinWindowTable[fillRecord].Containers[fillEntry];
    if (fill.FillColor == 0) return;
    if (ownShape && fill.GroupBox)
        FillRect(dc, fill, F(rect.left), F(rect.top + 4), F(w), F(h - 4));
    else
        FillRect(dc, fill, F(rect.left), F(rect.top), F(w), F(h));
}

void InvalidateTransparentChildren(HWND window) {
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr))
        if (IsTransparentExStyle(child)) InvalidateRect(child, nullptr, FALSE);
}

void LayoutContainerPages(int record, int entry) {
    const SkinnedContainer& c = SkinWindowTable[record].Containers[entry];
    const RECT r = ClientRectOf(c.Window);
    // MoveWindow sends messages; the pages are copied first.
    const rt::CountedArray<ContainerPage> pages = c.Pages;
    for (const ContainerPage& page : pages)
        if (page.Window) MoveWindow(page.Window, 2, page.Y, r.right - 4, r.bottom - page.Y, TRUE);
}

HWND FindSkinParent(HWND window) {
    for (HWND up = GetParent(window); up; up = GetParent(up))
        if (ReadProp(up, prop::Wxk_Zpf) == 1) return up;
    return nullptr;
}

bool IsGroupBoxWindow(HWND window) {
    return GetClassNameText(window) == "Button" &&
           (GetWindowLongA(window, GWL_STYLE) & 0x4) != 0;
}

}  // namespace skin
