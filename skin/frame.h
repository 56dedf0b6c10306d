// The frame renderer: a whole skinned window drawn off screen into its cached
// rendering (background and picture, rounded border, caption, caption
// buttons, status panes), the clean caption and status layers beside it, the
// rounded window region, and the repaint of the skinned children after a
// visible rendering. The SkinEngine members of this concern (RenderWindow,
// BlitWindowCache, PaintWindowBackground, PaintWindowBorder) are defined in
// frame.cpp.
#pragma once

#include <windows.h>

#include "runtime/runtime.h"

namespace drw {
class BitmapObject;
}

namespace skin {

// Colour key of the cached rendering: what lies outside the rounded frame.
constexpr uint32_t kFrameKeyArgb = 0xFFFF00FF;

// Picture layouts.
enum PictureLayout : int {
    kPictureTopLeft = 0,   // right and bottom edges faded
    kPictureTopRight = 1,  // left and bottom edges faded
    kPictureCentred = 2,
    kPictureStretched = 3,
    kPictureMirrorTiled = 4,
};

// SetWindowRgn with a rounded rectangle of the client size (after a
// SetWindowPos that changes nothing but makes the window lay itself out).
void ApplyRoundWindowRegion(HWND window);

// The picture the record's window shows, decoded and, for mirrored tiling,
// laid out across the client width. `bitmap` stays empty when no picture
// applies or the bytes do not decode.
void PrepareBackgroundBitmap(int record, drw::BitmapObject& bitmap);

// Makes the skinned controls lying directly on the window repaint.
void InvalidateSkinnedChildren(int record);
// InvalidateRect(window, NULL, TRUE), and of each visible direct child when
// withChildren is not 0.
void InvalidateWindowAndChildren(HWND window, int withChildren = 0);


}  // namespace skin
