// What clicks on the caption buttons do, pressed and released at the
// buttons as the mouse does it.
#include "fixture.h"
#include "skin/caption_actions.h"

using namespace wndtest;

namespace {

constexpr int kMinimizeX = 620, kMaximizeX = 647, kCloseX = 680, kButtonY = 10;

int helpCalls = 0;
void __stdcall CountHelp() { ++helpCalls; }

int32_t __stdcall Digits3Std(int32_t a, int32_t b, int32_t c) { return a * 100 + b * 10 + c; }
int32_t __cdecl Digits3Cdecl(int32_t a, int32_t b, int32_t c) { return a * 100 + b * 10 + c; }
int32_t __stdcall Seven() { return 7; }
// More arguments than the x64 convention passes in registers.
int32_t __stdcall Digits6(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) {
    return ((((a * 10 + b) * 10 + c) * 10 + d) * 10 + e) * 10 + f;
}
// A negative argument read at the platform's full width, in a register (the
// first) and on the stack (the fifth): widened as an int is, it stays negative.
int32_t __stdcall Signs(std::intptr_t a, int32_t, int32_t, int32_t, std::intptr_t e) {
    return (a < 0 ? 10 : 0) + (e < 0 ? 1 : 0);
}

}  // namespace

class CaptionClickTest : public SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        // The replaced procedure carries the commands out.
        PassSystemCommands(true);
    }
    void Click(HWND w, int x, int y) {
        Send(w, WM_MOUSEMOVE, 0, At(x, y));
        Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
        Send(w, WM_LBUTTONUP, 0, At(x, y));
    }
};

TEST_F(CaptionClickTest, TheCloseButtonClosesTheWindow) {
    HWND w = Skinned();
    Click(w, kCloseX, kButtonY);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(skin::SkinWindowTable.Count(), 0);
}

TEST_F(CaptionClickTest, TheMaximizeButtonMaximizesAndRestores) {
    HWND w = Skinned();
    RECT before{};
    GetWindowRect(w, &before);
    Click(w, kMaximizeX, kButtonY);
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(Rec(w).Maximized, 1);
    EXPECT_EQ(Rec(w).Minimized, 0);
    EXPECT_EQ(SysCommands(w), (std::vector<WPARAM>{SC_MAXIMIZE}));
    // The strip follows the new right edge.
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(Rec(w).StripX, client.right - 95 + 1);

    const int maximizeX = Rec(w).StripX + 2 + 27 + 13;
    Click(w, maximizeX, kButtonY);
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_EQ(Rec(w).Maximized, 0);
    RECT after{};
    GetWindowRect(w, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(SysCommands(w), (std::vector<WPARAM>{SC_MAXIMIZE, SC_RESTORE}));
}

TEST_F(CaptionClickTest, TheMinimizeButtonMinimizes) {
    HWND w = Skinned();
    Click(w, kMinimizeX, kButtonY);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(Rec(w).Minimized, 1);
    EXPECT_EQ(SysCommands(w), (std::vector<WPARAM>{SC_MINIMIZE}));
}

// Only a press on a caption button of this window leads to a click, and a
// click uses its press up.
TEST_F(CaptionClickTest, AReleaseClicksOnlyAfterAPressOnACaptionButton) {
    HWND w = Skinned();
    // Pressed in the client area, released over the close button.
    Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 200));
    Send(w, WM_MOUSEMOVE, MK_LBUTTON, At(kCloseX, kButtonY));
    Send(w, WM_LBUTTONUP, 0, At(kCloseX, kButtonY));
    EXPECT_TRUE(IsWindow(w));
    // A release with no press at all.
    Send(w, WM_LBUTTONUP, 0, At(kCloseX, kButtonY));
    EXPECT_TRUE(IsWindow(w));
    // Pressed on a button, slid off every button.
    Send(w, WM_MOUSEMOVE, 0, At(kMinimizeX, kButtonY));
    Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(kMinimizeX, kButtonY));
    Send(w, WM_MOUSEMOVE, MK_LBUTTON, At(300, 200));
    Send(w, WM_LBUTTONUP, 0, At(300, 200));
    EXPECT_TRUE(SysCommands(w).empty());
    // Pressed on one button and released on another: the other is clicked,
    // once.
    Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(kMinimizeX, kButtonY));
    Send(w, WM_MOUSEMOVE, MK_LBUTTON, At(kMaximizeX, kButtonY));
    Send(w, WM_LBUTTONUP, 0, At(kMaximizeX, kButtonY));
    EXPECT_EQ(Rec(w).Maximized, 1);
    const int maximizeX = Rec(w).StripX + 2 + 27 + 13;
    Send(w, WM_MOUSEMOVE, 0, At(maximizeX, kButtonY));
    Send(w, WM_LBUTTONUP, 0, At(maximizeX, kButtonY));
    EXPECT_EQ(Rec(w).Maximized, 1);
    EXPECT_EQ(SysCommands(w), (std::vector<WPARAM>{SC_MAXIMIZE}));
}

