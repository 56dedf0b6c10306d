// Plain controls: their own painting laid over the skin with the key colour
// left out, through a memory DC (classes that paint into a given DC) or read
// back from the screen (the rest), and the procedure's other messages.
#include "fixture.h"

#include "skin/controls/plain_control.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace ctltest {
namespace {

using skin::SkinWindowTable;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGreen = RGB(0, 200, 0);

// A control that paints through its own BeginPaint (ignoring wParam): the
// left half magenta, the right half green.
LRESULT CALLBACK TwoColourProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r{};
        GetClientRect(window, &r);
        RECT left = r, right = r;
        left.right = right.left = r.right / 2;
        skin::BrushHandle m = skin::BrushHandle::Adopt(CreateSolidBrush(kMagenta));
        skin::BrushHandle g = skin::BrushHandle::Adopt(CreateSolidBrush(kGreen));
        FillRect(dc, &left, m);
        FillRect(dc, &right, g);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* TwoColourClass() {
    return TestClass("CtlaTwoColour", TwoColourProc,
                     static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// Stands between a control and its own procedure and notes whether the
// control had anything to repaint when a WM_VSCROLL reached its procedure.
WNDPROC spiedProc = nullptr;
bool invalidAtScroll = false;
LRESULT CALLBACK ScrollSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL) invalidAtScroll = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    return CallWindowProcA(spiedProc, window, message, wParam, lParam);
}

class PlainControlTest : public ControlsTest {
protected:
    skin::SkinEngine& engine() {
        if (!skin::Engine) skin::InstallSkinEngine();
        return *skin::Engine;
    }
    HWND TwoColour() { return Child(TwoColourClass(), 0, "", 20, 20, 100, 30); }
    static bool Updating(HWND w) { return GetUpdateRect(w, nullptr, FALSE) != FALSE; }
};

TEST_F(PlainControlTest, AttachSetsEntryAndProperties) {
    HWND c = TwoColour();
    const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(c, GWLP_WNDPROC));
    engine().AttachPlainControl(c);
    const auto& plain = SkinWindowTable[record_].PlainControls;
    ASSERT_EQ(plain.Count(), 1);
    EXPECT_EQ(plain[1].Window, c);
    EXPECT_EQ(plain[1].KeyColor, rt::DefaultColour());
    EXPECT_EQ(plain[1].PreviousProc, before);
    EXPECT_EQ(skin::ReadProp(c, "Kj_lbID"), 1);
    EXPECT_EQ(skin::ReadProp(c, "Kj_FuID"), record_);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(c, "Kj_hProc")), before);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(c, GWLP_WNDPROC)),
              &skin::PlainControlSkinProc);
    HWND d = TwoColour();
    engine().AttachPlainControl(d, kMagenta);
    EXPECT_EQ(SkinWindowTable[record_].PlainControls.Count(), 2);
    EXPECT_EQ(skin::ReadProp(d, "Kj_lbID"), 2);
}

TEST_F(PlainControlTest, AttachingAgainChangesOnlyTheKey) {
    HWND c = TwoColour();
    engine().AttachPlainControl(c);
    engine().AttachPlainControl(c, kMagenta);
    EXPECT_EQ(SkinWindowTable[record_].PlainControls.Count(), 1);
    EXPECT_EQ(SkinWindowTable[record_].PlainControls[1].KeyColor, kMagenta);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetPropA(c, "Kj_hProc")), &skin::PlainControlSkinProc);
    Redraw(c);  // would recurse without end through its own procedure
    EXPECT_TRUE(Near(Pixel(c, 10, 15), kSkin, 2));
}

TEST_F(PlainControlTest, AControlUnderNoSkinnedWindowIsLeftAlone) {
    HWND loose = CreateWindowExA(0, TwoColourClass(), "", WS_POPUP, 0, 0, 50, 20, nullptr,
                                 nullptr, nullptr, nullptr);
    windows_.push_back(loose);
    const LONG_PTR before = GetWindowLongPtrA(loose, GWLP_WNDPROC);
    engine().AttachPlainControl(loose);
    EXPECT_EQ(GetWindowLongPtrA(loose, GWLP_WNDPROC), before);
    EXPECT_EQ(GetPropA(loose, "Kj_lbID"), nullptr);
}

TEST_F(PlainControlTest, ReadBackKeysOutTheKeyColourOverTheSkin) {
    HWND c = TwoColour();
    engine().AttachPlainControl(c, kMagenta);
    Redraw(c);
    EXPECT_TRUE(Near(Pixel(c, 10, 15), kSkin, 2));
    EXPECT_TRUE(Near(Pixel(c, 80, 15), kGreen, 2));
    EXPECT_FALSE(Updating(c));
    // Not skinning controls: the control's own painting stays as it is.
    skin::SkinControlsFlag = 0;
    Redraw(c);
    EXPECT_TRUE(Near(Pixel(c, 10, 15), kMagenta, 2));
}

