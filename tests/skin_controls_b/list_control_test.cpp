// List-type controls: which controls are attached, the frame in its looks,
// the glass under a list box's items, tree and list views on glass, hover,
// scrolling repaints, keys, and the counts back at their start after many
// paints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "controls_fixture.h"
#include "skin/capture.h"
#include "skin/controls/control_frame.h"
#include "skin/controls/list_control.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/record.h"
#include "skin/test_hooks.h"

using namespace skin;
using namespace ctltest;

namespace {

bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 250; }

// The skinned window answers WM_CTLCOLORLISTBOX of plain list boxes with a
// hollow brush, as the engine's window procedure does.
WNDPROC popupProc = nullptr;
LRESULT CALLBACK HollowListBoxes(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CTLCOLORLISTBOX) {
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return CallWindowProcA(popupProc, w, m, wp, lp);
}

class ListControlTest : public ControlsTest {
protected:
    SkinWindowRecord& Record() { return SkinWindowTable[record]; }
    SkinnedListControl& Entry(int i) { return Record().ListControls[i]; }
    // The application's list box: a client edge and a vertical scroll bar.
    HWND AppListBox(int x, int y, int w, int h, int items) {
        HWND list = Control("LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, x, y, w, h,
                            WS_EX_CLIENTEDGE);
        for (int i = 0; i < items; ++i) {
            char text[32];
            wsprintfA(text, "C:\\music\\song %d.mp3", i);
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        return list;
    }
    static void InsertTreeItem(HWND tree, const char* text) {
        TVINSERTSTRUCTA insert{};
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    void HollowParent() {
        popupProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HollowListBoxes)));
    }
    int DarkPixels(HWND window, const RECT& r) {
        HDC dc = GetDC(window);
        int dark = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (IsDark(GetPixel(dc, x, y))) ++dark;
        ReleaseDC(window, dc);
        return dark;
    }
};

