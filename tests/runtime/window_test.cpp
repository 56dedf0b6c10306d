// Windows built from a design table: creation order and geometry, the
// created handler before the first show, events, visibility, unit queries,
// the window command, the transparent label and the OLE drop target.
#include <gtest/gtest.h>

#include "runtime/drop_target.h"
#include "runtime/runtime.h"
#include "runtime/units_internal.h"
#include "tests/e2e/file_data_object.h"
#include "tests/support/waits.h"

namespace {

struct Recorder {
    std::vector<std::string> events;
    bool visibleInCreated = true;
    std::vector<int32_t> lastMove;
    std::string dropped;
};
Recorder* g_rec = nullptr;

rt::WindowDesign TestDesign() {
    rt::UnitEvents window;
    window.created = [] {
        g_rec->events.push_back("created");
        g_rec->visibleInCreated = IsWindowVisible(rt::UnitWindow(rt::UnitId("W"))) != 0;
    };
    window.mouseMoved = [](int32_t k, int32_t x, int32_t y) { g_rec->lastMove = {0, k, x, y}; };
    rt::UnitEvents button;
    button.clicked = [] { g_rec->events.push_back("clicked B"); };
    rt::UnitEvents list;
    list.mouseMoved = [](int32_t k, int32_t x, int32_t y) { g_rec->lastMove = {1, k, x, y}; };
    rt::UnitEvents drop;
    drop.filesDropped = [](rt::AnsiText& text) { g_rec->dropped = text; };
    using K = rt::UnitKind;
    return {
        {"W", K::Window, 50, 50, 698, 501, true, "", window},
        {"Tip", K::TransparentLabel, 32, 40, 352, 32, false, "可以从这里打开文件", {}},
        {"B", K::PushButton, 520, 0, 120, 32, true, "关于作者", button},
        {"Drop", K::DropTarget, 440, 0, 40, 24, false, "", drop},
        {"B2", K::PushButton, 200, 0, 264, 32, true, "开始", {}},
        {"L", K::ListBox, 1, 32, 695, 472, true, "", list},
        {"G", K::GroupBox, 600, 100, 50, 50, true, "组", {}},
    };
}

// One window for the whole suite: under Wine on a bare X server every
// destruction of a shown top-level window waits two seconds.
class BuiltWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_rec = &rec_;
        window_ = rt::BuildWindow(TestDesign());
        hwnd_ = rt::UnitWindow(window_);
    }
    static void TearDownTestSuite() {
        rt::DestroyBuiltWindow(window_);
        g_rec = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(hwnd_);
        rec_.lastMove.clear();
        rec_.dropped.clear();
    }
    // Dispatches what waits for this thread, and what that brings, until
    // nothing is left (bounded, for a window that is never done painting).
    static void Pump() {
        MSG msg;
        for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
            DispatchMessageA(&msg);
    }
    static Recorder rec_;
    static int window_;
    static HWND hwnd_;
};
Recorder BuiltWindow::rec_;
int BuiltWindow::window_ = 0;
HWND BuiltWindow::hwnd_ = nullptr;

TEST_F(BuiltWindow, IsABorderlessPopupWithCaptionButtonStyles) {
    RECT wr, cr;
    GetWindowRect(hwnd_, &wr);
    GetClientRect(hwnd_, &cr);
    EXPECT_EQ(wr.left, 50);
    EXPECT_EQ(wr.top, 50);
    EXPECT_EQ(wr.right - wr.left, 698);
    EXPECT_EQ(wr.bottom - wr.top, 501);
    EXPECT_EQ(cr.right, 698);  // no non-client area
    EXPECT_EQ(cr.bottom, 501);
    const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
}

