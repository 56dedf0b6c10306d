// The list box of the skinned MainWindow (built by the runtime with the real
// handlers; message boxes, Explorer and the dialog are not shown): the
// window's picture shows through its empty client area behind the faint
// white veil of the tool's own glass alpha, not the engine's default one.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/file_list.h"
#include "app/main_window.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace {

void IgnoreMessage(const rt::AnsiText&) {}
bool IgnoreRun(const rt::AnsiText&, const rt::AnsiText&, bool) { return true; }
rt::AnsiText NoDialog(HWND, const rt::AnsiText&, const rt::AnsiText&, const rt::AnsiText&, DWORD* error) {
    *error = 0;
    return rt::AnsiText();
}

// The alpha the tool skins its window with, and the engine's default.
constexpr int kToolAlpha = 10, kEngineDefault = 160;

// White laid over c at alpha, as one fill leaves it.
COLORREF Veiled(COLORREF c, int alpha) {
    auto channel = [alpha](int v) { return v + ((255 - v) * alpha + 127) / 255; };
    return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

int Distance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

TEST(MainWindowListBox, ShowsThePictureBehindTheToolsOwnGlass) {
    app::CurrentEffects() = {IgnoreMessage, IgnoreRun, NoDialog, rt::RegisterDropTarget};
    const int unit = rt::BuildWindow(app::MainWindowDesign());
    HWND window = rt::UnitWindow(unit);
    HWND list = rt::UnitWindow(rt::UnitId(app::kListBox));
    app::ClearFiles(list);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    MSG msg;
    for (int n = 0; n < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n)
        DispatchMessageA(&msg);

    const int record = skin::FindWindowRecord(window);
    ASSERT_GT(record, 0);
    const HDC rendering = skin::SkinWindowTable[record].WindowCacheDc;
    ASSERT_TRUE(rendering);
    RECT client{};
    GetClientRect(list, &client);
    POINT origin{0, 0};
    MapWindowPoints(list, window, &origin, 1);

    // A grid over the empty client area: each pixel the picture under it
    // behind the veil at the tool's alpha (rounding aside), where the
    // default alpha would turn it nearly white.
    const int bound = 3;
    int sampled = 0, telling = 0;
    std::string misses;
    HDC dc = GetDC(list);
    for (int y = 5; y < client.bottom; y += 37) {
        for (int x = 5; x < client.right; x += 41) {
            const COLORREF under = GetPixel(rendering, origin.x + x, origin.y + y);
            const COLORREF shown = GetPixel(dc, x, y);
            ++sampled;
            if (Distance(Veiled(under, kEngineDefault), Veiled(under, kToolAlpha)) > 4 * bound) ++telling;
            if (Distance(shown, Veiled(under, kToolAlpha)) > bound && misses.size() < 400) {
                char text[96];
                wsprintfA(text, "(%d,%d) shows COLORREF %06X over %06X; ", x, y, shown, under);
                misses += text;
            }
        }
    }
    ReleaseDC(list, dc);
    // The picture is dark enough under the list box for the two alphas to
    // look apart.
    EXPECT_GT(telling, sampled * 3 / 4);
    EXPECT_TRUE(misses.empty()) << misses;

    rt::DestroyBuiltWindow(unit);
}

}  // namespace
