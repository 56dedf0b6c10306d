// The frame of a bordered control (edit fields and the list-type controls):
// the ring between the window's edge and its client area with the scroll
// bars, filled with glass (or white) and given a border line in one of
// three looks, painted at once into the control's window DC.
#pragma once

#include <windows.h>

#include <cstdint>

#include "drawing/graphics.h"
#include "skin/capture.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"

namespace skin {

// The client area with its scroll bars, in window coordinates, the border
// taken to be equally thick on opposite sides.
RECT GetScrolledClientRectInWindow(HWND window);

// The frame ring on graphics, whose clip is left at the ring: everything of
// (0, 0, w, h) outside inner, glass white with transparent controls on,
// opaque white with them off.
void FillFrameRing(drw::GraphicsObject& graphics, int w, int h, const RECT& inner);

// The frame border line: 2 px of accent on the outer edge when hot, 1 px of
// accent when focused, 1 px of normal otherwise.
void DrawFrameBorder(drw::GraphicsObject& graphics, int w, int h, bool hot, bool focused,
                     uint32_t accent, uint32_t normal);

// Paints the frame of a bordered control at once into its window DC: the
// ring between the window edge and the client area with its scroll bars is
// filled (FillFrameRing), draw(graphics, w, h, inner) adds to it, and only
// the ring reaches the screen; keyed, magenta pixels leave the screen as it
// is. Nothing when no skinned window lies above the control.
template <class Draw>
void PaintControlFrame(HWND control, bool keyed, Draw draw) {
    RECT outer{};
    GetWindowRect(control, &outer);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    const RECT inner = GetScrolledClientRectInWindow(control);
    ScopedCapture capture(CaptureControlBackground(control, RECT{0, 0, w, h}));
    if (!capture.Get()) return;
    {
        drw::GraphicsObject graphics;
        graphics.FromHdc(capture);
        FillFrameRing(graphics, w, h, inner);
        draw(graphics, w, h, inner);
    }
    WindowDc dc(control, DcArea::Window);
    ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    if (keyed)
        TransparentBlt(dc, 0, 0, w, h, capture, 0, 0, w, h, kKeyColour);
    else
        BitBlt(dc, 0, 0, w, h, capture, 0, 0, SRCCOPY);
}

}  // namespace skin
