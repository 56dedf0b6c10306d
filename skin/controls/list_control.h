// List-type controls: list boxes, the lists of combo boxes, list views, tree
// views, IP-address controls and date-time pickers. The skin paints their
// frame (normal, focused, hot) and, with transparent controls on, lets the
// window's picture show through a glass layer under their items.
#pragma once

#include <windows.h>

#include <optional>

namespace skin {

// Attaches the list-type controls among parent's direct children and the
// lists of its combo boxes. Nothing while SkinControlsFlag is 0; a control
// that already has the skin's procedure is left alone.
void AttachListControls(int record, HWND parent);
LRESULT CALLBACK ListControlSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Paints the frame ring at once into the control's window DC; a control
// without a border and every combo-box list get none. hot and focused not
// given: the entry's Hot and Focused.
void PaintListFrame(int record, int entry, std::optional<bool> hot = {},
                    std::optional<bool> focused = {});
// WS_BORDER, WS_EX_WINDOWEDGE, WS_EX_CLIENTEDGE or WS_EX_DLGMODALFRAME.
bool HasBorderStyle(HWND window);

// WM_APP + 2: asks a list control to redraw while an arrow key is held.
constexpr UINT kListArrowRepaint = 0x8002;

}  // namespace skin
