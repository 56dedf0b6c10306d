// Times RenderWindow of the main window's setup (698 x 501, the carried
// 624 x 447 picture stretched) and BlitWindowCache, beside a bare BitBlt of
// the window's size in the same run, with the tool window's six children in
// place. Medians in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "resources/carried.h"
#include "skin/engine.h"
#include "skin/frame.h"
#include "skin/helpers.h"
#include "skin/test_hooks.h"
#include "skin/record.h"
#include "skin/controls/list_control.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median time of `runs` calls of work, each after `before` (not timed).
double Median(int runs, const std::function<void()>& work,
              const std::function<void()>& before = [] {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        before();
        const double start = Now();
        work();
        GdiFlush();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::vector<unsigned char> CacheBytes(HDC dc, int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> bytes(static_cast<size_t>(w) * h * 4);
    HBITMAP current = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    GetDIBits(dc, current, 0, h, bytes.data(), &info, DIB_RGB_COLORS);
    return bytes;
}

// One WM_PAINT of the main window's list box (its place, styles and the
// application's glass alpha 10) holding 40 paths, skinned and the same list
// box with its own procedure back, alternating. Medians in milliseconds.
void BenchListBoxPaint(HWND window, int record, int runs) {
    skin::Engine->SetControlOptions(1, 10);
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, "LISTBOX", "",
        WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL |
            WS_TABSTOP,
        1, 32, 695, 472, window, nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int i = 1; i <= 40; ++i) {
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, "D:\\音乐\\精选集 %02d\\第%02d首 夜空中最亮的星.mp3",
                      i % 7 + 1, i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
    }
    skin::AttachListControls(record, window);
    const LONG_PTR skinned = GetWindowLongPtrA(list, GWLP_WNDPROC);
    const LONG_PTR own = reinterpret_cast<LONG_PTR>(GetPropA(list, "Hw_hProc"));
    std::vector<double> skinnedTimes, ownTimes;
    auto paint = [&](LONG_PTR proc, std::vector<double>& times) {
        SetWindowLongPtrA(list, GWLP_WNDPROC, proc);
        InvalidateRect(list, nullptr, TRUE);
        const double start = Now();
        UpdateWindow(list);
        GdiFlush();
        times.push_back(Now() - start);
    };
    for (int i = 0; i < runs; ++i) {
        paint(skinned, skinnedTimes);
        paint(own, ownTimes);
    }
    SetWindowLongPtrA(list, GWLP_WNDPROC, skinned);
    std::sort(skinnedTimes.begin(), skinnedTimes.end());
    std::sort(ownTimes.begin(), ownTimes.end());
    const double withSkin = skinnedTimes[skinnedTimes.size() / 2];
    const double without = ownTimes[ownTimes.size() / 2];
    std::printf("list box paint, skinned (40 paths):  median %.3f ms (%d runs)\n", withSkin,
                runs);
    std::printf("list box paint, unskinned:           median %.3f ms (%d runs)\n", without,
                runs);
    std::printf("skinned / unskinned list box paint: %.2f\n",
                without > 0 ? withSkin / without : 0.0);
    DestroyWindow(list);
}

}  // namespace

