// Reading pixels back through 32 bits-per-pixel DIBs: the header of a
// top-down 32-bpp BI_RGB DIB, a DIB section of that kind, and copies of what
// a DC shows, each pixel 0xAARRGGBB as the DIB holds it (GDI leaves the top
// byte as the drawing left it; most callers mask it off).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testsupport {

// A top-down (first row first), 32-bpp, uncompressed DIB of width x height.
BITMAPINFO TopDownDib32Info(int width, int height);

// A DIB section of that kind (nullptr on failure); *bits receives its pixels.
// The caller deletes it with DeleteObject.
HBITMAP CreateTopDownDib32(int width, int height, void** bits);

// The area (x, y, width, height) of a DC copied with BitBlt into a 32-bpp DIB:
// width * height pixels, row by row from the top (all zero if the copy cannot
// be made). Every GDI object made on the way is released.
std::vector<uint32_t> CopyPixels32(HDC dc, int x, int y, int width, int height);

// The top width x height pixels of the bitmap selected into a memory DC,
// read with GetDIBits, row by row from the top.
std::vector<uint32_t> ReadSelectedBitmap32(HDC dc, int width, int height);

// A COLORREF as a 32-bpp DIB pixel: 0x00RRGGBB.
inline uint32_t DibPixel(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

// Whether red, green and blue of two colours each differ by at most tolerance.
bool ChannelsWithin(COLORREF actual, COLORREF expected, int tolerance);

// The colour and alpha of a two-colour ARGB gradient at t (0 at from, 1 at
// to), the stops mixed premultiplied by their alpha, as GDI+ blends them here.
struct GradientPoint {
    COLORREF colour;
    int alpha;
};
GradientPoint GradientAt(uint32_t from, uint32_t to, double t);
// One ARGB colour as a layer of its own.
inline GradientPoint Solid(uint32_t argb) {
    return {RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF),
            static_cast<int>(argb >> 24)};
}
// under with layer drawn over it, as one GDI+ fill or pen leaves it.
COLORREF Layer(COLORREF under, GradientPoint layer);

}  // namespace testsupport
