// Caption painting: buttons in their three looks, the title with its halo,
// repeated painting, the hover fade driven through the window procedure, and
// the objects every painting gives back.
#include <functional>
#include <utility>

#include "drawing/drawing.h"
#include "fixture.h"
#include "resources/carried.h"
#include "skin/capture.h"
#include "skin/caption_paint.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "tests/support/pixels.h"
#include "tests/support/waits.h"

using namespace captiontest;
using skin::Engine;
using skin::SkinWindowTable;

namespace {

class CaptionPaintTest : public SkinnedWindowTest {
protected:
    // The caption band of the cached rendering.
    Pixels Caption(int record) {
        const skin::SkinWindowRecord& r = SkinWindowTable[record];
        return Grab(r.WindowCacheDc, 0, 0, kMainWidth, r.CaptionHeight);
    }
    // The glyph box of a button (one pixel left of its rectangle).
    Pixels ButtonBox(int record, int button) {
        const skin::SkinWindowRecord& r = SkinWindowTable[record];
        const skin::CaptionButton& b = r.CaptionButtons[button];
        return Grab(r.WindowCacheDc, static_cast<int>(b.Rect.x) - 2, 0, b.Width + 4,
                    r.CaptionHeight);
    }
    // Near-white pixels in the title's layout rectangle.
    int WhitePixelsInTitle(int record) {
        const Pixels title = Grab(SkinWindowTable[record].WindowCacheDc, 29, 8, 250, 16);
        int white = 0;
        for (uint32_t p : title.argb)
            if (Near(p, RGB(255, 255, 255), 40)) ++white;
        return white;
    }
};

struct LiveCounts {
    int gdiplus = drw::LiveObjectCount();
    int objects = skin::LiveGdiCount(skin::GdiKind::Object);
    int memoryDcs = skin::LiveGdiCount(skin::GdiKind::MemoryDc);
    int windowDcs = skin::LiveGdiCount(skin::GdiKind::WindowDc);
    int registry = skin::MemoryDcRegistry.Count();
    bool operator==(const LiveCounts& o) const {
        return gdiplus == o.gdiplus && objects == o.objects && memoryDcs == o.memoryDcs &&
               windowDcs == o.windowDcs && registry == o.registry;
    }
};
std::ostream& operator<<(std::ostream& os, const LiveCounts& c) {
    return os << "{gdi+ " << c.gdiplus << ", objects " << c.objects << ", memory DCs "
              << c.memoryDcs << ", window DCs " << c.windowDcs << ", registry " << c.registry
              << "}";
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

// Painting a button, the title or the whole caption again and again leaves
// the cache exactly as one painting does: each restores before it draws.
TEST_F(CaptionPaintTest, PaintingAgainChangesNothing) {
    const int record = MainWindow();
    struct Painting {
        const char* name;
        std::function<void()> paint;
    };
    const Painting paintings[] = {
        {"normal button", [&] { Engine->PaintCaptionButton(record, 1); }},
        {"hot button", [&] { Engine->PaintCaptionButton(record, 2, nullptr, false, 150); }},
        {"hot close button", [&] { Engine->PaintCaptionButton(record, 3, nullptr, false, 240); }},
        {"pressed button", [&] { Engine->PaintCaptionButton(record, 2, nullptr, true); }},
        {"pressed close button", [&] { Engine->PaintCaptionButton(record, 3, nullptr, true); }},
        {"title", [&] { Engine->PaintCaption(record); }},
        {"whole caption",
         [&] {
             Engine->PaintCaption(record);
             for (int i = 1; i <= 3; ++i) Engine->PaintCaptionButton(record, i);
         }},
    };
    for (const Painting& p : paintings) {
        p.paint();
        const Pixels once = GrabCache(record);
        for (int n = 0; n < 5; ++n) p.paint();
        EXPECT_EQ(Difference(GrabCache(record), once), "") << p.name;
    }
}

TEST_F(CaptionPaintTest, HighlightAtAlphaZeroIsTheCleanLayer) {
    const int record = MainWindow();
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    Engine->PaintCaptionButton(record, 2, nullptr, false, 200);
    {
        drw::GraphicsObject g;
        g.FromHdc(r.WindowCacheDc);
        Engine->PaintCaptionButtonHighlight(g, record, 2, 0);
    }
    const int x = static_cast<int>(r.CaptionButtons[2].Rect.x) - 2;
    EXPECT_TRUE(Grab(r.WindowCacheDc, x, 1, 28, 19) == Grab(r.CaptionCacheDc, x, 1, 28, 19));
}

TEST_F(CaptionPaintTest, LooksOfTheButtons) {
    const int record = MainWindow();
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    const Pixels clean = Caption(record);

    // The pressed close button: opaque red at its top (under the faint white
    // band of the glyph's first row), over its glyph box.
    Engine->PaintCaptionButton(record, 3, nullptr, true);
    const int closeX = static_cast<int>(r.CaptionButtons[3].Rect.x) - 1;
    const uint32_t top = GrabCache(record).At(closeX + 4, 2);
    EXPECT_GE((top >> 16) & 0xFF, 200u);
    EXPECT_LE((top >> 8) & 0xFF, 60u);
    EXPECT_LE(top & 0xFF, 60u);

    // Hover: the fade's highest alpha tints the minimize button with the
    // theme colour; the next paint in its normal look takes it away again.
    Engine->PaintCaptionButton(record, 3);
    Engine->PaintCaptionButton(record, 1, nullptr, false, 240);
    const Pixels hot = ButtonBox(record, 1);
    Engine->PaintCaptionButton(record, 1);
    const Pixels normal = ButtonBox(record, 1);
    EXPECT_FALSE(hot == normal);
    // Row 3, left of the glyph: theme colour 0x22CADD (R 0x22, G 0xCA, B 0xDD)
    // at high alpha over the picture pulls blue and green up.
    const uint32_t tinted = hot.At(5, 3), plain = normal.At(5, 3);
    EXPECT_GT(tinted & 0xFF, plain & 0xFF);
    EXPECT_GT((tinted >> 8) & 0xFF, (plain >> 8) & 0xFF);

    // The close button's hover is red, not the theme colour: at the fade's
    // highest alpha its top rows are red over the picture's cyan.
    Engine->PaintCaptionButton(record, 3, nullptr, false, 240);
    const uint32_t red = ButtonBox(record, 3).At(5, 3);
    Engine->PaintCaptionButton(record, 3);
    const uint32_t under = ButtonBox(record, 3).At(5, 3);
    const int rr = (red >> 16) & 0xFF, rg = (red >> 8) & 0xFF, rb = red & 0xFF;
    EXPECT_GT(rr, rg + 100) << std::hex << red;
    EXPECT_GT(rr, rb + 100) << std::hex << red;
    EXPECT_GT(rr, int((under >> 16) & 0xFF) + 60) << std::hex << red << " over " << under;

    // The separator left of the first button is darker than the one left of
    // the second.
    const skin::CaptionButton& first = r.CaptionButtons[1];
    const skin::CaptionButton& second = r.CaptionButtons[2];
    const Pixels layer = Grab(r.CaptionCacheDc, 0, 0, kMainWidth, r.CaptionHeight);
    auto darkening = [&](int lx) {
        const uint32_t a = clean.At(lx, 3), b = layer.At(lx, 3);
        return int((b >> 8) & 0xFF) - int((a >> 8) & 0xFF);
    };
    const int d1 = darkening(static_cast<int>(first.Rect.x - 2));
    const int d2 = darkening(static_cast<int>(second.Rect.x - 2));
    EXPECT_GT(d2, 0);
    EXPECT_GT(d1, d2);
}

TEST_F(CaptionPaintTest, MaximizedWindowShowsTheRestoreGlyph) {
    const int record = MainWindow();
    skin::SkinWindowRecord& r = SkinWindowTable[record];
    for (bool pressed : {false, true}) {
        r.Maximized = 1;
        Engine->PaintCaptionButton(record, 2, nullptr, pressed);
        const Pixels maximized = ButtonBox(record, 2);
        r.Maximized = 0;
        Engine->PaintCaptionButton(record, 2, nullptr, pressed);
        const Pixels normal = ButtonBox(record, 2);
        std::swap(r.CaptionButtons[2].Image, r.CaptionButtons[2].SecondImage);
        Engine->PaintCaptionButton(record, 2, nullptr, pressed);
        const Pixels restoreGlyph = ButtonBox(record, 2);
        std::swap(r.CaptionButtons[2].Image, r.CaptionButtons[2].SecondImage);
        EXPECT_FALSE(maximized == normal) << "pressed " << pressed;
        EXPECT_TRUE(maximized == restoreGlyph) << "pressed " << pressed;
    }
}

// The title is drawn in "宋体" (the test prefix maps it to an installed CJK
// font): white strokes over a dark fill, none when the face does not exist.
TEST_F(CaptionPaintTest, TitleInSongti) {
    skin::GlobalPictureColor = RGB(20, 30, 60);
    const int record = Attach(MakeWindow(kMainWidth, kMainHeight, kMinMax, "拼音批量改名工具"));
    Engine->RenderWindow(record, 0);
    EXPECT_GT(WhitePixelsInTitle(record), 40);

    // Only the colour given: the old face, size and weight stay.
    ASSERT_TRUE(Engine->SetCaptionTextStyle(SkinWindowTable[record].Window, {}, {},
                                            RGB(255, 0, 0)));
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    EXPECT_EQ(r.TitleColor, RGB(255, 0, 0));
    EXPECT_EQ(r.TitleFontName, "宋体");
    EXPECT_EQ(r.TitleFontSize, 12);
    EXPECT_EQ(r.TitleBold, 1);
    EXPECT_EQ(WhitePixelsInTitle(record), 0);

    ASSERT_TRUE(Engine->SetCaptionTextStyle(r.Window, "NoSuchFaceAnywhere", {}, RGB(255, 255, 255)));
    EXPECT_EQ(WhitePixelsInTitle(record), 0);

    // The weight given: a bold title's strokes are wider, so it covers
    // clearly more white pixels than the same title drawn regular.
    ASSERT_TRUE(Engine->SetCaptionTextStyle(r.Window, "宋体", {}, {}, {}, 1));
    const int bold = WhitePixelsInTitle(record);
    ASSERT_TRUE(Engine->SetCaptionTextStyle(r.Window, {}, {}, {}, {}, 0));
    EXPECT_EQ(SkinWindowTable[record].TitleBold, 0);
    const int regular = WhitePixelsInTitle(record);
    EXPECT_GT(regular, 40);
    EXPECT_GT(bold, regular + regular / 5) << "bold " << bold << ", regular " << regular;
}

// The program icon sits at (b + 6, b + 2) = (9, 5) at 17 x 17 over the clean
// caption layer, in a full rendering and in a painting of the caption alone.
TEST_F(CaptionPaintTest, ProgramIconAtTheLeftOfTheCaption) {
    const int record = MainWindow();
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    // What lies left of the title: the layer with the icon drawn on it.
    constexpr int kWidth = 27, kHeight = 25;
    uint32_t* bits = nullptr;
    HBITMAP bitmap =
        testsupport::CreateTopDownDib32(kWidth, kHeight, reinterpret_cast<void**>(&bits));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, kWidth, kHeight, r.CaptionCacheDc, 0, 0, SRCCOPY);
    const Pixels layer = Grab(dc, 0, 0, kWidth, kHeight);
    DrawIconEx(dc, 9, 5, skin::ProgramIcon, 17, 17, 0, nullptr, DI_NORMAL);
    const Pixels expected = Grab(dc, 0, 0, kWidth, kHeight);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    ASSERT_NE(Difference(expected, layer), "") << "the icon shows";

    EXPECT_EQ(Difference(Grab(r.WindowCacheDc, 0, 0, kWidth, kHeight), expected), "");
    Engine->PaintCaption(record);
    EXPECT_EQ(Difference(Grab(r.WindowCacheDc, 0, 0, kWidth, kHeight), expected), "");
}

// Reading the title sends WM_GETTEXT, whose handler may destroy a window: an
// earlier one (the record painted for moves to another number and a later
// record takes its old one) or the painted window itself (its record and
// caches go). The title is drawn with the window's own style or not at all.
namespace {
HWND destroyOnGetText = nullptr;
LRESULT CALLBACK DestroyingOnGetText(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_GETTEXT && destroyOnGetText) DestroyWindow(std::exchange(destroyOnGetText, nullptr));
    return DefWindowProcA(w, m, wp, lp);
}
int PixelsNear(const Pixels& p, COLORREF colour) {
    int n = 0;
    for (uint32_t v : p.argb)
        if (Near(v, colour, 60)) ++n;
    return n;
}
}  // namespace

