// Background capture: the piece of the skinned window's cached rendering that
// lies under a control, copied into a registered off-screen DC, with the
// translucent fill of the skinned container the control lies in or is.
#include "skin/capture.h"

#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {

rt::CountedArray<MemoryDcEntry> MemoryDcRegistry;

namespace {

int FindRegistryEntry(HDC dc) {
    for (int i = 1; i <= MemoryDcRegistry.Count(); ++i)
        if (MemoryDcRegistry[i].Dc == dc) return i;
    return 0;
}

// A registered DC holding an all-zero 32-bpp bitmap of w x h (top-down, the
// layout GDI+ gives a 32bpp ARGB bitmap turned into an HBITMAP). An empty
// size makes no bitmap, and nothing is copied into the DC.
HDC MakeCaptureDc(int w, int h) {
    BitmapHandle pixels = MakeDibSection32(w, h);
    MemoryDc dc(nullptr);
    HGDIOBJ previous = pixels ? SelectObject(dc, pixels) : nullptr;
    RegisterMemoryDc(dc, pixels.Get(), previous);
    pixels.Release();
    return dc.Release();
}

// The container's translucent fill over the whole capture, or for a group box
// over its frame's rounded rectangle (below the caption line).
void FillContainer(HDC dc, const SkinnedContainer& entry, const RECT& rect, bool groupBoxShape) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    drw::PathObject path;
    path.Create();
    if (groupBoxShape)
        AddRoundedRectPath(path, 0, 5, static_cast<float>(rect.right),
                           static_cast<float>(rect.bottom - 6), 5);
    else
        path.AddRectangle(0, 0, static_cast<float>(w), static_cast<float>(h));
    drw::GraphicsObject graphics;
    graphics.FromHdc(dc);
    drw::SolidBrushObject brush;
    brush.Create(ColorRefToArgb(entry.FillColor, entry.FillAlpha));
    graphics.FillPath(brush, path);
    brush.Delete();
    graphics.Delete();
    path.Delete();
}

void CopyPiece(HDC to, const RECT& rect, HDC from, const RECT& offset) {
    BitBlt(to, 0, 0, rect.right - rect.left, rect.bottom - rect.top, from,
           offset.left + rect.left, offset.top + rect.top, SRCCOPY);
}

HDC MarkedWindowDc(HWND marked) {
    return reinterpret_cast<HDC>(ReadProp(marked, prop::Wxk_Cj));
}

}  // namespace

void RegisterMemoryDc(HDC dc, HBITMAP bitmap, HGDIOBJ previousBitmap) {
    if (const int i = FindRegistryEntry(dc); i > 0) {
        MemoryDcRegistry[i].Bitmap = bitmap;
        MemoryDcRegistry[i].PreviousBitmap = previousBitmap;
        return;
    }
    MemoryDcRegistry.Append(MemoryDcEntry{dc, bitmap, previousBitmap});
}

bool ReleaseMemoryDc(HDC dc) {
    if (!dc) return false;
    const int i = FindRegistryEntry(dc);
    if (i == 0) return false;
    const MemoryDcEntry entry = MemoryDcRegistry[i];
    if (entry.PreviousBitmap) DeleteCountedObject(SelectObject(dc, entry.PreviousBitmap));
    DeleteCountedDc(dc);
    MemoryDcRegistry.RemoveAt(i);
    return true;
}

