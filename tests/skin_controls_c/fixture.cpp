#include "fixture.h"

#include <commctrl.h>

#include "skin/capture.h"
#include "skin/engine.h"
#include "skin/record.h"

namespace ctctest {
namespace {

constexpr int kWidth = 480, kHeight = 360;

}  // namespace

void SkinnedWindowTest::SetUp() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES |
                                             ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    skin::SkinControlsFlag = 1;
    skin::TransparentControlsFlag = 0;
    skin::TrackbarBackgroundFlag = 1;
    skin::GlassAlpha = 160;
    skin::ThemeColor = 0x00DDCA22;

    cache_.Make(kWidth, kHeight, Backdrop);

    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CLIPCHILDREN, 10, 10, kWidth,
                              kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // Shown without activation: destroying an active window costs Wine two
    // seconds without a window manager.
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    record_ = ctltest::AddSkinnedRecord(window_, cache_.Dc());
    Pump();
}

void SkinnedWindowTest::TearDown() {
    // Children go with the window; their procedures forward once the record
    // is gone.
    DestroyWindow(window_);
    Pump();
    skin::SkinWindowTable.Clear();
}

HWND SkinnedWindowTest::Child(const char* cls, DWORD style, const char* text, int x, int y, int w,
                              int h, HWND parent, DWORD exStyle) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                           parent ? parent : window_, nullptr, GetModuleHandleA(nullptr), nullptr);
}

COLORREF SkinnedWindowTest::Pixel(HWND control, int x, int y) const {
    skin::WindowDc dc(control, skin::DcArea::Window);
    return GetPixel(dc, x, y);
}

COLORREF SkinnedWindowTest::BackdropUnder(HWND control, int x, int y) const {
    RECT c{}, w{};
    GetWindowRect(control, &c);
    GetWindowRect(window_, &w);
    return Backdrop(c.left - w.left + x, c.top - w.top + y);
}

void SkinnedWindowTest::ExpectLooks(const std::vector<Look>& rows,
                                    const std::function<void(const Look&)>& paint) const {
    for (const Look& row : rows) {
        paint(row);
        EXPECT_TRUE(Near(Pixel(row.control, row.x, row.y),
                         row.expected(BackdropUnder(row.control, row.x, row.y)), 3))
            << row.what << " at (" << row.x << ", " << row.y << ")";
    }
}

void SkinnedWindowTest::Smear(HWND control, COLORREF colour) const {
    RECT r{};
    GetWindowRect(control, &r);
    OffsetRect(&r, -r.left, -r.top);
    skin::WindowDc dc(control, skin::DcArea::Window);
    skin::BrushHandle brush = skin::BrushHandle::Adopt(CreateSolidBrush(colour));
    FillRect(dc, &r, brush);
}


}  // namespace ctctest