TEST_F(CaptionPaintTest, ATitleReadThatDestroysAWindowPaintsOnlyWithTheOwnRecord) {
    skin::GlobalPictureColor = RGB(20, 30, 60);
    HWND first = MakeWindow(300, 120);
    HWND painted = MakeWindow(300, 120);
    HWND last = MakeWindow(300, 120);
    SetWindowLongPtrA(painted, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DestroyingOnGetText));
    for (HWND w : {first, painted, last}) Engine->RenderWindow(Attach(w), 0);
    SkinWindowTable[3].TitleColor = RGB(255, 0, 0);
    auto title = [](HWND w) {
        return Grab(SkinWindowTable[skin::FindWindowRecord(w)].WindowCacheDc, 29, 8, 150, 16);
    };
    Engine->PaintCaption(3);
    ASSERT_GT(PixelsNear(title(last), RGB(255, 0, 0)), 40) << "the later record's style";

    destroyOnGetText = first;
    Engine->PaintCaption(2);
    ASSERT_FALSE(IsWindow(first));
    ASSERT_EQ(skin::FindWindowRecord(painted), 1);
    EXPECT_EQ(PixelsNear(title(painted), RGB(255, 0, 0)), 0) << "not in the later record's red";
    EXPECT_GT(PixelsNear(title(painted), RGB(255, 255, 255)), 40) << "in its own white";

    const Pixels lastBefore = GrabCache(2);
    destroyOnGetText = painted;
    Engine->PaintCaption(1);
    ASSERT_FALSE(IsWindow(painted));
    ASSERT_EQ(skin::FindWindowRecord(last), 1);
    EXPECT_EQ(Difference(GrabCache(1), lastBefore), "");
}

