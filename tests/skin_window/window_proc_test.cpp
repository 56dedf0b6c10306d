// The message table of the skinned window procedure, with messages sent
// straight to the window and a recording procedure behind it.
#include "fixture.h"

#include <commctrl.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/test_hooks.h"
#include "skin/window_proc.h"
#include "tests/support/pixels.h"

using namespace wndtest;
using skin::ReadProp;

namespace {

// Centres of the three caption buttons of a 698-px wide window.
constexpr int kMinimizeX = 620, kMaximizeX = 647, kCloseX = 680, kButtonY = 10;

HGDIOBJ RenderingBitmap(HWND w) { return GetPropA(w, skin::prop::Ck_wtjbdx); }

RECT ButtonRect(const skin::SkinWindowRecord& r, int button) {
    const drw::RectF& f = r.CaptionButtons[button].Rect;
    const LONG x = static_cast<LONG>(f.x) - 1;
    const LONG y = static_cast<LONG>(f.y);
    return RECT{x, y, x + r.CaptionButtons[button].Width, y + r.CaptionButtons[button].Height};
}

// Runs the thread's queue the way a message loop does, until nothing is
// left: WM_PAINT comes only once the queue is otherwise empty, and only to a
// window that has something to repaint.
void DispatchPending() {
    MSG msg;
    for (int n = 0; n < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Where two pictures of the window differ over the pixels of its shape: ""
// when they agree, else how many differ and the first of them.
std::string Difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width,
                       HRGN shape) {
    int differing = 0;
    std::ostringstream first;
    for (size_t i = 0; i < a.size(); ++i) {
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        if (!PtInRegion(shape, x, y) || ((a[i] ^ b[i]) & 0x00FFFFFF) == 0) continue;
        if (differing++ == 0)
            first << " (first at " << x << "," << y << ": 0x" << std::hex << (a[i] & 0x00FFFFFF)
                  << " against 0x" << (b[i] & 0x00FFFFFF) << ")";
    }
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ" + first.str();
}

// The screen and the cached rendering of the window, each against a
// rendering made anew at the window's present size. The new rendering draws
// all of it (nothing kept from before) and puts nothing on the screen.
struct AgainstFresh {
    std::string screen, cache;
};
AgainstFresh CompareWithFreshRendering(HWND w) {
    RECT client{};
    GetClientRect(w, &client);
    const int width = client.right, height = client.bottom;
    const int record = skin::WindowRecordOf(w);
    HDC screenDc = GetDC(w);
    const std::vector<uint32_t> screen = testsupport::CopyPixels32(screenDc, 0, 0, width, height);
    ReleaseDC(w, screenDc);
    auto cachePixels = [&] {
        return testsupport::CopyPixels32(skin::SkinWindowTable[record].WindowCacheDc, 0, 0, width,
                                         height);
    };
    const std::vector<uint32_t> cached = cachePixels();

    skin::test_hooks::ForgetBackgroundLayer(record);
    skin::Engine->RenderWindow(record, 0);
    const std::vector<uint32_t> fresh = cachePixels();

    HRGN shape = CreateRectRgn(0, 0, width, height);
    GetWindowRgn(w, shape);
    AgainstFresh result{Difference(screen, fresh, width, shape),
                        Difference(cached, fresh, width, shape)};
    DeleteObject(shape);
    // The new rendering gave the window its region anew, which asks for a
    // paint: it is run here, so that the next step of a test starts with
    // nothing to repaint.
    DispatchPending();
    return result;
}

// A dark fill for the frame, so that the outline and the white glyphs stand
// out from it; the engine's fill comes back afterwards.
struct DarkFill {
    COLORREF saved = skin::GlobalPictureColor;
    DarkFill() { skin::GlobalPictureColor = RGB(40, 60, 90); }
    ~DarkFill() { skin::GlobalPictureColor = saved; }
};

// In the cached rendering: the frame's dark outer line runs down the right
// edge of the window as it now is, and the close glyph's white cross lies
// inside the window at the strip's right end.
void ExpectFrameFitsTheWindow(HWND w) {
    RECT client{};
    GetClientRect(w, &client);
    const int width = client.right, middle = client.bottom / 2;
    const COLORREF edge = CachePixel(w, width - 1, middle);
    const COLORREF inside = CachePixel(w, width - 6, middle);
    EXPECT_LT(GetRValue(edge) + GetGValue(edge) + GetBValue(edge),
              GetRValue(inside) + GetGValue(inside) + GetBValue(inside) - 60)
        << "the border at x " << width - 1;

    const skin::SkinWindowRecord& r = skin::SkinWindowTable[skin::WindowRecordOf(w)];
    const RECT close = ButtonRect(r, r.CaptionButtons.Count());
    EXPECT_LE(close.right, width);
    int white = 0;
    for (COLORREF c : CachePixels(w, RECT{close.left + 14, close.top + 5, close.left + 23,
                                          close.top + 13}))
        if (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200) ++white;
    EXPECT_GE(white, 10) << "the close glyph at x " << close.left;
}

}  // namespace

TEST_F(SkinWindowTest, PaintBlitsTheCacheUnlessARenderingIsNeeded) {
    HWND w = Skinned();
    const HGDIOBJ first = RenderingBitmap(w);
    ASSERT_NE(first, nullptr);

    // From the cache: the screen gets the cached pixels, nothing is rendered.
    Rec(w).RenderNeeded = 0;
    {
        HDC screen = GetDC(w);
        RECT all{0, 0, 698, 501};
        FillRect(screen, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(w, screen);
    }
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(RenderingBitmap(w), first);
    {
        HDC screen = GetDC(w);
        for (POINT p : {POINT{100, 100}, POINT{300, 12}, POINT{650, 480}})
            EXPECT_EQ(GetPixel(screen, p.x, p.y), CachePixel(w, p.x, p.y)) << p.x << "," << p.y;
        ReleaseDC(w, screen);
    }

    // Marked out of date: one new rendering, the old one deleted.
    Rec(w).RenderNeeded = 1;
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_NE(RenderingBitmap(w), first);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(Rec(w).RenderNeeded, 0);
    // The replaced procedure never paints the skinned window.
    EXPECT_EQ(CountReceived(w, WM_PAINT), 0);
}

TEST_F(SkinWindowTest, OnlyTheFirstSizeMessageOfTheProcessKeepsTheRendering) {
    HWND w = Skinned();
    Log().clear();
    skin::FirstSizePending = 1;
    Rec(w).RenderNeeded = 1;
    Rec(w).HotCaptionButton = 2;
    Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(698, 501));
    EXPECT_EQ(Rec(w).RenderNeeded, 0);
    EXPECT_EQ(Rec(w).HotCaptionButton, 0);
    EXPECT_EQ(skin::FirstSizePending, 0);
    Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(698, 501));
    EXPECT_EQ(Rec(w).RenderNeeded, 1);
    EXPECT_EQ(CountReceived(w, WM_SIZE), 2);
}

