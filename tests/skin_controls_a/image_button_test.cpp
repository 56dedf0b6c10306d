// Picture buttons: taking a button on (new, already skinned, unskinned
// window), the tip, and where the painters put pictures and frames.
#include "fixture.h"

#include <commctrl.h>

#include "skin/controls/image_button.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/method_table.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

namespace ctltest {
namespace {

using skin::SkinWindowTable;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 200, 0);

using testsupport::GradientAt;

class ImageButtonTest : public ControlsTest {
protected:
    skin::SkinEngine& engine() {
        static skin::SkinEngine* e = [] {
            if (!skin::Engine) skin::InstallSkinEngine();
            return skin::Engine;
        }();
        return *e;
    }
    const skin::SkinnedButton& Entry(HWND b) {
        return SkinWindowTable[record_].Buttons[skin::FindButtonEntry(record_, b)];
    }
    static rt::AnsiText TipText(const skin::SkinnedButton& e) {
        char text[80] = {};
        drw::TooltipObject::ToolInfo info{sizeof info, 0, e.Window, 1, {}, nullptr, text};
        SendMessageA(e.Tooltip.GetHwnd(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        return text;
    }
};

TEST_F(ImageButtonTest, TakingButtonsOn) {
    const rt::ByteString red = SolidPng(8, 8, kRed);
    // A button in no skinned window is refused.
    HWND loose = CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
    windows_.push_back(loose);
    EXPECT_EQ(engine().SetButtonImage(loose, red), 0);
    EXPECT_EQ(GetPropA(loose, "Hw_lbID"), nullptr);

    // An attached push button keeps its entry and subclassing.
    HWND push = Child("BUTTON", BS_PUSHBUTTON, "Push", 20, 20, 100, 40);
    skin::AttachPushButtons(record_, window_);
    const int entry = skin::FindButtonEntry(record_, push);
    const HANDLE previous = GetPropA(push, "Hw_hProc");
    EXPECT_EQ(engine().SetButtonImage(push, red, 1), 1);
    EXPECT_EQ(skin::FindButtonEntry(record_, push), entry);
    EXPECT_EQ(GetPropA(push, "Hw_hProc"), previous);
    EXPECT_EQ(Entry(push).Kind, skin::kImageButton);
    EXPECT_EQ(Entry(push).Image, red);
    EXPECT_EQ(Entry(push).ImageBesideText, 1);
    EXPECT_EQ(Entry(push).Text, "Push");
    EXPECT_EQ(Entry(push).Tooltip.GetHwnd(), nullptr) << "an empty tip makes no window";

    // A button no attach took: a new entry, subclassed, owner-drawn, with a font.
    HWND owner = Child("BUTTON", BS_OWNERDRAW, "Own", 20, 80, 100, 40);
    const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner, GWLP_WNDPROC));
    EXPECT_EQ(engine().SetButtonImages(owner, red, {}, {}, {}, "first tip"), 1);
    const int index = skin::FindButtonEntry(record_, owner);
    EXPECT_EQ(index, SkinWindowTable[record_].Buttons.Count());
    EXPECT_EQ(skin::ReadProp(owner, "Hw_lbID"), index);
    EXPECT_EQ(skin::ReadProp(owner, "Hw_FuID"), record_);
    // The tip watches the button's mouse through a subclass of its own,
    // made first; the skin's procedure passes messages on to it.
    EXPECT_NE(GetPropA(owner, "Hw_hProc"), nullptr);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetPropA(owner, "Hw_hProc")), &skin::ButtonSkinProc);
    EXPECT_NE(before, &skin::ButtonSkinProc);
    char text[8] = {};
    GetWindowTextA(owner, text, sizeof text);
    EXPECT_STREQ(text, "Own");
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner, GWLP_WNDPROC)),
              &skin::ButtonSkinProc);
    EXPECT_EQ(Entry(owner).Kind, skin::kStateImageButton);
    EXPECT_FALSE(Entry(owner).FontName.empty());
    // The tip: one window, its text replaced by a second tip.
    const HWND tip = Entry(owner).Tooltip.GetHwnd();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(TipText(Entry(owner)), "first tip");
    engine().SetButtonImages(owner, red, {}, {}, {}, "second tip");
    EXPECT_EQ(Entry(owner).Tooltip.GetHwnd(), tip);
    EXPECT_EQ(TipText(Entry(owner)), "second tip");

    // A check box turned into a picture button becomes owner-drawn.
    HWND check = Child("BUTTON", BS_AUTOCHECKBOX, "c", 20, 140, 100, 20);
    EXPECT_EQ(engine().SetButtonImage(check, red), 1);
    EXPECT_EQ(GetWindowLongA(check, GWL_STYLE) & 0xF, BS_OWNERDRAW);
}

