#include "tests/drawing/drawing_fixture.h"

#include <cstdlib>

#include "tests/support/gdiplus_env.h"
#include "tests/support/pixels.h"

namespace drwtest {

namespace {
// GDI+ is started once for the whole program, as the engine does at start.
const auto* const environment = testsupport::AddGdiplusEnvironment();
}  // namespace

MemoryCanvas::MemoryCanvas(int width, int height) : width_(width), height_(height) {
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = testsupport::CreateTopDownDib32(width, height, &bits);
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

void PaintOn(MemoryCanvas& canvas, uint32_t background, const std::function<void(drw::GraphicsObject&)>& draw) {
    canvas.Fill(background);
    {
        drw::GraphicsObject g;
        EXPECT_EQ(g.FromHdc(canvas.dc()), 1);
        draw(g);
    }
    GdiFlush();
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
