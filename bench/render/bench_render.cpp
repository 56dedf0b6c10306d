// Times RenderWindow of the main window's setup (698 x 501, the carried
// 624 x 447 picture stretched) and BlitWindowCache, beside a bare BitBlt of
// the window's size in the same run. Medians in milliseconds.
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
#include "skin/record.h"

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
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;

    // A rendering that draws the background from the picture, as every
    // rendering would without the kept background.
    skin::ForgetBackgroundLayer(record);
    skin::Engine->RenderWindow(record, 1);
    const auto fromPicture = CacheBytes(skin::SkinWindowTable[record].WindowCacheDc, w, h);
    skin::Engine->RenderWindow(record, 1);
    const auto kept = CacheBytes(skin::SkinWindowTable[record].WindowCacheDc, w, h);

    const int literalRuns = std::max(3, renders / 10);
    const double literal = Median(
        literalRuns, [&] { skin::Engine->RenderWindow(record, 1); },
        [&] { skin::ForgetBackgroundLayer(record); });
    const double render = Median(renders, [&] { skin::Engine->RenderWindow(record, 1); });

    HDC screen = GetDC(window);
    const HDC cache = skin::SkinWindowTable[record].WindowCacheDc;
    // Blit and bare BitBlt alternate, so that both see the same machine.
    const int blits = renders * 20;
    std::vector<double> blitTimes, bareTimes;
    for (int i = 0; i < blits; ++i) {
        double start = Now();
        BitBlt(screen, 0, 0, w, h, cache, 0, 0, SRCCOPY);
        GdiFlush();
        bareTimes.push_back(Now() - start);
        start = Now();
        skin::Engine->BlitWindowCache(record, screen);
        GdiFlush();
        blitTimes.push_back(Now() - start);
    }
    std::sort(blitTimes.begin(), blitTimes.end());
    std::sort(bareTimes.begin(), bareTimes.end());
    const double blit = blitTimes[blitTimes.size() / 2];
    const double bare = bareTimes[bareTimes.size() / 2];
    ReleaseDC(window, screen);

    std::printf("window %d x %d, carried picture stretched (mode 3)\n", w, h);
    std::printf("render, background from the picture: median %.2f ms (%d runs)\n", literal,
                literalRuns);
    std::printf("render, kept background:             median %.2f ms (%d runs)\n", render,
                renders);
    std::printf("same pixels: %s\n", fromPicture == kept ? "yes" : "NO");
    std::printf("BlitWindowCache:                     median %.3f ms (%d runs)\n", blit, blits);
    std::printf("bare BitBlt of the window size:      median %.3f ms (%d runs)\n", bare, blits);
    std::printf("blit / bare BitBlt: %.2f\n", bare > 0 ? blit / bare : 0.0);
    DestroyWindow(window);
    return 0;
}
