// Picture buttons: a BUTTON given one picture shown with its caption (an
// image button) or a set of pictures for its states (a state-image button).
// The engine operations SetButtonImage and SetButtonImages take a button on;
// the painters here draw them for the owner-draw dispatch and the hover
// repaint of the push-button unit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/runtime.h"
#include "skin/engine.h"

namespace skin {

// The window's text as a new text.
rt::AnsiText ReadWindowText(HWND window);

// Draw a picture button into dc (the caller's); rect is the client rectangle.
void PaintImageButton(HWND control, HDC dc, UINT itemState, const RECT& rect);
void PaintStateImageButton(HWND control, HDC dc, UINT itemState, const RECT& rect);

// The method-table invokers of SetButtonImage and SetButtonImages. A
// picture arrives as the address of a byte string, the tip as the address
// of a NUL-terminated text; 0 stands for an empty one.
ThunkWord InvokeSetButtonImage(SkinEngine* self, const ThunkWord* args);
ThunkWord InvokeSetButtonImages(SkinEngine* self, const ThunkWord* args);

}  // namespace skin
