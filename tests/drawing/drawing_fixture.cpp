#include "tests/drawing/drawing_fixture.h"

#include <cstdlib>

namespace drwtest {

namespace {
// GDI+ is started once for the whole program, as the engine does at start.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
}  // namespace

MemoryCanvas::MemoryCanvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
}

MemoryCanvas::~MemoryCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void MemoryCanvas::Fill(uint32_t rgb) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = rgb;
}

void MemoryCanvas::Dump(const char* name) const {
    const char* folder = std::getenv("PINYIN_DRAW_DUMP");
    if (!folder) return;
    drw::BitmapObject copy;
    copy.CreateFromHBITMAP(bitmap_);
    copy.SaveToFile(std::string(folder) + "\\" + name + ".png", drw::AnsiText(drw::ImageFormatPNG));
    copy.Dispose();
}

const drw::ByteString& SmallPng() {
    static const drw::ByteString png = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
        0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x03, 0x08, 0x06, 0x00, 0x00, 0x00, 0x5b, 0x36, 0xc5,
        0xf8, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xff, 0xbf, 0xe1,
        0x3f, 0x03, 0x06, 0x66, 0x00, 0x12, 0xe8, 0x18, 0x9b, 0x20, 0x00, 0x2b, 0xb5, 0x1e, 0x6a, 0xfb,
        0xfd, 0x5d, 0xf8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    return png;
}

}  // namespace drwtest
