// Combo boxes: attach with their inner edits, the painter read back from the
// screen (face, border, button, arrow, text, keyed-out children), hover and
// focus, each state's look after the messages that reach it, the glass brush
// for the inner edit and its repaint trigger.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls_fixture.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/edit.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

using namespace skin;
using namespace ctltest;

namespace {

bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; }

int DarkPixels(HWND window, int left, int top, int right, int bottom) {
    HDC dc = GetWindowDC(window);
    int dark = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (IsDark(GetPixel(dc, x, y))) ++dark;
    ReleaseDC(window, dc);
    return dark;
}

class ComboBoxTest : public ControlsTest {
protected:
    SkinWindowRecord& Record() { return SkinWindowTable[record]; }
    HWND Combo(DWORD type, int x, int y, int height = 200) {
        HWND combo = Control("COMBOBOX", type | WS_VSCROLL, x, y, 120, height);
        for (const char* item : {"first", "WWWWW", "third"})
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return combo;
    }
    static HWND InnerEdit(HWND combo) { return FindWindowExA(combo, nullptr, "Edit", nullptr); }
    int ComboHeight(HWND combo) {
        RECT r{};
        GetWindowRect(combo, &r);
        return r.bottom - r.top;
    }
};

TEST_F(ComboBoxTest, AttachTakesEachComboBoxOnceWithItsEditWhenTransparent) {
    HWND dropDown = Combo(CBS_DROPDOWN, 10, 10);
    HWND list = Combo(CBS_DROPDOWNLIST, 10, 50);
    HWND simple = Combo(CBS_SIMPLE, 10, 90, 100);
    const LONG_PTR listProc = GetWindowLongPtrA(list, GWLP_WNDPROC);
    AttachEditsAndComboBoxes(record, top);
    AttachEditsAndComboBoxes(record, top);

    ASSERT_EQ(Record().ComboBoxes.Count(), 3);
    EXPECT_EQ(Record().ComboBoxes[1].Window, dropDown);
    EXPECT_EQ(Record().ComboBoxes[2].Window, list);
    EXPECT_EQ(Record().ComboBoxes[3].Window, simple);
    EXPECT_EQ(ReadProp(list, "Hw_lbID"), 2);
    EXPECT_EQ(ReadProp(list, "Hw_FuID"), record);
    EXPECT_EQ(ReadProp(list, "Hw_hProc"), listProc);
    // The edits of the drop-down and the simple combo box, once each.
    ASSERT_EQ(Record().Edits.Count(), 2);
    EXPECT_EQ(Record().Edits[1].Window, InnerEdit(dropDown));
    EXPECT_EQ(Record().Edits[2].Window, InnerEdit(simple));
    // Messages still reach the controls through one subclassing each.
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
    SetWindowTextA(dropDown, "typed");
    EXPECT_EQ(GetWindowTextLengthA(InnerEdit(dropDown)), 5);
}

TEST_F(ComboBoxTest, InnerEditStaysUnskinnedWithoutTransparentControls) {
    TransparentControlsFlag = 0;
    HWND dropDown = Combo(CBS_DROPDOWN, 10, 10);
    AttachEditsAndComboBoxes(record, top);
    EXPECT_EQ(Record().ComboBoxes[1].Window, dropDown);
    EXPECT_EQ(Record().Edits[1].Window, nullptr);
    EXPECT_EQ(GetPropA(InnerEdit(dropDown), "Hw_lbID"), nullptr);
}

TEST_F(ComboBoxTest, DropDownListShowsBorderButtonArrowAndSelectedText) {
    HWND list = Combo(CBS_DROPDOWNLIST, 20, 30);
    SendMessageA(list, CB_SETCURSEL, 1, 0);
    AttachEditsAndComboBoxes(record, top);
    const int h = ComboHeight(list);
    const int bx = 120 - 17 - 2;  // 101
    auto border = [&](int x, int y, COLORREF ink, int alpha) {
        return Blend(GlassAt(20, 30, x, y), ink, alpha);
    };

    PaintComboBox(record, 1, false, false);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), border(0, 0, 0, 80), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, 119, h - 1), border(119, h - 1, 0, 80), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, 60, h - 2), GlassAt(20, 30, 60, h - 2), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, bx, h / 2), border(bx, h / 2, 0, 80), 8));
    // The arrow's widest row, centred in the button.
    const int arrowTop = 2 + (h - 4 - 4) / 2;
    EXPECT_TRUE(IsDark(WindowPixel(list, bx + 8, arrowTop)));
    EXPECT_FALSE(IsDark(WindowPixel(list, bx + 8, arrowTop + 5)));
    // The selected text in black on the face, left of the button.
    EXPECT_GT(DarkPixels(list, 2, 2, bx - 1, h - 2), 10);

    PaintComboBox(record, 1, true, false);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), border(0, 0, kTheme, 200), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, bx, h / 2), border(bx, h / 2, kTheme, 200), 8));

    // Focus colours the outer border only.
    PaintComboBox(record, 1, false, true);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), border(0, 0, kTheme, 200), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, bx, h / 2), border(bx, h / 2, 0, 80), 8));

    // No selection: no text.
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PaintComboBox(record, 1, false, false);
    EXPECT_EQ(DarkPixels(list, 2, 2, bx - 1, h - 2), 0);
}