TEST_F(BuiltWindow, CreatedRunsWhileHiddenThenTheWindowIsShown) {
    ASSERT_FALSE(rec_.events.empty());
    EXPECT_EQ(rec_.events[0], "created");
    EXPECT_FALSE(rec_.visibleInCreated);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(BuiltWindow, UnitsAreCreatedInDesignOrderAtTheirPlaces) {
    // Creation order is z-order: the first unit is the top child.
    std::vector<std::string> order;
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        int id = 0;
        for (const char* n : {"Tip", "B", "B2", "L", "G"})
            if (rt::UnitWindow(rt::UnitId(n)) == c) id = rt::UnitId(n);
        order.push_back(id ? rt::UnitName(id) : "?");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Tip", "B", "B2", "L", "G"}));

    HWND list = rt::UnitWindow(rt::UnitId("L"));
    RECT r;
    GetWindowRect(list, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.right - r.left, 695);
    EXPECT_EQ(r.bottom - r.top, 472);  // no integral-height shrinking

    char text[64];
    GetWindowTextA(rt::UnitWindow(rt::UnitId("B")), text, sizeof text);
    EXPECT_STREQ(text, "关于作者");
    EXPECT_FALSE(IsWindowVisible(rt::UnitWindow(rt::UnitId("Tip"))));
    EXPECT_EQ(rt::UnitWindow(rt::UnitId("Drop")), nullptr);  // no window of its own
}

TEST_F(BuiltWindow, UnitsOfATypeInCreationOrder) {
    EXPECT_EQ(rt::UnitsOfType(hwnd_, "按钮"), (std::vector<int>{rt::UnitId("B"), rt::UnitId("B2")}));
    EXPECT_EQ(rt::UnitsOfType(hwnd_, "分组框"), std::vector<int>{rt::UnitId("G")});
    EXPECT_TRUE(rt::UnitsOfType(hwnd_, "选择夹").empty());
    EXPECT_TRUE(rt::UnitsOfType(nullptr, "按钮").empty());
    EXPECT_EQ(rt::UnitTypeName(rt::UnitId("L")), "列表框");
    EXPECT_EQ(rt::UnitTypeName(window_), "窗口");
}

TEST_F(BuiltWindow, ClickAndMouseMoveReachTheirHandlers) {
    rec_.events.clear();
    SendMessageA(rt::UnitWindow(rt::UnitId("B")), BM_CLICK, 0, 0);
    SendMessageA(rt::UnitWindow(rt::UnitId("B2")), BM_CLICK, 0, 0);  // no handler: nothing
    EXPECT_EQ(rec_.events, std::vector<std::string>{"clicked B"});

    SendMessageA(rt::UnitWindow(rt::UnitId("L")), WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(12, 34));
    EXPECT_EQ(rec_.lastMove, (std::vector<int32_t>{1, MK_SHIFT, 12, 34}));
    SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(-3, 400));
    EXPECT_EQ(rec_.lastMove, (std::vector<int32_t>{0, 0, -3, 400}));
}

TEST_F(BuiltWindow, VisibilityOfUnits) {
    const int tip = rt::UnitId("Tip");
    rt::SetUnitVisible(tip, 1);
    EXPECT_TRUE(rt::UnitVisible(tip));
    EXPECT_TRUE(IsWindowVisible(rt::UnitWindow(tip)));
    rt::SetUnitVisible(tip, 0);
    EXPECT_FALSE(rt::UnitVisible(tip));
    rt::SetUnitVisible(rt::UnitId("Drop"), 1);
    EXPECT_TRUE(rt::UnitVisible(rt::UnitId("Drop")));
}

// A child hidden by the created handler, while its window is not shown yet,
// stays hidden when the window appears.
TEST(UnitVisibility, AUnitHiddenBeforeItsWindowIsShownStaysHidden) {
    rt::UnitEvents window;
    window.created = [] { rt::SetUnitVisible(rt::UnitId("Hidden early"), 0); };
    using K = rt::UnitKind;
    const int w = rt::BuildWindow({
        {"Early", K::Window, 60, 60, 200, 100, true, "", window},
        {"Hidden early", K::PushButton, 10, 10, 80, 24, true, "x", {}},
    });
    EXPECT_TRUE(IsWindowVisible(rt::UnitWindow(w)));
    EXPECT_FALSE(rt::UnitVisible(rt::UnitId("Hidden early")));
    EXPECT_FALSE(GetWindowLongA(rt::UnitWindow(rt::UnitId("Hidden early")), GWL_STYLE) & WS_VISIBLE);
    rt::DestroyBuiltWindow(w);
}

