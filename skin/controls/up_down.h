// Up-down controls: two rounded half-buttons (one above the other, or side by
// side for UDS_HORZ) with arrow pictures over a translucent white base. The
// half under the mouse is outlined and filled in the theme colour, its
// gradient reversed while the left button is down. The control's behaviour
// stays with its own procedure.
#pragma once

#include <windows.h>

#include <optional>

namespace skin {

// Skins the "msctls_updown32" children of parent. Nothing while
// SkinControlsFlag is 0; a control that already has the skin's procedure is
// left alone, so that it never becomes its own previous procedure.
void AttachUpDowns(int record, HWND parent);
LRESULT CALLBACK UpDownSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// 0 for the upper (left) half, 1 for the lower (right) half of a mouse
// position (x in the low word, y in the high word, both signed). A position
// on the split belongs to the upper (left) half.
int GetUpDownHalf(int record, int entry, LPARAM position);
// Paints the whole control onto its window DC. Arguments not given come from
// the entry: Hot, Pressed, LastButtonPosition. Indices out of range are a
// fatal error report.
void PaintUpDown(int record, int entry, std::optional<int> hot = {},
                 std::optional<int> pressed = {}, std::optional<LPARAM> position = {});

}  // namespace skin
