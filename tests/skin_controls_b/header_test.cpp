// Header controls: attach of stand-alone and list-view headers, hit testing,
// the item painter read back from the screen (body, separator, text
// alignment, the stretched last item), hover and press, and the text measure.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls_fixture.h"
#include "skin/controls/header.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "drawing/font.h"
#include "tests/support/pixels.h"

using namespace skin;
using namespace ctltest;

namespace {

bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 250; }

class HeaderTest : public ControlsTest {
protected:
    SkinWindowRecord& Record() { return SkinWindowTable[record]; }
    SkinnedHeader& Entry(int i) { return Record().Headers[i]; }

    HWND Header(DWORD style, int x, int y, int w) {
        HWND header = Control(WC_HEADERA, style, x, y, w, 24);
        SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        return header;
    }
    // An item at the end; image, when given, is its index in the image list.
    static void AddItem(HWND header, const char* text, int width, int format, int image = -1) {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (image >= 0 ? HDI_IMAGE : 0);
        item.pszText = const_cast<char*>(text);
        item.cxy = width;
        item.fmt = format | HDF_STRING;
        item.iImage = image;
        const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        SendMessageA(header, HDM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item));
    }
    // An attached header with buttons and items "one" and "two", 100 px
    // each, painted once.
    HWND PaintedButtonsHeader() {
        HWND header = Header(HDS_BUTTONS, 20, 30, 320);
        AddItem(header, "one", 100, HDF_LEFT);
        AddItem(header, "two", 100, HDF_LEFT);
        AttachHeaders(record, top);
        PaintHeader(record, 1);
        return header;
    }
    // A bitmap of w x h in one colour; the caller deletes it.
    static HBITMAP SolidBitmap(int w, int h, COLORREF colour) {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ displaced = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(colour);
        RECT r{0, 0, w, h};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        SelectObject(dc, displaced);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }
    // An image list of one red 16 x 16 image, set on the header.
    static HIMAGELIST RedIcons(HWND header) {
        HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
        HBITMAP red = SolidBitmap(16, 16, RGB(255, 0, 0));
        ImageList_Add(images, red, nullptr);
        DeleteObject(red);
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        return images;
    }
    static bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }
    // How many pixels of the header's rectangle (x0, y0)-(x1, y1) pass test.
    template <class Test>
    static int CountIn(HWND header, int x0, int x1, int y0, int y1, Test test) {
        HDC dc = GetDC(header);
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += test(GetPixel(dc, x, y)) ? 1 : 0;
        ReleaseDC(header, dc);
        return n;
    }
    // The first column of x0..x1 whose pixel in row y is red, -1 if none.
    static int FirstRedColumn(HWND header, int x0, int x1, int y) {
        HDC dc = GetDC(header);
        int first = -1;
        for (int x = x0; x < x1 && first < 0; ++x)
            if (IsRed(GetPixel(dc, x, y))) first = x;
        ReleaseDC(header, dc);
        return first;
    }
    // Leftmost and rightmost dark column in the band x0..x1 of the header.
    static std::pair<int, int> InkSpan(HWND header, int x0, int x1) {
        HDC dc = GetDC(header);
        int first = -1, last = -1;
        for (int x = x0; x < x1; ++x)
            for (int y = 2; y < 22; ++y)
                if (IsDark(GetPixel(dc, x, y))) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        ReleaseDC(header, dc);
        return {first, last};
    }
};

