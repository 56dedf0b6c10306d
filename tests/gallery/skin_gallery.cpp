// One skinned top-level window with a control of every family the engine
// skins, over the carried picture. After showing it, the program presses
// every button, check box and radio button with the real mouse and lets go
// outside it, moves the focus through every control with the Tab key, and
// then waits (seconds given, default 60) so the screen can be looked at:
// whatever the platform would draw for a press or the focus has to be gone
// under the skin by then.
//   skin_gallery.exe [seconds]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "resources/carried.h"
#include "skin/engine.h"
#include "skin/record.h"

namespace {

HWND g_window;
HWND g_imageButton, g_stateImageButton;  // made picture buttons after the attach
std::vector<HWND> g_pressable;

HWND Child(const char* cls, DWORD style, const char* text, int x, int y, int w, int h,
           HWND parent = nullptr, DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                           parent ? parent : g_window, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

HWND Pressable(HWND control) {
    g_pressable.push_back(control);
    return control;
}

void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(g_window, &m)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
        }
        Sleep(10);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void Mouse(int x, int y, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &in, sizeof in);
    Pump(120);
}

void Key(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
    Pump(120);
}

void BuildChildren() {
    // Buttons: plain, picture, picture per state, disabled.
    Pressable(Child("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, "普通按钮", 20, 50, 100, 30));
    g_imageButton = Pressable(Child("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, "图片按钮", 130, 50, 110, 40));
    g_stateImageButton = Pressable(Child("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, "", 250, 50, 40, 40));
    Child("BUTTON", BS_PUSHBUTTON | WS_DISABLED, "不可用", 300, 50, 90, 30);
    // Check boxes and radio buttons.
    Pressable(Child("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, "复选框", 20, 100, 90, 22));
    HWND checked = Pressable(Child("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, "已选中", 120, 100, 90, 22));
    SendMessageA(checked, BM_SETCHECK, BST_CHECKED, 0);
    Pressable(Child("BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, "单选一", 220, 100, 90, 22));
    HWND radio = Pressable(Child("BUTTON", BS_AUTORADIOBUTTON, "单选二", 320, 100, 90, 22));
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    Child("BUTTON", BS_AUTOCHECKBOX | WS_DISABLED | WS_GROUP, "不可用", 420, 100, 90, 22);
    // Edits and combo boxes.
    Child("EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, "编辑框里的文字", 20, 140, 180, 24);
    HWND combo = Child("COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, "", 210, 140, 160, 200);
    HWND list = Child("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "", 380, 140, 160, 200);
    for (const char* item : {"第一项", "第二项", "第三项"}) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SendMessageA(list, CB_SETCURSEL, 2, 0);
    // Trackbar, progress bar, up-down with its buddy.
    HWND track = Child(TRACKBAR_CLASSA, TBS_AUTOTICKS | WS_TABSTOP, "", 20, 180, 200, 32);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageA(track, TBM_SETPOS, TRUE, 4);
    HWND progress = Child(PROGRESS_CLASSA, 0, "", 230, 186, 200, 18);
    SendMessageA(progress, PBM_SETPOS, 60, 0);
    HWND buddy = Child("EDIT", ES_NUMBER | WS_TABSTOP, "5", 450, 184, 50, 22);
    HWND spin = Child(UPDOWN_CLASSA, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, "", 0, 0, 0, 0);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageA(spin, UDM_SETRANGE32, 0, 10);
    SendMessageA(spin, UDM_SETPOS32, 0, 5);
    // List box, list view with its header, tree view.
    HWND box = Child("LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, "", 20, 225, 200, 150, nullptr,
                     WS_EX_CLIENTEDGE);
    for (int i = 1; i <= 12; ++i) {
        char path[64];
        std::snprintf(path, sizeof path, "D:\\音乐\\第%02d首 歌.mp3", i);
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
    }
    SendMessageA(box, LB_SETCURSEL, 2, 0);
    HWND view = Child(WC_LISTVIEWA, LVS_REPORT | WS_TABSTOP, "", 230, 225, 260, 150, nullptr,
                      WS_EX_CLIENTEDGE);
    LVCOLUMNA column{LVCF_TEXT | LVCF_WIDTH};
    column.cx = 150;
    column.pszText = const_cast<char*>("文件名");
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 100;
    column.pszText = const_cast<char*>("大小");
    SendMessageA(view, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "歌曲%d.mp3", i + 1);
        LVITEMA item{LVIF_TEXT};
        item.iItem = i;
        item.pszText = name;
        SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    HWND tree = Child(WC_TREEVIEWA, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_TABSTOP, "",
                      500, 225, 180, 150, nullptr, WS_EX_CLIENTEDGE);
    TVINSERTSTRUCTA insert{};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("音乐");
    HTREEITEM root =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    for (const char* leaf : {"流行", "古典", "民谣"}) {
        insert.hParent = root;
        insert.item.pszText = const_cast<char*>(leaf);
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    // A header of its own.
    HWND header = Child(WC_HEADERA, HDS_BUTTONS, "", 20, 385, 300, 24);
    for (const char* text : {"名称", "修改日期", "一个放不下的很长的标题"}) {
        HDITEMA item{HDI_TEXT | HDI_WIDTH | HDI_FORMAT};
        item.cxy = 100;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = const_cast<char*>(text);
        SendMessageA(header, HDM_INSERTITEMA, 0x7FFF, reinterpret_cast<LPARAM>(&item));
    }
    // IP address and date-time.
    HWND ip = Child(WC_IPADDRESSA, WS_TABSTOP, "", 340, 385, 150, 24);
    SendMessageA(ip, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 10));
    Child(DATETIMEPICK_CLASSA, WS_TABSTOP, "", 500, 385, 180, 24);
    // Containers: a group box and a tab control, each holding controls.
    HWND group = Child("BUTTON", BS_GROUPBOX, "分组框", 20, 420, 250, 90);
    Pressable(Child("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, "组里的复选框", 15, 25, 150, 22, group));
    Pressable(Child("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, "组里的按钮", 15, 52, 110, 28, group));
    HWND tab = Child(WC_TABCONTROLA, WS_TABSTOP, "", 280, 420, 230, 90);
    TCITEMA page{TCIF_TEXT};
    page.pszText = const_cast<char*>("第一页");
    SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
    page.pszText = const_cast<char*>("第二页");
    SendMessageA(tab, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&page));
    Pressable(Child("BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, "页上的单选", 15, 35, 150, 22, tab));
    // A plain control: a label laid over the skin with its own painting.
    Child("STATIC", SS_LEFT, "一个普通的标签", 520, 440, 160, 22);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                             ICC_INTERNET_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    skin::SkinModuleStart();
    if (!skin::Engine) {
        std::printf("no engine\n");
        return 1;
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "SkinGalleryWindow";
    RegisterClassA(&wc);
    g_window = CreateWindowExA(0, wc.lpszClassName, "每一种控件", WS_POPUP | WS_MINIMIZEBOX, 40, 40,
                               700, 530, nullptr, nullptr, wc.hInstance, nullptr);
    BuildChildren();

    const rt::ByteString& picture = res::SkinBackground();
    skin::Engine->SetSkinTheme({}, &picture, {}, {}, 3);
    skin::Engine->SetControlOptions(1, 10);
    const rt::CountedArray<skin::StatusPane> noPanes;
    skin::Engine->AttachSkin(g_window, {}, 1, 0, 0, 0, 1, 0, {}, &noPanes, nullptr, {});
    for (HWND c = FindWindowExA(g_window, nullptr, nullptr, nullptr); c;
         c = FindWindowExA(g_window, c, nullptr, nullptr)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        if (!lstrcmpiA(cls, "BUTTON") && (style & BS_TYPEMASK) == BS_GROUPBOX)
            skin::Engine->AttachContainer(c, 1, 0, 10);
        else if (!lstrcmpiA(cls, WC_TABCONTROLA))
            skin::Engine->AttachContainer(c, 1, 0, 10);
        else if (!lstrcmpiA(cls, "STATIC"))
            skin::Engine->AttachPlainControl(c, {}, 0, 10);
    }
    // The picture buttons: the program's icon beside a caption, and the
    // icon for every state of a bare button.
    const rt::ByteString& icon = res::AppIconImage();
    skin::Engine->SetButtonImage(g_imageButton, icon, 1, "图片按钮");
    skin::Engine->SetButtonImages(g_stateImageButton, icon, icon, icon, icon, "按状态的图片");

    ShowWindow(g_window, SW_SHOW);
    SetForegroundWindow(g_window);
    Pump(1500);

    // Press each one, slide off it and let go outside: no click, but every
    // press look the platform has was drawn.
    for (HWND c : g_pressable) {
        RECT r;
        GetWindowRect(c, &r);
        const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        Mouse(x, y, 0);
        Mouse(x, y, MOUSEEVENTF_LEFTDOWN);
        Mouse(x, r.bottom + 40, 0);
        Mouse(x, r.bottom + 40, MOUSEEVENTF_LEFTUP);
    }
    // The focus through every control that takes it, and round again to the
    // first, so each drew its focus look and lost it.
    SetFocus(g_pressable[0]);
    for (int i = 0; i < 24; ++i) Key(VK_TAB);
    Mouse(5, 5, 0);  // the pointer off the window
    Pump(500);
    std::printf("ready\n");
    std::fflush(stdout);
    Pump(static_cast<DWORD>(seconds) * 1000);
    DestroyWindow(g_window);
    return 0;
}
