// Combo boxes: attach, window procedure and painter.
#include "skin/controls/combo_box.h"

#include <vector>

#include "drawing/font.h"
#include "drawing/graphics.h"
#include "drawing/image.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "resources/carried.h"
#include "skin/capture.h"
#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr uint32_t kNormalBorder = 0x50000000;  // black at alpha 80
constexpr int kAccentAlpha = 200;

SkinnedComboBox& ComboEntry(int record, int entry) {
    return SkinWindowTable[record].ComboBoxes[entry];
}

// The window text shown by a drop-down list is taken from its selection
// before the combo box is subclassed.
void ShowSelectedText(HWND combo) {
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, selected, 0);
    if (length < 0) return;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
}

rt::AnsiText WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length < 0 ? 0 : length) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return rt::AnsiText(text.data());
}

// Clears the rectangles of the combo box's child windows to the key colour,
// so they keep drawing themselves: every child (a drop-down list's list
// inset by 2 px) when allChildren, else the first child (the edit) only.
void KeyOutChildren(drw::GraphicsObject& graphics, HWND combo, bool allChildren) {
    for (HWND child = FindWindowExA(combo, nullptr, nullptr, nullptr);;
         child = FindWindowExA(combo, child, nullptr, nullptr)) {
        if (allChildren && !child) break;
        graphics.ResetClip();
        RECT r = GetChildRectInParent(child);
        if (allChildren && GetClassNameText(child) == "ComboLBox") InflateRect(&r, -2, -2);
        graphics.SetClipRect(static_cast<float>(r.left), static_cast<float>(r.top),
                             static_cast<float>(r.right - r.left),
                             static_cast<float>(r.bottom - r.top), 0);
        graphics.Clear(kKeyArgb);
        if (!allChildren) break;
    }
    graphics.ResetClip();
}

void DrawDropDownButton(drw::GraphicsObject& graphics, int bx, int bw, int bh, int h, bool hot) {
    drw::PathObject path;
    path.Create();
    AddRoundedRectPath(path, static_cast<float>(bx), 2, static_cast<float>(bw - 1),
                       static_cast<float>(bh - 1), 4);
    {
        drw::PenObject outline;
        outline.Create(hot ? ColorRefToArgb(ThemeColor, kAccentAlpha) : kNormalBorder, 1.0f);
        graphics.DrawPath(outline, path);
    }
    path.Reset();
    AddRoundedRectPath(path, static_cast<float>(bx + 1), 3, static_cast<float>(bw - 2),
                       static_cast<float>(bh - 2), 1);
    {
        drw::LinearBrushObject body;
        body.Create(drw::PointF{static_cast<float>(bx + 1), 2},
                    drw::PointF{static_cast<float>(bx + 1), static_cast<float>(h - 4)},
                    hot ? 0x64FFFFFFu : ColorRefToArgb(ThemeColor, 30),
                    ColorRefToArgb(ThemeColor, hot ? 150 : 100));
        graphics.FillPath(body, path);
    }
    drw::ImageObject arrow;
    arrow.LoadFromBytes(res::ArrowDownImage());
    const float iw = static_cast<float>(arrow.GetWidth());
    const float ih = static_cast<float>(arrow.GetHeight());
    graphics.DrawImage(arrow, bx + (bw - iw) / 2, 2 + (bh - ih) / 2);
}

void DrawSelectedText(drw::GraphicsObject& graphics, HWND combo, int w, int h) {
    drw::SolidBrushObject ink;
    ink.Create(ColorRefToArgb(static_cast<COLORREF>(ReadProp(combo, prop::Kj_Ztys)), 255));
    drw::FontObject font;
    font.CreateByName("宋体", 12);
    graphics.DrawString(WindowText(combo), font, ink,
                        drw::RectF{2, (h - 12) / 2.0f, static_cast<float>(w - 17),
                                   static_cast<float>(h - 4)});
}

}  // namespace

void AttachComboBoxes(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    for (HWND child = FindWindowExA(parent, nullptr, "ComboBox", nullptr); child;
         child = FindWindowExA(parent, child, "ComboBox", nullptr)) {
        if (IsSkinSubclassed(child)) continue;
        ShowSelectedText(child);
        auto& combos = SkinWindowTable[record].ComboBoxes;
        const int index = TakeEntry(combos);
        SubclassControl(combos[index], child, record, index, ComboBoxSkinProc);
        HWND edit = FindWindowExA(child, nullptr, "Edit", nullptr);
        if (edit && TransparentControlsFlag) AttachEdit(record, edit);
    }
}

