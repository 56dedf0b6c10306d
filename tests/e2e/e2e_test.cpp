// The real PinyinRenamer.exe under Wine, driven from this process as a user
// would: close the start-up message, drop files on the window by OLE drag
// and drop (the mouse moved by SendInput), press the convert button, read
// the message, look at the files on disk and the list box.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "tests/app/temp_folder.h"
#include "tests/e2e/file_data_object.h"

namespace {

std::string RenamerExe() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    dir = dir.substr(0, dir.find_last_of('\\'));           // ...\tests\e2e
    dir = dir.substr(0, dir.find_last_of('\\'));           // ...\tests
    dir = dir.substr(0, dir.find_last_of('\\'));           // the build folder
    return dir + "\\app\\PinyinRenamer.exe";
}

struct FindData {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND h, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    char name[64];
    GetClassNameA(h, name, sizeof name);
    if (owner == d->pid && IsWindowVisible(h) && !lstrcmpA(name, d->cls)) {
        d->found = h;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of that class belonging to that process.
HWND TopWindowOf(DWORD pid, const char* cls) {
    FindData d = {pid, cls, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

HWND WaitForTopWindow(DWORD pid, const char* cls, DWORD ms = 20000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (HWND h = TopWindowOf(pid, cls)) return h;
        Sleep(50);
    }
    return nullptr;
}

std::string TextOf(HWND h) {
    char buf[4096] = {};
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buf;
}

// The first child of that class (and, when given, that text).
HWND ChildOf(HWND parent, const char* cls, const std::string& text = "") {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64];
        GetClassNameA(c, name, sizeof name);
        if (!lstrcmpiA(name, cls) && (text.empty() || TextOf(c) == text)) return c;
    }
    return nullptr;
}

// Waits for the process's message box, returns its text and presses OK.
std::string CloseMessageBox(DWORD pid) {
    HWND box = WaitForTopWindow(pid, "#32770");
    if (!box) return "<no message box>";
    std::string text;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64];
        GetClassNameA(c, name, sizeof name);
        if (!lstrcmpiA(name, "Static") && !TextOf(c).empty()) text = TextOf(c);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(25);
    return text;
}

// Ends the Explorer windows the renamer opened (its child processes).
void CloseChildProcesses(DWORD parent) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {sizeof pe};
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ParentProcessID != parent) continue;
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID)) {
            TerminateProcess(p, 0);
            WaitForSingleObject(p, 5000);
            CloseHandle(p);
        }
    }
    CloseHandle(snap);
}

void MouseTo(int x, int y, DWORD extra = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
    SendInput(1, &in, sizeof in);
}

struct DragPath {
    POINT from, to;
};

DWORD WINAPI MoveThenRelease(LPVOID arg) {
    const DragPath* path = static_cast<DragPath*>(arg);
    Sleep(300);
    for (int i = 1; i <= 10; ++i) {
        MouseTo(path->from.x + (path->to.x - path->from.x) * i / 10,
                path->from.y + (path->to.y - path->from.y) * i / 10);
        Sleep(60);
    }
    Sleep(300);
    MouseTo(path->to.x, path->to.y, MOUSEEVENTF_LEFTUP);
    return 0;
}

// The drag starts on a small window of this process, as a real drag source
// starts from its own WM_LBUTTONDOWN: DoDragDrop reads the button state of
// this thread, which only a press on one of its windows sets.
HWND SourceWindow(POINT at) {
    static const char* cls = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = "E2eDragSource";
        RegisterClassA(&wc);
        return "E2eDragSource";
    }();
    HWND w = CreateWindowExA(WS_EX_TOPMOST, cls, "", WS_POPUP | WS_VISIBLE, at.x - 20, at.y - 20, 40, 40,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(w);
    return w;
}

bool PressOn(HWND window, POINT at) {
    MouseTo(at.x, at.y);
    Sleep(100);
    MouseTo(at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    MSG msg;
    for (DWORD waited = 0; waited < 5000; waited += 10) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (msg.message == WM_LBUTTONDOWN && msg.hwnd == window) return true;
        }
        Sleep(10);
    }
    return false;
}