TEST_F(ListControlTest, AttachTakesTheListTypesAndSkipsWhatItMust) {
    struct Case {
        const char* cls;
        DWORD style;
        bool attached;
    };
    const Case cases[] = {
        {"LISTBOX", 0, true},
        {"LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, true},
        {WC_LISTVIEWA, LVS_REPORT, true},
        {WC_LISTVIEWA, LVS_REPORT | LVS_SORTASCENDING, false},
        {WC_TREEVIEWA, 0, true},
        {WC_IPADDRESSA, 0, true},
        {DATETIMEPICK_CLASSA, 0, true},
        {"STATIC", 0, false},
    };
    std::vector<HWND> made;
    int y = 5;
    for (const Case& c : cases) {
        made.push_back(Control(c.cls, c.style, 5, y, 150, 30, WS_EX_CLIENTEDGE));
        y += 34;
    }
    HWND simpleCombo = Control("COMBOBOX", CBS_SIMPLE, 200, 5, 120, 100);
    HWND fixedCombo = Control("COMBOBOX", CBS_SIMPLE | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 200,
                              110, 120, 80);
    HWND variableCombo = Control(
        "COMBOBOX", CBS_SIMPLE | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS, 200, 200, 120, 80);
    const COLORREF sortedBackground = ListView_GetTextBkColor(made[3]);

    SkinControlsFlag = 0;
    AttachListControls(record, top);
    EXPECT_EQ(Record().ListControls.Count(), 1);
    EXPECT_EQ(Entry(1).Window, nullptr);
    EXPECT_NE(TreeView_GetBkColor(made[4]), static_cast<COLORREF>(0x00FF00FF));

    SkinControlsFlag = 1;
    AttachListControls(record, top);
    AttachListControls(record, top);
    std::vector<HWND> attached;
    for (int i = 1; i <= Record().ListControls.Count(); ++i) {
        attached.push_back(Entry(i).Window);
        EXPECT_EQ(ReadProp(Entry(i).Window, "Hw_lbID"), i);
        EXPECT_EQ(ReadProp(Entry(i).Window, "Hw_FuID"), record);
    }
    auto has = [&](HWND w) { return std::find(attached.begin(), attached.end(), w) != attached.end(); };
    for (size_t i = 0; i < made.size(); ++i) EXPECT_EQ(has(made[i]), cases[i].attached) << i;
    EXPECT_TRUE(has(FindWindowExA(simpleCombo, nullptr, "ComboLBox", nullptr)));
    EXPECT_FALSE(has(FindWindowExA(fixedCombo, nullptr, "ComboLBox", nullptr)));
    EXPECT_TRUE(has(FindWindowExA(variableCombo, nullptr, "ComboLBox", nullptr)));
    EXPECT_EQ(attached.size(), 8u) << "each control once, the first in the initial entry";
    EXPECT_EQ(Entry(1).Window, made[0]);

    EXPECT_EQ(ListView_GetTextBkColor(made[2]), CLR_NONE);
    EXPECT_EQ(ListView_GetTextBkColor(made[3]), sortedBackground);
    EXPECT_EQ(TreeView_GetBkColor(made[4]), static_cast<COLORREF>(0x00FF00FF));
    EXPECT_EQ(SendMessageA(made[0], LB_GETCOUNT, 0, 0), 0) << "one subclassing deep";
}

TEST_F(ListControlTest, FrameLooksAndControlsWithoutOne) {
    HWND list = AppListBox(20, 30, 200, 120, 3);
    HWND borderless = Control("LISTBOX", 0, 240, 30, 100, 100);
    AttachListControls(record, top);
    RECT inner = GetScrolledClientRectInWindow(list);
    EXPECT_EQ(inner.left, 2);
    EXPECT_EQ(inner.top, 2);
    EXPECT_EQ(inner.right, 198);
    EXPECT_EQ(inner.bottom, 118);

    struct Case {
        bool hot, focused;
        COLORREF outer, second;
    };
    const COLORREF g0 = GlassAt(20, 30, 0, 0), g1 = GlassAt(20, 30, 1, 1);
    const Case cases[] = {
        {false, false, Blend(g0, 0, 90), g1},
        {false, true, Blend(g0, kTheme, 200), g1},
        {true, false, Blend(g0, kTheme, 200), Blend(g1, kTheme, 200)},
        {true, true, Blend(g0, kTheme, 200), Blend(g1, kTheme, 200)},
    };
    for (const Case& c : cases) {
        MarkPixel(list, 10, 10, kMarker);
        PaintListFrame(record, 1, c.hot, c.focused);
        EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), c.outer, 4)) << c.hot << c.focused;
        EXPECT_TRUE(ColourNear(WindowPixel(list, 1, 1), c.second, 4)) << c.hot << c.focused;
        EXPECT_EQ(WindowPixel(list, 10, 10), kMarker);
    }
    MarkPixel(borderless, 0, 0, kMarker);
    PaintListFrame(record, 2, true, true);
    EXPECT_EQ(WindowPixel(borderless, 0, 0), kMarker);

    // A horizontal scroll bar lies inside the frame: the ring sits round the
    // client area and the bar together, as for the vertical bar.
    HWND scrolled = Control("LISTBOX", WS_BORDER | WS_HSCROLL | WS_VSCROLL | LBS_DISABLENOSCROLL |
                                           LBS_NOINTEGRALHEIGHT,
                            20, 160, 200, 120);
    const RECT withBars = GetScrolledClientRectInWindow(scrolled);
    EXPECT_EQ(withBars.left, 1);
    EXPECT_EQ(withBars.top, 1);
    EXPECT_EQ(withBars.right, 199);
    EXPECT_EQ(withBars.bottom, 119);

    // A combo box's list keeps its own border, even a bordered one.
    HWND combo = Control("COMBOBOX", CBS_SIMPLE, 360, 160, 120, 100);
    AttachListControls(record, top);
    HWND comboList = FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
    ASSERT_TRUE(comboList);
    ASSERT_TRUE(HasBorderStyle(comboList));
    const int comboEntry = static_cast<int>(ReadProp(comboList, "Hw_lbID"));
    ASSERT_GT(comboEntry, 0);
    MarkPixel(comboList, 0, 0, kMarker);
    PaintListFrame(record, comboEntry, true, true);
    EXPECT_EQ(WindowPixel(comboList, 0, 0), kMarker);

    EXPECT_TRUE(HasBorderStyle(list));
    EXPECT_FALSE(HasBorderStyle(borderless));
    HWND staticEdge = Control("LISTBOX", 0, 240, 150, 50, 50, WS_EX_STATICEDGE);
    HWND bordered = Control("LISTBOX", WS_BORDER, 300, 150, 50, 50);
    EXPECT_FALSE(HasBorderStyle(staticEdge));
    EXPECT_TRUE(HasBorderStyle(bordered));
}

