// What the glass painters of the control families share: the common frame
// of a paint over the background captured under the control
// (PaintOverBackground); one-line fills and outlines of a path, each making
// its drawing object, drawing once and deleting it again; the translucent
// framed trough of the progress bar and the trackbar; and carried pictures
// drawn from their bytes, with their size.
#pragma once

#include <windows.h>

#include <cstdint>

#include "drawing/graphics.h"
#include "skin/capture.h"

namespace drw {
class PathObject;
}  // namespace drw

namespace skin {

// The painters' common frame: what lies under rect of the control captured
// into a memory DC, draw(graphics, w, h) on it, the w x h result blitted to
// (0, 0) of dc, every object and the capture given back. Nothing is drawn
// when no skinned window lies above the control.
template <class Draw>
void PaintOverBackground(HWND control, HDC dc, const RECT& rect, Draw draw) {
    const int w = static_cast<int>(static_cast<double>(rect.right) - rect.left);
    const int h = static_cast<int>(static_cast<double>(rect.bottom) - rect.top);
    ScopedCapture memory(CaptureControlBackground(control, rect));
    if (!memory) return;
    {
        drw::GraphicsObject g;
        g.FromHdc(memory);
        draw(g, w, h);
    }
    BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
}

void FillPathSolid(drw::GraphicsObject& g, const drw::PathObject& path, uint32_t argb);
// A linear gradient from (x1, y1) to (x2, y2).
void FillPathGradient(drw::GraphicsObject& g, const drw::PathObject& path, float x1, float y1,
                      float x2, float y2, uint32_t from, uint32_t to);
void OutlinePath(drw::GraphicsObject& g, const drw::PathObject& path, uint32_t argb,
                 float width = 1.0f);
// The translucent body of a bar (progress bar, trackbar panel): the rounded
// frame (0, 0, w - 1, h - 1, radius 5) outlined in outline, and inside it the
// rounded trough (1, 1, w - 2, h - 2, troughRadius) filled from white at 160
// to black at 30, from top to bottom across a horizontal bar and from left
// to right across a vertical one.
void PaintFramedTrough(drw::GraphicsObject& g, int w, int h, bool vertical, uint32_t outline,
                       int troughRadius);
// A picture loaded from its bytes drawn stretched into (x, y, w, h); with
// w or h below 0, at its own pixel size. Nothing when it cannot be loaded.
void DrawPicture(drw::GraphicsObject& g, const rt::ByteString& bytes, float x, float y,
                 float w = -1, float h = -1);
// Width and height of a picture in pixels, (0, 0) when it cannot be loaded.
drw::Point PictureSize(const rt::ByteString& bytes);

}  // namespace skin
