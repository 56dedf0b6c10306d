// Background pictures and the theme: the average colour of a picture, the
// faded edges of the corner layouts, the global skin picture and a window's
// own picture.
#include "skin/background.h"

#include "drawing/drawing.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {

namespace {

constexpr COLORREF kDefaultThemeColor = 0x00DDCA22;
constexpr int32_t kThemeFromPicture = -1;
constexpr int kDefaultThemeMode = 4;
constexpr COLORREF kOpaqueBlack = 0xFF000000;
constexpr int kCompositingGammaCorrected = 3;
constexpr int kWrapTile = 0;
constexpr drw::ARGB kClearWhite = 0x00FFFFFF;

// The sample range along one axis: the last `margin` pixels when a margin
// above 0 is given, else all of them.
void SampleRange(int size, std::optional<int> margin, int& low, int& high) {
    low = margin && *margin > 0 ? size - *margin : 0;
    high = size - 1;
}

void FillBand(drw::GraphicsObject& g, float x, float y, float w, float h, drw::PointF from,
              drw::PointF to, drw::ARGB start, drw::ARGB end) {
    drw::LinearBrushObject brush;
    brush.Create(from, to, start, end);
    brush.SetWrapMode(kWrapTile);
    g.FillRectangle(brush, x, y, w, h);
}

}  // namespace

COLORREF SplitArgb(uint32_t argb, int* alpha) {
    if (alpha) *alpha = static_cast<int>(argb >> 24);
    const uint32_t blue = argb & 0xFF, green = (argb >> 8) & 0xFF, red = (argb >> 16) & 0xFF;
    return red | green << 8 | blue << 16;
}

COLORREF AverageImageColor(const rt::ByteString& bytes, int samples,
                           std::optional<int> rightMargin, std::optional<int> bottomMargin,
                           const rt::AnsiText& path) {
    drw::BitmapObject picture;
    if (path.empty())
        picture.FromBytes(bytes);
    else
        picture.FromFile(path);
    const int w = static_cast<int>(picture.GetWidth());
    const int h = static_cast<int>(picture.GetHeight());
    if (w <= 0 || h <= 0 || samples < 1) return kOpaqueBlack;

    int xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
    SampleRange(w, rightMargin, xLow, xHigh);
    SampleRange(h, bottomMargin, yLow, yHigh);
    int64_t red = 0, green = 0, blue = 0;
    for (int i = 1; i <= samples; ++i) {
        rt::Seed(static_cast<int32_t>(rt::Now() + 3.0 * i));
        const int x = rt::Random(xLow, xHigh);
        rt::Seed(static_cast<int32_t>(rt::Now() + i));
        const int y = rt::Random(yLow, yHigh);
        // A pixel that cannot be read (a margin wider than the picture)
        // counts as black.
        const COLORREF c = SplitArgb(picture.GetPixel(x, y));
        blue += c / 65536;
        green += (c % 65536) / 256;
        red += c % 256;
    }
    const uint32_t r = static_cast<uint32_t>(red / samples);
    const uint32_t g = static_cast<uint32_t>(green / samples);
    const uint32_t b = static_cast<uint32_t>(blue / samples);
    return 0xFF000000u | r | g << 8 | b << 16;
}

rt::ByteString BuildBackgroundPicture(const rt::ByteString& bytes, std::optional<int> edge,
                                      COLORREF colour, int fadeRightEdge,
                                      const rt::AnsiText& path) {
    drw::ImageObject source;
    if (path.empty())
        source.LoadFromBytes(bytes);
    else
        source.LoadFromFile(path);
    const int w = rt::Round(source.GetWidth());
    const int h = rt::Round(source.GetHeight());
    if (w <= 0 || h <= 0) return {};

    drw::BitmapObject canvas;
    canvas.Create(w, h);
    {
        drw::GraphicsObject g;
        g.FromImage(canvas);
        g.SetCompositingQuality(kCompositingGammaCorrected);
        g.DrawImageRect(source, 0, 0, static_cast<float>(w), static_cast<float>(h));

        const int e = edge ? *edge : rt::Round(0.3 * w);
        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        const float fe = static_cast<float>(e);
        const drw::ARGB solid = ColorRefToArgb(colour, 255);
        const drw::ARGB clear = ColorRefToArgb(colour, 0);
        if (fadeRightEdge != 0) {
            const int x0 = static_cast<int>(w - e);
            FillBand(g, static_cast<float>(x0 + 1), 0, fe, fh,
                     drw::PointF{static_cast<float>(x0), 0}, drw::PointF{fw, 0}, kClearWhite,
                     solid);
        } else {
            FillBand(g, 0, 0, fe, fh, drw::PointF{0, 0}, drw::PointF{fe, 0}, solid, kClearWhite);
        }
        const int y0 = static_cast<int>(h - e);
        FillBand(g, 0, static_cast<float>(y0 + 1), fw, fe, drw::PointF{0, static_cast<float>(y0)},
                 drw::PointF{0, fh}, clear, solid);
    }
    return canvas.SaveToBytes(rt::AnsiText(drw::ImageFormatPNG));
}

