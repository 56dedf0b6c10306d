// The caption-button strip: layout, hit testing, the tooltip tools, custom
// buttons, the system glyphs, and the record lookups of the window-taking
// operations.
#include "fixture.h"

#include <commctrl.h>

#include "resources/carried.h"
#include "skin/caption_buttons.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

using namespace captiontest;
using skin::Engine;
using skin::SkinWindowTable;

namespace {

class CaptionButtonsTest : public SkinnedWindowTest {};

struct Tool {
    RECT rect{};
    std::string text;
};

int ToolCount(HWND tip) { return static_cast<int>(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0)); }

Tool ReadTool(HWND tip, HWND owner, UINT_PTR id) {
    char text[80] = {};
    TOOLINFOA info{};
    // The tools were added in the form without lParam: 40 bytes in the 32-bit
    // program, 56 in the 64-bit one.
    info.cbSize = sizeof(void*) == 4 ? 40 : 56;
    info.hwnd = owner;
    info.uId = id;
    Tool tool;
    EXPECT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)))
        << "tool " << id;
    tool.rect = info.rect;
    info.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    tool.text = text;
    return tool;
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

// Strips of one, three and five buttons in a client 698 wide: positions,
// and a table of points hit or missed.
TEST_F(CaptionButtonsTest, LayoutAndHitTable) {
    struct Setup {
        DWORD style;
        int help, menu;
        int stripWidth, stripX;
        std::vector<int> xs;
    };
    const Setup setups[] = {
        {0, 0, 0, 41, 658, {660}},
        {kMinMax, 0, 0, 95, 604, {606, 633, 660}},
        {kMinMax, 1, 1, 149, 550, {552, 579, 606, 633, 660}},
    };
    struct Probe {
        int setup, x, y, button;
    };
    const Probe probes[] = {
        // One button: the close rectangle 660..700, rows 1..19.
        {0, 660, 5, 0}, {0, 661, 5, 1}, {0, 699, 5, 1}, {0, 700, 5, 0}, {0, 661, 1, 0},
        {0, 661, 2, 1}, {0, 661, 18, 1}, {0, 661, 19, 0}, {0, 657, 5, 0},
        // Three buttons.
        {1, 606, 5, 0}, {1, 607, 5, 1}, {1, 632, 5, 0}, {1, 633, 5, 0}, {1, 634, 5, 2},
        {1, 658, 5, 2}, {1, 659, 5, 0}, {1, 661, 5, 3}, {1, 620, 23, 0}, {1, 700, 5, 0},
        {1, 603, 5, 0}, {1, 620, -1, 0},
        // Five buttons: help, menu, minimize, maximize, close.
        {2, 553, 10, 1}, {2, 580, 10, 2}, {2, 607, 10, 3}, {2, 634, 10, 4}, {2, 690, 10, 5},
        {2, 578, 10, 0}, {2, 551, 10, 0},
    };
    std::vector<int> records;
    for (const Setup& s : setups) {
        const int record = Attach(MakeWindow(kMainWidth, kMainHeight, s.style), 1, s.help, s.menu);
        ASSERT_GT(record, 0);
        records.push_back(record);
        const skin::SkinWindowRecord& r = SkinWindowTable[record];
        EXPECT_EQ(r.StripWidth, s.stripWidth);
        EXPECT_EQ(r.StripX, s.stripX);
        EXPECT_EQ(r.StripHeight, 22);
        ASSERT_EQ(r.CaptionButtons.Count(), static_cast<int>(s.xs.size()));
        for (int i = 1; i <= r.CaptionButtons.Count(); ++i) {
            const skin::CaptionButton& b = r.CaptionButtons[i];
            EXPECT_FLOAT_EQ(b.Rect.x, static_cast<float>(s.xs[i - 1])) << "button " << i;
            EXPECT_FLOAT_EQ(b.Rect.y, 1.0f);
            EXPECT_FLOAT_EQ(b.Rect.width, b.Kind == 0 ? 40.0f : 26.0f);
            EXPECT_FLOAT_EQ(b.Rect.height, 18.0f);
        }
    }
    for (const Probe& p : probes)
        EXPECT_EQ(Engine->HitCaptionButton(records[p.setup], p.x, p.y), p.button)
            << "setup " << p.setup << " at (" << p.x << ", " << p.y << ")";
}