TEST_F(CaptionClickTest, ADoubleClickInTheCaptionTogglesMaximize) {
    for (int gestures : {1, 0}) {
        SCOPED_TRACE(gestures);
        HWND w = Skinned(kThreeButtons, gestures);
        Send(w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 26));  // just below the caption
        EXPECT_EQ(Rec(w).Maximized, 0);
        Send(w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 25));
        EXPECT_EQ(Rec(w).Maximized, gestures);
        EXPECT_EQ(IsZoomed(w) != 0, gestures == 1);
        DestroyWindow(w);
    }
    // No maximize button, nothing to toggle.
    HWND w = Skinned(WS_POPUP | WS_MINIMIZEBOX);
    Send(w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(300, 10));
    EXPECT_EQ(Rec(w).Maximized, 0);
}

TEST_F(CaptionClickTest, HelpAndMenuButtonsRunTheirRoutinesWhenThereAreAny) {
    HWND w = Make();
    skin::Engine->AttachSkin(w, {}, 1, 1, 1, 1);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    ASSERT_EQ(Rec(w).CaptionButtons[1].Kind, 4);
    const int helpX = static_cast<int>(Rec(w).CaptionButtons[1].Rect.x) + 10;
    const int menuX = static_cast<int>(Rec(w).CaptionButtons[2].Rect.x) + 10;
    helpCalls = 0;
    Click(w, helpX, kButtonY);  // no routine yet
    skin::Engine->SetHelpButtonCallback(w, reinterpret_cast<skin::RoutineAddress>(&CountHelp));
    Click(w, helpX, kButtonY);
    Click(w, menuX, kButtonY);  // the menu button has none
    EXPECT_EQ(helpCalls, 1);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_TRUE(SysCommands(w).empty());
}

TEST(InvokeUserCallback, PassesTheArgumentsInOrderWhoeverClearsThem) {
    const auto std3 = reinterpret_cast<skin::RoutineAddress>(&Digits3Std);
    const auto cdecl3 = reinterpret_cast<skin::RoutineAddress>(&Digits3Cdecl);
    // Many calls: a stack left unbalanced by either convention would not
    // survive them.
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(skin::InvokeUserCallback(std3, {1, 2, 3}), 123);
        ASSERT_EQ(skin::InvokeUserCallback(cdecl3, {4, 5, 6}, 1), 456);
        ASSERT_EQ(skin::InvokeUserCallback(reinterpret_cast<skin::RoutineAddress>(&Seven)), 7);
    }
    const auto six = reinterpret_cast<skin::RoutineAddress>(&Digits6);
    EXPECT_EQ(skin::InvokeUserCallback(six, {1, 2, 3, 4, 5, 6}), 123456);
    EXPECT_EQ(skin::InvokeUserCallback(six, {9, 0, 0, 0, 0, -1}), 899999);
    EXPECT_EQ(skin::InvokeUserCallback(reinterpret_cast<skin::RoutineAddress>(&Signs),
                                       {-1, 0, 0, 0, -5}),
              11);
    EXPECT_EQ(skin::InvokeUserCallback(0, {1, 2, 3}), 0);
}
