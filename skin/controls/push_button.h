// Push buttons and what every skinned BUTTON control shares: the button
// entries, the one window procedure of all skinned buttons, the owner-draw
// dispatch that skinned windows and containers call on WM_DRAWITEM, the
// immediate repaint used for hover, the glass push-button painter, and the
// reading of a control's font that several painters use.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/runtime.h"

namespace drw {
class GraphicsObject;
class PathObject;
}  // namespace drw

namespace skin {

struct SkinnedButton;
struct SkinWindowRecord;

// Kinds of SkinnedButton.
enum ButtonKind : int32_t {
    kPushButton = 0,
    kImageButton = 1,
    kStateImageButton = 3,
    kRadioButton = 4,
    kCheckBox = 5,
};

// The engine's own item-state bit for the control under the mouse.
constexpr UINT kStateHot = 0x0040;  // ODS_HOTLIGHT
// A state test holds when every bit of the mask is set.
inline bool HasState(UINT state, UINT mask) { return (state & mask) == mask; }

// A control's font as GDI+ reads it. FaceName is empty and Size and Style 0
// when GDI+ cannot make a font from it.
struct ControlFont {
    rt::AnsiText FaceName;
    int32_t Size = 0;   // em size, truncated; the painters use it as pixels
    int32_t Style = 0;  // GDI+ FontStyle bits
};
// Reads the control's WM_GETFONT font (or its DC's font when it has none).
// The control's HFONT is neither changed nor deleted.
ControlFont ReadControlFont(HWND control);
// ReadControlFont with the fallback the button painters need: "宋体" at 12
// when the font cannot be read.
ControlFont ReadControlFontOrDefault(HWND control);

// BS_PUSHBUTTON, BS_DEFPUSHBUTTON or BS_USERBUTTON.
bool IsPlainPushButtonStyle(HWND control);
// 1-based index of the record's first Buttons entry for control, 0 if none.
int FindButtonEntry(int record, HWND control);
// The entry a skinned button's properties name (and its record), or null
// when they name none: a record freed while its window still gets messages
// must not stop the program from a window procedure.
SkinnedButton* FindSkinnedButton(HWND control, SkinWindowRecord** record = nullptr);

// Skins the plain push buttons among parent's direct children (made
// owner-drawn). Nothing while SkinControlsFlag is 0.
void AttachPushButtons(int record, HWND parent);

// The window procedure of every skinned BUTTON control. A button's tip
// window goes with the button, at its WM_NCDESTROY.
LRESULT CALLBACK ButtonSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the button at once in its skinned look; hot adds kStateHot.
void RepaintButtonNow(HWND control, UINT state = 0, int hot = 0);

// Draws an owner-drawn button of the record (WM_DRAWITEM of a skinned window
// or container); other controls and buttons the skin did not take are left
// alone.
void DispatchButtonOwnerDraw(int record, const DRAWITEMSTRUCT& item);

// WM_DRAWITEM as a skinned window or container receives it: the
// DRAWITEMSTRUCT at lParam is copied with a checked read (nothing is drawn
// when it cannot be read) and handed to DispatchButtonOwnerDraw.
void DispatchOwnerDrawMessage(int record, LPARAM lParam);

// Draws a push button into dc (the caller's). rect is the client rectangle.
void PaintPushButton(HWND control, HDC dc, UINT itemState, const RECT& rect);

// Draws path width times with a pen of colour at alpha, widths 1, 2, ...
// width in that order (a soft glow). A width below 1 draws nothing.
void StrokePath(drw::GraphicsObject& graphics, const drw::PathObject& path, int width,
                COLORREF colour, int alpha);

// ---- shared by the button painters ---------------------------------------
// The caption colour of a control (Kj_Ztys, black when absent) as opaque ARGB.
uint32_t CaptionArgb(HWND control);
// Draws text with a font made by name in the layout rectangle, with the
// given horizontal and vertical alignment and trimming. Nothing when the
// font cannot be made.
void DrawCaption(drw::GraphicsObject& graphics, HWND control, const rt::AnsiText& text,
                 const rt::AnsiText& fontName, int fontSize, int fontStyle, int unit,
                 float x, float y, float w, float h, int align, int lineAlign,
                 int trimming = -1);

}  // namespace skin
