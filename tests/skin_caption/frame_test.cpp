// The frame renderer: window region, the cached rendering's corners, border,
// picture layouts and caption gloss, the clean layers, the kept background
// and pictures that do not decode.
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "drawing/drawing.h"
#include "fixture.h"

#include <commctrl.h>

#include "resources/carried.h"
#include "skin/engine.h"
#include "skin/frame.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "skin/test_hooks.h"

using namespace captiontest;
using skin::Engine;
using skin::SkinWindowTable;

namespace {

class FrameTest : public SkinnedWindowTest {};

constexpr COLORREF kRed = RGB(230, 20, 20);
constexpr COLORREF kBlue = RGB(20, 20, 230);

// src over dst at alpha a, per channel.
COLORREF Over(COLORREF src, int a, COLORREF dst) {
    auto mix = [a](int s, int d) { return (s * a + d * (255 - a)) / 255; };
    return RGB(mix(GetRValue(src), GetRValue(dst)), mix(GetGValue(src), GetGValue(dst)),
               mix(GetBValue(src), GetBValue(dst)));
}

}  // namespace

TEST_F(FrameTest, RoundRegionCornersAndBorder) {
    const COLORREF fill = RGB(40, 60, 90);
    HWND window = MakeWindow();
    const int record = Attach(window);
    Engine->RenderWindow(record, 1);

    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, actual), ERROR);
    HRGN expected = CreateRoundRectRgn(0, 0, kMainWidth + 1, kMainHeight + 1, 5, 5);
    // The same points (Wine may keep the window's region in other bands,
    // which EqualRgn tells apart).
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(difference, actual, expected, RGN_XOR), NULLREGION);
    EXPECT_TRUE(PtInRegion(actual, kMainWidth / 2, 0));
    EXPECT_FALSE(PtInRegion(actual, 0, 0));
    EXPECT_FALSE(PtInRegion(actual, kMainWidth - 1, kMainHeight - 1));
    DeleteObject(difference);
    DeleteObject(actual);
    DeleteObject(expected);

    const Pixels cache = GrabCache(record);
    const int W = kMainWidth, H = kMainHeight;
    for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}})
        EXPECT_EQ(cache.At(x, y), 0xFFFF00FFu) << "corner (" << x << ", " << y << ")";
    // Near each corner the key colour lies only outside the window's shape:
    // inside it, it would show on the screen.
    HRGN shape = CreateRoundRectRgn(0, 0, W + 1, H + 1, 5, 5);
    int keyInside = 0, keyOutside = 0;
    for (int cx : {0, W - 6})
        for (int cy : {0, H - 6})
            for (int y = cy; y < cy + 6; ++y)
                for (int x = cx; x < cx + 6; ++x) {
                    if (cache.At(x, y) != 0xFFFF00FFu) continue;
                    (PtInRegion(shape, x, y) ? keyInside : keyOutside) += 1;
                }
    DeleteObject(shape);
    EXPECT_EQ(keyInside, 0);
    EXPECT_GE(keyOutside, 4);
    // Outer outline black at 180 on the edge, inner white at 180 inside it,
    // the plain fill further in.
    EXPECT_TRUE(Near(cache.At(300, H - 1), Over(RGB(0, 0, 0), 180, fill), 12));
    EXPECT_TRUE(Near(cache.At(300, H - 2), Over(RGB(255, 255, 255), 180, fill), 12));
    EXPECT_TRUE(Near(cache.At(0, 250), Over(RGB(0, 0, 0), 180, fill), 12));
    EXPECT_TRUE(Near(cache.At(1, 250), Over(RGB(255, 255, 255), 180, fill), 12));
    EXPECT_TRUE(Near(cache.At(300, 250), fill, 0));
}