TEST_F(ComboBoxTest, DropDownButtonAndArrowSitWhereTheWidthAndHeightPutThem) {
    HWND dropDown = Combo(CBS_DROPDOWN, 20, 30);
    SendMessageA(dropDown, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 18);
    ASSERT_EQ(ComboHeight(dropDown), 24);
    SetWindowTextA(dropDown, "WWWWW");
    AttachEditsAndComboBoxes(record, top);
    HWND edit = InnerEdit(dropDown);
    RECT own{};
    GetWindowRect(edit, &own);
    OffsetRect(&own, -own.left, -own.top);
    SmearWindow(edit, kMarker);
    PaintComboBox(record, 1, false, false);
    // The edit keeps what it shows: no text of the painter over it.
    int kept = 0;
    for (int y = 0; y < own.bottom; ++y)
        for (int x = 0; x < own.right; ++x) kept += WindowPixel(edit, x, y) == kMarker;
    EXPECT_EQ(kept, own.right * own.bottom);
    // bw 18, bx 100: the outline (100, 2, 17, 19), the body (101, 3, 16, 18)
    // shaded from the theme at 30 (y 2) to the theme at 100 (y 20).
    auto glass = [](int x, int y) { return GlassAt(20, 30, x, y); };
    EXPECT_TRUE(ColourNear(WindowPixel(dropDown, 100, 12), Blend(glass(100, 12), 0, 80), 8));
    EXPECT_TRUE(ColourNear(WindowPixel(dropDown, 117, 12), Blend(glass(117, 12), 0, 80), 8));
    EXPECT_TRUE(ColourNear(WindowPixel(dropDown, 118, 12), glass(118, 12), 4));
    for (int y : {3, 19}) {
        const int alpha = static_cast<int>(30 + 70 * (y + 0.5 - 2) / 18 + 0.5);
        EXPECT_TRUE(ColourNear(WindowPixel(dropDown, 103, y), Blend(glass(103, y), kTheme, alpha), 4))
            << y;
    }
    // The arrow at (105.5, 10): its top row half covers columns 105 and 112.
    EXPECT_TRUE(IsDark(WindowPixel(dropDown, 106, 10)));
    EXPECT_TRUE(IsDark(WindowPixel(dropDown, 111, 10)));
    EXPECT_FALSE(IsDark(WindowPixel(dropDown, 105, 10)));
    EXPECT_FALSE(IsDark(WindowPixel(dropDown, 112, 10)));
    EXPECT_FALSE(IsDark(WindowPixel(dropDown, 108, 9)));
    EXPECT_TRUE(IsDark(WindowPixel(dropDown, 108, 12)));
    EXPECT_FALSE(IsDark(WindowPixel(dropDown, 108, 14)));
}

TEST_F(ComboBoxTest, AttachShowsTheSelectedItemInADropDownsEdit) {
    HWND dropDown = Combo(CBS_DROPDOWN, 20, 30);
    // Selected in the list behind the combo box's back: the edit shows nothing yet.
    COMBOBOXINFO info{sizeof info};
    ASSERT_TRUE(GetComboBoxInfo(dropDown, &info));
    SendMessageA(info.hwndList, LB_SETCURSEL, 1, 0);
    ASSERT_EQ(SendMessageA(dropDown, CB_GETCURSEL, 0, 0), 1);
    ASSERT_EQ(GetWindowTextLengthA(InnerEdit(dropDown)), 0);
    AttachEditsAndComboBoxes(record, top);
    char text[16] = {};
    GetWindowTextA(InnerEdit(dropDown), text, sizeof text);
    EXPECT_STREQ(text, "WWWWW");
}

TEST_F(ComboBoxTest, ChildWindowsAreKeyedOutAndDrawThemselves) {
    HWND dropDown = Combo(CBS_DROPDOWN, 20, 30);
    HWND simple = Combo(CBS_SIMPLE, 200, 30, 120);
    AttachEditsAndComboBoxes(record, top);
    HWND edit = InnerEdit(dropDown);
    HWND simpleList = FindWindowExA(simple, nullptr, "ComboLBox", nullptr);
    ASSERT_NE(simpleList, nullptr);
    MarkPixel(edit, 3, 3, kMarker);
    MarkPixel(simpleList, 6, 6, kMarker);
    PaintComboBox(record, 1);
    PaintComboBox(record, 2);
    EXPECT_EQ(WindowPixel(edit, 3, 3), kMarker);
    EXPECT_EQ(WindowPixel(simpleList, 6, 6), kMarker);
    // A simple combo box has no button: its right edge inside is face.
    RECT r{};
    GetWindowRect(simple, &r);
    const int h = r.bottom - r.top;
    EXPECT_TRUE(ColourNear(WindowPixel(simple, 110, h - 1), Blend(GlassAt(200, 30, 110, h - 1), 0, 80), 4));
}

