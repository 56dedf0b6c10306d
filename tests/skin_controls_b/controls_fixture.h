// A skinned top-level window over a known picture, with the engine's flags
// set for the control families and every GDI, GDI+ and capture count checked
// to be back at its start when a case ends.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "skin/gdi_handles.h"

namespace ctltest {

// The skinned window's cached rendering in these tests: every pixel tells
// where it lies.
inline COLORREF PictureAt(int x, int y) { return RGB(x % 256, y % 256, 77); }
// Each channel of actual within tolerance of expected.
::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance);

// src under colour at alpha, as one GDI+ fill leaves it.
COLORREF Blend(COLORREF src, COLORREF over, int alpha);
// The picture under window pixel (x, y) of a control placed at (left, top)
// in the skinned window, covered with white glass at alpha.
COLORREF GlassAt(int left, int top, int x, int y, int alpha = 160);
// A pixel of the control's whole window as the screen shows it.
COLORREF WindowPixel(HWND window, int x, int y);
// Paints a pixel of the control's window DC, to see later whether a painter
// touched it.
void MarkPixel(HWND window, int x, int y, COLORREF colour);
// Covers the control's whole window, frame and client area, with one
// colour, so that what a message repaints afterwards shows.
void SmearWindow(HWND window, COLORREF colour);
// True when part of the client area waits for WM_PAINT.
bool NeedsPaint(HWND window);
// Dispatches the messages waiting for this thread, and those they bring,
// until none is left (at most `most` of them, so that a window that is never
// done painting cannot hang a test).
void Drain(int most = 1000);

class ControlsTest : public testing::Test {
protected:
    static constexpr int kWidth = 400, kHeight = 300;
    static constexpr COLORREF kTheme = 0x00DDCA22;
    static constexpr COLORREF kMarker = RGB(1, 2, 3);

    void SetUp() override;
    void TearDown() override;
    // A visible child of the skinned window.
    HWND Control(const char* cls, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0);

    HWND top = nullptr;  // borderless: its client area is its window
    int record = 0;

private:
    skin::MemoryDc cache_{nullptr};
    skin::BitmapHandle picture_;
    HGDIOBJ displaced_ = nullptr;
    std::vector<HWND> windows_;
    int savedSkin = 0, savedTransparent = 0, savedAlpha = 0;
    COLORREF savedTheme = 0;
    int registryBefore = 0, dcsBefore = 0, windowDcsBefore = 0, objectsBefore = 0,
        drawingBefore = 0;
};

}  // namespace ctltest
