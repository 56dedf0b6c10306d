#include "fixture.h"

#include <cstdlib>
#include <cstdint>

#include "tests/support/gdiplus_env.h"
#include "tests/support/pixels.h"

namespace skintest {
namespace {

// GDI+ runs for the whole test program under its own token, so that the
// engine's start and shut-down cases stay balanced around it.
testing::Environment* const gdiplus = testsupport::AddGdiplusEnvironment();

}  // namespace

PictureDc::PictureDc(int w, int h, int blue) : dc_(nullptr) {
    void* bits = nullptr;
    bitmap_ = skin::MakeDibSection32(w, h, &bits);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = PictureAt(x, y, blue);
            px[y * w + x] = testsupport::DibPixel(c);
        }
    previous_ = SelectObject(dc_, bitmap_);
}

void SkinWindowsTest::TearDown() {
    skin::SkinWindowTable.Clear();
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    windows_.clear();
}

HWND SkinWindowsTest::Popup(int x, int y, int w, int h) {
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    // Shown without activation: destroying an active window costs Wine two
    // seconds without a window manager.
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    windows_.push_back(hwnd);
    return hwnd;
}

HWND SkinWindowsTest::Child(HWND parent, const char* cls, DWORD style, int x, int y, int w,
                            int h, DWORD exStyle) {
    HWND hwnd = CreateWindowExA(exStyle, cls, "", WS_CHILD | style, x, y, w, h, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(hwnd);
    return hwnd;
}

int SkinWindowsTest::Skin(HWND window, HDC cache) {
    auto record = skin::NewSkinWindowRecord();
    record->Window = window;
    record->WindowCacheDc = cache;
    return skin::SkinWindowTable.Append(std::move(record));
}

int SkinWindowsTest::AddContainer(int record, HWND window, COLORREF fill, int alpha,
                                  int groupBox, int selfPaint) {
    skin::SkinnedContainer entry;
    entry.Window = window;
    entry.FillColor = fill;
    entry.FillAlpha = static_cast<uint8_t>(alpha);
    entry.GroupBox = groupBox;
    entry.SelfPaint = selfPaint;
    auto& containers = skin::SkinWindowTable[record].Containers;
    containers.Append(std::move(entry));
    return containers.Count();
}

::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance) {
    if (testsupport::ChannelsWithin(actual, expected, tolerance)) return ::testing::AssertionSuccess();
    char text[96];
    wsprintfA(text, "colour 0x%06X, expected 0x%06X (+-%d)", actual, expected, tolerance);
    return ::testing::AssertionFailure() << text;
}

}  // namespace skintest
