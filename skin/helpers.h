// Small stateless routines that the painters and window procedures share:
// colour conversion, the two path builders, the lookups from a window to its
// record or container entry, rectangle conversions and a few style tests.
#pragma once

#include <windows.h>

#include <cstdint>

#include "drawing/native_object.h"
#include "runtime/runtime.h"

namespace drw {
class PathObject;
}

namespace skin {

// The key colour of a transparent blit: where the painted picture is
// magenta, the screen keeps what it shows.
constexpr COLORREF kKeyColour = 0x00FF00FF;
// The same magenta, opaque, for GDI+.
constexpr uint32_t kKeyArgb = 0xFFFF00FF;
// GDI+'s SmoothingModeAntiAlias.
constexpr int kSmoothingAntiAlias = 4;

// COLORREF (0x00BBGGRR) to ARGB (0xAARRGGBB): red and blue exchanged, the top
// byte replaced by the low byte of alpha.
uint32_t ColorRefToArgb(COLORREF colour, int alpha = 255);

// One closed rounded rectangle. radius is clamped to 1..100 and is the size
// of each corner's arc box (the visible radius is half of it).
void AddRoundedRectPath(drw::PathObject& path, float x, float y, float width, float height,
                        int radius);
// One open figure: left side, rounded top-left corner, top, rounded top-right
// corner, right side (a fill closes it along the bottom).
void AddGlossPath(drw::PathObject& path, int x, int y, int w, int h, int r);

// 1-based index of the first record whose Window is window, 0 if none.
int FindWindowRecord(HWND window);
// The record index of a skinned top-level window, found through its Hw_lbID
// property, or 0. A control's Hw_lbID is an index into its family's entries,
// not into the table, so the index counts only when that record's Window is
// the window itself.
int OwnRecordIndex(HWND window);
// True while record still stands for window under that number. A nested
// window procedure (any call that sends a message) may have removed it and
// moved a later record into its place.
bool StillRecordOf(int record, HWND window);
// The record of the nearest skinned ancestor of control (never the control
// itself), 0 if none.
int FindRootWindowRecord(HWND control);
// 1-based index of the first container entry of the record whose window is
// window; 0 if none. An entry without a window never matches.
int FindContainerEntry(int record, HWND window);
// Walks from control up its parents. Returns 1 when control lies directly on
// a skinned window (or is one): record is set. Returns 0 otherwise, with
// record and container set when a skinned container lies between, or marked
// set when a marked window does; the outputs are written only on that path.
int FindSkinContainer(HWND control, int& record, int& container, HWND& marked);

// control's window rectangle relative to the window rectangle of the skinned
// top-level window above it; {0,0,0,0} for a skinned top-level window.
RECT GetRectInContainer(HWND control);
// window's window rectangle minus the top-left of reference's.
RECT GetRectRelativeTo(HWND reference, HWND window);
// As GetRectRelativeTo with the root window of control as reference.
RECT GetRectInRootWindow(HWND control);
// The first self-painting container entry among control's ancestors below
// stop; 0 if none.
int IsInsideFilledContainer(int record, HWND control, HWND stop);

rt::AnsiText GetClassNameText(HWND window);
// The client area in window coordinates, borders taken as equal on opposite
// sides and 17 px per scroll bar.
RECT GetClientRectInWindow(HWND window);
// window's rectangle in its parent's client coordinates; {0,0,0,0} for a
// skinned top-level window.
RECT GetRectInParentClient(HWND window);

// The window's style bits.
inline LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
bool IsOwnerDrawListBox(HWND window);
bool IsAutoRadioButton(HWND window);
bool IsTransparentExStyle(HWND window);

// The halves of a 32-bit message value; callers read each as a signed 16-bit
// number (mouse positions).
inline int32_t HighWord(int32_t value) { return value >> 16; }
inline int32_t LowWord(int32_t value) { return value & 0xFFFF; }
// The signed coordinates of a mouse position in lParam.
inline int MouseX(LPARAM lParam) { return static_cast<int16_t>(LowWord(static_cast<int32_t>(lParam))); }
inline int MouseY(LPARAM lParam) { return static_cast<int16_t>(HighWord(static_cast<int32_t>(lParam))); }

// InvalidateRect(child, NULL, TRUE) for every visible direct child.
void InvalidateVisibleChildren(HWND parent);

}  // namespace skin
