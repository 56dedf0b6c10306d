// The status bar the engine draws itself, inside a skinned window's cached
// rendering just above the bottom frame: panes side by side, each with a soft
// white gradient, an optional picture at its left and a text, drawn plainly
// or with a glow around it. Also the layout of the window's docked windows,
// which sit between their own top and the bar.
//
// The engine operations (CreateStatusBar, LayoutStatusBar, PaintStatusPane,
// SetPaneText, SetStatusBarStyle, LayoutDockedPanes) are members of
// SkinEngine (engine.h); this header holds the plain routines beside them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "drawing/native_object.h"
#include "runtime/runtime.h"
#include "skin/engine.h"

namespace drw {
class GraphicsObject;
}

namespace skin {

struct RectI;

// Draws text with a halo of glowColor around it: the text is drawn into a
// bitmap, shrunk by scale and stretched back (a cheap blur), four faint
// copies are laid on it, the result is put under the layout's corner and the
// text itself is drawn over it in textColor. Fonts are made by name in world
// units. Leaves SmoothingModeAntiAlias set on graphics. A scale below 1 is
// taken as 1.
void DrawGlowText(drw::GraphicsObject& graphics, const rt::AnsiText& text,
                  const drw::RectF& layout, COLORREF textColor, COLORREF glowColor, int scale,
                  const rt::AnsiText& face = "宋体", int style = 0, float size = 12,
                  int alignment = 0, int lineAlignment = 0);

// Where a pane's text goes: 3 px in from the pane's left (beyond the picture
// when the pane has one of imageWidth pixels), and (h - 12) / 2 down whatever
// the font size, the bar having been designed around a 12-px font.
drw::RectF StatusPaneTextLayout(const RectI& pane, std::optional<int> imageWidth);

// Method-table entries for the operations whose arguments are texts or byte
// strings: a thunk passes a text as the address of its NUL-terminated bytes
// and a picture as the address of a ByteString (0 = not given).
//   SetPaneText(window, pane, text, picture, colour)
//   SetStatusBarStyle(window, automatic colour, glow, glow text colour,
//                     glow colour, face (0 = unchanged), size)
ThunkWord InvokeSetPaneText(SkinEngine* self, const ThunkWord* args);
ThunkWord InvokeSetStatusBarStyle(SkinEngine* self, const ThunkWord* args);

}  // namespace skin