// Each layout of a 100 x 60 picture (red left half, blue right half) in a
// 250 x 150 client, caption off so that nothing lies over it.
TEST_F(FrameTest, PictureLayouts) {
    const rt::ByteString png = TwoColourPng(100, 60, kRed, kBlue);
    HWND window = MakeWindow(250, 150, kMinMax);
    const int record = Attach(window, 0);
    struct Probe {
        int x, y;
        enum { Red, Blue, Fill } what;
    };
    struct Layout {
        int mode;
        std::vector<Probe> probes;
    };
    const Layout layouts[] = {
        // Top left; right and bottom edges fade from x 71 and y 31.
        {0, {{5, 20, Probe::Red}, {60, 20, Probe::Blue}, {200, 100, Probe::Fill},
             {20, 120, Probe::Fill}}},
        // Top right, from x 150.
        {1, {{155 + 30, 20, Probe::Red}, {240, 20, Probe::Blue}, {20, 100, Probe::Fill}}},
        // Centred at (75, 45).
        {2, {{80, 60, Probe::Red}, {170, 60, Probe::Blue}, {20, 120, Probe::Fill},
             {60, 60, Probe::Fill}}},
        // Stretched over the whole client.
        {3, {{60, 100, Probe::Red}, {190, 100, Probe::Blue}, {120, 5, Probe::Red}}},
        // Mirrored tiles at 0, 100 (mirrored) and 200; the fill below them.
        {4, {{5, 30, Probe::Red}, {95, 30, Probe::Blue}, {105, 30, Probe::Blue},
             {195, 30, Probe::Red}, {205, 30, Probe::Red}, {245, 30, Probe::Red},
             {100, 100, Probe::Fill}}},
        // Unknown layouts draw no picture.
        {9, {{5, 30, Probe::Fill}, {120, 100, Probe::Fill}}},
    };
    for (const Layout& l : layouts) {
        ASSERT_EQ(Engine->SetWindowBackground(window, png, l.mode), 1);
        Engine->RenderWindow(record, 0);
        const COLORREF fill = SkinWindowTable[record].PictureColor & 0xFFFFFF;
        const Pixels cache = GrabCache(record);
        for (const Probe& p : l.probes) {
            const COLORREF want = p.what == Probe::Red ? kRed : p.what == Probe::Blue ? kBlue : fill;
            EXPECT_TRUE(Near(cache.At(p.x, p.y), want, 8))
                << "mode " << l.mode << " at (" << p.x << ", " << p.y << ")";
        }
    }
}

TEST_F(FrameTest, CaptionGlossAndLayers) {
    const COLORREF fill = RGB(40, 60, 90);
    HWND window = MakeWindow(300, 200, kMinMax);
    const int record = Attach(window, 1, 0, 0, 0, 1);
    Engine->RenderWindow(record, 0);
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    const Pixels cache = GrabCache(record);
    // White at 150 at the top of the caption, fading to nothing at its foot.
    EXPECT_TRUE(Near(cache.At(100, 2), Over(RGB(255, 255, 255), 150 - 150 * 2 / 25, fill), 10));
    EXPECT_TRUE(Near(cache.At(100, 24), fill, 12));
    EXPECT_TRUE(Near(cache.At(100, 30), fill, 0));
    // The caption layer holds the band as it was before any button.
    const Pixels layer = Grab(r.CaptionCacheDc, 0, 0, 300, r.CaptionHeight);
    const Pixels band = Grab(r.WindowCacheDc, 0, 0, 300, r.CaptionHeight);
    const int closeX = static_cast<int>(r.CaptionButtons[3].Rect.x) - 1;
    EXPECT_FALSE(Grab(r.CaptionCacheDc, closeX, 1, 38, 18) ==
                 Grab(r.WindowCacheDc, closeX, 1, 38, 18))
        << "the close glyph is not in the layer";
    EXPECT_EQ(layer.At(100, 2), band.At(100, 2));
    EXPECT_NE(r.StatusCacheDc, nullptr) << "the status layer is made without a bar too";

    // Without a caption: no border and no caption layer.
    HWND bare = MakeWindow(300, 200, kMinMax);
    const int bareRecord = Attach(bare, 0);
    Engine->RenderWindow(bareRecord, 0);
    EXPECT_EQ(SkinWindowTable[bareRecord].CaptionCacheDc, nullptr);
    EXPECT_NE(SkinWindowTable[bareRecord].StatusCacheDc, nullptr);
    EXPECT_TRUE(Near(GrabCache(bareRecord).At(150, 199), fill, 0));
}