TEST_F(PlainControlTest, LabelIsReadBackAndValidatesItsUpdateRegion) {
    HWND label = Child("STATIC", SS_LEFT, "Label text", 20, 20, 120, 20);
    engine().AttachPlainControl(label);  // the default key: the face colour
    Redraw(label);
    EXPECT_FALSE(Updating(label));
    EXPECT_TRUE(Near(Pixel(label, 115, 17), kSkin, 2));
    // The text is there: thin anti-aliased strokes (the Chinese system font
    // is a light serif), so count every pixel the text moved off the skin.
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x)
            if (!Near(Pixel(label, x, y), kSkin, 40)) ++ink;
    EXPECT_GT(ink, 30);
}

TEST_F(PlainControlTest, ButtonPaintsIntoTheSkinAndLiesOnTheGlass) {
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "Plain", 20, 20, 100, 30);
    engine().AttachPlainControl(b);
    Redraw(b);
    EXPECT_FALSE(Updating(b));
    // Its face colour is keyed out: the glass over the skin shows there.
    EXPECT_TRUE(Near(Pixel(b, 8, 8), Over(kSkin, RGB(255, 255, 255), skin::GlassAlpha), 4));
    EXPECT_GT(DarkPixels(b, 0, 0, 100, 30), 10);
}

TEST_F(PlainControlTest, EraseMoveAndScrollMessages) {
    HWND c = TwoColour();
    engine().AttachPlainControl(c, kMagenta);
    Redraw(c);
    skin::WindowDc dc(c);
    // Not transparent: the previous procedure erases with the class brush.
    Smear(c, kGreen);
    EXPECT_NE(SendMessageA(c, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 0);
    EXPECT_TRUE(Near(Pixel(c, 10, 15), RGB(255, 255, 255), 0));
    ValidateRect(c, nullptr);
    SendMessageA(c, WM_MOVE, 0, 0);
    EXPECT_FALSE(Updating(c));
    // Transparent: nothing is erased; a move repaints the control.
    skin::TransparentControlsFlag = 1;
    Smear(c, kGreen);
    EXPECT_EQ(SendMessageA(c, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
    EXPECT_TRUE(Near(Pixel(c, 10, 15), kGreen, 0));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    SendMessageA(c, WM_MOVE, 0, 0);
    EXPECT_TRUE(Updating(c));

    // A rich edit is repainted whole when it scrolls.
    ASSERT_NE(LoadLibraryA("riched20.dll"), nullptr);
    HWND rich = Child("RichEdit20A", WS_VSCROLL | ES_MULTILINE, "", 20, 80, 100, 40);
    ASSERT_NE(rich, nullptr);
    // Whether a scrolled control had anything to repaint when its own
    // procedure got the message.
    auto invalidWhenScrolled = [this](HWND control) {
        spiedProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ScrollSpy)));
        engine().AttachPlainControl(control);
        UpdateWindow(control);
        ValidateRect(control, nullptr);
        invalidAtScroll = false;
        SendMessageA(control, WM_VSCROLL, SB_LINEDOWN, 0);
        return invalidAtScroll;
    };
    EXPECT_TRUE(invalidWhenScrolled(rich));
    EXPECT_FALSE(invalidWhenScrolled(TwoColour())) << "other controls scroll untouched";
}

TEST_F(PlainControlTest, AControlWithChildrenAlsoBecomesAContainerThatDoesNotPaintItself) {
    HWND panel = Child(TwoColourClass(), 0, "", 20, 20, 200, 100);
    HWND inner = Child("BUTTON", BS_PUSHBUTTON, "Inside", 10, 10, 80, 24, panel);
    engine().AttachPlainControl(panel, kMagenta, RGB(255, 255, 255), 50);
    const int container = skin::FindContainerEntry(record_, panel);
    ASSERT_GT(container, 0);
    const skin::SkinnedContainer& c = SkinWindowTable[record_].Containers[container];
    EXPECT_EQ(c.SelfPaint, 0);
    EXPECT_EQ(c.FillColor, RGB(255, 255, 255));
    EXPECT_EQ(c.FillAlpha, 50);
    // The container's procedure comes first and hands the rest to this one.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(panel, "Hw_hProc")), &skin::PlainControlSkinProc);
    // The standard controls inside are skinned.
    EXPECT_GT(skin::ReadProp(inner, "Hw_lbID"), 0);
    EXPECT_EQ(GetWindowLongA(inner, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    // Without children nothing but the plain entry is made.
    HWND lone = TwoColour();
    engine().AttachPlainControl(lone);
    EXPECT_EQ(skin::FindContainerEntry(record_, lone), 0);
}

TEST_F(PlainControlTest, PaintsGiveEverythingBack) {
    HWND c = TwoColour();
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "Plain", 20, 80, 100, 30);
    engine().AttachPlainControl(c, kMagenta);
    engine().AttachPlainControl(b);
    Redraw(c);
    Redraw(b);
    const auto first = Pixels(b);
    const LiveCounts before = Live();
    for (int i = 0; i < 30; ++i) {
        Redraw(c);
        Redraw(b);
    }
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(Pixels(b), first);
}

}  // namespace
}  // namespace ctltest
