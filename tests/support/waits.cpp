#include "tests/support/waits.h"

namespace testsupport {

bool PollUntil(const std::function<bool()>& ready, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!ready()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(10);
    }
    return true;
}

namespace {

struct Wanted {
    const char* cls;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchVisible(HWND w, LPARAM lp) {
    auto* wanted = reinterpret_cast<Wanted*>(lp);
    char cls[64] = {}, title[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, wanted->cls) || !IsWindowVisible(w)) return TRUE;
    // The title is asked only when it matters: for a window of this process
    // that is a message its thread has to answer.
    if (wanted->title && (GetWindowTextA(w, title, sizeof title), lstrcmpA(title, wanted->title)))
        return TRUE;
    wanted->found = w;
    return FALSE;
}

}  // namespace

HWND VisibleThreadWindow(DWORD thread, const char* cls, const char* title) {
    Wanted wanted{cls, title, nullptr};
    EnumThreadWindows(thread, MatchVisible, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

}  // namespace testsupport