TEST_F(ImageButtonTest, ThroughTheMethodTable) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 60, 30);
    const rt::ByteString red = SolidPng(8, 8, kRed);
    const char* tip = "tip";
    using skin::ThunkWord;
    const ThunkWord args[] = {reinterpret_cast<ThunkWord>(b), reinterpret_cast<ThunkWord>(&red), 0,
                              reinterpret_cast<ThunkWord>(&red), 0, reinterpret_cast<ThunkWord>(tip)};
    ASSERT_NE(skin::MethodSlot(skin::Operation::SetButtonImages), nullptr);
    EXPECT_EQ(skin::MethodSlot(skin::Operation::SetButtonImages)(&engine(), args), 1u);
    EXPECT_EQ(Entry(b).Image, red);
    EXPECT_TRUE(Entry(b).HotImage.empty());
    EXPECT_EQ(Entry(b).PressedImage, red);
    EXPECT_EQ(TipText(Entry(b)), "tip");
}

// A tip window has no parent, so nothing takes it away with its button: it
// goes when the button goes, before its window or with it. Both ways a tip
// can sit on a button: made before the skin's procedure (a button no attach
// took) and over it (an attached push button).
TEST_F(ImageButtonTest, TipWindowsGoWithTheirButtons) {
    const rt::ByteString red = SolidPng(8, 8, kRed);
    for (bool buttonFirst : {false, true}) {
        SCOPED_TRACE(buttonFirst ? "a button destroyed before its window" : "the window destroyed");
        HWND w = CreateWindowExA(0, TestClass("CtlaTippedWindow", DefWindowProcA), "",
                                 WS_POPUP | WS_VISIBLE, 40, 40, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(w);
        HWND attached = CreateWindowExA(0, "BUTTON", "a", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                        10, 40, 80, 30, w, nullptr, nullptr, nullptr);
        engine().AttachSkin(w);
        const int record = skin::FindWindowRecord(w);
        ASSERT_GT(record, 0);
        ASSERT_GT(skin::FindButtonEntry(record, attached), 0);
        HWND taken = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 100,
                                     40, 80, 30, w, nullptr, nullptr, nullptr);
        ASSERT_EQ(engine().SetButtonImage(attached, red, 1, "tip a"), 1);
        ASSERT_EQ(engine().SetButtonImages(taken, red, {}, {}, {}, "tip b"), 1);
        auto tipOf = [&](HWND b) {
            return SkinWindowTable[record].Buttons[skin::FindButtonEntry(record, b)].Tooltip.GetHwnd();
        };
        const HWND tipA = tipOf(attached), tipB = tipOf(taken);
        ASSERT_TRUE(IsWindow(tipA));
        ASSERT_TRUE(IsWindow(tipB));

        if (buttonFirst) {
            for (HWND b : {taken, attached}) {
                const HWND tip = tipOf(b);
                DestroyWindow(b);
                Pump();
                EXPECT_FALSE(IsWindow(tip));
                EXPECT_EQ(tipOf(b), nullptr) << "the entry holds no dead tip";
            }
            // The window lives on without them: it still repaints and hovers.
            HWND other = CreateWindowExA(0, "BUTTON", "c", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                         10, 100, 80, 30, w, nullptr, nullptr, nullptr);
            ASSERT_EQ(engine().SetButtonImage(other, red, 1, "tip c"), 1);
            RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            SendMessageA(other, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            EXPECT_EQ(SkinWindowTable[record].HotEntry, skin::FindButtonEntry(record, other));
            const HWND tipC = tipOf(other);
            ASSERT_TRUE(IsWindow(tipC));
            DestroyWindow(w);
            EXPECT_FALSE(IsWindow(tipC));
        } else {
            DestroyWindow(w);
        }
        Pump();
        EXPECT_FALSE(IsWindow(w));
        EXPECT_EQ(skin::FindWindowRecord(w), 0);
        EXPECT_FALSE(IsWindow(tipA));
        EXPECT_FALSE(IsWindow(tipB));
    }
}

TEST_F(ImageButtonTest, PictureBesideTheCaptionOrCentredAlone) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 100, 40);
    engine().SetButtonImage(b, SolidPng(8, 8, kRed), 1);
    Redraw(b);
    // s = 32: the square (34, 4, 32, 32).
    EXPECT_TRUE(Near(Pixel(b, 50, 20), kRed, 8));
    EXPECT_TRUE(Near(Pixel(b, 36, 6), kRed, 8));
    EXPECT_FALSE(Near(Pixel(b, 30, 20), kRed, 60));
    EXPECT_FALSE(Near(Pixel(b, 50, 1), kRed, 60));
    // With a caption the picture moves to 3 px from the left.
    SetWindowTextA(b, "Go");
    engine().SetButtonImage(b, SolidPng(8, 8, kRed), 1);
    Redraw(b);
    EXPECT_TRUE(Near(Pixel(b, 5, 20), kRed, 8));
    EXPECT_FALSE(Near(Pixel(b, 50, 20), kRed, 60));
    EXPECT_GT(DarkPixels(b, 37, 0, 100, 40), 5);
}

