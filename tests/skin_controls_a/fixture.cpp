#include "fixture.h"

#include <gdiplus.h>

#include <cstdlib>
#include <ostream>

#include "drawing/graphics.h"
#include "drawing/image.h"
#include "skin/capture.h"
#include "skin/controls/push_button.h"
#include "skin/engine.h"
#include "skin/record.h"
#include "tests/support/pixels.h"

namespace ctltest {
namespace {

// The skinned window's own procedure: owner-drawn buttons go to the
// dispatch with a copy of the request, as the engine's window procedure
// hands them on.
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM && lParam) {
        const DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        skin::DispatchButtonOwnerDraw(static_cast<int>(skin::ReadProp(window, skin::prop::Hw_lbID)),
                                      item);
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

constexpr int kWidth = 480, kHeight = 360;

}  // namespace

const char* TestClass(const char* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return name;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return name;
}

COLORREF Over(COLORREF under, COLORREF colour, int alpha) {
    return testsupport::Layer(under, {colour, alpha});
}

::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance) {
    if (testsupport::ChannelsWithin(actual, expected, tolerance)) return ::testing::AssertionSuccess();
    char text[112];
    wsprintfA(text, "RGB(%d,%d,%d), expected RGB(%d,%d,%d) +-%d", GetRValue(actual),
              GetGValue(actual), GetBValue(actual), GetRValue(expected), GetGValue(expected),
              GetBValue(expected), tolerance);
    return ::testing::AssertionFailure() << text;
}

rt::ByteString SolidPng(int w, int h, COLORREF colour) {
    drw::BitmapObject bitmap;
    bitmap.Create(w, h, PixelFormat32bppARGB);
    {
        drw::GraphicsObject g;
        g.FromImage(bitmap);
        g.Clear(0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) |
                GetBValue(colour));
    }
    return bitmap.SaveToBytes(drw::AnsiText(drw::ImageFormatPNG));
}

bool LiveCounts::operator==(const LiveCounts& o) const {
    return windowDcs == o.windowDcs && memoryDcs == o.memoryDcs && gdiObjects == o.gdiObjects &&
           drawingObjects == o.drawingObjects && registry == o.registry;
}

LiveCounts Live() {
    return {skin::LiveGdiCount(skin::GdiKind::WindowDc), skin::LiveGdiCount(skin::GdiKind::MemoryDc),
            skin::LiveGdiCount(skin::GdiKind::Object), drw::LiveObjectCount(),
            skin::MemoryDcRegistry.Count()};
}

std::ostream& operator<<(std::ostream& os, const LiveCounts& c) {
    return os << "{window DCs " << c.windowDcs << ", memory DCs " << c.memoryDcs << ", GDI objects "
              << c.gdiObjects << ", drawing objects " << c.drawingObjects << ", registry "
              << c.registry << "}";
}

CachedRendering::~CachedRendering() {
    if (displaced_) SelectObject(dc_, displaced_);
}

void CachedRendering::Make(int w, int h, const std::function<COLORREF(int x, int y)>& colourAt) {
    if (displaced_) SelectObject(dc_, displaced_);
    void* bits = nullptr;
    bitmap_ = skin::BitmapHandle::Adopt(testsupport::CreateTopDownDib32(w, h, &bits));
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[y * w + x] = testsupport::DibPixel(colourAt(x, y));
    displaced_ = SelectObject(dc_, bitmap_);
}

int AddSkinnedRecord(HWND window, HDC cache) {
    auto record = skin::NewSkinWindowRecord();
    record->Window = window;
    record->WindowCacheDc = cache;
    const int index = skin::SkinWindowTable.Append(std::move(record));
    skin::WriteProp(window, skin::prop::Hw_lbID, index);
    return index;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ControlsTest::SetUp() {
    skin::SkinControlsFlag = 1;
    skin::TransparentControlsFlag = 0;
    skin::GlassAlpha = 160;
    skin::ThemeColor = 0x00DDCA22;

    cache_.Make(kWidth, kHeight, [](int, int) { return kSkin; });

    // One window serves every test: destroying a top-level window costs
    // Wine a long wait on a display without a window manager.
    static HWND shared = nullptr;
    if (!IsWindow(shared))
        shared = CreateWindowExA(0, TestClass("CtlaSkinnedWindow", ParentProc), "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                 10, 10, kWidth, kHeight, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    window_ = shared;
    record_ = AddSkinnedRecord(window_, cache_.Dc());
    Pump();
}

void ControlsTest::TearDown() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    windows_.clear();
    Pump();
    skin::SkinWindowTable.Clear();
    RemovePropA(window_, skin::prop::Hw_lbID);
}

HWND ControlsTest::Child(const char* cls, DWORD style, const char* text, int x, int y, int w,
                         int h, HWND parent) {
    HWND hwnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                parent ? parent : window_, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    windows_.push_back(hwnd);
    return hwnd;
}

COLORREF ControlsTest::Pixel(HWND control, int x, int y) const {
    skin::WindowDc dc(control);
    return GetPixel(dc, x, y);
}

std::vector<COLORREF> ControlsTest::Pixels(HWND control) const {
    RECT r{};
    GetClientRect(control, &r);
    std::vector<COLORREF> out;
    skin::WindowDc dc(control);
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) out.push_back(GetPixel(dc, x, y));
    return out;
}

int ControlsTest::DarkPixels(HWND control, int left, int top, int right, int bottom) const {
    skin::WindowDc dc(control);
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) < 0x50 && GetGValue(c) < 0x50 && GetBValue(c) < 0x50) ++n;
        }
    return n;
}

void ControlsTest::Smear(HWND control, COLORREF colour) const {
    RECT r{};
    GetClientRect(control, &r);
    skin::WindowDc dc(control);
    skin::BrushHandle brush = skin::BrushHandle::Adopt(CreateSolidBrush(colour));
    FillRect(dc, &r, brush);
}

void ControlsTest::Redraw(HWND control) const {
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}


}  // namespace ctltest
