// The real PinyinRenamer.exe under Wine, driven from this process as a user
// would: close the start-up message, drop files on the window by OLE drag
// and drop (the mouse moved by SendInput), press the convert button, read
// the message, look at the files on disk and the list box.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "tests/app/temp_folder.h"
#include "tests/e2e/file_data_object.h"
#include "tests/support/waits.h"

namespace {

// ...\tests\e2e, where this program is.
std::string ThisFolder() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self);
    return path.substr(0, path.find_last_of('\\'));
}

std::string RenamerExe() {
    std::string dir = ThisFolder();
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

HWND WaitForTopWindow(DWORD pid, const char* cls) {
    HWND h = nullptr;
    testsupport::PollUntil([&] { return (h = TopWindowOf(pid, cls)); });
    return h;
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
    // Gone before anything else is asked of the tool, so that the next
    // message box found is a new one.
    if (!testsupport::PollUntil([&] { return !IsWindow(box); }))
        ADD_FAILURE() << "the message box \"" << text << "\" stayed after OK";
    return text;
}

// The command line a process was started with, from its process
// parameters; "" when they cannot be read.
std::string CommandLineOf(DWORD pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!p) return "";
    std::wstring line;
    PROCESS_BASIC_INFORMATION info = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS params = {};
    if (NtQueryInformationProcess(p, ProcessBasicInformation, &info, sizeof info, nullptr) == 0 &&
        ReadProcessMemory(p, info.PebBaseAddress, &peb, sizeof peb, nullptr) &&
        ReadProcessMemory(p, peb.ProcessParameters, &params, sizeof params, nullptr)) {
        line.resize(params.CommandLine.Length / sizeof(wchar_t));
        if (!ReadProcessMemory(p, params.CommandLine.Buffer, &line[0], params.CommandLine.Length, nullptr))
            line.clear();
    }
    CloseHandle(p);
    char buf[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

// The file a process was started from, "" when it cannot be read. (The
// call is newer than the Windows version the headers are set to.)
std::string ImageOf(DWORD pid) {
    using QueryImage = BOOL(WINAPI*)(HANDLE, DWORD, char*, DWORD*);
    const auto query = reinterpret_cast<QueryImage>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    if (!query) return "";
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!p) return "";
    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool ok = query(p, 0, image, &size);
    CloseHandle(p);
    return ok ? image : "";
}

// The Windows folder's own Explorer.
std::string WindowsExplorer() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\explorer.exe";
}

// An Explorer the renamer started: the file it runs and its command line
// ("" for one that is still starting: its command line is not yet in its
// memory).
struct StartedProgram {
    std::string image, line;
};

std::vector<StartedProgram> ExplorersStartedBy(DWORD parent) {
    std::vector<StartedProgram> started;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {sizeof pe};
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (pe.th32ParentProcessID == parent && !lstrcmpiA(pe.szExeFile, "explorer.exe"))
            started.push_back({ImageOf(pe.th32ProcessID), CommandLineOf(pe.th32ProcessID)});
    CloseHandle(snap);
    return started;
}

// The renamer starts an Explorer before it shows its closing message,
// without waiting for it; a process just started shows among the running
// ones, its command line readable, only once it has started up. Waits until
// `expected` Explorers are seen whole and returns them; with none expected
// there is nothing to wait for. (A shorter bound than elsewhere: a tool that
// never starts one costs each conversion the whole bound.)
std::vector<StartedProgram> StartedExplorers(DWORD parent, std::size_t expected) {
    std::vector<StartedProgram> started;
    testsupport::PollUntil(
        [&] {
            started = ExplorersStartedBy(parent);
            for (const StartedProgram& program : started)
                if (program.line.empty()) return false;
            return started.size() >= expected;
        },
        20000);
    return started;
}

