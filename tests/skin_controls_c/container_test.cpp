// Containers: what counts as a group box, attach and its children, the
// painted frames, fill and caption, the procedure's parent-side answers,
// the alpha operation and leaks.
#include "fixture.h"

#include "skin/capture.h"

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <utility>

#include "skin/controls/container.h"
#include "skin/controls/header.h"
#include "skin/controls/list_control.h"
#include "skin/controls/progress_bar.h"
#include "skin/controls/trackbar.h"
#include "skin/controls/up_down.h"
#include "skin/engine.h"
#include "skin/record.h"

namespace ctctest {
namespace {

class ContainerTest : public SkinnedWindowTest {
protected:
    void SetUp() override {
        SkinnedWindowTest::SetUp();
        font_ = skin::FontHandle::Adopt(CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                                    DEFAULT_CHARSET, 0, 0, 0, 0, "宋体"));
    }
    HWND GroupBox(DWORD style, const char* text, int x, int y, int w, int h) {
        HWND g = Child("Button", BS_GROUPBOX | style, text, x, y, w, h);
        SendMessageA(g, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        return g;
    }
    void Attach(HWND window, int paint = 1, COLORREF fill = 0, int alpha = 255, int border = 0) {
        engine_.AttachContainer(window, paint, fill, alpha, border);
    }
    skin::SkinnedContainer& Entry(HWND c) const {
        return skin::SkinWindowTable[record_].Containers[static_cast<int>(skin::ReadProp(c, "Hw_lbID"))];
    }
    void Repaint(HWND c) const {
        InvalidateRect(c, nullptr, TRUE);
        UpdateWindow(c);
    }

    skin::SkinEngine engine_;
    skin::FontHandle font_;
};

TEST(ContainerRules, GroupBoxesAreButtonsWithBitFourOfTheStyle) {
    struct Case {
        const char* cls;
        DWORD style;
        bool groupBox;
    };
    const Case cases[] = {
        {"Button", BS_GROUPBOX, true},     {"Button", BS_RADIOBUTTON, true},
        {"Button", BS_GROUPBOX | BS_LEFT, true}, {"Button", BS_PUSHBUTTON, false},
        {"Button", BS_AUTOCHECKBOX, false}, {"Static", 7, false},
        {"button", BS_GROUPBOX, true},  // the class name as Windows keeps it
    };
    for (const Case& c : cases) {
        HWND w = CreateWindowExA(0, c.cls, "", WS_POPUP | c.style, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        EXPECT_EQ(skin::IsGroupBoxWindow(w), c.groupBox) << c.cls << " " << c.style;
        DestroyWindow(w);
    }
}

TEST(ContainerRules, CaptionPlaceFollowsTheAlignmentBits) {
    struct Case {
        LONG style;
        double x;
    };
    const Case cases[] = {{BS_CENTER, 80}, {BS_LEFT, 10}, {BS_RIGHT, 150}, {0, 150}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(skin::GroupBoxCaptionX(c.style, 200, 40), c.x);
    EXPECT_DOUBLE_EQ(skin::GroupBoxCaptionX(BS_CENTER, 201, 40), 80.5);
}

TEST_F(ContainerTest, AttachSkinsTheChildrenAndSubclassesOnce) {
    HWND g = GroupBox(0, "分组", 20, 20, 260, 200);
    HWND bar = Child(TRACKBAR_CLASSA, 0, "", 10, 20, 150, 30, g);
    HWND spin = Child(UPDOWN_CLASSA, 0, "", 170, 20, 20, 40, g);
    HWND push = Child("Button", BS_PUSHBUTTON, "OK", 10, 70, 80, 24, g);
    HWND progress = Child(PROGRESS_CLASSA, 0, "", 10, 110, 150, 20, g);
    HWND edit = Child("Edit", WS_BORDER, "", 10, 140, 150, 22, g);
    Attach(g);

    auto& r = skin::SkinWindowTable[record_];
    ASSERT_EQ(r.Containers.Count(), 1);  // the empty entry was taken
    const skin::SkinnedContainer& c = Entry(g);
    EXPECT_EQ(c.Window, g);
    EXPECT_EQ(c.GroupBox, 1);
    EXPECT_EQ(c.SelfPaint, 1);
    EXPECT_EQ(c.FillAlpha, 255);
    EXPECT_EQ(c.FullRepaint, 1);
    EXPECT_FALSE(c.FontName.empty());
    EXPECT_EQ(c.FontSize, 12);
    EXPECT_EQ(c.Pages.Count(), 1);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(g, GWLP_WNDPROC)),
              skin::ContainerSkinProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(skin::ReadProp(g, "Hw_hProc")), c.PreviousProc);
    EXPECT_EQ(skin::ReadProp(g, "Hw_FuID"), record_);
    EXPECT_EQ(skin::ReadProp(g, "Mb_zpf"), 0);

    // The families' attach routines ran over the container's children.
    EXPECT_EQ(r.Trackbars[1].Window, bar);
    EXPECT_EQ(r.UpDowns[1].Window, spin);
    EXPECT_EQ(r.ProgressBars[1].Window, progress);
    EXPECT_EQ(skin::ReadProp(push, "Hw_FuID"), record_);
    EXPECT_EQ(skin::ReadProp(edit, "Hw_FuID"), record_);

    // Again: one entry, one subclassing, nothing attached twice.
    Attach(g);
    EXPECT_EQ(r.Containers.Count(), 1);
    EXPECT_EQ(r.Trackbars.Count(), 1);
    EXPECT_EQ(r.UpDowns.Count(), 1);
    EXPECT_NE(Entry(g).PreviousProc, skin::ContainerSkinProc);
    Repaint(g);

    // A second container appends its entry; a non-group box has no font.
    HWND panel = Child("Static", 0, "", 300, 20, 100, 50);
    Attach(panel, 0, 0x00FFFFFF, 0x1234, 1);
    ASSERT_EQ(r.Containers.Count(), 2);
    EXPECT_EQ(Entry(panel).GroupBox, 0);
    EXPECT_EQ(Entry(panel).FillAlpha, 0x34);
    EXPECT_EQ(Entry(panel).Border, 1);
    EXPECT_EQ(Entry(panel).SelfPaint, 0);
    EXPECT_TRUE(Entry(panel).FontName.empty());
}

TEST_F(ContainerTest, AControlOneSkinHoldsTakesNoSecondOne) {
    // Two skin procedures on one control would share its Hw_hProc: the first
    // would hand its messages to a chain leading back to itself.
    HWND view = Child(WC_LISTVIEWA, LVS_REPORT, "", 20, 20, 200, 80);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<char*>("name");
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    HWND bar = Child(TRACKBAR_CLASSA, 0, "", 20, 110, 150, 30);
    HWND progress = Child(PROGRESS_CLASSA, 0, "", 20, 150, 150, 20);
    HWND group = GroupBox(0, "group", 240, 20, 200, 100);
    const rt::ByteString picture = ctltest::SolidPng(8, 8, RGB(200, 0, 0));
    struct Case {
        const char* what;
        HWND control;
        std::function<void()> first, second;
    };
    const Case cases[] = {
        {"a list view (it has a header) attached as a container", view,
         [&] { skin::AttachListControls(record_, window_); }, [&] { Attach(view); }},
        {"a progress bar attached as a container", progress,
         [&] { skin::AttachProgressBars(record_, window_); }, [&] { Attach(progress); }},
        {"a trackbar handed over as a plain control, its parent attached again", bar,
         [&] {
             skin::AttachTrackbars(record_, window_);
             engine_.AttachPlainControl(bar);
         },
         [&] { skin::AttachTrackbars(record_, window_); }},
        {"a container group box given a picture", group, [&] { Attach(group); },
         [&] { EXPECT_EQ(engine_.SetButtonImage(group, picture), 0); }},
    };
    const auto& r = skin::SkinWindowTable[record_];
    for (const Case& c : cases) {
        c.first();
        const LONG_PTR proc = GetWindowLongPtrA(c.control, GWLP_WNDPROC);
        const std::intptr_t previous = skin::ReadProp(c.control, "Hw_hProc");
        const std::intptr_t entry = skin::ReadProp(c.control, "Hw_lbID");
        const int entries = r.Containers.Count() + r.Trackbars.Count() + r.Buttons.Count() +
                            r.ProgressBars.Count() + r.ListControls.Count();
        c.second();
        EXPECT_EQ(GetWindowLongPtrA(c.control, GWLP_WNDPROC), proc) << c.what;
        EXPECT_EQ(skin::ReadProp(c.control, "Hw_hProc"), previous) << c.what;
        EXPECT_EQ(skin::ReadProp(c.control, "Hw_lbID"), entry) << c.what;
        EXPECT_EQ(r.Containers.Count() + r.Trackbars.Count() + r.Buttons.Count() +
                      r.ProgressBars.Count() + r.ListControls.Count(),
                  entries)
            << c.what;
        // A doubled subclassing would send every message round until the
        // stack runs out, which ends a program under Wine with exit code 0.
        if (HasFailure()) continue;
        // Messages still reach the control's own procedure, once.
        SetWindowTextA(c.control, "still works");
        char text[32] = {};
        GetWindowTextA(c.control, text, sizeof text);
        EXPECT_STREQ(text, "still works") << c.what;
        SendMessageA(c.control, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        Repaint(c.control);
    }
}

TEST_F(ContainerTest, AWindowUnderNoSkinnedWindowIsLeftAlone) {
    HWND lone = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND inside = CreateWindowExA(0, "Button", "", WS_CHILD | BS_GROUPBOX, 0, 0, 40, 40, lone,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(inside, GWLP_WNDPROC));
    Attach(inside);
    Attach(nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(inside, GWLP_WNDPROC)), before);
    EXPECT_EQ(skin::SkinWindowTable[record_].Containers[1].Window, nullptr);
    DestroyWindow(lone);
}

TEST_F(ContainerTest, GroupBoxFramesAndCaptionGap) {
    // 200 x 100: outer frame on row 5, inner frame on row 6; the caption of
    // dots leaves row 5 free of glyphs.
    HWND right = GroupBox(0, "....", 20, 20, 200, 100);
    HWND left = GroupBox(BS_LEFT, "....", 240, 20, 200, 100);
    Attach(right);
    Attach(left);
    Repaint(right);
    Repaint(left);
    const int tw = skin::MeasureTextWidth("....", Entry(right).FontName, 12, Entry(right).FontStyle);
    ASSERT_GT(tw, 8);
    ASSERT_LT(tw, 60);
    auto onFrame = [&](HWND g, int x) { return !Near(Pixel(g, x, 5), BackdropUnder(g, x, 5), 3); };
    auto frameRun = [&](HWND g, int from, int to) {
        int n = 0;
        for (int x = from; x < to; ++x) n += onFrame(g, x) ? 1 : 0;
        return n;
    };
    // The right-hand caption cuts the frame between 200 - tw - 10 and 190.
    EXPECT_EQ(frameRun(right, 200 - tw - 10 + 1, 189), 0);
    EXPECT_EQ(frameRun(left, 200 - tw - 10 + 1, 189), 189 - (200 - tw - 9));
    // The left caption cuts it between 10 and 10 + tw.
    EXPECT_EQ(frameRun(left, 11, 10 + tw - 1), 0);
    EXPECT_EQ(frameRun(right, 11, 10 + tw - 1), 10 + tw - 1 - 11);
    // Outer line dark, inner line light, the inside untouched (no fill).
    EXPECT_LT(Sum(Pixel(right, 100, 99 - 0)), Sum(BackdropUnder(right, 100, 99)));
    EXPECT_LT(Sum(Pixel(right, 100, 5)), Sum(BackdropUnder(right, 100, 5)));
    EXPECT_GT(Sum(Pixel(right, 100, 6)), Sum(BackdropUnder(right, 100, 6)));
    EXPECT_TRUE(Near(Pixel(right, 100, 50), BackdropUnder(right, 100, 50), 2));
    // The caption itself is drawn: dark glyph pixels in the gap.
    int dark = 0;
    for (int y = 1; y < 16; ++y)
        for (int x = 190 - tw; x < 190; ++x)
            if (Sum(Pixel(right, x, y)) < 150) ++dark;
    EXPECT_GT(dark, 3);
    EXPECT_EQ(Entry(right).FullRepaint, 0);
}

TEST_F(ContainerTest, FillIsTheRoundedShapeBelowTheCaptionLine) {
    HWND g = GroupBox(BS_CENTER, "", 20, 20, 200, 100);
    Attach(g, 1, 0x00FFFFFF, 50);
    Repaint(g);
    const COLORREF inside = Over(BackdropUnder(g, 100, 50), RGB(255, 255, 255), 50);
    EXPECT_TRUE(Near(Pixel(g, 100, 50), inside, 3));
    // Above row 5 and outside the rounded corners the picture stays.
    EXPECT_TRUE(Near(Pixel(g, 60, 2), BackdropUnder(g, 60, 2), 2));
    EXPECT_TRUE(Near(Pixel(g, 0, 99), BackdropUnder(g, 0, 99), 2));

    // FillColor 0 is no fill whatever the alpha.
    HWND none = GroupBox(0, "", 240, 20, 200, 100);
    Attach(none, 1, 0, 255);
    Repaint(none);
    EXPECT_TRUE(Near(Pixel(none, 100, 50), BackdropUnder(none, 100, 50), 2));
}

TEST_F(ContainerTest, BorderedContainersGetTwoOutlines) {
    HWND bordered = Child("Static", 0, "", 20, 20, 100, 50);
    HWND plain = Child("Static", 0, "", 140, 20, 100, 50);
    Attach(bordered, 1, 0, 255, 1);
    Attach(plain, 1, 0, 255, 0);
    Repaint(bordered);
    Repaint(plain);
    EXPECT_LT(Sum(Pixel(bordered, 50, 0)), Sum(BackdropUnder(bordered, 50, 0)));
    EXPECT_LT(Sum(Pixel(bordered, 99, 25)), Sum(BackdropUnder(bordered, 99, 25)));
    EXPECT_GT(Sum(Pixel(bordered, 50, 1)), Sum(BackdropUnder(bordered, 50, 1)));
    EXPECT_TRUE(Near(Pixel(bordered, 50, 25), BackdropUnder(bordered, 50, 25), 2));
    for (auto [x, y] : {std::pair{50, 0}, std::pair{50, 1}, std::pair{99, 25}, std::pair{50, 25}})
        EXPECT_TRUE(Near(Pixel(plain, x, y), BackdropUnder(plain, x, y), 2)) << x << "," << y;
}

TEST_F(ContainerTest, SizeAsksForAFullRepaintAndTheNextPaintDoesIt) {
    HWND g = GroupBox(0, "", 20, 20, 200, 100);
    HWND clear = Child("Static", 0, "", 20, 30, 50, 20, g, WS_EX_TRANSPARENT);
    Attach(g);
    Repaint(g);
    EXPECT_EQ(Entry(g).FullRepaint, 0);
    // A later paint goes the child way: FullRepaint stays 0, the transparent
    // child is asked to paint again.
    ValidateRect(clear, nullptr);
    skin::PaintContainerChild(record_, static_cast<int>(skin::ReadProp(g, "Hw_lbID")), g, nullptr);
    EXPECT_EQ(Entry(g).FullRepaint, 0);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(clear, &update, FALSE));
    Repaint(g);
    EXPECT_EQ(Entry(g).FullRepaint, 0);
    SetWindowPos(g, nullptr, 0, 0, 220, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    EXPECT_EQ(Entry(g).FullRepaint, 1);
    Repaint(g);
    EXPECT_EQ(Entry(g).FullRepaint, 0);
    EXPECT_TRUE(Near(Pixel(g, 110, 60), BackdropUnder(g, 110, 60), 2));
}

TEST_F(ContainerTest, WithoutSelfPaintTheContainerPaintsItself) {
    HWND panel = Child("Static", SS_BLACKRECT, "", 20, 20, 100, 50);
    Attach(panel, 0);
    Repaint(panel);
    // The static's own even rectangle, not the skin's picture.
    EXPECT_FALSE(Near(Pixel(panel, 50, 25), BackdropUnder(panel, 50, 25), 20));
    EXPECT_EQ(Pixel(panel, 50, 25), Pixel(panel, 10, 10));
    EXPECT_EQ(Entry(panel).FullRepaint, 1);
    skin::WindowDc dc(panel);
    SetBkMode(dc, OPAQUE);
    SendMessageA(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
}

TEST_F(ContainerTest, ShowingASelfPaintingContainerPaintsIt) {
    HWND panel = Child("Static", SS_BLACKRECT, "", 20, 20, 100, 50);
    Attach(panel, 1, 0, 255, 1);
    Smear(panel, RGB(255, 0, 0));
    SendMessageA(panel, WM_SHOWWINDOW, 1, 0);
    EXPECT_TRUE(Near(Pixel(panel, 50, 25), BackdropUnder(panel, 50, 25), 2));
    EXPECT_EQ(Entry(panel).FullRepaint, 0);
}

TEST_F(ContainerTest, ChildColourMessagesGetTheSkinsBrushes) {
    HWND g = GroupBox(0, "", 20, 20, 260, 200);
    HWND edit = Child("Edit", 0, "", 10, 20, 100, 22, g);
    HWND label = Child("Static", 0, "x", 10, 50, 100, 22, g);
    HWND list = Child("ListBox", 0, "", 10, 80, 100, 60, g);
    HWND combo = Child("ComboBox", CBS_DROPDOWN, "", 120, 20, 100, 100, g);
    HWND comboEdit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(comboEdit, nullptr);
    Attach(g);
    skin::WindowDc dc(g);

    // Transparent controls off: every message goes to the group box's own
    // procedure, and the skin hands out nothing.
    SendMessageA(g, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(skin::ReadProp(label, "Kj_dxjb"), 0);

    skin::TransparentControlsFlag = 1;
    SetPropA(label, "Kj_Ztys", reinterpret_cast<HANDLE>(RGB(1, 2, 3)));
    const LRESULT glass = SendMessageA(g, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                       reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(glass, skin::ReadProp(label, "Kj_dxjb"));
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(glass)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(skin::ReadProp(label, "Kj_wtjb"))),
              static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    // The next brush replaces the last one, which is deleted.
    const LiveCounts held = Live();
    SendMessageA(g, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(glass)), 0u);
    EXPECT_EQ(Live(), held);

    EXPECT_NE(SendMessageA(g, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(edit)), 0);
    EXPECT_NE(skin::ReadProp(edit, "Kj_dxjb"), 0);
    // The edit part of a combo box gets no glass.
    SendMessageA(g, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(comboEdit));
    EXPECT_EQ(skin::ReadProp(comboEdit, "Kj_wtjb"), 0);

    const LRESULT hollow = SendMessageA(g, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc.Get()),
                                        reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(hollow, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    // Hollow after glass: the glass brush goes, the stock brush is never deleted.
    const HGDIOBJ labelGlass = reinterpret_cast<HGDIOBJ>(skin::ReadProp(label, "Kj_dxjb"));
    SendMessageA(g, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetObjectType(labelGlass), 0u);
    SendMessageA(g, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
}

TEST_F(ContainerTest, NotificationsRepaintTheChildrenThatChanged) {
    HWND g = GroupBox(0, "", 20, 20, 260, 200);
    HWND edit = Child("Edit", 0, "", 10, 20, 100, 22, g);
    HWND list = Child("ListBox", 0, "", 10, 80, 100, 60, g);
    Attach(g);
    skin::TransparentControlsFlag = 1;
    struct Case {
        HWND control;
        WORD code;
        bool repaint;
    };
    const Case cases[] = {{edit, EN_CHANGE, true},      {edit, EN_SETFOCUS, false},
                          {list, LBN_SELCHANGE, true}, {list, LBN_DBLCLK, false}};
    RECT update{};
    for (const Case& c : cases) {
        ValidateRect(c.control, nullptr);
        SendMessageA(g, WM_COMMAND, MAKEWPARAM(0, c.code), reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(GetUpdateRect(c.control, &update, FALSE) != 0, c.repaint) << c.code;
    }
    // A tree view's expansion, and notifications that carry a bad pointer.
    NMHDR expanded{edit, 0, static_cast<UINT>(TVN_ITEMEXPANDEDA)};
    ValidateRect(edit, nullptr);
    SendMessageA(g, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&expanded));
    EXPECT_TRUE(GetUpdateRect(edit, &update, FALSE));
    SendMessageA(g, WM_NOTIFY, 0, 0x10);
    SendMessageA(g, WM_DRAWITEM, 0, 0x10);
    SendMessageA(g, WM_DRAWITEM, 0, 0);
}

TEST_F(ContainerTest, OwnerDrawnButtonsInsideAreDrawnThroughTheContainer) {
    HWND g = GroupBox(0, "", 20, 20, 260, 200);
    HWND push = Child("Button", BS_PUSHBUTTON, "OK", 20, 40, 80, 24, g);
    Attach(g);
    ASSERT_EQ(GetWindowLongA(push, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    Smear(push, RGB(255, 0, 0));
    Repaint(push);
    // The skinned push button: rounded, so its corner shows the picture.
    EXPECT_TRUE(Near(Pixel(push, 0, 0), BackdropUnder(push, 0, 0), 3));
    EXPECT_NE(Pixel(push, 40, 12), RGB(255, 0, 0));
}

TEST_F(ContainerTest, SetContainerAlphaOnlyChangesAFilledContainer) {
    HWND filled = GroupBox(0, "", 20, 20, 200, 100);
    HWND empty = GroupBox(0, "", 240, 20, 200, 100);
    HWND bar = Child(TRACKBAR_CLASSA, 0, "", 20, 200, 150, 30);
    Attach(filled, 1, 0x00FFFFFF, 50);
    Attach(empty);
    skin::AttachTrackbars(record_, window_);
    UpdateWindow(window_);
    RECT update{};

    engine_.SetContainerAlpha(filled, 0x1280);
    EXPECT_EQ(Entry(filled).FillAlpha, 0x80);
    EXPECT_TRUE(GetUpdateRect(filled, &update, FALSE));

    ValidateRect(empty, nullptr);
    engine_.SetContainerAlpha(empty, 10);
    EXPECT_EQ(Entry(empty).FillAlpha, 255);
    EXPECT_FALSE(GetUpdateRect(empty, &update, FALSE));

    // A trackbar's properties name a trackbar entry, not a container: the
    // operation must not reach into the container array with them.
    const auto before = skin::SkinWindowTable[record_].Containers[1].FillAlpha;
    engine_.SetContainerAlpha(bar, 1);
    engine_.SetContainerAlpha(window_, 1);
    EXPECT_EQ(skin::SkinWindowTable[record_].Containers[1].FillAlpha, before);

    // The thunk reaches both operations through the method table.
    skin::CallbackThunk thunk = engine_.BuildCallbackThunk(skin::Operation::SetContainerAlpha, 2);
    ASSERT_FALSE(thunk.Empty());
    reinterpret_cast<void(__stdcall*)(HWND, int)>(thunk.Address())(filled, 0x40);
    EXPECT_EQ(Entry(filled).FillAlpha, 0x40);
    EXPECT_FALSE(engine_.BuildCallbackThunk(skin::Operation::AttachContainer, 5).Empty());
}

TEST_F(ContainerTest, ATranslucentContainerRepaintsWhenItMoves) {
    HWND filled = GroupBox(0, "", 20, 20, 200, 100);
    HWND opaque = GroupBox(0, "", 240, 20, 200, 100);
    Attach(filled, 1, 0x00FFFFFF, 50);
    Attach(opaque, 1, 0x00FFFFFF, 255);
    UpdateWindow(filled);
    UpdateWindow(opaque);
    RECT update{};
    SendMessageA(filled, WM_MOVE, 0, 0);
    SendMessageA(opaque, WM_MOVE, 0, 0);
    EXPECT_TRUE(GetUpdateRect(filled, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(opaque, &update, FALSE));
}

TEST_F(ContainerTest, PagesAreLaidOutInsideTheTabControlOnEverySize) {
    HWND tab = Child(WC_TABCONTROLA, 0, "", 20, 20, 300, 200);
    HWND page = Child("Static", 0, "", 0, 0, 10, 10, tab);
    Attach(tab);
    EXPECT_EQ(Entry(tab).GroupBox, 0);
    // The system offers no way to add a page; the entry is filled by hand.
    Entry(tab).Pages[1] = skin::ContainerPage{page, 24};
    SetWindowPos(tab, nullptr, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{}, placed{};
    GetClientRect(tab, &client);
    GetWindowRect(page, &placed);
    MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 2);
    EXPECT_EQ(placed.top, 24);
    EXPECT_EQ(placed.right - placed.left, client.right - 4);
    EXPECT_EQ(placed.bottom - placed.top, client.bottom - 24);
    EXPECT_EQ(Entry(tab).FullRepaint, 1);
}

TEST_F(ContainerTest, CopyParentBackgroundRestoresThePictureWithTheFill) {
    HWND outer = GroupBox(0, "", 20, 20, 300, 200);
    HWND inner = GroupBox(0, "", 20, 40, 200, 100);
    SetParent(inner, outer);
    Attach(outer, 1, 0x00FFFFFF, 100);
    Attach(inner, 1, 0x000000FF, 80);
    void* bits = nullptr;
    skin::BitmapHandle pixels = skin::MakeDibSection32(60, 30, &bits);
    skin::MemoryDc dc(nullptr);
    skin::SelectedObject selected(dc, pixels);
    auto at = [&](int x, int y) {
        const uint32_t p = static_cast<uint32_t*>(bits)[y * 60 + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    // Directly on the window: the picture, then the group box's own fill
    // from 4 rows below the rectangle's top.
    skin::CopyParentBackground(outer, dc, RECT{10, 1, 50, 16});
    EXPECT_TRUE(Near(at(20, 2), BackdropUnder(outer, 20, 2), 2));
    EXPECT_TRUE(Near(at(20, 10), Over(BackdropUnder(outer, 20, 10), RGB(255, 255, 255), 100), 3));
    EXPECT_EQ(at(5, 10), 0u);  // outside the rectangle nothing is written
    // Inside another container: the picture under it and its own fill over
    // the whole rectangle.
    skin::CopyParentBackground(inner, dc, RECT{10, 1, 50, 16});
    EXPECT_TRUE(Near(at(20, 2), Over(BackdropUnder(inner, 20, 2), RGB(255, 0, 0), 80), 3));
    EXPECT_TRUE(Near(at(20, 10), Over(BackdropUnder(inner, 20, 10), RGB(255, 0, 0), 80), 3));
}

TEST_F(ContainerTest, AWindowMarkedFromOutsideLendsItsBackground) {
    // A panel marked as a skin container, holding its own background DC.
    HWND marked = Child("Static", 0, "", 20, 20, 300, 200);
    HWND box = GroupBox(0, "", 10, 10, 200, 100);
    SetParent(box, marked);
    void* bits = nullptr;
    skin::BitmapHandle picture = skin::MakeDibSection32(300, 200, &bits);
    for (int i = 0; i < 300 * 200; ++i) static_cast<uint32_t*>(bits)[i] = 0x00123456;
    skin::MemoryDc source(nullptr);
    skin::SelectedObject selected(source, picture);
    SetPropA(marked, "Wxk_Zpf", reinterpret_cast<HANDLE>(1));
    SetPropA(marked, "Wxk_Cj", source.Get());
    EXPECT_EQ(skin::FindSkinParent(box), marked);
    EXPECT_EQ(skin::FindSkinParent(marked), nullptr);
    Attach(box, 1, 0x00FFFFFF, 100);
    EXPECT_EQ(reinterpret_cast<HWND>(skin::ReadProp(box, "Mb_zpf")), marked);

    skin::BitmapHandle out = skin::MakeDibSection32(60, 30, &bits);
    skin::MemoryDc dc(nullptr);
    skin::SelectedObject into(dc, out);
    skin::CopyParentBackground(box, dc, RECT{10, 1, 50, 16});
    auto at = [&](int x, int y) {
        const uint32_t p = static_cast<uint32_t*>(bits)[y * 60 + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    EXPECT_TRUE(Near(at(20, 2), RGB(0x12, 0x34, 0x56), 1));
    EXPECT_TRUE(Near(at(20, 10), Over(RGB(0x12, 0x34, 0x56), RGB(255, 255, 255), 100), 3));
    RemovePropA(marked, "Wxk_Cj");
}

TEST_F(ContainerTest, ManyPaintsLeaveNothingBehind) {
    HWND g = GroupBox(BS_CENTER, "分组框", 20, 20, 200, 100);
    HWND panel = Child("Static", 0, "", 240, 20, 100, 50);
    Child("Static", 0, "", 10, 30, 50, 20, g, WS_EX_TRANSPARENT);
    Attach(g, 1, 0x00FFFFFF, 60);
    Attach(panel, 1, 0x00FFEEDD, 100, 1);
    Repaint(g);
    Repaint(panel);
    const LiveCounts before = Live();
    for (int i = 0; i < 30; ++i) {
        Repaint(g);
        Repaint(panel);
        SetWindowPos(g, nullptr, 0, 0, 200 + i % 2, 100, SWP_NOMOVE | SWP_NOZORDER);
        UpdateWindow(g);
        SendMessageA(g, WM_SHOWWINDOW, 1, 0);
        skin::PaintContainer(record_, static_cast<int>(skin::ReadProp(panel, "Hw_lbID")), nullptr);
        Pump();
    }
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(skin::MemoryDcRegistry.Count(), 0);
}

}  // namespace
}  // namespace ctctest
