// The caption strip's painting: icon, title with halo, caption buttons in
// their three looks, separators, and the restores from the clean layers.
#include "skin/caption_paint.h"

#include <algorithm>

#include "drawing/drawing.h"
#include "skin/capture.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {

namespace {

constexpr int kFlushSync = 1;
constexpr int kCombineIntersect = 1;
constexpr int kHaloAlpha = 150;
constexpr int kHaloOffset = 1;
constexpr int kTitleHeight = 32;
constexpr int kIconSize = 17;
constexpr int kCloseCornerBox = 5;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kRed = 0x000000FF;

// Where a caption button's glyph lies: one pixel left of its hit rectangle,
// at the glyph's own size.
struct GlyphBox {
    int x, y, w, h;
};
GlyphBox GlyphBoxOf(const SkinWindowRecord& r, const CaptionButton& b) {
    return GlyphBox{static_cast<int>(b.Rect.x - 1.0), static_cast<int>(r.StripY + 1.0), b.Width,
                    b.Height};
}

// The restore glyph replaces the maximize glyph while the window is maximized.
const rt::ByteString& GlyphOf(const SkinWindowRecord& r, const CaptionButton& b) {
    return b.Kind == 1 && r.Maximized ? b.SecondImage : b.Image;
}

void DrawGlyph(drw::GraphicsObject& g, const rt::ByteString& png, int x, int y, int w, int h) {
    if (png.empty()) return;
    drw::ImageObject glyph;
    if (glyph.LoadFromBytes(png))
        g.DrawImageRect(glyph, static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                        static_cast<float>(h));
}

// A path filled with a gradient running down from y to y + h.
void FillDown(drw::GraphicsObject& g, const drw::PathObject& path, int x, int y, int h,
              drw::ARGB top, drw::ARGB bottom) {
    drw::LinearBrushObject brush;
    brush.Create(drw::PointF{static_cast<float>(x), static_cast<float>(y)},
                 drw::PointF{static_cast<float>(x), static_cast<float>(y + h)}, top, bottom);
    g.FillPath(brush, path);
}

// A 1-px pen whose colour runs down from y to y + h.
void MakeDownPen(drw::PenObject& pen, drw::LinearBrushObject& brush, int x, int y, int h,
                 drw::ARGB top, drw::ARGB bottom) {
    brush.Create(drw::PointF{static_cast<float>(x), static_cast<float>(y)},
                 drw::PointF{static_cast<float>(x), static_cast<float>(y + h)}, top, bottom);
    pen.CreateFromBrush(brush, 1.0f);
}

// GDI copies into the cache must see everything GDI+ drew before them.
void Flush(drw::GraphicsObject& g) { g.Flush(kFlushSync); }

// Copies a rectangle of the cached rendering onto a window DC; an empty or
// negative rectangle copies nothing.
void BlitToWindow(HDC target, HDC cache, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    BitBlt(target, x, y, w, h, cache, x, y, SRCCOPY);
}

void DrawSeparator(drw::GraphicsObject& g, const SkinWindowRecord& r, int lx, int alpha) {
    drw::LinearBrushObject brush;
    drw::PenObject pen;
    MakeDownPen(pen, brush, lx, r.StripY, r.StripHeight - 3, ColorRefToArgb(kBlack, alpha),
                ColorRefToArgb(kBlack, 0));
    g.DrawLine(pen, static_cast<float>(lx), static_cast<float>(r.StripY + 1),
               static_cast<float>(lx), static_cast<float>(r.StripY + r.StripHeight - 4));
}

// The title's layout rectangle: right of the icon, as wide as the client
// leaves beside the strip and the frame (none in a window too narrow for a
// title: a negative width must reach neither GDI+ nor BitBlt).
RECT TitleLayout(const SkinWindowRecord& r, int clientWidth, int b) {
    const int tw = std::max(0, clientWidth - r.StripWidth - 10 - 2 * b);
    return RECT{b + 26, b + 5, b + 26 + tw, b + 5 + kTitleHeight};
}

// Where the title may ink: its layout grown by the halo on every side, up to
// the strip. Empty when there is no room for a title.
RECT TitleInk(const SkinWindowRecord& r, int clientWidth, int b) {
    const RECT layout = TitleLayout(r, clientWidth, b);
    if (layout.right <= layout.left) return RECT{};
    RECT ink{layout.left - kHaloOffset, layout.top - kHaloOffset,
             std::min<LONG>(layout.right + kHaloOffset, r.StripX), layout.bottom + kHaloOffset};
    return ink.right > ink.left ? ink : RECT{};
}

bool ValidButton(int record, int button) {
    return SkinWindowTable.Contains(record) && button >= 1 &&
           button <= SkinWindowTable[record].CaptionButtons.Count();
}

}  // namespace

