// Header controls: attach, window procedure, item painter and text measure.
#include "skin/controls/header.h"

#include <commctrl.h>

#include <optional>

#include "drawing/font.h"
#include "drawing/graphics.h"
#include "drawing/image.h"
#include "drawing/pen_brush.h"
#include "skin/capture.h"
#include "skin/controls/push_button.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

// The 5 px at each end of an item, where its divider is dragged.
constexpr int kDividerGrip = 5;
constexpr int kTextCapacity = 260;

SkinnedHeader& HeaderEntry(const ControlIds& ids) {
    return SkinWindowTable[ids.record].Headers[ids.entry];
}

// An icon taken from an image list, destroyed on every path.
class OwnedIcon {
public:
    explicit OwnedIcon(HICON icon) : icon_(icon) {}
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon() {
        if (icon_) DestroyIcon(icon_);
    }
    HICON Get() const { return icon_; }

private:
    HICON icon_;
};

void AttachHeader(int record, HWND header) {
    if (IsSkinSubclassed(header)) return;
    const ControlFont font = ReadControlFont(header);
    const LONG style = GetWindowLongA(header, GWL_STYLE);
    const auto imageList =
        reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    auto& headers = SkinWindowTable[record].Headers;
    const int index = TakeEntry(headers);
    SkinnedHeader& entry = headers[index];
    entry.ButtonsStyle = (style & HDS_BUTTONS) ? 1 : 0;
    SubclassControl(entry, header, record, index, HeaderSkinProc);
    entry.FontName = font.FaceName;
    entry.FontStyle = font.Style;
    entry.FontSize = font.Size;
    entry.ImageList = imageList;
}

// What one paint of a header reads from its entry.
struct HeaderLook {
    HWND Window;
    int Hot, HotItem, PressedItem, ButtonsStyle;
    rt::AnsiText FontName;
    int FontSize, FontStyle;
    HIMAGELIST ImageList;
};

// Where the image starts (the text follows it) for the item's alignment.
int ItemContentX(int format, int w, int iw, int margin, int tw) {
    const bool fits = iw + margin + tw < w;
    if (format & HDF_RIGHT) return fits ? w - iw - tw : margin;
    if (format & HDF_CENTER) return fits ? (w - iw - margin - tw) / 2 : margin;
    return margin;
}

void FillGradient(drw::GraphicsObject& graphics, float top, float w, float h, uint32_t from,
                  uint32_t to) {
    drw::LinearBrushObject brush;
    brush.Create(drw::PointF{0, top}, drw::PointF{0, top + h}, from, to);
    graphics.FillRectangle(brush, 0, top, w, h);
}

void PaintHeaderItem(const HeaderLook& look, int item, int count, int margin,
                     std::optional<WindowDc>& screen) {
    HWND header = look.Window;
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, item - 1, reinterpret_cast<LPARAM>(&r));
    char text[kTextCapacity] = {};
    HDITEMA info{};
    info.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP | HDI_IMAGE;
    info.pszText = text;
    info.cchTextMax = kTextCapacity;
    SendMessageA(header, HDM_GETITEMA, item - 1, reinterpret_cast<LPARAM>(&info));
    text[kTextCapacity - 1] = '\0';
    OwnedIcon icon((info.fmt & HDF_IMAGE) && look.ImageList
                       ? ImageList_GetIcon(look.ImageList, info.iImage, ILD_TRANSPARENT)
                       : nullptr);

    const int w = r.right - r.left, h = r.bottom - r.top;
    const float top = static_cast<float>(r.top);
    int drawW = w;
    // The last item of a list view's header reaches the list view's right
    // edge, so no unpainted strip remains beside it.
    HWND parent = GetParent(header);
    if (item == count && GetClassNameText(parent) == "SysListView32") {
        RECT p{};
        GetClientRect(parent, &p);
        if (r.right < p.right) {
            drawW = p.right - r.left;
            r.right = p.right;
        }
    }

    ScopedCapture capture(CaptureControlBackground(header, r));
    if (!capture.Get()) return;
    {
        drw::GraphicsObject graphics;
        graphics.FromHdc(capture);
        const float fw = static_cast<float>(w), fdw = static_cast<float>(drawW);
        const float fh = static_cast<float>(h);
        {
            drw::SolidBrushObject base;
            base.Create(TransparentControlsFlag ? ColorRefToArgb(0xFFFFFF, GlassAlpha)
                                                : 0xFFFFFFFFu);
            graphics.FillRectangle(base, 0, top, fdw, fh);
        }
        const bool buttons = look.ButtonsStyle == 1;
        FillGradient(graphics, top, fdw, fh,
                     buttons ? 0x50FFFFFFu : ColorRefToArgb(ThemeColor, 60),
                     ColorRefToArgb(ThemeColor, buttons ? 120 : 10));
        if (buttons && look.Hot != 0 && look.HotItem == item)
            FillGradient(graphics, top, fw, fh, ColorRefToArgb(ThemeColor, 60), 0x1E000000);
        if (buttons && look.PressedItem == item)
            FillGradient(graphics, top, fw, fh, 0x1E000000, 0x78FFFFFF);
        {
            drw::LinearBrushObject shade;
            shade.Create(drw::PointF{fw - 1, top}, drw::PointF{fw - 1, top + fh}, 0x3C000000,
                         0x32FFFFFF);
            drw::PenObject separator;
            separator.CreateFromBrush(shade, 1.0f);
            graphics.DrawLine(separator, fw - 1, top, fw - 1, top + fh);
        }

        drw::BitmapObject picture;
        int iw = 0, ih = 0;
        if (icon.Get() && picture.FromHICON(icon.Get())) {
            iw = static_cast<int>(picture.GetWidth());
            ih = static_cast<int>(picture.GetHeight());
        }
        const int tw = MeasureTextWidth(text, look.FontName, look.FontSize, look.FontStyle);
        const int x = ItemContentX(info.fmt, w, iw, margin, tw);
        if (iw != 0) graphics.DrawImage(picture, static_cast<float>(x), (h - ih) / 2.0f);

        drw::FontObject font;
        font.CreateByName(look.FontName, static_cast<float>(look.FontSize), look.FontStyle);
        drw::StringFormatObject format;
        CreateItemTextFormat(format);
        drw::SolidBrushObject ink;
        ink.Create(0xFF000000);
        graphics.DrawString(text, font, ink,
                            drw::RectF{static_cast<float>(x + iw), 0,
                                       static_cast<float>(w - iw - 2 * margin), fh},
                            &format);
    }
    if (!screen) screen.emplace(header);
    BitBlt(*screen, r.left, r.top, drawW, r.bottom - r.top, capture, 0, 0, SRCCOPY);
}

}  // namespace

