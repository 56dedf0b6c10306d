// The frame renderer: the cached rendering of a whole skinned window, its
// clean caption and status layers, the rounded region, the picture layouts
// and the repaint of the skinned children.
#include "skin/frame.h"

#include <algorithm>
#include <cstring>

#include "drawing/drawing.h"
#include "skin/capture.h"
#include "skin/caption_paint.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/test_hooks.h"
#include "skin/record.h"

namespace skin {

namespace {

constexpr int kFlushSync = 1;
constexpr int kRotateNoneFlipX = 4;
constexpr int kFrameCornerBox = 4;
constexpr int kRegionCorner = 5;
constexpr int kCombineUnion = 2;

void Flush(drw::GraphicsObject& g) { g.Flush(kFlushSync); }

// The window's shape for a client of w x h.
HRGN MakeWindowShape(int w, int h) {
    return CreateRoundRectRgn(0, 0, w + 1, h + 1, kRegionCorner, kRegionCorner);
}

// A cache bitmap: 32-bpp ARGB, every pixel 0, as a GDI bitmap owned by the
// caller (counted; 0 for a size GDI+ refuses).
HBITMAP MakeCacheBitmap(int width, int height) {
    drw::BitmapObject pixels;
    pixels.Create(width, height);
    return BitmapHandle::Adopt(pixels.GetHBITMAP()).Release();
}

// Replaces a layer's DC and bitmap by a new pair of the given size.
void RemakeLayer(HDC& dc, HBITMAP& displaced, HBITMAP& bitmap, int width, int height) {
    if (dc) {
        SelectObject(dc, displaced);
        DeleteCountedObject(bitmap);
        DeleteCountedDc(dc);
    }
    dc = MemoryDc(nullptr).Release();
    bitmap = MakeCacheBitmap(width, height);
    displaced = static_cast<HBITMAP>(bitmap ? SelectObject(dc, bitmap) : nullptr);
}

// Which picture a record shows: its own when it has one, else the global.
struct PictureChoice {
    const rt::ByteString& bytes;
    int mode;
    COLORREF fill;
};
PictureChoice ChoosePicture(const SkinWindowRecord& r) {
    if (!r.Picture.empty()) return PictureChoice{r.Picture, r.PictureMode, r.PictureColor};
    return PictureChoice{GlobalPicture, GlobalPictureMode, GlobalPictureColor};
}

template <class Entry>
void InvalidateEntries(const rt::CountedArray<Entry>& entries, HWND parent, BOOL erase) {
    for (const Entry& e : entries)
        if (e.Window && GetParent(e.Window) == parent) InvalidateRect(e.Window, nullptr, erase);
}

}  // namespace

namespace {

// Everything the background, the caption gloss and the border of a
// rendering are drawn from.
struct FrameLook {
    int width, height, mode;
    COLORREF fill;
    int captionOn, captionGloss, captionHeight;
    bool operator==(const FrameLook& o) const {
        return width == o.width && height == o.height && mode == o.mode && fill == o.fill &&
               captionOn == o.captionOn && captionGloss == o.captionGloss &&
               captionHeight == o.captionHeight;
    }
};

FrameLook LookOf(const SkinWindowRecord& r, int w, int h, const PictureChoice& picture) {
    return FrameLook{w, h, picture.mode, picture.fill, r.CaptionOn, r.CaptionGloss,
                     r.CaptionHeight};
}

void AddFramePath(drw::PathObject& frame, int w, int h) {
    frame.Create();
    AddRoundedRectPath(frame, 0, 0, static_cast<float>(w), static_cast<float>(h),
                       kFrameCornerBox);
}

}  // namespace

// The finished background, gloss and border of a window, and what they were
// drawn from.
struct BackgroundLayer {
    BackgroundLayer(HDC source, const FrameLook& look, const rt::ByteString& picture)
        : Look(look), Picture(picture) {
        Previous = Bitmap ? SelectObject(Dc, Bitmap) : nullptr;
        BitBlt(Dc, 0, 0, look.width, look.height, source, 0, 0, SRCCOPY);
    }
    BackgroundLayer(const BackgroundLayer&) = delete;
    BackgroundLayer& operator=(const BackgroundLayer&) = delete;
    ~BackgroundLayer() {
        if (Previous) SelectObject(Dc, Previous);
    }