rt::ByteString PictureForMode(int mode, const rt::ByteString& bytes, COLORREF colour,
                              const rt::AnsiText& path) {
    if (mode == 0) return BuildBackgroundPicture(bytes, {}, colour, 1, path);
    if (mode == 1) return BuildBackgroundPicture(bytes, {}, colour, 0, path);
    if (path.empty()) return bytes;
    drw::ImageObject image;
    image.LoadFromFile(path);
    return image.SaveToBytes(rt::AnsiText(drw::ImageFormatPNG));
}

void InvalidateHeaders(int record) {
    if (!SkinWindowTable.Contains(record)) return;
    for (const SkinnedHeader& header : SkinWindowTable[record].Headers)
        if (header.Window) InvalidateRect(header.Window, nullptr, FALSE);
}

void SkinEngine::SetSkinTheme(std::optional<rt::AnsiText> path, const rt::ByteString* picture,
                              std::optional<COLORREF> colour, std::optional<int32_t> themeColour,
                              std::optional<int> mode) {
    const rt::AnsiText file = path.value_or(rt::AnsiText());
    const rt::ByteString none;
    const rt::ByteString& bytes = picture ? *picture : none;
    const bool themeFromPicture = themeColour && *themeColour == kThemeFromPicture;

    if (!themeFromPicture)
        ThemeColor = themeColour ? static_cast<COLORREF>(*themeColour) : kDefaultThemeColor;
    if (bytes.empty() && !colour && file.empty()) return;

    if (!file.empty() || !bytes.empty()) {
        GlobalPictureColor =
            colour ? *colour : AverageImageColor(bytes, kColorSamples, {}, {}, file);
        if (themeFromPicture) ThemeColor = GlobalPictureColor;
        GlobalPictureMode = mode.value_or(kDefaultThemeMode);
        GlobalPicture = PictureForMode(GlobalPictureMode, bytes, GlobalPictureColor, file);
    } else {
        rt::ByteString().swap(GlobalPicture);
        GlobalPictureColor = *colour;
        if (themeFromPicture) ThemeColor = GlobalPictureColor;
    }

    // Visible windows are rendered now; hidden ones render when shown.
    for (int i = 1; i <= SkinWindowTable.Count(); ++i) {
        const HWND window = SkinWindowTable[i].Window;
        if (!IsWindowVisible(window)) continue;
        RenderWindow(i, 0);
        InvalidateRect(window, nullptr, FALSE);
        InvalidateVisibleChildren(window);
        InvalidateHeaders(i);
    }
}

int SkinEngine::SetWindowBackground(HWND window, const rt::ByteString& picture,
                                    std::optional<int> mode) {
    const int record = OwnRecordIndex(window);
    if (record == 0 || picture.empty()) return 0;
    SkinWindowRecord& r = SkinWindowTable[record];
    if (mode) r.PictureMode = *mode;
    r.PictureColor = AverageImageColor(picture, kColorSamples);
    r.Picture = PictureForMode(r.PictureMode, picture, r.PictureColor);
    r.RenderNeeded = 1;
    InvalidateRect(window, nullptr, FALSE);
    return 1;
}

COLORREF SkinEngine::GetPictureColor() { return GlobalPictureColor; }

}  // namespace skin
