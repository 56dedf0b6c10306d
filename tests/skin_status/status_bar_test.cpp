// The engine-drawn status bar on real windows under Wine: layout of the bar
// and its panes before and after a resize, what one pane's repaint touches in
// the cached rendering and on the screen, the styles, the docked windows, and
// that painting gives back every GDI and GDI+ object it makes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing.h"
#include "resources/carried.h"
#include "skin/capture.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "skin/status_bar.h"
#include "tests/support/pixels.h"

namespace skin {
// Found by argument lookup from the expectations below.
bool operator==(const RectI& a, const RectI& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
std::ostream& operator<<(std::ostream& os, const RectI& r) {
    return os << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}
}  // namespace skin

namespace {

using skin::RectI;
using skin::SkinWindowTable;
using skin::StatusPane;

class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override { token_ = skin::StartGdiplus(); }
    void TearDown() override { skin::ShutdownGdiplus(token_); }

private:
    ULONG_PTR token_ = 0;
};
testing::Environment* const gdiplus = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);


// A borderless popup: its client area is the whole window.
HWND MakeWindow(int width, int height, HWND parent = nullptr, DWORD extraStyle = 0) {
    static const char* const kClass = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StatusBarTestWindow";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        return "StatusBarTestWindow";
    }();
    const DWORD style = (parent ? WS_CHILD | WS_VISIBLE : WS_POPUP) | extraStyle;
    return CreateWindowExA(0, kClass, "", style, parent ? 0 : 40, parent ? 0 : 40, width, height,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

rt::CountedArray<StatusPane> Panes(std::initializer_list<int> widths) {
    rt::CountedArray<StatusPane> panes;
    for (int w : widths) {
        StatusPane p;
        p.Width = w;
        panes.Append(p);
    }
    return panes;
}

// A 32-bpp DIB selected into a new memory DC, its pixels reachable.
struct DibDc {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;

    DibDc(int w, int h) : width(w), height(h) {
        void* p = nullptr;
        bitmap = testsupport::CreateTopDownDib32(w, h, &p);
        bits = static_cast<uint32_t*>(p);
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, bitmap);
    }
    DibDc(const DibDc&) = delete;
    DibDc& operator=(const DibDc&) = delete;
    ~DibDc() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    uint32_t At(int x, int y) const { return bits[y * width + x]; }
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        return std::vector<uint32_t>(bits, bits + width * height);
    }
};

// One window with a record of its own in the table, as attach leaves it, and
// a stand-in for the frame renderer's two layers: the whole-window rendering
// filled with a pattern that differs at every pixel, and the status layer
// copied from it under the bar.
class StatusBarWindow {
public:
    StatusBarWindow(int width, int height, int statusHeight,
                    const rt::CountedArray<StatusPane>* panes) {
        window_ = MakeWindow(width, height);
        skin::Engine->FrameBorderWidth = 3;
        auto record = skin::NewSkinWindowRecord();
        record->Window = window_;
        index_ = SkinWindowTable.Append(std::move(record));
        skin::WriteProp(window_, skin::prop::Hw_lbID, index_);
        if (statusHeight > 0) {
            skin::Engine->CreateStatusBar(index_, statusHeight, panes);
            Record().StatusGlowTextColor = 0x000000;
            Record().StatusGlowColor = 0xFFFFFF;
            Record().StatusFontName = "宋体";
            Record().StatusFontSize = 12;
        }
        skin::Engine->LayoutStatusBar(index_);
    }
    StatusBarWindow(const StatusBarWindow&) = delete;
    StatusBarWindow& operator=(const StatusBarWindow&) = delete;
    ~StatusBarWindow() {
        if (index_ >= 1 && index_ <= SkinWindowTable.Count() && Record().Window == window_) {
            Record().WindowCacheDc = nullptr;
            Record().StatusCacheDc = nullptr;
            SkinWindowTable.RemoveAt(index_);
        }
        status_.reset();
        cache_.reset();
        DestroyWindow(window_);
    }

    HWND Window() const { return window_; }
    int Index() const { return index_; }
    skin::SkinWindowRecord& Record() const { return SkinWindowTable[index_]; }
    const DibDc& Cache() const { return *cache_; }

