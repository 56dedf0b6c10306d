// The frame of a bordered control: its inner rectangle, ring and border line.
#include "skin/controls/control_frame.h"

#include "drawing/pen_brush.h"
#include "runtime/runtime.h"
#include "skin/engine.h"
#include "skin/helpers.h"

namespace skin {

RECT GetScrolledClientRectInWindow(HWND window) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SCROLLBARINFO horizontal{}, vertical{};
    horizontal.cbSize = vertical.cbSize = sizeof(SCROLLBARINFO);
    GetScrollBarInfo(window, OBJID_HSCROLL, &horizontal);
    GetScrollBarInfo(window, OBJID_VSCROLL, &vertical);
    int ew = client.right - client.left, eh = client.bottom - client.top;
    if (style & WS_VSCROLL) ew += vertical.rcScrollBar.right - vertical.rcScrollBar.left;
    if (style & WS_HSCROLL) eh += horizontal.rcScrollBar.bottom - horizontal.rcScrollBar.top;
    const int left = rt::Round((w - ew) / 2.0), top = rt::Round((h - eh) / 2.0);
    return RECT{left, top, left + ew, top + eh};
}

void FillFrameRing(drw::GraphicsObject& graphics, int w, int h, const RECT& inner) {
    graphics.SetClipRect(0, 0, static_cast<float>(w), static_cast<float>(h), 0);
    graphics.SetClipRect(static_cast<float>(inner.left), static_cast<float>(inner.top),
                         static_cast<float>(inner.right - inner.left),
                         static_cast<float>(inner.bottom - inner.top), 3 /* Xor */);
    if (TransparentControlsFlag) {
        drw::SolidBrushObject glass;
        glass.Create(ColorRefToArgb(0xFFFFFF, GlassAlpha));
        graphics.FillRectangle(glass, 0, 0, static_cast<float>(w), static_cast<float>(h));
    } else {
        graphics.Clear(0xFFFFFFFF);
    }
}

void DrawFrameBorder(drw::GraphicsObject& graphics, int w, int h, bool hot, bool focused,
                     uint32_t accent, uint32_t normal) {
    drw::PenObject pen;
    if (hot) {
        pen.Create(accent, 2.0f);
        graphics.DrawRectangle(pen, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2));
        return;
    }
    pen.Create(focused ? accent : normal, 1.0f);
    graphics.DrawRectangle(pen, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1));
}

}  // namespace skin
