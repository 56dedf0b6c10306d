#include "skin/controls/up_down.h"

#include <commctrl.h>

#include "drawing/graphics.h"
#include "drawing/image.h"
#include "drawing/path.h"
#include "resources/carried.h"
#include "skin/capture.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr int kCompositingHighQuality = 2;

struct WindowSize {
    int w = 0, h = 0;
};
WindowSize SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int HalfOf(bool horizontal, WindowSize size, LPARAM position) {
    if (horizontal) return MouseX(position) > size.w / 2 ? 1 : 0;
    return MouseY(position) > size.h / 2 ? 1 : 0;
}

// One half-button: its rounded rectangle, its gradient's two points, its
// arrow and where the arrow's box is centred.
struct Half {
    float x, y, w, h;
    drw::PointF from, to;
    const rt::ByteString& arrow;
    float boxX, boxY;  // top-left of the half's w x h box the arrow is centred in
};

void PaintHalf(drw::GraphicsObject& g, const Half& half, float hw, float hh, bool active,
               bool pressed, bool upperOfVertical) {
    uint32_t pen = 0x64000000, from = 0x14FFFFFF, to = ColorRefToArgb(ThemeColor, 100);
    if (active) {
        pen = ColorRefToArgb(ThemeColor, 200);
        from = pressed ? ColorRefToArgb(ThemeColor, 100) : 0x64FFFFFF;
        to = pressed ? 0x96FFFFFF : ColorRefToArgb(ThemeColor, 150);
    } else if (upperOfVertical) {
        from = 0x3CFFFFFF;
    }
    drw::PathObject path;
    path.Create();
    AddRoundedRectPath(path, half.x, half.y, half.w, half.h, 3);
    FillPathGradient(g, path, half.from.x, half.from.y, half.to.x, half.to.y, from, to);
    drw::ImageObject arrow;
    if (!half.arrow.empty() && arrow.LoadFromBytes(half.arrow)) {
        const float iw = static_cast<float>(arrow.GetWidth());
        const float ih = static_cast<float>(arrow.GetHeight());
        g.DrawImageRect(arrow, half.boxX + (hw - iw) / 2, half.boxY + (hh - ih) / 2, iw, ih);
    }
    OutlinePath(g, path, pen);
}

}  // namespace

void AttachUpDowns(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    AttachChildrenOfClass(record, parent, UPDOWN_CLASSA, &SkinWindowRecord::UpDowns,
                          UpDownSkinProc, [](SkinnedUpDown& entry, HWND child) {
                              entry.Horizontal =
                                  (GetWindowLongA(child, GWL_STYLE) & UDS_HORZ) ? 1 : 0;
                          });
}

int GetUpDownHalf(int record, int entry, LPARAM position) {
    const SkinnedUpDown& u = SkinWindowTable[record].UpDowns[entry];
    return HalfOf(u.Horizontal != 0, SizeOf(u.Window), position);
}

void PaintUpDown(int record, int entry, std::optional<int> hot, std::optional<int> pressed,
                 std::optional<LPARAM> position) {
    const SkinnedUpDown u = SkinWindowTable[record].UpDowns[entry];
    const bool horizontal = u.Horizontal != 0;
    const int isHot = hot.value_or(u.Hot);
    const bool isPressed = pressed.value_or(u.Pressed) != 0;
    const LPARAM at = position.value_or(u.LastButtonPosition);
    const WindowSize size = SizeOf(u.Window);
    const int W = size.w, H = size.h;
    const int active = isHot ? HalfOf(horizontal, size, at) : -1;
    const float hw = static_cast<float>(horizontal ? W / 2 : W);
    const float hh = static_cast<float>(horizontal ? H : H / 2);
    const float fw = static_cast<float>(W), fh = static_cast<float>(H);

    WindowDc dc(u.Window, DcArea::Window);
    PaintOverBackground(u.Window, dc, RECT{0, 0, W, H}, [&](drw::GraphicsObject& g, int, int) {
        g.SetSmoothingMode(kSmoothingAntiAlias);
        g.SetCompositingQuality(kCompositingHighQuality);
        drw::PathObject base;
        base.Create();
        AddRoundedRectPath(base, 0, 0, fw - 1, fh - 1, 3);
        FillPathSolid(g, base, 0xA0FFFFFF);

        if (!horizontal) {
            const Half upper{0, 0, fw - 1, hh - 1, {0, 0}, {0, hh - 1}, res::ArrowUpImage(), 0, 0};
            const Half lower{0, hh, fw - 1, hh - 1, {0, hh}, {0, fh}, res::ArrowDownImage(), 0, hh};
            PaintHalf(g, upper, hw, hh, active == 0, isPressed, true);
            PaintHalf(g, lower, hw, hh, active == 1, isPressed, false);
        } else {
            const Half left{0, 0, hw - 1, fh - 1, {0, 0}, {hw - 1, 0}, res::ArrowLeftImage(), 0, 0};
            const Half right{hw, 0, hw - 1, fh - 1, {hw - 1, 0}, {fw, 0}, res::ArrowRightImage(),
                             hw, 0};
            PaintHalf(g, left, hw, hh, active == 0, isPressed, false);
            PaintHalf(g, right, hw, hh, active == 1, isPressed, false);
        }
    });
}

LRESULT CALLBACK UpDownSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    SkinnedUpDown* u = LiveEntryOf(window, &SkinWindowRecord::UpDowns, &ids);
    if (!u) return CallPreviousProc(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE: {
        TrackMouseLeave(window);
        SkinWindowRecord& r = SkinWindowTable[ids.record];
        r.HotEntry = ids.entry;
        const int half = GetUpDownHalf(ids.record, ids.entry, lParam);
        if (r.HotEntry != r.PreviousHotEntry || r.HotControlClass != kHotUpDown ||
            half != u->HotHalf) {
            PaintUpDown(ids.record, ids.entry, 1, {}, lParam);
            u->Hot = 1;
        }
        r.PreviousHotEntry = r.HotEntry;
        r.HotControlClass = kHotUpDown;
        u->HotHalf = half;
        break;
    }
    case WM_MOUSELEAVE:
        SkinWindowTable[ids.record].PreviousHotEntry = 0;
        u->Hot = 0;
        PaintUpDown(ids.record, ids.entry, 0);
        break;
    case WM_MOVE:
        PaintUpDown(ids.record, ids.entry);
        break;
    case WM_ERASEBKGND:
        return EraseNothing(wParam);
    case WM_PAINT:
        PaintUpDown(ids.record, ids.entry);
        return DefWindowProcA(window, WM_PAINT, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        u->Pressed = message == WM_LBUTTONDOWN ? 1 : 0;
        u->LastButtonPosition = lParam;
        break;
    case WM_NCPAINT:
        return 1;
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

}  // namespace skin
