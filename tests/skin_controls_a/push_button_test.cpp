// Push buttons: which buttons the attach takes, the shared button procedure,
// the owner-draw dispatch and the glass painter in each state.
#include "fixture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "drawing/graphics.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "tests/support/pixels.h"
#include "tests/support/waits.h"

namespace ctltest {
namespace {

using skin::SkinWindowTable;

class PushButtonTest : public ControlsTest {
protected:
    HWND Button(const char* text = "Button", DWORD style = BS_PUSHBUTTON, int x = 20, int y = 20,
                int w = 100, int h = 24) {
        HWND b = Child("BUTTON", style, text, x, y, w, h);
        return b;
    }
    HWND Attached(const char* text = "Button", int x = 20, int y = 20, int w = 100, int h = 24) {
        HWND b = Button(text, BS_PUSHBUTTON, x, y, w, h);
        skin::AttachPushButtons(record_, window_);
        Redraw(b);
        return b;
    }
    skin::SkinnedButton& Entry(HWND b) {
        return SkinWindowTable[record_].Buttons[skin::FindButtonEntry(record_, b)];
    }
    void Paint(HWND b, UINT state) { skin::RepaintButtonNow(b, state, 0); }
};

TEST_F(PushButtonTest, AttachTakesPushButtonsOnlyAndCheckAttachTakesCheckAndRadio) {
    struct Case {
        DWORD style;
        int kind;  // -1: not skinned
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, skin::kPushButton},   {BS_DEFPUSHBUTTON, skin::kPushButton},
        {BS_USERBUTTON, skin::kPushButton},   {BS_OWNERDRAW, -1},
        {BS_CHECKBOX, skin::kCheckBox},       {BS_AUTOCHECKBOX, skin::kCheckBox},
        {BS_PUSHBOX, skin::kCheckBox},        {BS_RADIOBUTTON, -1},
        {BS_AUTORADIOBUTTON, skin::kRadioButton}, {BS_3STATE, -1},
        {BS_AUTO3STATE, -1},                  {BS_GROUPBOX, -1},
        {0xC, -1}, {0xD, -1}, {0xE, -1}, {0xF, -1},
    };
    std::vector<HWND> buttons;
    std::vector<WNDPROC> before;
    int y = 0;
    for (const Case& c : cases) {
        buttons.push_back(Button("x", c.style, 10, y, 60, 16));
        before.push_back(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(buttons.back(), GWLP_WNDPROC)));
        y += 18;
    }
    for (int pass = 0; pass < 2; ++pass) {  // a second attach changes nothing
        skin::AttachPushButtons(record_, window_);
        skin::AttachCheckAndRadioButtons(record_, window_);
    }
    int skinned = 0;
    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << cases[i].style);
        HWND b = buttons[i];
        const int entry = skin::FindButtonEntry(record_, b);
        const LONG style = GetWindowLongA(b, GWL_STYLE) & 0xF;
        if (cases[i].kind < 0) {
            EXPECT_EQ(entry, 0);
            EXPECT_EQ(style, static_cast<LONG>(cases[i].style));
            EXPECT_EQ(GetPropA(b, "Hw_lbID"), nullptr);
            continue;
        }
        ++skinned;
        ASSERT_GT(entry, 0);
        const skin::SkinnedButton& e = SkinWindowTable[record_].Buttons[entry];
        EXPECT_EQ(e.Kind, cases[i].kind);
        EXPECT_EQ(e.Text, "x");
        EXPECT_EQ(skin::ReadProp(b, "Hw_lbID"), entry);
        EXPECT_EQ(skin::ReadProp(b, "Hw_FuID"), record_);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(b, "Hw_hProc")), before[i]);
        EXPECT_EQ(e.PreviousProc, before[i]);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(b, GWLP_WNDPROC)),
                  &skin::ButtonSkinProc);
        // Push buttons become owner-drawn; check boxes and radios keep their style.
        EXPECT_EQ(style, cases[i].kind == skin::kPushButton ? BS_OWNERDRAW
                                                            : static_cast<LONG>(cases[i].style));
        EXPECT_FALSE(e.FontName.empty());
        EXPECT_GT(e.FontSize, 0);
    }
    // The first button took the record's initial empty entry.
    EXPECT_EQ(SkinWindowTable[record_].Buttons.Count(), skinned);
    EXPECT_EQ(SkinWindowTable[record_].Buttons[1].Window, buttons[0]);
}