TEST_F(CaptionButtonsTest, StripAsTheFadeTimerSeesIt) {
    const int record = Attach(MakeWindow());
    struct Probe {
        int x, y;
        bool inside;
    };
    const Probe probes[] = {{602, 5, true},  {699, 5, true},  {601, 5, false}, {700, 5, false},
                            {650, 22, true}, {650, 23, false}, {650, -1, false}, {650, 0, true}};
    for (const Probe& p : probes)
        EXPECT_EQ(skin::IsInCaptionButtonStrip(record, At(p.x, p.y)), p.inside)
            << "(" << p.x << ", " << p.y << ")";
    EXPECT_FALSE(skin::IsInCaptionButtonStrip(record + 1, At(650, 5)));
}

// Tool i covers button i and shows its tip, after the attach's layout and
// after a resize moved the strip.
TEST_F(CaptionButtonsTest, TooltipToolsFollowTheLayout) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    HWND tip = SkinWindowTable[record].CaptionTooltip.GetHwnd();
    ASSERT_NE(tip, nullptr);
    ASSERT_EQ(ToolCount(tip), 3);
    const char* tips[] = {"最小化", "最大化", "关闭"};
    const int widths[] = {26, 26, 40};
    auto check = [&](int clientWidth) {
        for (int i = 1; i <= 3; ++i) {
            const Tool t = ReadTool(tip, window, static_cast<UINT_PTR>(i));
            const int left = clientWidth - 95 + 1 + 2 + 27 * (i - 1);
            EXPECT_EQ(t.rect.left, left) << "tool " << i << " in a client " << clientWidth;
            EXPECT_EQ(t.rect.top, 1);
            EXPECT_EQ(t.rect.right, left + widths[i - 1]);
            EXPECT_EQ(t.rect.bottom, 19);
            EXPECT_EQ(t.text, tips[i - 1]);
        }
    };
    check(kMainWidth);
    // The window procedure lays the strip out again on WM_WINDOWPOSCHANGED.
    SetWindowPos(window, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(SkinWindowTable[record].StripX, 500 - 95 + 1);
    check(500);
}

TEST_F(CaptionButtonsTest, CustomButtonGoesInFront) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    const rt::ByteString glyph = res::HelpButtonImage();
    ASSERT_TRUE(Engine->AddCaptionButton(window, glyph, "自定义", 0x1234));
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    EXPECT_EQ(r.StripWidth, 122);
    EXPECT_EQ(r.StripX, 577);
    ASSERT_EQ(r.CaptionButtons.Count(), 4);
    const float xs[] = {579, 606, 633, 660};
    const int kinds[] = {5, 2, 1, 0};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_FLOAT_EQ(r.CaptionButtons[i].Rect.x, xs[i - 1]);
        EXPECT_EQ(r.CaptionButtons[i].Kind, kinds[i - 1]);
    }
    EXPECT_EQ(r.CaptionButtons[1].Callback, 0x1234u);
    EXPECT_EQ(r.CaptionButtons[1].Image, glyph);
    HWND tip = r.CaptionTooltip.GetHwnd();
    ASSERT_EQ(ToolCount(tip), 4);
    EXPECT_EQ(ReadTool(tip, window, 1).text, "自定义");
    EXPECT_EQ(ReadTool(tip, window, 1).rect.left, 579);
    EXPECT_EQ(ReadTool(tip, window, 4).text, "关闭");
    EXPECT_EQ(ReadTool(tip, window, 4).rect.left, 660);
    EXPECT_EQ(Engine->HitCaptionButton(record, 590, 10), 1);
}

// A control's Hw_lbID is an entry index: the operations that find a record
// through the property act only on the record's own window.
TEST_F(CaptionButtonsTest, OperationsIgnoreWindowsThatAreNotTheRecords) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    skin::WriteProp(control, skin::prop::Hw_lbID, record);
    HWND plain = MakeWindow(200, 150);
    const rt::ByteString glyph = res::HelpButtonImage();
    const rt::ByteString picture = TwoColourPng(8, 8, RGB(255, 0, 0), RGB(0, 0, 255));
    for (HWND other : {control, plain}) {
        EXPECT_FALSE(Engine->AddCaptionButton(other, glyph, "x", 0));
        EXPECT_FALSE(Engine->SetSystemButtonImages(other, nullptr, nullptr, nullptr, &glyph));
        EXPECT_FALSE(Engine->SetCaptionTextStyle(other, {}, {}, RGB(1, 2, 3)));
        EXPECT_EQ(Engine->SetWindowBackground(other, picture, 3), 0);
    }
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    EXPECT_EQ(r.CaptionButtons.Count(), 3);
    EXPECT_EQ(r.CaptionButtons[3].Image, res::CloseButtonImage());
    EXPECT_EQ(r.TitleColor, 0xFFFFFFu);
    EXPECT_TRUE(r.Picture.empty());
    EXPECT_EQ(r.StripWidth, 95);
}