// In a window too narrow for a title the layout width would be negative:
// neither the title nor its restore or copy may reach GDI+ or BitBlt, so a
// painting of the caption changes nothing but the icon.
TEST_F(CaptionPaintTest, NarrowWindowDrawsNoTitle) {
    skin::GlobalPictureColor = RGB(20, 30, 60);
    HWND window = MakeWindow(100, 80, kMinMax, "一个很长很长的标题文字");
    const int record = Attach(window);
    Engine->RenderWindow(record, 0);
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    const Pixels before = Grab(r.WindowCacheDc, 0, 0, 100, 80);
    Engine->PaintCaption(record);
    const Pixels after = Grab(r.WindowCacheDc, 0, 0, 100, 80);
    int changed = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool icon = x >= 9 && x < 26 && y >= 5 && y < 22;
            if (!icon && before.At(x, y) != after.At(x, y)) ++changed;
        }
    EXPECT_EQ(changed, 0);
    // The same window made wide enough shows its title.
    SetWindowPos(window, nullptr, 0, 0, 400, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Engine->RenderWindow(record, 0);
    EXPECT_GT(WhitePixelsInTitle(record), 40);
}

// WM_TIMER ticks sent to the window step the fade: 30, 60, ... 240 while the
// pointer rests on the button, 210, ... 0 after it left; then the timer stops.
TEST_F(CaptionPaintTest, FadeStepsAndStops) {
    const int record = MainWindow();
    HWND window = SkinWindowTable[record].Window;
    const WPARAM id = reinterpret_cast<WPARAM>(window);
    // A running timer is seen by its next tick; a killed one by KillTimer
    // finding nothing to kill.
    auto timerTicks = [&] {
        return testsupport::PollUntil(
            [&] {
                MSG msg;
                return PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE) != 0;
            },
            10000);
    };

    SendMessageA(window, WM_MOUSEMOVE, 0, At(620, 10));
    SendMessageA(window, WM_MOUSEHOVER, 0, At(620, 10));
    ASSERT_EQ(SkinWindowTable[record].HotCaptionButton, 1);
    ASSERT_EQ(SkinWindowTable[record].FadeTimerOn, 1);
    std::vector<Pixels> seen;
    for (int step = 1; step <= 8; ++step) {
        SendMessageA(window, WM_TIMER, id, 0);
        seen.push_back(ButtonBox(record, 1));
    }
    EXPECT_TRUE(timerTicks()) << "the timer runs while the pointer rests on the strip";
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    for (int step = 1; step <= 8; ++step) {
        if (step == 8) {
            EXPECT_EQ(SkinWindowTable[record].FadeOut.Button, 1) << "held until the last step";
        }
        SendMessageA(window, WM_TIMER, id, 0);
        seen.push_back(ButtonBox(record, 1));
    }
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    EXPECT_EQ(r.FadeTimerOn, 0);
    EXPECT_EQ(r.FadeOut.Button, 0);
    EXPECT_EQ(r.FadeIn.Button, 0);
    EXPECT_EQ(r.HotCaptionButton, 0);
    EXPECT_FALSE(KillTimer(window, id)) << "the timer is killed";

    // Each tick showed the button at the alpha of its step.
    for (int i = 0; i < 16; ++i) {
        const int alpha = i < 8 ? skin::FadeInAlpha(i + 1) : skin::FadeOutAlpha(i - 7);
        EXPECT_EQ(alpha, i < 8 ? 30 * (i + 1) : 210 - 30 * (i - 8));
        Engine->PaintCaptionButton(record, 1, nullptr, false, alpha);
        EXPECT_TRUE(ButtonBox(record, 1) == seen[static_cast<size_t>(i)]) << "tick " << i + 1;
    }
}