// Ends the Explorer windows the renamer opened (its child processes).
void CloseChildProcesses(DWORD parent) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {sizeof pe};
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ParentProcessID != parent) continue;
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID)) {
            TerminateProcess(p, 0);
            // Ended, it no longer counts among the renamer's children.
            if (WaitForSingleObject(p, 60000) != WAIT_OBJECT_0)
                ADD_FAILURE() << "process " << pe.th32ProcessID << " did not end";
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

// Drops when the left button is released, cancels on Escape, and moves the
// pointer: each time the drag asks whether to go on, one step further along
// the path, and at its end it lets the button go. So every step comes after
// DoDragDrop has taken the mouse, each where the one before left the
// pointer, and the drop lands at the path's end, however slow the machine.
class PathDropSource final : public testdrop::Unknown<IDropSource, &IID_IDropSource> {
public:
    explicit PathDropSource(const DragPath& path) : path_(path) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        if (step_ < kSteps) {
            ++step_;
            MouseTo(path_.from.x + (path_.to.x - path_.from.x) * step_ / kSteps,
                    path_.from.y + (path_.to.y - path_.from.y) * step_ / kSteps);
        } else if (step_ == kSteps) {
            ++step_;
            MouseTo(path_.to.x, path_.to.y, MOUSEEVENTF_LEFTUP);
        }
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    static constexpr int kSteps = 10;
    const DragPath path_;
    int step_ = 0;
};

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
    MouseTo(at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    return testsupport::PollUntil([&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (msg.message == WM_LBUTTONDOWN && msg.hwnd == window) return true;
        }
        return false;
    });
}