    // The layers a rendering would leave, with every pane painted over them
    // the way the renderer does (through its own graphics, no restore).
    void Render() {
        RECT client{};
        GetClientRect(window_, &client);
        cache_ = std::make_unique<DibDc>(client.right, client.bottom);
        for (int y = 0; y < cache_->height; ++y)
            for (int x = 0; x < cache_->width; ++x)
                // Red stays low, so red text and halos stand out from it.
                cache_->bits[y * cache_->width + x] = 0xFF000000u | ((x * 3 & 0x3F) << 16) |
                                                      ((64 + (y * 5 & 0x7F)) << 8) |
                                                      (64 + ((x + y) & 0x7F));
        const RectI bar = Record().StatusRect;
        status_ = std::make_unique<DibDc>(bar.width, bar.height);
        BitBlt(status_->dc, 0, 0, bar.width, bar.height, cache_->dc, bar.x, bar.y, SRCCOPY);
        Record().WindowCacheDc = cache_->dc;
        Record().StatusCacheDc = status_->dc;
        drw::GraphicsObject g;
        g.FromHdc(cache_->dc);
        for (int i = 1; i <= Record().StatusPanes.Count(); ++i)
            skin::Engine->PaintStatusPane(index_, &g, i);
    }

private:
    HWND window_ = nullptr;
    int index_ = 0;
    std::unique_ptr<DibDc> cache_;
    std::unique_ptr<DibDc> status_;
};

std::vector<RectI> PaneRects(const skin::SkinWindowRecord& r) {
    return std::vector<RectI>(r.StatusPaneRects.begin(), r.StatusPaneRects.end());
}

// ---- layout --------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    int width, height;                 // client size at creation
    bool panesGiven;
    std::vector<int> widths;           // pane widths given (-1 = rest)
    RectI bar;                         // StatusRect after creation
    std::vector<RectI> panes;          // pane rectangles after creation
    int width2, height2;               // client size after the resize
    RectI bar2;
    std::vector<RectI> panes2;
};

