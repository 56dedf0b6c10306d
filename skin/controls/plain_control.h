// Plain controls: controls that paint themselves and are laid over the skin
// with one key colour left out (AttachPlainControl is an engine operation).
#pragma once

#include <windows.h>

namespace skin {

LRESULT CALLBACK PlainControlSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// 1-based index of the record's first PlainControls entry for window, 0 if none.
int FindPlainControlEntry(int record, HWND window);
// True for the classes whose painting is taken from their own WM_PAINT into
// a memory DC; every other class is read back from the screen.
bool IsColourKeyClass(HWND window);

}  // namespace skin
