#include "skin/controls/image_button.h"

#include <gdiplus.h>

#include <algorithm>

#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "skin/capture.h"
#include "skin/controls/glass_paint.h"
#include "skin/controls/push_button.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr int kUnitPixel = 2;


// Finds or makes the button's entry, gives it its kind and tip, makes it
// owner-drawn and, when the entry is new, subclasses it. Returns the entry
// (its pictures are the caller's to set), or null when no skinned window
// lies above the button or another family's procedure holds it.
SkinnedButton* TakeButtonOn(HWND window, int32_t kind, const rt::AnsiText& tip) {
    const int record = FindRootWindowRecord(window);
    if (record == 0) return nullptr;
    auto& buttons = SkinWindowTable[record].Buttons;
    int index = FindButtonEntry(record, window);
    const bool isNew = index == 0;
    // A control another family's procedure holds (a group box attached as a
    // container) cannot take the button procedure as well.
    if (isNew && IsSkinSubclassed(window)) return nullptr;
    if (isNew) index = TakeEntry(buttons);
    SkinnedButton& entry = buttons[index];
    entry.Window = window;
    entry.Kind = kind;
    if (!tip.empty()) {
        if (!entry.Tooltip.GetHwnd()) {
            RECT client{};
            GetClientRect(window, &client);
            entry.Tooltip.Create(window, 0);
            entry.Tooltip.AddTool(client, tip, 1);
        } else {
            entry.Tooltip.UpdateTipText(1, tip);
        }
    }
    SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | BS_OWNERDRAW);
    if (isNew) SubclassControl(entry, window, record, index, ButtonSkinProc);
    // A button no attach took has no caption font yet; without one its
    // caption could not be drawn at all.
    if (entry.FontName.empty()) {
        const ControlFont font = ReadControlFontOrDefault(window);
        entry.FontName = font.FaceName;
        entry.FontSize = font.Size;
        entry.FontStyle = font.Style;
    }
    return &entry;
}

const rt::ByteString& PictureArg(ThunkWord v) {
    static const rt::ByteString none;
    const auto* p = reinterpret_cast<const rt::ByteString*>(v);
    return p ? *p : none;
}

rt::AnsiText TipArg(ThunkWord v) {
    const auto* p = reinterpret_cast<const char*>(v);
    return p ? rt::AnsiText(p) : rt::AnsiText();
}

HWND WindowArg(ThunkWord v) { return reinterpret_cast<HWND>(v); }

void RoundedFrame(drw::GraphicsObject& g, float w, float h, int radius, uint32_t outline,
                  uint32_t from, uint32_t to) {
    drw::PathObject frame;
    frame.Create();
    AddRoundedRectPath(frame, 0, 0, w, h, radius);
    OutlinePath(g, frame, outline);
    FillPathGradient(g, frame, 0, 0, 0, h, from, to);
}

}  // namespace

rt::AnsiText ReadWindowText(HWND window) {
    const int n = GetWindowTextLengthA(window) + 1;
    rt::AnsiText text(static_cast<std::size_t>(n), '\0');
    const int got = GetWindowTextA(window, text.data(), n);
    text.resize(static_cast<std::size_t>(std::clamp(got, 0, n)));
    return text;
}

int SkinEngine::SetButtonImage(HWND window, const rt::ByteString& picture, int beside,
                               const rt::AnsiText& tip) {
    SkinnedButton* entry = TakeButtonOn(window, kImageButton, tip);
    if (!entry) return 0;
    entry->Image = picture;
    entry->ImageBesideText = beside;
    entry->Text = ReadWindowText(window);
    return 1;
}

int SkinEngine::SetButtonImages(HWND window, const rt::ByteString& normal,
                                const rt::ByteString& hot, const rt::ByteString& pressed,
                                const rt::ByteString& disabled, const rt::AnsiText& tip) {
    SkinnedButton* entry = TakeButtonOn(window, kStateImageButton, tip);
    if (!entry) return 0;
    entry->Image = normal;
    entry->HotImage = hot;
    entry->PressedImage = pressed;
    entry->DisabledImage = disabled;
    return 1;
}

ThunkWord InvokeSetButtonImage(SkinEngine* self, const ThunkWord* args) {
    return static_cast<ThunkWord>(self->SetButtonImage(WindowArg(args[0]), PictureArg(args[1]),
                                                       static_cast<int>(args[2]), TipArg(args[3])));
}

ThunkWord InvokeSetButtonImages(SkinEngine* self, const ThunkWord* args) {
    return static_cast<ThunkWord>(self->SetButtonImages(WindowArg(args[0]), PictureArg(args[1]),
                                                        PictureArg(args[2]), PictureArg(args[3]),
                                                        PictureArg(args[4]), TipArg(args[5])));
}

