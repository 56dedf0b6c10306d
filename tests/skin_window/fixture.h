// Skinned top-level windows for the window-procedure tests. Each window's
// replaced procedure is a recording one: it logs every message it receives
// and keeps the system's move and sizing loops from starting, so a test can
// see what the engine passed on without a modal loop taking over.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <vector>

#include "skin/engine.h"
#include "skin/record.h"

namespace wndtest {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What the recording procedure hands back for every WM_CTLCOLOR* it gets: a
// brush the engine never uses, so a test can tell a forwarded message.
HBRUSH ForwardedBrush();

// A top-level window whose replaced procedure records (the style is a
// borderless popup: client = window).
constexpr DWORD kThreeButtons = WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

class SkinWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A hidden window w x h at (40, 40) with the recording procedure.
    HWND Make(DWORD style = kThreeButtons, int w = 698, int h = 501);
    HWND Child(HWND parent, const char* cls, DWORD style, int x = 10, int y = 40, int w = 120,
               int h = 60);
    // Attached with the given caption height and gestures, then shown and
    // painted, so its cached rendering exists.
    HWND Skinned(DWORD style = kThreeButtons, int frameGestures = 1,
                 std::optional<int> captionHeight = {});
    int RecordOf(HWND window);
    skin::SkinWindowRecord& Rec(HWND window);

    // The log of the recording procedure.
    std::vector<Received>& Log();
    int CountReceived(HWND window, UINT message);
    std::vector<WPARAM> SysCommands(HWND window);

    // When true (the default), the recording procedure swallows every
    // WM_SYSCOMMAND and WM_NCLBUTTONDOWN; when false it hands them to
    // DefWindowProc, which carries them out.
    void PassSystemCommands(bool pass);

    LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window, message, wParam, lParam);
    }
    static LPARAM At(int x, int y) {
        return static_cast<LPARAM>(static_cast<uint16_t>(x) | (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
    }

    std::vector<HWND> windows_;
};

// A pixel of the window's cached rendering.
COLORREF CachePixel(HWND window, int x, int y);
// The pixels of a rectangle of the cached rendering, row by row.
std::vector<COLORREF> CachePixels(HWND window, const RECT& r);

}  // namespace wndtest
