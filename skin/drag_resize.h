// Giving a skinned window back the sizing borders and the caption that its
// own frame painted over: a left-button press near an edge or corner starts
// the system's sizing loop, a press in the caption its move loop, and the
// pointer shows the matching size cursor over the edges.
//
// The operations themselves (CaptionMouseDown, UpdateResizeCursor) are
// members of SkinEngine (engine.h); this header holds what lies beside them.
#pragma once

#include <windows.h>

#include "skin/engine.h"

namespace skin {

// One sizing zone of the frame: the cursor shown over it and the
// WM_SYSCOMMAND code (SC_SIZE plus the WMSZ_ edge) that starts its loop.
struct SizingZone {
    LPCSTR Cursor;
    WPARAM Command;
};

// The zone under the point (x, y) of a client area W x H with a frame b
// pixels wide, edges before corners; nullptr when the point is in none.
// The edges are b pixels thick and stop 10 pixels short of each corner; the
// corners are 10 x 10 squares, so a corner outside an edge still sizes.
const SizingZone* FindSizingZone(int x, int y, int width, int height, int border);

}  // namespace skin