TEST(StatusBarLayout, BarAndPaneRectanglesBeforeAndAfterResize) {
    const LayoutCase cases[] = {
        {"no panes given: one rest pane", 600, 400, false, {}, {3, 376, 594, 20},
         {{3, 376, 594, 20}}, 700, 500, {3, 476, 694, 20}, {{3, 476, 694, 20}}},
        {"fixed, rest, fixed: the last starts at the bar's right edge", 600, 400, true,
         {100, -1, 50}, {3, 376, 594, 20},
         {{3, 376, 100, 20}, {103, 376, 494, 20}, {597, 376, 50, 20}}, 700, 500,
         {3, 476, 694, 20}, {{3, 476, 100, 20}, {103, 476, 594, 20}, {697, 476, 50, 20}}},
        {"rest pane first", 600, 400, true, {-1, 60}, {3, 376, 594, 20},
         {{3, 376, 594, 20}, {597, 376, 60, 20}}, 500, 300, {3, 276, 494, 20},
         {{3, 276, 494, 20}, {497, 276, 60, 20}}},
        {"fixed panes keep their widths", 600, 400, true, {120, 80}, {3, 376, 594, 20},
         {{3, 376, 120, 20}, {123, 376, 80, 20}}, 300, 200, {3, 176, 294, 20},
         {{3, 176, 120, 20}, {123, 176, 80, 20}}},
        {"an empty pane list gives a bar without panes", 600, 400, true, {}, {3, 376, 594, 20},
         {}, 700, 500, {3, 476, 694, 20}, {}},
        {"fixed panes wider than the window leave the rest pane 0 wide", 150, 200, true,
         {200, -1, 30}, {3, 176, 144, 20}, {{3, 176, 200, 20}, {203, 176, 0, 20},
         {203, 176, 30, 20}}, 600, 400, {3, 376, 594, 20},
         {{3, 376, 200, 20}, {203, 376, 394, 20}, {597, 376, 30, 20}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        rt::CountedArray<StatusPane> given;
        for (int w : c.widths) given.Append(Panes({w})[1]);
        StatusBarWindow w(c.width, c.height, 20, c.panesGiven ? &given : nullptr);
        const skin::SkinWindowRecord& r = w.Record();
        EXPECT_EQ(r.StatusHeight, 20);
        EXPECT_EQ(r.StatusRect, c.bar);
        EXPECT_EQ(PaneRects(r), c.panes);
        ASSERT_EQ(r.StatusPanes.Count(), static_cast<int>(c.panes.size()));
        for (int i = 1; i <= r.StatusPanes.Count(); ++i)  // -1 is kept as given
            EXPECT_EQ(r.StatusPanes[i].Width, c.panesGiven ? c.widths[i - 1] : -1);

        Resize(w.Window(), c.width2, c.height2);
        skin::Engine->LayoutStatusBar(w.Index());
        EXPECT_EQ(r.StatusRect, c.bar2);
        EXPECT_EQ(PaneRects(r), c.panes2);
    }
}

TEST(StatusBarLayout, SqueezedRestPaneNeverGoesNegative) {
    const rt::CountedArray<StatusPane> given = Panes({400, -1});
    StatusBarWindow w(600, 400, 20, &given);
    EXPECT_EQ(PaneRects(w.Record()), (std::vector<RectI>{{3, 376, 400, 20}, {403, 376, 194, 20}}));
    Resize(w.Window(), 300, 200);
    skin::Engine->LayoutStatusBar(w.Index());
    EXPECT_EQ(PaneRects(w.Record()), (std::vector<RectI>{{3, 176, 400, 20}, {403, 176, 0, 20}}));
}

TEST(StatusBarLayout, WithoutABarOnlyTheBarRectangleFollowsTheWindow) {
    StatusBarWindow w(600, 400, 0, nullptr);
    EXPECT_EQ(w.Record().StatusHeight, 0);
    EXPECT_EQ(w.Record().StatusRect, (RectI{3, 396, 594, 0}));
    EXPECT_EQ(w.Record().StatusPanes.Count(), 0);
    Resize(w.Window(), 400, 300);
    skin::Engine->LayoutStatusBar(w.Index());
    EXPECT_EQ(w.Record().StatusRect, (RectI{3, 296, 394, 0}));
}

TEST(StatusBarLayout, TextStartsAFixedOffsetDownWhateverTheFont) {
    struct Case {
        RectI pane;
        std::optional<int> image;
        drw::RectF expected;
    } cases[] = {
        {{3, 376, 100, 20}, {}, {6, 380, 100, 20}},
        {{3, 376, 100, 20}, 16, {22, 380, 81, 20}},
        {{103, 376, 494, 25}, {}, {106, 382.5f, 494, 25}},   // (25 - 12) / 2 is not rounded
        {{3, 376, 100, 20}, 0, {6, 380, 97, 20}},             // a picture that did not decode
    };
    for (const Case& c : cases) {
        const drw::RectF got = skin::StatusPaneTextLayout(c.pane, c.image);
        EXPECT_FLOAT_EQ(got.x, c.expected.x);
        EXPECT_FLOAT_EQ(got.y, c.expected.y);
        EXPECT_FLOAT_EQ(got.width, c.expected.width);
        EXPECT_FLOAT_EQ(got.height, c.expected.height);
    }
}

TEST(StatusBarLayout, DockedWindowsFillTheSpaceDownToTheBar) {
    StatusBarWindow w(600, 400, 20, nullptr);
    HWND docked = MakeWindow(10, 10, w.Window());
    HWND untouched = MakeWindow(10, 10, w.Window());
    w.Record().DockedWindows.Append(skin::DockedWindow{docked, 60});
    w.Record().DockedWindows.Append(skin::DockedWindow{nullptr, 90});
    skin::Engine->LayoutDockedPanes(w.Index());
    RECT r{};
    GetWindowRect(docked, &r);
    MapWindowPoints(nullptr, w.Window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 596);
    EXPECT_EQ(r.bottom - r.top, 317);
    GetWindowRect(untouched, &r);
    EXPECT_EQ(r.right - r.left, 10);
}

// ---- painting one pane -----------------------------------------------------------

bool Inside(const RectI& r, int x, int y) {
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

// Pixels that differ inside and outside the rectangle.
struct Diff {
    int inside = 0, outside = 0;
};
Diff Compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width,
             const RectI& r) {
    Diff d;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        (Inside(r, x, y) ? d.inside : d.outside)++;
    }
    return d;
}

class StatusPaint : public testing::Test {
protected:
    void SetUp() override {
        panes_ = Panes({100, 150, -1});
        bar_ = std::make_unique<StatusBarWindow>(600, 400, 22, &panes_);
        ShowWindow(bar_->Window(), SW_SHOWNOACTIVATE);
        UpdateWindow(bar_->Window());
        bar_->Render();
        BlitAll();
    }
    void TearDown() override { bar_.reset(); }

    // The whole rendering on the screen, as the window procedure would show it.
    void BlitAll() {
        HDC screen = GetDC(bar_->Window());
        BitBlt(screen, 0, 0, bar_->Cache().width, bar_->Cache().height, bar_->Cache().dc, 0, 0,
               SRCCOPY);
        ReleaseDC(bar_->Window(), screen);
    }
    const RectI& PaneRect(int i) const { return bar_->Record().StatusPaneRects[i]; }
    int SetText(int pane, const rt::AnsiText& text, const rt::ByteString* image = nullptr,
                std::optional<COLORREF> colour = {}) {
        return skin::Engine->SetPaneText(bar_->Window(), pane, text, image, colour);
    }
    // How many pixels of the pane are red-dominant / near-white.
    int CountInPane(int pane, bool (*test)(uint32_t)) const {
        const RectI r = PaneRect(pane);
        GdiFlush();
        int n = 0;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                if (test(bar_->Cache().At(x, y))) ++n;
        return n;
    }

    rt::CountedArray<StatusPane> panes_;
    std::unique_ptr<StatusBarWindow> bar_;
};

bool IsDark(uint32_t px) {
    return ((px >> 16) & 0xFF) < 40 && ((px >> 8) & 0xFF) < 40 && (px & 0xFF) < 40;
}

bool IsRed(uint32_t px) {
    const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    return r > g + 60 && r > b + 60;
}

TEST_F(StatusPaint, SetPaneTextRedrawsOnlyItsPaneInTheCacheAndOnTheScreen) {
    const std::vector<uint32_t> before = bar_->Cache().Pixels();
    ASSERT_EQ(SetText(2, "正在处理文件", nullptr, 0x0000FF), 1);
    const std::vector<uint32_t> after = bar_->Cache().Pixels();
    const Diff d = Compare(before, after, bar_->Cache().width, PaneRect(2));
    EXPECT_EQ(d.outside, 0);
    EXPECT_GT(d.inside, 30) << "the text must show in the pane";
    EXPECT_GT(CountInPane(2, IsRed), 10) << "in the pane's own colour";
    EXPECT_EQ(bar_->Record().StatusPanes[2].Text, "正在处理文件");

    // The pane reached the window at once.
    HDC screen = GetDC(bar_->Window());
    int same = 0, checked = 0;
    const RectI r = PaneRect(2);
    for (int y = r.y; y < r.y + r.height; y += 3)
        for (int x = r.x; x < r.x + r.width; x += 3) {
            ++checked;
            const COLORREF c = GetPixel(screen, x, y);
            const uint32_t px = bar_->Cache().At(x, y);
            if (GetRValue(c) == ((px >> 16) & 0xFF) && GetGValue(c) == ((px >> 8) & 0xFF) &&
                GetBValue(c) == (px & 0xFF))
                ++same;
        }
    ReleaseDC(bar_->Window(), screen);
    EXPECT_EQ(same, checked);
}

TEST_F(StatusPaint, RepeatedPaintsOfAPaneGiveTheSameBytes) {
    const rt::ByteString& picture = res::MinimizeButtonImage();
    struct Case {
        const char* name;
        int glow;
        const rt::ByteString* image;
    } cases[] = {{"plain", 0, nullptr}, {"glow", 1, nullptr}, {"glow and picture", 1, &picture}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(skin::Engine->SetStatusBarStyle(bar_->Window(), 0, c.glow), 1);
        for (int pane = 1; pane <= 3; ++pane) {
            SCOPED_TRACE(pane);
            const std::vector<uint32_t> before = bar_->Cache().Pixels();
            ASSERT_EQ(SetText(pane, "第一次", c.image), 1);
            const std::vector<uint32_t> once = bar_->Cache().Pixels();
            EXPECT_EQ(Compare(before, once, bar_->Cache().width, PaneRect(pane)).outside, 0);
            for (int i = 0; i < 4; ++i) ASSERT_EQ(SetText(pane, "第一次", c.image), 1);
            const Diff again = Compare(once, bar_->Cache().Pixels(), bar_->Cache().width, PaneRect(pane));
            EXPECT_EQ(again.inside, 0);
            EXPECT_EQ(again.outside, 0);
        }
    }
}

TEST_F(StatusPaint, NewTextReplacesTheOldInsteadOfPilingOnIt) {
    ASSERT_EQ(SetText(1, "甲"), 1);
    const std::vector<uint32_t> first = bar_->Cache().Pixels();
    ASSERT_EQ(SetText(1, "乙乙乙乙"), 1);
    ASSERT_EQ(SetText(1, "甲"), 1);
    EXPECT_TRUE(bar_->Cache().Pixels() == first);
}

TEST_F(StatusPaint, OmittedPictureAndColourAreKept) {
    const rt::ByteString& picture = res::CloseButtonImage();
    ASSERT_EQ(SetText(3, "一", &picture, 0x00123456), 1);
    ASSERT_EQ(SetText(3, "二"), 1);
    const StatusPane& p = bar_->Record().StatusPanes[3];
    EXPECT_EQ(p.Text, "二");
    EXPECT_TRUE(p.Image == picture);
    EXPECT_EQ(p.TextColor, 0x00123456u);
}

TEST_F(StatusPaint, OutOfRangePanesAndUnskinnedWindowsAreRefusedAndDrawNothing) {
    const std::vector<uint32_t> before = bar_->Cache().Pixels();
    EXPECT_EQ(SetText(0, "x"), 0);
    EXPECT_EQ(SetText(4, "x"), 0);
    EXPECT_EQ(SetText(-1, "x"), 0);
    HWND plain = MakeWindow(100, 100);
    EXPECT_EQ(skin::Engine->SetPaneText(plain, 1, "x"), 0);
    EXPECT_EQ(skin::Engine->SetStatusBarStyle(plain), 0);
    EXPECT_EQ(skin::Engine->SetPaneText(nullptr, 1, "x"), 0);
    DestroyWindow(plain);
    EXPECT_TRUE(bar_->Cache().Pixels() == before);
    for (const StatusPane& p : bar_->Record().StatusPanes) EXPECT_EQ(p.Text, "");
}

TEST_F(StatusPaint, GlowDrawsAHaloInTheGlowColourAroundTheText) {
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(bar_->Window(), 0, 0), 1);
    ASSERT_EQ(SetText(2, "光晕文字测试"), 1);
    const int plainRed = CountInPane(2, IsRed);
    // Red halo, black text.
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(bar_->Window(), 0, 1, 0x000000, 0x0000FF), 1);
    ASSERT_EQ(SetText(2, "光晕文字测试"), 1);
    EXPECT_EQ(plainRed, 0);
    EXPECT_GT(CountInPane(2, IsRed), 20);
    // The text itself, black, over its halo.
    EXPECT_GT(CountInPane(2, IsDark), 10);
}