LRESULT CALLBACK ComboBoxSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    if (!LiveEntryOf(window, &SkinWindowRecord::ComboBoxes, &ids))
        return CallPreviousProc(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE: {
        TrackMouseLeave(window);
        SkinWindowRecord& r = SkinWindowTable[ids.record];
        r.HotEntry = ids.entry;
        const bool repaint = (ids.entry > 0 && r.PreviousHotEntry != r.HotEntry) ||
                             r.HotControlClass != kHotComboBox;
        if (repaint) PaintComboBox(ids.record, ids.entry, true);
        SkinWindowRecord& again = SkinWindowTable[ids.record];
        again.PreviousHotEntry = again.HotEntry;
        again.HotControlClass = kHotComboBox;
        break;
    }
    case WM_MOUSELEAVE:
        PaintComboBox(ids.record, ids.entry, false);
        SkinWindowTable[ids.record].PreviousHotEntry = 0;
        break;
    case WM_MOVE:
        PaintComboBox(ids.record, ids.entry);
        break;
    case WM_ERASEBKGND:
        return EraseNothing(wParam);
    case WM_PAINT:
        return PaintWhole(window, wParam, lParam, [&] { PaintComboBox(ids.record, ids.entry); });
    case WM_NCPAINT:
        PaintComboBox(ids.record, ids.entry);
        return DefWindowProcA(window, WM_NCPAINT, static_cast<WPARAM>(0xFFFFFFFF), lParam);
    case WM_SETFOCUS:
        ComboEntry(ids.record, ids.entry).Focused = 1;
        PaintComboBox(ids.record, ids.entry, false, true);
        break;
    case WM_KILLFOCUS:
        ComboEntry(ids.record, ids.entry).Focused = 0;
        break;
    case WM_SETTEXT:
        if (HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr))
            InvalidateRect(edit, nullptr, TRUE);
        break;
    case WM_CTLCOLOREDIT:
        if (!TransparentControlsFlag) break;
        return reinterpret_cast<LRESULT>(
            HandOutGlassBrush(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_COMMAND:
        if (TransparentControlsFlag && SkinControlsFlag) InvalidateChangedEdit(wParam, lParam);
        break;
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

void PaintComboBox(int record, int entry, bool hot, std::optional<bool> focused) {
    const SkinnedComboBox& e = ComboEntry(record, entry);
    HWND combo = e.Window;
    if (!focused) focused = e.Focused != 0;
    const LONG style = GetWindowLongA(combo, GWL_STYLE);
    const bool listBit = (style & 1) != 0, buttonBit = (style & 2) != 0;
    RECT outer{};
    GetWindowRect(combo, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    const int w = outer.right, h = outer.bottom;
    const int bw = listBit && buttonBit ? 17 : 18;
    const int bx = w - bw - 2, bh = h - 4;

    ScopedCapture capture(CaptureControlBackground(combo, RECT{0, 0, w, h}));
    if (!capture.Get()) return;
    {
        drw::GraphicsObject graphics;
        graphics.FromHdc(capture);
        {
            drw::SolidBrushObject face;
            face.Create(TransparentControlsFlag ? ColorRefToArgb(0xFFFFFF, GlassAlpha)
                                                : 0xFFFFFFFFu);
            graphics.FillRectangle(face, 0, 0, static_cast<float>(w), static_cast<float>(h));
        }
        KeyOutChildren(graphics, combo, listBit);
        {
            drw::PenObject border;
            border.Create(hot || *focused ? ColorRefToArgb(ThemeColor, kAccentAlpha)
                                          : kNormalBorder,
                          1.0f);
            graphics.DrawRectangle(border, 0, 0, static_cast<float>(w - 1),
                                   static_cast<float>(h - 1));
        }
        if (buttonBit) {
            DrawDropDownButton(graphics, bx, bw, bh, h, hot);
            if (listBit) DrawSelectedText(graphics, combo, w, h);
        }
    }
    WindowDc dc(combo, DcArea::Window);
    TransparentBlt(dc, 0, 0, w, h, capture, 0, 0, w, h, kKeyColour);
}

RECT GetChildRectInParent(HWND window) {
    if (!window || FindWindowRecord(window) > 0) return RECT{0, 0, 0, 0};
    RECT parent{}, own{};
    GetWindowRect(GetParent(window), &parent);
    GetWindowRect(window, &own);
    return RECT{own.left - parent.left, own.top - parent.top, own.right - parent.left,
                own.bottom - parent.top};
}

void InvalidateChangedEdit(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (GetClassNameText(control) != "Edit") return;
    switch (HIWORD(wParam)) {
    case EN_VSCROLL:
    case EN_HSCROLL:
    case EN_CHANGE:
    case EN_UPDATE:
        InvalidateRect(control, nullptr, TRUE);
        break;
    default:
        break;
    }
}

}  // namespace skin