HDC CaptureControlBackground(HWND control, const RECT& rect) {
    HDC dc = MakeCaptureDc(rect.right - rect.left, rect.bottom - rect.top);
    int record = 0, container = 0;
    HWND marked = nullptr;
    const int direct = FindSkinContainer(control, record, container, marked);

    auto cacheOf = [](int r) { return SkinWindowTable[r].WindowCacheDc; };
    auto entryOf = [](int r, int j) -> const SkinnedContainer& {
        return SkinWindowTable[r].Containers[j];
    };

    if (direct == 1) {
        CopyPiece(dc, rect, cacheOf(record), GetRectInContainer(control));
        if (const int own = FindContainerEntry(record, control);
            own > 0 && entryOf(record, own).FillColor != 0)
            FillContainer(dc, entryOf(record, own), rect, entryOf(record, own).GroupBox != 0);
        return dc;
    }

    if (marked && marked == control) {
        if (const std::intptr_t above = ReadProp(control, prop::Mb_zpf); above != 0) {
            HWND aboveWindow = reinterpret_cast<HWND>(above);
            CopyPiece(dc, rect, MarkedWindowDc(aboveWindow),
                      GetRectRelativeTo(aboveWindow, control));
            return dc;
        }
        const int root = FindRootWindowRecord(control);
        if (root == 0) {
            ReleaseMemoryDc(dc);
            return nullptr;
        }
        CopyPiece(dc, rect, cacheOf(root), GetRectInRootWindow(control));
        return dc;
    }

    if (marked) {
        CopyPiece(dc, rect, MarkedWindowDc(marked), GetRectRelativeTo(marked, control));
        if (const int root = FindRootWindowRecord(control); root > 0) {
            if (const int own = FindContainerEntry(root, control);
                own > 0 && entryOf(root, own).FillColor > 0) {
                FillContainer(dc, entryOf(root, own), rect, entryOf(root, own).GroupBox != 0);
            } else if (const int inside = IsInsideFilledContainer(root, control, marked);
                       inside > 0 && entryOf(root, inside).FillColor > 0) {
                FillContainer(dc, entryOf(root, inside), rect, false);
            }
        }
        return dc;
    }

    // A skinned container above the control, or nothing found on the walk.
    const int root = record > 0 ? record : FindRootWindowRecord(control);
    if (root == 0) {
        ReleaseMemoryDc(dc);
        return nullptr;
    }
    CopyPiece(dc, rect, cacheOf(root), GetRectInRootWindow(control));
    const int own = FindContainerEntry(root, control);
    const int fillFrom = own > 0 ? own : container;
    if (fillFrom > 0 && entryOf(root, fillFrom).FillColor != 0)
        FillContainer(dc, entryOf(root, fillFrom), rect, false);
    return dc;
}

HDC CreateGlassBackgroundDc(HWND control) {
    const RECT r = GetClientRectInWindow(control);
    HDC dc = CaptureControlBackground(control, r);
    if (!dc) return nullptr;
    drw::GraphicsObject graphics;
    graphics.FromHdc(dc);
    drw::SolidBrushObject white;
    white.Create(ColorRefToArgb(0xFFFFFF, GlassAlpha));
    graphics.FillRectangle(white, 0, 0, static_cast<float>(r.right - r.left),
                           static_cast<float>(r.bottom - r.top));
    white.Delete();
    graphics.Delete();
    return dc;
}

HBITMAP MakeGlassBackgroundBitmap(HWND control) {
    const RECT r = GetClientRectInWindow(control);
    HDC dc = CreateGlassBackgroundDc(control);
    // No skinned window above: no picture, so the caller's brush is 0.
    if (!dc) return nullptr;
    return CopyDcToBitmap(dc, r.right - r.left, r.bottom - r.top);
}

HBITMAP CopyDcToBitmap(HDC dc, int w, int h) {
    HBITMAP copy = CreateCompatibleBitmap(dc, w, h);
    {
        MemoryDc target(nullptr);
        SelectedObject selected(target, copy);
        BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    }
    ReleaseMemoryDc(dc);
    return copy;
}

HDC GetDcExcludingChildren(HWND window, HDC dc) {
    if (!dc) dc = GetDC(window);
    if (!window) return dc;
    // The children are listed anew on every call: a child can come by ways
    // this thread is never told of (SetParent, another thread making one),
    // and a paint over a child is wrong where a listing costs little.
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr)) {
        if (!IsWindowVisible(child) || IsTransparentExStyle(child)) continue;
        const RECT r = GetRectInParentClient(child);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    return dc;
}

}  // namespace skin