// The kept background gives the pixels a full drawing from the picture gives.
TEST_F(FrameTest, KeptBackgroundGivesTheSamePixels) {
    const int record = MainWindow();  // drawn from the picture
    const Pixels drawn = GrabCache(record);
    ASSERT_NE(SkinWindowTable[record].BackgroundCache, nullptr);
    Engine->RenderWindow(record, 1);  // from the kept background
    EXPECT_TRUE(GrabCache(record) == drawn);
    skin::test_hooks::ForgetBackgroundLayer(record);
    Engine->RenderWindow(record, 1);
    EXPECT_TRUE(GrabCache(record) == drawn);

    // A new picture, layout, colour or size is drawn anew.
    const rt::ByteString other = TwoColourPng(64, 64, kRed, kBlue);
    Engine->SetSkinTheme({}, &other, {}, {}, 3);
    Engine->RenderWindow(record, 0);
    EXPECT_TRUE(Near(GrabCache(record).At(100, 300), kRed, 8));
    skin::GlobalPictureMode = 9;
    Engine->RenderWindow(record, 0);
    EXPECT_TRUE(Near(GrabCache(record).At(100, 300), skin::GlobalPictureColor & 0xFFFFFF, 0));
    skin::GlobalPictureColor = RGB(1, 2, 3);
    Engine->RenderWindow(record, 0);
    EXPECT_TRUE(Near(GrabCache(record).At(100, 300), RGB(1, 2, 3), 0));
    SkinWindowTable[record].CaptionGloss = 1;
    Engine->RenderWindow(record, 0);
    EXPECT_FALSE(Near(GrabCache(record).At(100, 3), RGB(1, 2, 3), 20)) << "the gloss is drawn";
    SkinWindowTable[record].CaptionGloss = 0;
    skin::GlobalPictureMode = 3;
    SetWindowPos(SkinWindowTable[record].Window, nullptr, 0, 0, 400, 300,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Engine->RenderWindow(record, 0);
    const Pixels small = GrabCache(record);
    EXPECT_EQ(small.width, 400);
    EXPECT_TRUE(Near(small.At(50, 200), kRed, 8));
    EXPECT_TRUE(Near(small.At(350, 200), kBlue, 8));
}

// Bytes that do not decode: no picture in any layout, a black fill, and the
// rendering finishes (mirrored tiling of a 0-wide picture would never end).
TEST_F(FrameTest, UndecodablePictureInEveryLayout) {
    const rt::ByteString garbage = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    HWND window = MakeWindow(250, 150, kMinMax);
    const int record = Attach(window, 0);
    for (int mode = 0; mode <= 4; ++mode) {
        Engine->SetSkinTheme({}, &garbage, {}, {}, mode);
        EXPECT_EQ(skin::GlobalPictureColor, 0xFF000000u) << "mode " << mode;
        Engine->RenderWindow(record, 0);
        drw::BitmapObject prepared;
        skin::PrepareBackgroundBitmap(record, prepared);
        EXPECT_EQ(prepared.GetNative(), nullptr) << "mode " << mode;
        EXPECT_TRUE(Near(GrabCache(record).At(120, 80), RGB(0, 0, 0), 0)) << "mode " << mode;

        ASSERT_EQ(Engine->SetWindowBackground(window, garbage, mode), 1);
        EXPECT_EQ(SkinWindowTable[record].PictureColor, 0xFF000000u);
        Engine->RenderWindow(record, 0);
        skin::PrepareBackgroundBitmap(record, prepared);
        EXPECT_EQ(prepared.GetNative(), nullptr) << "mode " << mode;
        EXPECT_TRUE(Near(GrabCache(record).At(120, 80), RGB(0, 0, 0), 0)) << "mode " << mode;
    }
}

TEST_F(FrameTest, MirroredTilesReachPastTheClient) {
    const rt::ByteString png = TwoColourPng(100, 40, kRed, kBlue);
    HWND window = MakeWindow(250, 150, kMinMax);
    const int record = Attach(window, 0);
    ASSERT_EQ(Engine->SetWindowBackground(window, png, 4), 1);
    drw::BitmapObject tiles;
    skin::PrepareBackgroundBitmap(record, tiles);
    ASSERT_EQ(tiles.GetWidth(), 250u);
    ASSERT_EQ(tiles.GetHeight(), 40u);
    const COLORREF expected[] = {kRed, kBlue, kBlue, kRed, kRed, kRed};
    const int xs[] = {10, 90, 110, 190, 210, 240};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(Near(tiles.GetPixel(xs[i], 20), expected[i], 8)) << "x " << xs[i];
}

// After a shown rendering the skinned controls lying directly on the window
// repaint; entries of controls inside another child are left alone.
TEST_F(FrameTest, SkinnedChildrenRepaint) {
    HWND window = MakeWindow(300, 200, kMinMax);
    const int record = Attach(window);
    auto child = [](HWND parent, const char* cls, int x) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, x, 50, 60, 20, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    HWND button = child(window, "BUTTON", 10);
    HWND edit = child(window, "EDIT", 80);
    HWND group = child(window, "STATIC", 150);
    HWND inner = child(group, "BUTTON", 0);
    skin::SkinWindowRecord& r = SkinWindowTable[record];
    r.Buttons[1].Window = button;
    r.Edits[1].Window = edit;
    r.Buttons.Append(skin::SkinnedButton{});
    r.Buttons[2].Window = inner;
    Engine->RenderWindow(record, 0);
    EXPECT_EQ(r.RenderNeeded, 0);
    for (HWND h : {button, edit, inner}) ValidateRect(h, nullptr);
    skin::InvalidateSkinnedChildren(record);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(button, &update, FALSE));
    EXPECT_TRUE(GetUpdateRect(edit, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(inner, &update, FALSE));
}

namespace {

// A child window made and owned by a thread of its own, as a component that
// runs its own thread would make one. The thread does not paint it (it
// handles sent messages only), so what the test fills into its place stays.
class ChildOnAnotherThread {
public:
    ChildOnAnotherThread() = default;
    ChildOnAnotherThread(const ChildOnAnotherThread&) = delete;
    ChildOnAnotherThread& operator=(const ChildOnAnotherThread&) = delete;
    ~ChildOnAnotherThread() { Stop(); }

    void Start(HWND parent, int x, int y) {
        parent_ = parent;
        x_ = x;
        y_ = y;
        made_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
        WaitPumping(made_);
    }
    void Stop() {
        if (!thread_) return;
        SetEvent(stop_);
        WaitPumping(thread_);
        for (HANDLE h : {thread_, made_, stop_}) CloseHandle(h);
        thread_ = made_ = stop_ = nullptr;
    }
private:
    // The other thread may send to this one's windows meanwhile.
    static void WaitPumping(HANDLE h) {
        while (MsgWaitForMultipleObjects(1, &h, FALSE, 10000, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG m;
            PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    static DWORD WINAPI Run(void* self) {
        auto* me = static_cast<ChildOnAnotherThread*>(self);
        me->child_ = CreateWindowExA(WS_EX_NOPARENTNOTIFY, "STATIC", "", WS_CHILD | WS_VISIBLE,
                                     me->x_, me->y_, 40, 30, me->parent_, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        ValidateRect(me->child_, nullptr);
        SetEvent(me->made_);
        while (MsgWaitForMultipleObjects(1, &me->stop_, FALSE, INFINITE, QS_SENDMESSAGE) !=
               WAIT_OBJECT_0) {
            MSG m;
            PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        DestroyWindow(me->child_);
        return 0;
    }

    HWND parent_ = nullptr, child_ = nullptr;
    int x_ = 0, y_ = 0;
    HANDLE thread_ = nullptr, made_ = nullptr, stop_ = nullptr;
};

}  // namespace

// The window's copy from its cache never paints over a visible, not
// transparent child, however the children changed since the last copy:
// children made (on this thread or another), moved, hidden, shown, made
// see-through, destroyed, or moved in or out with SetParent between two
// copies. What a child shows is stood in for by green filled into its place
// on the screen before each copy.
TEST_F(FrameTest, BlitLeavesTheChildrenAlone) {
    const int record = MainWindow();
    HWND window = SkinWindowTable[record].Window;
    const HDC cache = SkinWindowTable[record].WindowCacheDc;
    constexpr COLORREF kGreen = RGB(0, 255, 0);
    auto make = [&](int x, int y, DWORD style, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, "STATIC", "", WS_CHILD | style, x, y, 40, 30, window,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    };
    HWND kept = make(100, 100, WS_VISIBLE);
    HWND moving = make(200, 100, WS_VISIBLE);
    HWND hiding = make(300, 100, WS_VISIBLE);
    HWND showing = make(400, 100, 0);
    HWND clearing = make(500, 100, WS_VISIBLE);
    HWND going = make(100, 200, WS_VISIBLE);
    HWND late = nullptr;
    // A hidden window to take children from and give them to.
    HWND holder = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND adopted = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 300, 40, 30,
                                   holder, nullptr, GetModuleHandleA(nullptr), nullptr);
    ChildOnAnotherThread stranger;

    struct Step {
        const char* change;
        std::function<void()> apply;
        std::vector<POINT> covered, painted;  // centres of 40 x 30 boxes
    };
    const Step steps[] = {
        {"first copy", [] {}, {{120, 115}, {220, 115}, {320, 115}, {520, 115}, {120, 215}},
         {{420, 115}, {220, 215}}},
        {"a child made",
         [&] { late = make(200, 200, WS_VISIBLE); },
         {{220, 215}}, {}},
        {"a child moved",
         [&] { SetWindowPos(moving, nullptr, 200, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
         {{220, 315}}, {{220, 115}}},
        {"one hidden, one shown",
         [&] {
             ShowWindow(hiding, SW_HIDE);
             ShowWindow(showing, SW_SHOWNA);
         },
         {{420, 115}}, {{320, 115}}},
        {"one made transparent",
         [&] { SetWindowLongA(clearing, GWL_EXSTYLE, WS_EX_TRANSPARENT); },
         {{120, 115}}, {{520, 115}}},
        {"one destroyed", [&] { DestroyWindow(going); }, {{220, 315}}, {{120, 215}}},
        {"one moved in from another parent", [&] { SetParent(adopted, window); },
         {{320, 315}}, {}},
        {"one moved out to another parent", [&] { SetParent(kept, holder); }, {},
         {{120, 115}}},
        {"one made by another thread", [&] { stranger.Start(window, 400, 300); },
         {{420, 315}}, {}},
    };
    HDC screen = GetDC(window);
    ASSERT_NE(screen, nullptr);
    for (const Step& step : steps) {
        step.apply();
        for (const auto* points : {&step.covered, &step.painted})
            for (const POINT& p : *points) {
                const RECT box{p.x - 20, p.y - 15, p.x + 20, p.y + 15};
                HBRUSH green = CreateSolidBrush(kGreen);
                FillRect(screen, &box, green);
                DeleteObject(green);
            }
        HDC paint = GetDC(window);
        Engine->BlitWindowCache(record, paint);
        ReleaseDC(window, paint);
        GdiFlush();
        for (const POINT& p : step.covered)
            EXPECT_EQ(GetPixel(screen, p.x, p.y), kGreen)
                << step.change << ": child at " << p.x << ", " << p.y << " painted over";
        for (const POINT& p : step.painted)
            EXPECT_EQ(GetPixel(screen, p.x, p.y), GetPixel(cache, p.x, p.y))
                << step.change << ": " << p.x << ", " << p.y << " not painted";
    }
    ReleaseDC(window, screen);
    stranger.Stop();
    DestroyWindow(holder);
    EXPECT_NE(late, nullptr);
}

namespace {

// A window that goes away while the renderer asks it for its title.
HWND vanishOnText = nullptr;
LRESULT CALLBACK VanishingOnTextProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_GETTEXT && w == vanishOnText) {
        vanishOnText = nullptr;
        DestroyWindow(w);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

// The title's WM_GETTEXT may destroy the window and so remove its record: the
// rendering then stops and uses neither the gone record nor the one that
// took its number.
TEST_F(FrameTest, ARecordRemovedWhileTheTitleIsReadIsNotUsed) {
    for (bool withLater : {false, true}) {
        SCOPED_TRACE(withLater ? "with a later window" : "alone");
        HWND going = MakeWindow();
        SetWindowLongPtrA(going, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&VanishingOnTextProc));
        const int record = Attach(going);
        ASSERT_EQ(record, 1);
        HWND later = nullptr;
        Pixels laterCache;
        if (withLater) {
            later = MakeWindow(400, 300);
            const int laterRecord = Attach(later);
            Engine->RenderWindow(laterRecord, 1);
            laterCache = GrabCache(laterRecord);
            SkinWindowTable[laterRecord].RenderNeeded = 1;
        }

        vanishOnText = going;
        Engine->RenderWindow(record, 1);
        EXPECT_FALSE(IsWindow(going));
        if (withLater) {
            ASSERT_EQ(skin::FindWindowRecord(later), 1);
            EXPECT_EQ(SkinWindowTable[1].RenderNeeded, 1);
            const Pixels now = GrabCache(1);
            EXPECT_TRUE(now == laterCache) << Difference(now, laterCache);
            DestroyWindow(later);
        }
        EXPECT_EQ(SkinWindowTable.Count(), 0);
    }
}

namespace {

// A window whose own procedure destroys another window on one message.
UINT destroyOnMessage = 0;
HWND destroyedOnMessage = nullptr;
LRESULT CALLBACK DestroyingOnMessageProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (destroyOnMessage != 0 && m == destroyOnMessage && destroyedOnMessage) {
        destroyOnMessage = 0;
        DestroyWindow(std::exchange(destroyedOnMessage, nullptr));
    }
    return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

// The region change (WM_WINDOWPOSCHANGED) and the title read (WM_GETTEXT)
// may destroy an earlier skinned window, which moves the rendered window's
// record down a number: the rendering goes on at the new number to the end,
// buttons and new background included, and only then is it taken as done.
TEST_F(FrameTest, ARenderingGoesOnWhenAnEarlierRecordIsRemoved) {
    for (UINT message : {static_cast<UINT>(WM_WINDOWPOSCHANGED), static_cast<UINT>(WM_GETTEXT)}) {
        SCOPED_TRACE(message == WM_GETTEXT ? "title read" : "region change");
        skin::GlobalPictureColor = RGB(20, 30, 60);
        HWND earlier = MakeWindow(200, 100);
        HWND rendered = MakeWindow(300, 200);
        SetWindowLongPtrA(rendered, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&DestroyingOnMessageProc));
        ASSERT_EQ(Attach(earlier), 1);
        ASSERT_EQ(Attach(rendered), 2);
        Engine->RenderWindow(2, 0);

        // The new colour shows only in a rendering made after the change.
        const COLORREF fill = RGB(90, 140, 40);
        skin::GlobalPictureColor = fill;
        SkinWindowTable[2].RenderNeeded = 1;
        destroyOnMessage = message;
        destroyedOnMessage = earlier;
        InvalidateRect(rendered, nullptr, FALSE);
        UpdateWindow(rendered);
        ASSERT_FALSE(IsWindow(earlier));
        ASSERT_EQ(skin::FindWindowRecord(rendered), 1);

        const skin::SkinWindowRecord& r = SkinWindowTable[1];
        EXPECT_EQ(r.RenderNeeded, 0);
        EXPECT_TRUE(Near(GrabCache(1).At(150, 150), fill, 0)) << "the new background";
        ASSERT_EQ(r.CaptionButtons.Count(), 3);
        const int closeX = static_cast<int>(r.CaptionButtons[3].Rect.x) - 1;
        EXPECT_FALSE(Grab(r.CaptionCacheDc, closeX, 1, 38, 18) ==
                     Grab(r.WindowCacheDc, closeX, 1, 38, 18))
            << "the close glyph is drawn over the caption layer";
        DestroyWindow(rendered);
        EXPECT_EQ(SkinWindowTable.Count(), 0);
    }
}

namespace {

// An uncompressed 32-bpp BMP, left half one colour, right half the other:
// its byte count depends on its size alone.
rt::ByteString TwoColourBmp(int w, int h, COLORREF left, COLORREF right) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = -h;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(w * h * 4);
    rt::ByteString bytes(file.bfSize, 0);
    std::memcpy(&bytes[0], &file, sizeof file);
    std::memcpy(&bytes[sizeof file], &info, sizeof info);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = x < w / 2 ? left : right;
            unsigned char* p = &bytes[file.bfOffBits + static_cast<size_t>((y * w + x) * 4)];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return bytes;
}

}  // namespace

// A new picture of exactly the old one's byte count, colour and layout is
// drawn anew, not taken for the kept background.
TEST_F(FrameTest, KeptBackgroundTellsApartPicturesOfOneByteCount) {
    HWND window = MakeWindow(300, 200, kMinMax);
    const int record = Attach(window, 0);
    const rt::ByteString redBlue = TwoColourBmp(16, 16, kRed, kBlue);
    const rt::ByteString blueRed = TwoColourBmp(16, 16, kBlue, kRed);
    ASSERT_EQ(redBlue.size(), blueRed.size());
    skin::GlobalPictureMode = 3;
    skin::GlobalPicture = redBlue;
    Engine->RenderWindow(record, 0);
    ASSERT_TRUE(Near(GrabCache(record).At(50, 100), kRed, 8));
    skin::GlobalPicture = blueRed;
    Engine->RenderWindow(record, 0);
    EXPECT_TRUE(Near(GrabCache(record).At(50, 100), kBlue, 8));
    EXPECT_TRUE(Near(GrabCache(record).At(250, 100), kRed, 8));
}

// A shown rendering ends by invalidating the skinned controls on the window,
// list controls with their visible children; one not shown, or before the
// first size message of the process, invalidates none.
TEST_F(FrameTest, ShownRenderingRepaintsTheSkinnedChildren) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                             ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HWND window = MakeWindow(400, 300, kMinMax | WS_CLIPCHILDREN);
    const int record = Attach(window);
    auto child = [&](const char* cls, DWORD style, int x, int y) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, 90, 60, window,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    };
    skin::SkinWindowRecord& r = SkinWindowTable[record];
    // Clipping its children, the list does not pass its own invalidation on
    // to its header: only the walk over its children reaches it.
    HWND list = child(WC_LISTVIEWA, LVS_REPORT | WS_CLIPCHILDREN, 10, 40);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 60;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    r.ListControls[1].Window = list;
    r.ComboBoxes[1].Window = child("COMBOBOX", CBS_DROPDOWNLIST, 110, 40);
    r.Edits[1].Window = child("EDIT", 0, 210, 40);
    r.Buttons[1].Window = child("BUTTON", BS_PUSHBUTTON, 300, 40);
    r.Trackbars[1].Window = child(TRACKBAR_CLASSA, 0, 10, 120);
    r.ProgressBars[1].Window = child(PROGRESS_CLASSA, 0, 110, 120);
    r.UpDowns[1].Window = child(UPDOWN_CLASSA, 0, 210, 120);
    const std::vector<HWND> children = {list,
                                        header,
                                        r.ComboBoxes[1].Window,
                                        r.Edits[1].Window,
                                        r.Buttons[1].Window,
                                        r.Trackbars[1].Window,
                                        r.ProgressBars[1].Window,
                                        r.UpDowns[1].Window};

    const int firstSize = skin::FirstSizePending;
    struct Case {
        int show, firstSizePending;
        bool repainted;
    };
    const Case cases[] = {{1, 0, true}, {0, 0, false}, {1, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "show " << c.show << ", first size pending "
                                        << c.firstSizePending);
        skin::FirstSizePending = c.firstSizePending;
        UpdateWindow(window);
        for (HWND h : children) ValidateRect(h, nullptr);
        Engine->RenderWindow(record, c.show);
        for (size_t i = 0; i < children.size(); ++i) {
            RECT update{};
            EXPECT_EQ(GetUpdateRect(children[i], &update, FALSE) != 0, c.repainted)
                << "child " << i << " (" << skin::GetClassNameText(children[i]) << ")";
        }
    }
    skin::FirstSizePending = firstSize;
}
