// Check boxes and radio buttons, each state reached through the control's
// messages: the mark at chosen pixels, each expected colour worked out from
// the drawing rules (ring, face, shade, hover tint and glow, dot, carried
// box pictures), and the caption where its layout rectangle puts it.
#include <windows.h>
#include <gdiplus.h>

#include <cmath>
#include <cstdint>

#include "drawing/font.h"
#include "drawing/graphics.h"
#include "drawing/pen_brush.h"
#include "fixture.h"
#include "skin/controls/check_radio.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

namespace ctltest {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr int kW = 120;

// Where (x, y) lies along a linear gradient from (x1, y1) to (x2, y2): 0 at
// the start, 1 at the end.
double Along(double x, double y, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    return ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy);
}

int Alpha(double a) { return static_cast<int>(std::lround(a)); }

// A gradient from colour at alpha to full transparency, at t, over under.
COLORREF FadingOver(COLORREF under, COLORREF colour, int alpha, double t) {
    return Over(under, colour, Alpha(alpha * (1 - t)));
}

// The glow: two pens of the fixed glow colour at alpha 30, both covering the pixel.
COLORREF Glowed(COLORREF under) {
    return Over(Over(under, kTheme, 30), kTheme, 30);
}

// What a control paints for a state, reached through its messages.
struct State {
    const char* name;
    bool hot, checked;
    void (*enter)(HWND control);
};

void Nothing(HWND) {}
void Hover(HWND b) { SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 10)); }
void Press(HWND b) { SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10)); }
void Focus(HWND b) { SetFocus(b); }
void Disable(HWND b) { EnableWindow(b, FALSE); }
void Check(HWND b) { SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0); }
void CheckAndHover(HWND b) {
    Check(b);
    Hover(b);
}

// Pressed, focused and disabled look like normal in both families.
const State kStates[] = {
    {"normal", false, false, Nothing},    {"hot", true, false, Hover},
    {"pressed", false, false, Press},     {"focused", false, false, Focus},
    {"disabled", false, false, Disable},  {"checked", false, true, Check},
    {"checked hot", true, true, CheckAndHover},
};

struct Expected {
    int x, y;
    COLORREF colour;
    int tolerance;
};

class CheckRadioLookTest : public ControlsTest {
protected:
    HWND Fresh(DWORD style, int h) {
        HWND b = Child("BUTTON", style, "Caption", 20, 20, kW, h);
        skin::AttachCheckAndRadioButtons(record_, window_);
        Redraw(b);
        return b;
    }

    void TearDown() override {
        ReleaseCapture();
        SetFocus(window_);
        ControlsTest::TearDown();
    }

    void ExpectPoints(HWND b, const State& s, const std::vector<Expected>& points) {
        for (const Expected& e : points)
            EXPECT_TRUE(Near(Pixel(b, e.x, e.y), e.colour, e.tolerance))
                << s.name << " at (" << e.x << ", " << e.y << ")";
    }

    // The caption right of the mark is the control's text drawn black in
    // the layout rectangle, near-aligned and centred vertically, with the
    // font read at attach: compared with that text drawn here on the skin.
    void ExpectCaption(HWND b, const State& s, float x, float w, float h, int fromColumn) {
        const auto& buttons = skin::SkinWindowTable[record_].Buttons;
        const int index = static_cast<int>(skin::ReadProp(b, skin::prop::Hw_lbID));
        ASSERT_TRUE(index >= 1 && index <= buttons.Count());
        const skin::SkinnedButton* entry = &buttons[index];
        const int ih = static_cast<int>(h);
        const std::vector<uint32_t> reference =
            TextOnSkin(entry->Text, *entry, {x, 2, w, h}, kW, ih);
        const std::vector<COLORREF> shown = Pixels(b);
        int ink = 0, differing = 0;
        for (int y = 0; y < ih; ++y)
            for (int c = fromColumn; c < kW; ++c) {
                const uint32_t r = reference[y * kW + c];
                const COLORREF want = RGB((r >> 16) & 0xFF, (r >> 8) & 0xFF, r & 0xFF);
                ink += want != kSkin;
                differing += !testsupport::ChannelsWithin(shown[y * kW + c], want, 2);
            }
        EXPECT_GT(ink, 20) << "the reference caption drew nothing";
        EXPECT_EQ(differing, 0) << s.name << ": caption pixels off their layout rectangle";
    }

private:
    static std::vector<uint32_t> TextOnSkin(const rt::AnsiText& text,
                                            const skin::SkinnedButton& font, drw::RectF layout,
                                            int w, int h) {
        void* bits = nullptr;
        skin::BitmapHandle bitmap =
            skin::BitmapHandle::Adopt(testsupport::CreateTopDownDib32(w, h, &bits));
        auto* px = static_cast<uint32_t*>(bits);
        for (int i = 0; i < w * h; ++i) px[i] = testsupport::DibPixel(kSkin);
        skin::MemoryDc dc(nullptr);
        const HGDIOBJ displaced = SelectObject(dc, bitmap);
        {
            drw::GraphicsObject g;
            g.FromHdc(dc);
            drw::FontObject f;
            f.CreateByName(font.FontName, static_cast<float>(font.FontSize), font.FontStyle,
                           Gdiplus::UnitPixel);
            drw::SolidBrushObject ink;
            ink.Create(0xFF000000);
            drw::StringFormatObject format;
            format.Create();
            format.SetAlign(Gdiplus::StringAlignmentNear);
            format.SetLineAlign(Gdiplus::StringAlignmentCenter);
            g.DrawString(text, f, ink, layout, &format);
        }
        GdiFlush();
        std::vector<uint32_t> out(px, px + w * h);
        SelectObject(dc, displaced);
        return out;
    }
};

