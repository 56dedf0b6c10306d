// Colour conversion, path builders, rectangle conversions, parent-chain
// lookups and style tests, on real windows where windows are involved.
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "drawing/path.h"
#include "fixture.h"
#include "skin/helpers.h"
#include "skin/record.h"

using namespace skin;
using skintest::SkinWindowsTest;

namespace {

struct PathData {
    std::vector<Gdiplus::PointF> points;
    std::vector<BYTE> types;
};

PathData ReadPath(drw::PathObject& path) {
    INT n = 0;
    Gdiplus::DllExports::GdipGetPointCount(path.GetHandle(), &n);
    PathData d;
    d.points.resize(n);
    d.types.resize(n);
    if (n > 0) {
        Gdiplus::DllExports::GdipGetPathPoints(path.GetHandle(), d.points.data(), n);
        Gdiplus::DllExports::GdipGetPathTypes(path.GetHandle(), d.types.data(), n);
    }
    return d;
}

::testing::AssertionResult PointIs(const Gdiplus::PointF& p, float x, float y) {
    if (std::abs(p.X - x) < 1e-3f && std::abs(p.Y - y) < 1e-3f) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << p.X << ", " << p.Y << ") is not (" << x << ", "
                                         << y << ")";
}

bool HasPoint(const PathData& d, float x, float y) {
    for (const auto& p : d.points)
        if (PointIs(p, x, y)) return true;
    return false;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
#define EXPECT_RECT(actual, l, t, r, b)                                                    \
    do {                                                                                    \
        const RECT got_ = (actual);                                                         \
        EXPECT_TRUE(SameRect(got_, RECT{l, t, r, b}))                                       \
            << #actual << " = {" << got_.left << ", " << got_.top << ", " << got_.right    \
            << ", " << got_.bottom << "}";                                                  \
    } while (0)

}  // namespace

TEST(ColorRefToArgb, SwapsRedAndBlueAndReplacesTheTopByte) {
    struct Case {
        COLORREF colour;
        int alpha;
        uint32_t argb;
    };
    const Case cases[] = {
        {0x00DDCA22, 255, 0xFF22CADD}, {0x00DDCA22, 0, 0x0022CADD},
        {0x00DDCA22, 60, 0x3C22CADD},  {0xFF112233, 0x80, 0x80332211},  // picture colour
        {0x00FF00FF, 255, 0xFFFF00FF}, {0x00000000, 0x1FF, 0xFF000000},  // low byte only
        {0x00FFFFFF, 50, 0x32FFFFFF},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorRefToArgb(c.colour, c.alpha), c.argb) << c.colour;
    EXPECT_EQ(ColorRefToArgb(0x00DDCA22), 0xFF22CADDu);
}

TEST(AddRoundedRectPath, ArcBoxesAndClampedRadius) {
    drw::PathObject path;
    ASSERT_EQ(path.Create(), 1);
    AddRoundedRectPath(path, 0, 0, 40, 18, 5);
    PathData d = ReadPath(path);
    ASSERT_EQ(d.points.size(), 16u);
    // Top-right arc in (35, 0, 5, 5) from 270 degrees; bottom-right in
    // (34, 12, 6, 6) from 0; bottom-left in (0, 13, 5, 5); top-left in (0, 0, 5, 5).
    EXPECT_TRUE(PointIs(d.points[0], 37.5f, 0));
    EXPECT_TRUE(PointIs(d.points[3], 40, 2.5f));
    EXPECT_TRUE(PointIs(d.points[4], 40, 15));
    EXPECT_TRUE(PointIs(d.points[7], 37, 18));
    EXPECT_TRUE(PointIs(d.points[8], 2.5f, 18));
    EXPECT_TRUE(PointIs(d.points[11], 0, 15.5f));
    EXPECT_TRUE(PointIs(d.points[12], 0, 2.5f));
    EXPECT_TRUE(PointIs(d.points[15], 2.5f, 0));
    EXPECT_EQ(d.types.back() & Gdiplus::PathPointTypeCloseSubpath,
              Gdiplus::PathPointTypeCloseSubpath);
    path.Delete();

    struct Clamp {
        int radius;
        float firstX;
    };
    for (const Clamp c : {Clamp{0, 299.5f}, Clamp{-7, 299.5f}, Clamp{250, 250.0f}}) {
        drw::PathObject p;
        p.Create();
        AddRoundedRectPath(p, 0, 0, 300, 200, c.radius);
        PathData pd = ReadPath(p);
        ASSERT_FALSE(pd.points.empty());
        EXPECT_TRUE(PointIs(pd.points[0], c.firstX, 0)) << "radius " << c.radius;
        p.Delete();
    }
}

TEST(AddGlossPath, OpenFigureFromBottomLeftOverTheTopToBottomRight) {
    drw::PathObject path;
    path.Create();
    AddGlossPath(path, 2, 3, 30, 20, 6);
    PathData d = ReadPath(path);
    ASSERT_GE(d.points.size(), 4u);
    EXPECT_TRUE(PointIs(d.points.front(), 2, 23));
    EXPECT_TRUE(PointIs(d.points.back(), 32, 23));
    EXPECT_TRUE(HasPoint(d, 2, 9));   // left side ends at y + r
    EXPECT_TRUE(HasPoint(d, 8, 3));   // top side from x + r
    EXPECT_TRUE(HasPoint(d, 26, 3));  // to x + w - r
    EXPECT_TRUE(HasPoint(d, 32, 9));
    EXPECT_EQ(d.types.back() & Gdiplus::PathPointTypeCloseSubpath, 0);
    path.Delete();
}

TEST(MessageWords, SignedMouseCoordinates) {
    const LPARAM at = MAKELPARAM(-5, -7);
    EXPECT_EQ(MouseX(at), -5);
    EXPECT_EQ(MouseY(at), -7);
    EXPECT_EQ(LowWord(0x1234ABCD), 0xABCD);
    EXPECT_EQ(HighWord(0x1234ABCD), 0x1234);
    EXPECT_EQ(static_cast<int16_t>(HighWord(static_cast<int32_t>(0xFFF90010))), -7);
}

class HierarchyTest : public SkinWindowsTest {
protected:
    void SetUp() override {
        top = Popup(100, 80, 300, 200);
        direct = Child(top, "STATIC", WS_VISIBLE, 10, 20, 50, 30);
        group = Child(top, "BUTTON", WS_VISIBLE | BS_GROUPBOX, 150, 40, 120, 100);
        panel = Child(group, "STATIC", WS_VISIBLE, 10, 15, 100, 80);
        inner = Child(panel, "STATIC", WS_VISIBLE, 5, 5, 60, 20);
        record = Skin(top);
        groupEntry = AddContainer(record, group, 0xFFFFFF, 50, 1, 1);
        panelEntry = AddContainer(record, panel, 0x00FF00, 80, 0, 0);
        lone = Popup(500, 80, 100, 100);
        loneChild = Child(lone, "STATIC", WS_VISIBLE, 5, 5, 20, 20);
    }
    HWND top{}, direct{}, group{}, panel{}, inner{}, lone{}, loneChild{};
    int record = 0, groupEntry = 0, panelEntry = 0;
};

TEST_F(HierarchyTest, RectangleConversions) {
    EXPECT_RECT(GetRectInContainer(direct), 10, 20, 60, 50);
    EXPECT_RECT(GetRectInContainer(top), 0, 0, 0, 0);
    EXPECT_RECT(GetRectInContainer(inner), 165, 60, 225, 80);
    EXPECT_RECT(GetRectRelativeTo(group, inner), 15, 20, 75, 40);
    EXPECT_RECT(GetRectInRootWindow(inner), 165, 60, 225, 80);
    EXPECT_RECT(GetRectInParentClient(inner), 5, 5, 65, 25);
    EXPECT_RECT(GetRectInParentClient(top), 0, 0, 0, 0);

    // A parent with a caption and borders: parent-client coordinates skip them.
    HWND framed = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 40, 300, 200, 150,
                                  nullptr, nullptr, nullptr, nullptr);
    ShowWindow(framed, SW_SHOWNOACTIVATE);
    windows_.push_back(framed);
    HWND child = Child(framed, "STATIC", WS_VISIBLE, 7, 9, 40, 10);
    EXPECT_RECT(GetRectInParentClient(child), 7, 9, 47, 19);
}