TEST_F(ComboBoxTest, HoverAndFocusRepaintTheBorder) {
    HWND list = Combo(CBS_DROPDOWNLIST, 20, 30);
    AttachEditsAndComboBoxes(record, top);
    const COLORREF normal = Blend(GlassAt(20, 30, 0, 0), 0, 80);
    const COLORREF accent = Blend(GlassAt(20, 30, 0, 0), kTheme, 200);

    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), accent, 4));
    EXPECT_EQ(Record().HotControlClass, 3);
    EXPECT_EQ(Record().PreviousHotEntry, 1);
    MarkPixel(list, 0, 0, kMarker);
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 4));
    EXPECT_EQ(WindowPixel(list, 0, 0), kMarker);
    SendMessageA(list, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), normal, 4));
    EXPECT_EQ(Record().PreviousHotEntry, 0);

    SendMessageA(list, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Record().ComboBoxes[1].Focused, 1);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), accent, 4));
    SendMessageA(list, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Record().ComboBoxes[1].Focused, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), accent, 4)) << "until the next paint";
}

TEST_F(ComboBoxTest, InnerEditGetsGlassBrushAndRepaintsOnChange) {
    HWND dropDown = Combo(CBS_DROPDOWN, 20, 30);
    AttachEditsAndComboBoxes(record, top);
    HWND edit = InnerEdit(dropDown);
    HDC dc = GetDC(edit);
    const LPARAM editParam = reinterpret_cast<LPARAM>(edit);
    const auto first = reinterpret_cast<HBRUSH>(
        SendMessageA(dropDown, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), editParam));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(ReadProp(edit, "Kj_dxjb")), first);
    EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BRUSH));
    const auto firstBitmap = reinterpret_cast<HGDIOBJ>(ReadProp(edit, "Kj_wtjb"));
    EXPECT_EQ(GetObjectType(firstBitmap), static_cast<DWORD>(OBJ_BITMAP));
    SendMessageA(dropDown, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), editParam);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(firstBitmap), 0u);

    // Without transparent controls the combo box answers as it always does.
    TransparentControlsFlag = 0;
    const auto kept = ReadProp(edit, "Kj_dxjb");
    const auto plain = reinterpret_cast<HBRUSH>(
        SendMessageA(dropDown, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), editParam));
    EXPECT_NE(reinterpret_cast<std::intptr_t>(plain), kept);
    EXPECT_EQ(ReadProp(edit, "Kj_dxjb"), kept);
    TransparentControlsFlag = 1;
    ReleaseDC(edit, dc);

    for (WORD code : {WORD(EN_CHANGE), WORD(EN_UPDATE), WORD(EN_VSCROLL), WORD(EN_SETFOCUS)}) {
        ValidateRect(edit, nullptr);
        SendMessageA(dropDown, WM_COMMAND, MAKEWPARAM(1001, code), editParam);
        EXPECT_EQ(NeedsPaint(edit), code != EN_SETFOCUS) << code;
    }
    const auto last = reinterpret_cast<HGDIOBJ>(ReadProp(edit, "Kj_dxjb"));
    DestroyWindow(dropDown);
    EXPECT_EQ(GetObjectType(last), 0u) << "the edit deletes its last brush when it goes";
}

// A combo box procedure that keeps a new text to itself: its edit is not told,
// so only the skin asks the edit to repaint.
LRESULT CALLBACK KeepsTextToItself(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) return TRUE;
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(window, "TestOwnProc")), window,
                           message, wParam, lParam);
}

TEST_F(ComboBoxTest, SetTextInvalidatesTheInnerEdit) {
    HWND dropDown = Combo(CBS_DROPDOWN, 20, 30);
    SetPropA(dropDown, "TestOwnProc",
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                 dropDown, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeepsTextToItself))));
    AttachEditsAndComboBoxes(record, top);
    HWND edit = InnerEdit(dropDown);
    Drain();
    ValidateRect(edit, nullptr);
    SendMessageA(dropDown, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new"));
    EXPECT_TRUE(NeedsPaint(edit));
}

