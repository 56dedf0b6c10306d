// The engine's operations as a caller outside the program reaches them:
// through thunks built from the method table, each argument a 32-bit value.
#include <functional>
#include <vector>

#include "drawing/drawing.h"
#include "fixture.h"
#include "resources/carried.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

using namespace captiontest;
using skin::Engine;
using skin::Operation;
using skin::SkinWindowTable;

namespace {

class MethodTableTest : public SkinnedWindowTest {};

// A mid-grey 32-bpp surface to draw on: what is drawn dark or light shows.
constexpr uint32_t kGrey = 0x808080;
class Canvas {
public:
    Canvas(int w, int h) : width_(w) {
        bitmap_ = testsupport::CreateTopDownDib32(w, h, reinterpret_cast<void**>(&bits_));
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < w * h; ++i) bits_[i] = kGrey;
        graphics_.FromHdc(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        graphics_.Delete();
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    drw::GraphicsObject* Graphics() { return &graphics_; }
    uint32_t At(int x, int y) {
        graphics_.Flush(1);
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    uint32_t* bits_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    drw::GraphicsObject graphics_;
};

bool Darker(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 0x7C && ((rgb >> 8) & 0xFF) < 0x7C && (rgb & 0xFF) < 0x7C;
}

}  // namespace

// Each operation that takes texts, pictures, rectangles or a graphics
// surface, called through its thunk, does what it does when called directly.
TEST_F(MethodTableTest, EverySlotReachesItsOperation) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    Engine->RenderWindow(record, 0);
    HWND barWindow = MakeWindow(400, 300);
    Engine->AttachSkin(barWindow, {}, 1, 0, 0, 0, 1, 0, 20);
    const int barRecord = skin::FindWindowRecord(barWindow);
    Engine->RenderWindow(barRecord, 0);
    auto cache = [&](int rec) { return SkinWindowTable[rec].WindowCacheDc; };
    auto rec = [&]() -> skin::SkinWindowRecord& { return SkinWindowTable[record]; };
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));

    struct Case {
        const char* name;
        Operation op;
        int arguments;
        std::function<void(std::uintptr_t)> check;
    };
    const Case cases[] = {
        {"GetCaptionStripRect", Operation::GetCaptionStripRect, 2,
         [&](std::uintptr_t f) {
             RECT strip{-1, -1, -1, -1};
             auto call = reinterpret_cast<RECT*(WINAPI*)(HWND, RECT*)>(f);
             EXPECT_EQ(call(window, &strip), &strip);
             EXPECT_EQ(strip.left, 604);
             EXPECT_EQ(strip.top, 0);
             EXPECT_EQ(strip.right, 699);
             EXPECT_EQ(strip.bottom, 22);
             EXPECT_EQ(call(window, nullptr), nullptr);
         }},
        {"PaintCaption", Operation::PaintCaption, 3,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(int, drw::GraphicsObject*, const char*)>(f);
             call(record, nullptr, "");  // an empty title given draws none
             const Pixels none = Grab(cache(record), 0, 0, 400, 25);
             call(record, nullptr, nullptr);  // no title given: the window's text
             const Pixels own = Grab(cache(record), 0, 0, 400, 25);
             EXPECT_NE(Difference(own, none), "");
             call(record, nullptr, "拼音批量改名");
             EXPECT_EQ(Difference(Grab(cache(record), 0, 0, 400, 25), own), "");
         }},
        {"RestoreCaptionCache", Operation::RestoreCaptionCache, 2,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(int, const RECT*)>(f);
             RECT painted{0, 0, 100, 25};
             FillRect(cache(record), &painted, green);
             RECT back{10, 2, 60, 20};
             call(record, &back);
             EXPECT_EQ(Difference(Grab(cache(record), 10, 2, 50, 18),
                                  Grab(rec().CaptionCacheDc, 10, 2, 50, 18)),
                       "");
             EXPECT_TRUE(Near(Grab(cache(record), 60, 2, 1, 1).At(0, 0), RGB(0, 255, 0), 0));
             call(record, &painted);
         }},
        {"PaintCaptionButtonHighlight", Operation::PaintCaptionButtonHighlight, 4,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(drw::GraphicsObject*, int, int, int)>(f);
             drw::GraphicsObject g;
             g.FromHdc(cache(record));
             call(&g, record, 2, 240);
             g.Delete();
             EXPECT_NE(Difference(Grab(cache(record), 632, 1, 28, 19),
                                  Grab(rec().CaptionCacheDc, 632, 1, 28, 19)),
                       "");
             Engine->PaintCaptionButton(record, 2);
         }},
        {"PaintCaptionSeparators", Operation::PaintCaptionSeparators, 3,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(int, int, drw::GraphicsObject*)>(f);
             Canvas canvas(kMainWidth, kMainHeight);
             call(record, 2, canvas.Graphics());
             EXPECT_TRUE(Darker(canvas.At(631, 5))) << "left of the maximize button";
             EXPECT_TRUE(Darker(canvas.At(658, 5))) << "left of the close button";
             EXPECT_EQ(canvas.At(645, 5), kGrey);
             call(record, 2, nullptr);  // no surface: nothing to draw on, and no harm
         }},
        {"PaintWindowBorder", Operation::PaintWindowBorder, 2,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(int, drw::GraphicsObject*)>(f);
             Canvas canvas(kMainWidth, kMainHeight);
             call(record, canvas.Graphics());
             EXPECT_TRUE(Darker(canvas.At(300, 0))) << "outer outline";
             EXPECT_TRUE(Near(canvas.At(300, 1), RGB(255, 255, 255), 80)) << "inner outline";
             EXPECT_EQ(canvas.At(300, 200), kGrey);
         }},
        {"PaintWindowBackground", Operation::PaintWindowBackground, 2,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(drw::GraphicsObject*, int)>(f);
             Canvas canvas(kMainWidth, kMainHeight);
             call(canvas.Graphics(), record);
             EXPECT_TRUE(Near(canvas.At(0, 0), RGB(255, 0, 255), 0)) << "the key outside";
             EXPECT_TRUE(Near(canvas.At(300, 200), skin::GlobalPictureColor & 0xFFFFFF, 0));
         }},
        {"RestoreStatusBarCache", Operation::RestoreStatusBarCache, 2,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(int, const RECT*)>(f);
             const skin::SkinWindowRecord& bar = SkinWindowTable[barRecord];
             const skin::RectI s = bar.StatusRect;
             ASSERT_GT(s.width, 100);
             RECT all{s.x, s.y, s.x + s.width, s.y + s.height};
             FillRect(cache(barRecord), &all, green);
             RECT back{s.x + 20, s.y + 2, s.x + 80, s.y + 12};
             call(barRecord, &back);
             EXPECT_EQ(Difference(Grab(cache(barRecord), s.x + 20, s.y + 2, 60, 10),
                                  Grab(bar.StatusCacheDc, 20, 2, 60, 10)),
                       "");
             EXPECT_TRUE(Near(Grab(cache(barRecord), s.x + 19, s.y + 2, 1, 1).At(0, 0),
                              RGB(0, 255, 0), 0));
         }},
        {"SetCaptionTextStyle", Operation::SetCaptionTextStyle, 6,
         [&](std::uintptr_t f) {
             auto call =
                 reinterpret_cast<int(WINAPI*)(HWND, const char*, int, COLORREF, COLORREF, int)>(f);
             EXPECT_EQ(call(window, "黑体", 16, RGB(1, 2, 3), RGB(4, 5, 6), 0), 1);
             EXPECT_EQ(rec().TitleFontName, "黑体");
             EXPECT_EQ(rec().TitleFontSize, 16);
             EXPECT_EQ(rec().TitleColor, RGB(1, 2, 3));
             EXPECT_EQ(rec().TitleHaloColor, RGB(4, 5, 6));
             EXPECT_EQ(rec().TitleBold, 0);
             EXPECT_EQ(call(window, nullptr, 12, 0xFFFFFF, 0x808080, 1), 1);
             EXPECT_EQ(rec().TitleFontName, "黑体") << "no face keeps the face";
             EXPECT_EQ(call(nullptr, "宋体", 12, 0, 0, 1), 0);
         }},
        {"SetWindowBackground", Operation::SetWindowBackground, 3,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<int(WINAPI*)(HWND, const rt::ByteString*, int)>(f);
             const rt::ByteString png = TwoColourPng(16, 16, RGB(255, 0, 0), RGB(0, 0, 255));
             rec().RenderNeeded = 0;
             EXPECT_EQ(call(window, &png, 2), 1);
             EXPECT_TRUE(rec().Picture == png);
             EXPECT_EQ(rec().PictureMode, 2);
             EXPECT_EQ(rec().RenderNeeded, 1);
             EXPECT_EQ(call(window, nullptr, 2), 0) << "no picture";
         }},
        {"SetSkinTheme", Operation::SetSkinTheme, 5,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<void(WINAPI*)(const char*, const rt::ByteString*,
                                                        COLORREF, int32_t, int)>(f);
             call(nullptr, nullptr, RGB(10, 20, 30), 0x00123456, 3);
             EXPECT_EQ(skin::ThemeColor, 0x00123456u);
             EXPECT_EQ(skin::GlobalPictureColor, static_cast<COLORREF>(RGB(10, 20, 30)));
             EXPECT_TRUE(skin::GlobalPicture.empty());
             call(nullptr, nullptr, RGB(10, 20, 30), -1, 3);
             EXPECT_EQ(skin::ThemeColor, static_cast<COLORREF>(RGB(10, 20, 30)));
         }},
        {"AddCaptionButton", Operation::AddCaptionButton, 4,
         [&](std::uintptr_t f) {
             auto call = reinterpret_cast<int(WINAPI*)(HWND, const rt::ByteString*, const char*,
                                                       std::uintptr_t)>(f);
             const rt::ByteString glyph = res::HelpButtonImage();
             EXPECT_EQ(call(window, &glyph, "自定义", 0x55), 1);
             ASSERT_EQ(rec().CaptionButtons.Count(), 4);
             EXPECT_EQ(rec().CaptionButtons[1].Kind, 5);
             EXPECT_EQ(rec().CaptionButtons[1].Callback, 0x55u);
             EXPECT_EQ(rec().CaptionButtons[1].TipText, "自定义");
             EXPECT_TRUE(rec().CaptionButtons[1].Image == glyph);
             EXPECT_EQ(rec().StripWidth, 122);
             EXPECT_EQ(call(nullptr, &glyph, "x", 0), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        skin::CallbackThunk thunk = Engine->BuildCallbackThunk(c.op, c.arguments);
        ASSERT_FALSE(thunk.Empty());
        c.check(thunk.Address());
    }
    DeleteObject(green);
}

// A record index that names no record, as a caller outside may pass one,
// draws nothing and stops nothing.
TEST_F(MethodTableTest, ARecordIndexThatNamesNoRecordDoesNothing) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    Engine->RenderWindow(record, 0);
    Canvas canvas(kMainWidth, kMainHeight);
    const RECT all{0, 0, kMainWidth, kMainHeight};
    using skin::ThunkWord;
    const ThunkWord g = reinterpret_cast<ThunkWord>(canvas.Graphics());
    const ThunkWord rect = reinterpret_cast<ThunkWord>(&all);
    constexpr ThunkWord kRecord = 0xEEEEEEEE;  // replaced by each index tried
    struct Case {
        const char* name;
        Operation op;
        std::vector<ThunkWord> arguments;
    };
    const Case cases[] = {
        {"PaintWindowBackground", Operation::PaintWindowBackground, {g, kRecord}},
        {"PaintWindowBorder", Operation::PaintWindowBorder, {kRecord, g}},
        {"PaintCaptionSeparators", Operation::PaintCaptionSeparators, {kRecord, 1, g}},
        {"RestoreCaptionCache", Operation::RestoreCaptionCache, {kRecord, rect}},
        {"RestoreStatusBarCache", Operation::RestoreStatusBarCache, {kRecord, rect}},
        {"PaintCaptionButtonHighlight", Operation::PaintCaptionButtonHighlight,
         {g, kRecord, 1, 200}},
        {"PaintCaption", Operation::PaintCaption, {kRecord, g, 0}},
    };
    const Pixels cache = GrabCache(record);
    for (const Case& c : cases) {
        skin::CallbackThunk thunk =
            Engine->BuildCallbackThunk(c.op, static_cast<int>(c.arguments.size()));
        ASSERT_FALSE(thunk.Empty()) << c.name;
        for (int index : {0, -1, 2, 1000}) {
            SCOPED_TRACE(testing::Message() << c.name << " for record " << index);
            std::vector<ThunkWord> a = c.arguments;
            for (ThunkWord& v : a)
                if (v == kRecord) v = static_cast<ThunkWord>(index);
            using F2 = void(WINAPI*)(ThunkWord, ThunkWord);
            using F3 = void(WINAPI*)(ThunkWord, ThunkWord, ThunkWord);
            using F4 = void(WINAPI*)(ThunkWord, ThunkWord, ThunkWord, ThunkWord);
            if (a.size() == 2) reinterpret_cast<F2>(thunk.Address())(a[0], a[1]);
            if (a.size() == 3) reinterpret_cast<F3>(thunk.Address())(a[0], a[1], a[2]);
            if (a.size() == 4) reinterpret_cast<F4>(thunk.Address())(a[0], a[1], a[2], a[3]);
            EXPECT_EQ(canvas.At(300, 0), kGrey);
            EXPECT_EQ(canvas.At(630, 5), kGrey);
            EXPECT_EQ(canvas.At(300, 200), kGrey);
        }
    }
    EXPECT_EQ(Difference(GrabCache(record), cache), "");
}