TEST_F(StatusPaint, AutomaticTextColourTakesTheDerivedColourOfThePicture) {
    const COLORREF derived = rt::DerivedColour(skin::GlobalPictureColor);
    // Text pixels near the derived colour (the pattern under the bar never is).
    auto nearDerived = [&] {
        const RectI r = PaneRect(1);
        GdiFlush();
        int n = 0;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) {
                const uint32_t px = bar_->Cache().At(x, y);
                if (std::abs(static_cast<int>((px >> 16) & 0xFF) - GetRValue(derived)) < 48 &&
                    std::abs(static_cast<int>((px >> 8) & 0xFF) - GetGValue(derived)) < 48 &&
                    std::abs(static_cast<int>(px & 0xFF) - GetBValue(derived)) < 48)
                    ++n;
            }
        return n;
    };
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(bar_->Window(), 1), 1);
    ASSERT_EQ(SetText(1, "自动颜色", nullptr, derived ^ 0x808080), 1);
    EXPECT_GT(nearDerived(), 10) << std::hex << "derived colour " << derived;
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(bar_->Window(), 0), 1);
    ASSERT_EQ(SetText(1, "自动颜色"), 1);
    EXPECT_EQ(nearDerived(), 0) << "the pane's own colour once the automatic colour is off";
}

