#include "skin/controls/trackbar.h"

#include <commctrl.h>

#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "skin/capture.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr int kTickTop = 0, kTickBottom = 1, kTickBoth = 2, kTickNone = 3;

int TickSideOf(LONG style) {
    if (style & TBS_NOTICKS) return kTickNone;
    if (style & TBS_TOP) return kTickTop;
    if (style & TBS_BOTH) return kTickBoth;
    return kTickBottom;
}

float F(double v) { return static_cast<float>(v); }

TrackbarState ReadTrackbarState(const SkinnedTrackbar& bar) {
    HWND k = bar.Window;
    TrackbarState s;
    s.position = static_cast<double>(SendMessageA(k, TBM_GETPOS, 0, 0));
    s.maximum = static_cast<double>(SendMessageA(k, TBM_GETRANGEMAX, 0, 0));
    SendMessageA(k, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&s.channel));
    SendMessageA(k, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&s.thumb));
    if (bar.SelectionRange) {
        s.selectionStart = static_cast<double>(SendMessageA(k, TBM_GETSELSTART, 0, 0));
        s.selectionEnd = static_cast<double>(SendMessageA(k, TBM_GETSELEND, 0, 0));
    }
    s.vertical = bar.Vertical;
    s.tickSide = bar.TickSide;
    s.hot = bar.Hot;
    s.selectionRange = bar.SelectionRange;
    return s;
}

void PaintThumb(drw::GraphicsObject& g, const TrackbarLayout& layout) {
    drw::PathObject ball;
    ball.Create();
    const drw::RectF& t = layout.thumb;
    ball.AddEllipse(t.x, t.y, t.width, t.height);
    FillPathSolid(g, ball, 0xFFFFFFFF);
    FillPathGradient(g, ball, layout.thumbFrom.x, layout.thumbFrom.y, layout.thumbTo.x,
                     layout.thumbTo.y, 0x00FFFFFF, 0x5A000000);
    OutlinePath(g, ball, 0x32000000);
}

void OutlineRectangle(drw::GraphicsObject& g, const drw::RectF& r, uint32_t argb) {
    drw::PathObject path;
    path.Create();
    path.AddRectangle(r.x, r.y, r.width, r.height);
    OutlinePath(g, path, argb);
}

// A trackbar's hover: hot on the first move over it, with one repaint.
void OnMouseMove(HWND window, const ControlIds& ids) {
    TrackMouseLeave(window);
    SkinWindowRecord& r = SkinWindowTable[ids.record];
    r.HotEntry = ids.entry;
    if (r.HotEntry != r.PreviousHotEntry || r.HotControlClass != kHotTrackbar) {
        r.Trackbars[ids.entry].Hot = 1;
        PaintTrackbar(ids.record, ids.entry);
    }
    // The paint asks the trackbar for its geometry; the record is taken anew.
    if (!SkinWindowTable.Contains(ids.record)) return;
    SkinWindowRecord& again = SkinWindowTable[ids.record];
    again.PreviousHotEntry = again.HotEntry;
    again.HotControlClass = kHotTrackbar;
}

}  // namespace