TEST_F(SkinWindowTest, SystemCommandsKeepTheMaximizedAndMinimizedFlags) {
    HWND w = Skinned();
    struct Step {
        WPARAM code;
        int maximized, minimized;
    };
    // 0xF032 is SC_MAXIMIZE with the hit-test bits of a caption double-click.
    const Step steps[] = {{0xF032, 1, 0}, {SC_MINIMIZE, 1, 1}, {SC_RESTORE, 1, 0},
                          {SC_MOVE, 1, 0}};
    for (const Step& s : steps) {
        Rec(w).RenderNeeded = 0;
        Send(w, WM_SYSCOMMAND, s.code);
        EXPECT_EQ(Rec(w).Maximized, s.maximized) << std::hex << s.code;
        EXPECT_EQ(Rec(w).Minimized, s.minimized) << std::hex << s.code;
        EXPECT_EQ(Rec(w).RenderNeeded, s.code == SC_MOVE ? 0 : 1) << std::hex << s.code;
    }
    // Each command went on to the replaced procedure.
    EXPECT_EQ(SysCommands(w), (std::vector<WPARAM>{0xF032, SC_MINIMIZE, SC_RESTORE, SC_MOVE}));
    Rec(w).Minimized = 1;
    Send(w, WM_QUERYOPEN);
    EXPECT_EQ(Rec(w).Minimized, 0);
}

TEST_F(SkinWindowTest, TrackSizesFollowTheRecordAndTheMaximizedState) {
    HWND w = Skinned();
    MINMAXINFO info{};
    info.ptMaxPosition = POINT{-7, -9};
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(info.ptMaxPosition.x, -7);
    EXPECT_EQ(info.ptMaxPosition.y, -9);

    Rec(w).Maximized = 1;
    Rec(w).MaxTrackWidth = 500;
    RECT tray{};
    if (HWND t = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(t, &tray);
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYSCREEN) - (tray.bottom - tray.top));
}

