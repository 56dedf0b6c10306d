// Edit fields: the edit keeps drawing its text; the skin draws the frame
// around it (normal, focused, hot; the painter itself is control_frame.h)
// and, with transparent controls on, a glass client background over the
// window's picture. The scroll-bar tests, the system's painting of scroll
// bars only and the glass background are shared with the list-type
// controls. The glass brush an edit gets for WM_CTLCOLOREDIT is
// skin/handed_out.h's.
#pragma once

#include <windows.h>

#include <optional>

#include "drawing/graphics.h"
#include "skin/gdi_handles.h"

namespace skin {

// Attaches the "Edit" children of parent not attached yet, then the
// combo boxes among them. Nothing while SkinControlsFlag is 0.
void AttachEditsAndComboBoxes(int record, HWND parent);
// Subclasses one edit with EditSkinProc in a new entry of the record's
// Edits (the combo box attach uses it for the edit inside a combo box).
// An edit that already has an entry there is left as it is. Its index.
int AttachEdit(int record, HWND edit);
// 1-based index of the record's first Edits entry for window, 0 if none.
int FindEditEntry(int record, HWND window);
LRESULT CALLBACK EditSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the frame ring at once into the edit's window DC. focused not
// given: the entry's Focused.
void PaintEditFrame(HWND window, std::optional<bool> focused = {}, bool hot = false);
// The border line on graphics (nothing when no skinned window lies above).
void StrokeEditBorder(HWND window, std::optional<bool> focused, bool hot,
                      drw::GraphicsObject& graphics);
// The client area's glass background: into dc at (0, 0) when useDc, else
// into the window DC at the client area's place.
void PaintEditBackground(HWND window, HDC dc, bool useDc);

bool HasScrollBars(HWND window);
bool HasHorizontalScrollBar(HWND window);
bool HasVerticalScrollBar(HWND window);
// The scroll bars in screen coordinates (as WM_NCPAINT regions are), the
// vertical one reaching down over the square between both; empty when the
// window has none.
RegionHandle BuildScrollBarRegion(HWND window);
// WM_NCPAINT after the skin painted a frame: the system paints the scroll
// bars only, or nothing when there are none.
LRESULT PaintSystemScrollBars(HWND window, LPARAM lParam);

}  // namespace skin