TEST_F(StatusPaint, PaintingGivesBackEveryObjectItMakes) {
    const rt::ByteString& picture = res::HelpButtonImage();
    const rt::ByteString garbage = {1, 2, 3, 4, 5};
    // Warm up lazily made GDI+ state (font cache, codecs) before counting.
    SetText(1, "预热", &picture);
    const int gdiplusObjects = drw::LiveObjectCount();
    const int memoryDcs = skin::LiveGdiCount(skin::GdiKind::MemoryDc);
    const int windowDcs = skin::LiveGdiCount(skin::GdiKind::WindowDc);
    const int gdiObjects = skin::LiveGdiCount(skin::GdiKind::Object);
    const int registry = skin::MemoryDcRegistry.Count();
    for (int i = 0; i < 200; ++i) {
        skin::Engine->SetStatusBarStyle(bar_->Window(), i % 2, (i / 2) % 2);
        ASSERT_EQ(SetText(1 + i % 3, "第" + std::to_string(i) + "次",
                          i % 5 == 0 ? &garbage : &picture),
                  1);
    }
    EXPECT_EQ(drw::LiveObjectCount(), gdiplusObjects);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::MemoryDc), memoryDcs);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::WindowDc), windowDcs);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::Object), gdiObjects);
    EXPECT_EQ(skin::MemoryDcRegistry.Count(), registry);
}

TEST(StatusPaintBeforeRendering, SetPaneTextKeepsTheTextForTheFirstRendering) {
    StatusBarWindow w(300, 200, 20, nullptr);
    ASSERT_EQ(w.Record().WindowCacheDc, nullptr);
    EXPECT_EQ(skin::Engine->SetPaneText(w.Window(), 1, "稍后显示"), 1);
    EXPECT_EQ(w.Record().StatusPanes[1].Text, "稍后显示");
}

TEST(StatusPaintDeath, PaintingAPaneThatIsNotThereStopsWithTheErrorReport) {
    SetEnvironmentVariableA("PINYIN_ERROR_REPORT_QUIET", "1");
    StatusBarWindow w(300, 200, 20, nullptr);
    EXPECT_EXIT(skin::Engine->PaintStatusPane(w.Index(), nullptr, 2), testing::ExitedWithCode(3),
                "out of range");
}

