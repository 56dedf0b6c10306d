// Trackbars: where each part goes for the geometry the trackbar reports,
// attach over the styles, the painted pixels, hover and leaks.
#include "fixture.h"

#include "skin/capture.h"

#include <commctrl.h>

#include <vector>

#include "skin/controls/trackbar.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

namespace ctctest {
namespace {

using skin::LayoutTrackbar;
using skin::TrackbarState;

TrackbarState Horizontal(RECT channel, int thumbLeft, double pos, double max) {
    TrackbarState s;
    s.channel = channel;
    s.thumb = RECT{thumbLeft, 8, thumbLeft + 11, 28};
    s.position = pos;
    s.maximum = max;
    return s;
}

void ExpectRect(const drw::RectF& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.x, x, 1e-4);
    EXPECT_NEAR(r.y, y, 1e-4);
    EXPECT_NEAR(r.width, w, 1e-4);
    EXPECT_NEAR(r.height, h, 1e-4);
}

TEST(TrackbarLayout, ChannelAndThumbFollowTheReportedGeometry) {
    struct Case {
        int hot, tickSide;
        float thumbY, size;
    };
    // Channel (8, 14, 142, 18), no selection range: the channel shape is the
    // reported one and c is 14.
    const Case cases[] = {{0, 1, 13.5f, 4}, {0, 0, 13.5f, 4}, {1, 1, 10, 11},
                          {1, 0, 12, 11},   {1, 2, 11, 11},   {1, 3, 10, 11}};
    for (const Case& c : cases) {
        TrackbarState s = Horizontal(RECT{8, 14, 142, 18}, 40, 30, 100);
        s.hot = c.hot;
        s.tickSide = c.tickSide;
        const auto layout = LayoutTrackbar(s);
        SCOPED_TRACE(testing::Message() << "hot " << c.hot << " ticks " << c.tickSide);
        ExpectRect(layout.channel, 8, 14, 134, 4);
        EXPECT_FLOAT_EQ(layout.cross, 14);
        ExpectRect(layout.thumb, 40, c.thumbY, c.size, c.size);
        // The shading runs down the channel's length from the thumb's top.
        EXPECT_FLOAT_EQ(layout.thumbTo.y - layout.thumbFrom.y, 134);
        EXPECT_FALSE(layout.selectionShown);
        ExpectRect(layout.valueLine, 8, 15, 40 - 8 - 1, 1);
    }
}

TEST(TrackbarLayout, SelectionRangeNarrowsTheChannelAndMarksTheSelection) {
    TrackbarState s = Horizontal(RECT{8, 12, 142, 22}, 60, 40, 100);
    s.selectionRange = 1;
    s.selectionStart = 20;
    s.selectionEnd = 50;
    const auto layout = LayoutTrackbar(s);
    ExpectRect(layout.channel, 8, 15, 134, 4);
    ASSERT_TRUE(layout.selectionShown);
    ExpectRect(layout.selection, 33.8f, 16, 40.2f, 1);
    ExpectRect(layout.valueLine, 8, 16, 51, 1);
}

TEST(TrackbarLayout, OnlyTheExactMaximumMovesTheDotAndLengthensTheLine) {
    struct Case {
        double pos, max;
        float dotX, lineLength;
    };
    const Case cases[] = {{100, 100, 148, 141}, {99, 100, 140, 131}, {0, 0, 148, 141},
                          {-5, -5, 148, 141},   {5, 0, 140, 131}};
    for (const Case& c : cases) {
        const auto layout = LayoutTrackbar(Horizontal(RECT{8, 14, 142, 18}, 140, c.pos, c.max));
        SCOPED_TRACE(testing::Message() << c.pos << " of " << c.max);
        EXPECT_FLOAT_EQ(layout.thumb.x, c.dotX);
        EXPECT_FLOAT_EQ(layout.valueLine.width, c.lineLength);
    }
    // Hot, the ball stays over the thumb at the end.
    TrackbarState hot = Horizontal(RECT{8, 14, 142, 18}, 140, 100, 100);
    hot.hot = 1;
    EXPECT_FLOAT_EQ(LayoutTrackbar(hot).thumb.x, 140);
}

TEST(TrackbarLayout, AnEmptyOrNegativeRangeDrawsNoSelectionMark) {
    // The mark's scale divides by the maximum: with none above 0 there is no
    // scale, and no mark (rather than a rectangle of infinite size).
    for (double max : {0.0, -10.0}) {
        TrackbarState s = Horizontal(RECT{8, 12, 142, 22}, 8, 0, max);
        s.selectionRange = 1;
        s.selectionStart = 0;
        s.selectionEnd = 0;
        EXPECT_FALSE(LayoutTrackbar(s).selectionShown) << max;
    }
}

TEST(TrackbarLayout, NoValueLineBeforeTheChannelStarts) {
    // At the first position the thumb starts left of the channel.
    const auto layout = LayoutTrackbar(Horizontal(RECT{8, 14, 142, 18}, 3, 0, 100));
    EXPECT_FALSE(layout.valueLineShown);
    EXPECT_TRUE(LayoutTrackbar(Horizontal(RECT{8, 14, 142, 18}, 11, 3, 100)).valueLineShown);
}

TEST(TrackbarLayout, AVerticalTrackbarReadsTheChannelCrosswise) {
    TrackbarState s;
    s.vertical = 1;
    s.channel = RECT{8, 14, 142, 18};  // along: 8..142, across: 14..18
    s.thumb = RECT{8, 60, 28, 71};
    s.position = 20;
    s.maximum = 100;
    auto layout = LayoutTrackbar(s);
    ExpectRect(layout.channel, 14, 8, 4, 134);
    EXPECT_FLOAT_EQ(layout.channelTo.x - layout.channelFrom.x, 4);  // across, left to right
    EXPECT_FLOAT_EQ(layout.channelTo.y, layout.channelFrom.y);
    ExpectRect(layout.thumb, 13.5f, 60, 4, 4);
    ExpectRect(layout.valueLine, 15, 8, 1, 60 - 8 - 1);
    s.hot = 1;
    s.tickSide = 0;
    ExpectRect(LayoutTrackbar(s).thumb, 12, 60, 11, 11);
    s.position = 100;
    s.hot = 0;
    s.selectionRange = 1;
    s.channel = RECT{8, 12, 142, 22};
    s.selectionStart = 20;
    s.selectionEnd = 50;
    layout = LayoutTrackbar(s);
    ExpectRect(layout.thumb, 14.5f, 68, 4, 4);
    ExpectRect(layout.selection, 16, 33.8f, 1, 40.2f);
    EXPECT_FLOAT_EQ(layout.valueLine.height, 61);

    // The same channel reported in the trackbar's own orientation.
    TrackbarState upright = s;
    upright.channel = RECT{12, 8, 22, 142};
    const auto turned = LayoutTrackbar(upright);
    ExpectRect(turned.channel, 15, 8, 4, 134);
    ExpectRect(turned.selection, 16, 33.8f, 1, 40.2f);
}

class TrackbarTest : public SkinnedWindowTest {
protected:
    // The theme colour at alpha 200 over anything: much green and blue, little red.
    static bool IsTheme(COLORREF c) {
        return GetGValue(c) > 150 && GetBValue(c) > 150 && GetRValue(c) < 100;
    }
    HWND Bar(DWORD style, int x, int y, int w, int h, int max, int pos) {
        HWND t = Child(TRACKBAR_CLASSA, style, "", x, y, w, h);
        SendMessageA(t, TBM_SETRANGE, FALSE, MAKELPARAM(0, max));
        SendMessageA(t, TBM_SETPOS, TRUE, pos);
        return t;
    }
    const skin::SkinnedTrackbar& Entry(HWND t) const {
        return skin::SkinWindowTable[record_].Trackbars[static_cast<int>(skin::ReadProp(t, "Hw_lbID"))];
    }
    void Paint(HWND t) const {
        skin::PaintTrackbar(record_, static_cast<int>(skin::ReadProp(t, "Hw_lbID")));
    }
    RECT ThumbOf(HWND t) const {
        RECT r{};
        SendMessageA(t, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    RECT ChannelOf(HWND t) const {
        RECT r{};
        SendMessageA(t, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
};

TEST_F(TrackbarTest, AttachReadsTheStyleOnceForEachTrackbar) {
    struct Case {
        DWORD style;
        int vertical, tickSide, selection;
    };
    const Case cases[] = {
        {0, 0, 1, 0},
        {TBS_VERT, 1, 1, 0},
        {TBS_TOP, 0, 0, 0},
        {TBS_BOTH, 0, 2, 0},
        {TBS_NOTICKS | TBS_TOP | TBS_BOTH, 0, 3, 0},
        {TBS_TOP | TBS_BOTH, 0, 0, 0},
        {TBS_ENABLESELRANGE | TBS_VERT | TBS_BOTH, 1, 2, 1},
    };
    std::vector<HWND> bars;
    for (const Case& c : cases) bars.push_back(Bar(c.style, 10, 10, 150, 30, 100, 10));
    skin::AttachTrackbars(record_, window_);
    const auto& entries = skin::SkinWindowTable[record_].Trackbars;
    // The first trackbar took the record's empty entry.
    ASSERT_EQ(entries.Count(), static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& e = Entry(bars[i]);
        EXPECT_EQ(e.Window, bars[i]);
        EXPECT_EQ(e.Vertical, cases[i].vertical);
        EXPECT_EQ(e.TickSide, cases[i].tickSide);
        EXPECT_EQ(e.SelectionRange, cases[i].selection);
        EXPECT_EQ(skin::ReadProp(bars[i], "Hw_FuID"), record_);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(skin::ReadProp(bars[i], "Hw_hProc")), e.PreviousProc);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(bars[i], GWLP_WNDPROC)),
                  skin::TrackbarSkinProc);
    }
}

TEST_F(TrackbarTest, ASecondAttachLeavesTheTrackbarWorking) {
    HWND t = Bar(0, 10, 10, 150, 30, 100, 42);
    skin::AttachTrackbars(record_, window_);
    const WNDPROC previous = Entry(t).PreviousProc;
    skin::AttachTrackbars(record_, window_);
    EXPECT_EQ(skin::SkinWindowTable[record_].Trackbars.Count(), 1);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(skin::ReadProp(t, "Hw_hProc")), previous);
    EXPECT_NE(previous, skin::TrackbarSkinProc);
    // Messages still reach the trackbar's own procedure (no endless forwarding).
    EXPECT_EQ(SendMessageA(t, TBM_GETPOS, 0, 0), 42);
}

TEST_F(TrackbarTest, NothingIsAttachedWhileControlsAreNotSkinned) {
    HWND t = Bar(0, 10, 10, 150, 30, 100, 42);
    skin::SkinControlsFlag = 0;
    skin::AttachTrackbars(record_, window_);
    EXPECT_EQ(skin::SkinWindowTable[record_].Trackbars[1].Window, nullptr);
    EXPECT_EQ(skin::ReadProp(t, "Hw_hProc"), 0);
}

TEST_F(TrackbarTest, PaintsThePanelChannelDotAndValueLine) {
    HWND t = Bar(TBS_NOTICKS, 20, 20, 200, 32, 100, 50);
    skin::AttachTrackbars(record_, window_);
    Paint(t);
    const RECT ch = ChannelOf(t), th = ThumbOf(t);
    // The resting dot: white, 4 px, at the thumb's left.
    EXPECT_GT(Sum(Pixel(t, th.left + 2, ch.top + 1)), 600);
    // The value line in the theme colour, one pixel inside the channel.
    EXPECT_TRUE(IsTheme(Pixel(t, (ch.left + th.left) / 2, ch.top + 1)));
    // Past the thumb the channel is only darkened, with no theme line.
    EXPECT_FALSE(IsTheme(Pixel(t, th.right + 20, ch.top + 1)));
    // The panel lightens the picture away from the channel; the rounded
    // corner leaves it alone.
    const int x = (ch.left + th.left) / 2, y = 4;
    EXPECT_GT(Sum(Pixel(t, x, y)), Sum(BackdropUnder(t, x, y)) + 60);
    EXPECT_TRUE(Near(Pixel(t, 0, 0), BackdropUnder(t, 0, 0), 2));

    // Without the panel, the picture shows around the channel.
    skin::TrackbarBackgroundFlag = 0;
    Paint(t);
    EXPECT_TRUE(Near(Pixel(t, x, y), BackdropUnder(t, x, y), 2));
    EXPECT_TRUE(Near(Pixel(t, 100, 30), BackdropUnder(t, 100, 30), 2));
}

TEST_F(TrackbarTest, AVerticalTrackbarShadesItsPanelFromLeftToRight) {
    HWND t = Bar(TBS_VERT | TBS_NOTICKS, 20, 20, 32, 200, 100, 50);
    skin::AttachTrackbars(record_, window_);
    Paint(t);
    // White at the left fading to black at the right; the backdrop under a
    // column changes only in red, so green tells the panel's shade.
    const int y = 150;
    const int left = GetGValue(Pixel(t, 3, y)) - GetGValue(BackdropUnder(t, 3, y));
    const int right = GetGValue(Pixel(t, 28, y)) - GetGValue(BackdropUnder(t, 28, y));
    EXPECT_GT(left, right + 40) << left << " " << right;

    // Without the panel: the channel runs down the trackbar, darkening its
    // middle column far above and below the thumb and nothing beside it.
    skin::TrackbarBackgroundFlag = 0;
    Paint(t);
    const RECT th = ThumbOf(t);
    const int cx = (th.left + th.right) / 2;
    for (int y : {20, 180}) {
        EXPECT_LT(Sum(Pixel(t, cx, y)), Sum(BackdropUnder(t, cx, y)) - 15) << y;
        EXPECT_TRUE(Near(Pixel(t, cx + 8, y), BackdropUnder(t, cx + 8, y), 2)) << y;
    }
}

TEST_F(TrackbarTest, HoverGrowsTheBallOnceAndLeavingShrinksIt) {
    HWND t = Bar(TBS_NOTICKS, 20, 20, 200, 32, 100, 50);
    skin::AttachTrackbars(record_, window_);
    Paint(t);
    const RECT ch = ChannelOf(t), th = ThumbOf(t);
    // A pixel inside the hot ball (11 px from c - 4) but outside the dot.
    const int bx = th.left + 8, by = ch.top + 4;
    const COLORREF resting = Pixel(t, bx, by);

    SendMessageA(t, WM_MOUSEMOVE, 0, MAKELPARAM(bx, by));
    auto& r = skin::SkinWindowTable[record_];
    EXPECT_EQ(Entry(t).Hot, 1);
    EXPECT_EQ(r.HotControlClass, 2);
    EXPECT_EQ(r.HotEntry, 1);
    EXPECT_EQ(r.PreviousHotEntry, 1);
    const COLORREF hot = Pixel(t, bx, by);
    EXPECT_GT(Sum(hot), Sum(resting) + 100);

    // A second move over the same trackbar paints nothing.
    Smear(t, RGB(255, 0, 0));
    SendMessageA(t, WM_MOUSEMOVE, 0, MAKELPARAM(bx + 1, by));
    EXPECT_EQ(Pixel(t, bx, by), RGB(255, 0, 0));

    SendMessageA(t, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Entry(t).Hot, 0);
    EXPECT_EQ(r.PreviousHotEntry, 0);
    EXPECT_TRUE(Near(Pixel(t, bx, by), resting, 2));
}

TEST_F(TrackbarTest, MessagesThatPaintAndThoseThatPassOn) {
    HWND t = Bar(0, 20, 20, 200, 32, 100, 50);
    skin::AttachTrackbars(record_, window_);
    Smear(t, RGB(255, 0, 0));
    EXPECT_EQ(SendMessageA(t, WM_NCPAINT, 1, 0), 1);
    EXPECT_NE(Pixel(t, 100, 2), RGB(255, 0, 0));

    Smear(t, RGB(255, 0, 0));
    SendMessageA(t, WM_SETFOCUS, 0, 0);
    SendMessageA(t, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Pixel(t, 100, 2), RGB(255, 0, 0));

    skin::WindowDc dc(t);
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(SendMessageA(t, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    // A real paint: repaint twice and get the same picture.
    InvalidateRect(t, nullptr, TRUE);
    UpdateWindow(t);
    const COLORREF once = Pixel(t, 100, 16);
    InvalidateRect(t, nullptr, TRUE);
    UpdateWindow(t);
    EXPECT_EQ(Pixel(t, 100, 16), once);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(t, &update, FALSE));
}

// The channel and thumb a trackbar reports, fixed by the test: the
// procedure answers the two geometry questions and hands the rest on.
struct ReportedGeometry {
    RECT channel, thumb;
    WNDPROC previous;
};
LRESULT CALLBACK ReportGeometry(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* g =
        reinterpret_cast<const ReportedGeometry*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == TBM_GETCHANNELRECT || message == TBM_GETTHUMBRECT) {
        *reinterpret_cast<RECT*>(lParam) = message == TBM_GETCHANNELRECT ? g->channel : g->thumb;
        return 0;
    }
    return CallWindowProcA(g->previous, window, message, wParam, lParam);
}

TEST_F(TrackbarTest, EachStateHasItsColourAtChosenPixels) {
    using testsupport::GradientAt;
    using testsupport::Layer;
    using testsupport::Solid;
    // Range 0 to 100. Horizontal 160 x 28, vertical 28 x 160; the panel's
    // trough shades over the 27 px across it (GDI+ puts a pixel's centre on
    // its whole coordinates), the channel over its 4 px from c.
    // Static: the trackbars ask for it until the window goes, after the test.
    static ReportedGeometry plain{{8, 14, 142, 18}, {60, 4, 71, 24}, nullptr};  // (8, 14, 134, 4)
    static ReportedGeometry ranged{{8, 12, 142, 22}, {30, 4, 41, 24}, nullptr};  // (8, 15, 134, 4)
    // Reported crosswise: the channel shape is (14, 8, 4, 134).
    static ReportedGeometry upright{{8, 14, 142, 18}, {4, 60, 24, 71}, nullptr};
    auto make = [&](DWORD style, ReportedGeometry& g, int selStart, int selEnd) {
        const bool vertical = style & TBS_VERT;
        HWND t = Bar(style, 20, 20, vertical ? 28 : 160, vertical ? 160 : 28, 100, 40);
        SendMessageA(t, TBM_SETSEL, TRUE, MAKELPARAM(selStart, selEnd));
        SetWindowLongPtrA(t, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&g));
        g.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(t, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReportGeometry)));
        return t;
    };
    HWND bar = make(TBS_NOTICKS, plain, 0, 0);
    HWND selecting = make(TBS_NOTICKS | TBS_ENABLESELRANGE, ranged, 20, 50);
    HWND vertical = make(TBS_VERT | TBS_NOTICKS, upright, 0, 0);
    skin::AttachTrackbars(record_, window_);

    auto panel = [](double across) { return GradientAt(0xA0FFFFFF, 0x1E000000, across / 27); };
    auto channel = [](double fromC) { return GradientAt(0x32000000, 0x1E000000, fromC / 4); };
    const auto frame = Solid(0x1E000000), line = Solid(0xC822CADD), mark = Solid(0xA0FFFFFF);
    // The thumb's white, shaded downward over the channel's 134 px from its top.
    auto ball = [](double fromTop) {
        return Layer(RGB(255, 255, 255), GradientAt(0x00FFFFFF, 0x5A000000, fromTop / 134));
    };
    enum State { kRest, kHot, kNoPanel };
    ExpectLooks({
        {"panel frame, top side", bar, kRest, 100, 0, [&](COLORREF b) { return Layer(b, frame); }},
        {"panel below the channel", bar, kRest, 100, 22,
         [&](COLORREF b) { return Layer(b, panel(22)); }},
        {"channel past the thumb", bar, kRest, 100, 16,
         [&](COLORREF b) { return Layer(Layer(b, panel(16)), channel(2)); }},
        {"value line, top side", bar, kRest, 30, 15,
         [&](COLORREF b) { return Layer(Layer(Layer(b, panel(15)), channel(1)), line); }},
        {"value line, bottom side", bar, kRest, 30, 16,
         [&](COLORREF b) { return Layer(Layer(Layer(b, panel(16)), channel(2)), line); }},
        {"resting dot", bar, kRest, 62, 15, [&](COLORREF) { return ball(15 - 13.5); }},
        {"above the resting dot", bar, kRest, 65, 12,
         [&](COLORREF b) { return Layer(b, panel(12)); }},
        {"hot ball above the channel", bar, kHot, 65, 12, [&](COLORREF) { return ball(12 - 10); }},
        {"hot ball below the channel", bar, kHot, 65, 19, [&](COLORREF) { return ball(19 - 10); }},
        {"no panel: the window's picture", bar, kNoPanel, 100, 22, [&](COLORREF b) { return b; }},
        {"no panel: the channel alone", bar, kNoPanel, 100, 16,
         [&](COLORREF b) { return Layer(b, channel(2)); }},
        {"selection mark, top side", selecting, kRest, 50, 16,
         [&](COLORREF b) { return Layer(Layer(Layer(b, panel(16)), channel(1)), mark); }},
        {"selection mark, bottom side", selecting, kRest, 70, 17,
         [&](COLORREF b) { return Layer(Layer(Layer(b, panel(17)), channel(2)), mark); }},
        {"narrow channel under the mark", selecting, kRest, 50, 18,
         [&](COLORREF b) { return Layer(Layer(b, panel(18)), channel(3)); }},
        {"narrow channel past the mark", selecting, kRest, 100, 16,
         [&](COLORREF b) { return Layer(Layer(b, panel(16)), channel(1)); }},
        {"value line inside the narrow channel", selecting, kRest, 20, 16,
         [&](COLORREF b) { return Layer(Layer(Layer(b, panel(16)), channel(1)), line); }},
        {"vertical panel, left", vertical, kRest, 5, 100,
         [&](COLORREF b) { return Layer(b, panel(5)); }},
        {"vertical panel, right", vertical, kRest, 23, 100,
         [&](COLORREF b) { return Layer(b, panel(23)); }},
        {"vertical channel past the thumb", vertical, kRest, 16, 100,
         [&](COLORREF b) { return Layer(Layer(b, panel(16)), channel(2)); }},
        {"vertical value line", vertical, kRest, 15, 30,
         [&](COLORREF b) { return Layer(Layer(Layer(b, panel(15)), channel(1)), line); }},
    }, [&](const Look& r) {
        skin::TrackbarBackgroundFlag = r.state == kNoPanel ? 0 : 1;
        const int entry = static_cast<int>(skin::ReadProp(r.control, "Hw_lbID"));
        skin::SkinWindowTable[record_].Trackbars[entry].Hot = r.state == kHot ? 1 : 0;
        Paint(r.control);
    });
}