// Drags the files from a free spot of the screen onto point `to`.
DWORD DropFiles(const std::vector<std::string>& paths, POINT to) {
    DragPath path = {{1100, 900}, to};
    HWND source = SourceWindow(path.from);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = E_FAIL;
    if (PressOn(source, path.from)) {
        HANDLE mover = CreateThread(nullptr, 0, MoveThenRelease, &path, 0, nullptr);
        auto* data = new testdrop::FileDataObject(paths);
        auto* dropSource = new testdrop::ButtonDropSource();
        hr = DoDragDrop(data, dropSource, DROPEFFECT_COPY, &effect);
        WaitForSingleObject(mover, 10000);
        CloseHandle(mover);
        data->Release();
        dropSource->Release();
    } else {
        MouseTo(path.from.x, path.from.y, MOUSEEVENTF_LEFTUP);
        ADD_FAILURE() << "the press on the drag source never arrived";
    }
    DestroyWindow(source);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

std::vector<std::string> ListBoxItems(HWND box) {
    std::vector<std::string> items;
    const LRESULT n = SendMessageA(box, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        // Wine hands an ANSI LB_GETTEXT from another process UTF-16 text, so
        // ask for UTF-16 and convert it here.
        wchar_t wide[1024] = {};
        SendMessageW(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char buf[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
        items.push_back(buf);
    }
    return items;
}

class RenamerProcess : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        dir_ = testfs::MakeTempFolder("e2e");
        std::string cmd = "\"" + RenamerExe() + "\"";
        STARTUPINFOA si = {sizeof si};
        ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
            << RenamerExe();
    }
    void TearDown() override {
        if (pi_.hProcess) {
            CloseChildProcesses(pi_.dwProcessId);
            if (HWND w = TopWindowOf(pi_.dwProcessId, "RtDesignWindow")) PostMessageA(w, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(pi_.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
        testfs::RemoveTree(dir_);
        OleUninitialize();
    }
    std::string Folder(const std::string& name) {
        const std::string d = dir_ + name + "\\";
        CreateDirectoryA(d.c_str(), nullptr);
        return d;
    }
    POINT OverListBox() const {
        RECT r;
        GetWindowRect(main_, &r);
        return {r.left + 350, r.top + 300};
    }
    std::string Convert() {
        PostMessageA(ChildOf(main_, "Button", "开始将文件名转化为拼音"), BM_CLICK, 0, 0);
        const std::string said = CloseMessageBox(pi_.dwProcessId);
        CloseChildProcesses(pi_.dwProcessId);  // the Explorer it opened
        return said;
    }

    PROCESS_INFORMATION pi_ = {};
    std::string dir_;
    HWND main_ = nullptr;
};

TEST_F(RenamerProcess, DroppedFilesAreRenamedInTheirFoldersAndFailuresAreReported) {
    EXPECT_EQ(CloseMessageBox(pi_.dwProcessId), "本程序支持文件拖放,把你想处理的文件直接拖进来吧");
    main_ = WaitForTopWindow(pi_.dwProcessId, "RtDesignWindow");
    ASSERT_TRUE(main_);
    HWND list = ChildOf(main_, "ListBox");
    ASSERT_TRUE(list);

    // Files in a Chinese folder and in a folder whose name ends in 0x5C (淺).
    const std::string music = Folder("音乐"), qian = Folder("淺");
    testfs::WriteText(music + "歌曲.mp3", "song");
    testfs::WriteText(music + "绿.txt", "green");
    testfs::WriteText(qian + "中.mp3", "middle");
    const std::vector<std::string> first = {music + "歌曲.mp3", music + "绿.txt", qian + "中.mp3"};
    EXPECT_EQ(DropFiles(first, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list), first);

    EXPECT_EQ(Convert(), "文件已经处理好了");
    EXPECT_EQ(testfs::ReadText(music + "ge qu .mp3"), "song");
    EXPECT_EQ(testfs::ReadText(music + "lv .txt"), "green");
    EXPECT_EQ(testfs::ReadText(qian + "zhong .mp3"), "middle");
    EXPECT_EQ(rt::FileExists(music + "歌曲.mp3"), 0);
    EXPECT_TRUE(ListBoxItems(list).empty());
    EXPECT_EQ(Convert(), "请先添加文件");  // nothing left to rename

    // 行 and 型 both become "xing .mp3"; 消失.mp3 vanishes before the click.
    const std::string clash = Folder("clash");
    testfs::WriteText(clash + "行.mp3", "first");
    testfs::WriteText(clash + "型.mp3", "second");
    testfs::WriteText(clash + "消失.mp3", "gone");
    const std::vector<std::string> second = {clash + "行.mp3", clash + "型.mp3", clash + "消失.mp3"};
    EXPECT_EQ(DropFiles(second, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list), second);  // the drop replaced the list
    DeleteFileA((clash + "消失.mp3").c_str());

    const std::string said = Convert();
    EXPECT_EQ(said, "有 2 个文件没有改名：\r\n" + clash + "型.mp3（新名字“xing .mp3”已被别的文件占用）\r\n" + clash + "消失.mp3（文件不存在）");
    EXPECT_EQ(testfs::ReadText(clash + "xing .mp3"), "first");
    EXPECT_EQ(testfs::ReadText(clash + "型.mp3"), "second");
    EXPECT_TRUE(ListBoxItems(list).empty());

    // A name holding ";", the same file dropped twice (once in other letter
    // case), and a file whose new path would be MAX_PATH bytes long: the one
    // renamed, the long one kept and said to be too long, 歌.mp3 untouched.
    const std::string odd = Folder("odd");
    testfs::WriteText(odd + "x;歌.mp3", "semicolon");
    testfs::WriteText(odd + "歌.mp3", "not dropped");
    const std::string longName = odd + "歌" + std::string(MAX_PATH - odd.size() - 3, 'a');  // "ge a…": 260 bytes
    testfs::WriteText(longName, "long");
    const std::vector<std::string> third = {odd + "x;歌.mp3", longName, odd + "X;歌.MP3"};
    EXPECT_EQ(DropFiles(third, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list), third);
    EXPECT_EQ(Convert(), "有 1 个文件没有改名：\r\n" + longName + "（新名字太长）");
    EXPECT_EQ(testfs::ReadText(odd + "x;ge .mp3"), "semicolon");
    EXPECT_EQ(testfs::ReadText(odd + "歌.mp3"), "not dropped");
    EXPECT_EQ(testfs::ReadText(longName), "long");

    PostMessageA(main_, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi_.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace
