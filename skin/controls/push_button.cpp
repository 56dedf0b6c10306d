#include "skin/controls/push_button.h"

#include <gdiplus.h>

#include "drawing/font.h"
#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "skin/capture.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/image_button.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr LONG kOwnerDraw = BS_OWNERDRAW;  // 0xB
constexpr int kUnitWorld = 0;

bool HasAllBits(LONG value, LONG bits) { return (value & bits) == bits; }

void OnMouseMove(HWND control, SkinWindowRecord& record, int entry) {
    TrackMouseLeave(control);
    record.HotEntry = entry;
    if (record.HotEntry != record.PreviousHotEntry || record.HotControlClass != kHotButton) {
        RepaintButtonNow(control, 0, 1);
        record.PreviousHotEntry = record.HotEntry;
        record.HotControlClass = kHotButton;
    }
}

void OnMouseLeave(HWND control, SkinWindowRecord& record, const SkinnedButton& entry) {
    record.PreviousHotEntry = 0;
    if (entry.Focused == 1)
        RepaintButtonNow(control, ODS_FOCUS, 0);
    else
        RepaintButtonNow(control, 0, 0);
}

// The button's last message. An image button's tip window has no parent, so
// nothing else takes it away: it goes with the button, once the procedures
// under the skin's are done with the button (the tip's own hold on the
// button's messages ends with the tip).
LRESULT EndButton(HWND control, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    const SkinnedButton* entry = LiveEntryOf(control, &SkinWindowRecord::Buttons, &ids);
    const HWND tip = entry ? entry->Tooltip.GetHwnd() : nullptr;
    const LRESULT result = CallPreviousProc(control, WM_NCDESTROY, wParam, lParam);
    if (tip) {
        // Looked up again: the procedures just called may have changed the table.
        SkinnedButton* still = EntryAt(ids, control, &SkinWindowRecord::Buttons);
        if (still && still->Tooltip.GetHwnd() == tip) still->Tooltip.TipWindow = nullptr;
        DestroyWindow(tip);
    }
    return result;
}

}  // namespace

// ---- fonts ----------------------------------------------------------------------

ControlFont ReadControlFont(HWND control) {
    ControlFont result;
    const auto hfont = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    WindowDc dc(control);
    drw::FontObject font;
    if (!font.FromHdc(dc, hfont)) return result;
    drw::FontFamilyObject family;
    if (font.GetFamily(family)) {
        result.FaceName = family.GetFamilyName();
        family.Delete();
    }
    if (result.FaceName.empty()) return result;
    result.Size = static_cast<int32_t>(font.GetSize());
    result.Style = font.GetStyle();
    return result;
}

ControlFont ReadControlFontOrDefault(HWND control) {
    ControlFont font = ReadControlFont(control);
    if (font.FaceName.empty()) font.FaceName = "宋体";
    if (font.Size == 0) font.Size = 12;
    return font;
}

// ---- attach -----------------------------------------------------------------------

bool IsPlainPushButtonStyle(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    return (style & 0x2) == 0 && (style & 0x4) == 0 && !HasAllBits(style, 0x9);
}

SkinnedButton* FindSkinnedButton(HWND control, SkinWindowRecord** record) {
    ControlIds ids;
    SkinnedButton* entry = LiveEntryOf(control, &SkinWindowRecord::Buttons, &ids);
    if (entry && record) *record = &SkinWindowTable[ids.record];
    return entry;
}

int FindButtonEntry(int record, HWND control) {
    return FindEntryOfWindow(SkinWindowTable[record].Buttons, control);
}

void AttachPushButtons(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    for (HWND child = FindWindowExA(parent, nullptr, "BUTTON", nullptr); child;
         child = FindWindowExA(parent, child, "BUTTON", nullptr)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (HasAllBits(style, kOwnerDraw) || !IsPlainPushButtonStyle(child)) continue;
        if (IsSkinSubclassed(child)) continue;
        auto& buttons = SkinWindowTable[record].Buttons;
        const int index = TakeEntry(buttons);
        SkinnedButton& entry = buttons[index];
        entry.Kind = kPushButton;
        entry.Text = ReadWindowText(child);
        SubclassControl(entry, child, record, index, ButtonSkinProc);
        SetWindowLongA(child, GWL_STYLE, style | kOwnerDraw);
        const ControlFont font = ReadControlFontOrDefault(child);
        entry.FontName = font.FaceName;
        entry.FontSize = font.Size;
        entry.FontStyle = font.Style;
    }
}