TEST_F(ListControlTest, ListBoxItemsFloatOnGlassOverThePicture) {
    HollowParent();
    HWND list = AppListBox(20, 30, 300, 200, 4);
    AttachListControls(record, top);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(list, &client);
    // Below the items: the picture under the client area behind glass.
    const int x = 40, y = client.bottom - 10;
    EXPECT_TRUE(ColourNear(WindowPixel(list, 2 + x, 2 + y), GlassAt(22, 32, x, y), 4));
    // The items' texts are drawn and readable.
    const int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GT(DarkPixels(list, RECT{0, 0, 150, itemHeight * 4}), 40);
    // The frame came with the paint.
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), Blend(GlassAt(20, 30, 0, 0), 0, 90), 4));
}

TEST_F(ListControlTest, TreeAndListViewsPaintOnGlassWithoutTheirBackground) {
    HWND tree = Control(WC_TREEVIEWA, TVS_HASLINES, 20, 30, 160, 120, WS_EX_CLIENTEDGE);
    HWND view = Control(WC_LISTVIEWA, LVS_LIST, 200, 30, 160, 120, WS_EX_CLIENTEDGE);
    InsertTreeItem(tree, "WWWW node");
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("WWWW item");
    SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    AttachListControls(record, top);
    for (HWND w : {tree, view}) {
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
        const RECT inner = GetScrolledClientRectInWindow(w);
        // Far below the one item: glass over the picture, never the key colour.
        const int x = 100, y = 100;
        EXPECT_TRUE(ColourNear(WindowPixel(w, inner.left + x, inner.top + y),
                               GlassAt(r.left + inner.left, r.top + inner.top, x, y), 4))
            << (w == tree ? "tree" : "list view");
        EXPECT_GT(DarkPixels(w, RECT{0, 0, 150, 20}), 20) << (w == tree ? "tree" : "list view");
    }
}

TEST_F(ListControlTest, HoverFocusAndLeaveRepaintTheFrame) {
    HWND list = AppListBox(20, 30, 200, 120, 3);
    AttachListControls(record, top);
    const COLORREF g1 = GlassAt(20, 30, 1, 1);

    // The pointer comes from a push button that was painted hot under the
    // same entry number: another family, so the list lights its frame.
    Record().PreviousHotEntry = 1;
    Record().HotControlClass = 0;
    // The pointer really on the list: the move asks the system to say when
    // it leaves, and the list stays hot while it does not.
    RECT onScreen{};
    GetWindowRect(list, &onScreen);
    ASSERT_TRUE(SetCursorPos(onScreen.left + 5, onScreen.top + 5));
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    TRACKMOUSEEVENT asked{sizeof asked, TME_QUERY, nullptr, 0};
    ASSERT_TRUE(TrackMouseEvent(&asked));
    EXPECT_EQ(asked.hwndTrack, list);
    EXPECT_TRUE(asked.dwFlags & TME_LEAVE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(Entry(1).Hot, 1) << "hot while the pointer stays";
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE, list, 0};
    TrackMouseEvent(&cancel);
    EXPECT_EQ(Record().HotControlClass, 4);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 1, 1), Blend(g1, kTheme, 200), 4));
    MarkPixel(list, 1, 1, kMarker);
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(WindowPixel(list, 1, 1), kMarker);

    SendMessageA(list, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(Entry(1).Focused, 1);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 1, 1), Blend(g1, kTheme, 200), 4)) << "hot wins";
    SendMessageA(list, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Entry(1).Hot, 0);
    EXPECT_EQ(Record().PreviousHotEntry, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 1, 1), g1, 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), Blend(GlassAt(20, 30, 0, 0), kTheme, 200), 4));
    SendMessageA(list, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Entry(1).Focused, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), Blend(GlassAt(20, 30, 0, 0), 0, 90), 4));
}

