// The runtime's table of units, shared by the window builder, the drop
// target and the transparent label. Not part of the public interface.
#pragma once

#include "runtime/runtime.h"

#include <memory>

namespace rt::detail {

struct Unit {
    int id = 0;
    AnsiText name;
    UnitKind kind = UnitKind::Window;
    HWND hwnd = nullptr;       // null for drop-target objects
    int windowUnit = 0;        // the window unit the unit belongs to (itself for a window)
    UnitEvents events;
    WNDPROC replacedProc = nullptr;  // children: the class procedure we subclassed
    HICON icon = nullptr;      // windows: the icon set by WindowCommand
    bool visible = false;      // drop-target objects: their visibility flag
    int acceptDrops = 0;       // drop-target objects: property 11
    bool alive = true;
};

// The live unit with that id, or null.
Unit* FindUnit(int id);
// The unit whose window this is (through the window property), or null.
Unit* UnitOfWindow(HWND hwnd);

// The font every unit is created with ("宋体", 9 points).
HFONT UnitFont();

// The window class of the transparent label (registered on first use).
const char* TransparentLabelClass();
// Draws a label's text again at once, over whatever was just painted beneath
// it (no invalidation, so no paint can call for another).
void RedrawLabelText(HWND label);

}  // namespace rt::detail