// ---- window procedure -----------------------------------------------------------

LRESULT CALLBACK ButtonSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinWindowRecord* record = nullptr;
    SkinnedButton* entry = FindSkinnedButton(window, &record);
    if (!entry) return CallPreviousProc(window, message, wParam, lParam);
    const int32_t kind = entry->Kind;

    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(window, *record, static_cast<int>(ReadProp(window, prop::Hw_lbID)));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(window, *record, *entry);
        break;
    case WM_MOVE:
        InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_LBUTTONUP:
        record->PreviousHotEntry = 0;
        break;
    case WM_ERASEBKGND: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        return SetTextColor(dc, static_cast<COLORREF>(ReadProp(window, prop::Kj_Ztys)));
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        entry->Focused = message == WM_SETFOCUS ? 1 : 0;
        break;
    case WM_SETTEXT:
        entry->Text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        break;
    case WM_NCPAINT:
        return 1;
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_NCDESTROY:
        return EndButton(window, wParam, lParam);
    default:
        break;
    }
    // Check boxes and radio buttons paint themselves; their answers are
    // with their painters.
    LRESULT result = 0;
    if (AnswerCheckOrRadioMessage(window, kind, message, wParam, lParam, result))
        return result;
    return CallPreviousProc(window, message, wParam, lParam);
}

// ---- painting ---------------------------------------------------------------------

void RepaintButtonNow(HWND control, UINT state, int hot) {
    const SkinnedButton* entry = FindSkinnedButton(control);
    if (!entry) return;
    if (hot) state |= kStateHot;
    // A button disabled while the mouse was on it still gets the leave
    // message: it must be drawn disabled, as Windows' own draw request would.
    if (!IsWindowEnabled(control)) state |= ODS_DISABLED;
    RECT rect{};
    GetClientRect(control, &rect);
    switch (entry->Kind) {
    case kPushButton: {
        WindowDc dc(control);
        PaintPushButton(control, dc, state, rect);
        break;
    }
    case kImageButton: {
        WindowDc dc(control);
        PaintImageButton(control, dc, state, rect);
        break;
    }
    case kStateImageButton: {
        WindowDc dc(control);
        PaintStateImageButton(control, dc, state, rect);
        break;
    }
    case kRadioButton:
        PaintRadioButton(control, state);
        break;
    case kCheckBox:
        PaintCheckBox(control, state);
        break;
    default:
        break;
    }
}

void DispatchButtonOwnerDraw(int record, const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return;
    const int index = static_cast<int>(ReadProp(item.hwndItem, prop::Hw_lbID));
    if (index == 0 || !SkinWindowTable.Contains(record)) return;
    const auto& buttons = SkinWindowTable[record].Buttons;
    // Another family's control, or a button of another record, is not ours.
    if (index > buttons.Count() || buttons[index].Window != item.hwndItem) return;
    switch (buttons[index].Kind) {
    case kPushButton:
        PaintPushButton(item.hwndItem, item.hDC, item.itemState, item.rcItem);
        break;
    case kImageButton:
        PaintImageButton(item.hwndItem, item.hDC, item.itemState, item.rcItem);
        break;
    case kStateImageButton:
        PaintStateImageButton(item.hwndItem, item.hDC, item.itemState, item.rcItem);
        break;
    default:
        break;
    }
}

void DispatchOwnerDrawMessage(int record, LPARAM lParam) {
    DRAWITEMSTRUCT item{};
    SIZE_T read = 0;
    if (!lParam || !ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(lParam),
                                      &item, sizeof item, &read) ||
        read != sizeof item)
        return;
    DispatchButtonOwnerDraw(record, item);
}

void StrokePath(drw::GraphicsObject& graphics, const drw::PathObject& path, int width,
                COLORREF colour, int alpha) {
    if (width < 1) return;
    drw::PenObject pen;
    pen.Create(ColorRefToArgb(colour, alpha), 1.0f);
    for (int i = 1; i <= width; ++i) {
        pen.SetWidth(static_cast<float>(i));
        graphics.DrawPath(pen, path);
    }
}