TEST_F(ImageButtonTest, PictureAboveTheCaption) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "A long caption that will not fit", 20, 20, 80, 60);
    engine().SetButtonImage(b, SolidPng(8, 8, kRed), 0);
    skin::SkinWindowTable[record_].Buttons[1].FontSize = 12;
    Redraw(b);
    // s = 36 at (22, 3); the caption from y = 41.
    EXPECT_TRUE(Near(Pixel(b, 40, 20), kRed, 8));
    EXPECT_TRUE(Near(Pixel(b, 24, 5), kRed, 8));
    EXPECT_FALSE(Near(Pixel(b, 40, 1), kRed, 60));
    EXPECT_FALSE(Near(Pixel(b, 40, 40), kRed, 60));
    EXPECT_GT(DarkPixels(b, 0, 41, 80, 60), 5);
    EXPECT_EQ(DarkPixels(b, 0, 0, 80, 40), 0);
    // A disabled image button still shows its picture and caption.
    EnableWindow(b, FALSE);
    UpdateWindow(b);
    EXPECT_TRUE(Near(Pixel(b, 40, 20), kRed, 8));
    EXPECT_GT(DarkPixels(b, 0, 41, 80, 60), 5);
}

TEST_F(ImageButtonTest, ImageButtonHoverAndFocusFrames) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 100, 40);
    engine().SetButtonImage(b, SolidPng(8, 8, kRed), 1);
    skin::RepaintButtonNow(b, 0, 0);
    const COLORREF plain = Pixel(b, 8, 20);
    EXPECT_TRUE(Near(plain, kSkin, 2)) << "only the picture over the skin";
    skin::RepaintButtonNow(b, ODS_FOCUS, 0);
    EXPECT_GT(GetRValue(Pixel(b, 8, 20)), GetRValue(kSkin) + 10) << "white glass";
    skin::RepaintButtonNow(b, 0, 1);
    // The white line near the bottom is brightest in the middle.
    EXPECT_GT(GetRValue(Pixel(b, 50, 36)), GetRValue(Pixel(b, 4, 36)) + 40);
}

TEST_F(ImageButtonTest, StateImageButtonLooks) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    engine().SetButtonImages(b, SolidPng(16, 16, kRed), SolidPng(16, 16, kGreen));
    skin::RepaintButtonNow(b, 0, 0);
    EXPECT_TRUE(Near(Pixel(b, 10, 10), kRed, 4));
    EXPECT_TRUE(Near(Pixel(b, 1, 1), kSkin, 2));
    skin::RepaintButtonNow(b, 0, 1);
    EXPECT_TRUE(Near(Pixel(b, 10, 10), kGreen, 4));
    // Without a hot picture: the normal one in a theme frame 3 px larger.
    // The outline goes first, the gradient fill over it.
    engine().SetButtonImages(b, SolidPng(16, 16, kRed));
    skin::RepaintButtonNow(b, 0, 1);
    EXPECT_TRUE(Near(Pixel(b, 10, 10), kRed, 4));
    const COLORREF edge = Over(kSkin, kTheme, 250);
    EXPECT_TRUE(Near(Pixel(b, 10, 0), Over(edge, RGB(255, 255, 255), 120), 4));
    EXPECT_TRUE(Near(Pixel(b, 25, 25), kSkin, 2));
    // Pressed and disabled without pictures: frames of their own.
    skin::RepaintButtonNow(b, ODS_SELECTED, 0);
    EXPECT_TRUE(Near(Pixel(b, 10, 0), Over(edge, RGB(0, 0, 0), 60), 4));
    EnableWindow(b, FALSE);
    skin::RepaintButtonNow(b, 0, 0);
    EXPECT_FALSE(Near(Pixel(b, 10, 0), kTheme, 40));
    EXPECT_TRUE(Near(Pixel(b, 10, 10), kRed, 4));
}

