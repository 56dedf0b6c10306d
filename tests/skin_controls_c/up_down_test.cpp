// Up-down controls: the split between the halves, attach, the painted halves
// and arrows, hover by half, pressed looks and leaks.
#include "fixture.h"

#include "skin/capture.h"

#include <commctrl.h>

#include "skin/controls/up_down.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

namespace ctctest {
namespace {

class UpDownTest : public SkinnedWindowTest {
protected:
    HWND Spin(DWORD style, int x, int y, int w, int h) {
        HWND u = Child(UPDOWN_CLASSA, style, "", x, y, w, h);
        skin::AttachUpDowns(record_, window_);
        return u;
    }
    int EntryIndex(HWND u) const { return static_cast<int>(skin::ReadProp(u, "Hw_lbID")); }
    skin::SkinnedUpDown& Entry(HWND u) const {
        return skin::SkinWindowTable[record_].UpDowns[EntryIndex(u)];
    }
    // Theme-coloured: blue and green well above red.
    static int Teal(COLORREF c) { return (GetGValue(c) + GetBValue(c)) / 2 - GetRValue(c); }
    // Dark pixels (the black arrows) in a rectangle of the control's window.
    int DarkPixels(HWND u, int left, int top, int right, int bottom) const {
        skin::WindowDc dc(u, skin::DcArea::Window);
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (Sum(GetPixel(dc, x, y)) < 120) ++n;
        return n;
    }
};

TEST_F(UpDownTest, APositionOnTheSplitBelongsToTheUpperOrLeftHalf) {
    HWND v = Spin(0, 10, 10, 20, 21);           // split at row 10
    HWND h = Spin(UDS_HORZ, 40, 10, 31, 20);    // split at column 15
    struct Case {
        HWND u;
        int x, y, half;
    };
    const Case cases[] = {
        {v, 5, 0, 0},  {v, 5, 10, 0}, {v, 5, 11, 1}, {v, 5, 20, 1}, {v, 5, -3, 0},
        {v, 5, 300, 1}, {h, 15, 5, 0}, {h, 16, 5, 1}, {h, -1, 5, 0}, {h, 0, 19, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skin::GetUpDownHalf(record_, EntryIndex(c.u), MAKELPARAM(c.x, c.y)), c.half)
            << c.x << "," << c.y;
}

TEST_F(UpDownTest, AttachTakesTheEmptyEntryThenAppendsAndNeverTwice) {
    HWND a = Spin(0, 10, 10, 20, 40);
    EXPECT_EQ(EntryIndex(a), 1);
    HWND b = Spin(UDS_HORZ | UDS_WRAP, 40, 10, 40, 20);
    const auto& entries = skin::SkinWindowTable[record_].UpDowns;
    ASSERT_EQ(entries.Count(), 2);
    EXPECT_EQ(Entry(a).Horizontal, 0);
    EXPECT_EQ(Entry(b).Horizontal, 1);
    EXPECT_EQ(EntryIndex(b), 2);
    EXPECT_EQ(skin::ReadProp(b, "Hw_FuID"), record_);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(skin::ReadProp(b, "Hw_hProc")), Entry(b).PreviousProc);
    // A second attach over the same parent: no entry, no second subclassing,
    // and the control still answers through its own procedure.
    SendMessageA(a, UDM_SETRANGE32, 0, 9);
    SendMessageA(a, UDM_SETPOS32, 0, 4);
    skin::AttachUpDowns(record_, window_);
    EXPECT_EQ(entries.Count(), 2);
    EXPECT_NE(Entry(a).PreviousProc, skin::UpDownSkinProc);
    EXPECT_EQ(SendMessageA(a, UDM_GETPOS32, 0, 0), 4);

    skin::SkinControlsFlag = 0;
    HWND c = Child(UPDOWN_CLASSA, 0, "", 100, 10, 20, 40);
    skin::AttachUpDowns(record_, window_);
    EXPECT_EQ(skin::ReadProp(c, "Hw_lbID"), 0);
}

TEST_F(UpDownTest, TheActiveHalfIsThemedAndThePressedOneReversesItsGradient) {
    HWND u = Spin(0, 20, 20, 24, 40);  // halves 0..19 and 20..39
    const int e = EntryIndex(u);
    skin::PaintUpDown(record_, e, 0);
    const COLORREF restUp = Pixel(u, 4, 16), restDown = Pixel(u, 4, 36);
    // Each half shows its arrow, black, in its middle.
    EXPECT_GT(DarkPixels(u, 6, 4, 18, 16), 8);
    EXPECT_GT(DarkPixels(u, 6, 24, 18, 36), 8);

    // Hot over the lower half: it turns theme-coloured towards its bottom,
    // the upper half keeps its look.
    skin::PaintUpDown(record_, e, 1, 0, MAKELPARAM(5, 30));
    EXPECT_GT(Teal(Pixel(u, 4, 36)), Teal(restDown) + 20);
    EXPECT_TRUE(Near(Pixel(u, 4, 16), restUp, 2));
    const COLORREF hotTop = Pixel(u, 4, 22), hotBottom = Pixel(u, 4, 36);
    EXPECT_GT(Teal(hotBottom), Teal(hotTop));

    // Pressed: the theme sits at the top of the half, white at its bottom.
    skin::PaintUpDown(record_, e, 1, 1, MAKELPARAM(5, 30));
    const COLORREF downTop = Pixel(u, 4, 22), downBottom = Pixel(u, 4, 36);
    EXPECT_GT(Teal(downTop), Teal(downBottom));
    EXPECT_GT(Sum(downBottom), Sum(hotBottom) + 40);

    // Pressed without hot shows no active half at all.
    skin::PaintUpDown(record_, e, 0, 1, MAKELPARAM(5, 30));
    EXPECT_TRUE(Near(Pixel(u, 4, 36), restDown, 2));
    // The same paint twice gives the same picture.
    skin::PaintUpDown(record_, e, 0);
    EXPECT_EQ(Pixel(u, 4, 36), restDown);
}

TEST_F(UpDownTest, EachStateHasItsColourAtChosenPixels) {
    using testsupport::GradientAt;
    using testsupport::Layer;
    HWND v = Spin(0, 20, 20, 24, 40);         // halves (0, 0, 23, 19) and (0, 20, 23, 19)
    HWND h = Spin(UDS_HORZ, 60, 20, 40, 20);  // halves (0, 0, 19, 19) and (20, 0, 19, 19)
    constexpr uint32_t kTheme100 = 0x6422CADD, kTheme150 = 0x9622CADD;
    // Every half lies on the white base at alpha 160; a pixel of it shows
    // the half's gradient at its place, GDI+ putting a pixel's centre on its
    // whole coordinates.
    auto half = [](uint32_t from, uint32_t to, double t) {
        return [=](COLORREF b) {
            return Layer(Layer(b, testsupport::Solid(0xA0FFFFFF)), GradientAt(from, to, t));
        };
    };
    auto black = [](COLORREF) { return RGB(0, 0, 0); };
    enum State { kRest, kHotFirst, kHotSecond, kPressedSecond };
    ExpectLooks({
        {"upper half", v, kRest, 4, 5, half(0x3CFFFFFF, kTheme100, 5.0 / 19)},
        {"lower half", v, kRest, 4, 35, half(0x14FFFFFF, kTheme100, 15.0 / 20)},
        {"hot upper half", v, kHotFirst, 4, 5, half(0x64FFFFFF, kTheme150, 5.0 / 19)},
        {"lower half beside the hot upper", v, kHotFirst, 4, 35,
         half(0x14FFFFFF, kTheme100, 15.0 / 20)},
        {"hot lower half", v, kHotSecond, 4, 35, half(0x64FFFFFF, kTheme150, 15.0 / 20)},
        {"upper half beside the hot lower", v, kHotSecond, 4, 5,
         half(0x3CFFFFFF, kTheme100, 5.0 / 19)},
        {"pressed lower half, top", v, kPressedSecond, 4, 24,
         half(kTheme100, 0x96FFFFFF, 4.0 / 20)},
        {"pressed lower half, bottom", v, kPressedSecond, 4, 35,
         half(kTheme100, 0x96FFFFFF, 15.0 / 20)},
        // The 7 x 4 arrows sit at (8.5, 8) and (8.5, 28): column 10 of the
        // window meets the arrow only in its two widest rows.
        {"up arrow's wide end, low in the upper half", v, kRest, 10, 11, black},
        {"up arrow's point, high in the upper half", v, kRest, 10, 9,
         half(0x3CFFFFFF, kTheme100, 9.0 / 19)},
        {"down arrow's wide end, high in the lower half", v, kRest, 10, 29, black},
        {"down arrow's point, low in the lower half", v, kRest, 10, 31,
         half(0x14FFFFFF, kTheme100, 11.0 / 20)},
        {"left half", h, kRest, 4, 16, half(0x14FFFFFF, kTheme100, 4.0 / 19)},
        {"right half", h, kRest, 36, 16, half(0x14FFFFFF, kTheme100, 17.0 / 21)},
        {"hot right half", h, kHotSecond, 36, 16, half(0x64FFFFFF, kTheme150, 17.0 / 21)},
        // The 4 x 7 arrows sit at (8, 6.5) and (28, 6.5): row 8 of the window
        // meets each arrow only in its two widest columns.
        {"left arrow's wide end, right in the left half", h, kRest, 11, 8, black},
        {"left arrow's point, left in the left half", h, kRest, 9, 8,
         half(0x14FFFFFF, kTheme100, 9.0 / 19)},
        {"right arrow's wide end, left in the right half", h, kRest, 29, 8, black},
        {"right arrow's point, right in the right half", h, kRest, 31, 8,
         half(0x14FFFFFF, kTheme100, (31.0 - 19) / 21)},
    }, [&](const Look& r) {
        const int hot = r.state == kRest ? 0 : 1, pressed = r.state == kPressedSecond ? 1 : 0;
        const bool second = r.state == kHotSecond || r.state == kPressedSecond;
        skin::PaintUpDown(record_, EntryIndex(r.control), hot, pressed,
                          second ? MAKELPARAM(30, 30) : MAKELPARAM(2, 2));
    });
}

TEST_F(UpDownTest, AnOddHeightSplitsAtTheTruncatedHalf) {
    HWND u = Spin(0, 20, 20, 24, 41);  // hh = 20: halves (0, 0, 23, 19) and (0, 20, 23, 19)
    skin::PaintUpDown(record_, EntryIndex(u), 1, 0, MAKELPARAM(5, 30));
    // Row 19 is the upper half's black outline, row 20 the active lower
    // half's theme outline.
    EXPECT_GT(Teal(Pixel(u, 12, 20)), Teal(Pixel(u, 12, 19)) + 40);
    EXPECT_LT(Sum(Pixel(u, 12, 19)), Sum(Pixel(u, 12, 17)));
    // Nothing reaches the last row: every shape ends one pixel short of it.
    EXPECT_TRUE(Near(Pixel(u, 12, 40), BackdropUnder(u, 12, 40), 2));
}

TEST_F(UpDownTest, AHorizontalControlShowsLeftAndRightArrows) {
    HWND u = Spin(UDS_HORZ, 20, 20, 40, 20);  // halves 0..19 and 20..39
    skin::PaintUpDown(record_, EntryIndex(u), 0);
    // Left arrow: its widest column (7 px) at the right of the 4 x 7 picture,
    // centred in the left half at x 8..11.
    auto column = [&](int x) { return DarkPixels(u, x, 0, x + 1, 20); };
    EXPECT_LT(column(8), column(11));
    EXPECT_GT(column(28), column(31));
    EXPECT_GT(column(8) + column(11), 4);
    EXPECT_GT(column(28) + column(31), 4);
    // Hot over the right half.
    const COLORREF rest = Pixel(u, 36, 10);
    skin::PaintUpDown(record_, EntryIndex(u), 1, 0, MAKELPARAM(30, 5));
    EXPECT_GT(Teal(Pixel(u, 36, 10)), Teal(rest) + 20);
}

TEST_F(UpDownTest, HoverRepaintsOnlyWhenTheHalfChanges) {
    HWND u = Spin(0, 20, 20, 24, 40);
    auto& r = skin::SkinWindowTable[record_];
    SendMessageA(u, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Entry(u).Hot, 1);
    EXPECT_EQ(Entry(u).HotHalf, 0);
    EXPECT_EQ(r.HotControlClass, 8);
    EXPECT_EQ(r.PreviousHotEntry, EntryIndex(u));

    Smear(u, RGB(255, 0, 0));
    SendMessageA(u, WM_MOUSEMOVE, 0, MAKELPARAM(6, 8));  // same half
    EXPECT_EQ(Pixel(u, 4, 30), RGB(255, 0, 0));
    SendMessageA(u, WM_MOUSEMOVE, 0, MAKELPARAM(6, 30));  // into the lower half
    EXPECT_NE(Pixel(u, 4, 30), RGB(255, 0, 0));
    EXPECT_EQ(Entry(u).HotHalf, 1);
    const COLORREF hotLower = Pixel(u, 4, 36);

    // Leaving clears the active look although the button is still down.
    Entry(u).Pressed = 1;
    SendMessageA(u, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Entry(u).Hot, 0);
    EXPECT_EQ(r.PreviousHotEntry, 0);
    EXPECT_LT(Teal(Pixel(u, 4, 36)), Teal(hotLower) - 20);
}

TEST_F(UpDownTest, ButtonMessagesAreRememberedForTheNextPaint) {
    HWND u = Spin(0, 20, 20, 24, 40);
    SendMessageA(u, UDM_SETRANGE32, 0, 100);
    SendMessageA(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 30));
    EXPECT_EQ(Entry(u).Pressed, 1);
    EXPECT_EQ(Entry(u).LastButtonPosition, MAKELPARAM(5, 30));
    // The control's own procedure still acts on the press (it counts down).
    EXPECT_EQ(SendMessageA(u, UDM_GETPOS32, 0, 0), 0);
    Entry(u).Hot = 1;
    InvalidateRect(u, nullptr, FALSE);
    UpdateWindow(u);
    // The WM_PAINT drew the pressed lower half: theme at its top.
    EXPECT_GT(Teal(Pixel(u, 4, 22)), Teal(Pixel(u, 4, 36)));
    SendMessageA(u, WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
    EXPECT_EQ(Entry(u).Pressed, 0);
    EXPECT_EQ(Entry(u).LastButtonPosition, MAKELPARAM(5, 8));
    ReleaseCapture();

    Smear(u, RGB(255, 0, 0));
    EXPECT_EQ(SendMessageA(u, WM_NCPAINT, 1, 0), 1);
    EXPECT_EQ(Pixel(u, 4, 4), RGB(255, 0, 0));
    skin::WindowDc dc(u);
    EXPECT_EQ(SendMessageA(u, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
    SendMessageA(u, WM_MOVE, 0, 0);
    EXPECT_NE(Pixel(u, 4, 4), RGB(255, 0, 0));
}

TEST_F(UpDownTest, ManyPaintsLeaveNothingBehind) {
    HWND v = Spin(0, 20, 20, 24, 40);
    HWND h = Spin(UDS_HORZ, 60, 20, 40, 20);
    skin::PaintUpDown(record_, EntryIndex(v));
    const LiveCounts before = Live();
    for (int i = 0; i < 40; ++i) {
        SendMessageA(v, WM_MOUSEMOVE, 0, MAKELPARAM(5, i % 2 ? 5 : 30));
        SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(i % 2 ? 5 : 30, 5));
        SendMessageA(v, WM_MOUSELEAVE, 0, 0);
        InvalidateRect(h, nullptr, TRUE);
        UpdateWindow(h);
    }
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(skin::MemoryDcRegistry.Count(), 0);
}

}  // namespace
}  // namespace ctctest
