// Text conversion, fonts made by name and from a DC, and the tooltip window
// with the TOOLINFOA every tool message carries.
#include "tests/drawing/drawing_fixture.h"

#include <commctrl.h>

#include <vector>

using namespace drw;

namespace drwtest {
namespace {

using Text = DrawingTest;

TEST_F(Text, WideTextOfEmptyAndOfTwoGbkCharacters) {
    EXPECT_EQ(ToWideText(""), ByteString(2, 0));
    // "汉字" is four GBK bytes; U+6C49 U+5B57 and a zero unit.
    EXPECT_EQ(ToWideText("汉字"), (ByteString{0x49, 0x6C, 0x57, 0x5B, 0, 0}));
    EXPECT_EQ(WideToText(L"\u6c49\u5b57"), "汉字");
    EXPECT_EQ(WideToText(nullptr), "");
}

TEST_F(Text, FontByNameThatIsNotInstalledStaysEmpty) {
    FontObject font;
    EXPECT_EQ(font.CreateByName("NoSuchFamilyAnywhere", 12), 0);
    EXPECT_EQ(font.GetNative(), nullptr);
    // A family that exists but a size GDI+ refuses: the result reports the
    // font, not the deletion of the temporary family.
    FontObject refused;
    EXPECT_EQ(refused.CreateByName("宋体", -3), 0);
    EXPECT_NE(LastStatus, 0);
    EXPECT_EQ(refused.GetNative(), nullptr);
    // Unit omitted: UnitWorld.
    FontObject world;
    ASSERT_EQ(world.CreateByName("宋体", 12), 1);
    EXPECT_EQ(world.GetUnit(), Gdiplus::UnitWorld);
}

TEST_F(Text, FontFromHdcFallsBackToTheFontOfTheDc) {
    MemoryCanvas canvas(8, 8);
    HFONT songti = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ old = SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
    const auto familyOf = [](FontObject& font) {
        FontFamilyObject family;
        font.GetFamily(family);
        const AnsiText name = family.GetFamilyName();
        family.Delete();
        return name;
    };
    FontObject dcFont;
    ASSERT_EQ(dcFont.FromHdc(canvas.dc()), 1);
    const AnsiText dcFamily = familyOf(dcFont);
    // GetObjectA answers these too, with records that are no LOGFONTA (a
    // bitmap's planes and bits per pixel would land in the font's weight).
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    struct Case { const char* what; HGDIOBJ font; int bold; bool dcs; };
    const Case cases[] = {{"given font", songti, 1, false},
                          {"no font: the DC's", nullptr, 0, true},
                          {"unreadable font: the DC's", reinterpret_cast<HFONT>(0x7777), 0, true},
                          {"a bitmap: the DC's", bitmap, 0, true},
                          {"a brush: the DC's", brush, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FontObject font;
        ASSERT_EQ(font.FromHdc(canvas.dc(), static_cast<HFONT>(c.font)), 1);
        EXPECT_EQ(font.GetStyle() & Gdiplus::FontStyleBold, c.bold ? Gdiplus::FontStyleBold : 0);
        if (c.dcs) {
            EXPECT_EQ(familyOf(font), dcFamily);
            EXPECT_EQ(font.GetSize(), dcFont.GetSize());
        }
    }
    SelectObject(canvas.dc(), old);
    DeleteObject(songti);
    DeleteObject(bitmap);
    DeleteObject(brush);
}

// The style given to Create is the font's: read back, and bold ink is
// heavier than regular ink.
TEST_F(Text, FontCreatedWithAStyleHasThatStyle) {
    FontFamilyObject family;
    ASSERT_EQ(family.CreateFromName("宋体"), 1);
    const auto inkOf = [](FontObject& font) {
        MemoryCanvas canvas(60, 30);
        PaintOn(canvas, 0xFFFFFF, [&](GraphicsObject& g) {
            SolidBrushObject ink;
            ink.Create(0xFF000000);
            g.DrawString("汉字", font, ink, RectF{0, 0, 60, 30});
        });
        int dark = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) dark += Red(canvas.At(x, y)) < 128;
        return dark;
    };
    int regularInk = 0;
    const int styles[] = {Gdiplus::FontStyleRegular, Gdiplus::FontStyleBold, Gdiplus::FontStyleItalic,
                          Gdiplus::FontStyleBoldItalic, Gdiplus::FontStyleUnderline | Gdiplus::FontStyleStrikeout};
    for (int style : styles) {
        SCOPED_TRACE(style);
        FontObject font;
        ASSERT_EQ(font.Create(family, 20, style, Gdiplus::UnitPixel), 1);
        EXPECT_EQ(font.GetStyle(), style);
        if (style == Gdiplus::FontStyleRegular) regularInk = inkOf(font);
        if (style == Gdiplus::FontStyleBold) {
            EXPECT_GT(inkOf(font), regularInk + regularInk / 10);
        }
    }
    family.Delete();
}

TEST_F(Text, FamilyNamesAreReadWhole) {
    FontFamilyObject empty;
    EXPECT_EQ(empty.GetFamilyName(), "");
    FontFamilyObject family;
    ASSERT_EQ(family.CreateFromName("宋体"), 1);
    // Through the prefix's font replacement.
    EXPECT_EQ(family.GetFamilyName(), "Noto Serif CJK SC");
    EXPECT_EQ(family.GetFamilyNameW().size(), 64u);
    family.Delete();   // destruction would not delete a family
}

TEST_F(Text, WideTwinsNeedNoTerminatorFromTheCaller) {
    MemoryCanvas canvas(40, 20);
    GraphicsObject g;
    g.FromHdc(canvas.dc());
    FontObject font;
    font.CreateByName("宋体", 12);
    SolidBrushObject ink;
    ink.Create(0xFF000000);
    ByteString unterminated = {'A', 0, 'B', 0};   // two units, no zero unit
    EXPECT_EQ(g.DrawStringW(unterminated, font, ink, RectF{0, 0, 40, 20}), 1);
    RectF box{};
    EXPECT_EQ(g.MeasureStringW(unterminated, font, RectF{0, 0, 40, 20}, nullptr, box), 1);
    EXPECT_GT(box.width, 0.0f);
}

// ---- tooltip

// Records the TOOLINFOA of every tool message the tooltip receives.
struct ToolMessage {
    UINT message;
    TooltipObject::ToolInfo info;
};
std::vector<ToolMessage> seen;
WNDPROC tooltipProc = nullptr;

LRESULT CALLBACK Spy(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == TTM_ADDTOOLA || msg == TTM_DELTOOLA || msg == TTM_NEWTOOLRECTA || msg == TTM_UPDATETIPTEXTA)
        seen.push_back({msg, *reinterpret_cast<const TooltipObject::ToolInfo*>(lp)});
    return CallWindowProcA(tooltipProc, hwnd, msg, wp, lp);
}

class Tooltip : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        seen.clear();
    }
    void TearDown() override {
        DestroyWindow(owner);
        DrawingTest::TearDown();
    }
    HWND owner = nullptr;
};