// A 32 x 32, 32 bits per pixel ICO file, all pixels one opaque colour.
rt::ByteString MakeIco(COLORREF c) {
    rt::ByteString ico;
    auto put16 = [&](unsigned v) { ico.push_back(v & 0xFF); ico.push_back((v >> 8) & 0xFF); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    const unsigned imageSize = 40 + 32 * 32 * 4 + 32 * 4;
    put16(0); put16(1); put16(1);
    ico.push_back(32); ico.push_back(32); ico.push_back(0); ico.push_back(0);
    put16(1); put16(32); put32(imageSize); put32(22);
    put32(40); put32(32); put32(64); put16(1); put16(32); put32(0); put32(32 * 32 * 4);
    put32(0); put32(0); put32(0); put32(0);
    for (int i = 0; i < 32 * 32; ++i) {
        ico.push_back(GetBValue(c)); ico.push_back(GetGValue(c)); ico.push_back(GetRValue(c)); ico.push_back(255);
    }
    ico.resize(ico.size() + 32 * 4, 0);  // AND mask
    return ico;
}

TEST_F(BuiltWindow, WindowCommandSetsIconAndTitle) {
    EXPECT_TRUE(rt::WindowCommand(window_, MakeIco(RGB(0, 160, 0)), "批量改名"));
    char title[64];
    GetWindowTextA(hwnd_, title, sizeof title);
    EXPECT_STREQ(title, "批量改名");
    HICON icon = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_BIG, 0));
    ASSERT_TRUE(icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    // Bytes that are not an ICO, or whose image lies past their end, leave
    // the icon alone (and read nothing past the bytes).
    rt::ByteString cut = MakeIco(RGB(1, 2, 3));
    cut.resize(cut.size() / 2);
    EXPECT_FALSE(rt::WindowCommand(window_, cut, "t2"));
    EXPECT_FALSE(rt::WindowCommand(window_, {0, 0, 1}, "t3"));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_BIG, 0)), icon);
}

TEST_F(BuiltWindow, TransparentLabelShowsWhatLiesBeneathAndLetsTheMouseThrough) {
    const int tip = rt::UnitId("Tip");
    HWND label = rt::UnitWindow(tip);
    EXPECT_EQ(SendMessageA(label, WM_NCHITTEST, 0, MAKELPARAM(60, 80)), HTTRANSPARENT);

    // Pixels are read from the screen: no window of another test program
    // may cover ours while they are.
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    rt::SetUnitVisible(tip, 1);
    UpdateWindow(hwnd_);
    Pump();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The label lies over the white list box: its empty parts stay the list
    // box's colour, and its text is drawn on top in dark strokes.
    HDC dc = GetDC(hwnd_);
    const COLORREF listColour = GetSysColor(COLOR_WINDOW);
    ASSERT_NE(listColour, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc, 32 + 340, 40 + 28), listColour);  // bottom right of the label: no text
    int dark = 0;
    for (int y = 40; y < 56; ++y)
        for (int x = 32; x < 32 + 110; ++x)
            if (GetRValue(GetPixel(dc, x, y)) < 160) ++dark;
    ReleaseDC(hwnd_, dc);
    EXPECT_GT(dark, 50);
    rt::SetUnitVisible(tip, 0);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The label's area of the window as it is on the screen, as 32-bit pixels.
std::vector<uint32_t> LabelPixels(HWND window, const RECT& area, void (*drawOnTop)(HDC) = nullptr) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    if (drawOnTop) drawOnTop(dc);
    GdiFlush();
    std::vector<uint32_t> px(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
    for (uint32_t& p : px) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    return px;
}

TEST_F(BuiltWindow, ALabelPaintDrawsItsTextOnceOverWhatLiesBeneath) {
    // Soft glyph edges drawn twice come out darker than one drawing: the
    // shown label must match its text drawn once over the bare ground.
    const int tip = rt::UnitId("Tip");
    const RECT area = {32, 40, 32 + 352, 40 + 32};
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    static HWND label;
    label = rt::UnitWindow(tip);
    const std::vector<uint32_t> once =
        LabelPixels(hwnd_, area, [](HDC dc) { rt::detail::DrawLabelText(label, dc); });
    // Shown on its own, so that only the label paints: over a ground with
    // no text on it yet.
    ShowWindow(label, SW_SHOWNA);
    UpdateWindow(label);
    Pump();
    const std::vector<uint32_t> shown = LabelPixels(hwnd_, area);
    ShowWindow(label, SW_HIDE);
    rt::SetUnitVisible(tip, 0);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    int differ = 0, inked = 0;
    for (std::size_t i = 0; i < once.size(); ++i) {
        if (once[i] != shown[i]) ++differ;
        if (once[i] != once[0]) ++inked;
    }
    EXPECT_GT(inked, 50);
    EXPECT_EQ(differ, 0);
}