// A window that covers the screen is fitted above the taskbar, once. When
// there is no taskbar to leave room for (or it has no height) the window
// already has the size, and nothing resizes it again and again.
TEST_F(SkinWindowTest, AScreenSizedWindowIsFittedAboveTheTaskbarOnce) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    RECT original{};
    if (tray) GetWindowRect(tray, &original);
    // The taskbar as Wine's desktop has it, then one of 40 pixels.
    for (int taskbar : {static_cast<int>(original.bottom - original.top), 40}) {
        SCOPED_TRACE(taskbar);
        HWND own = nullptr;
        if (tray) {
            SetWindowPos(tray, nullptr, 0, sh - taskbar, sw, taskbar, SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (taskbar) {
            WNDCLASSA c{};
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "Shell_TrayWnd";
            RegisterClassA(&c);
            own = CreateWindowExA(0, "Shell_TrayWnd", "", WS_POPUP, 0, sh - taskbar, sw, taskbar,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        }
        HWND w = Skinned();
        Log().clear();
        SetWindowPos(w, nullptr, 0, 0, sw, sh, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.bottom - r.top, sh - taskbar);
        EXPECT_EQ(r.right - r.left, sw);
        EXPECT_EQ(Rec(w).Maximized, 1);
        EXPECT_LE(CountReceived(w, WM_WINDOWPOSCHANGED), 2);
        EXPECT_EQ(Rec(w).FittingToScreen, 0);
        DestroyWindow(w);
        if (own) DestroyWindow(own);
    }
    if (tray)
        SetWindowPos(tray, nullptr, original.left, original.top, original.right - original.left,
                     original.bottom - original.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(SkinWindowTest, EraseBackgroundIsAnsweredWithoutTheReplacedProcedure) {
    HWND w = Skinned();
    HDC dc = GetDC(w);
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), 1);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(w, dc);
    EXPECT_EQ(CountReceived(w, WM_ERASEBKGND), 0);
}

// Which WM_CTLCOLOR* messages get the engine's brushes and which go on.
TEST_F(SkinWindowTest, ControlsGetGlassOrHollowBrushesOrTheReplacedProceduresAnswer) {
    HWND w = Skinned();
    HWND combo = Child(w, "COMBOBOX", CBS_DROPDOWN, 10, 40, 120, 200);
    HWND comboEdit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(comboEdit, nullptr);
    HWND edit = Child(w, "EDIT", 0, 150, 40);
    HWND label = Child(w, "STATIC", SS_LEFT, 300, 40);
    HWND otherLabel = Child(w, "STATIC", SS_LEFT, 450, 40);
    HWND list = Child(w, "LISTBOX", 0, 10, 200);
    HWND ownerList = Child(w, "LISTBOX", LBS_OWNERDRAWFIXED, 150, 200);
    HWND button = Child(w, "BUTTON", BS_PUSHBUTTON, 300, 200);
    HWND scrollBar = Child(w, "SCROLLBAR", SBS_HORZ, 450, 200);
    enum Answer { Glass, Hollow, Forwarded };
    struct Case {
        const char* name;
        UINT message;
        HWND control;
        int transparent;
        Answer answer;
    };
    const Case cases[] = {
        {"edit", WM_CTLCOLOREDIT, edit, 1, Glass},
        {"edit of a combo box", WM_CTLCOLOREDIT, comboEdit, 1, Forwarded},
        {"static", WM_CTLCOLORSTATIC, label, 1, Glass},
        {"static, no transparent controls", WM_CTLCOLORSTATIC, otherLabel, 0, Forwarded},
        {"list box", WM_CTLCOLORLISTBOX, list, 1, Hollow},
        {"owner-drawn list box", WM_CTLCOLORLISTBOX, ownerList, 1, Forwarded},
        {"button", WM_CTLCOLORBTN, button, 1, Hollow},
        {"scroll bar", WM_CTLCOLORSCROLLBAR, scrollBar, 1, Forwarded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        skin::TransparentControlsFlag = c.transparent;
        skin::WriteProp(c.control, skin::prop::Kj_Ztys, 0x123456);
        HDC dc = GetDC(c.control);
        const LRESULT brush = Send(w, c.message, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(c.control));
        const HGDIOBJ handed = reinterpret_cast<HGDIOBJ>(brush);
        if (c.answer == Forwarded) {
            EXPECT_EQ(handed, ForwardedBrush());
            EXPECT_EQ(GetPropA(c.control, skin::prop::Kj_dxjb), nullptr);
        } else {
            EXPECT_EQ(GetTextColor(dc), 0x123456u);
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
            EXPECT_EQ(GetPropA(c.control, skin::prop::Kj_dxjb), handed);
        }
        if (c.answer == Hollow) {
            EXPECT_EQ(handed, GetStockObject(NULL_BRUSH));
        }
        if (c.answer == Glass) {
            LOGBRUSH info{};
            ASSERT_EQ(GetObjectType(handed), static_cast<DWORD>(OBJ_BRUSH));
            GetObjectA(handed, sizeof info, &info);
            EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_PATTERN));
            EXPECT_EQ(GetObjectType(GetPropA(c.control, skin::prop::Kj_wtjb)),
                      static_cast<DWORD>(OBJ_BITMAP));
        }
        ReleaseDC(c.control, dc);
    }
}

TEST_F(SkinWindowTest, EachGlassBrushDeletesTheOneBeforeIt) {
    HWND w = Skinned();
    HWND label = Child(w, "STATIC", SS_LEFT);
    HDC dc = GetDC(label);
    auto ask = [&] {
        return reinterpret_cast<HGDIOBJ>(Send(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(label)));
    };
    const HGDIOBJ firstBrush = ask();
    const HGDIOBJ firstBitmap = GetPropA(label, skin::prop::Kj_wtjb);
    const int objects = skin::LiveGdiCount(skin::GdiKind::Object);
    const int dcs = skin::LiveGdiCount(skin::GdiKind::MemoryDc);
    HGDIOBJ brush = nullptr;
    for (int i = 0; i < 200; ++i) brush = ask();
    EXPECT_EQ(GetObjectType(firstBrush), 0u);
    EXPECT_EQ(GetObjectType(firstBitmap), 0u);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::Object), objects);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::MemoryDc), dcs);
    ReleaseDC(label, dc);
    // The label's last brush and bitmap go with its handed-out background.
    skin::DeleteHandedOutBackground(label);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::Object), objects - 2);
}

