// Live counters of the GDI handles made through the owning types.
#include "skin/gdi_handles.h"

namespace skin {
namespace {
int live[static_cast<int>(GdiKind::Count)] = {};
}

BitmapHandle MakeDibSection32(int w, int h, void** bits) {
    void* first = nullptr;
    HBITMAP made = nullptr;
    if (w > 0 && h > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &first, nullptr, 0);
    }
    if (bits) *bits = made ? first : nullptr;
    return BitmapHandle::Adopt(made);
}

int LiveGdiCount(GdiKind kind) { return live[static_cast<int>(kind)]; }
void CountMade(GdiKind kind) { ++live[static_cast<int>(kind)]; }
void CountFreed(GdiKind kind) { --live[static_cast<int>(kind)]; }

}  // namespace skin

// Instantiated here once so that a mistake in the template shows at once.
template class skin::GdiObject<HBITMAP>;