TEST_F(CaptionButtonsTest, SystemButtonImagesFollowTheStyle) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    skin::Engine->RenderWindow(record, 0);
    const rt::ByteString glyph = res::HelpButtonImage();
    ASSERT_TRUE(Engine->SetSystemButtonImages(window, nullptr, nullptr, nullptr, &glyph));
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    EXPECT_EQ(r.CaptionButtons[1].Image, res::MinimizeButtonImage());
    EXPECT_EQ(r.CaptionButtons[2].Image, res::MaximizeButtonImage());
    EXPECT_EQ(r.CaptionButtons[2].SecondImage, res::RestoreButtonImage());
    EXPECT_EQ(r.CaptionButtons[3].Image, glyph);

    const rt::ByteString other = res::MenuButtonImage();
    ASSERT_TRUE(Engine->SetSystemButtonImages(window, &other, &glyph, &other, nullptr));
    EXPECT_EQ(r.CaptionButtons[1].Image, other);
    EXPECT_EQ(r.CaptionButtons[2].Image, glyph);
    EXPECT_EQ(r.CaptionButtons[2].SecondImage, other);
    EXPECT_EQ(r.CaptionButtons[3].Image, glyph);

    // A window attached with the close button alone whose style later gains
    // both boxes: the positions before the first button are skipped.
    HWND lone = MakeWindow(300, 200, 0);
    const int loneRecord = Attach(lone);
    SetWindowLongA(lone, GWL_STYLE, GetWindowLongA(lone, GWL_STYLE) | kMinMax);
    ASSERT_TRUE(Engine->SetSystemButtonImages(lone, &other, &other, &other, &glyph));
    ASSERT_EQ(SkinWindowTable[loneRecord].CaptionButtons.Count(), 1);
    EXPECT_EQ(SkinWindowTable[loneRecord].CaptionButtons[1].Image, glyph);
    EXPECT_TRUE(SkinWindowTable[loneRecord].CaptionButtons[1].SecondImage.empty());
}

TEST_F(CaptionButtonsTest, LookupsAndCallbacks) {
    HWND window = MakeWindow();
    HWND plainWindow = MakeWindow(300, 200, 0);
    const int record = Attach(window);
    const int lone = Attach(plainWindow);
    EXPECT_EQ(Engine->FindMaximizeButton(record), 2);
    EXPECT_EQ(Engine->FindMaximizeButton(lone), 0);

    const RECT strip = Engine->GetCaptionStripRect(window);
    EXPECT_EQ(strip.left, 604);
    EXPECT_EQ(strip.top, 0);
    EXPECT_EQ(strip.right, 699);
    EXPECT_EQ(strip.bottom, 22);
    HWND stranger = MakeWindow(100, 100);
    const RECT none = Engine->GetCaptionStripRect(stranger);
    EXPECT_EQ(none.left | none.top | none.right | none.bottom, 0);

    Engine->SetHelpButtonCallback(window, 0x111);
    Engine->SetMenuButtonCallback(window, 0x222);
    Engine->SetHelpButtonCallback(stranger, 0x333);
    EXPECT_EQ(SkinWindowTable[record].HelpCallback, 0x111u);
    EXPECT_EQ(SkinWindowTable[record].MenuCallback, 0x222u);
    EXPECT_EQ(SkinWindowTable[lone].HelpCallback, 0u);
}

// New system glyphs show at once: every button is painted again.
TEST_F(CaptionButtonsTest, SystemButtonImagesArePaintedAtOnce) {
    HWND window = MakeWindow();
    const int record = Attach(window);
    Engine->RenderWindow(record, 0);
    const COLORREF green = RGB(0, 200, 0);
    const rt::ByteString minimize = TwoColourPng(26, 18, green, green);
    const rt::ByteString close = TwoColourPng(38, 18, green, green);
    ASSERT_TRUE(Engine->SetSystemButtonImages(window, &minimize, nullptr, nullptr, &close));
    const skin::SkinWindowRecord& r = SkinWindowTable[record];
    auto glyphCentre = [&](int button) {
        const skin::CaptionButton& b = r.CaptionButtons[button];
        return Grab(r.WindowCacheDc, static_cast<int>(b.Rect.x) - 1 + b.Width / 2, 10, 1, 1)
            .At(0, 0);
    };
    EXPECT_TRUE(Near(glyphCentre(1), green, 40));
    EXPECT_TRUE(Near(glyphCentre(3), green, 40));
    EXPECT_FALSE(Near(glyphCentre(2), green, 80)) << "the maximize glyph is unchanged";
}