TEST_F(SkinWindowTest, BackgroundsHandedToChildrenGoWithTheWindow) {
    HWND w = Skinned();
    HWND label = Child(w, "STATIC", SS_LEFT);
    HWND button = Child(w, "BUTTON", BS_PUSHBUTTON, 150, 40);
    HWND group = Child(w, "STATIC", 0, 300, 40, 200, 120);
    HWND inner = Child(group, "STATIC", SS_LEFT, 10, 10, 80, 30);
    // A glass brush for each label (the inner one as its container hands it
    // out), then a hollow one for the label that had glass: its bitmap stays.
    struct Case {
        HWND control;
        UINT message;
    };
    const Case cases[] = {{label, WM_CTLCOLORSTATIC},
                          {inner, WM_CTLCOLORSTATIC},
                          {button, WM_CTLCOLORSTATIC},
                          {button, WM_CTLCOLORBTN}};
    std::vector<HGDIOBJ> handedOut;
    for (const Case& c : cases) {
        HDC dc = GetDC(c.control);
        Send(w, c.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.control));
        ReleaseDC(c.control, dc);
        for (const char* name : {skin::prop::Kj_dxjb, skin::prop::Kj_wtjb}) {
            HGDIOBJ h = GetPropA(c.control, name);
            if (h && h != GetStockObject(NULL_BRUSH)) handedOut.push_back(h);
        }
    }
    ASSERT_GE(handedOut.size(), 5u);
    DestroyWindow(w);
    for (HGDIOBJ h : handedOut) EXPECT_EQ(GetObjectType(h), 0u) << h;
}

