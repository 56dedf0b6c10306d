#include "skin/controls/check_radio.h"

#include <gdiplus.h>

#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "resources/carried.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/image_button.h"
#include "skin/controls/push_button.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr int kUnitPixel = 2;

// The capture-draw-blit frame of both painters, on the control's own DC.
template <class Draw>
void PaintMark(HWND control, Draw draw) {
    const SkinnedButton* entry = FindSkinnedButton(control);
    if (!entry) return;
    RECT rect{};
    GetClientRect(control, &rect);
    WindowDc dc(control);
    PaintOverBackground(control, dc, rect, [&](drw::GraphicsObject& g, int w, int h) {
        draw(g, *entry, static_cast<double>(rect.left), static_cast<double>(rect.top), w, h);
    });
}

bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void DrawMarkCaption(drw::GraphicsObject& g, HWND control, const SkinnedButton& entry, double x,
                     double y, double w, double h) {
    DrawCaption(g, control, entry.Text, entry.FontName, entry.FontSize, entry.FontStyle,
                kUnitPixel, static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                static_cast<float>(h), Gdiplus::StringAlignmentNear,
                Gdiplus::StringAlignmentCenter);
}

bool IsCheckOrRadio(int32_t kind) { return kind == kRadioButton || kind == kCheckBox; }

// The painters of check boxes and radio buttons repaint after the replaced
// procedure has acted (it changes the check state and draws its own look).
LRESULT ActThenRepaintCheckOrRadio(HWND control, int32_t kind, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    CallPreviousProc(control, message, wParam, lParam);
    if (kind == kRadioButton)
        PaintRadioButton(control, ODS_SELECTED);
    else
        PaintCheckBox(control, 0);
    return DefWindowProcA(control, message, wParam, lParam);
}

// The replaced procedure answers a press or release (BM_SETSTATE), a focus
// change, a new caption and a change of the enabled state of a check box or
// radio button by drawing its own look (box, focus rectangle, caption)
// straight on the screen, not through WM_PAINT: the skinned look is painted
// back over it at once, hot while the mouse is on it.
LRESULT ActThenRestoreCheckOrRadio(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallPreviousProc(control, message, wParam, lParam);
    // Looked up again: the replaced procedure may have notified the parent,
    // and what the parent did may have moved or removed the entry.
    SkinWindowRecord* record = nullptr;
    const SkinnedButton* entry = FindSkinnedButton(control, &record);
    if (!entry) return result;
    const bool hot = record->HotControlClass == kHotButton &&
                     record->PreviousHotEntry == static_cast<int>(ReadProp(control, prop::Hw_lbID));
    RepaintButtonNow(control, entry->Focused == 1 ? ODS_FOCUS : 0, hot ? 1 : 0);
    return result;
}

LRESULT PaintCheckOrRadio(HWND control, int32_t kind, WPARAM wParam, LPARAM lParam) {
    return PaintWhole(control, wParam, lParam, [&] {
        if (kind == kCheckBox)
            PaintCheckBox(control, 0);
        else
            PaintRadioButton(control, 0);
    });
}

}  // namespace

bool IsCheckBoxStyle(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    return (style & 0x2) != 0 && (style & 0x4) == 0;
}

void AttachCheckAndRadioButtons(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    for (HWND child = FindWindowExA(parent, nullptr, "BUTTON", nullptr); child;
         child = FindWindowExA(parent, child, "BUTTON", nullptr)) {
        if (!IsAutoRadioButton(child) && !IsCheckBoxStyle(child)) continue;
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if ((style & BS_OWNERDRAW) == BS_OWNERDRAW) continue;
        // A second attach must not subclass the control again: the button
        // procedure would become its own replaced procedure and loop.
        if (IsSkinSubclassed(child)) continue;
        auto& buttons = SkinWindowTable[record].Buttons;
        const int index = TakeEntry(buttons);
        SkinnedButton& entry = buttons[index];
        entry.Text = ReadWindowText(child);
        entry.Kind = IsCheckBoxStyle(child) ? kCheckBox : kRadioButton;
        SubclassControl(entry, child, record, index, ButtonSkinProc);
        // Without a readable font the caption could not be drawn at all.
        const ControlFont font = ReadControlFontOrDefault(child);
        entry.FontName = font.FaceName;
        entry.FontSize = font.Size;
        entry.FontStyle = font.Style;
    }
}

