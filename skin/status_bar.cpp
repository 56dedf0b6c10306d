// The engine-drawn status bar: its layout from the client size, the painting
// of one pane into the window's cached rendering (and onto the screen when a
// pane changes on its own), the glowing text, and the docked windows above
// the bar.
#include "skin/status_bar.h"

#include <algorithm>
#include <cmath>

#include "drawing/drawing.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/method_table.h"
#include "skin/record.h"

namespace skin {
namespace {

constexpr int kUnitWorld = 0;
constexpr int kUnitPixel = 2;
constexpr int kPixelFormat32bppARGB = 0x26200A;
constexpr int kCompositingHighQuality = 2;
constexpr int kCompositingGammaCorrected = 3;
constexpr int kInterpolationHighQualityBicubic = 7;
constexpr int kPixelOffsetNone = 3;

// Scale of the glow behind pane texts.
constexpr int kPaneGlowScale = 4;

// A width computed from what is left of the client area never goes below 0:
// fixed panes wider than the window would otherwise give the rest pane a
// negative width, and its painting would spill over the panes to its left.
int RestWidth(int computed) { return std::max(computed, 0); }

RECT ClientRect(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

constexpr int kCombineModeReplace = 0;
constexpr int kCombineModeIntersect = 1;

// Keeps everything drawn on a graphics inside one pane until it leaves scope,
// then gives the graphics back the clip it had. Without it a glowing text's
// halo reaches below the pane into the frame, where a repaint of the pane
// alone never wipes it, and it thickens with every change of the text.
class PaneClip {
public:
    PaneClip(drw::GraphicsObject& graphics, const RectI& pane) : graphics_(graphics) {
        graphics_.GetClip(previous_);
        graphics_.SetClipRectI(pane.x, pane.y, pane.width, pane.height, kCombineModeIntersect);
    }
    PaneClip(const PaneClip&) = delete;
    PaneClip& operator=(const PaneClip&) = delete;
    ~PaneClip() { graphics_.SetClipRegion(previous_, kCombineModeReplace); }

private:
    drw::GraphicsObject& graphics_;
    drw::RegionObject previous_;
};

void MakeFormat(drw::StringFormatObject& format, int alignment, int lineAlignment) {
    format.Create();
    format.SetAlign(alignment);
    format.SetLineAlign(lineAlignment);
}

// The text drawn once into graphics, with a freshly made font, format and
// brush of its own.
void DrawTextOnce(drw::GraphicsObject& graphics, const rt::AnsiText& text,
                  const drw::RectF& layout, uint32_t argb, const rt::AnsiText& face,
                  int style, float size, int alignment, int lineAlignment) {
    drw::FontObject font;
    font.CreateByName(face, size, style, kUnitWorld);
    drw::StringFormatObject format;
    MakeFormat(format, alignment, lineAlignment);
    drw::SolidBrushObject brush;
    brush.Create(argb);
    graphics.DrawString(text, font, brush, layout, &format);
}

}  // namespace

// ---- layout -------------------------------------------------------------------

void SkinEngine::CreateStatusBar(int record, int height,
                                 const rt::CountedArray<StatusPane>* panes) {
    SkinWindowRecord& r = SkinWindowTable[record];
    const RECT client = ClientRect(r.Window);
    const int b = FrameBorderWidth;
    r.StatusHeight = height;
    const int y = client.bottom - b - height - 1;
    r.StatusRect = RectI{b, y, client.right - 2 * b, height};

    r.StatusPanes.Clear();
    r.StatusPaneRects.Clear();
    if (!panes) {
        r.StatusPaneRects.Append(r.StatusRect);
        StatusPane rest;
        rest.Width = -1;
        r.StatusPanes.Append(rest);
        return;
    }
    // Panes are laid edge to edge; a pane after a rest pane starts where the
    // rest pane ends, at the bar's right edge.
    int x = b;
    for (const StatusPane& pane : *panes) {
        const int w = pane.Width == -1 ? RestWidth(client.right - b - x) : pane.Width;
        r.StatusPaneRects.Append(RectI{x, y, w, height});
        r.StatusPanes.Append(pane);
        x += w;
    }
}

void SkinEngine::LayoutStatusBar(int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    const RECT client = ClientRect(r.Window);
    const int b = FrameBorderWidth;
    r.StatusRect.x = b;
    r.StatusRect.y = client.bottom - r.StatusHeight - b - 1;
    r.StatusRect.width = client.right - 2 * b;

    int x = b;
    int used = 0;
    for (int i = 1; i <= r.StatusPaneRects.Count(); ++i) {
        RectI& rect = r.StatusPaneRects[i];
        rect.y = r.StatusRect.y;
        rect.x = x;
        if (r.StatusPanes[i].Width == -1) rect.width = RestWidth(client.right - used - 2 * b);
        used += rect.width;
        x += rect.width;
    }
}

void SkinEngine::LayoutDockedPanes(int record) {
    SkinWindowRecord& r = SkinWindowTable[record];
    const RECT client = ClientRect(r.Window);
    // MoveWindow sends messages; copy what is needed before the first one.
    const int statusHeight = r.StatusHeight;
    const rt::CountedArray<DockedWindow> docked = r.DockedWindows;
    for (const DockedWindow& d : docked) {
        if (!d.Window) continue;
        MoveWindow(d.Window, 2, d.Y, client.right - 4, client.bottom - d.Y - statusHeight - 3,
                   TRUE);
    }
}

// ---- painting -----------------------------------------------------------------

drw::RectF StatusPaneTextLayout(const RectI& pane, std::optional<int> imageWidth) {
    const float top = static_cast<float>(pane.y) + static_cast<float>(pane.height - 12) / 2.0f;
    const float x = static_cast<float>(pane.x);
    const float w = static_cast<float>(pane.width);
    const float h = static_cast<float>(pane.height);
    if (!imageWidth) return drw::RectF{x + 3, top, w, h};
    const float iw = static_cast<float>(*imageWidth);
    return drw::RectF{x + iw + 3, top, w - iw - 3, h};
}

void DrawGlowText(drw::GraphicsObject& graphics, const rt::AnsiText& text,
                  const drw::RectF& layout, COLORREF textColor, COLORREF glowColor, int scale,
                  const rt::AnsiText& face, int style, float size, int alignment,
                  int lineAlignment) {
    const float s = static_cast<float>(std::max(scale, 1));
    const int W = static_cast<int>(layout.width);
    const int H = static_cast<int>(layout.height);
    const float sw = static_cast<float>(W) / s;
    const float sh = static_cast<float>(H) / s;
    const float fw = static_cast<float>(W), fh = static_cast<float>(H);

    // The text alone, in the glow colour.
    drw::BitmapObject textImage;
    textImage.Create(W, H, kPixelFormat32bppARGB);
    {
        drw::GraphicsObject g;
        g.FromImage(textImage);
        g.SetSmoothingMode(kSmoothingAntiAlias);
        g.SetCompositingQuality(kCompositingGammaCorrected);
        g.SetInterpolationMode(kInterpolationHighQualityBicubic);
        g.SetPixelOffsetMode(kPixelOffsetNone);
        DrawTextOnce(g, text, drw::RectF{s / 2, s / 2, fw + s / 2, fh + s / 2},
                     ColorRefToArgb(glowColor, 255), face, style, size, alignment,
                     lineAlignment);
    }

    // Shrunk by the scale ...
    drw::BitmapObject small;
    small.Create(static_cast<int>(sw), static_cast<int>(sh), kPixelFormat32bppARGB);
    {
        drw::GraphicsObject g;
        g.FromImage(small);
        g.SetInterpolationMode(kInterpolationHighQualityBicubic);
        g.SetCompositingQuality(kCompositingHighQuality);
        g.SetPixelOffsetMode(kPixelOffsetNone);
        g.DrawImageRect(textImage, 0, 0, sw, sh);
    }
    textImage.Dispose();

    // ... and stretched back, which blurs it; four faint copies around the
    // text's place thicken the halo.
    drw::BitmapObject halo;
    halo.Create(W, H, kPixelFormat32bppARGB);
    {
        drw::GraphicsObject g;
        g.FromImage(halo);
        g.SetCompositingQuality(kCompositingGammaCorrected);
        g.SetInterpolationMode(kInterpolationHighQualityBicubic);
        g.SetSmoothingMode(kSmoothingAntiAlias);
        g.DrawImageRect(small, 0, 0, fw, fh);
        small.Dispose();
        const float down = 0.7f * s;
        const drw::RectF copies[] = {{s / 2 - 1, down, fw, fh},
                                     {s / 2 + 1, down, fw, fh},
                                     {s / 2, down - 1, fw, fh},
                                     {s / 2, down + 1, fw, fh}};
        for (const drw::RectF& at : copies)
            DrawTextOnce(g, text, at, ColorRefToArgb(glowColor, 60), face, style, size,
                         alignment, lineAlignment);
    }

    graphics.SetSmoothingMode(kSmoothingAntiAlias);
    graphics.DrawImage(halo, layout.x - s / 2, layout.y - 0.6f * s);
    halo.Dispose();
    DrawTextOnce(graphics, text, drw::RectF{layout.x, layout.y, fw, fh},
                 ColorRefToArgb(textColor, 255), face, style, size, alignment, lineAlignment);
}

namespace {

// One pane drawn on graphics, kept inside the pane's rectangle: the white
// gradient, the picture, the text.
void DrawPane(drw::GraphicsObject& graphics, const SkinWindowRecord& r, const RectI& rect,
              const StatusPane& pane) {
    const PaneClip clip(graphics, rect);
    const float x = static_cast<float>(rect.x), y = static_cast<float>(rect.y);
    const float w = static_cast<float>(rect.width), h = static_cast<float>(rect.height);
    {
        drw::LinearBrushObject shade;
        shade.Create(drw::PointF{x, y}, drw::PointF{x, y + h}, ColorRefToArgb(0xFFFFFF, 60),
                     ColorRefToArgb(0xFFFFFF, 10));
        graphics.FillRectangle(shade, x, y, w, h);
    }

    std::optional<int> imageWidth;
    if (!pane.Image.empty()) {
        drw::ImageObject picture;
        picture.LoadFromBytes(pane.Image);
        const int iw = static_cast<int>(picture.GetWidth());
        const int ih = static_cast<int>(picture.GetHeight());
        graphics.DrawImage(picture, x + 2, y + static_cast<float>(rect.height - ih) / 2.0f);
        imageWidth = iw;
    }
    const drw::RectF layout = StatusPaneTextLayout(rect, imageWidth);

    if (r.StatusGlow) {
        DrawGlowText(graphics, pane.Text, layout, r.StatusGlowTextColor, r.StatusGlowColor,
                     kPaneGlowScale, r.StatusFontName, 0, static_cast<float>(r.StatusFontSize));
        return;
    }
    const COLORREF colour =
        r.StatusTextColor ? rt::DerivedColour(GlobalPictureColor) : pane.TextColor;
    drw::FontObject font;
    font.CreateByName(r.StatusFontName, static_cast<float>(r.StatusFontSize), 0, kUnitPixel);
    drw::StringFormatObject format;
    format.Create();
    format.SetAlign(0);
    drw::SolidBrushObject brush;
    brush.Create(ColorRefToArgb(colour, 255));
    graphics.DrawString(pane.Text, font, brush, layout, &format);
}

}  // namespace

void SkinEngine::PaintStatusPane(int record, drw::GraphicsObject* graphics, int pane) {
    SkinWindowRecord& r = SkinWindowTable[record];
    // An index outside the panes is a fatal error report here.
    const RectI rect = r.StatusPaneRects[pane];
    const StatusPane& p = r.StatusPanes[pane];
    if (graphics) {
        DrawPane(*graphics, r, rect, p);
        return;
    }
    // Before the first rendering there is nothing to draw into; that
    // rendering paints every pane.
    if (!r.WindowCacheDc) return;

    // Wipe the pane's previous drawing first, while no GDI+ surface is open
    // on the cached rendering.
    RestoreStatusBarCache(record, RECT{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
    {
        drw::GraphicsObject own;
        own.FromHdc(r.WindowCacheDc);
        DrawPane(own, r, rect, p);
    }  // deleted, so everything drawn is in the bitmap before it is copied
    WindowDc screen(r.Window);
    BitBlt(screen, rect.x, rect.y, rect.width, rect.height, r.WindowCacheDc, rect.x, rect.y,
           SRCCOPY);
}

// ---- operations by window ----------------------------------------------------

int SkinEngine::SetPaneText(HWND window, int pane, const rt::AnsiText& text,
                            const rt::ByteString* image, std::optional<COLORREF> textColor) {
    const int record = FindWindowRecord(window);
    if (record == 0) return 0;
    SkinWindowRecord& r = SkinWindowTable[record];
    if (pane < 1 || pane > r.StatusPanes.Count() || pane > r.StatusPaneRects.Count()) return 0;
    StatusPane& p = r.StatusPanes[pane];
    p.Text = text;
    if (image) p.Image = *image;
    if (textColor) p.TextColor = *textColor;
    PaintStatusPane(record, nullptr, pane);
    return 1;
}

int SkinEngine::SetStatusBarStyle(HWND window, int automaticTextColor, int glow,
                                  COLORREF glowTextColor, COLORREF glowColor,
                                  std::optional<rt::AnsiText> face, std::optional<int> size) {
    const int record = static_cast<int>(ReadProp(window, prop::Hw_lbID));
    if (!SkinWindowTable.Contains(record)) return 0;
    SkinWindowRecord& r = SkinWindowTable[record];
    // On a skinned control the same property holds its entry index, which
    // would name some other window's record.
    if (r.Window != window) return 0;
    r.StatusTextColor = automaticTextColor;
    r.StatusGlow = glow;
    r.StatusGlowTextColor = glowTextColor;
    r.StatusGlowColor = glowColor;
    if (face) r.StatusFontName = *face;
    if (size) r.StatusFontSize = *size;
    return 1;
}

// ---- method-table entries ------------------------------------------------------

ThunkWord InvokeSetPaneText(SkinEngine* self, const ThunkWord* args) {
    const char* text = thunk_args::Text(args[2]);
    return static_cast<ThunkWord>(self->SetPaneText(
        thunk_args::Window(args[0]), static_cast<int>(args[1]),
        text ? rt::AnsiText(text) : rt::AnsiText(),
        thunk_args::Pointer<const rt::ByteString>(args[3]),
        static_cast<COLORREF>(args[4])));
}

ThunkWord InvokeSetStatusBarStyle(SkinEngine* self, const ThunkWord* args) {
    const char* face = thunk_args::Text(args[5]);
    return static_cast<ThunkWord>(self->SetStatusBarStyle(
        thunk_args::Window(args[0]), static_cast<int>(args[1]), static_cast<int>(args[2]), static_cast<COLORREF>(args[3]),
        static_cast<COLORREF>(args[4]),
        face ? std::optional<rt::AnsiText>(face) : std::nullopt, static_cast<int>(args[6])));
}

}  // namespace skin
