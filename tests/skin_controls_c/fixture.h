// A skinned test window for the trackbar, up-down and container families: a
// visible popup whose record (made through the record API) holds a cached
// rendering in which every pixel tells where it lies, and child controls on
// it; pixels are read back from the controls' own window DCs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "../skin_controls_a/fixture.h"
#include "skin/gdi_handles.h"

namespace ctctest {

// The skinned window's cached rendering at (x, y) of the window.
inline COLORREF Backdrop(int x, int y) { return RGB(x & 0xFF, y & 0xFF, 0x90); }
// The default theme colour 0x00DDCA22.
constexpr COLORREF kTheme = RGB(0x22, 0xCA, 0xDD);

// Colour blending and comparison, the live-object counts, the cached
// rendering and the record are the other control families' test helpers.
using ctltest::Live;
using ctltest::LiveCounts;
using ctltest::Near;
using ctltest::Over;
// Brightness 0..765.
inline int Sum(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// A row of a table of looks: what is seen, on which control in which state
// (the test's own numbering), at (x, y) of the control's window, and the
// colour expected there from the backdrop under that pixel.
struct Look {
    const char* what;
    HWND control;
    int state;
    int x, y;
    std::function<COLORREF(COLORREF backdrop)> expected;
};

class SkinnedWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible child of the skinned window (or of parent) at (x, y) of its
    // parent's client area.
    HWND Child(const char* cls, DWORD style, const char* text, int x, int y, int w, int h,
               HWND parent = nullptr, DWORD exStyle = 0);
    // The pixel at (x, y) of a control's whole window as it is on the screen.
    COLORREF Pixel(HWND control, int x, int y) const;
    // The backdrop under (x, y) of a control's window.
    COLORREF BackdropUnder(HWND control, int x, int y) const;
    // For each row: paint(row) draws its control in its state, then the pixel
    // must be the expected colour within 3 in each channel.
    void ExpectLooks(const std::vector<Look>& rows,
                     const std::function<void(const Look&)>& paint) const;
    // Paints a control's window over with one colour, so that a repaint shows.
    void Smear(HWND control, COLORREF colour) const;
    void Pump() const { ctltest::PumpMessages(); }

    HWND window_ = nullptr;
    int record_ = 0;

private:
    ctltest::CachedRendering cache_;
};

}  // namespace ctctest
