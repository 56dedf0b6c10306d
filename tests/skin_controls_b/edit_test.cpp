// Edit fields: attach, frame looks read back from the screen, hover, focus,
// the glass background, what each message repaints, scroll-bar regions and
// the brushes handed out.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls_fixture.h"
#include "skin/capture.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/record.h"

using namespace skin;
using namespace ctltest;

namespace {

class EditTest : public ControlsTest {
protected:
    SkinWindowRecord& Record() { return SkinWindowTable[record]; }
    // A 120 x 24 edit with a 2 px client edge at (20, 30).
    HWND BorderedEdit(DWORD style = 0) {
        return Control("EDIT", style, 20, 30, 120, 24, WS_EX_CLIENTEDGE);
    }
};

TEST_F(EditTest, AttachTakesEachEditOnceAndNothingWhileSkinningIsOff) {
    HWND first = Control("EDIT", 0, 10, 10, 80, 20);
    HWND second = Control("EDIT", 0, 10, 40, 80, 20);
    const LONG_PTR firstProc = GetWindowLongPtrA(first, GWLP_WNDPROC);

    SkinControlsFlag = 0;
    AttachEditsAndComboBoxes(record, top);
    EXPECT_EQ(GetWindowLongPtrA(first, GWLP_WNDPROC), firstProc);
    EXPECT_EQ(GetPropA(first, "Hw_lbID"), nullptr);
    EXPECT_EQ(Record().Edits.Count(), 1);

    SkinControlsFlag = 1;
    AttachEditsAndComboBoxes(record, top);
    AttachEditsAndComboBoxes(record, top);
    ASSERT_EQ(Record().Edits.Count(), 2);
    EXPECT_EQ(Record().Edits[1].Window, first);
    EXPECT_EQ(Record().Edits[2].Window, second);
    EXPECT_EQ(ReadProp(first, "Hw_lbID"), 1);
    EXPECT_EQ(ReadProp(second, "Hw_lbID"), 2);
    EXPECT_EQ(ReadProp(second, "Hw_FuID"), record);
    EXPECT_EQ(ReadProp(first, "Hw_hProc"), firstProc);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(Record().Edits[1].PreviousProc), firstProc);
    EXPECT_EQ(ReadProp(first, "Kj_Ztys"), 0);
    // Still one subclassing deep: text goes through to the edit.
    SetWindowTextA(first, "abc");
    EXPECT_EQ(GetWindowTextLengthA(first), 3);
}

TEST_F(EditTest, FrameLooksNormalFocusedAndHot) {
    HWND edit = BorderedEdit();
    AttachEditsAndComboBoxes(record, top);
    RECT client{};
    GetClientRect(edit, &client);
    ASSERT_EQ(client.right, 116);
    ASSERT_EQ(client.bottom, 20);

    struct Case {
        bool focused, hot;
        COLORREF outer, second, farCorner;  // pixels (0, 0), (1, 1), (119, 23)
    };
    const COLORREF g0 = GlassAt(20, 30, 0, 0), g1 = GlassAt(20, 30, 1, 1);
    const COLORREF gFar = GlassAt(20, 30, 119, 23);
    const Case cases[] = {
        {false, false, Blend(g0, 0, 80), g1, Blend(gFar, 0, 80)},
        {true, false, Blend(g0, kTheme, 180), g1, Blend(gFar, kTheme, 180)},
        {false, true, Blend(g0, kTheme, 180), Blend(g1, kTheme, 180), Blend(gFar, kTheme, 180)},
        {true, true, Blend(g0, kTheme, 180), Blend(g1, kTheme, 180), Blend(gFar, kTheme, 180)},
    };
    for (const Case& c : cases) {
        MarkPixel(edit, 10, 10, kMarker);
        PaintEditFrame(edit, c.focused, c.hot);
        EXPECT_TRUE(ColourNear(WindowPixel(edit, 0, 0), c.outer, 4)) << c.focused << c.hot;
        EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), c.second, 4)) << c.focused << c.hot;
        EXPECT_TRUE(ColourNear(WindowPixel(edit, 119, 23), c.farCorner, 4)) << c.focused << c.hot;
        // The client area is the edit's own.
        EXPECT_EQ(WindowPixel(edit, 10, 10), kMarker);
    }
    // Without transparent controls the ring is opaque white under the line.
    TransparentControlsFlag = 0;
    PaintEditFrame(edit, false, false);
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), RGB(255, 255, 255), 1));
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 0, 0), Blend(RGB(255, 255, 255), 0, 80), 4));
}

