// The brushes and bitmaps the engine hands out to controls in answer to
// WM_CTLCOLOR*: made counted, kept on the control in two window properties
// (Kj_dxjb the brush, Kj_wtjb its bitmap) until the control's next brush or
// its end. The top-level and container procedures, the attach, the edit,
// combo box and list controls all hand them out and take them back here.
#pragma once

#include <windows.h>

namespace skin {

// WM_CTLCOLOR* answered with glass: text colour Kj_Ztys, transparent
// background mode and a pattern brush over the glass picture under the
// control's client area. The brush and its bitmap replace the ones handed
// out before; the control's end deletes the last ones.
HBRUSH HandOutGlassBrush(HDC dc, HWND control);
// Deletes the brush and bitmap last handed out to control and forgets them.
void DeleteHandedOutBackground(HWND control);
// Deletes one brush or bitmap handed out earlier, when it still is an object
// of that type: a stock object is the system's, and a handle deleted
// elsewhere is not counted twice.
void DeleteHandedOutObject(HGDIOBJ object, DWORD type);

}  // namespace skin
