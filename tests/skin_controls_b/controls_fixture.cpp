#include "controls_fixture.h"

#include <commctrl.h>

#include <cstdlib>

#include "drawing/native_object.h"
#include "skin/capture.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/record.h"
#include "tests/support/gdiplus_env.h"
#include "tests/support/pixels.h"

namespace ctltest {
namespace {

// GDI+ runs for the whole program, as the engine's start routine has it run
// for the application.
using GdiplusRunning = testsupport::GdiplusEnvironment;
testing::Environment* const gdiplus = testing::AddGlobalTestEnvironment(new GdiplusRunning);

}  // namespace

::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance) {
    if (testsupport::ChannelsWithin(actual, expected, tolerance)) return ::testing::AssertionSuccess();
    char text[80];
    wsprintfA(text, "0x%06X is not 0x%06X within %d", actual, expected, tolerance);
    return ::testing::AssertionFailure() << text;
}

COLORREF Blend(COLORREF src, COLORREF over, int alpha) {
    auto mix = [alpha](int s, int o) { return s + (o - s) * alpha / 255; };
    return RGB(mix(GetRValue(src), GetRValue(over)), mix(GetGValue(src), GetGValue(over)),
               mix(GetBValue(src), GetBValue(over)));
}

COLORREF GlassAt(int left, int top, int x, int y, int alpha) {
    return Blend(PictureAt(left + x, top + y), 0xFFFFFF, alpha);
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

void MarkPixel(HWND window, int x, int y, COLORREF colour) {
    HDC dc = GetWindowDC(window);
    SetPixel(dc, x, y, colour);
    ReleaseDC(window, dc);
}

void SmearWindow(HWND window, COLORREF colour) {
    RECT r{};
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetWindowDC(window);
    skin::BrushHandle brush = skin::BrushHandle::Adopt(CreateSolidBrush(colour));
    FillRect(dc, &r, brush);
    ReleaseDC(window, dc);
}

bool NeedsPaint(HWND window) {
    RECT r{};
    GetUpdateRect(window, &r, FALSE);
    return !IsRectEmpty(&r);
}

void Drain(int most) {
    MSG msg;
    for (int i = 0; i < most && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HWND ControlsTest::Control(const char* cls, DWORD style, int x, int y, int w, int h,
                           DWORD exStyle) {
    HWND control = CreateWindowExA(exStyle, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                   top, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(control);
    return control;
}

void ControlsTest::SetUp() {
    static const bool commonControls = [] {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                   ICC_INTERNET_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    ASSERT_TRUE(commonControls);
    savedSkin = skin::SkinControlsFlag;
    savedTransparent = skin::TransparentControlsFlag;
    savedAlpha = skin::GlassAlpha;
    savedTheme = skin::ThemeColor;
    skin::SkinControlsFlag = 1;
    skin::TransparentControlsFlag = 1;
    skin::GlassAlpha = 160;
    skin::ThemeColor = kTheme;
    // The cursor stays away from the test windows, so that leave tracking
    // answers at once and no real mouse move reaches them.
    SetCursorPos(1000, 700);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB};
    void* bits = nullptr;
    picture_ = skin::BitmapHandle::Adopt(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    auto* pixel = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF c = PictureAt(x, y);
            *pixel++ = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    displaced_ = SelectObject(cache_, picture_);
    top = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, kWidth, kHeight,
                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(top);
    auto skinned = skin::NewSkinWindowRecord();
    skinned->Window = top;
    skinned->WindowCacheDc = cache_;
    record = skin::SkinWindowTable.Append(std::move(skinned));
    registryBefore = skin::MemoryDcRegistry.Count();
    dcsBefore = skin::LiveGdiCount(skin::GdiKind::MemoryDc);
    windowDcsBefore = skin::LiveGdiCount(skin::GdiKind::WindowDc);
    objectsBefore = skin::LiveGdiCount(skin::GdiKind::Object);
    drawingBefore = drw::LiveObjectCount();
}

void ControlsTest::TearDown() {
    Drain();
    // The controls go while their record still exists, as they do when a
    // skinned window is destroyed (its record goes last), and take the
    // brushes handed to them along.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    EXPECT_EQ(skin::MemoryDcRegistry.Count(), registryBefore);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::MemoryDc), dcsBefore);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::WindowDc), windowDcsBefore);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::Object), objectsBefore);
    EXPECT_EQ(drw::LiveObjectCount(), drawingBefore);
    windows_.clear();
    skin::SkinWindowTable.Clear();
    SelectObject(cache_, displaced_);
    skin::SkinControlsFlag = savedSkin;
    skin::TransparentControlsFlag = savedTransparent;
    skin::GlassAlpha = savedAlpha;
    skin::ThemeColor = savedTheme;
}

}  // namespace ctltest
