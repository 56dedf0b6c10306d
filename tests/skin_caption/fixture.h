// Skinned test windows for the frame, background and caption tests: real
// borderless windows attached through the engine, and the pixels of their
// cached renderings read back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace captiontest {

constexpr DWORD kMinMax = WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr int kMainWidth = 698;
constexpr int kMainHeight = 501;

// Pixels as 0xAARRGGBB, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Pixels& o) const {
        return width == o.width && height == o.height && argb == o.argb;
    }
};
// A copy of a rectangle of a DC (the cache DCs hold 32-bpp bitmaps; the copy
// keeps all four bytes).
Pixels Grab(HDC dc, int x, int y, int w, int h);
// Where two pictures of one size differ: the count and the bounding box of
// the differing pixels ("" when equal), for failure messages.
std::string Difference(const Pixels& a, const Pixels& b);
// The whole cached rendering of a record.
Pixels GrabCache(int record);

// An RGB colour with a tolerance per channel (the top byte is ignored).
::testing::AssertionResult Near(uint32_t argb, COLORREF expected, int tolerance);
inline COLORREF Rgb(uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// A PNG of w x h whose left half is `left` and right half `right` (COLORREFs).
rt::ByteString TwoColourPng(int w, int h, COLORREF left, COLORREF right);

class SkinnedWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible borderless popup (client = window) on the screen.
    HWND MakeWindow(int w = kMainWidth, int h = kMainHeight, DWORD style = kMinMax,
                    const char* title = "拼音批量改名");
    // AttachSkin with the sizing gestures off; the record's index.
    int Attach(HWND window, int captionOn = 1, int help = 0, int menu = 0, int drawTitle = 1,
               int gloss = 0);
    // The main window's setup: the carried picture stretched as the theme,
    // a 698 x 501 window with minimize and maximize boxes, rendered once.
    int MainWindow();

    std::vector<HWND> windows_;
};

}  // namespace captiontest