TEST_F(ComboBoxTest, InnerEditRepaintsItsFrameAtOnceWhenItLosesTheFocus) {
    HWND dropDown = Combo(CBS_DROPDOWN, 20, 30);
    AttachEditsAndComboBoxes(record, top);
    HWND edit = InnerEdit(dropDown);
    // A 2 px edge gives the edit a frame ring that shows.
    SetWindowLongA(edit, GWL_EXSTYLE, GetWindowLongA(edit, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Drain();
    RECT place{};
    GetWindowRect(edit, &place);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&place), 2);
    SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageA(edit, WM_SETFOCUS, 0, 0);
    MarkPixel(edit, 0, 0, kMarker);
    MarkPixel(edit, 1, 1, kMarker);
    ValidateRect(edit, nullptr);
    SendMessageA(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(NeedsPaint(edit)) << "painted, not invalidated";
    // The normal, not hot, frame at once.
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 0, 0),
                           Blend(GlassAt(place.left, place.top, 0, 0), 0, 80), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), GlassAt(place.left, place.top, 1, 1), 4));
}

TEST_F(ComboBoxTest, EachStateReachedThroughMessagesShowsItsLookAtChosenPixels) {
    // A drop-down list without a selection: the face, the border, and the
    // drop-down button (bw 17, bx 101) with its outline and shaded body.
    HWND list = Combo(CBS_DROPDOWNLIST, 20, 30);
    AttachEditsAndComboBoxes(record, top);
    SetFocus(top);
    Drain();
    const int h = ComboHeight(list);
    ASSERT_GE(h, 16);
    const int bx = 101;
    struct State {
        const char* name;
        void (*enter)(HWND combo);
        bool covered;  // the window was covered with the marker first
        bool hot, accentBorder;
    };
    const State states[] = {
        {"painted",
         [](HWND c) { RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }, true,
         false, false},
        {"non-client painted", [](HWND c) { SendMessageA(c, WM_NCPAINT, 1, 0); }, true, false,
         false},
        {"moved", [](HWND c) { SendMessageA(c, WM_MOVE, 0, MAKELPARAM(20, 30)); }, true, false,
         false},
        {"hot", [](HWND c) { SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }, false, true,
         true},
        {"left", [](HWND c) { SendMessageA(c, WM_MOUSELEAVE, 0, 0); }, false, false, false},
        // Focus colours the outer border only, and stays until the next paint.
        {"focused", [](HWND c) { SetFocus(c); }, false, false, true},
        {"focus lost", [](HWND c) { SetFocus(GetParent(c)); }, false, false, true},
        {"painted after", [](HWND c) { SendMessageA(c, WM_NCPAINT, 1, 0); }, true, false, false},
    };
    auto glass = [](int x, int y) { return GlassAt(20, 30, x, y); };
    for (const State& s : states) {
        if (s.covered) SmearWindow(list, kMarker);
        s.enter(list);
        const COLORREF accent = s.accentBorder ? kTheme : 0;
        const int accentAlpha = s.accentBorder ? 200 : 80;
        const COLORREF button = s.hot ? kTheme : 0;
        const int buttonAlpha = s.hot ? 200 : 80;
        // The body's gradient runs from y 2 to y h - 4: not hot, the theme
        // at 30 to the theme at 100; hot, white at 100 to the theme at 150.
        auto body = [&](int y) {
            const double t = (y + 0.5 - 2) / (h - 6);
            const testsupport::GradientPoint g =
                s.hot ? testsupport::GradientAt(0x64FFFFFF, 0x9622CADD, t)
                      : testsupport::GradientAt(0x1E22CADD, 0x6422CADD, t);
            return Blend(glass(103, y), g.colour, g.alpha);
        };
        const struct {
            int x, y;
            COLORREF colour;
            int tolerance;
        } points[] = {
            {0, 0, Blend(glass(0, 0), accent, accentAlpha), 4},
            {119, h - 1, Blend(glass(119, h - 1), accent, accentAlpha), 4},
            {60, h / 2, glass(60, h / 2), 4},
            {bx, h / 2, Blend(glass(bx, h / 2), button, buttonAlpha), 8},
            {103, 4, body(4), 6},
            {103, h - 6, body(h - 6), 6},
        };
        for (const auto& p : points)
            EXPECT_TRUE(ColourNear(WindowPixel(list, p.x, p.y), p.colour, p.tolerance))
                << s.name << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST_F(ComboBoxTest, ChildRectIsRelativeToTheParentsWindowRectangle) {
    HWND child = Control("STATIC", 0, 20, 30, 50, 10);
    const RECT r = GetChildRectInParent(child);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 70);
    EXPECT_EQ(r.bottom, 40);
    const RECT none{0, 0, 0, 0};
    for (HWND w : {top, static_cast<HWND>(nullptr)}) {
        const RECT z = GetChildRectInParent(w);
        EXPECT_TRUE(EqualRect(&z, &none));
    }
}

}  // namespace