    bool Shows(const FrameLook& look, const rt::ByteString& picture) const {
        return Previous && look == Look && picture.size() == Picture.size() &&
               (Picture.empty() ||
                std::memcmp(picture.data(), Picture.data(), Picture.size()) == 0);
    }

    // What it was drawn from (declared first: the bitmap is made from it).
    FrameLook Look;
    rt::ByteString Picture;
    MemoryDc Dc{nullptr};
    BitmapHandle Bitmap = BitmapHandle::Adopt(MakeCacheBitmap(Look.width, Look.height));
    HGDIOBJ Previous = nullptr;
};

void test_hooks::ForgetBackgroundLayer(int record) {
    if (SkinWindowTable.Contains(record)) SkinWindowTable[record].BackgroundCache.reset();
}

void ApplyRoundWindowRegion(HWND window) {
    SetWindowRgn(window, nullptr, TRUE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(window, &client);
    // From SetWindowRgn on, the region belongs to the system.
    SetWindowRgn(window, MakeWindowShape(client.right, client.bottom), TRUE);
}

void PrepareBackgroundBitmap(int record, drw::BitmapObject& bitmap) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    const PictureChoice picture = ChoosePicture(r);
    if (picture.bytes.empty()) return;
    switch (picture.mode) {
        case kPictureTopLeft:
        case kPictureTopRight:
        case kPictureCentred:
        case kPictureStretched:
            bitmap.FromBytes(picture.bytes);
            return;
        case kPictureMirrorTiled:
            break;
        default:
            return;
    }

    drw::ImageObject tile;
    tile.LoadFromBytes(picture.bytes);
    const int w = static_cast<int>(tile.GetWidth());
    const int h = static_cast<int>(tile.GetHeight());
    // A picture without pixels would never advance the tiling.
    if (w <= 0 || h <= 0) return;
    RECT client{};
    GetClientRect(r.Window, &client);
    const int width = client.right;
    if (!bitmap.Create(width, h)) return;
    drw::GraphicsObject g;
    g.FromImage(bitmap);
    // Copies side by side, every second one mirrored, until one has been
    // drawn whose left edge lies at the client's right edge or beyond.
    for (int n = 0;; ++n) {
        g.DrawImageRect(tile, static_cast<float>(n * w), 0, static_cast<float>(w),
                        static_cast<float>(h));
        const int rest = width - n * w;
        tile.RotateFlip(kRotateNoneFlipX);
        if (rest <= 0) break;
    }
}

void InvalidateWindowAndChildren(HWND window, int withChildren) {
    InvalidateRect(window, nullptr, TRUE);
    if (withChildren == 0) return;
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr))
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
}

void InvalidateSkinnedChildren(int record) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    for (const SkinnedListControl& e : r.ListControls)
        if (e.Window && GetParent(e.Window) == r.Window) InvalidateWindowAndChildren(e.Window, 1);
    InvalidateEntries(r.ComboBoxes, r.Window, TRUE);
    InvalidateEntries(r.Edits, r.Window, TRUE);
    InvalidateEntries(r.Buttons, r.Window, FALSE);
    InvalidateEntries(r.Trackbars, r.Window, FALSE);
    InvalidateEntries(r.ProgressBars, r.Window, FALSE);
    InvalidateEntries(r.UpDowns, r.Window, FALSE);
}