// ---- on a window skinned by attach ------------------------------------------------

std::vector<uint32_t> ReadCachePixels(HDC dc, int width, int height) {
    return testsupport::ReadSelectedBitmap32(dc, width, height);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(StatusOnASkinnedWindow, PanesFollowTheWindowAndRepaintOverTheRenderedStatusLayer) {
    HWND window = MakeWindow(600, 400, nullptr, WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SetWindowTextA(window, "拼音状态栏");
    rt::CountedArray<StatusPane> panes = Panes({160, -1, 90});
    panes[1].Text = "就绪";
    panes[1].Image = res::HelpButtonImage();
    panes[1].TextColor = 0x00404040;
    panes[3].Text = "共 10 个";
    skin::Engine->AttachSkin(window, {}, 1, 1, 0, 0, 1, 0, 22, &panes);
    const int index = skin::FindWindowRecord(window);
    ASSERT_GT(index, 0);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    PumpMessages();
    const skin::SkinWindowRecord* r = &SkinWindowTable[index];
    ASSERT_NE(r->WindowCacheDc, nullptr);
    EXPECT_EQ(r->StatusRect, (RectI{3, 374, 594, 22}));
    EXPECT_EQ(PaneRects(*r),
              (std::vector<RectI>{{3, 374, 160, 22}, {163, 374, 434, 22}, {597, 374, 90, 22}}));

    const std::vector<uint32_t> rendered = ReadCachePixels(r->WindowCacheDc, 600, 400);
    ASSERT_EQ(skin::Engine->SetPaneText(window, 2, "正在转换 3/10", nullptr, 0x00FFFF00), 1);
    const std::vector<uint32_t> once = ReadCachePixels(r->WindowCacheDc, 600, 400);
    const Diff d = Compare(rendered, once, 600, r->StatusPaneRects[2]);
    EXPECT_EQ(d.outside, 0);
    EXPECT_GT(d.inside, 30);

    const int gdiplusObjects = drw::LiveObjectCount();
    const int gdiObjects = skin::LiveGdiCount(skin::GdiKind::Object);
    const int windowDcs = skin::LiveGdiCount(skin::GdiKind::WindowDc);
    for (int i = 0; i < 50; ++i)
        skin::Engine->SetPaneText(window, 2, "正在转换 3/10", nullptr, 0x00FFFF00);
    EXPECT_TRUE(ReadCachePixels(r->WindowCacheDc, 600, 400) == once);
    EXPECT_EQ(drw::LiveObjectCount(), gdiplusObjects);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::Object), gdiObjects);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::WindowDc), windowDcs);

    // A glowing pane beside it leaves the other panes as they were.
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(window, 0, 1, 0x000000, 0x00FFFFFF), 1);
    ASSERT_EQ(skin::Engine->SetPaneText(window, 1, "就绪"), 1);
    const Diff glow = Compare(once, ReadCachePixels(r->WindowCacheDc, 600, 400), 600,
                              r->StatusPaneRects[1]);
    EXPECT_EQ(glow.outside, 0);
    EXPECT_GT(glow.inside, 30);

    // To look at the bar: PINYIN_STATUS_SHOT_MS keeps the window up that long.
    if (const char* hold = getenv("PINYIN_STATUS_SHOT_MS"))
        for (int waited = 0; waited < atoi(hold); waited += 50) {
            PumpMessages();  // lets Wine put the window's pixels on the display
            Sleep(50);
        }

    // The window procedure lays the bar out again when the size changes.
    SetWindowPos(window, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    r = &SkinWindowTable[index];
    EXPECT_EQ(r->StatusRect, (RectI{3, 474, 694, 22}));
    EXPECT_EQ(PaneRects(*r),
              (std::vector<RectI>{{3, 474, 160, 22}, {163, 474, 534, 22}, {697, 474, 90, 22}}));
    DestroyWindow(window);
    EXPECT_EQ(skin::FindWindowRecord(window), 0);
}

// ---- style ---------------------------------------------------------------------

TEST(StatusStyle, OmittedArgumentsTakeTheirDefaultsButTheFontIsKept) {
    StatusBarWindow w(300, 200, 20, nullptr);
    const skin::SkinWindowRecord& r = w.Record();
    auto expectStyle = [&r](int automatic, int glow, COLORREF glowText, COLORREF glowColour) {
        EXPECT_EQ(r.StatusTextColor, automatic);
        EXPECT_EQ(r.StatusGlow, glow);
        EXPECT_EQ(r.StatusGlowTextColor, glowText);
        EXPECT_EQ(r.StatusGlowColor, glowColour);
        EXPECT_EQ(r.StatusFontName, "黑体");
        EXPECT_EQ(r.StatusFontSize, 16);
    };
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(w.Window(), 0, 1, 0x112233, 0x445566, "黑体", 16),
              1);
    expectStyle(0, 1, 0x112233, 0x445566);
    ASSERT_EQ(skin::Engine->SetStatusBarStyle(w.Window()), 1);
    expectStyle(1, 0, 0x000000, 0xFFFFFF);
}