TEST_F(PushButtonTest, NothingIsAttachedWhileControlsAreNotSkinned) {
    HWND b = Button();
    HWND c = Button("c", BS_AUTOCHECKBOX, 20, 60);
    skin::SkinControlsFlag = 0;
    skin::AttachPushButtons(record_, window_);
    skin::AttachCheckAndRadioButtons(record_, window_);
    EXPECT_EQ(skin::FindButtonEntry(record_, b), 0);
    EXPECT_EQ(skin::FindButtonEntry(record_, c), 0);
    EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & 0xF, BS_PUSHBUTTON);
}

TEST_F(PushButtonTest, ReadControlFontReadsTheFontAndLeavesItToTheControl) {
    HWND b = Button();
    skin::FontHandle font = skin::FontHandle::Adopt(
        CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体"));
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    const skin::ControlFont f = skin::ReadControlFont(b);
    EXPECT_FALSE(f.FaceName.empty());
    EXPECT_NEAR(f.Size, 16, 1);  // the em size as GDI+ reports it
    EXPECT_EQ(f.Style & 1, 1);  // bold
    EXPECT_EQ(GetObjectType(font.Get()), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)), font.Get());
    // Without a font of its own the button falls back to what it can use.
    HWND plain = Button("p", BS_PUSHBUTTON, 20, 60);
    const skin::ControlFont d = skin::ReadControlFontOrDefault(plain);
    EXPECT_FALSE(d.FaceName.empty());
    EXPECT_GT(d.Size, 0);
}

TEST_F(PushButtonTest, UnreadableFontFallsBackToSongTiAtTwelve) {
    HWND b = Button("Caption");
    // A vertical-writing face: GDI draws with it, GDI+ makes no font of it.
    skin::FontHandle vertical = skin::FontHandle::Adopt(
        CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "@SimSun"));
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(vertical.Get()), FALSE);
    const skin::ControlFont read = skin::ReadControlFont(b);
    ASSERT_TRUE(read.FaceName.empty()) << read.FaceName;
    ASSERT_EQ(read.Size, 0);
    skin::AttachPushButtons(record_, window_);
    EXPECT_EQ(Entry(b).FontName, "宋体");
    EXPECT_EQ(Entry(b).FontSize, 12);
    Redraw(b);
    EXPECT_GT(DarkPixels(b, 20, 4, 80, 22), 10) << "caption";
}

TEST_F(PushButtonTest, OwnerDrawnButtonIsPaintedOverTheSkinThroughTheDispatch) {
    HWND b = Attached();
    // The rounded corner keeps the window's picture; the body is glass over it.
    EXPECT_TRUE(Near(Pixel(b, 0, 0), kSkin, 2));
    const COLORREF inside = Pixel(b, 4, 18);
    EXPECT_GT(GetRValue(inside), GetRValue(kSkin) + 30);
    EXPECT_GT(DarkPixels(b, 20, 4, 80, 22), 10) << "caption";
    // A button this engine did not take is left to its parent.
    HWND other = Child("BUTTON", BS_OWNERDRAW, "o", 20, 60, 100, 24);
    Smear(other, RGB(0, 255, 0));
    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, other, nullptr, {0, 0, 100, 24}, 0};
    skin::WindowDc dc(other);
    item.hDC = dc;
    skin::DispatchButtonOwnerDraw(record_, item);
    EXPECT_TRUE(Near(Pixel(other, 50, 12), RGB(0, 255, 0), 0));
    // Other control types are ignored even for a skinned button.
    item.hwndItem = b;
    item.CtlType = ODT_LISTBOX;
    Smear(b, RGB(0, 255, 0));
    skin::WindowDc bdc(b);
    item.hDC = bdc;
    skin::DispatchButtonOwnerDraw(record_, item);
    EXPECT_TRUE(Near(Pixel(b, 50, 12), RGB(0, 255, 0), 0));
}

