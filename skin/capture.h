// What lies behind a control: pieces of the skinned window's cached rendering
// copied into off-screen DCs for the painters, with a skinned container's
// translucent fill laid over them, and the registry those DCs live in until
// the painter releases them.
#pragma once

#include <windows.h>

#include "runtime/runtime.h"

namespace skin {

// One live off-screen DC made here: the DC, the bitmap made for it and the
// bitmap it displaced.
struct MemoryDcEntry {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ PreviousBitmap = nullptr;
};

// Every capture DC not yet released, unique by DC.
extern rt::CountedArray<MemoryDcEntry> MemoryDcRegistry;

// A new registered DC holding the piece of the skinned window's rendering
// under rect (in control's window coordinates), with the fill of the
// skinned container it lies in or is. 0 when no skinned window lies above
// the control. Release it with ReleaseMemoryDc.
HDC CaptureControlBackground(HWND control, const RECT& rect);
// Updates the entry of dc or appends one. The registry deletes what it holds
// through the counted deletes of gdi_handles.h: register only a DC and bitmap
// made through MemoryDc and BitmapHandle (and released from them).
void RegisterMemoryDc(HDC dc, HBITMAP bitmap, HGDIOBJ previousBitmap);
// Deletes a registered DC and its bitmap. False for 0 and for a DC that is
// not registered (which is left alone).
bool ReleaseMemoryDc(HDC dc);
// The control's client area captured and covered with white at GlassAlpha;
// registered, released by the caller.
HDC CreateGlassBackgroundDc(HWND control);
// The same picture as a plain bitmap owned by the caller.
HBITMAP MakeGlassBackgroundBitmap(HWND control);
// (0, 0, w, h) of a registered DC copied into a new compatible bitmap owned
// by the caller; the DC is released.
HBITMAP CopyDcToBitmap(HDC dc, int w, int h);
// dc (or GetDC(window) when dc is 0; the caller releases that one) with every
// visible, not transparent direct child excluded from its clip region.
HDC GetDcExcludingChildren(HWND window, HDC dc = nullptr);

// A capture released through the registry when it leaves scope.
class ScopedCapture {
public:
    explicit ScopedCapture(HDC dc) : dc_(dc) {}
    ScopedCapture(const ScopedCapture&) = delete;
    ScopedCapture& operator=(const ScopedCapture&) = delete;
    ~ScopedCapture() {
        if (dc_) ReleaseMemoryDc(dc_);
    }
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace skin
