// The entry a subclassed control's properties name, for the window
// procedures of the trackbar, up-down and container families: a record that
// was freed (or renumbered away) while its controls still get messages must
// not stop the program from inside a window procedure.
#pragma once

#include <windows.h>

#include "skin/controls/subclass.h"
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

}  // namespace skin