void SkinEngine::PaintWindowBackground(drw::GraphicsObject& g, int record) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    RECT client{};
    GetClientRect(r.Window, &client);
    const int W = client.right, H = client.bottom;

    drw::PathObject frame;
    AddFramePath(frame, W, H);
    const PictureChoice picture = ChoosePicture(r);

    g.Clear(kFrameKeyArgb);
    // The window's shape reaches a pixel or two beyond the rounded frame at
    // each corner; the background covers those too, or the key colour would
    // show there as pink specks. Outside the shape the key stays.
    RegionHandle shape = RegionHandle::Adopt(MakeWindowShape(W, H));
    g.SetClipPath(frame);
    g.SetClipHrgn(shape, kCombineUnion);
    drw::SolidBrushObject fill;
    fill.Create(ColorRefToArgb(picture.fill, 255));
    g.FillRectangle(fill, 0, 0, static_cast<float>(W), static_cast<float>(H));
    if (!picture.bytes.empty()) {
        drw::BitmapObject b;
        PrepareBackgroundBitmap(record, b);
        const float w = static_cast<float>(b.GetWidth());
        const float h = static_cast<float>(b.GetHeight());
        switch (picture.mode) {
            case kPictureTopLeft:
            case kPictureMirrorTiled:
                g.DrawImage(b, 0, 0);
                break;
            case kPictureTopRight:
                g.DrawImage(b, static_cast<float>(W) - w, 0);
                break;
            case kPictureStretched:
                g.DrawImageRect(b, 0, 0, static_cast<float>(W), static_cast<float>(H));
                break;
            case kPictureCentred:
                g.DrawImageRect(b, (static_cast<float>(W) - w) / 2.0f,
                                (static_cast<float>(H) - h) / 2.0f, w, h);
                break;
            default:
                break;
        }
    }
    // Everything drawn on the surface from here on stays inside the frame.
    g.SetClipPath(frame);

    if (r.CaptionGloss != 0) {
        drw::LinearBrushObject gloss;
        gloss.Create(drw::PointF{0, 0}, drw::PointF{0, static_cast<float>(r.CaptionHeight)},
                     ColorRefToArgb(0xFFFFFF, 150), ColorRefToArgb(0xFFFFFF, 0));
        g.FillRectangle(gloss, 0, 0, static_cast<float>(W), static_cast<float>(r.CaptionHeight));
    }
}

void SkinEngine::PaintWindowBorder(int record, drw::GraphicsObject& g) {
    if (!SkinWindowTable.Contains(record)) return;
    RECT client{};
    GetClientRect(SkinWindowTable[record].Window, &client);
    const float W = static_cast<float>(client.right), H = static_cast<float>(client.bottom);

    drw::PathObject outer;
    outer.Create();
    AddRoundedRectPath(outer, 0, 0, W - 1, H - 1, 7);
    drw::PenObject dark;
    dark.Create(ColorRefToArgb(0x000000, 180), 1.0f);
    g.DrawPath(dark, outer);

    drw::PathObject inner;
    inner.Create();
    AddRoundedRectPath(inner, 1, 1, W - 3, H - 3, 6);
    drw::PenObject light;
    light.Create(ColorRefToArgb(0xFFFFFF, 180), 1.0f);
    g.DrawPath(light, inner);
}

