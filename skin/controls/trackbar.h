// Trackbars: the whole picture drawn by the skin over the window's picture:
// an optional translucent panel, a thin rounded channel, a round thumb (a dot
// at rest, a shaded ball while the mouse is over the trackbar), a theme line
// from the channel's start to the thumb and the selection when there is one.
// The trackbar keeps its own behaviour; only its painting is taken over.
#pragma once

#include <windows.h>

#include "drawing/native_object.h"

namespace skin {

// Skins the "msctls_trackbar32" children of parent. Nothing while
// SkinControlsFlag is 0; a trackbar that already has the skin's procedure is
// left alone, so that it never becomes its own previous procedure.
void AttachTrackbars(int record, HWND parent);
LRESULT CALLBACK TrackbarSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Paints the whole trackbar at once into its window DC. Indices out of range
// are a fatal error report.
void PaintTrackbar(int record, int entry);

// What the painter asks the trackbar, and the entry's style flags.
struct TrackbarState {
    RECT channel{};  // TBM_GETCHANNELRECT: crosswise for a vertical trackbar,
                     // or in its own orientation (taller than wide)
    RECT thumb{};    // TBM_GETTHUMBRECT
    double position = 0;  // TBM_GETPOS
    double maximum = 0;   // TBM_GETRANGEMAX; the range is scaled as if it began at 0
    double selectionStart = 0, selectionEnd = 0;
    int vertical = 0, tickSide = 1, hot = 0, selectionRange = 0;
};

// Where the painter draws each part, in the trackbar's window coordinates.
struct TrackbarLayout {
    drw::RectF channel{0, 0, 0, 0};  // rounded, radius 1
    drw::PointF channelFrom{0, 0}, channelTo{0, 0};  // its gradient, across
    float cross = 0;                  // the channel's cross-axis edge
    drw::RectF thumb{0, 0, 0, 0};     // the circle's box
    drw::PointF thumbFrom{0, 0}, thumbTo{0, 0};      // its shading, downward
    bool selectionShown = false;      // a selection range with a scale
    drw::RectF selection{0, 0, 0, 0};
    bool valueLineShown = false;      // a line of positive length
    drw::RectF valueLine{0, 0, 0, 0};
};
TrackbarLayout LayoutTrackbar(const TrackbarState& state);

}  // namespace skin