TrackbarLayout LayoutTrackbar(const TrackbarState& s) {
    TrackbarLayout out;
    const bool vertical = s.vertical != 0;
    // A vertical trackbar of the common controls reports its channel
    // crosswise (left and right along the track); one that reports it in its
    // own orientation (taller than wide) is read the same way by turning it.
    RECT ch = s.channel;
    if (vertical && ch.bottom - ch.top > ch.right - ch.left)
        ch = RECT{s.channel.top, s.channel.left, s.channel.bottom, s.channel.right};
    const double L = ch.left, T = ch.top, R = ch.right, B = ch.bottom;
    const bool selection = s.selectionRange != 0;
    const bool atEnd = s.position == s.maximum;
    // The cross-axis top of a 4-pixel channel centred in the reported one.
    const double narrow = T + ((B - T) - 4) / 2;

    double x, y, w, h;
    if (!vertical) {
        x = L, y = selection ? narrow : T, w = R - L, h = selection ? 4 : B - T;
        out.cross = F(y);
        out.channelFrom = {F(x), F(y)}, out.channelTo = {F(x), F(y + h)};
    } else {
        x = selection ? narrow : T, y = L, w = selection ? 4 : B - T, h = R - L;
        out.cross = F(x);
        out.channelFrom = {F(x), F(y)}, out.channelTo = {F(x + w), F(y)};
    }
    out.channel = {F(x), F(y), F(w), F(h)};

    const double c = out.cross;
    double along = vertical ? s.thumb.top : s.thumb.left;
    double across, size;
    if (s.hot) {
        size = 11;
        across = c - 4;
        if (s.tickSide == kTickTop) across += 2;
        if (s.tickSide == kTickBoth) across += 1;
    } else {
        size = 4;
        across = c - 0.5;
        if (atEnd) along += 8;
    }
    const double tx = vertical ? across : along, ty = vertical ? along : across;
    out.thumb = {F(tx), F(ty), F(size), F(size)};
    out.thumbFrom = {F(s.thumb.left), F(ty)};
    out.thumbTo = {F(s.thumb.left), F(ty + (R - L))};

    // A range that does not reach above 0 gives the mark no scale.
    if (selection && s.maximum > 0) {
        const double k = (R - L) / s.maximum;
        const double start = L + s.selectionStart * k - 1;
        const double length = (s.selectionEnd - s.selectionStart) * k;
        out.selectionShown = true;
        out.selection = vertical ? drw::RectF{F(narrow + 1), F(start), 1, F(length)}
                                 : drw::RectF{F(start), F(narrow + 1), F(length), 1};
    }

    const double line = selection ? narrow + 1 : T + 1;
    double length = (vertical ? s.thumb.top : s.thumb.left) - L - 1;
    if (atEnd) length += 10;
    out.valueLineShown = length > 0;
    out.valueLine = vertical ? drw::RectF{F(line), F(L), 1, F(length)}
                             : drw::RectF{F(L), F(line), F(length), 1};
    return out;
}

void AttachTrackbars(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    AttachChildrenOfClass(record, parent, TRACKBAR_CLASSA, &SkinWindowRecord::Trackbars,
                          TrackbarSkinProc, [](SkinnedTrackbar& entry, HWND child) {
                              const LONG style = GetWindowLongA(child, GWL_STYLE);
                              entry.Vertical = (style & TBS_VERT) ? 1 : 0;
                              entry.TickSide = TickSideOf(style);
                              entry.SelectionRange = (style & TBS_ENABLESELRANGE) ? 1 : 0;
                          });
}

LRESULT CALLBACK TrackbarSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    SkinnedTrackbar* bar = LiveEntryOf(window, &SkinWindowRecord::Trackbars, &ids);
    if (!bar) return CallPreviousProc(window, message, wParam, lParam);
    LRESULT result = 0;
    if (AnswerWholePaintMessage(window, message, wParam, lParam,
                                [&] { PaintTrackbar(ids.record, ids.entry); }, result))
        return result;
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(window, ids);
        break;
    case WM_MOUSELEAVE:
        SkinWindowTable[ids.record].PreviousHotEntry = 0;
        bar->Hot = 0;
        PaintTrackbar(ids.record, ids.entry);
        break;
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

void PaintTrackbar(int record, int entry) {
    const SkinnedTrackbar bar = SkinWindowTable[record].Trackbars[entry];
    HWND k = bar.Window;
    RECT box{};
    GetWindowRect(k, &box);
    const int w = box.right - box.left, h = box.bottom - box.top;
    const TrackbarLayout layout = LayoutTrackbar(ReadTrackbarState(bar));

    WindowDc dc(k, DcArea::Window);
    PaintOverBackground(k, dc, RECT{0, 0, w, h}, [&](drw::GraphicsObject& g, int, int) {
        if (TrackbarBackgroundFlag == 1)
            PaintFramedTrough(g, w, h, bar.Vertical != 0, 0x1E000000, 3);

        drw::PathObject channel;
        channel.Create();
        const drw::RectF& c = layout.channel;
        AddRoundedRectPath(channel, c.x, c.y, c.width, c.height, 1);
        FillPathGradient(g, channel, layout.channelFrom.x, layout.channelFrom.y,
                         layout.channelTo.x, layout.channelTo.y, 0x32000000, 0x1E000000);

        PaintThumb(g, layout);
        if (layout.selectionShown) OutlineRectangle(g, layout.selection, 0xA0FFFFFF);
        if (layout.valueLineShown)
            OutlineRectangle(g, layout.valueLine, ColorRefToArgb(ThemeColor, 200));
    });
}

}  // namespace skin