// Every drawing object, DC and bitmap a rendering, a fade tick, a pressed
// look or a title makes is given back. The counters are exact, so one
// object kept per call shows after the first call; a thousand rounds also
// catch one kept only now and then (a cache refilled every so often).
TEST_F(CaptionPaintTest, NothingGrows) {
    constexpr int kRounds = 1000;
    const int record = MainWindow();
    HWND window = SkinWindowTable[record].Window;
    const WPARAM id = reinterpret_cast<WPARAM>(window);
    auto fadeCycle = [&] {
        SendMessageA(window, WM_MOUSEMOVE, 0, At(650, 10));
        SendMessageA(window, WM_MOUSEHOVER, 0, At(650, 10));
        for (int i = 0; i < 8; ++i) SendMessageA(window, WM_TIMER, id, 0);
        SendMessageA(window, WM_MOUSELEAVE, 0, 0);
        for (int i = 0; i < 8; ++i) SendMessageA(window, WM_TIMER, id, 0);
    };
    Engine->RenderWindow(record, 1);
    fadeCycle();
    const LiveCounts before;
    HBITMAP firstRendering =
        reinterpret_cast<HBITMAP>(skin::ReadProp(window, skin::prop::Ck_wtjbdx));
    HDC firstCaptionLayer = SkinWindowTable[record].CaptionCacheDc;
    for (int i = 0; i < kRounds; ++i) Engine->RenderWindow(record, 1);
    EXPECT_EQ(GetObjectType(firstRendering), 0u) << "each rendering frees the one before";
    EXPECT_EQ(GetObjectType(firstCaptionLayer), 0u);
    EXPECT_EQ(LiveCounts(), before) << "after " << kRounds << " renderings";
    for (int i = 0; i < kRounds / 16; ++i) fadeCycle();
    EXPECT_EQ(LiveCounts(), before) << "after " << kRounds / 16 * 16 << " fade ticks";
    for (int i = 0; i < kRounds; ++i) {
        Engine->PaintCaptionButton(record, 1 + i % 3, nullptr, true);
        Engine->PaintCaption(record);
    }
    EXPECT_EQ(LiveCounts(), before) << "after " << kRounds << " pressed looks and titles";
}