TEST_F(EditTest, HoverRepaintsOncePerEntryAndLeaveRestoresTheFocusedLook) {
    HWND edit = BorderedEdit();
    AttachEditsAndComboBoxes(record, top);
    const COLORREF hot = Blend(GlassAt(20, 30, 1, 1), kTheme, 180);
    const COLORREF plain = GlassAt(20, 30, 1, 1);

    SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), hot, 4));
    EXPECT_EQ(Record().HotEntry, 1);
    EXPECT_EQ(Record().PreviousHotEntry, 1);
    EXPECT_EQ(Record().HotControlClass, 1);
    EXPECT_EQ(Record().HotEditParent, top);

    MarkPixel(edit, 1, 1, kMarker);
    SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(WindowPixel(edit, 1, 1), kMarker) << "a second move repainted";

    SendMessageA(edit, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Record().Edits[1].Focused, 1);
    SendMessageA(edit, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Record().PreviousHotEntry, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), plain, 4));
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 0, 0), Blend(GlassAt(20, 30, 0, 0), kTheme, 180), 4));

    SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), hot, 4)) << "re-entering repaints hot";

    // Losing the focus invalidates the edit so the normal border returns.
    ValidateRect(edit, nullptr);
    SendMessageA(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Record().Edits[1].Focused, 0);
    EXPECT_TRUE(NeedsPaint(edit));
}

TEST_F(EditTest, SelectingWithTheButtonDownRedrawsOnlyEditsWithoutScrollBars) {
    HWND plain = BorderedEdit();
    HWND scrolled = Control("EDIT", ES_MULTILINE | WS_VSCROLL, 20, 80, 120, 60, WS_EX_CLIENTEDGE);
    AttachEditsAndComboBoxes(record, top);
    for (HWND edit : {plain, scrolled}) {
        SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        // The edit itself stops selecting; the skin still sees the button down.
        ReleaseCapture();
        ValidateRect(edit, nullptr);
        SendMessageA(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 3));
        EXPECT_EQ(NeedsPaint(edit), edit == plain);
        SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(30, 3));
    }
    EXPECT_EQ(Record().Edits[1].LeftButtonDown, 0);
}

TEST_F(EditTest, EraseGivesTheGlassBackgroundOnlyWithTransparentControls) {
    HWND edit = BorderedEdit();
    AttachEditsAndComboBoxes(record, top);
    MemoryDc dc(nullptr);
    BitmapHandle bitmap = BitmapHandle::Adopt(CreateCompatibleBitmap(WindowDc(top), 116, 20));
    SelectedObject selected(dc, bitmap);
    EXPECT_EQ(SendMessageA(edit, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
    // The client area starts 2 px inside the window.
    EXPECT_TRUE(ColourNear(GetPixel(dc, 0, 0), GlassAt(22, 32, 0, 0), 4));
    EXPECT_TRUE(ColourNear(GetPixel(dc, 115, 19), GlassAt(22, 32, 115, 19), 4));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    // Without transparent controls the edit erases as it always does.
    TransparentControlsFlag = 0;
    SetPixel(dc, 5, 5, kMarker);
    SendMessageA(edit, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    EXPECT_FALSE(ColourNear(GetPixel(dc, 5, 5), GlassAt(22, 32, 5, 5), 4));
}

TEST_F(EditTest, ScrollBarRegionCoversBothBarsAndTheSquareBetween) {
    HWND both = Control("EDIT", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, 20, 80, 150, 90,
                        WS_EX_CLIENTEDGE);
    HWND vertical = Control("EDIT", ES_MULTILINE | WS_VSCROLL, 200, 80, 150, 90);
    HWND none = BorderedEdit();
    EXPECT_TRUE(HasScrollBars(both) && HasHorizontalScrollBar(both) && HasVerticalScrollBar(both));
    EXPECT_TRUE(HasScrollBars(vertical) && !HasHorizontalScrollBar(vertical));
    EXPECT_FALSE(HasScrollBars(none));
    EXPECT_FALSE(BuildScrollBarRegion(none));

    SCROLLBARINFO h{sizeof h}, v{sizeof v};
    GetScrollBarInfo(both, OBJID_HSCROLL, &h);
    GetScrollBarInfo(both, OBJID_VSCROLL, &v);
    const RECT& hb = h.rcScrollBar;
    const RECT& vb = v.rcScrollBar;
    ASSERT_GT(hb.right - hb.left, 0);
    ASSERT_GT(vb.bottom - vb.top, 0);
    RegionHandle region = BuildScrollBarRegion(both);
    ASSERT_TRUE(region);
    EXPECT_TRUE(PtInRegion(region, hb.left, hb.top));
    EXPECT_TRUE(PtInRegion(region, vb.left, vb.top));
    // The square right of the horizontal bar, below the vertical one.
    EXPECT_TRUE(PtInRegion(region, vb.left, vb.bottom + (vb.right - vb.left) / 2));
    EXPECT_FALSE(PtInRegion(region, hb.left - 1, hb.top - 1));
    RegionHandle one = BuildScrollBarRegion(vertical);
    GetScrollBarInfo(vertical, OBJID_VSCROLL, &v);
    RECT box{};
    GetRgnBox(one, &box);
    EXPECT_TRUE(EqualRect(&box, &v.rcScrollBar));
}

TEST_F(EditTest, NonClientPaintKeepsTheSkinnedFrameAndFreesItsRegion) {
    HWND plain = BorderedEdit();
    HWND scrolled =
        Control("EDIT", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, 20, 80, 150, 90, WS_EX_CLIENTEDGE);
    AttachEditsAndComboBoxes(record, top);
    const int objects = LiveGdiCount(GdiKind::Object);
    for (HWND edit : {plain, scrolled}) {
        SendMessageA(edit, WM_NCPAINT, 1, 0);
        RECT w{};
        GetWindowRect(edit, &w);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&w), 2);
        EXPECT_TRUE(ColourNear(WindowPixel(edit, 1, 1), GlassAt(w.left, w.top, 1, 1), 4));
        EXPECT_TRUE(ColourNear(WindowPixel(edit, 0, 0), Blend(GlassAt(w.left, w.top, 0, 0), 0, 80), 4));
    }
    EXPECT_EQ(LiveGdiCount(GdiKind::Object), objects);
}

TEST_F(EditTest, DestroyDeletesTheBrushAndBitmapHandedOut) {
    HWND edit = BorderedEdit();
    AttachEditsAndComboBoxes(record, top);
    HDC dc = GetDC(edit);
    HBRUSH first = HandOutGlassBrush(dc, edit);
    HBITMAP firstBitmap = reinterpret_cast<HBITMAP>(ReadProp(edit, "Kj_wtjb"));
    HBRUSH second = HandOutGlassBrush(dc, edit);
    ReleaseDC(edit, dc);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetObjectType(first), 0u) << "the earlier brush is deleted";
    EXPECT_EQ(GetObjectType(firstBitmap), 0u);
    HBITMAP secondBitmap = reinterpret_cast<HBITMAP>(ReadProp(edit, "Kj_wtjb"));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(ReadProp(edit, "Kj_dxjb")), second);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
    DestroyWindow(edit);
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(GetObjectType(secondBitmap), 0u);
}