TEST_F(CheckRadioLookTest, RadioButtonStatesAtChosenPixels) {
    // Client height 20: the ring's box is (2, 4, 12, 12), the face F
    // (3, 5.5, 9, 9), the dot D (5, 7, 6, 6) round (8, 10) with radius 3.
    auto face = [](int x, int y, bool hot) {
        // White, shaded from (3, 5) to (10, 15), 0x64000000 to clear; hot,
        // tinted from (3, 5) to (11, 16), the theme at 100 to clear.
        COLORREF c = FadingOver(kWhite, kBlack, 100, Along(x, y, 3, 5, 10, 15));
        if (hot) c = FadingOver(c, kTheme, 100, Along(x, y, 3, 5, 11, 16));
        return c;
    };
    auto dot = [&](int x, int y, bool hot) {
        // The path gradient from 0x64FFFFFF at the centre to opaque
        // COLORREF 0x808000 at the rim.
        const double t = std::hypot(x - 8.0, y - 10.0) / 3;
        const testsupport::GradientPoint g = testsupport::GradientAt(0x64FFFFFF, 0xFF008080, t);
        return Over(face(x, y, hot), g.colour, g.alpha);
    };
    const COLORREF ring = Over(kSkin, kBlack, 200);
    for (const State& s : kStates) {
        SCOPED_TRACE(s.name);
        HWND b = Fresh(BS_AUTORADIOBUTTON, 20);
        s.enter(b);
        std::vector<Expected> points = {
            {8, 4, ring, 2},
            {14, 10, ring, 2},
            // Just outside F: the 2 px glow only when hot.
            {7, 5, s.hot ? Over(kSkin, kTheme, 30) : kSkin, 4},
        };
        if (s.checked) {
            // D's outline, 1 px of 0xC8000000 on the circle of radius 3.
            points.push_back({5, 9, Over(face(5, 9, s.hot), kBlack, 200), 12});
            points.push_back({10, 12, Over(face(10, 12, s.hot), kBlack, 200), 12});
            points.push_back({6, 10, dot(6, 10, s.hot), 12});
        } else {
            points.push_back({7, 10, face(7, 10, s.hot), 6});
            points.push_back({5, 8, face(5, 8, s.hot), 6});
            points.push_back({10, 12, face(10, 12, s.hot), 6});
        }
        ExpectPoints(b, s, points);
        ExpectCaption(b, s, 18, kW, 20, 15);
        ReleaseCapture();
        DestroyWindow(b);
    }
}

TEST_F(CheckRadioLookTest, CheckBoxStatesAtChosenPixels) {
    // Client height 21: the box pictures at (0, 4); picture pixel (c, r) is
    // control pixel (c, 4 + r). Their inner gradient at row + column 12
    // (inside the ring) is RGB(0xF4, 0xF1, 0xEC), at 16 RGB(0xF9, 0xF7, 0xF4).
    const COLORREF inner10 = RGB(0xF4, 0xF1, 0xEC), inner14 = RGB(0xF9, 0xF7, 0xF4);
    const COLORREF tick = RGB(0x24, 0x6E, 0x75);
    // Hot: the box tinted from (3, 5.5) to (11, 16.5), the theme at 100 to
    // clear, its outline glowing.
    auto tinted = [](COLORREF c, int x, int y, bool hot) {
        return hot ? FadingOver(c, kTheme, 100, Along(x, y, 3, 5.5, 11, 16.5)) : c;
    };
    for (const State& s : kStates) {
        SCOPED_TRACE(s.name);
        HWND b = Fresh(BS_AUTOCHECKBOX, 21);
        s.enter(b);
        std::vector<Expected> points = {
            {8, 12, tinted(inner14, 8, 12, s.hot), 4},
            // Row 7, column 5: part of the tick.
            {5, 11, tinted(s.checked ? tick : inner10, 5, 11, s.hot), 4},
            // Right of the box, on its outline: the glow's 1 and 2 px pens.
            {13, 10, s.hot ? Glowed(kSkin) : kSkin, 4},
        };
        if (!s.hot)  // the ring: unchecked (3, 3, 3) at alpha 230, checked opaque
            points.push_back({0, 10, s.checked ? RGB(0x18, 0x51, 0x84)
                                               : Over(kSkin, RGB(3, 3, 3), 230), 2});
        ExpectPoints(b, s, points);
        ExpectCaption(b, s, 17, kW - 19, 21, 14);
        ReleaseCapture();
        DestroyWindow(b);
    }
}

}  // namespace
}  // namespace ctltest
