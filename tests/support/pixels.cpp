#include "tests/support/pixels.h"

#include <algorithm>

namespace testsupport {

BITMAPINFO TopDownDib32Info(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // negative: top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP CreateTopDownDib32(int width, int height, void** bits) {
    BITMAPINFO info = TopDownDib32Info(width, height);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

std::vector<uint32_t> CopyPixels32(HDC dc, int x, int y, int width, int height) {
    // All zero when the copy cannot be made: readers then see black, not a crash.
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib32(width, height, &bits);
    if (!bitmap) return pixels;
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
        GdiFlush();
        const uint32_t* px = static_cast<const uint32_t*>(bits);
        std::copy(px, px + pixels.size(), pixels.begin());
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
    return pixels;
}

std::vector<uint32_t> ReadSelectedBitmap32(HDC dc, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info = TopDownDib32Info(width, height);
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

bool ChannelsWithin(COLORREF actual, COLORREF expected, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (a - e > tolerance || e - a > tolerance) return false;
    }
    return true;
}

GradientPoint GradientAt(uint32_t from, uint32_t to, double t) {
    const double a0 = from >> 24, a1 = to >> 24, a = a0 + (a1 - a0) * t;
    auto channel = [&](int shift) {
        const double c0 = (from >> shift) & 0xFF, c1 = (to >> shift) & 0xFF;
        return a > 0 ? static_cast<int>((c0 * a0 * (1 - t) + c1 * a1 * t) / a + 0.5) : 0;
    };
    return {RGB(channel(16), channel(8), channel(0)), static_cast<int>(a + 0.5)};
}

COLORREF Layer(COLORREF under, GradientPoint layer) {
    const int a = layer.alpha;
    auto mix = [a](int u, int c) { return (u * (255 - a) + c * a + 127) / 255; };
    return RGB(mix(GetRValue(under), GetRValue(layer.colour)),
               mix(GetGValue(under), GetGValue(layer.colour)),
               mix(GetBValue(under), GetBValue(layer.colour)));
}

}  // namespace testsupport