void PaintRadioButton(HWND control, UINT state) {
    PaintMark(control, [&](drw::GraphicsObject& g, const SkinnedButton& entry, double x, double y,
                           int w, int h) {
        auto f = [](double v) { return static_cast<float>(v); };
        g.SetSmoothingMode(kSmoothingAntiAlias);
        {
            drw::PenObject ring;
            ring.Create(0xC8000000, 1.0f);
            g.DrawEllipse(ring, f(x + 2), f(y + (h - 12) / 2.0), 12, 12);
        }
        drw::PathObject face;
        face.Create();
        face.AddEllipse(f(x + 3), f(y + (h - 11) / 2.0 + 1), 9, 9);
        OutlinePath(g, face, 0xFFFFFFFF);
        FillPathSolid(g, face, 0xFFFFFFFF);
        const double p1x = x + 3, p1y = y + (h - 12) / 2.0 + 1;
        FillPathGradient(g, face, f(p1x), f(p1y), f(x + 10), f(p1y + 10), 0x64000000, 0);
        if (HasState(state, kStateHot)) {
            FillPathGradient(g, face, f(p1x), f(p1y), f(x + 11), f(p1y + 11),
                             ColorRefToArgb(ThemeColor, 100), 0);
            StrokePath(g, face, 2, 0x00DDCA22, 30);
        }
        if (IsChecked(control)) {
            drw::PathObject dot;
            dot.Create();
            dot.AddEllipse(f(x + 5), f(y + (h - 12) / 2.0 + 3), 6, 6);
            OutlinePath(g, dot, 0xC8000000);
            drw::PathBrushObject glow;
            glow.CreateFromPath(dot);
            glow.SetCenterColor(0x64FFFFFF);
            rt::CountedArray<drw::ARGB> surround;
            surround.Append(ColorRefToArgb(0x808000, 255));
            glow.SetSurroundColors(surround);
            g.FillPath(glow, dot);
        }
        DrawMarkCaption(g, control, entry, x + 18, 2, w, h);
    });
}

void PaintCheckBox(HWND control, UINT state) {
    PaintMark(control, [&](drw::GraphicsObject& g, const SkinnedButton& entry, double x, double y,
                           int w, int h) {
        auto f = [](double v) { return static_cast<float>(v); };
        const double top = y + (h - 13) / 2.0;
        DrawPicture(g, res::CheckBoxUncheckedImage(), f(x), f(top));
        if (IsChecked(control)) DrawPicture(g, res::CheckBoxCheckedImage(), f(x), f(top));
        if (HasState(state, kStateHot)) {
            drw::PathObject box;
            box.Create();
            box.AddRectangle(f(x), f(top), 13, 13);
            const double p1y = y + (h - 12) / 2.0 + 1;
            FillPathGradient(g, box, f(x + 3), f(p1y), f(x + 11), f(p1y + 11),
                             ColorRefToArgb(ThemeColor, 100), 0);
            StrokePath(g, box, 2, 0x00DDCA22, 30);
        }
        DrawMarkCaption(g, control, entry, x + 17, 2, w - 19, h);
    });
}

bool AnswerCheckOrRadioMessage(HWND control, int32_t kind, UINT message, WPARAM wParam,
                               LPARAM lParam, LRESULT& result) {
    if (!IsCheckOrRadio(kind)) return false;
    switch (message) {
    case WM_LBUTTONDOWN:
    case BM_SETCHECK:
        result = ActThenRepaintCheckOrRadio(control, kind, message, wParam, lParam);
        return true;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE) return false;
        result = ActThenRepaintCheckOrRadio(control, kind, message, wParam, lParam);
        return true;
    case WM_PAINT:
        result = PaintCheckOrRadio(control, kind, wParam, lParam);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case BM_SETSTATE:
    case WM_SETTEXT:
    case WM_ENABLE:
        result = ActThenRestoreCheckOrRadio(control, message, wParam, lParam);
        return true;
    default:
        return false;
    }
}

}  // namespace skin
