// The parent-side answers of skinned windows and containers for their
// children: background brushes and repaints after content changes.
#include "skin/child_messages.h"

#include <commctrl.h>

#include <cstdint>

#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

// No background: the control draws over what lies under it. The glass
// bitmap handed out before stays in Kj_wtjb until the next glass brush or
// the control's end.
LRESULT HollowBrushFor(HDC dc, HWND control) {
    SetTextColor(dc, static_cast<COLORREF>(ReadProp(control, prop::Kj_Ztys)));
    SetBkMode(dc, TRANSPARENT);
    DeleteHandedOutObject(GetPropA(control, prop::Kj_dxjb), OBJ_BRUSH);
    HGDIOBJ hollow = GetStockObject(NULL_BRUSH);
    WriteProp(control, prop::Kj_dxjb, reinterpret_cast<std::intptr_t>(hollow));
    return reinterpret_cast<LRESULT>(hollow);
}

}  // namespace

bool TransparentControls() { return SkinControlsFlag != 0 && TransparentControlsFlag != 0; }

bool AnswerChildColourMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!TransparentControls()) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    switch (message) {
    case WM_CTLCOLOREDIT:
        // The edit part of a combo box takes the combo box's own brush.
        if (GetClassNameText(GetParent(control)) == "ComboBox") return false;
        result = reinterpret_cast<LRESULT>(HandOutGlassBrush(dc, control));
        return true;
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(HandOutGlassBrush(dc, control));
        return true;
    case WM_CTLCOLORLISTBOX:
        if (GetClassNameText(control) != "ListBox" || IsOwnerDrawListBox(control)) return false;
        result = HollowBrushFor(dc, control);
        return true;
    case WM_CTLCOLORBTN:
        result = HollowBrushFor(dc, control);
        return true;
    default:
        return false;
    }
}

LRESULT AnswerIpFieldColour(HWND ipControl, WPARAM wParam, LPARAM lParam) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    HBRUSH brush = HandOutGlassBrush(dc, reinterpret_cast<HWND>(lParam));
    SetTextColor(dc, static_cast<COLORREF>(ReadProp(ipControl, prop::Kj_Ztys)));
    return reinterpret_cast<LRESULT>(brush);
}

void RepaintChangedChild(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    const UINT code = HIWORD(wParam);
    const rt::AnsiText cls = GetClassNameText(control);
    const bool changed =
        (cls == "Edit" &&
         (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
        (cls == "ListBox" && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ||
        (cls == "ComboBox" && (code == CBN_KILLFOCUS || code == CBN_SELCHANGE));
    if (changed) InvalidateRect(control, nullptr, TRUE);
}

void RepaintExpandedTreeChild(LPARAM lParam) {
    NMHDR header{};
    if (!CopyFromParam(lParam, header)) return;
    const int code = static_cast<int>(header.code);
    if (code == static_cast<int>(TVN_ITEMEXPANDEDA) || code == static_cast<int>(TVN_ITEMEXPANDINGA))
        InvalidateRect(header.hwndFrom, nullptr, TRUE);
}

}  // namespace skin
