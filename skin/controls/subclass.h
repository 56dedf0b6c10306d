// What the control families' attach routines and window procedures share:
// taking an entry for a new control, subclassing it, finding its record and
// entry again from its properties (a record that was freed, or renumbered
// away, while its controls still get messages must not stop the program
// from inside a window procedure), forwarding to the replaced procedure,
// asking for the leave message that ends a hover, and the answers of a
// control whose whole picture the skin paints.
#pragma once

#include <windows.h>

#include "skin/gdi_handles.h"
#include "skin/record.h"

namespace skin {

// Family codes kept in SkinWindowRecord::HotControlClass: which family's
// entry HotEntry names.
enum HotFamily : int32_t {
    kHotButton = 0,  // push buttons, check boxes, radio buttons
    kHotEdit = 1,
    kHotTrackbar = 2,
    kHotComboBox = 3,
    kHotListControl = 4,
    kHotUpDown = 8,
    kHotHeader = 9,
};

// The entry a newly attached control takes: the array's initial all-zero
// entry while it is the only one and unused, else a new all-zero entry at
// the end. Returns its index.
template <class Entry>
int TakeEntry(rt::CountedArray<Entry>& entries) {
    if (entries.Count() == 1 && entries[1].Window == nullptr) return 1;
    entries.Append(Entry{});
    return entries.Count();
}

// 1-based index of the first entry whose Window is window, 0 if none.
template <class Entry>
int FindEntryOfWindow(const rt::CountedArray<Entry>& entries, HWND window) {
    for (int i = 1; i <= entries.Count(); ++i)
        if (entries[i].Window == window) return i;
    return 0;
}

// True when one of the skin's procedures that keep the replaced procedure in
// Hw_hProc (every family but the plain controls) already sits on control,
// on top or under another procedure. A second one, of the same family or
// another, would take Hw_hProc over and hand the messages of the first to a
// chain that leads back to the first: every message would go round for
// ever. Such a control keeps the skin it has.
inline bool IsSkinSubclassed(HWND control) { return GetPropA(control, prop::Hw_hProc) != nullptr; }

// Makes entry the control's entry and proc its window procedure. The
// properties go on before the procedure is swapped, so the first message
// that reaches proc already finds them.
template <class Entry>
void SubclassControl(Entry& entry, HWND control, int record, int index, WNDPROC proc) {
    const LONG_PTR previous = GetWindowLongPtrA(control, GWLP_WNDPROC);
    WriteProp(control, prop::Hw_lbID, index);
    WriteProp(control, prop::Hw_FuID, record);
    WriteProp(control, prop::Hw_hProc, previous);
    entry.Window = control;
    entry.PreviousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// The record index (Hw_FuID) and entry index (Hw_lbID) of a subclassed
// control, read anew for every message.
struct ControlIds {
    int record = 0;
    int entry = 0;
};
inline ControlIds ControlIdsOf(HWND control) {
    return {static_cast<int>(ReadProp(control, prop::Hw_FuID)),
            static_cast<int>(ReadProp(control, prop::Hw_lbID))};
}

// Hands a message to the procedure the skin replaced.
inline LRESULT CallPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(control, prop::Hw_hProc)), control,
                           message, wParam, lParam);
}

// Asks for one WM_MOUSELEAVE when the mouse leaves the control.
inline void TrackMouseLeave(HWND control) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, control, 0};
    TrackMouseEvent(&track);
}

// The entry of family that ids name, or null when they name no live entry
// of control.
template <class Entry>
Entry* EntryAt(const ControlIds& ids, HWND control,
               rt::CountedArray<Entry> SkinWindowRecord::*family) {
    if (!SkinWindowTable.Contains(ids.record)) return nullptr;
    rt::CountedArray<Entry>& entries = SkinWindowTable[ids.record].*family;
    if (ids.entry < 1 || ids.entry > entries.Count()) return nullptr;
    Entry& entry = entries[ids.entry];
    return entry.Window == control ? &entry : nullptr;
}

// The entry of family that control's Hw_FuID and Hw_lbID name, or null when
// they name no live entry of control.
template <class Entry>
Entry* LiveEntryOf(HWND control, rt::CountedArray<Entry> SkinWindowRecord::*family,
                   ControlIds* ids = nullptr) {
    const ControlIds found = ControlIdsOf(control);
    if (ids) *ids = found;
    return EntryAt(found, control, family);
}

// Skins every direct child of parent of class cls, in FindWindowExA order:
// each takes an entry of family (the record's empty one first), init(entry,
// child) reads what the entry keeps of the child, then proc becomes the
// child's procedure. A child some skin procedure already holds is left alone.
template <class Entry, class Init>
void AttachChildrenOfClass(int record, HWND parent, const char* cls,
                           rt::CountedArray<Entry> SkinWindowRecord::*family, WNDPROC proc,
                           Init init) {
    for (HWND child = FindWindowExA(parent, nullptr, cls, nullptr); child;
         child = FindWindowExA(parent, child, cls, nullptr)) {
        if (IsSkinSubclassed(child)) continue;
        auto& entries = SkinWindowTable[record].*family;
        const int index = TakeEntry(entries);
        init(entries[index], child);
        SubclassControl(entries[index], child, record, index, proc);
    }
}

// WM_ERASEBKGND of a control the skin paints whole: nothing is erased.
inline LRESULT EraseNothing(WPARAM wParam) {
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return 1;
}

// WM_PAINT of a control the skin paints whole: paint() between BeginPaint and
// EndPaint, then the default procedure; the replaced one never paints.
template <class Paint>
LRESULT PaintWhole(HWND control, WPARAM wParam, LPARAM lParam, Paint paint) {
    {
        PaintDc dc(control);
        paint();
    }
    return DefWindowProcA(control, WM_PAINT, wParam, lParam);
}

// The paint messages of a control the skin paints whole, in one place:
// WM_MOVE repaints; WM_ERASEBKGND only makes the DC transparent (1);
// WM_PAINT paints between BeginPaint and EndPaint and never reaches the
// control's own procedure; WM_NCPAINT repaints and answers 1. True when the
// message was answered, with its result; other messages are the caller's.
template <class Paint>
bool AnswerWholePaintMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             Paint paint, LRESULT& result) {
    switch (message) {
    case WM_MOVE:
        paint();
        return false;  // the control's own procedure still hears of the move
    case WM_ERASEBKGND:
        result = EraseNothing(wParam);
        return true;
    case WM_PAINT:
        result = PaintWhole(window, wParam, lParam, paint);
        return true;
    case WM_NCPAINT:
        paint();
        result = 1;
        return true;
    default:
        return false;
    }
}

}  // namespace skin
