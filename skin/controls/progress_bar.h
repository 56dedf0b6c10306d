// Progress bars: a rounded translucent trough with a rounded theme-coloured
// bar over it, growing from the left or, for vertical bars, from the bottom.
#pragma once

#include <windows.h>

namespace skin {

// Skins the "msctls_progress32" children of parent not skinned yet.
// Nothing while SkinControlsFlag is 0.
void AttachProgressBars(int record, HWND parent);
LRESULT CALLBACK ProgressBarSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Paints the whole bar at once into its window DC. Indices out of range are
// a fatal error report.
void PaintProgressBar(int record, int entry);
// The bar's length for a control extent of size, in double precision:
// size / (high - low) x (position - low), also for a reversed range; 0 for an
// empty range and wherever that gives no positive length; capped far beyond
// any control so that truncating it never overflows.
double ProgressExtent(int size, int position, int low, int high);
// The same truncated to whole pixels.
int ProgressLength(int size, int position, int low, int high);

}  // namespace skin
