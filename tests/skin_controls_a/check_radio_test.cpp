// Check boxes and radio buttons: the marks, their vertical centring, the
// repaint after a check change, hover, and what every paint gives back.
#include "fixture.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/record.h"

namespace ctltest {
namespace {

class CheckRadioTest : public ControlsTest {
protected:
    HWND Attached(DWORD style, const char* text = "Check", int h = 20) {
        HWND b = Child("BUTTON", style, text, 20, 20, 120, h);
        skin::AttachCheckAndRadioButtons(record_, window_);
        Redraw(b);
        return b;
    }
    static bool IsTick(COLORREF c) { return GetRValue(c) < 0x60 && GetGValue(c) < 0x90; }
};

TEST_F(CheckRadioTest, CheckBoxShowsTheCarriedBoxAndTickFromTheControlsState) {
    HWND b = Attached(BS_AUTOCHECKBOX);
    // The box at (0, 3.5): its frame ring at the left, the light face inside.
    EXPECT_FALSE(IsTick(Pixel(b, 3, 10)));
    EXPECT_GT(GetRValue(Pixel(b, 6, 12)), 0xC0);
    // BM_SETCHECK repaints at once in the skin's look with the new state.
    SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(IsTick(Pixel(b, 3, 10))) << std::hex << Pixel(b, 3, 10);
    EXPECT_TRUE(Near(Pixel(b, 3, 10), RGB(0x24, 0x6E, 0x75), 24));
    SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(IsTick(Pixel(b, 3, 10)));
    // A click goes through the control's own procedure and is repainted.
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsTick(Pixel(b, 3, 10)));
    // The caption right of the box, over the skin.
    EXPECT_GT(DarkPixels(b, 17, 0, 120, 20), 10);
    EXPECT_TRUE(Near(Pixel(b, 110, 2), kSkin, 2));
}

TEST_F(CheckRadioTest, RadioButtonShowsRingFaceAndDot) {
    HWND b = Attached(BS_AUTORADIOBUTTON, "Radio");
    const COLORREF unchecked = Pixel(b, 6, 10);
    EXPECT_GT(GetRValue(unchecked), 0x90);  // the white face
    SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
    const COLORREF dotEdge = Pixel(b, 6, 10);  // the teal rim of the dot
    EXPECT_LT(GetRValue(dotEdge), 0x70);
    EXPECT_GT(GetGValue(dotEdge), GetRValue(dotEdge) + 20);
    EXPECT_GT(GetBValue(dotEdge), GetRValue(dotEdge) + 20);
    EXPECT_GT(DarkPixels(b, 18, 0, 120, 20), 10);
}

TEST_F(CheckRadioTest, MarksAreCentredVertically) {
    // The ring's box starts at (h - 12) / 2, the box picture at (h - 13) / 2
    // (heights where both are whole pixels).
    for (int h : {20, 30, 42}) {
        SCOPED_TRACE(h);
        HWND radio = Attached(BS_AUTORADIOBUTTON, "", h);
        const int ringTop = (h - 12) / 2;
        EXPECT_LT(GetGValue(Pixel(radio, 8, ringTop)), GetGValue(kSkin) - 20);
        EXPECT_TRUE(Near(Pixel(radio, 8, ringTop - 2), kSkin, 2));
        DestroyWindow(radio);
    }
    for (int h : {21, 31, 43}) {
        SCOPED_TRACE(h);
        HWND box = Attached(BS_AUTOCHECKBOX, "", h);
        const int boxTop = (h - 13) / 2;  // the dark ring of the picture
        EXPECT_LT(GetGValue(Pixel(box, 6, boxTop)), GetGValue(kSkin) - 20);
        EXPECT_GT(GetRValue(Pixel(box, 6, boxTop + 2)), 0xC0);
        EXPECT_TRUE(Near(Pixel(box, 6, boxTop - 1), kSkin, 2));
        DestroyWindow(box);
    }
}

// Stands in for a control procedure that turns the check on the space key and
// draws its own look over the control, as the platform's may.
LRESULT CALLBACK PlatformOnSpace(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetPropA(window, "TestOwnProc"));
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
        CallWindowProcA(own, window, BM_SETCHECK, BST_CHECKED, 0);
        RECT r{};
        GetClientRect(window, &r);
        skin::WindowDc dc(window);
        skin::BrushHandle green = skin::BrushHandle::Adopt(CreateSolidBrush(RGB(0, 255, 0)));
        FillRect(dc, &r, green);
        return 0;
    }
    return CallWindowProcA(own, window, message, wParam, lParam);
}