TEST_F(HeaderTest, AttachTakesStandAloneAndListViewHeadersOnce) {
    HWND plain = Header(HDS_BUTTONS, 20, 30, 300);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    SendMessageA(plain, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    HWND view = Control(WC_LISTVIEWA, LVS_REPORT, 20, 80, 300, 100);
    HWND viewHeader = FindWindowExA(view, nullptr, WC_HEADERA, nullptr);
    ASSERT_NE(viewHeader, nullptr);
    Control(WC_LISTVIEWA, LVS_LIST, 20, 200, 100, 50);  // no header

    SkinControlsFlag = 0;
    AttachHeaders(record, top);
    EXPECT_EQ(Entry(1).Window, nullptr);
    SkinControlsFlag = 1;
    AttachHeaders(record, top);
    AttachHeaders(record, top);
    ASSERT_EQ(Record().Headers.Count(), 2);
    EXPECT_EQ(Entry(1).Window, plain);
    EXPECT_EQ(Entry(2).Window, viewHeader);
    EXPECT_EQ(Entry(1).ButtonsStyle, 1);
    EXPECT_EQ(Entry(1).ImageList, images);
    EXPECT_EQ(ReadProp(viewHeader, "Hw_lbID"), 2);
    EXPECT_EQ(ReadProp(viewHeader, "Hw_FuID"), record);
    const ControlFont font = ReadControlFont(plain);
    EXPECT_FALSE(Entry(1).FontName.empty());
    EXPECT_EQ(Entry(1).FontName, font.FaceName);
    EXPECT_GT(Entry(1).FontSize, 0);
    AddItem(plain, "one", 50, HDF_LEFT);
    EXPECT_EQ(SendMessageA(plain, HDM_GETITEMCOUNT, 0, 0), 1) << "one subclassing deep";
    DestroyWindow(plain);
    ImageList_Destroy(images);
}

TEST_F(HeaderTest, HitTestLeavesTheDividerGripsToNoItem) {
    HWND header = Header(HDS_BUTTONS, 20, 30, 300);
    AddItem(header, "a", 100, HDF_LEFT);
    AddItem(header, "b", 8, HDF_LEFT);
    AddItem(header, "c", 50, HDF_LEFT);
    AttachHeaders(record, top);
    const struct {
        int x, item;
    } cases[] = {{0, 0}, {4, 0}, {5, 1}, {95, 1}, {96, 0}, {103, 0}, {104, 0}, {113, 3},
                 {153, 3}, {154, 0}, {250, 0}, {-3, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(HitTestHeaderItem(record, 1, MAKELPARAM(c.x, 7)), c.item) << c.x;
}

TEST_F(HeaderTest, ItemsShowBodySeparatorAndAlignedText) {
    HWND header = Header(0, 20, 30, 320);
    AttachHeaders(record, top);
    // A header without items paints nothing.
    MarkPixel(header, 10, 10, kMarker);
    PaintHeader(record, 1);
    EXPECT_EQ(WindowPixel(header, 10, 10), kMarker);

    AddItem(header, "Left", 100, HDF_LEFT);
    AddItem(header, "Right", 100, HDF_RIGHT);
    AddItem(header, "Mid", 100, HDF_CENTER);
    MarkPixel(header, 310, 10, kMarker);
    PaintHeader(record, 1);
    // Top row: glass, then the theme at alpha 60 (no buttons).
    EXPECT_TRUE(ColourNear(WindowPixel(header, 60, 0), Blend(GlassAt(20, 30, 60, 0), kTheme, 60), 6));
    EXPECT_TRUE(ColourNear(WindowPixel(header, 260, 0), Blend(GlassAt(20, 30, 260, 0), kTheme, 60), 6));
    // The separator darkens the top of each item's last column.
    const COLORREF body = WindowPixel(header, 97, 1), line = WindowPixel(header, 99, 1);
    EXPECT_LT(GetRValue(line) + GetGValue(line) + GetBValue(line),
              GetRValue(body) + GetGValue(body) + GetBValue(body) - 60);
    // A stand-alone header leaves the strip right of its last item alone.
    EXPECT_EQ(WindowPixel(header, 310, 10), kMarker);

    const int margin = static_cast<int>(SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    const auto left = InkSpan(header, 0, 98);
    const auto right = InkSpan(header, 100, 198);
    const auto mid = InkSpan(header, 200, 298);
    ASSERT_GE(left.first, 0);
    ASSERT_GE(right.first, 0);
    ASSERT_GE(mid.first, 0);
    EXPECT_NEAR(left.first, margin, 6);
    EXPECT_NEAR(right.second, 199, 4) << "right-aligned text ends at the item's edge";
    EXPECT_NEAR((mid.first + mid.second) / 2.0, 250 - margin / 2.0, 5);
}

TEST_F(HeaderTest, IconStartsWhereTheAlignmentPutsItUnlessImageMarginAndTextDoNotFit) {
    HWND header = Header(0, 20, 30, 370);
    HIMAGELIST images = RedIcons(header);
    AttachHeaders(record, top);
    const int m = static_cast<int>(SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    ASSERT_GT(m, 2);
    auto width = [&](const char* text) {
        return MeasureTextWidth(text, Entry(1).FontName, Entry(1).FontSize, Entry(1).FontStyle);
    };
    const int iw = 16;
    struct Case {
        const char* text;
        int width;  // 0: exactly image, margin and text, which does not fit
        int format;
        bool fits;
    };
    const Case cases[] = {
        {"ab", 80, HDF_LEFT, true},          {"ab", 80, HDF_RIGHT, true},
        {"ab", 80, HDF_CENTER, true},        {"WWWWWWWW", 50, HDF_RIGHT, false},
        {"WWWWWWWW", 50, HDF_CENTER, false}, {"ab", 0, HDF_CENTER, false},
    };
    for (const Case& c : cases)
        AddItem(header, c.text, c.width ? c.width : iw + m + width(c.text),
                     c.format | HDF_IMAGE, 0);
    PaintHeader(record, 1);
    int left = 0;
    for (const Case& c : cases) {
        const int w = c.width ? c.width : iw + m + width(c.text), tw = width(c.text);
        SCOPED_TRACE(testing::Message() << c.text << " in " << w << ", format " << c.format);
        ASSERT_EQ(iw + m + tw < w, c.fits);
        int x = m;
        if (c.fits && (c.format & HDF_RIGHT)) x = w - iw - tw;
        if (c.fits && (c.format & HDF_CENTER)) x = (w - iw - m - tw) / 2;
        // Unscaled, centred vertically: rows 4 to 19 of 24.
        EXPECT_EQ(FirstRedColumn(header, left, left + w, 12), left + x);
        EXPECT_EQ(FirstRedColumn(header, left, left + w, 4), left + x);
        EXPECT_EQ(FirstRedColumn(header, left, left + w, 3), -1);
        EXPECT_EQ(FirstRedColumn(header, left, left + w, 20), -1);
        left += w;
    }
    DestroyWindow(header);
    ImageList_Destroy(images);
}

TEST_F(HeaderTest, BitmapItemShowsItsTextOnly) {
    HWND header = Header(0, 20, 30, 300);
    HIMAGELIST images = RedIcons(header);
    HBITMAP green = SolidBitmap(16, 16, RGB(0, 255, 0));
    HDITEMA item{};
    // The header has icons and the item's image index is 0, but without
    // HDF_IMAGE the item shows none.
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_BITMAP;
    item.pszText = const_cast<char*>("text");
    item.cxy = 100;
    item.fmt = HDF_BITMAP | HDF_STRING;
    item.hbm = green;
    SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    AttachHeaders(record, top);
    PaintHeader(record, 1);
    EXPECT_EQ(CountIn(header, 0, 100, 0, 24, IsRed), 0);
    EXPECT_EQ(CountIn(header, 0, 100, 0, 24,
                      [](COLORREF c) { return GetGValue(c) > 200 && GetRValue(c) < 80; }),
              0);
    EXPECT_GT(CountIn(header, 0, 100, 2, 22, IsDark), 10) << "the text";
    DestroyWindow(header);
    ImageList_Destroy(images);
    DeleteObject(green);
}

TEST_F(HeaderTest, TooLongTextIsCutWithAnEllipsis) {
    // GDI+ under Wine draws no ellipsis whatever the format asks, so the
    // format the items are drawn with is read back.
    drw::StringFormatObject format;
    CreateItemTextFormat(format);
    EXPECT_EQ(format.GetTrimming(), 3 /* StringTrimmingEllipsisCharacter */);
    EXPECT_EQ(format.GetFlags(), 0);
    EXPECT_EQ(format.GetAlign(), 0 /* near */);
    EXPECT_EQ(format.GetLineAlign(), 0 /* top */);
}

TEST_F(HeaderTest, PressedOverlayShadesThePressedItemFromDarkToLight) {
    HWND header = PaintedButtonsHeader();
    const int rows[] = {0, 6, 12, 18, 23};
    COLORREF normal[5], other[5];
    for (int i = 0; i < 5; ++i) {
        normal[i] = WindowPixel(header, 60, rows[i]);
        other[i] = WindowPixel(header, 160, rows[i]);
    }
    Entry(1).PressedItem = 1;
    PaintHeader(record, 1);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(rows[i]);
        // Black at 30 (top) to white at 120 (bottom) over the item's look.
        const auto overlay = testsupport::GradientAt(0x1E000000, 0x78FFFFFF, (rows[i] + 0.5) / 24);
        EXPECT_TRUE(ColourNear(WindowPixel(header, 60, rows[i]),
                               Blend(normal[i], overlay.colour, overlay.alpha), 4));
        EXPECT_EQ(WindowPixel(header, 160, rows[i]), other[i]);
    }
}

TEST_F(HeaderTest, EachStateHasItsColourAtChosenPixels) {
    using testsupport::GradientAt;
    using testsupport::Layer;
    HWND buttons = PaintedButtonsHeader();  // items (0, 0, 100, 24) and (100, 0, 200, 24)
    HWND flat = Header(0, 20, 70, 320);
    AddItem(flat, "one", 100, HDF_LEFT);
    AddItem(flat, "two", 100, HDF_LEFT);
    AttachHeaders(record, top);
    ASSERT_EQ(ReadProp(flat, "Hw_lbID"), 2);
    // Each layer runs down the item's 24 rows, GDI+ putting a pixel's centre
    // on its whole coordinates; under all of them lies the white glass.
    struct Layers {
        uint32_t from, to;
    };
    const Layers flatBody{0x3C22CADD, 0x0A22CADD}, buttonsBody{0x50FFFFFF, 0x7822CADD};
    const Layers hotOverlay{0x3C22CADD, 0x1E000000}, pressedOverlay{0x1E000000, 0x78FFFFFF};
    const Layers separator{0x3C000000, 0x32FFFFFF};
    enum State { kNormal, kHotFirst, kPressedFirst };
    struct Row {
        const char* what;
        HWND header;
        State state;
        int x, y;
        std::vector<Layers> layers;  // over the glass, bottom first
    };
    const Row rows[] = {
        {"flat body, top", flat, kNormal, 60, 2, {flatBody}},
        {"flat body, bottom", flat, kNormal, 60, 21, {flatBody}},
        {"flat separator", flat, kNormal, 99, 4, {flatBody, separator}},
        {"flat separator, low", flat, kNormal, 199, 20, {flatBody, separator}},
        {"flat body under the mouse: no overlay", flat, kHotFirst, 60, 21, {flatBody}},
        {"flat body pressed: no overlay", flat, kPressedFirst, 60, 21, {flatBody}},
        {"buttons body, top", buttons, kNormal, 60, 2, {buttonsBody}},
        {"buttons body, bottom", buttons, kNormal, 60, 21, {buttonsBody}},
        {"buttons separator", buttons, kNormal, 99, 4, {buttonsBody, separator}},
        {"hot item, top", buttons, kHotFirst, 60, 2, {buttonsBody, hotOverlay}},
        {"hot item, bottom", buttons, kHotFirst, 60, 21, {buttonsBody, hotOverlay}},
        {"hot item's separator", buttons, kHotFirst, 99, 12, {buttonsBody, hotOverlay, separator}},
        {"item beside the hot one", buttons, kHotFirst, 160, 21, {buttonsBody}},
        {"pressed item, top", buttons, kPressedFirst, 60, 2, {buttonsBody, pressedOverlay}},
        {"pressed item, bottom", buttons, kPressedFirst, 60, 21, {buttonsBody, pressedOverlay}},
        {"item beside the pressed one", buttons, kPressedFirst, 160, 2, {buttonsBody}},
    };
    for (const Row& r : rows) {
        SkinnedHeader& e = Entry(static_cast<int>(ReadProp(r.header, "Hw_lbID")));
        e.Hot = r.state == kHotFirst ? 1 : 0;
        e.HotItem = r.state == kHotFirst ? 1 : 0;
        e.PressedItem = r.state == kPressedFirst ? 1 : 0;
        PaintHeader(record, static_cast<int>(ReadProp(r.header, "Hw_lbID")));
        RECT at{};
        GetWindowRect(r.header, &at);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&at), 1);
        COLORREF expected = GlassAt(at.left, at.top, r.x, r.y);
        for (const Layers& l : r.layers)
            expected = Layer(expected, GradientAt(l.from, l.to, r.y / 24.0));
        EXPECT_TRUE(ColourNear(WindowPixel(r.header, r.x, r.y), expected, 3))
            << r.what << " at (" << r.x << ", " << r.y << ")";
    }
}

TEST_F(HeaderTest, LastItemOfAListViewHeaderReachesTheViewsEdge) {
    HWND view = Control(WC_LISTVIEWA, LVS_REPORT, 20, 30, 300, 100);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>("Name");
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    HWND header = FindWindowExA(view, nullptr, WC_HEADERA, nullptr);
    AttachHeaders(record, top);
    RECT client{};
    GetClientRect(header, &client);
    MarkPixel(header, 250, 1, kMarker);
    PaintHeader(record, 1);
    EXPECT_NE(WindowPixel(header, 250, 1), kMarker);
    // Out-of-range entries paint nothing and do not stop the program.
    PaintHeader(record, 2);
    PaintHeader(record + 1, 1);
    PaintHeader(0, 1);
}

TEST_F(HeaderTest, HoverAndPressFollowTheMouse) {
    HWND header = PaintedButtonsHeader();
    const COLORREF normal = WindowPixel(header, 60, 20);

    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
    EXPECT_EQ(Entry(1).Hot, 1);
    EXPECT_EQ(Entry(1).HotItem, 1);
    EXPECT_EQ(Entry(1).LastHotItem, 1);
    EXPECT_EQ(Record().HotControlClass, 9);
    EXPECT_EQ(Record().PreviousHotEntry, 1);
    const COLORREF hot = WindowPixel(header, 60, 20);
    EXPECT_FALSE(ColourNear(hot, normal, 4)) << "the hot overlay";

    // The divider grip clears the hot look; back in the item paints it again.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(98, 10));
    EXPECT_EQ(Entry(1).Hot, 0);
    EXPECT_EQ(Entry(1).HotItem, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(header, 60, 20), normal, 2));
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
    EXPECT_TRUE(ColourNear(WindowPixel(header, 60, 20), hot, 2));

    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
    EXPECT_EQ(Entry(1).Pressed, 1);
    EXPECT_EQ(Entry(1).PressedItem, 1);
    // Moving over another item while pressed does not repaint.
    MarkPixel(header, 150, 20, kMarker);
    SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 10));
    EXPECT_EQ(Entry(1).HotItem, 2);
    EXPECT_EQ(WindowPixel(header, 150, 20), kMarker);
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(150, 10));
    ReleaseCapture();
    EXPECT_EQ(Entry(1).Pressed, 0);
    EXPECT_EQ(Entry(1).PressedItem, 0);

    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Entry(1).Hot, 0);
    EXPECT_EQ(Entry(1).HotItem, 0);
    EXPECT_EQ(Entry(1).LastHotItem, 0);
    EXPECT_EQ(Record().PreviousHotEntry, 0);
    EXPECT_TRUE(ColourNear(WindowPixel(header, 60, 20), normal, 2));
}