TEST_F(PushButtonTest, PainterStates) {
    HWND b = Attached();
    Paint(b, 0);
    const COLORREF normalEdge = Pixel(b, 50, 0), normalTop = Pixel(b, 50, 3);
    EXPECT_LT(GetBValue(normalEdge) - GetRValue(normalEdge), 50);

    // Under the mouse: a theme-coloured outline.
    skin::RepaintButtonNow(b, 0, 1);
    EXPECT_TRUE(Near(Pixel(b, 50, 0), kTheme, 3));
    // Focused under the mouse: still the hover frame, not the focus glow.
    skin::RepaintButtonNow(b, ODS_FOCUS, 1);
    EXPECT_TRUE(Near(Pixel(b, 50, 0), kTheme, 3));

    // Focused: a cyan glow under a dark outline.
    Paint(b, ODS_FOCUS);
    const COLORREF focusEdge = Pixel(b, 50, 0);
    EXPECT_GT(GetBValue(focusEdge) - GetRValue(focusEdge), 80);
    EXPECT_FALSE(Near(focusEdge, kTheme, 20));

    // Pressed: the theme-tinted overlay inside.
    Paint(b, ODS_SELECTED);
    const COLORREF pressedTop = Pixel(b, 50, 3);
    EXPECT_LT(GetRValue(pressedTop), GetRValue(normalTop) - 15);

    // Disabled: opaque grey corners and body, no hover even when asked.
    skin::RepaintButtonNow(b, ODS_DISABLED, 1);
    EXPECT_TRUE(Near(Pixel(b, 0, 0), RGB(0xC0, 0xC0, 0xC0), 1));
    const COLORREF body = Pixel(b, 4, 12);
    EXPECT_LT(std::abs(GetRValue(body) - GetBValue(body)), 6);
    EXPECT_FALSE(Near(Pixel(b, 50, 0), kTheme, 40));
    EXPECT_GT(DarkPixels(b, 20, 4, 80, 22), 10) << "caption";
}

// One layer of a button's look at a pixel row: a solid colour, or a
// gradient from top to bottom between two rows through its stops (ARGB).
struct Layer {
    double top, bottom;
    std::vector<std::pair<double, uint32_t>> stops;
    int times = 1;  // laid this many times (the glow's pens)
};
Layer Solid(uint32_t argb, int times = 1) { return {0, 1, {{0, argb}}, times}; }
Layer Gradient(double top, double bottom, uint32_t from, uint32_t to) {
    return {top, bottom, {{0, from}, {1, to}}};
}

// The layers laid over under at row y.
COLORREF Lay(COLORREF under, const std::vector<Layer>& layers, int y) {
    for (const Layer& layer : layers) {
        const double t = std::clamp((y - layer.top) / (layer.bottom - layer.top), 0.0, 1.0);
        size_t i = 0;
        while (i + 2 < layer.stops.size() && t > layer.stops[i + 1].first) ++i;
        const auto& [p0, c0] = layer.stops[i];
        const auto& [p1, c1] = layer.stops[std::min(i + 1, layer.stops.size() - 1)];
        const auto point = testsupport::GradientAt(c0, c1, p1 > p0 ? (t - p0) / (p1 - p0) : 0);
        for (int n = 0; n < layer.times; ++n) under = Over(under, point.colour, point.alpha);
    }
    return under;
}