TEST_F(Tooltip, WindowClassAndStyles) {
    TooltipObject tip;
    EXPECT_EQ(tip.GetHwnd(), nullptr);
    HWND plain = tip.Create(owner);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(tip.GetHwnd(), plain);
    char cls[64] = {};
    GetClassNameA(plain, cls, sizeof(cls));
    EXPECT_STRCASEEQ(cls, "tooltips_class32");
    EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & 0xFF, TTS_ALWAYSTIP);

    TooltipObject balloon;
    HWND round = balloon.Create(owner, 1);
    EXPECT_EQ(GetWindowLongA(round, GWL_STYLE) & 0xFF, TTS_ALWAYSTIP | TTS_BALLOON);
    TooltipObject notGiven;   // the value is tested, not the given flag
    HWND alsoRound = notGiven.Create(owner, Opt<int>(1, false));
    EXPECT_EQ(GetWindowLongA(alsoRound, GWL_STYLE) & 0xFF, TTS_ALWAYSTIP | TTS_BALLOON);

    // Destruction leaves the window; a copy stands for the same window.
    TooltipObject copy = tip.Copy();
    EXPECT_EQ(copy.GetHwnd(), plain);
    DestroyWindow(plain);
    DestroyWindow(round);
    DestroyWindow(alsoRound);
}

// The record without lParam: 40 bytes in the 32-bit program, 56 in the 64-bit one.
constexpr UINT kToolInfoSize = sizeof(void*) == 4 ? 40 : 56;

TEST_F(Tooltip, EveryToolMessageCarriesTheRecordWithoutLParam) {
    TooltipObject tip;
    HWND window = tip.Create(owner);
    tooltipProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC,
                                                              reinterpret_cast<LONG_PTR>(Spy)));
    const RECT first = {1, 2, 30, 20}, moved = {40, 2, 70, 20};
    {
        AnsiText text = "最小化";
        EXPECT_EQ(tip.AddTool(first, text, 1), 1);
        text = "changed after the call";   // the control kept its own copy
    }
    EXPECT_EQ(tip.AddCallbackTool(moved, 2), 1);
    tip.NewToolRect(1, moved);
    tip.UpdateTipText(1, "关闭");
    tip.DeleteTool(2);
    ASSERT_EQ(seen.size(), 5u);
    for (const ToolMessage& m : seen) {
        SCOPED_TRACE(m.message);
        EXPECT_EQ(m.info.cbSize, kToolInfoSize);
        EXPECT_EQ(m.info.uFlags, static_cast<UINT>(TTF_SUBCLASS));
        EXPECT_EQ(m.info.hwnd, owner);
        EXPECT_EQ(m.info.hinst, nullptr);
    }
    EXPECT_EQ(seen[0].info.uId, 1u);
    EXPECT_EQ(seen[0].info.rect.right, 30);
    EXPECT_EQ(seen[1].info.lpszText, LPSTR_TEXTCALLBACKA);
    EXPECT_EQ(seen[2].info.rect.left, 40);
    EXPECT_EQ(seen[4].info.uId, 2u);

    // What the control holds: one tool (id 1) with the renewed text and rectangle.
    EXPECT_EQ(SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TooltipObject::ToolInfo query = {kToolInfoSize, 0, owner, 1, {}, nullptr, text};
    SendMessageA(window, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&query));
    EXPECT_STREQ(text, "关闭");
    EXPECT_TRUE(SendMessageA(window, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&query)));
    EXPECT_EQ(query.rect.left, 40);

    EXPECT_EQ(tip.SetMaxTipWidth(120), -1);   // the previous width: none set
    EXPECT_EQ(tip.SetMaxTipWidth(80), 120);
    tip.SetTipBackColor(0x00112233);
    EXPECT_EQ(SendMessageA(window, TTM_GETTIPBKCOLOR, 0, 0), 0x00112233);
    tip.SetTipTextColor(0x00445566);
    EXPECT_EQ(SendMessageA(window, TTM_GETTIPTEXTCOLOR, 0, 0), 0x00445566);
    DestroyWindow(window);
}

}  // namespace
}  // namespace drwtest