TEST_F(HeaderTest, HeaderWithoutButtonsFollowsTheMouseWithoutOverlays) {
    HWND header = Header(0, 20, 30, 320);
    AddItem(header, "one", 100, HDF_LEFT);
    AttachHeaders(record, top);
    PaintHeader(record, 1);
    const COLORREF normal = WindowPixel(header, 60, 20);
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
    EXPECT_EQ(Entry(1).HotItem, 1);
    EXPECT_TRUE(ColourNear(WindowPixel(header, 60, 20), normal, 2));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
    EXPECT_EQ(Entry(1).PressedItem, 1);
    PaintHeader(record, 1);
    EXPECT_TRUE(ColourNear(WindowPixel(header, 60, 20), normal, 2));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(50, 10));
    ReleaseCapture();
}

TEST_F(HeaderTest, MeasureTextWidthGrowsWithTheTextAndIsOneWithoutAFont) {
    const rt::AnsiText face = "宋体";
    const int one = MeasureTextWidth("W", face, 20, 0);
    const int two = MeasureTextWidth("WW", face, 20, 0);
    const int four = MeasureTextWidth("WWWW", face, 20, 0);
    EXPECT_GT(one, 5);
    // Each further letter adds its own width; the padding comes once.
    EXPECT_GT(two - one, 5);
    EXPECT_NEAR(four - two, 2 * (two - one), 3);
    EXPECT_GT(MeasureTextWidth("W", face, 40, 0), one);
    EXPECT_GE(MeasureTextWidth("W", face, 20, 1), one) << "bold is not narrower";
    EXPECT_EQ(MeasureTextWidth("", face, 20, 0), 1);
    EXPECT_EQ(MeasureTextWidth("W", "No Such Face 123", 20, 0), 1);
    EXPECT_EQ(MeasureTextWidth("W", "", 20, 0), 1);
    EXPECT_GT(MeasureTextWidth("文件", "宋体", 12, 0), 12);
}

}  // namespace