// Every layer of the glass push button, read back at chosen pixels of a
// 100 x 24 button: the glass base and its body gradient, the gloss over the
// top half, the hover tint fading from the theme at 60 to 10 with its theme
// outline, the focus glow three pens wide under its dark line, the pressed
// overlay, and the disabled button's opaque grey with its sheen.
TEST_F(PushButtonTest, EachStateShowsItsLayers) {
    HWND b = Attached("");
    const uint32_t theme60 = 0x3C22CADD, theme10 = 0x0A22CADD;
    const Layer base = Solid(0x78FFFFFF), body = Gradient(0, 23, 0x00FFFFFF, 0x3C808080),
                gloss = Gradient(0, 12, 0x32FFFFFF, 0x0AFFFFFF),
                hover = Gradient(0, 23, theme60, theme10), hotLine = Solid(0xFF22CADD),
                line = Solid(0x78000000), glow = Solid(0x7822CADD),
                focusLine = Solid(0x46000000),
                pressed = Gradient(2, 22, theme60, 0x64FFFFFF), grey = Solid(0xFFC0C0C0),
                sheen{0, 24, {{0, 0x32FFFFFF}, {0.6, 0x0A000000}, {1, 0x32FFFFFF}}},
                greyLine = Solid(0x50000000);
    const UINT hot = skin::kStateHot;
    struct Case {
        const char* what;
        UINT state;
        int x, y;
        std::vector<Layer> layers;
    };
    const Case cases[] = {
        {"corner", 0, 0, 0, {}},
        {"top line", 0, 50, 0, {base, body, gloss, line}},
        {"gloss", 0, 8, 6, {base, body, gloss}},
        {"below the gloss", 0, 8, 13, {base, body}},
        {"hover, top", hot, 8, 1, {base, body, gloss, hover}},
        {"hover, bottom", hot, 8, 21, {base, body, hover}},
        {"hover line", hot, 50, 0, {base, body, gloss, hover, hotLine}},
        {"hover wins over focus", hot | ODS_FOCUS, 8, 1, {base, body, gloss, hover}},
        {"focus line", ODS_FOCUS, 50, 0, {base, body, gloss, Solid(0x7822CADD, 3), focusLine}},
        {"glow, third pen", ODS_FOCUS, 8, 1, {base, body, gloss, glow}},
        {"glow, third pen at the side", ODS_FOCUS, 1, 16, {base, body, glow}},
        {"inside the glow", ODS_FOCUS, 8, 2, {base, body, gloss}},
        {"pressed", ODS_SELECTED, 8, 6, {base, body, gloss, pressed}},
        {"pressed, low", ODS_SELECTED, 8, 20, {base, body, pressed}},
        // A real click presses a focused button: the overlay over the focus look.
        {"clicked", ODS_SELECTED | ODS_FOCUS, 8, 6, {base, body, gloss, pressed}},
        {"clicked, glow", ODS_SELECTED | ODS_FOCUS, 8, 1, {base, body, gloss, glow}},
        {"disabled corner", ODS_DISABLED, 0, 0, {grey}},
        {"disabled sheen, top", ODS_DISABLED, 8, 1, {grey, sheen}},
        {"disabled sheen, darkest", ODS_DISABLED, 8, 14, {grey, sheen}},
        {"disabled sheen, low", ODS_DISABLED, 8, 21, {grey, sheen}},
        {"disabled line", ODS_DISABLED, 50, 0, {grey, sheen, greyLine}},
        {"disabled, not hot", ODS_DISABLED | hot, 8, 1, {grey, sheen}},
    };
    for (const Case& c : cases) {
        skin::RepaintButtonNow(b, c.state, 0);
        EXPECT_TRUE(Near(Pixel(b, c.x, c.y), Lay(kSkin, c.layers, c.y), 3))
            << c.what << " at " << c.x << "," << c.y;
    }
}