TEST_F(SkinWindowTest, ControlsWhoseContentsChangeAreRepainted) {
    HWND w = Skinned();
    HWND edit = Child(w, "EDIT", 0);
    HWND list = Child(w, "LISTBOX", 0, 150, 40);
    HWND combo = Child(w, "COMBOBOX", CBS_DROPDOWNLIST, 300, 40, 120, 200);
    HWND tree = Child(w, "STATIC", 0, 450, 40);
    struct Case {
        HWND control;
        UINT code;
        bool repainted;
    };
    const Case cases[] = {
        {edit, EN_CHANGE, true},       {edit, EN_VSCROLL, true},     {edit, EN_SETFOCUS, false},
        {list, LBN_SELCHANGE, true},   {list, LBN_DBLCLK, false},    {combo, CBN_SELCHANGE, true},
        {combo, CBN_KILLFOCUS, true},  {combo, CBN_DROPDOWN, false}, {tree, EN_CHANGE, false},
    };
    for (const Case& c : cases) {
        ValidateRect(c.control, nullptr);
        Send(w, WM_COMMAND, MAKEWPARAM(1, c.code), reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(GetUpdateRect(c.control, nullptr, FALSE) != 0, c.repainted)
            << skin::GetClassNameText(c.control) << " " << c.code;
    }
    // A tree's expansion, and a notification whose header cannot be read.
    NMHDR header{tree, 1, static_cast<UINT>(TVN_ITEMEXPANDEDA)};
    ValidateRect(tree, nullptr);
    Send(w, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(GetUpdateRect(tree, nullptr, FALSE));
    ValidateRect(tree, nullptr);
    Send(w, WM_NOTIFY, 1, 16);
    EXPECT_FALSE(GetUpdateRect(tree, nullptr, FALSE));
    EXPECT_EQ(CountReceived(w, WM_NOTIFY), 2);
}

TEST_F(SkinWindowTest, ControlTextColourGoesWhereTheControlShowsItsText) {
    HWND w = Skinned();
    HWND combo = Child(w, "COMBOBOX", CBS_DROPDOWN, 10, 40, 120, 200);
    HWND dropList = Child(w, "COMBOBOX", CBS_DROPDOWNLIST, 150, 40, 120, 200);
    HWND label = Child(w, "STATIC", 0, 300, 40);
    skin::Engine->SetControlTextColor(combo, 0x0000FF);
    skin::Engine->SetControlTextColor(dropList, 0x00FF00);
    skin::Engine->SetControlTextColor(label, 0xFF0000);
    skin::Engine->SetControlTextColor(nullptr, 0xFF0000);
    EXPECT_EQ(ReadProp(FindWindowExA(combo, nullptr, "Edit", nullptr), skin::prop::Kj_Ztys), 0x0000FF);
    EXPECT_EQ(GetPropA(combo, skin::prop::Kj_Ztys), nullptr);
    EXPECT_EQ(GetPropA(dropList, skin::prop::Kj_Ztys), nullptr);
    EXPECT_EQ(ReadProp(label, skin::prop::Kj_Ztys), 0xFF0000);
}

// The hover fade of the caption buttons, stepped by sent timer ticks.
TEST_F(SkinWindowTest, CaptionButtonsFadeInAndOutOnTimerTicks) {
    HWND w = Skinned();
    const RECT minimize = ButtonRect(Rec(w), 1);
    const std::vector<COLORREF> rendered = CachePixels(w, minimize);
    auto tick = [&](int n) {
        for (int i = 0; i < n; ++i) Send(w, WM_TIMER, reinterpret_cast<WPARAM>(w));
    };

    Send(w, WM_MOUSEMOVE, 0, At(kMinimizeX, kButtonY));
    Send(w, WM_MOUSEHOVER, 0, At(kMinimizeX, kButtonY));
    EXPECT_EQ(Rec(w).MouseTracked, 1);
    EXPECT_EQ(Rec(w).FadeTimerOn, 1);
    EXPECT_EQ(Rec(w).HotCaptionButton, 1);
    EXPECT_EQ(skin::Engine->PointerCaptionButton, 1);
    EXPECT_EQ(Rec(w).FadeIn.Button, 1);
    tick(8);
    EXPECT_EQ(Rec(w).FadeIn.Step, 8);
    const std::vector<COLORREF> lit = CachePixels(w, minimize);
    EXPECT_NE(lit, rendered);

    // Straight on to the maximize button: the minimize button fades out.
    Send(w, WM_MOUSEMOVE, 0, At(kMaximizeX, kButtonY));
    EXPECT_EQ(Rec(w).FadeOut.Button, 1);
    EXPECT_EQ(Rec(w).FadeIn.Button, 2);
    tick(8);
    EXPECT_EQ(Rec(w).FadeOut.Step, 8);
    // Faded out to its plain look: painting that look again changes nothing.
    const std::vector<COLORREF> faded = CachePixels(w, minimize);
    EXPECT_NE(faded, lit);
    skin::Engine->PaintCaptionButton(RecordOf(w), 1);
    EXPECT_EQ(CachePixels(w, minimize), faded);
    EXPECT_EQ(Rec(w).FadeTimerOn, 1);            // the pointer is still on the strip

    // Into the client area: the maximize button fades out; the timer stops
    // on the tick that ends the fade-out, and only then.
    Send(w, WM_MOUSEMOVE, 0, At(300, 200));
    EXPECT_EQ(Rec(w).FadeTimerOn, 0);
    EXPECT_EQ(Rec(w).FadeOut.Button, 2);
    tick(7);
    EXPECT_EQ(Rec(w).FadeOut.Step, 7);
    tick(1);
    EXPECT_EQ(Rec(w).FadeOut.Button, 0);
    EXPECT_EQ(Rec(w).FadeIn.Button, 0);
    EXPECT_EQ(Rec(w).HotCaptionButton, 0);
    EXPECT_EQ(CountReceived(w, WM_TIMER), 24);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));

    // Leaving the window over a button starts its fade-out.
    Send(w, WM_MOUSEMOVE, 0, At(kCloseX, kButtonY));
    Send(w, WM_MOUSEHOVER);
    Send(w, WM_MOUSELEAVE);
    EXPECT_EQ(Rec(w).MouseTracked, 0);
    EXPECT_EQ(Rec(w).FadeOut.Button, 3);
    EXPECT_EQ(Rec(w).FadeIn.Button, 0);
    EXPECT_EQ(Rec(w).HotCaptionButton, 0);
    tick(8);
    EXPECT_EQ(Rec(w).FadeOut.Button, 0);
}

