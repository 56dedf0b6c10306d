// Edit fields: attach, window procedure, frame and glass background.
#include "skin/controls/edit.h"

#include "drawing/graphics.h"
#include "drawing/pen_brush.h"
#include "skin/capture.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/control_frame.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/handed_out.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr uint32_t kEditNormalBorder = 0x50000000;  // black at alpha 80
constexpr int kEditAccentAlpha = 180;
// DefWindowProcA's WM_NCPAINT region when the system has nothing to paint.
const WPARAM kNoSystemFrame = static_cast<WPARAM>(0xFFFFFFFF);

SkinnedEdit& EditEntry(const ControlIds& ids) {
    return SkinWindowTable[ids.record].Edits[ids.entry];
}

RECT ScrollBarRect(HWND window, LONG which) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(window, which, &info);
    return info.rcScrollBar;
}


void OnEditMouseMove(HWND window, const ControlIds& ids) {
    TrackMouseLeave(window);
    HWND parent = GetParent(window);
    {
        SkinWindowRecord& r = SkinWindowTable[ids.record];
        r.HotEntry = ids.entry;
        if (r.HotEntry == r.PreviousHotEntry && r.HotControlClass == kHotEdit &&
            parent == r.HotEditParent)
            return;
    }
    PaintEditFrame(window, {}, true);
    SkinWindowRecord& r = SkinWindowTable[ids.record];
    r.PreviousHotEntry = r.HotEntry;
    r.HotControlClass = kHotEdit;
    r.HotEditParent = parent;
}

}  // namespace

void AttachEditsAndComboBoxes(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    for (HWND child = FindWindowExA(parent, nullptr, "Edit", nullptr); child;
         child = FindWindowExA(parent, child, "Edit", nullptr))
        AttachEdit(record, child);
    AttachComboBoxes(record, parent);
}

int AttachEdit(int record, HWND edit) {
    if (const int known = FindEditEntry(record, edit); known > 0) return known;
    if (IsSkinSubclassed(edit)) return 0;
    auto& edits = SkinWindowTable[record].Edits;
    const int index = TakeEntry(edits);
    WriteProp(edit, prop::Kj_Ztys, 0);
    SubclassControl(edits[index], edit, record, index, EditSkinProc);
    return index;
}

int FindEditEntry(int record, HWND window) {
    return FindEntryOfWindow(SkinWindowTable[record].Edits, window);
}

LRESULT CALLBACK EditSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The brush and bitmap handed out live on the edit itself, not in its
    // entry: they go with it whatever its properties name.
    if (message == WM_DESTROY) DeleteHandedOutBackground(window);
    ControlIds ids;
    if (!LiveEntryOf(window, &SkinWindowRecord::Edits, &ids))
        return CallPreviousProc(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        OnEditMouseMove(window, ids);
        if (EditEntry(ids).LeftButtonDown == 1 && !HasScrollBars(window))
            InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_MOUSELEAVE:
        SkinWindowTable[ids.record].PreviousHotEntry = 0;
        PaintEditFrame(window, EditEntry(ids).Focused != 0, false);
        break;
    case WM_LBUTTONDOWN:
        EditEntry(ids).LeftButtonDown = 1;
        if (TransparentControlsFlag && !HasScrollBars(window)) InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_LBUTTONUP:
        EditEntry(ids).LeftButtonDown = 0;
        break;
    case WM_KEYDOWN:
        if (TransparentControlsFlag && !HasScrollBars(window)) InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOVE:
        if (TransparentControlsFlag) InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_SETFOCUS:
        if (ids.entry > 0) EditEntry(ids).Focused = 1;
        break;
    case WM_KILLFOCUS:
        if (ids.entry > 0) {
            EditEntry(ids).Focused = 0;
            if (GetClassNameText(GetParent(window)) == "ComboBox")
                PaintEditFrame(window, {}, false);
            else
                InvalidateRect(window, nullptr, TRUE);
        }
        break;
    case WM_ERASEBKGND:
        if (!TransparentControlsFlag) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        PaintEditBackground(window, reinterpret_cast<HDC>(wParam), true);
        return 1;
    case WM_PAINT:
        PaintEditFrame(window);
        break;
    case WM_NCPAINT:
        PaintEditFrame(window);
        return PaintSystemScrollBars(window, lParam);
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

void PaintEditFrame(HWND window, std::optional<bool> focused, bool hot) {
    if (!focused) {
        const SkinnedEdit* entry = LiveEntryOf(window, &SkinWindowRecord::Edits);
        focused = entry && entry->Focused != 0;
    }
    PaintControlFrame(window, false, [&](drw::GraphicsObject& graphics, int, int, const RECT&) {
        StrokeEditBorder(window, focused, hot, graphics);
    });
}

void StrokeEditBorder(HWND window, std::optional<bool> focused, bool hot,
                      drw::GraphicsObject& graphics) {
    const int record = FindRootWindowRecord(window);
    if (record == 0) return;
    if (!focused) {
        const int entry = FindEditEntry(record, window);
        focused = entry > 0 && SkinWindowTable[record].Edits[entry].Focused != 0;
    }
    RECT outer{};
    GetWindowRect(window, &outer);
    DrawFrameBorder(graphics, outer.right - outer.left, outer.bottom - outer.top, hot, *focused,
                    ColorRefToArgb(ThemeColor, kEditAccentAlpha), kEditNormalBorder);
}

void PaintEditBackground(HWND window, HDC dc, bool useDc) {
    const RECT r = GetClientRectInWindow(window);
    ScopedCapture glass(CreateGlassBackgroundDc(window));
    if (!glass.Get()) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (useDc) {
        BitBlt(dc, 0, 0, w, h, glass, 0, 0, SRCCOPY);
        return;
    }
    WindowDc frame(window, DcArea::Window);
    BitBlt(frame, r.left, r.top, w, h, glass, 0, 0, SRCCOPY);
}

bool HasHorizontalScrollBar(HWND window) { return (StyleOf(window) & WS_HSCROLL) != 0; }
bool HasVerticalScrollBar(HWND window) { return (StyleOf(window) & WS_VSCROLL) != 0; }
bool HasScrollBars(HWND window) { return (StyleOf(window) & (WS_HSCROLL | WS_VSCROLL)) != 0; }

RegionHandle BuildScrollBarRegion(HWND window) {
    RegionHandle horizontal, vertical;
    if (HasHorizontalScrollBar(window)) {
        const RECT r = ScrollBarRect(window, OBJID_HSCROLL);
        horizontal = RegionHandle::Adopt(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    }
    if (HasVerticalScrollBar(window)) {
        const RECT r = ScrollBarRect(window, OBJID_VSCROLL);
        // With both bars the square between them belongs to the vertical one.
        const int below = horizontal ? r.right - r.left : 0;
        vertical = RegionHandle::Adopt(CreateRectRgn(r.left, r.top, r.right, r.bottom + below));
    }
    if (!horizontal) return vertical;
    if (!vertical) return horizontal;
    RegionHandle both = RegionHandle::Adopt(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(both, horizontal, vertical, RGN_OR);
    return both;
}

LRESULT PaintSystemScrollBars(HWND window, LPARAM lParam) {
    if (!HasScrollBars(window)) return DefWindowProcA(window, WM_NCPAINT, kNoSystemFrame, lParam);
    RegionHandle bars = BuildScrollBarRegion(window);
    return DefWindowProcA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.Get()), lParam);
}

}  // namespace skin