// The caption is centred 2 px below the button's middle: its ink lies 2 px
// lower than the same text centred in the whole button.
TEST_F(PushButtonTest, CaptionSitsTwoPixelsBelowTheMiddle) {
    constexpr int w = 100, h = 24;
    HWND b = Attached("");
    skin::RepaintButtonNow(b, 0, 0);
    const std::vector<COLORREF> ground = Pixels(b);
    SetWindowTextA(b, "OK");
    skin::RepaintButtonNow(b, 0, 0);
    const std::vector<COLORREF> painted = Pixels(b);

    // The text centred in (0, 0, w, h) over white, with the button's font.
    const skin::SkinnedButton& e = Entry(b);
    void* bits = nullptr;
    skin::BitmapHandle dib = skin::BitmapHandle::Adopt(testsupport::CreateTopDownDib32(w, h, &bits));
    skin::MemoryDc dc(nullptr);
    skin::SelectedObject selected(dc, dib);
    {
        drw::GraphicsObject g;
        g.FromHdc(dc);
        g.Clear(0xFFFFFFFF);
        skin::DrawCaption(g, b, "OK", e.FontName, e.FontSize, e.FontStyle, 0, 0, 0, w, h,
                          1 /* centre */, 1);
    }
    GdiFlush();
    const auto* reference = static_cast<const uint32_t*>(bits);

    // Where the ink lies: the centre of its coverage of each pixel's ground.
    struct Centre {
        double x = 0, y = 0, weight = 0;
        void Add(int px, int py, int under, int over) {
            if (under <= 0 || over >= under) return;
            const double coverage = static_cast<double>(under - over) / under;
            x += px * coverage;
            y += py * coverage;
            weight += coverage;
        }
    } button, centred;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            button.Add(x, y, GetGValue(ground[i]), GetGValue(painted[i]));
            centred.Add(x, y, 255, (reference[i] >> 8) & 0xFF);
        }
    ASSERT_GT(button.weight, 10);
    ASSERT_GT(centred.weight, 10);
    EXPECT_NEAR(button.y / button.weight - centred.y / centred.weight, 2.0, 0.35);
    EXPECT_NEAR(button.x / button.weight - centred.x / centred.weight, 0.0, 0.35);
}

// The caption is drawn in the button's own font: a large bold font given
// to one button inks far more of it than the same caption in another
// button's ordinary 12 px font.
TEST_F(PushButtonTest, CaptionTakesTheButtonsOwnSizeAndWeight) {
    HWND plain = Button("OK", BS_PUSHBUTTON, 20, 20, 100, 40);
    HWND big = Button("OK", BS_PUSHBUTTON, 20, 70, 100, 40);
    skin::FontHandle font = skin::FontHandle::Adopt(
        CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                    "宋体"));
    skin::FontHandle ordinary = skin::FontHandle::Adopt(
        CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                    "宋体"));
    ASSERT_TRUE(font);
    ASSERT_TRUE(ordinary);
    SendMessageA(big, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    SendMessageA(plain, WM_SETFONT, reinterpret_cast<WPARAM>(ordinary.Get()), FALSE);
    skin::AttachPushButtons(record_, window_);
    ASSERT_GT(Entry(big).FontSize, Entry(plain).FontSize + 6);
    ASSERT_NE(Entry(big).FontStyle, Entry(plain).FontStyle);
    // Ink: how far each pixel is from the same button painted with no caption.
    auto ink = [&](HWND b) {
        SetWindowTextA(b, "");
        skin::RepaintButtonNow(b, 0, 0);
        const std::vector<COLORREF> ground = Pixels(b);
        SetWindowTextA(b, "OK");
        skin::RepaintButtonNow(b, 0, 0);
        const std::vector<COLORREF> painted = Pixels(b);
        long sum = 0;
        for (size_t i = 0; i < ground.size(); ++i)
            sum += std::abs(int(GetGValue(ground[i])) - int(GetGValue(painted[i])));
        return sum;
    };
    const long small = ink(plain), large = ink(big);
    EXPECT_GT(small, 0);
    EXPECT_GT(large, 3 * small) << "ordinary " << small << ", large bold " << large;
}

TEST_F(PushButtonTest, FocusGlowKeepsItsColourUnderAnotherTheme) {
    HWND b = Attached();
    Paint(b, ODS_FOCUS);
    const std::vector<COLORREF> focused = Pixels(b);
    skin::RepaintButtonNow(b, 0, 1);
    const std::vector<COLORREF> hot = Pixels(b);
    skin::ThemeColor = RGB(0xC0, 0x30, 0x20);
    skin::RepaintButtonNow(b, 0, 1);
    EXPECT_NE(Pixels(b), hot) << "the hover frame follows the theme";
    Paint(b, ODS_FOCUS);
    EXPECT_EQ(Pixels(b), focused);
}