TEST_F(ImageButtonTest, DisabledImageButtonShowsAFaintGreyFaceAndNoOtherFrame) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 100, 40);
    engine().SetButtonImage(b, SolidPng(8, 8, kRed), 1);
    // Disabled wins over focus and hover: their frames start at the edge.
    skin::RepaintButtonNow(b, ODS_DISABLED | ODS_FOCUS, 1);
    for (int x : {0, 1}) EXPECT_TRUE(Near(Pixel(b, x, 20), kSkin, 1)) << x;
    EXPECT_TRUE(Near(Pixel(b, 8, 1), kSkin, 1));
    // The face from (2, 2): grey fading out from the top, (1, 1) to (1, 40).
    const auto face = GradientAt(0x32808080, 0x00FFFFFF, (10.5 - 1) / 39);
    EXPECT_TRUE(Near(Pixel(b, 8, 10), Over(kSkin, face.colour, face.alpha), 5));
    EXPECT_TRUE(Near(Pixel(b, 50, 20), kRed, 8));
}

TEST_F(ImageButtonTest, DisabledStateImageButtonWithoutItsPictureIsFramedDark) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    engine().SetButtonImages(b, SolidPng(16, 16, kRed));
    skin::RepaintButtonNow(b, ODS_DISABLED, 0);
    // The frame (0, 0, 18, 18): outlined, then filled from white to black.
    const COLORREF outline = Over(kSkin, 0, 80);
    const auto top = GradientAt(0x3CFFFFFF, 0x64000000, 0.5 / 18);
    EXPECT_TRUE(Near(Pixel(b, 10, 0), Over(outline, top.colour, top.alpha), 5));
    const auto middle = GradientAt(0x3CFFFFFF, 0x64000000, 10.5 / 18);
    EXPECT_TRUE(Near(Pixel(b, 1, 10), Over(kSkin, middle.colour, middle.alpha), 5));
    EXPECT_TRUE(Near(Pixel(b, 10, 10), kRed, 4));
    // The other looks' frames are a pixel larger.
    EXPECT_TRUE(Near(Pixel(b, 19, 10), kSkin, 1));
    EXPECT_TRUE(Near(Pixel(b, 10, 19), kSkin, 1));
}

TEST_F(ImageButtonTest, SuppliedStatePicturesAreDrawnAloneAtTheirOwnSize) {
    struct Case {
        const char* state;
        UINT itemState;
        int hot;
    };
    const Case cases[] = {{"disabled", ODS_DISABLED, 0}, {"pressed", ODS_SELECTED, 0},
                          {"hot", 0, 1}};
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    const rt::ByteString normal = SolidPng(16, 16, kRed), own = SolidPng(10, 10, kGreen);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        const rt::ByteString& hot = c.hot ? own : rt::ByteString();
        const rt::ByteString& pressed = c.itemState == ODS_SELECTED ? own : rt::ByteString();
        const rt::ByteString& disabled = c.itemState == ODS_DISABLED ? own : rt::ByteString();
        engine().SetButtonImages(b, normal, hot, pressed, disabled);
        skin::RepaintButtonNow(b, c.itemState, c.hot);
        // (2, 2, 10, 10) is the picture; no frame, no normal picture beside it.
        EXPECT_TRUE(Near(Pixel(b, 6, 6), kGreen, 4));
        EXPECT_TRUE(Near(Pixel(b, 11, 11), kGreen, 4));
        EXPECT_TRUE(Near(Pixel(b, 14, 14), kSkin, 1));
        EXPECT_TRUE(Near(Pixel(b, 10, 0), kSkin, 1));
        EXPECT_TRUE(Near(Pixel(b, 0, 10), kSkin, 1));
    }
}

TEST_F(ImageButtonTest, PaintsGiveEverythingBack) {
    HWND a = Child("BUTTON", BS_PUSHBUTTON, "Caption", 20, 20, 100, 40);
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "", 20, 80, 40, 40);
    engine().SetButtonImage(a, SolidPng(8, 8, kRed), 0, "tip");
    engine().SetButtonImages(b, SolidPng(16, 16, kRed));
    Redraw(a);
    Redraw(b);
    const LiveCounts before = Live();
    for (int i = 0; i < 30; ++i) {
        const UINT states[] = {0, ODS_FOCUS, ODS_SELECTED, ODS_DISABLED, skin::kStateHot};
        skin::RepaintButtonNow(a, states[i % 5], 0);
        skin::RepaintButtonNow(b, states[i % 5], 0);
    }
    EXPECT_EQ(Live(), before);
}

}  // namespace
}  // namespace ctltest