TEST(StatusStyle, ASkinnedControlIsNotTakenForTheWindowItsIndexNames) {
    // A control's Hw_lbID is its entry index in its family: 1 for the first
    // button, which is also the number of the first window's record.
    StatusBarWindow first(300, 200, 20, nullptr);
    StatusBarWindow second(300, 200, 20, nullptr);
    HWND button = MakeWindow(20, 20, second.Window());
    skin::WriteProp(button, skin::prop::Hw_lbID, first.Index());
    skin::WriteProp(button, skin::prop::Hw_FuID, second.Index());
    const int before = first.Record().StatusGlow;
    EXPECT_EQ(skin::Engine->SetStatusBarStyle(button, 1, 1), 0);
    EXPECT_EQ(first.Record().StatusGlow, before);
}

// ---- through the method table -------------------------------------------------------

TEST(StatusThunks, TextAndPictureArgumentsArriveThroughTheMethodTable) {
    StatusBarWindow w(300, 200, 20, nullptr);
    skin::CallbackThunk style = skin::Engine->BuildCallbackThunk(skin::Operation::SetStatusBarStyle, 7);
    skin::CallbackThunk text = skin::Engine->BuildCallbackThunk(skin::Operation::SetPaneText, 5);
    ASSERT_FALSE(style.Empty());
    ASSERT_FALSE(text.Empty());
    using StyleFn = int(WINAPI*)(HWND, int, int, COLORREF, COLORREF, const char*, int);
    using TextFn = int(WINAPI*)(HWND, int, const char*, const rt::ByteString*, COLORREF);
    auto setStyle = reinterpret_cast<StyleFn>(style.Address());
    auto setText = reinterpret_cast<TextFn>(text.Address());

    EXPECT_EQ(setStyle(w.Window(), 0, 1, 0x010203, 0x040506, "楷体", 14), 1);
    EXPECT_EQ(w.Record().StatusGlow, 1);
    EXPECT_EQ(w.Record().StatusFontName, "楷体");
    EXPECT_EQ(w.Record().StatusFontSize, 14);
    EXPECT_EQ(setStyle(w.Window(), 1, 0, 0, 0xFFFFFF, nullptr, 12), 1);
    EXPECT_EQ(w.Record().StatusFontName, "楷体") << "no face keeps the face";

    const rt::ByteString picture = {0x89, 'P', 'N', 'G'};
    EXPECT_EQ(setText(w.Window(), 1, "经由方法表", &picture, 0x00ABCDEF), 1);
    EXPECT_EQ(w.Record().StatusPanes[1].Text, "经由方法表");
    EXPECT_TRUE(w.Record().StatusPanes[1].Image == picture);
    EXPECT_EQ(setText(w.Window(), 1, "无图", nullptr, 0x00ABCDEF), 1);
    EXPECT_TRUE(w.Record().StatusPanes[1].Image == picture);
    EXPECT_EQ(setText(w.Window(), 2, "x", nullptr, 0), 0);
}

}  // namespace

namespace {

// A PNG of w x h in one opaque colour (ARGB).
rt::ByteString SolidPng(int w, int h, uint32_t argb) {
    drw::BitmapObject bitmap;
    bitmap.Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bitmap.SetPixel(x, y, argb);
    return bitmap.SaveToBytes(rt::AnsiText(drw::ImageFormatPNG));
}

bool IsBlue(uint32_t px) {
    const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    return b > 200 && r < 60 && g < 60;
}

// The alpha at which white lies over the status layer in a pixel of the
// cached rendering (from the green channel, which the pattern keeps in
// 64..191).
double WhiteAlpha(uint32_t painted, uint32_t layer) {
    const double p = (painted >> 8) & 0xFF, l = (layer >> 8) & 0xFF;
    return (p - l) * 255.0 / (255.0 - l);
}

}  // namespace

