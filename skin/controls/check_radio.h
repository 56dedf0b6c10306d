// Check boxes and auto radio buttons. They keep their style; the shared
// button procedure paints them itself on WM_PAINT, after clicks, check
// changes and the space key, and on hover.
#pragma once

#include <windows.h>

namespace skin {

// Skins the check boxes and auto radio buttons among parent's direct
// children. Nothing while SkinControlsFlag is 0.
void AttachCheckAndRadioButtons(int record, HWND parent);

// BS_CHECKBOX, BS_AUTOCHECKBOX, BS_PUSHBOX or BS_OWNERDRAW.
bool IsCheckBoxStyle(HWND control);

// Paint the control at once into its own DC. Of the state bits only the hot
// bit changes the drawing; the check state is asked of the control.
void PaintCheckBox(HWND control, UINT state);
void PaintRadioButton(HWND control, UINT state);

}  // namespace skin
