// The answers a skinned top-level window gives for its child controls, and a
// skinned container for the controls inside it, to the messages a control
// sends its parent: the WM_CTLCOLOR* brushes (glass or hollow) and the
// repaints after edit, list-box, combo-box and tree-view notifications, so
// that what a control changes is drawn again over the skin's picture.
#pragma once

#include <windows.h>

namespace skin {

// Both skin flags on: controls are drawn translucent over the picture.
bool TransparentControls();

// WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN.
// Returns true when it answered; result is then the message's result (the
// brush). Without an answer the message goes on as usual.
bool AnswerChildColourMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// WM_CTLCOLOREDIT that an IP-address control gets from one of its fields:
// the glass brush, in the IP-address control's own text colour.
LRESULT AnswerIpFieldColour(HWND ipControl, WPARAM wParam, LPARAM lParam);
// WM_COMMAND: edits, list boxes and combo boxes whose contents changed are
// repainted over the skin's picture.
void RepaintChangedChild(WPARAM wParam, LPARAM lParam);
// WM_NOTIFY: a tree view that expanded or collapsed an item is repainted.
void RepaintExpandedTreeChild(LPARAM lParam);

// A structure that arrives through lParam, copied with a checked read: a bad
// pointer copies nothing and gives false.
template <class T>
bool CopyFromParam(LPARAM lParam, T& out) {
    SIZE_T read = 0;
    return lParam &&
           ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(lParam), &out,
                             sizeof out, &read) &&
           read == sizeof out;
}

}  // namespace skin