// A pane's own look over the status layer: a white gradient from alpha 60
// at the top to 10 at the bottom, its picture 2 px in and centred in height,
// and its text beyond the picture.
TEST_F(StatusPaint, PaneGradientPictureAndText) {
    const RectI empty = PaneRect(2);
    ASSERT_EQ(SetText(2, ""), 1);
    HDC layer = bar_->Record().StatusCacheDc;
    const RectI bar = bar_->Record().StatusRect;
    GdiFlush();
    auto alphaAt = [&](int x, int y) {
        const COLORREF under = GetPixel(layer, x - bar.x, y - bar.y);
        return WhiteAlpha(bar_->Cache().At(x, y), testsupport::DibPixel(under));
    };
    for (int x = empty.x + 10; x < empty.x + empty.width; x += 37) {
        SCOPED_TRACE(x);
        EXPECT_NEAR(alphaAt(x, empty.y), 60, 6) << "top row";
        EXPECT_NEAR(alphaAt(x, empty.y + empty.height - 1), 12, 6) << "bottom row";
        EXPECT_NEAR(alphaAt(x, empty.y + empty.height / 2), 36, 8) << "half way";
    }

    // A 6 x 8 picture in the 22-px pane: at (x + 2, y + 7), the text from x + 9.
    const rt::ByteString blue = SolidPng(6, 8, 0xFF0000FF);
    ASSERT_EQ(SetText(1, "图文测试", &blue, 0x0000FF), 1);
    const RectI p = PaneRect(1);
    GdiFlush();
    // (Edge rows and columns may come out blended: Wine samples the
    // picture's edges half a pixel off.)
    for (int y = p.y; y < p.y + p.height; ++y)
        for (int x = p.x; x < p.x + 12; ++x) {
            const int dx = x - p.x, dy = y - p.y;
            const bool core = dx >= 3 && dx < 7 && dy >= 8 && dy < 14;
            const bool nearPicture = dx >= 1 && dx < 9 && dy >= 6 && dy < 16;
            if (core) {
                EXPECT_TRUE(IsBlue(bar_->Cache().At(x, y))) << dx << ", " << dy;
            }
            if (!nearPicture) {
                EXPECT_FALSE(IsBlue(bar_->Cache().At(x, y))) << dx << ", " << dy;
            }
        }
    int redBeforeText = 0, redText = 0;
    for (int y = p.y; y < p.y + p.height; ++y)
        for (int x = p.x; x < p.x + p.width; ++x)
            if (IsRed(bar_->Cache().At(x, y))) (x < p.x + 9 ? redBeforeText : redText)++;
    EXPECT_EQ(redBeforeText, 0);
    EXPECT_GT(redText, 20);
}

// What attach gives a window with a bar: black glowing text on a white glow
// in 12-px 宋体; a window without a bar gets none of it.
TEST(StatusOnASkinnedWindow, AttachGivesTheBarItsStyleAndTheRenderingPaintsThePanes) {
    HWND window = MakeWindow(400, 300, nullptr, WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    HWND plain = MakeWindow(400, 300);
    rt::CountedArray<StatusPane> panes = Panes({120, -1});
    skin::Engine->AttachSkin(window, {}, 1, 1, 0, 0, 1, 0, 22, &panes);
    skin::Engine->AttachSkin(plain);
    const int index = skin::FindWindowRecord(window);
    const skin::SkinWindowRecord& r = SkinWindowTable[index];
    EXPECT_EQ(r.StatusGlowTextColor, 0x000000u);
    EXPECT_EQ(r.StatusGlowColor, 0xFFFFFFu);
    EXPECT_EQ(r.StatusFontName, "宋体");
    EXPECT_EQ(r.StatusFontSize, 12);
    const skin::SkinWindowRecord& p = SkinWindowTable[skin::FindWindowRecord(plain)];
    EXPECT_EQ(p.StatusGlowColor, 0u);
    EXPECT_EQ(p.StatusFontName, "");
    EXPECT_EQ(p.StatusFontSize, 0);

    // Every pane is painted over the clean status layer (here a dark fill,
    // which the panes' white gradient lightens).
    const COLORREF fill = skin::GlobalPictureColor;
    skin::GlobalPictureColor = RGB(40, 60, 90);
    skin::Engine->RenderWindow(index, 0);
    skin::GlobalPictureColor = fill;
    const RectI bar = r.StatusRect;
    const std::vector<uint32_t> layer = ReadCachePixels(r.StatusCacheDc, bar.width, bar.height);
    const std::vector<uint32_t> cache = ReadCachePixels(r.WindowCacheDc, 400, 300);
    for (int pane = 1; pane <= 2; ++pane) {
        const RectI rect = r.StatusPaneRects[pane];
        int lighter = 0;
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            const uint32_t under = layer[static_cast<size_t>(x - bar.x)];
            const uint32_t painted = cache[static_cast<size_t>(rect.y * 400 + x)];
            if (((painted >> 8) & 0xFF) > ((under >> 8) & 0xFF) + 8) ++lighter;
        }
        EXPECT_GT(lighter, rect.width * 9 / 10) << "pane " << pane;
    }
    DestroyWindow(plain);
    DestroyWindow(window);
    PumpMessages();
}