TEST_F(CheckRadioTest, SpaceKeyRepaintsTheSkinAfterTheControlHasActed) {
    for (DWORD style : {BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON}) {
        SCOPED_TRACE(style);
        HWND b = Child("BUTTON", style, "Space", 20, 20, 120, 20);
        SetPropA(b, "TestOwnProc", reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                                       b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlatformOnSpace))));
        skin::AttachCheckAndRadioButtons(record_, window_);
        SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
        const std::vector<COLORREF> checked = Pixels(b);
        SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
        ASSERT_NE(Pixels(b), checked);
        SendMessageA(b, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(Pixels(b), checked);
        DestroyWindow(b);
    }
}

TEST_F(CheckRadioTest, HoverShadesTheMarkAndLeavingRemovesIt) {
    for (DWORD style : {BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON}) {
        SCOPED_TRACE(style);
        HWND b = Attached(style);
        const COLORREF normal = Pixel(b, 6, 10);
        SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        const COLORREF hot = Pixel(b, 6, 10);
        EXPECT_LT(GetRValue(hot), GetRValue(normal) - 20) << "theme shade";
        EXPECT_EQ(skin::SkinWindowTable[record_].HotControlClass, 0);
        // Focus arriving under the mouse repaints the skin, still hot.
        const std::vector<COLORREF> hotLook = Pixels(b);
        SetFocus(b);
        EXPECT_EQ(Pixels(b), hotLook);
        SetFocus(window_);
        SendMessageA(b, WM_MOUSELEAVE, 0, 0);
        EXPECT_TRUE(Near(Pixel(b, 6, 10), normal, 1));
        DestroyWindow(b);
    }
}

TEST_F(CheckRadioTest, PressFocusCaptionAndEnablingLeaveTheSkinnedLookOnTheScreen) {
    // The control's own procedure answers these by drawing its own look
    // straight on the screen; each must end in the skin's look, pressed,
    // focused and disabled looking the same as plain.
    struct Step {
        const char* name;
        void (*act)(HWND control, HWND parent);
    };
    const Step steps[] = {
        {"BM_SETSTATE pressed", [](HWND b, HWND) { SendMessageA(b, BM_SETSTATE, TRUE, 0); }},
        {"BM_SETSTATE released", [](HWND b, HWND) { SendMessageA(b, BM_SETSTATE, FALSE, 0); }},
        {"focus gained", [](HWND b, HWND) { SetFocus(b); }},
        {"focus lost", [](HWND, HWND parent) { SetFocus(parent); }},
        {"press released outside", [](HWND b, HWND) {
             SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
             SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
         }},
        {"caption set", [](HWND b, HWND) { SetWindowTextA(b, "Check"); }},
        // Disabled looks the same as enabled, caption colour included.
        {"disabled", [](HWND b, HWND) { EnableWindow(b, FALSE); }},
        {"enabled", [](HWND b, HWND) { EnableWindow(b, TRUE); }},
    };
    for (DWORD style : {BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON})
        for (WPARAM check : {BST_UNCHECKED, BST_CHECKED}) {
            SCOPED_TRACE(testing::Message() << "style " << style << ", check " << check);
            HWND b = Attached(style);
            SendMessageA(b, BM_SETCHECK, check, 0);
            SetFocus(window_);
            const std::vector<COLORREF> skinned = Pixels(b);
            for (const Step& step : steps) {
                Redraw(b);  // each step starts from the skinned look
                step.act(b, window_);
                const std::vector<COLORREF> now = Pixels(b);
                int differing = 0;
                for (size_t i = 0; i < now.size(); ++i) differing += now[i] != skinned[i];
                EXPECT_EQ(differing, 0) << step.name;
            }
            EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(check));
            DestroyWindow(b);
        }
}

TEST_F(CheckRadioTest, PaintsAreIdempotentAndGiveEverythingBack) {
    HWND box = Attached(BS_AUTOCHECKBOX);
    HWND radio = Child("BUTTON", BS_AUTORADIOBUTTON, "Radio", 20, 60, 120, 20);
    skin::AttachCheckAndRadioButtons(record_, window_);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    const auto boxFirst = Pixels(box), radioFirst = Pixels(radio);
    const LiveCounts before = Live();
    for (int i = 0; i < 30; ++i) {
        skin::PaintCheckBox(box, i % 2 ? skin::kStateHot : 0);
        skin::PaintRadioButton(radio, i % 2 ? skin::kStateHot : ODS_SELECTED);
        Redraw(box);
        Redraw(radio);
    }
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(Pixels(box), boxFirst);
    EXPECT_EQ(Pixels(radio), radioFirst);
}

}  // namespace
}  // namespace ctltest