void AttachHeaders(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    for (HWND header = FindWindowExA(parent, nullptr, "SysHeader32", nullptr); header;
         header = FindWindowExA(parent, header, "SysHeader32", nullptr))
        AttachHeader(record, header);
    for (HWND view = FindWindowExA(parent, nullptr, "SysListView32", nullptr); view;
         view = FindWindowExA(parent, view, "SysListView32", nullptr))
        if (HWND header = FindWindowExA(view, nullptr, "SysHeader32", nullptr))
            AttachHeader(record, header);
}

int HitTestHeaderItem(int record, int entry, LPARAM lParam) {
    HWND header = SkinWindowTable[record].Headers[entry].Window;
    const int x = MouseX(lParam);
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 1; i <= count; ++i) {
        RECT r{};
        SendMessageA(header, HDM_GETITEMRECT, i - 1, reinterpret_cast<LPARAM>(&r));
        if (r.left + kDividerGrip <= x && x <= r.right - kDividerGrip) return i;
    }
    return 0;
}

void PaintHeader(int record, int entry) {
    if (!SkinWindowTable.Contains(record)) return;
    const auto& headers = SkinWindowTable[record].Headers;
    if (entry < 1 || entry > headers.Count()) return;
    const SkinnedHeader& e = headers[entry];
    const HeaderLook look{e.Window,   e.Hot,      e.HotItem,   e.PressedItem, e.ButtonsStyle,
                          e.FontName, e.FontSize, e.FontStyle, e.ImageList};
    const int count = static_cast<int>(SendMessageA(look.Window, HDM_GETITEMCOUNT, 0, 0));
    const int margin = static_cast<int>(SendMessageA(look.Window, HDM_GETBITMAPMARGIN, 0, 0));
    std::optional<WindowDc> screen;
    for (int i = 1; i <= count; ++i) PaintHeaderItem(look, i, count, margin, screen);
}

int MeasureTextWidth(const rt::AnsiText& text, const rt::AnsiText& faceName, int size,
                     int style) {
    MemoryDc dc(nullptr);
    drw::GraphicsObject graphics;
    graphics.FromHdc(dc);
    drw::FontObject font;
    font.CreateByName(faceName, static_cast<float>(size), style);
    drw::RectF bounds{0, 0, 0, 0};
    graphics.MeasureString(text, font, drw::RectF{0, 0, 0, 0}, nullptr, bounds);
    return rt::Round(bounds.width) + 1;
}

void CreateItemTextFormat(drw::StringFormatObject& format) {
    format.Create();
    format.SetTrimming(3 /* StringTrimmingEllipsisCharacter */);
}

LRESULT CALLBACK HeaderSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    if (!LiveEntryOf(window, &SkinWindowRecord::Headers, &ids))
        return CallPreviousProc(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE: {
        TrackMouseLeave(window);
        SkinWindowTable[ids.record].HotEntry = ids.entry;
        if (ids.entry > 0) {
            const int hotItem = HitTestHeaderItem(ids.record, ids.entry, lParam);
            SkinnedHeader& e = HeaderEntry(ids);
            e.Hot = 1;
            e.HotItem = hotItem;
            SkinWindowTable[ids.record].HotControlClass = kHotHeader;
            if (e.HotItem != e.LastHotItem && e.HotItem > 0 && e.Pressed == 0) {
                PaintHeader(ids.record, ids.entry);
                HeaderEntry(ids).LastHotItem = hotItem;
            } else if (e.HotItem == 0) {
                e.LastHotItem = 0;
                e.Hot = 0;
                PaintHeader(ids.record, ids.entry);
            }
        }
        SkinWindowRecord& r = SkinWindowTable[ids.record];
        r.PreviousHotEntry = r.HotEntry;
        break;
    }
    case WM_MOUSELEAVE: {
        SkinWindowTable[ids.record].PreviousHotEntry = 0;
        SkinnedHeader& e = HeaderEntry(ids);
        e.LastHotItem = e.HotItem = e.Hot = 0;
        PaintHeader(ids.record, ids.entry);
        break;
    }
    case WM_MOVE:
        PaintHeader(ids.record, ids.entry);
        break;
    case WM_ERASEBKGND:
        return EraseNothing(wParam);
    case WM_PAINT:
        return PaintWhole(window, wParam, lParam, [&] { PaintHeader(ids.record, ids.entry); });
    case WM_LBUTTONDOWN: {
        SkinnedHeader& e = HeaderEntry(ids);
        e.Pressed = 1;
        if (e.HotItem > 0) e.PressedItem = e.HotItem;
        break;
    }
    case WM_LBUTTONUP: {
        SkinnedHeader& e = HeaderEntry(ids);
        e.Pressed = 0;
        e.PressedItem = 0;
        break;
    }
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

}  // namespace skin
