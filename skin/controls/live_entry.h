// What the window procedures of the control families share beyond
// subclassing: the entry a control's properties name (a record that was
// freed, or renumbered away, while its controls still get messages must not
// stop the program from inside a window procedure), and the answers of a
// control whose whole picture the skin paints.
#pragma once

#include <windows.h>

#include "skin/controls/subclass.h"
#include "skin/gdi_handles.h"
#include "skin/record.h"

namespace skin {

// The entry of family that control's Hw_FuID and Hw_lbID name, or null when
// they name no live entry of control.
template <class Entry>
Entry* LiveEntryOf(HWND control, rt::CountedArray<Entry> SkinWindowRecord::*family,
                   ControlIds* ids = nullptr) {
    const ControlIds found = ControlIdsOf(control);
    if (ids) *ids = found;
    if (!SkinWindowTable.Contains(found.record)) return nullptr;
    rt::CountedArray<Entry>& entries = SkinWindowTable[found.record].*family;
    if (found.entry < 1 || found.entry > entries.Count()) return nullptr;
    Entry& entry = entries[found.entry];
    return entry.Window == control ? &entry : nullptr;
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
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        result = 1;
        return true;
    case WM_PAINT: {
        {
            PaintDc dc(window);
            paint();
        }
        result = DefWindowProcA(window, WM_PAINT, wParam, lParam);
        return true;
    }
    case WM_NCPAINT:
        paint();
        result = 1;
        return true;
    default:
        return false;
    }
}

}  // namespace skin
