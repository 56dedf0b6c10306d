#include "skin/controls/progress_bar.h"

#include <commctrl.h>

#include <cmath>

#include "drawing/graphics.h"
#include "drawing/path.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {

double ProgressExtent(int size, int position, int low, int high) {
    const double range = static_cast<double>(high) - low;
    // An empty range has no length to divide. A reversed one (high below
    // low) divides like any other: the control keeps its position at the
    // high end, and the bar is full.
    if (range == 0) return 0;
    const double length = size / range * (static_cast<double>(position) - low);
    if (!(length > 0)) return 0;
    // A position far beyond the high end only needs to reach past the edge.
    return length > 1e9 ? 1e9 : length;
}

int ProgressLength(int size, int position, int low, int high) {
    return static_cast<int>(ProgressExtent(size, position, low, high));
}

void AttachProgressBars(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    AttachChildrenOfClass(record, parent, PROGRESS_CLASSA, &SkinWindowRecord::ProgressBars,
                          ProgressBarSkinProc, [](SkinnedProgressBar& entry, HWND child) {
                              entry.Vertical =
                                  (GetWindowLongA(child, GWL_STYLE) & PBS_VERTICAL) ? 1 : 0;
                          });
}

LRESULT CALLBACK ProgressBarSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    // Properties that no longer name a live entry: leave the bar to itself.
    if (!LiveEntryOf(window, &SkinWindowRecord::ProgressBars, &ids))
        return CallPreviousProc(window, message, wParam, lParam);
    LRESULT result = 0;
    if (AnswerWholePaintMessage(window, message, wParam, lParam,
                                [&] { PaintProgressBar(ids.record, ids.entry); }, result))
        return result;
    return CallPreviousProc(window, message, wParam, lParam);
}

void PaintProgressBar(int record, int entry) {
    const SkinnedProgressBar& bar = SkinWindowTable[record].ProgressBars[entry];
    HWND p = bar.Window;
    const bool vertical = bar.Vertical != 0;
    RECT window{};
    GetWindowRect(p, &window);
    const int W = window.right - window.left, H = window.bottom - window.top;
    auto f = [](double v) { return static_cast<float>(v); };

    const int position = static_cast<int>(SendMessageA(p, PBM_GETPOS, 0, 0));
    PBRANGE range{};
    SendMessageA(p, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));

    WindowDc dc(p, DcArea::Window);
    PaintOverBackground(p, dc, RECT{0, 0, W, H}, [&](drw::GraphicsObject& g, int, int) {
        PaintFramedTrough(g, W, H, vertical, 0x32000000, 1);

        int x0 = 0, y0 = 0, bw = 0, bh = 0, length = 0;
        float gx1 = 0, gy1 = 0, gx2 = 0, gy2 = 0;
        if (vertical) {
            const double extent = ProgressExtent(H, position, range.iLow, range.iHigh);
            length = static_cast<int>(extent);
            x0 = 0, y0 = static_cast<int>(H - extent), bw = W, bh = length;
            gx1 = 0, gy1 = f(y0), gx2 = f(W - 1), gy2 = f(y0);
        } else {
            length = ProgressLength(W, position, range.iLow, range.iHigh);
            bw = length, bh = H;
            gx2 = 0, gy2 = f(H - 1);
        }
        if (length <= 0) return;
        drw::PathObject fill;
        fill.Create();
        AddRoundedRectPath(fill, f(x0 + 1), f(y0 + 1), f(bw - 3), f(bh - 3), 3);
        FillPathGradient(g, fill, gx1, gy1, gx2, gy2, 0x5AFFFFFF, ColorRefToArgb(ThemeColor, 255));
        OutlinePath(g, fill, ColorRefToArgb(ThemeColor, 150));
    });
}

}  // namespace skin