uint32_t CaptionArgb(HWND control) {
    return ColorRefToArgb(static_cast<COLORREF>(ReadProp(control, prop::Kj_Ztys)), 255);
}

void DrawCaption(drw::GraphicsObject& graphics, HWND control, const rt::AnsiText& text,
                 const rt::AnsiText& fontName, int fontSize, int fontStyle, int unit, float x,
                 float y, float w, float h, int align, int lineAlign, int trimming) {
    drw::FontObject font;
    if (!font.CreateByName(fontName, static_cast<float>(fontSize), fontStyle, unit)) return;
    drw::SolidBrushObject brush;
    brush.Create(CaptionArgb(control));
    drw::StringFormatObject format;
    format.Create();
    format.SetAlign(align);
    format.SetLineAlign(lineAlign);
    if (trimming >= 0) format.SetTrimming(trimming);
    graphics.DrawString(text, font, brush, {x, y, w, h}, &format);
}

void PaintPushButton(HWND control, HDC dc, UINT itemState, const RECT& rect) {
    const SkinnedButton* entry = FindSkinnedButton(control);
    if (!entry) return;
    const double x = rect.left, y = rect.top;
    PaintOverBackground(control, dc, rect, [&](drw::GraphicsObject& g, int w, int h) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);

        drw::PathObject body;
        body.Create();
        AddRoundedRectPath(body, fx, fy, static_cast<float>(w - 1), static_cast<float>(h - 1), 5);
        FillPathSolid(g, body, 0x78FFFFFF);

        if (HasState(itemState, ODS_DISABLED)) {
            drw::SolidBrushObject grey;
            grey.Create(0xFFC0C0C0);
            g.FillRectangle(grey, fx, fy, static_cast<float>(w), static_cast<float>(h));
            drw::LinearBrushObject sheen;
            sheen.Create({fx, fy}, {fx, static_cast<float>(y + h)}, 0x32FFFFFF, 0x32FFFFFF);
            rt::CountedArray<drw::ARGB> colours;
            rt::CountedArray<float> positions;
            for (auto [c, p] : {std::pair<drw::ARGB, float>{0x32FFFFFF, 0.0f},
                                {0x0A000000, 0.6f},
                                {0x32FFFFFF, 1.0f}}) {
                colours.Append(c);
                positions.Append(p);
            }
            sheen.SetPresetBlend(colours, positions);
            g.FillPath(sheen, body);
            OutlinePath(g, body, 0x50000000);
        } else {
            FillPathGradient(g, body, fx, fy, fx, static_cast<float>(y + h - 1), 0x00FFFFFF,
                             0x3C808080);
            drw::PathObject gloss;
            gloss.Create();
            AddGlossPath(gloss, rect.left, rect.top, w - 1, static_cast<int>(h * 0.5), 5);
            FillPathGradient(g, gloss, fx, fy, fx, static_cast<float>(y + h * 0.5), 0x32FFFFFF,
                             0x0AFFFFFF);
            if (HasState(itemState, kStateHot)) {
                FillPathGradient(g, body, fx, fy, fx, static_cast<float>(y + h - 1),
                                 ColorRefToArgb(ThemeColor, 60), ColorRefToArgb(ThemeColor, 10));
                OutlinePath(g, body, ColorRefToArgb(ThemeColor, 255));
            } else if (HasState(itemState, ODS_FOCUS)) {
                // The glow keeps its own colour whatever the theme.
                StrokePath(g, body, 3, 0x00DDCA22, 120);
                OutlinePath(g, body, 0x46000000);
            } else {
                OutlinePath(g, body, 0x78000000);
            }
            if (HasState(itemState, ODS_SELECTED)) {
                drw::PathObject pressed;
                pressed.Create();
                AddRoundedRectPath(pressed, static_cast<float>(x + 2), static_cast<float>(y + 2),
                                   static_cast<float>(w - 3), static_cast<float>(h - 3), 5);
                FillPathGradient(g, pressed, 2, 2, 2, static_cast<float>(h - 2),
                                 ColorRefToArgb(ThemeColor, 60), 0x64FFFFFF);
            }
        }
        DrawCaption(g, control, entry->Text, entry->FontName, entry->FontSize, entry->FontStyle,
                    kUnitWorld, 0, 2, static_cast<float>(w), static_cast<float>(h),
                    Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter);
    });
}

}  // namespace skin