TEST_F(BuiltWindow, TransparentLabelTextIsOutlinedToReadOverADarkGround) {
    // Drawn over black, black ink alone leaves nothing to see; the outline in
    // the ink's contrast colour carries the glyphs' shapes.
    HWND label = rt::UnitWindow(rt::UnitId("Tip"));
    RECT rc;
    GetClientRect(label, &rc);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(dib);
    HGDIOBJ old = SelectObject(dc, dib);
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    rt::detail::DrawLabelText(label, dc);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    int light = 0, lightInTheLowerHalf = 0;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x)
            if ((px[y * rc.right + x] & 0xFF) > 200) {
                ++light;
                if (y > 24) ++lightInTheLowerHalf;
            }
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_GT(light, 100);
    EXPECT_EQ(lightInTheLowerHalf, 0);  // one line of text: the label's lower part stays clear
}

TEST(LabelLayout, BlankLinesGiveWayBeforeTextFallsOutOfTheLabel) {
    struct Case {
        std::vector<int> heights;
        int line, room;
        std::vector<int> tops;
    };
    const Case cases[] = {
        {{17, 0, 17}, 17, 96, {0, 17, 34}},                    // fits: nothing squeezed
        {{17, 0, 17, 0, 17, 0, 17, 0, 0, 0, 0}, 17, 96,         // four lines, blank lines between,
         {0, 17, 26, 43, 52, 69, 78, 95, 95, 95, 95}},          // trailing ones: these take no room
        {{17, 0, 17}, 17, 20, {0, 17, 22}},                    // no room at all: a third of a line
        {{34, 0, 17}, 17, 60, {0, 34, 43}},                    // a wrapped paragraph counts in full
        {{}, 17, 96, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rt::detail::SqueezeBlankLines(c.heights, c.line, c.room), c.tops) << c.room;
}

TEST(LabelLayout, FourLinesWithBlankLinesBetweenFitTheAboutLabelInTheUnitFont) {
    // The about label's shape: 208 x 96 pixels, four lines, an empty line
    // between each pair and four line ends after the last.
    const std::string text = "作者：拼音小组\r\n\r\n联系：pinyin@example.org\r\n\r\n欢迎大家使用本软件\r\n\r\n"
                             "首发：开源中文论坛\r\n\r\n\r\n\r\n";
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, rt::detail::UnitFont());
    const RECT client = {0, 0, 208, 96};
    const std::vector<RECT> lines = rt::detail::LabelLayout(dc, text, client);
    SelectObject(dc, old);
    DeleteDC(dc);
    ASSERT_EQ(lines.size(), 11u);
    for (std::size_t i : {0u, 2u, 4u, 6u}) {
        EXPECT_LE(lines[i].bottom, 96) << i;
        EXPECT_GT(lines[i].bottom - lines[i].top, 8) << i;
        if (i) {
            EXPECT_GE(lines[i].top, lines[i - 2].bottom) << i;  // no line over another
        }
    }
}