// Drags the files from a free spot of the screen onto point `to`.
DWORD DropFiles(const std::vector<std::wstring>& paths, POINT to) {
    DragPath path = {{1100, 900}, to};
    HWND source = SourceWindow(path.from);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = E_FAIL;
    if (PressOn(source, path.from)) {
        auto* data = new testdrop::FileDataObject(paths);
        auto* dropSource = new PathDropSource(path);
        hr = DoDragDrop(data, dropSource, DROPEFFECT_COPY, &effect);
        data->Release();
        dropSource->Release();
    } else {
        MouseTo(path.from.x, path.from.y, MOUSEEVENTF_LEFTUP);
        ADD_FAILURE() << "the press on the drag source never arrived";
    }
    DestroyWindow(source);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

DWORD DropFiles(const std::vector<std::string>& paths, POINT to) {
    std::vector<std::wstring> wide;
    for (const std::string& p : paths) wide.push_back(testdrop::WidePath(p));
    return DropFiles(wide, to);
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
        // A blank and a comma in every folder the tool hands Explorer.
        dir_ = testfs::MakeTempFolder("e2e a,b");
        std::string cmd = "\"" + RenamerExe() + "\"";
        STARTUPINFOA si = {sizeof si};
        // Its current folder is the test's, as the open dialog leaves the
        // folder the user browsed current.
        ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(), &si, &pi_))
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
    // What the conversion said, and the Explorers it started.
    struct Outcome {
        std::string said;
        std::vector<std::string> explorers;
    };
    // Every Explorer started is the system's, from the Windows folder.
    // (Wine's reports itself from system32 there, whichever copy was
    // started.)
    Outcome Convert(std::size_t explorersExpected) {
        PostMessageA(ChildOf(main_, "Button", "开始将文件名转化为拼音"), BM_CLICK, 0, 0);
        Outcome out;
        out.said = CloseMessageBox(pi_.dwProcessId);
        const std::string windows = WindowsExplorer().substr(0, WindowsExplorer().rfind('\\') + 1);
        for (const StartedProgram& program : StartedExplorers(pi_.dwProcessId, explorersExpected)) {
            EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, program.image.c_str(),
                                     static_cast<int>(std::min(program.image.size(), windows.size())),
                                     windows.c_str(), static_cast<int>(windows.size())),
                      CSTR_EQUAL)
                << program.image << " started with " << program.line;
            out.explorers.push_back(program.line);
        }
        CloseChildProcesses(pi_.dwProcessId);
        return out;
    }
    void Start() {
        EXPECT_EQ(CloseMessageBox(pi_.dwProcessId), "本程序支持文件拖放,把你想处理的文件直接拖进来吧");
        main_ = WaitForTopWindow(pi_.dwProcessId, "RtDesignWindow");
        ASSERT_TRUE(main_);
        list_ = ChildOf(main_, "ListBox");
        ASSERT_TRUE(list_);
    }
    // Explorer's command line for a folder (given with its trailing "\"):
    // the folder as one quoted argument, without that "\", which the usual
    // rules would read as escaping the closing quote.
    static std::vector<std::string> ExplorerOn(const std::string& folder) {
        return {"\"" + WindowsExplorer() + "\" \"" + folder.substr(0, folder.size() - 1) + "\""};
    }

    PROCESS_INFORMATION pi_ = {};
    std::string dir_;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(RenamerProcess, DroppedFilesAreRenamedInTheirFoldersAndFailuresAreReported) {
    Start();
    if (HasFatalFailure()) return;
    HWND list = list_;

    // Files in a Chinese folder and in a folder whose name ends in 0x5C (淺).
    const std::string music = Folder("音乐"), qian = Folder("淺");
    testfs::WriteText(music + "歌曲.mp3", "song");
    testfs::WriteText(music + "绿.txt", "green");
    testfs::WriteText(qian + "中.mp3", "middle");
    const std::vector<std::string> first = {music + "歌曲.mp3", music + "绿.txt", qian + "中.mp3"};
    EXPECT_EQ(DropFiles(first, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list), first);

    Outcome done = Convert(1);
    EXPECT_EQ(done.said, "文件已经处理好了");
    EXPECT_EQ(done.explorers, ExplorerOn(qian));  // the last file's folder
    EXPECT_EQ(testfs::ReadText(music + "ge qu .mp3"), "song");
    EXPECT_EQ(testfs::ReadText(music + "lv .txt"), "green");
    EXPECT_EQ(testfs::ReadText(qian + "zhong .mp3"), "middle");
    EXPECT_EQ(rt::FileExists(music + "歌曲.mp3"), 0);
    EXPECT_TRUE(ListBoxItems(list).empty());
    done = Convert(0);
    EXPECT_EQ(done.said, "请先添加文件");  // nothing left to rename
    EXPECT_TRUE(done.explorers.empty());

    // 行 and 型 both become "xing .mp3"; 消失.mp3 vanishes before the click.
    const std::string clash = Folder("clash");
    testfs::WriteText(clash + "行.mp3", "first");
    testfs::WriteText(clash + "型.mp3", "second");
    testfs::WriteText(clash + "消失.mp3", "gone");
    const std::vector<std::string> second = {clash + "行.mp3", clash + "型.mp3", clash + "消失.mp3"};
    EXPECT_EQ(DropFiles(second, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list), second);  // the drop replaced the list
    DeleteFileA((clash + "消失.mp3").c_str());

    done = Convert(1);
    EXPECT_EQ(done.explorers, ExplorerOn(clash));
    EXPECT_EQ(done.said, "有 2 个文件没有改名：\r\n" + clash + "型.mp3（新名字“xing .mp3”已被别的文件占用）\r\n" + clash + "消失.mp3（文件不存在）");
    EXPECT_EQ(testfs::ReadText(clash + "xing .mp3"), "first");
    EXPECT_EQ(testfs::ReadText(clash + "型.mp3"), "second");
    EXPECT_TRUE(ListBoxItems(list).empty());

    // A name holding ";", the same file dropped twice (once in other letter
    // case), and a file whose new path would be MAX_PATH characters long:
    // the one renamed, the long one kept and said to be too long, 歌.mp3
    // untouched.
    const std::string odd = Folder("odd");
    testfs::WriteText(odd + "x;歌.mp3", "semicolon");
    testfs::WriteText(odd + "歌.mp3", "not dropped");
    // Windows counts a path's length in UTF-16 characters, not in bytes.
    const std::string tail(MAX_PATH - static_cast<std::size_t>(rt::Utf16Length(odd)) - 3, 'a');
    const std::string longName = odd + "歌" + tail;
    ASSERT_EQ(rt::Utf16Length(odd + "ge " + tail), MAX_PATH) << "the new path is 260 characters";
    testfs::WriteText(longName, "long");
    const std::vector<std::string> third = {odd + "x;歌.mp3", longName, odd + "X;歌.MP3"};
    EXPECT_EQ(DropFiles(third, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list), third);
    done = Convert(1);
    EXPECT_EQ(done.explorers, ExplorerOn(odd));
    EXPECT_EQ(done.said, "有 1 个文件没有改名：\r\n" + longName + "（新路径太长）");
    EXPECT_EQ(testfs::ReadText(odd + "x;ge .mp3"), "semicolon");
    EXPECT_EQ(testfs::ReadText(odd + "歌.mp3"), "not dropped");
    EXPECT_EQ(testfs::ReadText(longName), "long");

    PostMessageA(main_, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi_.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

// The folder the user browsed, current in the tool, holds a program named
// explorer.exe beside the song: searched for by its bare name, that program
// would be the one found (and told its folder as Explorer would be). The
// Windows folder's own Explorer opens the folder, blank and comma and all.
TEST_F(RenamerProcess, ExplorerIsTheWindowsFoldersOwnNeverAProgramInTheCurrentFolder) {
    Start();
    if (HasFatalFailure()) return;
    const std::string planted = ThisFolder() + "\\e2e_planted_program.exe";
    ASSERT_TRUE(CopyFileA(planted.c_str(), (dir_ + "explorer.exe").c_str(), TRUE)) << planted;
    testfs::WriteText(dir_ + "歌.mp3", "song");
    EXPECT_EQ(DropFiles({dir_ + "歌.mp3"}, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));

    const Outcome done = Convert(1);
    EXPECT_EQ(done.said, "文件已经处理好了");
    EXPECT_EQ(done.explorers, ExplorerOn(dir_));
    EXPECT_EQ(testfs::ReadText(dir_ + "planted-ran.txt"), "") << "the planted program ran";
    EXPECT_EQ(testfs::ReadText(dir_ + "ge .mp3"), "song");
}

// A deep Chinese folder of more than MAX_PATH bytes (but fewer characters),
// a new name that is a device's, and a name with a character outside GBK,
// dropped from Explorer (UTF-16): the first renamed, the others kept and
// said, Explorer opened on the deep folder.
TEST_F(RenamerProcess, LongPathsDeviceNamesAndNamesOutsideGbkAreHandledAsTheDiskShows) {
    Start();
    if (HasFatalFailure()) return;
    std::string deep = dir_;
    for (const char* ch : {"文", "字", "夹"}) {
        for (int i = 0; i < 40; ++i) deep += ch;
        deep += "\\";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    }
    ASSERT_GT(deep.size() + sizeof "ge .mp3", static_cast<std::size_t>(MAX_PATH));
    testfs::WriteText(deep + "歌.mp3", "deep");
    const std::string dev = Folder("dev"), lost = Folder("lost");
    testfs::WriteText(dev + "co嗯.mp3", "device");  // 嗯 reads "n": "con .mp3"
    const std::wstring hangul = testdrop::WidePath(lost) + L"\x6B4C\xAC00.mp3";  // 歌가
    HANDLE f = CreateFileW(hangul.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);

    const std::vector<std::wstring> dropped = {testdrop::WidePath(dev + "co嗯.mp3"), hangul,
                                               testdrop::WidePath(deep + "歌.mp3")};
    EXPECT_EQ(DropFiles(dropped, OverListBox()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(ListBoxItems(list_), (std::vector<std::string>{dev + "co嗯.mp3", lost + "歌?.mp3", deep + "歌.mp3"}));

    const Outcome done = Convert(1);
    EXPECT_EQ(done.said, "有 2 个文件没有改名：\r\n" + dev + "co嗯.mp3（新名字“con .mp3”是系统保留的设备名）\r\n" + lost +
                             "歌?.mp3（文件名里有本程序不能处理的字符）");
    EXPECT_EQ(done.explorers, ExplorerOn(deep));
    EXPECT_EQ(testfs::ReadText(deep + "ge .mp3"), "deep");
    EXPECT_EQ(rt::FileExists(deep + "歌.mp3"), 0);
    EXPECT_EQ(testfs::ReadText(dev + "co嗯.mp3"), "device");
    EXPECT_NE(GetFileAttributesW(hangul.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