TEST_F(HierarchyTest, ClientRectInWindowTakesScrollBarsAs17Pixels) {
    // Whatever width the system gives a scroll bar (16 or 17), the borders
    // come out at 1 (thin border) and 2 (client edge) after rounding.
    HWND plain = Child(top, "STATIC", WS_VISIBLE | WS_BORDER, 0, 0, 120, 80);
    HWND vertical = Child(top, "STATIC", WS_VISIBLE | WS_BORDER | WS_VSCROLL, 0, 0, 120, 80);
    HWND horizontal = Child(top, "STATIC", WS_VISIBLE | WS_HSCROLL, 0, 0, 120, 80,
                            WS_EX_CLIENTEDGE);
    RECT c{};
    EXPECT_RECT(GetClientRectInWindow(plain), 1, 1, 119, 79);
    GetClientRect(vertical, &c);
    EXPECT_RECT(GetClientRectInWindow(vertical), 1, 1, 1 + c.right, 79);
    GetClientRect(horizontal, &c);
    EXPECT_RECT(GetClientRectInWindow(horizontal), 2, 2, 2 + c.right, 2 + c.bottom);
    EXPECT_RECT(GetClientRectInWindow(top), 0, 0, 300, 200);
}

TEST_F(HierarchyTest, ParentChainLookupsWithANestedContainer) {
    EXPECT_EQ(FindWindowRecord(nullptr), 0);
    EXPECT_EQ(FindWindowRecord(top), record);
    EXPECT_EQ(FindRootWindowRecord(inner), record);
    EXPECT_EQ(FindRootWindowRecord(top), 0);  // only ancestors count
    EXPECT_EQ(FindRootWindowRecord(loneChild), 0);
    EXPECT_EQ(FindContainerEntry(record, group), groupEntry);
    EXPECT_EQ(FindContainerEntry(record, nullptr), 0);  // never the all-zero entry

    struct Case {
        HWND control;
        int result, record, container;
    };
    const Case cases[] = {
        {direct, 1, record, -1},       // directly on the skinned window
        {top, 1, record, -1},          // the skinned window itself
        {panel, 0, record, groupEntry},
        {inner, 0, record, panelEntry},  // the nearest container wins
        {loneChild, 0, -1, -1},        // under no skinned window: nothing
        {nullptr, 0, -1, -1},
    };
    for (const Case& c : cases) {
        int r = -1, k = -1;
        HWND marked = reinterpret_cast<HWND>(-1);
        EXPECT_EQ(FindSkinContainer(c.control, r, k, marked), c.result);
        EXPECT_EQ(r, c.record);
        EXPECT_EQ(k, c.container);
        EXPECT_EQ(marked, reinterpret_cast<HWND>(-1));
    }

    // Self-painting containers between a control and a stop window.
    EXPECT_EQ(IsInsideFilledContainer(record, inner, top), groupEntry);  // the panel does not paint
    EXPECT_EQ(IsInsideFilledContainer(record, inner, group), 0);
    EXPECT_EQ(IsInsideFilledContainer(record, loneChild, nullptr), 0);
}

TEST_F(HierarchyTest, MarkedWindowsEndTheWalk) {
    int r = 0, k = 0;
    HWND marked = nullptr;
    WriteProp(panel, prop::Wxk_Zpf, 1);
    EXPECT_EQ(FindSkinContainer(inner, r, k, marked), 0);
    EXPECT_EQ(marked, panel);
    marked = nullptr;
    EXPECT_EQ(FindSkinContainer(panel, r, k, marked), 0);  // marked itself
    EXPECT_EQ(marked, panel);
    EXPECT_EQ(r, 0);
    WriteProp(panel, prop::Wxk_Zpf, 0);

    // A container with a marked window above it hands that window out.
    WriteProp(group, prop::Mb_zpf, reinterpret_cast<std::intptr_t>(lone));
    marked = nullptr;
    EXPECT_EQ(FindSkinContainer(panel, r, k, marked), 0);
    EXPECT_EQ(marked, lone);
    EXPECT_EQ(k, 0);
    WriteProp(group, prop::Mb_zpf, 0);
}

TEST_F(HierarchyTest, StyleTestsAndClassNames) {
    struct ButtonCase {
        DWORD style;
        bool autoRadio;
    };
    for (const ButtonCase c : {ButtonCase{BS_RADIOBUTTON, false}, ButtonCase{BS_AUTOCHECKBOX, false},
                               ButtonCase{BS_AUTORADIOBUTTON, true},
                               ButtonCase{BS_AUTORADIOBUTTON | BS_LEFTTEXT | WS_TABSTOP, true},
                               ButtonCase{BS_GROUPBOX, false}}) {
        HWND b = Child(top, "BUTTON", c.style, 0, 0, 10, 10);
        EXPECT_EQ(IsAutoRadioButton(b), c.autoRadio) << std::hex << c.style;
    }
    struct ListCase {
        const char* cls;
        DWORD style;
        bool ownerDraw;
    };
    for (const ListCase c : {ListCase{"LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, true},
                             ListCase{"LISTBOX", LBS_OWNERDRAWVARIABLE, true},
                             ListCase{"LISTBOX", LBS_NOTIFY, false},
                             ListCase{"EDIT", 0x10, false}}) {
        HWND w = Child(top, c.cls, c.style, 0, 0, 50, 50);
        EXPECT_EQ(IsOwnerDrawListBox(w), c.ownerDraw) << c.cls << " " << std::hex << c.style;
    }
    EXPECT_EQ(GetClassNameText(Child(top, "LISTBOX", 0, 0, 0, 9, 9)), "ListBox");
    EXPECT_FALSE(IsTransparentExStyle(direct));
    EXPECT_TRUE(IsTransparentExStyle(Child(top, "STATIC", 0, 0, 0, 9, 9, WS_EX_TRANSPARENT)));
}

TEST_F(HierarchyTest, InvalidateVisibleChildrenSkipsHiddenOnes) {
    HWND hidden = Child(top, "STATIC", 0, 0, 0, 20, 20);
    UpdateWindow(top);
    ValidateRect(direct, nullptr);
    ValidateRect(hidden, nullptr);
    InvalidateVisibleChildren(top);
    EXPECT_TRUE(GetUpdateRect(direct, nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(hidden, nullptr, FALSE));
    InvalidateVisibleChildren(nullptr);  // no parent: nothing at all
}