drw::RectF MakeRectF(float x, float y, float width, float height) {
    return drw::RectF{x, y, width, height};
}

RECT CaptionTitleArea(const SkinWindowRecord& r, int clientWidth, int b) {
    RECT area{b + 6, b + 2, b + 6 + kIconSize, b + 2 + kIconSize};
    const RECT ink = TitleInk(r, clientWidth, b);
    if (ink.right > ink.left) UnionRect(&area, &area, &ink);
    return area;
}

void AddCloseButtonPath(drw::PathObject& path, int x, int y, int w, int h, int r) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h), fr = static_cast<float>(r);
    path.AddLine(fx, fy + fh, fx, fy);
    path.AddLine(fx, fy, fx + fw - fr, fy);
    path.AddArc(fx + fw - fr, fy, fr, fr, 270.0f, 90.0f);
    path.AddLine(fx + fw, fy + fr, fx + fw, fy + fh);
}

void DrawHaloText(drw::GraphicsObject& g, const rt::AnsiText& text, const drw::RectF& layout,
                  COLORREF textColor, COLORREF haloColor, int offset,
                  const rt::AnsiText& fontName, int fontStyle, int fontSize, int alignment,
                  int lineAlignment) {
    if (!(layout.width > 0.0f) || !(layout.height > 0.0f)) return;
    drw::FontObject font;
    font.CreateByName(fontName, static_cast<float>(fontSize), fontStyle);
    drw::StringFormatObject format;
    format.Create();
    format.SetAlign(alignment);
    format.SetLineAlign(lineAlignment);
    const rt::ByteString wide = drw::ToWideText(text);

    drw::SolidBrushObject halo;
    halo.Create(ColorRefToArgb(haloColor, kHaloAlpha));
    const float d = static_cast<float>(offset);
    const float shifts[4][2] = {{d, 0}, {-d, 0}, {0, d}, {0, -d}};
    for (const auto& s : shifts) {
        drw::RectF moved{layout.x + s[0], layout.y + s[1], layout.width, layout.height};
        g.DrawStringW(wide, font, halo, moved, &format);
    }
    // One font and one format serve both passes; only the colour changes.
    drw::SolidBrushObject face;
    face.Create(ColorRefToArgb(textColor, 255));
    g.DrawStringW(wide, font, face, layout, &format);
}

void SkinEngine::RestoreCaptionCache(int record, const RECT& rect) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    BitBlt(r.WindowCacheDc, rect.left, rect.top, w, h, r.CaptionCacheDc, rect.left, rect.top,
           SRCCOPY);
}

void SkinEngine::RestoreStatusBarCache(int record, const RECT& rect) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    // The status layer holds only StatusRect, from its top-left corner.
    BitBlt(r.WindowCacheDc, rect.left, rect.top, w, h, r.StatusCacheDc,
           rect.left - r.StatusRect.x, rect.top - r.StatusRect.y, SRCCOPY);
}