// Until the window has been hovered every mouse move asks the system for
// hover and leave messages (hover after 1 ms); once hovered, moves ask no more.
TEST_F(SkinWindowTest, MouseMovesAskForHoverAndLeaveUntilTheWindowIsHovered) {
    HWND w = Skinned();
    RECT onScreen{};
    GetWindowRect(w, &onScreen);
    // The system tracks only the window under the pointer.
    ASSERT_TRUE(SetCursorPos(onScreen.left + 300, onScreen.top + 200));
    auto asked = [] {
        TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
        TrackMouseEvent(&t);
        return t;
    };
    auto cancel = [w] {
        TRACKMOUSEEVENT t{sizeof t, TME_CANCEL | TME_HOVER | TME_LEAVE, w, 0};
        TrackMouseEvent(&t);
    };
    // (What an earlier window asked for may still be recorded: only a
    // request for this window counts.)
    Send(w, WM_MOUSEMOVE, 0, At(300, 200));
    const TRACKMOUSEEVENT first = asked();
    EXPECT_EQ(first.hwndTrack, w);
    EXPECT_EQ(first.dwFlags & (TME_HOVER | TME_LEAVE), static_cast<DWORD>(TME_HOVER | TME_LEAVE));
    EXPECT_EQ(first.dwHoverTime, 1u);

    cancel();
    Send(w, WM_MOUSEHOVER, 0, At(300, 200));
    Send(w, WM_MOUSEMOVE, 0, At(301, 200));
    EXPECT_EQ(asked().dwFlags & (TME_HOVER | TME_LEAVE), 0u) << "hovered: nothing asked";
    Send(w, WM_MOUSELEAVE);
    Send(w, WM_MOUSEMOVE, 0, At(302, 200));
    EXPECT_EQ(asked().hwndTrack, w) << "left: asked again";
    cancel();
}

