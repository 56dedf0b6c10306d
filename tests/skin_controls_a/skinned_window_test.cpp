// The families joined to a real skinned window: AttachSkin takes the window's
// buttons, check boxes and progress bars, and the engine's window procedure
// hands owner-drawn buttons to the dispatch, so they lie translucent over the
// window's picture.
#include "fixture.h"

#include <commctrl.h>

#include "resources/carried.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace ctltest {
namespace {

using skin::SkinWindowTable;

class SkinnedWindowTest : public ControlsTest {};

TEST_F(SkinnedWindowTest, AttachSkinTakesTheControlsAndTheWindowDrawsItsButtons) {
    if (!skin::Engine) skin::InstallSkinEngine();
    ASSERT_NE(skin::Engine, nullptr);
    skin::Engine->SetSkinTheme({}, &res::SkinBackground(), {}, {}, 3);
    skin::Engine->SetControlOptions(1, 10);
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40,
                                40, 420, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(main);
    HWND buttons[3];
    for (int i = 0; i < 3; ++i)
        buttons[i] = Child("BUTTON", BS_PUSHBUTTON, "开始将文件名转化为拼音", 20 + 130 * i, 240, 120,
                           30, main);
    HWND check = Child("BUTTON", BS_AUTOCHECKBOX, "Check", 20, 200, 120, 20, main);
    HWND bar = Child(PROGRESS_CLASSA, 0, "", 160, 200, 200, 16, main);
    SendMessageA(bar, PBM_SETPOS, 40, 0);

    skin::Engine->AttachSkin(main, {}, 1, 0, 0, 0, 1, 0);
    const int record = skin::FindWindowRecord(main);
    ASSERT_GT(record, 0);
    EXPECT_EQ(SkinWindowTable[record].Buttons.Count(), 4);
    EXPECT_EQ(SkinWindowTable[record].ProgressBars.Count(), 1);
    EXPECT_EQ(SkinWindowTable[record].Buttons[1].Window, buttons[0]);
    EXPECT_EQ(skin::ReadProp(check, "Hw_FuID"), record);
    EXPECT_EQ(skin::ReadProp(bar, "Hw_FuID"), record);

    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    UpdateWindow(main);
    Pump();
    HDC cache = SkinWindowTable[record].WindowCacheDc;
    ASSERT_NE(cache, nullptr);
    for (HWND b : buttons) {
        RECT r{};
        GetWindowRect(b, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        // The corner shows the window's picture; the body is lighter glass.
        EXPECT_TRUE(Near(Pixel(b, 0, 0), GetPixel(cache, r.left, r.top), 2));
        const COLORREF under = GetPixel(cache, r.left + 4, r.top + 20);
        const COLORREF body = Pixel(b, 4, 20);
        EXPECT_GT(GetRValue(body) + GetGValue(body) + GetBValue(body),
                  GetRValue(under) + GetGValue(under) + GetBValue(under) + 30);
        EXPECT_GT(DarkPixels(b, 0, 0, 120, 30), 20) << "caption";
    }
}

}  // namespace
}  // namespace ctltest
