// Colour conversion, path builders, record and container lookups, rectangle
// conversions and style tests shared by the painters and window procedures.
#include "skin/helpers.h"

#include <algorithm>

#include "drawing/path.h"
#include "skin/record.h"

namespace skin {

uint32_t ColorRefToArgb(COLORREF colour, int alpha) {
    const uint32_t red = colour & 0xFF;
    const uint32_t green = (colour >> 8) & 0xFF;
    const uint32_t blue = (colour >> 16) & 0xFF;
    return (static_cast<uint32_t>(alpha & 0xFF) << 24) | (red << 16) | (green << 8) | blue;
}

void AddRoundedRectPath(drw::PathObject& path, float x, float y, float width, float height,
                        int radius) {
    const float r = static_cast<float>(std::clamp(radius, 1, 100));
    const float right = static_cast<float>(static_cast<double>(x) + width);
    const float bottom = static_cast<float>(static_cast<double>(y) + height);
    path.AddArc(right - r, y, r, r, 270, 90);
    // One pixel larger, still ending exactly at right and bottom.
    path.AddArc(right - r - 1, bottom - r - 1, r + 1, r + 1, 0, 90);
    path.AddArc(x, bottom - r, r, r, 90, 90);
    path.AddArc(x, y, r, r, 180, 90);
    path.CloseFigure();
}

void AddGlossPath(drw::PathObject& path, int x, int y, int w, int h, int r) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const float fr = static_cast<float>(r);
    path.AddLine(fx, fy + fh, fx, fy + fr);
    path.AddArc(fx, fy, fr, fr, 180, 90);
    path.AddLine(fx + fr, fy, fx + fw - fr, fy);
    path.AddArc(fx + fw - fr, fy, fr, fr, 270, 90);
    path.AddLine(fx + fw, fy + fr, fx + fw, fy + fh);
}

int FindWindowRecord(HWND window) {
    if (!window) return 0;
    for (int i = 1; i <= SkinWindowTable.Count(); ++i)
        if (SkinWindowTable[i].Window == window) return i;
    return 0;
}

int OwnRecordIndex(HWND window) {
    if (!window) return 0;
    const int index = static_cast<int>(ReadProp(window, prop::Hw_lbID));
    return StillRecordOf(index, window) ? index : 0;
}

bool StillRecordOf(int record, HWND window) {
    return SkinWindowTable.Contains(record) && SkinWindowTable[record].Window == window;
}

int FindRootWindowRecord(HWND control) {
    for (HWND w = GetParent(control); w; w = GetParent(w)) {
        const int index = FindWindowRecord(w);
        if (index > 0) return index;
    }
    return 0;
}

int FindContainerEntry(int record, HWND window) {
    // The all-zero entry every record starts with has no window: matching it
    // would make the end of a parent chain look like a skinned container.
    if (!window) return 0;
    const auto& containers = SkinWindowTable[record].Containers;
    for (int j = 1; j <= containers.Count(); ++j)
        if (containers[j].Window == window) return j;
    return 0;
}

int FindSkinContainer(HWND control, int& record, int& container, HWND& marked) {
    if (ReadProp(control, prop::Wxk_Zpf) == 1) {
        marked = control;
        return 0;
    }
    if (const int self = FindWindowRecord(control); self > 0) {
        record = self;
        return 1;
    }
    // Stop at the end of the chain before looking the NULL up anywhere.
    for (HWND w = GetParent(control); w; w = GetParent(w)) {
        if (ReadProp(w, prop::Wxk_Zpf) == 1) {
            marked = w;
            return 0;
        }
        for (int i = 1; i <= SkinWindowTable.Count(); ++i) {
            if (SkinWindowTable[i].Window == w) {
                record = i;
                return 1;
            }
            if (const int j = FindContainerEntry(i, w); j > 0) {
                if (const std::intptr_t above = ReadProp(w, prop::Mb_zpf); above != 0) {
                    marked = reinterpret_cast<HWND>(above);
                    return 0;
                }
                record = i;
                container = j;
                return 0;
            }
        }
    }
    return 0;
}

namespace {
RECT WindowRectOf(HWND window) {
    RECT r{0, 0, 0, 0};
    if (window) GetWindowRect(window, &r);
    return r;
}
RECT ClientRectOf(HWND window) {
    RECT r{0, 0, 0, 0};
    if (window) GetClientRect(window, &r);
    return r;
}
}  // namespace

RECT GetRectRelativeTo(HWND reference, HWND window) {
    RECT r = WindowRectOf(window);
    const RECT ref = WindowRectOf(reference);
    OffsetRect(&r, -ref.left, -ref.top);
    return r;
}

RECT GetRectInContainer(HWND control) {
    if (FindWindowRecord(control) > 0) return RECT{0, 0, 0, 0};
    const int record = FindRootWindowRecord(control);
    HWND top = record > 0 ? SkinWindowTable[record].Window : nullptr;
    return GetRectRelativeTo(top, control);
}

RECT GetRectInRootWindow(HWND control) {
    return GetRectRelativeTo(GetAncestor(control, GA_ROOT), control);
}

int IsInsideFilledContainer(int record, HWND control, HWND stop) {
    for (HWND w = GetParent(control);; w = GetParent(w)) {
        if (w == stop) return 0;
        if (const int j = FindContainerEntry(record, w);
            j > 0 && SkinWindowTable[record].Containers[j].SelfPaint)
            return j;
        if (!w) return 0;
    }
}

rt::AnsiText GetClassNameText(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, 255);
    return rt::AnsiText(name);
}

RECT GetClientRectInWindow(HWND window) {
    const RECT w = WindowRectOf(window);
    const RECT c = ClientRectOf(window);
    const int ww = w.right - w.left, wh = w.bottom - w.top;
    const int cw = c.right - c.left, ch = c.bottom - c.top;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    // Scroll bars are taken as 17 px and as lying after the client area.
    const int ew = cw + ((style & WS_VSCROLL) ? 17 : 0);
    const int eh = ch + ((style & WS_HSCROLL) ? 17 : 0);
    const int left = rt::Round((ww - ew) / 2.0);
    const int top = rt::Round((wh - eh) / 2.0);
    return RECT{left, top, left + cw, top + ch};
}

RECT GetRectInParentClient(HWND window) {
    if (FindWindowRecord(window) > 0) return RECT{0, 0, 0, 0};
    HWND parent = GetParent(window);
    RECT c = ClientRectOf(parent);
    POINT origin{0, 0};
    if (parent) ClientToScreen(parent, &origin);
    OffsetRect(&c, origin.x, origin.y);
    const RECT r = WindowRectOf(window);
    return RECT{r.left - c.left, r.top - c.top, r.right - c.left, r.bottom - c.top};
}

bool IsOwnerDrawListBox(HWND window) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    return GetClassNameText(window) == "ListBox" &&
           (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool IsAutoRadioButton(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON;
}

bool IsTransparentExStyle(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

void InvalidateVisibleChildren(HWND parent) {
    // Without a parent FindWindowExA would walk the desktop's windows.
    if (!parent) return;
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr))
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
}

}  // namespace skin