// A fade-out that has not finished when the hover moves on is ended at
// once with the button's plain look: on a move to another button (painted
// at alpha 0), and on leaving the window while a fade-in also runs (then the
// fade-in is dropped). A finished fade leaves the button as it is.
TEST_F(SkinWindowTest, AnUnfinishedFadeOutEndsPlainWhenTheHoverMovesOn) {
    HWND w = Skinned();
    const int record = RecordOf(w);
    const RECT minimize = ButtonRect(Rec(w), 1);
    skin::Engine->PaintCaptionButton(record, 1);
    const std::vector<COLORREF> plain = CachePixels(w, minimize);
    struct Case {
        const char* name;
        UINT message;  // WM_MOUSEMOVE onto the close button, or WM_MOUSELEAVE
        int fadeInStep, fadeOutStep;
        bool endedPlain;
        skin::CaptionFadeState fadeIn, fadeOut;  // afterwards
    };
    const Case cases[] = {
        {"move, fade-out running", WM_MOUSEMOVE, 8, 3, true, {3, 0}, {2, 0}},
        {"move, fade-out done", WM_MOUSEMOVE, 8, 8, false, {3, 0}, {2, 0}},
        {"leave, both running", WM_MOUSELEAVE, 3, 4, true, {0, 0}, {2, 0}},
        {"leave, fade-in done", WM_MOUSELEAVE, 8, 4, false, {2, 8}, {2, 0}},
        {"leave, fade-out done", WM_MOUSELEAVE, 3, 8, false, {2, 3}, {2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        skin::Engine->PaintCaptionButton(record, 1, nullptr, false, 150);
        const std::vector<COLORREF> lit = CachePixels(w, minimize);
        ASSERT_NE(lit, plain);
        Rec(w).MouseTracked = 1;
        Rec(w).HotCaptionButton = 2;
        Rec(w).FadeIn = {2, c.fadeInStep};
        Rec(w).FadeOut = {1, c.fadeOutStep};
        Send(w, c.message, 0, At(kCloseX, kButtonY));
        EXPECT_TRUE(CachePixels(w, minimize) == (c.endedPlain ? plain : lit));
        EXPECT_EQ(Rec(w).FadeIn.Button, c.fadeIn.Button);
        EXPECT_EQ(Rec(w).FadeIn.Step, c.fadeIn.Step);
        EXPECT_EQ(Rec(w).FadeOut.Button, c.fadeOut.Button);
        EXPECT_EQ(Rec(w).FadeOut.Step, c.fadeOut.Step);
    }
}

// A window made smaller gets no paint from the system when its class does
// not ask for one (no CS_HREDRAW or CS_VREDRAW, as here): the size change
// itself brings a new rendering to the screen, with the border at the new
// edges and the caption buttons moved along. So does the process's first
// size message when it is such a change (a showing that brought none, as
// the runtime's, came before it). Nothing here asks for a paint; the queue
// is only run.
TEST_F(SkinWindowTest, AWindowMadeSmallerShowsANewRenderingUnasked) {
    const DarkFill dark;
    HWND w = Skinned();
    ASSERT_EQ(GetClassLongA(w, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), 0u);
    DispatchPending();
    struct Change {
        SIZE size;
        int firstOfProcess;
    };
    for (const Change& c : {Change{{598, 501}, 1}, Change{{598, 400}, 0}, Change{{520, 380}, 0}}) {
        SCOPED_TRACE(std::to_string(c.size.cx) + " x " + std::to_string(c.size.cy) +
                     (c.firstOfProcess ? ", the process's first size message" : ""));
        skin::FirstSizePending = c.firstOfProcess;
        SetWindowPos(w, nullptr, 0, 0, c.size.cx, c.size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(skin::FirstSizePending, 0);
        DispatchPending();
        EXPECT_EQ(CompareWithFreshRendering(w).screen, "");
        ExpectFrameFitsTheWindow(w);
    }
}

// The process's first size message keeps the rendering that came with the
// window's showing. A window shown by SetWindowPos gets no WM_SHOWWINDOW,
// so no rendering came with it: its first paint makes one.
TEST_F(SkinWindowTest, AWindowShownWithoutShowWindowIsRenderedByItsFirstPaint) {
    const DarkFill dark;
    HWND w = Make();
    skin::Engine->AttachSkin(w, {}, 1, 1);
    skin::FirstSizePending = 1;
    SetWindowPos(w, nullptr, 60, 60, 640, 480, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    const int firstSizeSeen = skin::FirstSizePending == 0;
    skin::FirstSizePending = 0;
    ASSERT_TRUE(firstSizeSeen) << "the showing brought the process's first size message";
    ASSERT_EQ(CountReceived(w, WM_SHOWWINDOW), 0);
    ASSERT_EQ(Rec(w).RenderNeeded, 0);
    DispatchPending();
    ASSERT_NE(Rec(w).WindowCacheDc, nullptr) << "the paint rendered";
    EXPECT_EQ(CompareWithFreshRendering(w).screen, "");
    ExpectFrameFitsTheWindow(w);
}

// A long title wraps below the caption and reaches into the caption-button
// strip. Painted alone it shows as a full rendering would show it, and an
// empty title after it leaves nothing of it, neither in the cached rendering
// nor on the screen.
TEST_F(SkinWindowTest, ATitleChangeLeavesNothingOfTheOldTitle) {
    const DarkFill dark;
    HWND w = Skinned();
    ASSERT_EQ(CompareWithFreshRendering(w).screen, "");
    std::string title;
    for (int n = 0; n < 200; ++n) title += n % 3 == 0 ? "W" : n % 3 == 1 ? "标" : "题";
    const RECT belowCaption{0, Rec(w).CaptionHeight, 698, 60};
    const std::vector<COLORREF> empty = CachePixels(w, belowCaption);
    Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    ASSERT_NE(CachePixels(w, belowCaption), empty) << "the long title reaches below the caption";
    const AgainstFresh longTitle = CompareWithFreshRendering(w);
    EXPECT_EQ(longTitle.screen, "");
    EXPECT_EQ(longTitle.cache, "");

    Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const AgainstFresh emptied = CompareWithFreshRendering(w);
    EXPECT_EQ(emptied.screen, "");
    EXPECT_EQ(emptied.cache, "");
}

// Shown while minimized, the window only forgets that it was minimized;
// otherwise every showing renders it anew. The replaced procedure gets the
// message either way.
TEST_F(SkinWindowTest, ShowingAMinimizedWindowRendersNothing) {
    HWND w = Skinned();
    for (int minimized : {1, 0}) {
        SCOPED_TRACE(minimized);
        Log().clear();
        Rec(w).Minimized = minimized;
        const HGDIOBJ before = RenderingBitmap(w);
        Send(w, WM_SHOWWINDOW, 1, 0);
        EXPECT_EQ(Rec(w).Minimized, 0);
        EXPECT_EQ(RenderingBitmap(w) == before, minimized == 1);
        EXPECT_EQ(CountReceived(w, WM_SHOWWINDOW), 1);
    }
}

// A NULL title is the empty title; the caption shows the text before the
// replaced procedure stores it.
TEST_F(SkinWindowTest, SetTextPaintsTheCaptionAlsoForANullText) {
    HWND w = Skinned();
    const RECT title{29, 8, 400, 24};
    Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("一个很长的标题 A long title"));
    const std::vector<COLORREF> withText = CachePixels(w, title);
    Send(w, WM_SETTEXT, 0, 0);
    EXPECT_EQ(GetWindowTextLengthA(w), 0);
    const std::vector<COLORREF> empty = CachePixels(w, title);
    EXPECT_NE(empty, withText);
    Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(CachePixels(w, title), empty);
    EXPECT_EQ(CountReceived(w, WM_SETTEXT), 3);
}

// GDI+ shut down by a WM_QUIT sent to the window: nothing is drawn with it
// afterwards, and the engine's destruction does not shut it down again.
TEST_F(SkinWindowTest, AfterAQuitMessageGdiplusIsNeitherUsedNorShutDownAgain) {
    HWND w = Skinned();
    const int shutdowns = skin::GdiplusShutdownCalls();
    Send(w, WM_QUIT);
    EXPECT_EQ(skin::GdiplusShutdownCalls(), shutdowns + 1);
    EXPECT_FALSE(skin::EngineGdiplusUp());

    const HGDIOBJ rendering = RenderingBitmap(w);
    const std::vector<COLORREF> caption = CachePixels(w, RECT{0, 0, 698, 25});
    Rec(w).RenderNeeded = 1;
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new title"));
    Send(w, WM_MOUSEMOVE, 0, At(kMinimizeX, kButtonY));
    Send(w, WM_TIMER, reinterpret_cast<WPARAM>(w));
    Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(kMinimizeX, kButtonY));
    HWND label = Child(w, "STATIC", 0);
    HDC dc = GetDC(label);
    EXPECT_EQ(Send(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)),
              reinterpret_cast<LRESULT>(ForwardedBrush()));
    ReleaseDC(label, dc);
    EXPECT_EQ(RenderingBitmap(w), rendering);
    EXPECT_EQ(CachePixels(w, RECT{0, 0, 698, 25}), caption);

    // What the engine's destruction asks for.
    skin::ShutdownGdiplus(skin::GdiplusToken);
    skin::ShutdownGdiplus();
    EXPECT_EQ(skin::GdiplusShutdownCalls(), shutdowns + 1);

    // The program goes on with GDI+ started anew.
    ASSERT_EQ(skin::SkinModuleStart(), 0);
    EXPECT_TRUE(skin::EngineGdiplusUp());
}

// The owner-drawn buttons also wait for GDI+ to run again.
TEST_F(SkinWindowTest, AfterAQuitMessageOwnerDrawnButtonsAreNotDrawn) {
    HWND w = Make();
    HWND button = Child(w, "BUTTON", BS_PUSHBUTTON, 10, 40, 120, 60);
    skin::Engine->AttachSkin(w);
    ASSERT_NE(GetWindowLongA(button, GWL_STYLE) & BS_OWNERDRAW, 0);
    skin::MemoryDc dc(nullptr);
    skin::BitmapHandle bitmap = skin::MakeDibSection32(120, 60);
    skin::SelectedObject selected(dc, bitmap);
    const COLORREF mark = RGB(1, 2, 3);
    auto drawAndRead = [&] {
        const RECT all{0, 0, 120, 60};
        skin::BrushHandle fill = skin::BrushHandle::Adopt(CreateSolidBrush(mark));
        FillRect(dc, &all, fill);
        DRAWITEMSTRUCT item{ODT_BUTTON, 1, 0, ODA_DRAWENTIRE, 0, button, dc, all, 0};
        Send(w, WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&item));
        return GetPixel(dc, 60, 30);
    };
    EXPECT_NE(drawAndRead(), mark) << "drawn while GDI+ runs";
    Send(w, WM_QUIT);
    ASSERT_FALSE(skin::EngineGdiplusUp());
    EXPECT_EQ(drawAndRead(), mark);
    EXPECT_EQ(CountReceived(w, WM_DRAWITEM), 2);
    ASSERT_EQ(skin::SkinModuleStart(), 0);
    EXPECT_NE(drawAndRead(), mark);
}