void PaintImageButton(HWND control, HDC dc, UINT itemState, const RECT& rect) {
    const SkinnedButton* entry = FindSkinnedButton(control);
    if (!entry) return;
    RECT client{};
    GetClientRect(control, &client);
    const double cw = client.right - client.left, ch = client.bottom - client.top;
    const double x = rect.left, y = rect.top;
    PaintOverBackground(control, dc, rect, [&](drw::GraphicsObject& g, int w, int h) {
        auto f = [](double v) { return static_cast<float>(v); };
        if (HasState(itemState, ODS_DISABLED)) {
            drw::PathObject face;
            face.Create();
            AddRoundedRectPath(face, f(x + 2), f(y + 2), f(w - 6), f(h - 6), 5);
            FillPathGradient(g, face, 1, 1, 1, f(h), 0x32808080, 0x00FFFFFF);
        } else {
            const bool hot = HasState(itemState, kStateHot);
            if (hot) {
                drw::PathObject face;
                face.Create();
                AddRoundedRectPath(face, f(x + 2), f(y + 1), f(w - 5), f(h - 4), 2);
                FillPathGradient(g, face, f(x + 1), f(y + 1), f(x + 1), f(y + h - 4), 0x32FFFFFF,
                                 0x28FFFFFF);
                // A white line that fades out towards both ends.
                drw::LinearBrushObject shine;
                shine.Create({f(x + 1), f(y + 1)}, {f(w - 1), f(y + 1)}, 0x0AFFFFFF, 0xFFFFFFFF);
                shine.SetLinearBlend(0.5f, 0.8f);
                drw::PenObject pen;
                pen.CreateFromBrush(shine, 2.0f);
                g.DrawLine(pen, f(x + 1), f(h - 4), f(w - 1), f(h - 4));
            }
            if (hot || HasState(itemState, ODS_FOCUS)) {
                drw::PathObject inner;
                inner.Create();
                AddRoundedRectPath(inner, f(x + 2), f(y + 2), f(w - 5), f(h - 5), 2);
                FillPathGradient(g, inner, 2, 3, 2, f(h), 0x3CFFFFFF, 0x32FFFFFF);
                drw::PathObject outer;
                outer.Create();
                AddRoundedRectPath(outer, f(x), f(y), f(w - 2), f(h - 2), 5);
                OutlinePath(g, outer, 0x3C000000);
                drw::PathObject edge;
                edge.Create();
                AddRoundedRectPath(edge, f(x + 1), f(y + 1), f(w - 4), f(h - 4), 5);
                OutlinePath(g, edge, 0x78FFFFFF);
            }
        }

        const auto leading = Gdiplus::StringAlignmentNear;
        const auto centre = Gdiplus::StringAlignmentCenter;
        auto caption = [&](double lx, double ly, double lw, double lh, int align, int lineAlign,
                           int trimming = -1) {
            DrawCaption(g, control, entry->Text, entry->FontName, entry->FontSize,
                        entry->FontStyle, kUnitPixel, f(lx), f(ly), f(lw), f(lh), align,
                        lineAlign, trimming);
        };
        if (entry->ImageBesideText != 0 && entry->Image.empty()) {
            caption(0, 0, w, h, centre, centre);
        } else if (entry->ImageBesideText != 0) {
            const double s = static_cast<int>(ch * 0.8);
            const double left = entry->Text.empty() ? (w - s) / 2 : 3;
            DrawPicture(g, entry->Image, f(left), f((h - s) / 2), f(s), f(s));
            caption(s + 5, 2, cw - s - 7, ch, leading, centre);
        } else {
            // Too small a button for its font leaves no room for the picture
            // (a negative size would draw it mirrored).
            const double s = std::max(0, static_cast<int>((h - entry->FontSize - 2) * 0.8));
            DrawPicture(g, entry->Image, f((w - s) / 2), f(h * 0.05), f(s), f(s));
            caption(0, s + h * 0.05 + 2, w, h - s, centre, leading,
                    Gdiplus::StringTrimmingEllipsisCharacter);
        }
    });
}

void PaintStateImageButton(HWND control, HDC dc, UINT itemState, const RECT& rect) {
    const SkinnedButton* entry = FindSkinnedButton(control);
    if (!entry) return;
    PaintOverBackground(control, dc, rect, [&](drw::GraphicsObject& g, int, int) {
        const drw::Point size = PictureSize(entry->Image);
        const float iw = static_cast<float>(size.x), ih = static_cast<float>(size.y);
        const uint32_t themeEdge = ColorRefToArgb(ThemeColor, 250);
        if (HasState(itemState, ODS_DISABLED)) {
            if (!entry->DisabledImage.empty()) {
                DrawPicture(g, entry->DisabledImage, 2, 2);
                return;
            }
            RoundedFrame(g, iw + 2, ih + 2, 5, 0x50000000, 0x3CFFFFFF, 0x64000000);
        } else if (HasState(itemState, kStateHot)) {
            if (!entry->HotImage.empty()) {
                DrawPicture(g, entry->HotImage, 2, 2);
                return;
            }
            RoundedFrame(g, iw + 3, ih + 3, 3, themeEdge, 0x78FFFFFF,
                         ColorRefToArgb(ThemeColor, 100));
        } else if (HasState(itemState, ODS_SELECTED)) {
            if (!entry->PressedImage.empty()) {
                DrawPicture(g, entry->PressedImage, 2, 2);
                return;
            }
            RoundedFrame(g, iw + 3, ih + 3, 3, themeEdge, 0x3C000000, 0x64FFFFFF);
        }
        DrawPicture(g, entry->Image, 2, 2, iw, ih);
    });
}

}  // namespace skin