TEST_F(BuiltWindow, ListBoxScrollsSidewaysToItsWidestItem) {
    HWND list = rt::UnitWindow(rt::UnitId("L"));
    auto barShown = [&] {
        SCROLLBARINFO info = {sizeof info};
        GetScrollBarInfo(list, OBJID_HSCROLL, &info);
        return !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    };
    rt::ListBoxClear(list);
    rt::ListBoxAdd(list, "C:\\音乐\\歌.mp3");
    EXPECT_FALSE(barShown());

    std::string path = "C:\\";
    for (int i = 0; i < 12; ++i) path += "华语流行歌曲精选集合\\";
    path += "外婆的澎湖湾.mp3";
    rt::ListBoxAdd(list, path);
    rt::ListBoxAdd(list, "C:\\短.mp3");  // a narrower item later takes nothing back
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, path.data(), static_cast<int>(path.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    RECT client;
    GetClientRect(list, &client);
    ASSERT_GT(size.cx, client.right);
    EXPECT_GE(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), size.cx);
    EXPECT_TRUE(barShown());
    SendMessageA(list, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_GE(GetScrollPos(list, SB_HORZ) + client.right, size.cx);  // the file name comes into view

    rt::ListBoxClear(list);
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
    EXPECT_FALSE(barShown());
}

struct BoxSeen {
    DWORD asker = 0;  // the thread that shows the box
    LONG exStyle = 0;
    std::string title;
};

// What the helper thread ends with.
enum BoxOutcome : DWORD { kBoxAnswered, kNoBox, kBoxNeverActive };

DWORD WINAPI AnswerTheBox(LPVOID out) {
    // Finds the asking thread's message box, notes its title and whether it
    // is topmost, presses OK. The box is raised as it becomes active: its
    // style is read once it is the active window of its thread.
    auto* seen = static_cast<BoxSeen*>(out);
    HWND box = nullptr;
    if (!testsupport::PollUntil(
            [&] { return (box = testsupport::VisibleThreadWindow(seen->asker, "#32770")); }))
        return kNoBox;
    const bool active = testsupport::PollUntil([&] {
        GUITHREADINFO info{sizeof info};
        return GetGUIThreadInfo(seen->asker, &info) && info.hwndActive == box;
    });
    seen->exStyle = GetWindowLongA(box, GWL_EXSTYLE);
    char title[256] = {};
    GetWindowTextA(box, title, sizeof title);
    seen->title = title;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return active ? kBoxAnswered : kBoxNeverActive;
}

BoxSeen ShowAndAnswer(const std::string& text, HWND owner) {
    BoxSeen seen;
    seen.asker = GetCurrentThreadId();
    HANDLE answer = CreateThread(nullptr, 0, AnswerTheBox, &seen, 0, nullptr);
    rt::MessageBoxText(text, owner);
    // The box has gone, so the helper has answered it (or given up).
    WaitForSingleObject(answer, INFINITE);
    DWORD outcome = kNoBox;
    GetExitCodeThread(answer, &outcome);
    CloseHandle(answer);
    EXPECT_NE(outcome, static_cast<DWORD>(kNoBox)) << "no message box showed";
    EXPECT_NE(outcome, static_cast<DWORD>(kBoxNeverActive)) << "the message box never became active";
    return seen;
}

TEST(MessageBoxText, StaysAboveWindowsOpenedWhileItWaits) {
    const BoxSeen seen = ShowAndAnswer("文件已经处理好了", nullptr);
    EXPECT_TRUE(seen.exStyle & WS_EX_TOPMOST) << std::hex << seen.exStyle;
    EXPECT_EQ(seen.title, "");  // no owner, no title
}

TEST_F(BuiltWindow, MessageBoxTakesItsOwnersTitle) {
    SetWindowTextA(hwnd_, "批量将文件名转换为拼音");
    const BoxSeen seen = ShowAndAnswer("请先添加文件", hwnd_);
    SetWindowTextA(hwnd_, "");
    EXPECT_EQ(seen.title, "批量将文件名转换为拼音");
    EXPECT_TRUE(seen.exStyle & WS_EX_TOPMOST);
}

// Feeds the registered drop target a data object as OLE would.
struct DropResult { DWORD enterEffect; DWORD dropEffect; };
DropResult DropOn(int dropUnit, const std::vector<std::string>& paths) {
    IDropTarget* target = rt::NewFileDropTarget(dropUnit);
    auto* data = new testdrop::FileDataObject(paths);
    POINTL pt = {100, 100};
    DropResult r = {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE};
    target->DragEnter(data, MK_LBUTTON, pt, &r.enterEffect);
    target->Drop(data, 0, pt, &r.dropEffect);
    data->Release();
    target->Release();
    return r;
}

TEST_F(BuiltWindow, DropTargetDeliversPathsOnlyWhileProperty11IsOne) {
    const int drop = rt::UnitId("Drop");
    rt::SetUnitProperty(drop, 11, 0);
    const std::vector<std::string> paths = {"C:\\a\\歌.mp3", "C:\\淺\\b.txt"};
    DropResult r = DropOn(drop, paths);
    EXPECT_EQ(r.enterEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(rec_.dropped, "");

    rt::SetUnitProperty(drop, 11, 1);
    r = DropOn(drop, paths);
    EXPECT_EQ(r.enterEffect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(r.dropEffect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(rec_.dropped, "C:\\a\\歌.mp3\r\nC:\\淺\\b.txt");

    DropOn(drop, {"D:\\one.mp3"});
    EXPECT_EQ(rec_.dropped, "D:\\one.mp3");
}

TEST_F(BuiltWindow, RegisteredWindowAcceptsOleDrops) {
    OleInitialize(nullptr);
    EXPECT_TRUE(rt::RegisterDropTarget(rt::UnitId("Drop"), hwnd_));
    // A second registration by OLE itself must fail: the window holds ours.
    IDropTarget* other = rt::NewFileDropTarget(rt::UnitId("Drop"));
    EXPECT_EQ(RegisterDragDrop(hwnd_, other), DRAGDROP_E_ALREADYREGISTERED);
    other->Release();
}

TEST_F(BuiltWindow, ARegistrationOleRefusesIsSaid) {
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(rt::RegisterDropTarget(rt::UnitId("Drop"), gone));
}

TEST(HdropText, PathsJoinedByCrLfInEitherFormWithLostCharactersAsQuestionMarks) {
    using Ansi = std::vector<std::string>;
    using Wide = std::vector<std::wstring>;
    // Three folders of 40 ideographs: 264 bytes, which no buffer may cut.
    std::string deep = "C:\\";
    for (const char* ch : {"文", "字", "夹"})
        for (int i = 0; i <= 40; ++i) deep += i < 40 ? ch : "\\";
    struct Case { HGLOBAL drop; std::string text; };
    const Case cases[] = {
        {testdrop::MakeHdrop(Ansi{"C:\\x\\一.mp3", "C:\\y z\\b"}), "C:\\x\\一.mp3\r\nC:\\y z\\b"},
        {testdrop::MakeHdrop(Ansi{}), ""},
        {testdrop::MakeHdrop(Wide{L"C:\\x\\\x4E00.mp3", testdrop::WidePath(deep + "歌.mp3")}),
         "C:\\x\\一.mp3\r\n" + deep + "歌.mp3"},
        // Hangul has no GBK code; "²" and "¦" have none either, and must not
        // become the "2" and "|" of the best fit, which name other files.
        {testdrop::MakeHdrop(Wide{L"C:\\\x6B4C\xAC00.mp3", L"C:\\a\x00B2\x00A6.mp3"}), "C:\\歌?.mp3\r\nC:\\a??.mp3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rt::HdropToText(static_cast<HDROP>(c.drop)), c.text);
        GlobalFree(c.drop);
    }
}

// The program's order: start routines, the window (created, then shown),
// the loop, the end routines; a start routine's refusal stops the start-up.
// An end routine registered again runs once, at its last place.
std::vector<std::string> g_order;
int g_refuse = 0;
void EndA() { g_order.push_back("end A"); }
void EndB() { g_order.push_back("end B"); }

TEST(Program, StartUpAndShutDownOrder) {
    rt::RegisterModuleStart([] { g_order.push_back("start 1"); return 0; });
    rt::RegisterModuleStart([] { g_order.push_back("start 2"); return g_refuse; });
    rt::RegisterEndRoutine(EndA);
    rt::RegisterEndRoutine([] { g_order.push_back("end"); });
    rt::RegisterEndRoutine(EndB);
    rt::RegisterEndRoutine(EndA);
    rt::UnitEvents events;
    events.created = [] {
        g_order.push_back(std::string("created, main ") +
                          (rt::UnitWindow(rt::MainWindowUnit()) ? "known" : "unknown"));
        PostMessageA(rt::UnitWindow(rt::MainWindowUnit()), WM_CLOSE, 0, 0);
    };
    const rt::WindowDesign design = {{"Main", rt::UnitKind::Window, 10, 10, 200, 100, true, "", events}};
    EXPECT_EQ(rt::RunProgram(design), 0);
    EXPECT_EQ(g_order,
              (std::vector<std::string>{"start 1", "start 2", "created, main known", "end", "end B", "end A"}));

    g_order.clear();
    g_refuse = 7;
    EXPECT_EQ(rt::RunProgram(design), 7);
    EXPECT_EQ(g_order, (std::vector<std::string>{"start 1", "start 2", "end", "end B", "end A"}));
}

}  // namespace