// Without caption handling a press only stops a running fade-in: no drag or
// sizing, no caption button found or drawn pressed, and so no click.
TEST_F(SkinWindowTest, APressWithoutCaptionHandlingOnlyStopsTheFadeIn) {
    HWND w = Make();
    skin::Engine->AttachSkin(w, {}, 0, 1);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    const RECT close = ButtonRect(Rec(w), 3);
    const std::vector<COLORREF> before = CachePixels(w, close);
    const POINT presses[] = {{kCloseX, kButtonY}, {kMinimizeX, kButtonY}, {300, 10}, {2, 200},
                             {695, 200}, {300, 499}};
    for (const POINT& p : presses) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        Rec(w).FadeIn = {2, 3};
        skin::Engine->PointerCaptionButton = 0;
        Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
        EXPECT_EQ(Rec(w).FadeIn.Button, 0);
        EXPECT_EQ(Rec(w).FadeIn.Step, 3);
        EXPECT_EQ(skin::Engine->PointerCaptionButton, 0);
        Send(w, WM_LBUTTONUP, 0, At(p.x, p.y));
    }
    EXPECT_TRUE(CachePixels(w, close) == before) << "nothing drawn pressed";
    EXPECT_EQ(CountReceived(w, WM_NCLBUTTONDOWN), 0);
    EXPECT_TRUE(SysCommands(w).empty());
    EXPECT_TRUE(IsWindow(w));
}