TEST_F(TrackbarTest, ManyPaintsLeaveNothingBehind) {
    HWND a = Bar(TBS_ENABLESELRANGE, 20, 20, 200, 32, 100, 100);
    HWND b = Bar(TBS_VERT, 240, 20, 32, 200, 0, 0);
    SendMessageA(a, TBM_SETSEL, TRUE, MAKELPARAM(20, 50));
    skin::AttachTrackbars(record_, window_);
    Paint(a);
    Paint(b);
    const LiveCounts before = Live();
    for (int i = 0; i < 40; ++i) {
        Paint(a);
        SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageA(b, WM_MOUSELEAVE, 0, 0);
        InvalidateRect(a, nullptr, TRUE);
        UpdateWindow(a);
    }
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(skin::MemoryDcRegistry.Count(), 0);
}

TEST_F(TrackbarTest, AStaleRecordLeavesTheTrackbarToItself) {
    HWND t = Bar(0, 20, 20, 200, 32, 100, 7);
    skin::AttachTrackbars(record_, window_);
    skin::WriteProp(t, "Hw_FuID", record_ + 5);
    SendMessageA(t, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(SendMessageA(t, TBM_GETPOS, 0, 0), 7);
    InvalidateRect(t, nullptr, TRUE);
    UpdateWindow(t);
}

}  // namespace
}  // namespace ctctest
