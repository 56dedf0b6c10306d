// Real windows and records for the engine's tests: skinned top-level windows
// with a known cached rendering, child controls and container entries.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "skin/gdi_handles.h"
#include "skin/record.h"

namespace skintest {

// The colour of the test picture at (x, y): every pixel tells where it lies.
inline COLORREF PictureAt(int x, int y, int blue = 77) { return RGB(x % 256, y % 256, blue); }

// A memory DC holding a w x h picture of PictureAt, as a WindowCacheDc.
class PictureDc {
public:
    PictureDc(int w, int h, int blue = 77);
    ~PictureDc() { SelectObject(dc_, previous_); }
    HDC Get() const { return dc_.Get(); }

private:
    skin::MemoryDc dc_;
    skin::BitmapHandle bitmap_;
    HGDIOBJ previous_ = nullptr;
};

class SkinWindowsTest : public testing::Test {
protected:
    void TearDown() override;
    // A visible borderless top-level window (client = window).
    HWND Popup(int x, int y, int w, int h);
    HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h,
               DWORD exStyle = 0);
    // A record for window appended to the table; its index.
    int Skin(HWND window, HDC cache = nullptr);
    // A container entry appended to the record; its index.
    int AddContainer(int record, HWND window, COLORREF fill, int alpha, int groupBox,
                     int selfPaint = 1);

    std::vector<HWND> windows_;
};

// The pixel of a DC, and a colour test with a tolerance per channel.
::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance);

}  // namespace skintest