TEST_F(ListControlTest, ScrollingKeysAndErasing) {
    HWND list = AppListBox(20, 30, 200, 60, 30);
    HWND ownerDraw = Control("LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 240, 30, 100, 60);
    AttachListControls(record, top);
    auto invalidatedBy = [&](UINT message, WPARAM wParam) {
        ValidateRect(list, nullptr);
        SendMessageA(list, message, wParam, 0);
        return NeedsPaint(list);
    };
    EXPECT_TRUE(invalidatedBy(WM_VSCROLL, SB_LINEDOWN));
    EXPECT_TRUE(invalidatedBy(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))));
    EXPECT_FALSE(invalidatedBy(kListArrowRepaint, 0)) << "no arrow key is down";
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Entry(1).ArrowKeyDown, 1);
    EXPECT_TRUE(invalidatedBy(kListArrowRepaint, 0));
    SetCapture(top);
    SendMessageA(list, WM_KEYUP, 'A', 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Entry(1).ArrowKeyDown, 0);
    EXPECT_FALSE(invalidatedBy(kListArrowRepaint, 0));

    // A plain list box erases nothing (the glass comes with its paint); an
    // owner-draw one erases as it always does.
    MemoryDc dc(nullptr);
    BitmapHandle bitmap = BitmapHandle::Adopt(CreateCompatibleBitmap(WindowDc(top), 50, 50));
    SelectedObject selected(dc, bitmap);
    for (HWND w : {list, ownerDraw}) {
        SetPixel(dc, 5, 5, kMarker);
        EXPECT_EQ(SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
        EXPECT_EQ(GetPixel(dc, 5, 5) == kMarker, w == list);
    }
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
}

TEST_F(ListControlTest, ManyPaintsLeaveNothingBehind) {
    HollowParent();
    HWND list = AppListBox(20, 30, 300, 200, 20);
    HWND tree = Control(WC_TREEVIEWA, 0, 330, 30, 60, 100, WS_EX_CLIENTEDGE);
    AttachListControls(record, top);
    const int registry = MemoryDcRegistry.Count();
    for (int i = 0; i < 100; ++i) {
        for (HWND w : {list, tree})
            RedrawWindow(w, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageA(list, WM_MOUSELEAVE, 0, 0);
        SendMessageA(list, i % 2 ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
    }
    EXPECT_EQ(MemoryDcRegistry.Count(), registry);
    // The fixture checks the GDI, GDI+ and capture counts at the end.
}


// Wine's list box fills each row with its background colour whatever the
// background mode, so one paint of the replaced procedure would cover the
// glass row by row. Right of the texts the glass must show; a selected row
// keeps its opaque highlight, and the texts stay dark.
TEST_F(ListControlTest, ListBoxRowsShowTheGlassAndTheSelectionStaysOpaque) {
    HollowParent();
    HWND list = AppListBox(20, 30, 300, 200, 4);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    AttachListControls(record, top);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int x = 250;
    for (int row = 0; row < 4; ++row) {
        const int y = row * itemHeight + itemHeight / 2;
        const COLORREF expected =
            row == 2 ? GetSysColor(COLOR_HIGHLIGHT) : GlassAt(22, 32, x, y);
        EXPECT_TRUE(ColourNear(WindowPixel(list, 2 + x, 2 + y), expected, 4)) << "row " << row;
    }
    EXPECT_GT(DarkPixels(list, RECT{2, 2, 150, 2 + itemHeight * 2}), 20);
}

namespace {

int paintsSeen = 0;
WNDPROC countedProc = nullptr;
LRESULT CALLBACK CountPaints(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) ++paintsSeen;
    return CallWindowProcA(countedProc, w, m, wp, lp);
}

}  // namespace

// A paint that changes the control (the tree's background colour goes to
// black, white and back to the key) must not leave it invalid: one
// invalidation, a bounded number of paints, for every list type.
TEST_F(ListControlTest, OneInvalidationGivesABoundedNumberOfPaints) {
    HollowParent();
    HWND list = AppListBox(20, 30, 120, 100, 5);
    HWND tree = Control(WC_TREEVIEWA, TVS_HASLINES, 150, 30, 110, 100, WS_EX_CLIENTEDGE);
    HWND view = Control(WC_LISTVIEWA, LVS_REPORT, 270, 30, 120, 100, WS_EX_CLIENTEDGE);
    HWND ip = Control(WC_IPADDRESSA, 0, 20, 150, 120, 24, WS_EX_CLIENTEDGE);
    HWND picker = Control(DATETIMEPICK_CLASSA, 0, 150, 150, 120, 24, WS_EX_CLIENTEDGE);
    InsertTreeItem(tree, "node");
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<char*>("name");
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    AttachListControls(record, top);
    for (HWND w : {list, tree, view, ip, picker}) {
        Drain();
        countedProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountPaints)));
        paintsSeen = 0;
        InvalidateRect(w, nullptr, TRUE);
        // A paint that leaves the control invalid brings the next one at
        // once, so the queue never empties: the bound ends that.
        Drain(100);
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countedProc));
        char cls[32] = {};
        GetClassNameA(w, cls, sizeof cls);
        EXPECT_GE(paintsSeen, 1) << cls;
        EXPECT_LE(paintsSeen, 2) << cls;
        EXPECT_FALSE(NeedsPaint(w)) << cls;
        ValidateRect(w, nullptr);  // a control that failed stops here
    }
}

