// Header controls: stand-alone headers and the headers of list views,
// painted whole by the skin item by item (glass base, theme gradient,
// separator, image-list icon, text; hot and pressed overlays for headers
// with buttons). Also the text measure that the group-box painter shares.
#pragma once

#include <windows.h>

#include "runtime/runtime.h"

namespace drw {
class StringFormatObject;
}  // namespace drw

namespace skin {

// Attaches the headers among parent's direct children and the header of
// each list view among them. Nothing while SkinControlsFlag is 0; a header
// that already has the skin's procedure is left alone.
void AttachHeaders(int record, HWND parent);
LRESULT CALLBACK HeaderSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The 1-based item under the mouse position (lParam of a mouse message),
// 0 over none; the 5 px at each edge of an item belong to no item.
int HitTestHeaderItem(int record, int entry, LPARAM lParam);
// Paints every item of the header onto its window; nothing when record or
// entry names none.
void PaintHeader(int record, int entry);
// The width in pixels text needs in the font made by name (1 when the font
// cannot be made).
int MeasureTextWidth(const rt::AnsiText& text, const rt::AnsiText& faceName, int size,
                     int style = 0);
// Creates format as an item's text is laid out: default flags and alignment
// (near, top), a text too long for its item cut with an ellipsis at a
// character boundary.
void CreateItemTextFormat(drw::StringFormatObject& format);

}  // namespace skin
