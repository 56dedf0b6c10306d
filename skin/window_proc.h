// The window procedure of every skinned top-level window (SkinWindowProc, a
// SkinEngine member reached through the engine's window-procedure thunk).
#pragma once

#include <windows.h>

namespace skin {

// The fade timer's id: the window handle's value, one timer per window.
inline UINT_PTR FadeTimerId(HWND window) { return reinterpret_cast<UINT_PTR>(window); }
// The fade timer's period in milliseconds.
constexpr UINT kFadeTickMs = 20;

// The record index of a skinned top-level window, 0 when the window has no
// record (any more).
int WindowRecordOf(HWND window);

// False once the engine has shut GDI+ down (a WM_QUIT sent to a skinned
// window, or the engine's destruction) and not started it again: nothing is
// then drawn with GDI+.
bool EngineGdiplusUp();

}  // namespace skin