TEST_F(PushButtonTest, RepaintsAreIdempotentAndGiveEverythingBack) {
    HWND b = Attached();
    Paint(b, ODS_FOCUS);
    const std::vector<COLORREF> first = Pixels(b);
    const LiveCounts before = Live();
    for (int i = 0; i < 40; ++i) {
        const UINT states[] = {0, ODS_FOCUS, ODS_SELECTED, ODS_DISABLED, skin::kStateHot};
        Paint(b, states[i % 5]);
        Redraw(b);
    }
    Paint(b, ODS_FOCUS);
    EXPECT_EQ(Live(), before);
    // Translucent layers are laid over a fresh copy of the skin each time.
    EXPECT_EQ(Pixels(b), first);
}

TEST_F(PushButtonTest, HoverRepaintsOnceOnEnterAndNormalOnLeave) {
    HWND a = Attached("A", 20, 20);
    HWND b = Child("BUTTON", BS_PUSHBUTTON, "B", 20, 60, 100, 24);
    skin::AttachPushButtons(record_, window_);
    Redraw(b);
    skin::SkinWindowRecord& r = SkinWindowTable[record_];
    const int ea = skin::FindButtonEntry(record_, a), eb = skin::FindButtonEntry(record_, b);

    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(Near(Pixel(a, 50, 0), kTheme, 3));
    EXPECT_EQ(r.HotEntry, ea);
    EXPECT_EQ(r.PreviousHotEntry, ea);
    EXPECT_EQ(r.HotControlClass, 0);
    // A move inside the same button does not repaint it.
    Smear(a, RGB(0, 255, 0));
    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_TRUE(Near(Pixel(a, 50, 12), RGB(0, 255, 0), 0));
    // After another family was hot with the same index, it repaints.
    r.HotControlClass = 1;
    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_TRUE(Near(Pixel(a, 50, 0), kTheme, 3));
    EXPECT_EQ(r.HotControlClass, 0);

    // To the other button: it turns hot; the first goes normal on leaving.
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(Near(Pixel(b, 50, 0), kTheme, 3));
    EXPECT_EQ(r.HotEntry, eb);
    SendMessageA(a, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(Near(Pixel(a, 50, 0), kTheme, 30));
    EXPECT_EQ(r.PreviousHotEntry, 0);

    // A release over the button makes the next move repaint it hot again.
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Smear(b, RGB(0, 255, 0));
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(r.PreviousHotEntry, 0);
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(Near(Pixel(b, 50, 0), kTheme, 3));
}

// The pointer itself moved onto a button and off it again: the move asks the
// system for the leave notice, and that notice, not one sent by hand, brings
// the normal look back.
TEST_F(PushButtonTest, RealPointerLeavingEndsTheHotLook) {
    HWND b = Attached("A", 20, 20);
    const int entry = skin::FindButtonEntry(record_, b);
    RECT on{};
    GetWindowRect(b, &on);
    // Below the button, still on the skinned window.
    const POINT off{on.left + 50, on.bottom + 40};
    POINT start{};
    GetCursorPos(&start);
    ASSERT_TRUE(SetCursorPos(off.x, off.y));
    Pump();
    Paint(b, 0);
    const std::vector<COLORREF> normal = Pixels(b);

    ASSERT_TRUE(SetCursorPos(on.left + 10, on.top + 10));
    Pump();
    TRACKMOUSEEVENT asked{sizeof asked, TME_QUERY, nullptr, 0};
    ASSERT_TRUE(TrackMouseEvent(&asked));
    EXPECT_EQ(asked.hwndTrack, b);
    EXPECT_TRUE(asked.dwFlags & TME_LEAVE);
    EXPECT_EQ(SkinWindowTable[record_].HotEntry, entry);
    EXPECT_TRUE(Near(Pixel(b, 50, 0), kTheme, 3)) << "hot while the pointer is on it";

    ASSERT_TRUE(SetCursorPos(off.x, off.y));
    // The notice comes once the system has looked where the pointer went:
    // the leave step clears PreviousHotEntry.
    const bool left = testsupport::PollUntil([&] {
        Pump();
        return SkinWindowTable[record_].PreviousHotEntry == 0;
    }, 20000);
    EXPECT_TRUE(left) << "no leave notice came";
    EXPECT_EQ(Pixels(b), normal);
    SetCursorPos(start.x, start.y);
    Pump();
}

TEST_F(PushButtonTest, LeaveDrawsAFocusedButtonFocusedAndADisabledOneDisabled) {
    HWND b = Attached();
    SendMessageA(b, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Entry(b).Focused, 1);
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(b, WM_MOUSELEAVE, 0, 0);
    const COLORREF edge = Pixel(b, 50, 0);
    EXPECT_GT(GetBValue(edge) - GetRValue(edge), 80) << "focus glow";
    SendMessageA(b, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Entry(b).Focused, 0);

    // Disabled by its own click while under the mouse: the leave must not
    // draw it enabled again.
    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EnableWindow(b, FALSE);
    SendMessageA(b, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(Near(Pixel(b, 0, 0), RGB(0xC0, 0xC0, 0xC0), 1));
}

TEST_F(PushButtonTest, ProcedureMessages) {
    HWND b = Attached();
    // WM_SETTEXT changes what the next paint draws.
    const int darkBefore = DarkPixels(b, 0, 0, 100, 24);
    SetWindowTextA(b, "A much longer caption");
    EXPECT_EQ(Entry(b).Text, "A much longer caption");
    Paint(b, 0);
    EXPECT_GT(DarkPixels(b, 0, 0, 100, 24), darkBefore);
    // A double-click is swallowed; WM_NCPAINT is answered without drawing.
    EXPECT_EQ(SendMessageA(b, WM_LBUTTONDBLCLK, 0, 0), 0);
    EXPECT_EQ(SendMessageA(b, WM_NCPAINT, 1, 0), 1);
    // WM_ERASEBKGND erases nothing and sets the caption colour.
    SetPropA(b, "Kj_Ztys", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(RGB(200, 0, 0))));
    skin::WindowDc dc(b);
    SetTextColor(dc, RGB(1, 2, 3));
    Smear(b, RGB(0, 255, 0));
    EXPECT_EQ(SendMessageA(b, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0),
              static_cast<LRESULT>(RGB(1, 2, 3)));
    EXPECT_EQ(GetTextColor(dc), RGB(200, 0, 0));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_TRUE(Near(Pixel(b, 50, 12), RGB(0, 255, 0), 0));
    // The caption takes the text colour.
    Paint(b, 0);
    skin::WindowDc check(b);
    int red = 0;
    for (int y = 4; y < 22; ++y)
        for (int x = 10; x < 90; ++x) {
            const COLORREF c = GetPixel(check, x, y);
            if (GetRValue(c) > 150 && GetGValue(c) < 90) ++red;
        }
    EXPECT_GT(red, 5);
    // A move asks for a whole repaint over what lies under the new place.
    ValidateRect(b, nullptr);
    SetWindowPos(b, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(b, &update, FALSE));
    EXPECT_EQ(update.right - update.left, 100);
    EXPECT_EQ(update.bottom - update.top, 24);
}

TEST_F(PushButtonTest, StaleIndicesAreForwardedNotFatal) {
    HWND b = Attached();
    // A record freed while the control lives: the procedure passes messages on.
    SetPropA(b, "Hw_FuID", reinterpret_cast<HANDLE>(99));
    SetWindowTextA(b, "still works");
    char text[32];
    GetWindowTextA(b, text, sizeof text);
    EXPECT_STREQ(text, "still works");
    SendMessageA(b, WM_MOUSEMOVE, 0, 0);
    SendMessageA(b, WM_MOUSELEAVE, 0, 0);
    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, b, nullptr, {0, 0, 100, 24}, 0};
    SetPropA(b, "Hw_lbID", reinterpret_cast<HANDLE>(50));
    skin::DispatchButtonOwnerDraw(record_, item);  // an entry index beyond the array
}

}  // namespace
}  // namespace ctltest
