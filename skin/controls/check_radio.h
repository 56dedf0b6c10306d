// Check boxes and auto radio buttons. They keep their style; the shared
// button procedure paints them itself on WM_PAINT, after clicks, check
// changes and the space key, and on hover, through the answers kept here.
#pragma once

#include <windows.h>

#include <cstdint>

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

// The shared button procedure's answers that belong to check boxes and
// radio buttons (kind kCheckBox or kRadioButton): clicks, check changes and
// the space key repaint after the replaced procedure acted; WM_PAINT is
// painted here whole; focus, press, caption and enabled-state changes paint
// the skinned look back over the one the replaced procedure drew. True with
// result when the message was answered; false for every other kind and
// message, which the procedure handles as for every button. Fields that all
// buttons keep (Focused, Text) are the procedure's, set before this runs.
bool AnswerCheckOrRadioMessage(HWND control, int32_t kind, UINT message, WPARAM wParam,
                               LPARAM lParam, LRESULT& result);

}  // namespace skin