int main(int argc, char** argv) {
    const int renders = argc > 1 ? std::max(3, std::atoi(argv[1])) : 100;
    skin::SkinModuleStart();
    if (!skin::ProgramIcon) skin::ProgramIcon = LoadIconA(nullptr, IDI_APPLICATION);

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchRenderWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "拼音批量改名",
                                  WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 20, 20, 698, 501,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    const rt::ByteString& picture = res::SkinBackground();
    skin::Engine->SetSkinTheme({}, &picture, {}, {}, 3);
    skin::Engine->AttachSkin(window, {}, 1, 0, 0, 0, 1, 0);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const int record = skin::FindWindowRecord(window);
    if (record <= 0) {
        std::printf("the window could not be skinned\n");
        return 1;
    }
    // The children of the tool's window, whose places the blit clips out:
    // three buttons and the list box shown, two labels hidden.
    struct Child {
        const char* cls;
        DWORD style;
        int x, y, cw, ch;
    };
    const Child children[] = {
        {"BUTTON", WS_VISIBLE, 40, 420, 120, 30},  {"BUTTON", WS_VISIBLE, 280, 420, 160, 30},
        {"BUTTON", WS_VISIBLE, 540, 420, 100, 30}, {"LISTBOX", WS_VISIBLE, 40, 60, 600, 340},
        {"STATIC", 0, 40, 460, 200, 20},           {"STATIC", 0, 400, 460, 200, 20},
    };
    for (const Child& c : children)
        CreateWindowExA(0, c.cls, "", WS_CHILD | c.style, c.x, c.y, c.cw, c.ch, window, nullptr,
                        wc.hInstance, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;

    // A rendering that draws the background from the picture, as every
    // rendering would without the kept background.
    skin::test_hooks::ForgetBackgroundLayer(record);
    skin::Engine->RenderWindow(record, 1);
    const auto fromPicture = CacheBytes(skin::SkinWindowTable[record].WindowCacheDc, w, h);
    skin::Engine->RenderWindow(record, 1);
    const auto kept = CacheBytes(skin::SkinWindowTable[record].WindowCacheDc, w, h);

    const int literalRuns = std::max(3, renders / 10);
    const double literal = Median(
        literalRuns, [&] { skin::Engine->RenderWindow(record, 1); },
        [&] { skin::test_hooks::ForgetBackgroundLayer(record); });
    const double render = Median(renders, [&] { skin::Engine->RenderWindow(record, 1); });

    const HDC cache = skin::SkinWindowTable[record].WindowCacheDc;
    // The shown children's places, found once: the floor for a copy that
    // clips them out without asking which children there are.
    std::vector<RECT> shown;
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr))
        if (IsWindowVisible(child)) shown.push_back(skin::GetRectInParentClient(child));
    // Each copy gets a fresh DC, as each paint does; the three alternate, so
    // that all see the same machine.
    auto timed = [&](const std::function<void(HDC)>& copy) {
        HDC screen = GetDC(window);
        const double start = Now();
        copy(screen);
        GdiFlush();
        const double took = Now() - start;
        ReleaseDC(window, screen);
        return took;
    };
    const int blits = renders * 20;
    std::vector<double> blitTimes, bareTimes, clippedTimes;
    for (int i = 0; i < blits; ++i) {
        bareTimes.push_back(timed([&](HDC dc) { BitBlt(dc, 0, 0, w, h, cache, 0, 0, SRCCOPY); }));
        clippedTimes.push_back(timed([&](HDC dc) {
            for (const RECT& r : shown) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
            BitBlt(dc, 0, 0, w, h, cache, 0, 0, SRCCOPY);
        }));
        blitTimes.push_back(timed([&](HDC dc) { skin::Engine->BlitWindowCache(record, dc); }));
    }
    auto median = [](std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double blit = median(blitTimes);
    const double bare = median(bareTimes);
    const double clipped = median(clippedTimes);

    std::printf("window %d x %d, carried picture stretched (mode 3), %d children (4 shown)\n",
                w, h, static_cast<int>(sizeof children / sizeof children[0]));
    std::printf("render, background from the picture: median %.2f ms (%d runs)\n", literal,
                literalRuns);
    std::printf("render, kept background:             median %.2f ms (%d runs)\n", render,
                renders);
    std::printf("same pixels: %s\n", fromPicture == kept ? "yes" : "NO");
    std::printf("BlitWindowCache:                     median %.3f ms (%d runs)\n", blit, blits);
    std::printf("bare BitBlt of the window size:      median %.3f ms (%d runs)\n", bare, blits);
    std::printf("BitBlt, known children clipped out:  median %.3f ms (%d runs)\n", clipped,
                blits);
    std::printf("blit / bare BitBlt: %.2f   blit / clipped BitBlt: %.2f\n",
                bare > 0 ? blit / bare : 0.0, clipped > 0 ? blit / clipped : 0.0);
    BenchListBoxPaint(window, record, renders * 2);
    DestroyWindow(window);
    return 0;
}