// What reaches the procedure that the skin replaces: installed under the
// skin's procedure before the attach.
struct Reached {
    HWND window;
    UINT message;
    WPARAM wParam;
};
std::vector<Reached> reached;
constexpr char kRecordedProc[] = "test_RecordedProc";
LRESULT CALLBACK RecordReplaced(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT || m == WM_ERASEBKGND) reached.push_back({w, m, wp});
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(w, kRecordedProc)), w, m, wp, lp);
}

// With transparent controls off the controls keep their own colours and
// paint themselves: no background colour is handed to list or tree views,
// erasing and painting go to the replaced procedure with the control's own
// DC, and the frame ring of a bordered control is opaque white under its
// border line.
TEST_F(ListControlTest, WithTransparencyOffTheControlsPaintThemselves) {
    TransparentControlsFlag = 0;
    HWND list = AppListBox(20, 30, 200, 120, 2);
    HWND tree = Control(WC_TREEVIEWA, 0, 230, 30, 150, 100, WS_EX_CLIENTEDGE);
    HWND view = Control(WC_LISTVIEWA, LVS_LIST, 230, 150, 150, 100, WS_EX_CLIENTEDGE);
    const COLORREF treeBackground = TreeView_GetBkColor(tree);
    const COLORREF viewText = ListView_GetTextBkColor(view);
    reached.clear();
    for (HWND w : {list, tree})
        SetPropA(w, kRecordedProc,
                 reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                     w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordReplaced))));
    AttachListControls(record, top);
    for (HWND w : {list, tree, view})
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(TreeView_GetBkColor(tree), treeBackground);
    EXPECT_EQ(ListView_GetTextBkColor(view), viewText);

    // The ring: the border line over opaque white, then white.
    EXPECT_TRUE(ColourNear(WindowPixel(list, 0, 0), Blend(0xFFFFFF, 0, 90), 4));
    EXPECT_TRUE(ColourNear(WindowPixel(list, 1, 1), 0xFFFFFF, 4));
    // Below the items the list box's own white, not the glass.
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_TRUE(ColourNear(WindowPixel(list, 2 + 40, 2 + client.bottom - 10),
                           GetSysColor(COLOR_WINDOW), 4));

    for (HWND w : {list, tree}) {
        const char* name = w == list ? "list box" : "tree";
        MemoryDc dc(nullptr);
        SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
        bool painted = false, erased = false;
        for (const Reached& r : reached) {
            if (r.window != w) continue;
            if (r.message == WM_PAINT) {
                painted = true;
                EXPECT_EQ(r.wParam, 0u) << name << ": paints on its own DC";
            }
            if (r.message == WM_ERASEBKGND && r.wParam == reinterpret_cast<WPARAM>(dc.Get()))
                erased = true;
        }
        EXPECT_TRUE(painted) << name;
        EXPECT_TRUE(erased) << name;
    }
}

// IP-address controls and date-time pickers erase to the glass themselves,
// with the control's text colour and a transparent background mode.
TEST_F(ListControlTest, IpAddressAndDateTimeEraseToGlass) {
    HWND ip = Control(WC_IPADDRESSA, 0, 20, 30, 140, 24, WS_EX_CLIENTEDGE);
    HWND picker = Control(DATETIMEPICK_CLASSA, 0, 20, 70, 140, 24, WS_EX_CLIENTEDGE);
    AttachListControls(record, top);
    const COLORREF text = RGB(200, 10, 30);
    for (HWND w : {ip, picker}) {
        SetPropA(w, "Kj_Ztys", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(text)));
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
        const RECT inner = GetScrolledClientRectInWindow(w);
        const char* name = w == ip ? "ip" : "date-time";
        for (int flag : {1, 0}) {
            TransparentControlsFlag = flag;
            MemoryDc dc(nullptr);
            BitmapHandle bitmap =
                BitmapHandle::Adopt(CreateCompatibleBitmap(WindowDc(top), 50, 20));
            SelectedObject selected(dc, bitmap);
            SetPixel(dc, 5, 5, kMarker);
            SetTextColor(dc, 0);
            SetBkMode(dc, OPAQUE);
            const LRESULT result =
                SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
            const bool glass = ColourNear(GetPixel(dc, 5, 5),
                                          GlassAt(r.left + inner.left, r.top + inner.top, 5, 5), 4);
            if (flag) {
                EXPECT_EQ(result, 1) << name;
                EXPECT_TRUE(glass) << name;
                EXPECT_EQ(GetTextColor(dc), text) << name;
                EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << name;
            } else {
                EXPECT_FALSE(glass) << name;
                EXPECT_EQ(GetTextColor(dc), 0u) << name;
            }
        }
    }
}

// The IP-address control fills its client area itself when it paints, and
// its fields are edits that ask it for their background: the glass shows
// between the fields and inside them, its dots stay, the fields' digits take
// the control's text colour, and the fields' brushes go with the control
// (the fixture counts them).
TEST_F(ListControlTest, IpAddressShowsTheGlassAroundAndInsideItsFields) {
    HWND ip = Control(WC_IPADDRESSA, 0, 20, 30, 160, 24);
    AttachListControls(record, top);
    SetPropA(ip, "Kj_Ztys", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(RGB(200, 10, 30))));
    SendMessageA(ip, IPM_SETADDRESS, 0, MAKEIPADDRESS(0, 111, 0, 0));
    RedrawWindow(ip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND first = FindWindowExA(ip, nullptr, "Edit", nullptr);
    HWND second = first ? FindWindowExA(ip, first, "Edit", nullptr) : nullptr;
    ASSERT_NE(second, nullptr);
    RECT a{}, b{};
    GetWindowRect(first, &a);
    GetWindowRect(second, &b);
    MapWindowPoints(nullptr, ip, reinterpret_cast<POINT*>(&a), 2);
    MapWindowPoints(nullptr, ip, reinterpret_cast<POINT*>(&b), 2);
    ASSERT_LT(a.right, b.left);
    const struct {
        const char* where;
        POINT p;
    } points[] = {
        {"left of the first field", {1, 3}},
        {"between two fields, above the dot", {(a.right + b.left) / 2, 2}},
        {"inside a field, beside its digit", {a.left + 1, a.top + 1}},
    };
    for (const auto& c : points)
        EXPECT_TRUE(ColourNear(WindowPixel(ip, c.p.x, c.p.y), GlassAt(20, 30, c.p.x, c.p.y), 4))
            << c.where;
    int digits = 0;  // "111" in the second field, in red
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
            const COLORREF c = WindowPixel(ip, x, y);
            if (GetRValue(c) > 150 && GetGValue(c) < 90 && GetBValue(c) < 90) ++digits;
        }
    EXPECT_GT(digits, 5);
    // The dot: the control's own drawing, neither glass nor the window colour,
    // and no pale fringe around it (an anti-aliased edge is part window
    // colour, which the keying does not take out).
    int dot = 0, pale = 0;
    for (int y = a.top; y < a.bottom; ++y)
        for (int x = a.right; x < b.left; ++x) {
            const COLORREF c = WindowPixel(ip, x, y);
            if (ColourNear(c, GetSysColor(COLOR_WINDOW), 40))
                ++pale;
            else if (!ColourNear(c, GlassAt(20, 30, x, y), 40))
                ++dot;
        }
    EXPECT_GT(dot, 0) << "the dot between the fields";
    EXPECT_EQ(pale, 0) << "window colour left around the dot";
}

}  // namespace

namespace {

// The region waiting for WM_PAINT is exactly r.
bool UpdateRegionIs(HWND window, const RECT& r) {
    RegionHandle update = RegionHandle::Adopt(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(window, update, FALSE);
    RegionHandle expected = RegionHandle::Adopt(CreateRectRgnIndirect(&r));
    return EqualRgn(update, expected) != FALSE;
}

// Under the skin's procedure: while the tree paints its items it asks once
// for a further paint of a strip, as a tree whose texts change while it
// paints would.
const RECT kStrayStrip{0, 0, 30, 8};
bool strayPending = false;
LRESULT CALLBACK InvalidateWhilePainting(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT && wp != 0 && strayPending) {
        strayPending = false;
        InvalidateRect(w, &kStrayStrip, FALSE);
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(w, kRecordedProc)), w, m, wp, lp);
}

