// Attaching a top-level window to the skin and detaching it again.
#include <string>

#include "fixture.h"

#include <commctrl.h>

#include "resources/carried.h"
#include "runtime/runtime.h"
#include "skin/attach.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/window_proc.h"

using namespace wndtest;
using skin::ReadProp;

namespace {

BOOL CALLBACK CountTooltip(HWND w, LPARAM count) {
    if (skin::GetClassNameText(w) == TOOLTIPS_CLASSA) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

struct AttachCase {
    const char* name;
    DWORD style;
    std::optional<int> captionHeight;
    int help, menu;
    std::vector<int> kinds;
    int stripWidth;
    int captionHeightAfter;
};

const AttachCase kAttachCases[] = {
    {"three buttons", kThreeButtons, {}, 0, 0, {2, 1, 0}, 95, 25},
    {"close only, low caption", WS_POPUP, 10, 0, 0, {0}, 41, 25},
    {"minimize box only, tall caption", WS_POPUP | WS_MINIMIZEBOX, 40, 0, 0, {2, 0}, 68, 40},
    {"help and menu with the maximize box", WS_POPUP | WS_MAXIMIZEBOX, 25, 1, 1, {4, 3, 1, 0},
     122, 25},
};

const char* TipOfKind(int kind) {
    switch (kind) {
    case 0: return "关闭";
    case 1: return "最大化";
    case 2: return "最小化";
    case 3: return "主菜单";
    default: return "帮助";
    }
}

// The tool with that id of the caption tooltip: whether it exists, its
// rectangle and its text.
struct Tool {
    bool found = false;
    RECT rect{};
    std::string text;
};
Tool ToolOf(HWND tip, HWND owner, UINT_PTR id) {
    char buffer[256] = {};
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = buffer;
    Tool t;
    t.found = SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    t.rect = info.rect;
    t.text = buffer;
    return t;
}

}  // namespace

TEST_F(SkinWindowTest, AttachBuildsTheRecordForEachWindowStyle) {
    for (const AttachCase& c : kAttachCases) {
        SCOPED_TRACE(c.name);
        HWND w = Make(c.style);
        skin::Engine->AttachSkin(w, c.captionHeight, 1, 1, c.help, c.menu);
        const int index = RecordOf(w);
        ASSERT_GT(index, 0);
        const skin::SkinWindowRecord& r = skin::SkinWindowTable[index];

        EXPECT_EQ(ReadProp(w, skin::prop::Hw_lbID), index);
        // The engine's procedure is in, and what it replaced is kept; the
        // caption tooltip's subclass, put on during the attach, is part of
        // that chain.
        EXPECT_EQ(static_cast<std::uintptr_t>(GetWindowLongPtrA(w, GWLP_WNDPROC)),
                  skin::Engine->WindowProcThunk.Address());
        EXPECT_EQ(ReadProp(w, skin::prop::Hw_hProc), reinterpret_cast<LONG_PTR>(r.PreviousProc));
        EXPECT_NE(static_cast<std::uintptr_t>(ReadProp(w, skin::prop::Hw_hProc)),
                  skin::Engine->WindowProcThunk.Address());
        Log().clear();
        Send(w, WM_USER + 7);
        EXPECT_EQ(CountReceived(w, WM_USER + 7), 1);
        EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_SYSMENU);
        EXPECT_EQ(skin::Engine->FrameBorderWidth, 3);
        EXPECT_EQ(r.CaptionHeight, c.captionHeightAfter);
        EXPECT_EQ(r.RenderNeeded, 1);
        EXPECT_EQ(r.MinTrackWidth, 200);
        EXPECT_EQ(r.MinTrackHeight, 150);
        EXPECT_EQ(r.MaxTrackWidth, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(r.MaxTrackHeight, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(r.StripWidth, c.stripWidth);
        EXPECT_EQ(r.StripX, 698 - c.stripWidth + 1);  // laid out against the client edge
        EXPECT_EQ(r.TitleFontName, "宋体");

        ASSERT_EQ(r.CaptionButtons.Count(), static_cast<int>(c.kinds.size()));
        const HWND tip = r.CaptionTooltip.GetHwnd();
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(c.kinds.size()));
        for (int i = 1; i <= r.CaptionButtons.Count(); ++i) {
            const skin::CaptionButton& b = r.CaptionButtons[i];
            EXPECT_EQ(b.Kind, c.kinds[i - 1]) << "button " << i;
            EXPECT_EQ(b.Width, b.Kind == 0 ? 38 : 26);
            EXPECT_EQ(b.Height, 18);
            EXPECT_FALSE(b.Image.empty());
            EXPECT_EQ(b.SecondImage.empty(), b.Kind != 1);
            EXPECT_EQ(b.TipText, TipOfKind(b.Kind));
            const Tool tool = ToolOf(tip, w, static_cast<UINT_PTR>(i));
            ASSERT_TRUE(tool.found) << "tool " << i;
            EXPECT_EQ(tool.text, b.TipText);
            EXPECT_EQ(tool.rect.left, static_cast<LONG>(b.Rect.x));
            EXPECT_EQ(tool.rect.right, static_cast<LONG>(b.Rect.x + b.Rect.width));
        }
        DestroyWindow(w);
        EXPECT_EQ(skin::SkinWindowTable.Count(), 0);
    }
}

TEST_F(SkinWindowTest, ASecondAttachOfTheSameWindowIsIgnored) {
    HWND w = Make();
    skin::Engine->AttachSkin(w);
    const std::intptr_t replaced = ReadProp(w, skin::prop::Hw_hProc);
    skin::Engine->AttachSkin(w, 40);
    EXPECT_EQ(skin::SkinWindowTable.Count(), 1);
    EXPECT_EQ(Rec(w).CaptionHeight, 25);
    // The replaced procedure is still the one before the engine's, so
    // messages still reach the window's own procedure.
    EXPECT_EQ(ReadProp(w, skin::prop::Hw_hProc), replaced);
    Log().clear();
    Send(w, WM_USER + 7);
    EXPECT_EQ(CountReceived(w, WM_USER + 7), 1);
}

TEST_F(SkinWindowTest, AttachWithoutALiveWindowMakesNothing) {
    HWND gone = Make();
    DestroyWindow(gone);
    auto tooltips = [] {
        int n = 0;
        EnumThreadWindows(GetCurrentThreadId(), &CountTooltip, reinterpret_cast<LPARAM>(&n));
        return n;
    };
    const int tips = tooltips();
    for (HWND w : {static_cast<HWND>(nullptr), gone}) {
        skin::Engine->AttachSkin(w);
        EXPECT_EQ(skin::SkinWindowTable.Count(), 0) << w;
        EXPECT_EQ(tooltips(), tips) << w;
    }
}

TEST_F(SkinWindowTest, DestroyingTheFirstOfTwoWindowsRenumbersTheSecond) {
    HWND first = Make();
    HWND second = Make(WS_POPUP);
    skin::Engine->AttachSkin(first);
    skin::Engine->AttachSkin(second);
    ASSERT_EQ(RecordOf(second), 2);
    // A control entry of the second window, as a control family keeps one.
    HWND button = Child(second, "BUTTON", BS_PUSHBUTTON);
    Rec(second).Buttons[1].Window = button;
    skin::WriteProp(button, skin::prop::Hw_FuID, 2);

    DestroyWindow(first);
    EXPECT_EQ(skin::SkinWindowTable.Count(), 1);
    EXPECT_EQ(ReadProp(second, skin::prop::Hw_lbID), 1);
    EXPECT_EQ(ReadProp(button, skin::prop::Hw_FuID), 1);
    // The second window's procedure finds its record under the new number.
    Rec(second).HotCaptionButton = 1;
    Send(second, WM_SIZE);
    EXPECT_EQ(Rec(second).HotCaptionButton, 0);
    EXPECT_EQ(Rec(second).RenderNeeded, 1);
}

TEST_F(SkinWindowTest, DetachFreesTheCachesAndTheControlBrushes) {
    const int dcsBefore = skin::LiveGdiCount(skin::GdiKind::MemoryDc);
    HWND w = Make();
    HWND edit = Child(w, "EDIT", 0);
    skin::Engine->AttachSkin(w);
    Rec(w).Edits[1].Window = edit;
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    HDC dc = GetDC(edit);
    Send(w, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    ReleaseDC(edit, dc);

    const skin::SkinWindowRecord& r = Rec(w);
    // (Without a status bar the status layer is empty and has no bitmap.)
    const HGDIOBJ handles[] = {r.WindowCacheDc, r.CaptionCacheDc, r.StatusCacheDc,
                               r.CaptionCacheBitmap, GetPropA(w, skin::prop::Ck_wtjbdx),
                               GetPropA(edit, skin::prop::Kj_dxjb),
                               GetPropA(edit, skin::prop::Kj_wtjb)};
    for (HGDIOBJ h : handles) ASSERT_NE(GetObjectType(h), 0u) << h;

    DestroyWindow(w);
    for (HGDIOBJ h : handles) EXPECT_EQ(GetObjectType(h), 0u) << h;
    EXPECT_EQ(skin::LiveGdiCount(skin::GdiKind::MemoryDc), dcsBefore);
}

namespace {

BOOL CALLBACK CountOwnTooltip(HWND w, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId() &&
        _stricmp(skin::GetClassNameText(w).c_str(), TOOLTIPS_CLASSA) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The process's tooltip windows; they have no parent, so all are top-level.
int ProcessTooltips() {
    int n = 0;
    EnumWindows(&CountOwnTooltip, reinterpret_cast<LPARAM>(&n));
    return n;
}

}  // namespace

// A skinned window's caption tooltip goes with its record, whether the window
// is destroyed or only detached.
TEST_F(SkinWindowTest, NoCaptionTooltipOutlivesItsWindowsRecord) {
    const int before = ProcessTooltips();
    for (bool destroy : {true, false}) {
        for (int round = 0; round < 3; ++round) {
            HWND w = Make();
            skin::Engine->AttachSkin(w);
            ASSERT_EQ(ProcessTooltips(), before + 1);
            if (destroy) {
                DestroyWindow(w);
            } else {
                skin::DetachSkinWindow(w);
                EXPECT_EQ(ProcessTooltips(), before) << "detached, round " << round;
                DestroyWindow(w);
            }
        }
        EXPECT_EQ(ProcessTooltips(), before) << (destroy ? "destroyed" : "detached");
    }
}

// The application's call: a window built by the runtime, skinned in its
// created handler before it is first shown.
TEST_F(SkinWindowTest, ApplySkinSkinsTheRuntimesWindowBeforeItIsShown) {
    int recordAtCreation = -1;
    rt::WindowDesign design;
    rt::UnitDesign window{"SkinWindowTestMain", rt::UnitKind::Window, 60, 60, 698, 501, true,
                          "title", {}};
    window.events.created = [&] {
        const int id = rt::UnitId("SkinWindowTestMain");
        // A plain control with a window inside is skinned as a container too.
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 2, 2, 20, 10,
                        rt::UnitWindow(rt::UnitId("SkinWindowTestLabel")), nullptr,
                        GetModuleHandleA(nullptr), nullptr);
        skin::ApplySkin(id, id, res::SkinBackground(), 10);
        recordAtCreation = skin::WindowRecordOf(rt::UnitWindow(id));
    };
    design.push_back(window);
    design.push_back({"SkinWindowTestList", rt::UnitKind::ListBox, 1, 32, 400, 300, true, "", {}});
    design.push_back({"SkinWindowTestGroup", rt::UnitKind::GroupBox, 420, 40, 200, 120, true, "组", {}});
    design.push_back({"SkinWindowTestLabel", rt::UnitKind::Label, 420, 200, 200, 30, true, "标签", {}});
    const int unit = rt::BuildWindow(design);
    HWND hwnd = rt::UnitWindow(unit);
    UpdateWindow(hwnd);

    EXPECT_EQ(recordAtCreation, 1);
    const skin::SkinWindowRecord& r = Rec(hwnd);
    EXPECT_EQ(r.FrameGestures, 0);
    EXPECT_EQ(r.CaptionOn, 1);
    EXPECT_EQ(r.DrawTitle, 1);
    EXPECT_EQ(r.CaptionButtons.Count(), 3);
    EXPECT_EQ(r.StripWidth, 95);
    EXPECT_EQ(skin::GlassAlpha, 10);
    EXPECT_EQ(skin::TransparentControlsFlag, 1);
    EXPECT_EQ(skin::GlobalPictureMode, 3);
    EXPECT_EQ(skin::GlobalPicture, res::SkinBackground());
    EXPECT_EQ(skin::ThemeColor, 0x00DDCA22u);
    // The group box joined as a container, the label as a plain control.
    const HWND group = rt::UnitWindow(rt::UnitId("SkinWindowTestGroup"));
    const HWND label = rt::UnitWindow(rt::UnitId("SkinWindowTestLabel"));
    bool labelFound = false;
    for (const skin::SkinnedPlainControl& p : r.PlainControls) labelFound |= p.Window == label;
    EXPECT_TRUE(labelFound);
    // Both fill at the application's alpha.
    for (HWND container : {group, label}) {
        const int entry = skin::FindContainerEntry(RecordOf(hwnd), container);
        ASSERT_GT(entry, 0);
        EXPECT_EQ(r.Containers[entry].FillAlpha, 10);
    }

    // Shown, it was rendered: the rounded region is the window's.
    RECT c{};
    GetClientRect(hwnd, &c);
    skin::RegionHandle actual = skin::RegionHandle::Adopt(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(hwnd, actual), COMPLEXREGION);
    skin::RegionHandle rounded =
        skin::RegionHandle::Adopt(CreateRoundRectRgn(0, 0, c.right + 1, c.bottom + 1, 5, 5));
    skin::RegionHandle difference = skin::RegionHandle::Adopt(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(difference, actual, rounded, RGN_XOR), NULLREGION);
    EXPECT_FALSE(PtInRegion(actual, 0, 0));
    EXPECT_TRUE(PtInRegion(actual, 1, 0));
    EXPECT_NE(r.WindowCacheDc, nullptr);

    rt::DestroyBuiltWindow(unit);
    skin::GlobalPicture.clear();
    skin::GlobalPictureMode = 0;
    skin::GlassAlpha = 160;
}

// Every family of control entries follows its window's record to its new
// number when an earlier window goes.
TEST_F(SkinWindowTest, DestroyingTheFirstWindowRenumbersEveryControlFamilyOfTheSecond) {
    HWND first = Make();
    HWND second = Make(WS_POPUP);
    skin::Engine->AttachSkin(first);
    skin::Engine->AttachSkin(second);
    ASSERT_EQ(RecordOf(second), 2);
    skin::SkinWindowRecord& r = Rec(second);
    struct Family {
        const char* name;
        HWND* entry;
        const char* property;
    };
    const Family families[] = {
        {"list control", &r.ListControls[1].Window, skin::prop::Hw_FuID},
        {"combo box", &r.ComboBoxes[1].Window, skin::prop::Hw_FuID},
        {"header", &r.Headers[1].Window, skin::prop::Hw_FuID},
        {"up-down", &r.UpDowns[1].Window, skin::prop::Hw_FuID},
        {"trackbar", &r.Trackbars[1].Window, skin::prop::Hw_FuID},
        {"progress bar", &r.ProgressBars[1].Window, skin::prop::Hw_FuID},
        {"edit", &r.Edits[1].Window, skin::prop::Hw_FuID},
        {"container", &r.Containers[1].Window, skin::prop::Hw_FuID},
        {"plain control", &r.PlainControls[1].Window, skin::prop::Kj_FuID},
    };
    std::vector<HWND> controls;
    for (const Family& f : families) {
        HWND control = Child(second, "STATIC", 0);
        *f.entry = control;
        skin::WriteProp(control, f.property, 2);
        controls.push_back(control);
    }

    DestroyWindow(first);
    ASSERT_EQ(skin::SkinWindowTable.Count(), 1);
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ(ReadProp(controls[i], families[i].property), 1) << families[i].name;
}