// A custom button added while the pointer moves from one caption button to
// the next: the fades, the hot button and the button a release clicks move
// up with their buttons, and the next tick paints the buttons that were
// fading, not their new neighbours.
TEST_F(CaptionPaintTest, AddedButtonLeavesRunningFadesOnTheirButtons) {
    const int record = MainWindow();
    HWND window = SkinWindowTable[record].Window;
    const WPARAM id = reinterpret_cast<WPARAM>(window);
    SendMessageA(window, WM_MOUSEMOVE, 0, At(620, 10));  // minimize
    SendMessageA(window, WM_MOUSEHOVER, 0, At(620, 10));
    SendMessageA(window, WM_TIMER, id, 0);
    SendMessageA(window, WM_MOUSEMOVE, 0, At(645, 10));  // on to maximize
    SendMessageA(window, WM_TIMER, id, 0);
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    ASSERT_EQ(r.FadeIn.Button, 2);
    ASSERT_EQ(r.FadeOut.Button, 1);
    ASSERT_EQ(r.HotCaptionButton, 2);

    ASSERT_TRUE(Engine->AddCaptionButton(window, res::HelpButtonImage(), "自定义", 0));
    EXPECT_EQ(r.FadeIn.Button, 3);
    EXPECT_EQ(r.FadeIn.Step, 1);
    EXPECT_EQ(r.FadeOut.Button, 2);
    EXPECT_EQ(r.HotCaptionButton, 3);
    EXPECT_EQ(r.CaptionButtons[3].Kind, 1) << "still the maximize button";

    // The strip moved left: a rendering puts every button where it now is.
    Engine->RenderWindow(record, 0);
    // The custom button's own columns (the minimize button's restore reaches
    // one column left of its glyph).
    auto customBox = [&] { return Grab(r.WindowCacheDc, 576, 0, 28, r.CaptionHeight); };
    const Pixels custom = customBox();
    const Pixels maximize = ButtonBox(record, 3);
    SendMessageA(window, WM_TIMER, id, 0);
    EXPECT_EQ(Difference(customBox(), custom), "") << "the new button is not fading";
    EXPECT_NE(Difference(ButtonBox(record, 3), maximize), "") << "the maximize button fades in";

    // Pressed on the maximize button, a button added, released: the
    // maximize button is clicked, not the minimize button now in its place.
    const int maximizeX = static_cast<int>(r.CaptionButtons[3].Rect.x) + 13;
    SendMessageA(window, WM_MOUSEMOVE, 0, At(maximizeX, 10));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(maximizeX, 10));
    ASSERT_EQ(Engine->PointerCaptionButton, 3);
    HWND other = MakeWindow(300, 200);
    Attach(other);
    ASSERT_TRUE(Engine->AddCaptionButton(other, res::HelpButtonImage(), "别的窗口", 0));
    EXPECT_EQ(Engine->PointerCaptionButton, 3) << "a button of another window";
    ASSERT_TRUE(Engine->AddCaptionButton(window, res::HelpButtonImage(), "又一个", 0));
    EXPECT_EQ(Engine->PointerCaptionButton, 4);
    SendMessageA(window, WM_LBUTTONUP, 0, At(maximizeX, 10));
    EXPECT_EQ(SkinWindowTable[record].Maximized, 1);
    EXPECT_EQ(SkinWindowTable[record].Minimized, 0);
}