void SkinEngine::PaintCaptionSeparators(int record, int button, drw::GraphicsObject& g) {
    if (!ValidButton(record, button)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    const CaptionButton& b = r.CaptionButtons[button];
    DrawSeparator(g, r, static_cast<int>(b.Rect.x - 2.0), button == 1 ? 100 : 60);
    if (button < r.CaptionButtons.Count())
        DrawSeparator(g, r, static_cast<int>(r.CaptionButtons[button + 1].Rect.x - 2.0), 60);
}

void SkinEngine::PaintCaptionButtonHighlight(drw::GraphicsObject& g, int record, int button,
                                             int alpha) {
    if (!ValidButton(record, button)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    const CaptionButton& b = r.CaptionButtons[button];
    const int x = static_cast<int>(b.Rect.x - 1.0);
    const int y = static_cast<int>(b.Rect.y);
    const int w = b.Width, h = b.Height;

    Flush(g);
    RestoreCaptionCache(record, RECT{x - 1, y, x + w + 1, y + h + 1});
    // At alpha 0 every layer below is fully transparent: the restore is all.
    if (alpha == 0) return;

    const bool close = b.Kind == 0;
    drw::PathObject shadow;
    shadow.Create();
    AddGlossPath(shadow, x, y, w, h, 1);
    FillDown(g, shadow, x, y, h, ColorRefToArgb(kBlack, alpha / 5), ColorRefToArgb(kWhite, 0));

    if (close) {
        drw::PathObject body;
        body.Create();
        AddCloseButtonPath(body, x, y, w, h, kCloseCornerBox);
        FillDown(g, body, x, y, h, ColorRefToArgb(kRed, alpha), ColorRefToArgb(kWhite, 0));
    } else {
        FillDown(g, shadow, x, y, h, ColorRefToArgb(ThemeColor, alpha), ColorRefToArgb(kWhite, 0));
    }

    const int outlineHeight = static_cast<int>(0.8 * h);
    drw::PathObject outline;
    outline.Create();
    if (close)
        AddCloseButtonPath(outline, x, y, w - 1, outlineHeight, kCloseCornerBox);
    else
        AddGlossPath(outline, x, y, w - 1, outlineHeight, 1);
    drw::LinearBrushObject brush;
    drw::PenObject pen;
    MakeDownPen(pen, brush, x, y, h, ColorRefToArgb(kWhite, static_cast<int>(0.8 * alpha)),
                ColorRefToArgb(kWhite, 0));
    g.DrawPath(pen, outline);
}

void SkinEngine::PaintCaptionButton(int record, int button, drw::GraphicsObject* graphics,
                                    std::optional<bool> pressed, std::optional<int> alpha) {
    if (!ValidButton(record, button)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    if (!r.WindowCacheDc) return;  // nothing rendered yet
    const CaptionButton& b = r.CaptionButtons[button];
    const GlyphBox box = GlyphBoxOf(r, b);
    const HWND window = r.Window;
    const HDC cache = r.WindowCacheDc;

    if (pressed.value_or(false)) {
        {
            drw::GraphicsObject g;
            g.FromHdc(cache);
            RestoreCaptionCache(record, RECT{box.x, box.y, box.x + box.w, box.y + box.h});
            drw::PathObject shape;
            shape.Create();
            if (b.Kind == 0) {
                AddCloseButtonPath(shape, box.x, box.y, box.w, box.h, kCloseCornerBox);
                FillDown(g, shape, box.x, box.y, box.h, ColorRefToArgb(kRed, 255),
                         ColorRefToArgb(kWhite, 30));
            } else {
                shape.AddRectangle(static_cast<float>(box.x), static_cast<float>(box.y),
                                   static_cast<float>(box.w), static_cast<float>(box.h));
                FillDown(g, shape, box.x, box.y, box.h, ColorRefToArgb(kBlack, 80),
                         ColorRefToArgb(kWhite, 5));
            }
            DrawGlyph(g, GlyphOf(r, b), box.x, box.y, box.w - 1, box.h);
        }
        WindowDc screen(window);
        BlitToWindow(screen, cache, box.x, box.y, box.w, box.h);
        return;
    }

    drw::GraphicsObject own;
    drw::GraphicsObject* g = graphics;
    if (!g) {
        own.FromHdc(cache);
        own.SetSmoothingMode(kSmoothingAntiAlias);
        g = &own;
    }
    PaintCaptionButtonHighlight(*g, record, button, alpha.value_or(0));

    drw::PathObject gloss;
    gloss.Create();
    gloss.AddRectangle(static_cast<float>(box.x - 1), static_cast<float>(box.y),
                       static_cast<float>(box.w + 1), static_cast<float>(box.h - 1));
    FillDown(*g, gloss, box.x, box.y, box.h, ColorRefToArgb(kWhite, 50), 0x00000000);
    DrawGlyph(*g, GlyphOf(r, b), box.x, box.y, box.w, box.h);
    PaintCaptionSeparators(record, button, *g);

    if (!graphics) {
        own.Delete();
        WindowDc screen(window);
        BlitToWindow(screen, cache, box.x, box.y, box.w, box.h);
    }
}

void SkinEngine::PaintCaption(int record, drw::GraphicsObject* graphics,
                              std::optional<rt::AnsiText> title) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    if (!r.WindowCacheDc) return;  // nothing rendered yet
    const HWND window = r.Window;
    const HDC cache = r.WindowCacheDc;
    const int b = FrameBorderWidth;
    RECT client{};
    GetClientRect(window, &client);
    const RECT layout = TitleLayout(r, client.right, b);
    const RECT ink = TitleInk(r, client.right, b);
    // Whatever an earlier title inked, however long it was, lies in here.
    const RECT area = CaptionTitleArea(r, client.right, b);

    drw::GraphicsObject own;
    drw::GraphicsObject* g = graphics;
    if (!g) {
        own.FromHdc(cache);
        g = &own;
        RestoreCaptionCache(record, area);
    }
    Flush(*g);
    DrawIconEx(cache, b + 6, b + 2, ProgramIcon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);

    rt::AnsiText text;
    if (title) {
        text = *title;
    } else {
        const int length = GetWindowTextLengthA(window);
        text.assign(static_cast<std::size_t>(std::max(0, length)) + 1, '\0');
        const int got = GetWindowTextA(window, &text[0], length + 1);
        text.resize(static_cast<std::size_t>(std::max(0, got)));
    }
    // GetWindowTextA sends a message, whose handler may have destroyed the
    // window (its caches with it) or moved its record to another number: the
    // title is drawn only for the window's own record, wherever it is now.
    if (!StillRecordOf(record, window)) record = OwnRecordIndex(window);
    if (record == 0) return;
    const SkinWindowRecord& now = SkinWindowTable[record];
    if (ink.right > ink.left) {
        // The title stays out of the strip: the buttons are drawn over it
        // only by a full rendering, and a title painted alone would leave
        // ink under them that no restore of its own area takes away.
        const unsigned state = g->SaveGraphics();
        g->SetClipRectI(ink.left, ink.top, ink.right - ink.left, ink.bottom - ink.top,
                        kCombineIntersect);
        DrawHaloText(*g, text,
                     MakeRectF(static_cast<float>(layout.left), static_cast<float>(layout.top),
                               static_cast<float>(layout.right - layout.left),
                               static_cast<float>(layout.bottom - layout.top)),
                     now.TitleColor, now.TitleHaloColor, kHaloOffset, now.TitleFontName,
                     now.TitleBold != 0 ? 1 : 0, now.TitleFontSize);
        g->RestoreGraphics(state);
    }

    if (!graphics) {
        own.Delete();
        WindowDc screen(window);
        GetDcExcludingChildren(window, screen);
        BlitToWindow(screen, cache, area.left, area.top, area.right - area.left,
                     area.bottom - area.top);
    }
}

bool SkinEngine::SetCaptionTextStyle(HWND window, std::optional<rt::AnsiText> fontName,
                                     std::optional<int> fontSize,
                                     std::optional<COLORREF> titleColor,
                                     std::optional<COLORREF> haloColor,
                                     std::optional<int> titleBold) {
    const int record = OwnRecordIndex(window);
    if (record == 0) return false;
    SkinWindowRecord& r = SkinWindowTable[record];
    if (fontName) r.TitleFontName = *fontName;
    if (fontSize) r.TitleFontSize = *fontSize;
    if (titleColor) r.TitleColor = *titleColor;
    if (haloColor) r.TitleHaloColor = *haloColor;
    if (titleBold) r.TitleBold = *titleBold;
    PaintCaption(record);
    return true;
}

}  // namespace skin
