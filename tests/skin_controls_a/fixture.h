// A skinned test window for the control families: a visible popup whose
// record (made through the record API) holds a cached rendering of one known
// colour, whose procedure hands WM_DRAWITEM to the owner-draw dispatch as the
// skinned window procedure does, and child controls on it; pixels are read
// back from the controls' own DCs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/runtime.h"
#include "skin/gdi_handles.h"

namespace ctltest {

// The colour of the window's cached rendering.
constexpr COLORREF kSkin = RGB(0x30, 0x60, 0x90);
// The default theme colour, 0x00DDCA22.
constexpr COLORREF kTheme = RGB(0x22, 0xCA, 0xDD);

// One colour drawn over another at alpha (0..255), as GDI+ blends.
COLORREF Over(COLORREF under, COLORREF colour, int alpha);
::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance);

// Registers a window class once; its name.
const char* TestClass(const char* name, WNDPROC proc, HBRUSH background = nullptr);

// A PNG of w x h in one colour.
rt::ByteString SolidPng(int w, int h, COLORREF colour);

// Every live object the engine could leak, taken together.
struct LiveCounts {
    int windowDcs, memoryDcs, gdiObjects, drawingObjects, registry;
    bool operator==(const LiveCounts& o) const;
};
LiveCounts Live();
std::ostream& operator<<(std::ostream& os, const LiveCounts& c);

// The cached rendering of a test's skinned window: a 32-bpp picture selected
// into a memory DC, given back when the owner goes.
class CachedRendering {
public:
    CachedRendering() = default;
    CachedRendering(const CachedRendering&) = delete;
    CachedRendering& operator=(const CachedRendering&) = delete;
    ~CachedRendering();
    // The picture becomes w x h, every pixel colourAt(x, y).
    void Make(int w, int h, const std::function<COLORREF(int x, int y)>& colourAt);
    HDC Dc() const { return dc_; }

private:
    skin::MemoryDc dc_{nullptr};
    skin::BitmapHandle bitmap_;
    HGDIOBJ displaced_ = nullptr;
};

// Makes window a skinned window of the table, made through the record API:
// a new record with cache as its cached rendering, its index on the
// window's Hw_lbID. The index.
int AddSkinnedRecord(HWND window, HDC cache);

// Dispatches every message waiting for this thread.
void PumpMessages();

class ControlsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A child of the skinned window (or of parent when given).
    HWND Child(const char* cls, DWORD style, const char* text, int x, int y, int w, int h,
               HWND parent = nullptr);
    // The pixel of a control's client area as it is on the screen.
    COLORREF Pixel(HWND control, int x, int y) const;
    // The pixels of a control's client area, row by row.
    std::vector<COLORREF> Pixels(HWND control) const;
    // Number of pixels of the rectangle darker than 0x50 in every channel.
    int DarkPixels(HWND control, int left, int top, int right, int bottom) const;
    // Paints the control over with one colour, so that a repaint shows.
    void Smear(HWND control, COLORREF colour) const;
    // Repaints a control now (invalidate, then UpdateWindow).
    void Redraw(HWND control) const;
    void Pump() const { PumpMessages(); }

    HWND window_ = nullptr;
    int record_ = 0;
    std::vector<HWND> windows_;

private:
    CachedRendering cache_;
};

}  // namespace ctltest
