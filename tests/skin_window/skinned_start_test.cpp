// The real PinyinRenamer.exe starts skinned: its window is hidden while the
// start-up message is up, and when it first shows, it already has the
// skin's rounded region and its cached rendering on the screen; a real
// click on its close caption button ends it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/waits.h"

namespace {

std::string RenamerExe() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    for (int up = 0; up < 3; ++up) dir = dir.substr(0, dir.find_last_of('\\'));  // the build folder
    return dir + "\\app\\PinyinRenamer.exe";
}

struct Search {
    DWORD pid;
    const char* cls;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK Match(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    if (owner != s->pid || lstrcmpA(name, s->cls) || (s->visibleOnly && !IsWindowVisible(h)))
        return TRUE;
    s->found = h;
    return FALSE;
}

HWND TopWindowOf(DWORD pid, const char* cls, bool visibleOnly) {
    Search s{pid, cls, visibleOnly, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForTopWindow(DWORD pid, const char* cls, bool visibleOnly) {
    HWND h = nullptr;
    testsupport::PollUntil([&] { return (h = TopWindowOf(pid, cls, visibleOnly)); });
    return h;
}

void MouseInput(int x, int y, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    // The tool takes its input in the order it was given, each press where
    // the pointer was moved to before it: nothing to wait for in between.
    SendInput(1, &in, sizeof in);
}

void ClickAt(int x, int y) {
    MouseInput(x - 30, y + 5, 0);
    MouseInput(x, y, 0);
    MouseInput(x, y, MOUSEEVENTF_LEFTDOWN);
    MouseInput(x, y, MOUSEEVENTF_LEFTUP);
}

class SkinnedStart : public testing::Test {
protected:
    void SetUp() override {
        std::string cmd = "\"" + RenamerExe() + "\"";
        STARTUPINFOA si = {sizeof si};
        ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &pi_))
            << RenamerExe();
    }
    void TearDown() override {
        if (!pi_.hProcess) return;
        if (HWND w = TopWindowOf(pi_.dwProcessId, "RtDesignWindow", false))
            PostMessageA(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    PROCESS_INFORMATION pi_ = {};
};

TEST_F(SkinnedStart, TheFirstFrameOfTheMainWindowIsSkinned) {
    // The start-up message comes while the window is still hidden, already
    // skinned.
    HWND box = WaitForTopWindow(pi_.dwProcessId, "#32770", true);
    ASSERT_NE(box, nullptr);
    HWND main = TopWindowOf(pi_.dwProcessId, "RtDesignWindow", false);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(GetPropA(main, "Hw_lbID"), reinterpret_cast<HANDLE>(1));
    EXPECT_NE(GetPropA(main, "Hw_hProc"), nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    // The moment it shows, it has the rounded region.
    ASSERT_EQ(WaitForTopWindow(pi_.dwProcessId, "RtDesignWindow", true), main);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(main, region);
    RECT r{};
    GetWindowRect(main, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(w, 698);
    EXPECT_EQ(h, 501);
    ASSERT_EQ(kind, COMPLEXREGION);
    HRGN rounded = CreateRoundRectRgn(0, 0, w + 1, h + 1, 5, 5);
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(difference, region, rounded, RGN_XOR), NULLREGION);
    DeleteObject(difference);
    DeleteObject(rounded);
    DeleteObject(region);

    // On the screen: the skin's caption, not the window face colour. The
    // tool's drawing reaches the screen when the tool gets to it, so the
    // screen is read until it shows the caption (or the bound ends it).
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int skinned = 0;
    testsupport::PollUntil([&] {
        HDC screen = GetDC(nullptr);
        skinned = 0;
        for (int x : {20, 150, 450, 560, 650})
            if (GetPixel(screen, r.left + x, r.top + 12) != face) ++skinned;
        ReleaseDC(nullptr, screen);
        return skinned == 5;
    });
    EXPECT_EQ(skinned, 5);

    // A real click on the close caption button closes the tool.
    ClickAt(r.left + 680, r.top + 10);
    ASSERT_EQ(WaitForSingleObject(pi_.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace
