// Painting of the caption strip: the program icon and the title with its
// halo, each caption button in its normal, highlighted and pressed look, and
// the separators between the buttons. All of it goes into the window's cached
// rendering, restored first from the caption layer so that painting again
// never accumulates. The SkinEngine members of this concern are defined in
// caption_paint.cpp.
#pragma once

#include <windows.h>

#include "drawing/native_object.h"
#include "runtime/runtime.h"

namespace drw {
class GraphicsObject;
class PathObject;
}

namespace skin {

// The highlight alpha of a fade step: a fade-in shows 30 x step, a fade-out
// 240 - 30 x step (eight steps of the 20-ms timer).
constexpr int kFadeSteps = 8;
constexpr int kFadeAlphaStep = 30;
inline int FadeInAlpha(int step) { return kFadeAlphaStep * step; }
inline int FadeOutAlpha(int step) { return kFadeAlphaStep * (kFadeSteps - step); }

drw::RectF MakeRectF(float x, float y, float width, float height);

struct SkinWindowRecord;

// Every pixel that the program icon and the title can ink in a client of the
// given width, with the frame's border width: the icon's square, and the
// title's layout grown by the halo's pixel on each side and cut off where the
// caption-button strip begins (the title is drawn clipped to it). A title
// change restores all of it from the caption layer and copies all of it to
// the screen. Its bottom lies below a caption of the least height, so the
// caption layer is made at least that tall.
RECT CaptionTitleArea(const SkinWindowRecord& r, int clientWidth, int border);

// The close button's outline: one open figure whose only rounded corner is
// the top-right one (the window's own corner); a fill closes it along the
// bottom.
void AddCloseButtonPath(drw::PathObject& path, int x, int y, int width, int height, int radius);

// The text drawn four times in the halo colour at alpha 150, moved by the
// offset left, right, up and down, then once in the text colour on top.
// size is in GDI+ world units. A layout of zero or negative width or height
// draws nothing (GDI+ would take a zero width as "unbounded").
void DrawHaloText(drw::GraphicsObject& graphics, const rt::AnsiText& text,
                  const drw::RectF& layout, COLORREF textColor, COLORREF haloColor,
                  int offset = 1, const rt::AnsiText& fontName = "宋体", int fontStyle = 0,
                  int fontSize = 13, int alignment = 0, int lineAlignment = 0);

}  // namespace skin
