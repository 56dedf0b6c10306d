// Combo boxes: painted whole by the skin (glass or white face, border,
// rounded drop-down button with its arrow, the selected text of a drop-down
// list); the combo box's own child windows are keyed out and draw
// themselves. The edit of a drop-down combo box is skinned as an edit.
#pragma once

#include <windows.h>

#include <optional>

namespace skin {

// The combo half of AttachEditsAndComboBoxes: attaches the "ComboBox"
// children of parent (and, with transparent controls on, the edit inside
// each). A combo box that already has the skin's procedure is left alone.
void AttachComboBoxes(int record, HWND parent);
LRESULT CALLBACK ComboBoxSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Paints the whole combo box at once into its window DC. focused not given:
// the entry's Focused.
void PaintComboBox(int record, int entry, bool hot = false, std::optional<bool> focused = {});
// window's rectangle relative to the top-left of its parent's window
// rectangle; {0, 0, 0, 0} for a skinned top-level window or NULL.
RECT GetChildRectInParent(HWND window);

// The repaint trigger for an edit whose text or scroll position changed
// (WM_COMMAND with EN_VSCROLL, EN_HSCROLL, EN_CHANGE or EN_UPDATE from an
// "Edit"): it is invalidated so its glass background is drawn anew.
void InvalidateChangedEdit(WPARAM wParam, LPARAM lParam);

}  // namespace skin
