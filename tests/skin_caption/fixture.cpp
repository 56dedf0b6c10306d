#include "fixture.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "drawing/drawing.h"
#include "resources/carried.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "tests/support/gdiplus_env.h"
#include "tests/support/pixels.h"

namespace captiontest {
namespace {

// GDI+ for the whole program, and the program icon the caption shows (the
// test program carries no icon resource of its own).
class Environment : public testsupport::GdiplusEnvironment {
public:
    void SetUp() override {
        GdiplusEnvironment::SetUp();
        if (testing::Test::HasFatalFailure()) return;
        rt::ByteString ico = res::AppIconImage();
        ASSERT_GT(ico.size(), 22u);
        // ICONDIR (6 bytes), then the first ICONDIRENTRY: size at +8, offset at +12.
        uint32_t size = 0, offset = 0;
        std::memcpy(&size, &ico[6 + 8], 4);
        std::memcpy(&offset, &ico[6 + 12], 4);
        skin::ProgramIcon = CreateIconFromResourceEx(&ico[offset], size, TRUE, 0x00030000, 32,
                                                     32, LR_DEFAULTCOLOR);
        ASSERT_NE(skin::ProgramIcon, nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CaptionTestWindow";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
    }
};
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

Pixels Grab(HDC dc, int x, int y, int w, int h) {
    Pixels p;
    p.width = w;
    p.height = h;
    p.argb = testsupport::CopyPixels32(dc, x, y, w, h);
    return p;
}

std::string Difference(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height) return "sizes differ";
    int count = 0, left = a.width, top = a.height, right = -1, bottom = -1;
    uint32_t firstA = 0, firstB = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y)) {
                if (count++ == 0) firstA = a.At(x, y), firstB = b.At(x, y);
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (count == 0) return "";
    char text[160];
    wsprintfA(text, "%d pixels differ within x %d..%d, y %d..%d (first 0x%08X, 0x%08X)", count,
              left, right, top, bottom, firstA, firstB);
    return text;
}

Pixels GrabCache(int record) {
    const skin::SkinWindowRecord& r = skin::SkinWindowTable[record];
    RECT c{};
    GetClientRect(r.Window, &c);
    return Grab(r.WindowCacheDc, 0, 0, c.right, c.bottom);
}

::testing::AssertionResult Near(uint32_t argb, COLORREF expected, int tolerance) {
    if (testsupport::ChannelsWithin(Rgb(argb), expected, tolerance)) return ::testing::AssertionSuccess();
    char text[96];
    wsprintfA(text, "pixel 0x%08X, expected RGB 0x%06X (+-%d)", argb, expected, tolerance);
    return ::testing::AssertionFailure() << text;
}

rt::ByteString TwoColourPng(int w, int h, COLORREF left, COLORREF right) {
    drw::BitmapObject bitmap;
    bitmap.Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.SetPixel(x, y, skin::ColorRefToArgb(x < w / 2 ? left : right, 255));
    return bitmap.SaveToBytes(rt::AnsiText(drw::ImageFormatPNG));
}

void SkinnedWindowTest::SetUp() {
    ASSERT_NE(skin::Engine, nullptr);
    // Each case starts from the engine's defaults: no picture, a flat fill.
    skin::GlobalPicture.clear();
    skin::GlobalPictureMode = 0;
    skin::GlobalPictureColor = RGB(40, 60, 90);
    skin::ThemeColor = 0x00DDCA22;
}

void SkinnedWindowTest::TearDown() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    windows_.clear();
    EXPECT_EQ(skin::SkinWindowTable.Count(), 0) << "destroying a window detaches it";
}

HWND SkinnedWindowTest::MakeWindow(int w, int h, DWORD style, const char* title) {
    HWND window = CreateWindowExA(0, "CaptionTestWindow", title, WS_POPUP | style, 40, 40, w, h,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

int SkinnedWindowTest::Attach(HWND window, int captionOn, int help, int menu, int drawTitle,
                              int gloss) {
    skin::Engine->AttachSkin(window, {}, captionOn, 0, help, menu, drawTitle, gloss);
    return skin::FindWindowRecord(window);
}

int SkinnedWindowTest::MainWindow() {
    const rt::ByteString& picture = res::SkinBackground();
    skin::Engine->SetSkinTheme({}, &picture, {}, {}, 3);
    const int record = Attach(MakeWindow());
    skin::Engine->RenderWindow(record, 1);
    return record;
}

}  // namespace captiontest