struct UnreadablePixels {
    UnreadablePixels() { skin::test_hooks::listPixelsUnreadable = true; }
    ~UnreadablePixels() { skin::test_hooks::listPixelsUnreadable = false; }
};

}  // namespace

// The tree's colour changes of its own paint leave nothing to paint, but a
// strip that something else asked for while it painted still waits.
TEST_F(ListControlTest, TreePaintDropsOnlyItsOwnInvalidations) {
    HWND tree = Control(WC_TREEVIEWA, TVS_HASLINES, 20, 30, 160, 120, WS_EX_CLIENTEDGE);
    InsertTreeItem(tree, "node");
    SetPropA(tree, kRecordedProc,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                 tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InvalidateWhilePainting))));
    AttachListControls(record, top);
    RECT client{};
    GetClientRect(tree, &client);
    for (bool stray : {false, true}) {
        strayPending = stray;
        InvalidateRect(tree, nullptr, TRUE);
        SendMessageA(tree, WM_PAINT, 0, 0);
        EXPECT_FALSE(strayPending);
        EXPECT_TRUE(UpdateRegionIs(tree, stray ? kStrayStrip : RECT{})) << "stray " << stray;
        ValidateRect(tree, nullptr);
    }
}

// Where the pixels of the two-pass paint cannot be read, the tree still
// lands on the glass without its key-coloured background.
TEST_F(ListControlTest, TreeWithUnreadablePixelsIsKeyedOntoTheGlass) {
    HWND tree = Control(WC_TREEVIEWA, TVS_HASLINES, 20, 30, 160, 120, WS_EX_CLIENTEDGE);
    InsertTreeItem(tree, "WWWW node");
    AttachListControls(record, top);
    UnreadablePixels unreadable;
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const RECT inner = GetScrolledClientRectInWindow(tree);
    for (POINT p : {POINT{100, 100}, POINT{150, 5}, POINT{2, 60}})
        EXPECT_TRUE(ColourNear(WindowPixel(tree, inner.left + p.x, inner.top + p.y),
                               GlassAt(20 + inner.left, 30 + inner.top, p.x, p.y), 4))
            << p.x << "," << p.y;
    EXPECT_GT(DarkPixels(tree, RECT{0, 0, 150, 20}), 20);
}

// With transparency on, scrolling and moving ask for the whole client area
// before the control moves its pixels: the list box itself would leave only
// the strip it uncovers to paint, and the rows it moved would carry the old
// glass. With transparency off the control's own invalidation is all.
TEST_F(ListControlTest, ScrollingAndMovingRepaintTheWholeClientArea) {
    HWND list = Control("LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL, 20, 30, 200,
                        80, WS_EX_CLIENTEDGE);
    for (int i = 0; i < 30; ++i) {
        char text[64];
        wsprintfA(text, "C:\\music\\a rather long name of song %d.mp3", i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(list, LB_SETHORIZONTALEXTENT, 800, 0);
    AttachListControls(record, top);
    RECT client{};
    GetClientRect(list, &client);
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"line down", WM_VSCROLL, SB_LINEDOWN},
        {"line right", WM_HSCROLL, SB_LINERIGHT},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
        {"move", WM_MOVE, 0},
    };
    for (int flag : {1, 0}) {
        TransparentControlsFlag = flag;
        for (const Case& c : cases) {
            SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
            SendMessageA(list, WM_HSCROLL, SB_LEFT, 0);
            ValidateRect(list, nullptr);
            SendMessageA(list, c.message, c.wParam, 0);
            EXPECT_EQ(UpdateRegionIs(list, client), flag == 1) << c.name << " flag " << flag;
            ValidateRect(list, nullptr);
        }
    }
}

// After the glass goes on the screen the control's visible children paint
// again over it: a list view's header.
TEST_F(ListControlTest, CompositingRepaintsTheVisibleChildren) {
    HWND view = Control(WC_LISTVIEWA, LVS_REPORT, 20, 30, 200, 120, WS_EX_CLIENTEDGE);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<char*>("name");
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    HWND header = ListView_GetHeader(view);
    ASSERT_NE(header, nullptr);
    ASSERT_TRUE(IsWindowVisible(header));
    AttachListControls(record, top);
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ASSERT_FALSE(NeedsPaint(header));
    InvalidateRect(view, nullptr, TRUE);
    SendMessageA(view, WM_PAINT, 0, 0);
    EXPECT_TRUE(NeedsPaint(header));
}
