// Progress bars: the bar's length from the position within the range, the
// direction of vertical bars, the procedure's messages and leaks.
#include "fixture.h"

#include <commctrl.h>

#include <climits>

#include "skin/controls/progress_bar.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

namespace ctltest {
namespace {

class ProgressBarTest : public ControlsTest {
protected:
    HWND Bar(DWORD style, int w, int h, int low, int high, int pos) {
        HWND p = Child(PROGRESS_CLASSA, style, "", 20, 20, w, h);
        SendMessageA(p, PBM_SETRANGE32, low, high);
        SendMessageA(p, PBM_SETPOS, pos, 0);
        skin::AttachProgressBars(record_, window_);
        Redraw(p);
        return p;
    }
    // Pixels of the bar show the theme colour's green; the trough keeps the
    // skin's hue under grey glass.
    static bool IsBar(COLORREF c) { return GetGValue(c) > GetRValue(c) + 70; }
};

TEST_F(ProgressBarTest, LengthFollowsThePositionWithinTheRange) {
    struct Case {
        int size, pos, low, high, length;
    };
    const Case cases[] = {
        {200, 50, 0, 100, 100}, {200, 100, 50, 150, 100}, {200, 0, 0, 100, 0},
        {200, 5, 5, 5, 0},      {200, 9, 5, 5, 0},        {200, -5, 0, 100, 0},
        // A reversed range keeps the same formula: full at the high end, none
        // at or beyond the low end.
        {200, 0, 10, 0, 200},   {200, 3, 10, 0, 140},     {200, 10, 10, 0, 0},
        {200, 12, 10, 0, 0},
        {200, INT_MAX, 0, 1, 1000000000}, {200, 0, INT_MIN, INT_MAX, 100},
        {7, 1, 0, 3, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skin::ProgressLength(c.size, c.pos, c.low, c.high), c.length)
            << c.size << " " << c.pos << " [" << c.low << ", " << c.high << "]";
}

TEST_F(ProgressBarTest, HorizontalBarGrowsFromTheLeft) {
    for (auto [low, high, pos] : {std::tuple{0, 100, 50}, std::tuple{50, 150, 100}}) {
        HWND p = Bar(0, 200, 20, low, high, pos);
        // len 100: bar shape (1, 1, 97, 17), the trough beyond it.
        EXPECT_TRUE(IsBar(Pixel(p, 50, 15)));
        EXPECT_TRUE(IsBar(Pixel(p, 95, 15)));
        EXPECT_FALSE(IsBar(Pixel(p, 101, 15)));
        EXPECT_FALSE(IsBar(Pixel(p, 150, 15)));
        // Its gradient runs across the bar: white at the top, theme below.
        EXPECT_GT(GetRValue(Pixel(p, 50, 3)), GetRValue(Pixel(p, 50, 16)) + 40);
        // The rounded frame leaves the corner to the skin.
        EXPECT_TRUE(Near(Pixel(p, 0, 0), kSkin, 2));
        DestroyWindow(p);
    }
}

TEST_F(ProgressBarTest, NoBarAtTheLowEndOrWithAnEmptyRange) {
    HWND p = Bar(0, 200, 20, 0, 100, 0);
    EXPECT_FALSE(IsBar(Pixel(p, 10, 15)));
    EXPECT_TRUE(Near(Pixel(p, 10, 15), Pixel(p, 150, 15), 1));
    HWND e = Bar(0, 200, 20, 0, 100, 30);
    SendMessageA(e, PBM_SETRANGE32, 40, 40);
    UpdateWindow(e);
    skin::PaintProgressBar(record_, skin::ReadProp(e, "Hw_lbID"));
    EXPECT_FALSE(IsBar(Pixel(e, 10, 15)));
}

TEST_F(ProgressBarTest, ReversedRangeDrawsTheBarTheFormulaGives) {
    // The control keeps the position of a range whose high end lies below
    // its low end at the high end: the bar is full.
    HWND p = Bar(0, 200, 20, 100, 0, 30);
    ASSERT_EQ(SendMessageA(p, PBM_GETPOS, 0, 0), 0);
    for (int x : {5, 100, 190}) EXPECT_TRUE(IsBar(Pixel(p, x, 15))) << x;
    HWND v = Bar(PBS_VERTICAL, 20, 200, 100, 0, 30);
    ASSERT_EQ(SendMessageA(v, PBM_GETPOS, 0, 0), 0);
    for (int y : {190, 100, 8}) EXPECT_TRUE(IsBar(Pixel(v, 15, y))) << y;
}

TEST_F(ProgressBarTest, VerticalBarRisesFromTheBottom) {
    HWND p = Bar(PBS_VERTICAL, 20, 200, 0, 100, 25);
    EXPECT_EQ(skin::SkinWindowTable[record_].ProgressBars[1].Vertical, 1);
    // len 50, top 150: bar shape (1, 151, 17, 47).
    EXPECT_TRUE(IsBar(Pixel(p, 15, 180)));
    EXPECT_TRUE(IsBar(Pixel(p, 15, 155)));
    EXPECT_FALSE(IsBar(Pixel(p, 15, 146)));
    EXPECT_FALSE(IsBar(Pixel(p, 15, 60)));
    // Its gradient runs across it, left to right.
    EXPECT_GT(GetRValue(Pixel(p, 3, 180)), GetRValue(Pixel(p, 16, 180)) + 40);
}

TEST_F(ProgressBarTest, EachPieceHasItsColourAtChosenPixels) {
    using testsupport::GradientAt;
    using testsupport::Layer;
    using testsupport::Solid;
    const auto frame = Solid(0x32000000);
    const auto outline = Solid(0x9622CADD);
    // The trough and the bar run their gradients across the bar, over the
    // 19 px from its first to its last row (or column); GDI+ puts a pixel's
    // centre on its whole coordinates.
    auto trough = [](double at) { return GradientAt(0xA0FFFFFF, 0x1E000000, at / 19); };
    auto bar = [](double at) { return GradientAt(0x5AFFFFFF, 0xFF22CADD, at / 19); };
    HWND across = Bar(0, 200, 20, 0, 100, 50);               // bar shape (1, 1, 97, 17)
    HWND upright = Bar(PBS_VERTICAL, 20, 200, 0, 100, 25);  // bar shape (1, 151, 17, 47)
    struct Case {
        const char* where;
        HWND bar;
        int x, y;
        COLORREF expected;
    };
    const Case cases[] = {
        {"frame, top side", across, 150, 0, Layer(kSkin, frame)},
        {"frame, left side", across, 0, 10, Layer(kSkin, frame)},
        {"frame's rounded corner", across, 0, 0, kSkin},
        {"trough beyond the bar", across, 150, 10, Layer(kSkin, trough(10))},
        {"bar", across, 50, 10, Layer(Layer(kSkin, trough(10)), bar(10))},
        {"bar near its top", across, 50, 3, Layer(Layer(kSkin, trough(3)), bar(3))},
        {"bar's outline, right side", across, 98, 10, Layer(Layer(kSkin, trough(10)), outline)},
        {"bar's outline, bottom side", across, 50, 18, Layer(Layer(kSkin, trough(18)), outline)},
        {"vertical frame, left side", upright, 0, 100, Layer(kSkin, frame)},
        {"vertical trough above the bar", upright, 14, 30, Layer(kSkin, trough(14))},
        {"vertical bar", upright, 4, 175, Layer(Layer(kSkin, trough(4)), bar(4))},
        {"vertical bar's outline, right side", upright, 18, 175,
         Layer(Layer(kSkin, trough(18)), outline)},
        {"vertical bar's outline, top side", upright, 10, 151,
         Layer(Layer(Layer(kSkin, trough(10)), bar(10)), outline)},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Near(Pixel(c.bar, c.x, c.y), c.expected, 3))
            << c.where << " at (" << c.x << ", " << c.y << ")";
}

TEST_F(ProgressBarTest, ProcedureAndSecondAttach) {
    HWND p = Bar(0, 200, 20, 0, 100, 50);
    const WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(p, "Hw_hProc"));
    // The second attach of the same parent leaves the bar as it is.
    skin::AttachProgressBars(record_, window_);
    EXPECT_EQ(skin::SkinWindowTable[record_].ProgressBars.Count(), 1);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(p, "Hw_hProc")), original);
    EXPECT_NE(original, &skin::ProgressBarSkinProc);
    // A new position repaints through the control's own invalidation.
    SendMessageA(p, PBM_SETPOS, 80, 0);
    UpdateWindow(p);
    EXPECT_TRUE(IsBar(Pixel(p, 150, 15)));
    EXPECT_EQ(SendMessageA(p, PBM_GETPOS, 0, 0), 80);
    // Mouse and focus messages cause no repaint; WM_NCPAINT paints and answers 1.
    Smear(p, RGB(0, 255, 0));
    SendMessageA(p, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(p, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(Near(Pixel(p, 150, 15), RGB(0, 255, 0), 0));
    EXPECT_EQ(SendMessageA(p, WM_NCPAINT, 1, 0), 1);
    EXPECT_TRUE(IsBar(Pixel(p, 150, 15)));
    // Nothing attaches while controls are not skinned.
    skin::SkinControlsFlag = 0;
    HWND q = Child(PROGRESS_CLASSA, 0, "", 20, 60, 100, 20);
    skin::AttachProgressBars(record_, window_);
    EXPECT_EQ(GetPropA(q, "Hw_lbID"), nullptr);
}

TEST_F(ProgressBarTest, PaintsAreIdempotentAndGiveEverythingBack) {
    HWND p = Bar(0, 200, 20, 0, 100, 50);
    const auto first = Pixels(p);
    const LiveCounts before = Live();
    for (int i = 0; i < 40; ++i) Redraw(p);
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(Pixels(p), first);
}

}  // namespace
}  // namespace ctltest