// The skinned window's answer to its edits' colour requests: the glass brush,
// so that the edit's own painting of its client area shows the glass too.
LRESULT CALLBACK GivesGlassBrushes(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLOREDIT)
        return reinterpret_cast<LRESULT>(
            HandOutGlassBrush(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(window, "TestOwnProc")), window,
                           message, wParam, lParam);
}

TEST_F(EditTest, EachStateReachedThroughMessagesShowsItsLookAtChosenPixels) {
    // The 120 x 24 edit at (20, 30) with its 2 px ring: window pixels (0, 0)
    // and (1, 1) on the ring, (102, 12) in the client area. Before some
    // messages the whole window is covered with the marker, so that only
    // what the message repaints comes back: the frame alone (the client area
    // keeps the marker), or, when the edit is repainted, the frame and the
    // glass over the client area.
    enum Client { kUnseen, kKept, kGlass };
    struct State {
        const char* name;
        void (*enter)(HWND edit);
        Client client;  // also whether the window was covered first
        bool focused, hot;
    };
    const State states[] = {
        {"frame painted", [](HWND e) { SendMessageA(e, WM_NCPAINT, 1, 0); }, kKept, false, false},
        {"hot", [](HWND e) { SendMessageA(e, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }, kUnseen, false,
         true},
        {"left", [](HWND e) { SendMessageA(e, WM_MOUSELEAVE, 0, 0); }, kUnseen, false, false},
        {"key", [](HWND e) { SendMessageA(e, WM_KEYDOWN, VK_END, 0); }, kGlass, false, false},
        {"scrolled", [](HWND e) { SendMessageA(e, WM_VSCROLL, SB_LINEDOWN, 0); }, kGlass, false,
         false},
        {"clicked", [](HWND e) {
             SendMessageA(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 8));
             SendMessageA(e, WM_LBUTTONUP, 0, MAKELPARAM(30, 8));
         }, kGlass, true, false},
        {"focused, hot", [](HWND e) { SendMessageA(e, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); },
         kUnseen, true, true},
        {"focused, left", [](HWND e) { SendMessageA(e, WM_MOUSELEAVE, 0, 0); }, kUnseen, true,
         false},
        {"focus lost", [](HWND e) { SetFocus(GetParent(e)); }, kGlass, false, false},
    };
    SetPropA(top, "TestOwnProc",
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                 top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GivesGlassBrushes))));
    HWND edit = BorderedEdit();
    AttachEditsAndComboBoxes(record, top);
    SetFocus(top);
    Drain();
    for (const State& s : states) {
        if (s.client != kUnseen) SmearWindow(edit, kMarker);
        s.enter(edit);
        UpdateWindow(edit);
        const COLORREF ring0 = GlassAt(20, 30, 0, 0), ring1 = GlassAt(20, 30, 1, 1);
        const bool accent = s.focused || s.hot;
        EXPECT_TRUE(ColourNear(WindowPixel(edit, 0, 0),
                               accent ? Blend(ring0, kTheme, 180) : Blend(ring0, 0, 80), 4))
            << s.name;
        EXPECT_TRUE(
            ColourNear(WindowPixel(edit, 1, 1), s.hot ? Blend(ring1, kTheme, 180) : ring1, 4))
            << s.name;
        if (s.client == kKept) {
            EXPECT_EQ(WindowPixel(edit, 102, 12), kMarker) << s.name;
        }
        if (s.client == kGlass) {
            EXPECT_TRUE(ColourNear(WindowPixel(edit, 102, 12), GlassAt(20, 30, 102, 12), 4))
                << s.name;
        }
    }
}

}  // namespace
