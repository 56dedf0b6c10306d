// Containers: group boxes, tab controls, panels and plain controls with child
// windows of their own. Attaching one skins the standard controls directly
// inside it, answers for those children the parent-side messages that the
// skinned window answers for its own children (owner-drawn buttons, the
// WM_CTLCOLOR* brushes, repaints after edit, list, combo and tree-view
// notifications) and, unless told not to, paints the container itself: the
// picture behind it with its own translucent fill, then a group-box frame
// with its caption or, for a bordered container, two rounded outlines.
//
// AttachContainer and SetContainerAlpha are SkinEngine operations.
#pragma once

#include <windows.h>

namespace skin {

LRESULT CALLBACK ContainerSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the whole container into dc, or, when dc is 0, into a DC of its own
// that cannot cover opaque children; clears FullRepaint.
void PaintContainer(int record, int entry, HDC dc);
// The same picture put on the container through a DC that cannot cover its
// opaque children, then its transparent children asked to paint again. The
// paint DC is left to the caller; FullRepaint is not changed.
void PaintContainerChild(int record, int entry, HWND window, HDC paintDc);
// The group box's two rounded frames and its caption, drawn onto dc.
void PaintGroupBox(int record, int entry, HDC dc);
// Restores into dc, inside rect (the container's coordinates), what lies
// behind the container, with the fill of the container it is or lies in.
void CopyParentBackground(HWND window, HDC dc, const RECT& rect);
// InvalidateRect(child, NULL, FALSE) for every direct child with
// WS_EX_TRANSPARENT.
void InvalidateTransparentChildren(HWND window);
// Lays the entry's page windows out inside the container's client area.
void LayoutContainerPages(int record, int entry);
// The nearest ancestor whose Wxk_Zpf is 1, or 0.
HWND FindSkinParent(HWND window);
// A "Button" whose style has bit 0x4 (BS_GROUPBOX among others).
bool IsGroupBoxWindow(HWND window);
// Left edge of a group-box caption tw pixels wide in a box w pixels wide:
// centred for BS_CENTER, 10 from the left for BS_LEFT alone, else 10 from
// the right.
double GroupBoxCaptionX(LONG style, int w, int tw);

}  // namespace skin