void SkinEngine::RenderWindow(int record, int show) {
    if (!SkinWindowTable.Contains(record)) return;
    const HWND window = SkinWindowTable[record].Window;
    RECT client{};
    GetClientRect(window, &client);
    const int W = client.right, H = client.bottom;

    // The region's SetWindowPos and the title's WM_GETTEXT run the window's
    // own procedures, which may destroy other skinned windows: the records
    // after a removed one move down a number. The rendering follows the
    // window's record to its new number and stops only when it is gone.
    auto follow = [&] {
        if (!StillRecordOf(record, window)) record = OwnRecordIndex(window);
        return record != 0;
    };
    ApplyRoundWindowRegion(window);
    if (!follow()) return;

    {
        SkinWindowRecord& r = SkinWindowTable[record];
        if (!r.WindowCacheDc) r.WindowCacheDc = MemoryDc(nullptr).Release();
        const HBITMAP rendering = MakeCacheBitmap(W, H);
        HGDIOBJ displaced = rendering ? SelectObject(r.WindowCacheDc, rendering) : nullptr;
        if (displaced) {
            // The DC's own first bitmap is kept for the detach; each later
            // one is the previous rendering.
            if (ReadProp(window, prop::Ck_Ycjdx) == 0)
                WriteProp(window, prop::Ck_Ycjdx, reinterpret_cast<std::intptr_t>(displaced));
            else
                DeleteCountedObject(displaced);
            WriteProp(window, prop::Ck_wtjbdx, reinterpret_cast<std::intptr_t>(rendering));
        }

        drw::GraphicsObject g;
        g.FromHdc(r.WindowCacheDc);
        // Background, gloss and border come from the kept layer while
        // nothing they are drawn from changed; else they are drawn and kept.
        const PictureChoice picture = ChoosePicture(r);
        const FrameLook look = LookOf(r, W, H, picture);
        if (r.BackgroundCache && r.BackgroundCache->Shows(look, picture.bytes)) {
            BitBlt(r.WindowCacheDc, 0, 0, W, H, r.BackgroundCache->Dc, 0, 0, SRCCOPY);
            drw::PathObject frame;
            AddFramePath(frame, W, H);
            g.SetClipPath(frame);
        } else {
            r.BackgroundCache.reset();
            PaintWindowBackground(g, record);
            if (r.CaptionOn != 0) PaintWindowBorder(record, g);
            Flush(g);
            if (W > 0 && H > 0)
                r.BackgroundCache =
                    std::make_shared<BackgroundLayer>(r.WindowCacheDc, look, picture.bytes);
        }

        if (r.CaptionOn != 0) {
            Flush(g);
            // A long title wraps below a low caption: the layer reaches as
            // far down as a title can ink, so that a new title can wipe the
            // old one whole.
            const int titleBottom = CaptionTitleArea(r, W, FrameBorderWidth).bottom;
            const int layerHeight = std::max<int>(r.CaptionHeight, std::min(H, titleBottom));
            RemakeLayer(r.CaptionCacheDc, r.CaptionCacheOldBitmap, r.CaptionCacheBitmap, W,
                        layerHeight);
            BitBlt(r.CaptionCacheDc, 0, 0, W, layerHeight, r.WindowCacheDc, 0, 0, SRCCOPY);
        }
        Flush(g);
        const RectI status = r.StatusRect;
        RemakeLayer(r.StatusCacheDc, r.StatusCacheOldBitmap, r.StatusCacheBitmap, status.width,
                    status.height);
        if (status.width > 0 && status.height > 0)
            BitBlt(r.StatusCacheDc, 0, 0, status.width, status.height, r.WindowCacheDc, status.x,
                   status.y, SRCCOPY);

        if (r.CaptionOn != 0) {
            if (r.DrawTitle != 0) PaintCaption(record, &g);
            // The title asks the window for its text: from here on `r` may
            // be another record's and the record is followed before every use.
            for (int i = 1; follow() && i <= SkinWindowTable[record].CaptionButtons.Count(); ++i)
                PaintCaptionButton(record, i, &g);
        }
        if (follow() && SkinWindowTable[record].StatusHeight > 0)
            for (int i = 1; follow() && i <= SkinWindowTable[record].StatusPanes.Count(); ++i)
                PaintStatusPane(record, &g, i);
    }

    if (!follow()) return;
    SkinWindowRecord& r = SkinWindowTable[record];
    if (show == 0) {
        r.RenderNeeded = 0;
        return;
    }
    {
        WindowDc screen(window);
        GetDcExcludingChildren(window, screen);
        if (W > 0 && H > 0) BitBlt(screen, 0, 0, W, H, r.WindowCacheDc, 0, 0, SRCCOPY);
    }
    r.RenderNeeded = 0;
    if (FirstSizePending == 0) InvalidateSkinnedChildren(record);
}

void SkinEngine::BlitWindowCache(int record, HDC dc) {
    if (!SkinWindowTable.Contains(record)) return;
    const SkinWindowRecord& r = SkinWindowTable[record];
    RECT bounds{};
    GetWindowRect(r.Window, &bounds);
    GetDcExcludingChildren(r.Window, dc);
    BitBlt(dc, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, r.WindowCacheDc, 0, 0,
           SRCCOPY);
}

}  // namespace skin
