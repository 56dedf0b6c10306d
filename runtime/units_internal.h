// The runtime's table of units, shared by the window builder, the drop
// target, the window command and the transparent label with its repaints.
// Not part of the public interface.
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

// Every unit built so far, dead ones too, in id order (id = index + 1).
std::vector<std::unique_ptr<Unit>>& Units();
// The live unit with that id, or null.
Unit* FindUnit(int id);
// The live unit with that id; the error report when there is none.
Unit& RequireUnit(int id);
// The unit whose window this is (through the window property), or null.
Unit* UnitOfWindow(HWND hwnd);

// The font every unit is created with ("宋体", 9 points).
HFONT UnitFont();

// The window class of the transparent label (registered on first use).
const char* TransparentLabelClass();
// Draws a label's text again at once, over whatever was just painted beneath
// it (no invalidation, so no paint can call for another).
void RedrawLabelText(HWND label);
// A unit beneath a visible transparent label has repainted over the label's
// text: let the label draw it again on top, at once (the unit painted on the
// screen) or in its turn, after the paint under way (the unit painted into
// a DC that reaches the screen only when that paint ends).
enum class LabelRepaint { Now, InTheirTurn };
void RepaintLabelsOver(const Unit& below, LabelRepaint when);
// What lay beneath a label that was just shown or hidden must show again
// (hidden) or carry the label's text on top (shown).
void RepaintAroundLabel(HWND label);

// The first image of an ICO file as an icon; null when the bytes are not a
// readable ICO. Every offset is checked against the size first.
HICON IconFromIcoBytes(const ByteString& ico);

// Draws a label's text into dc (its client coordinates), outlined in the
// contrast colour of the ink so it reads over any ground.
void DrawLabelText(HWND label, HDC dc);

// Where the paragraphs (the pieces between CR LF) of a label's text go in
// its client rectangle with the font selected into dc: one rectangle each,
// in order. A paragraph that is too wide wraps. When the text is taller
// than the label, its empty lines are squeezed (down to a third of a line)
// before any text line is pushed out of sight; trailing empty lines take no
// room.
std::vector<RECT> LabelLayout(HDC dc, const AnsiText& text, const RECT& client);
// The top of every paragraph given their heights (0: an empty paragraph),
// the height of one line and the room there is.
std::vector<int> SqueezeBlankLines(const std::vector<int>& heights, int lineHeight, int room);

}  // namespace rt::detail
