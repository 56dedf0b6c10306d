// What the drawing tests share: GDI+ started once for the program, a check
// that every test leaves the live GDI+ object count where it found it, and a
// 32-bit memory DC whose pixels can be read back.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "drawing/drawing.h"

namespace drwtest {

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        liveBefore_ = drw::LiveObjectCount();
        overwritesBefore_ = drw::CreatedIntoHoldingCount();
    }
    void TearDown() override {
        EXPECT_EQ(drw::LiveObjectCount(), liveBefore_) << "GDI+ objects left behind";
        EXPECT_EQ(drw::CreatedIntoHoldingCount(), overwritesBefore_) << "created into a holding object";
    }

private:
    int liveBefore_ = 0;
    int overwritesBefore_ = 0;
};

// A top-down 32-bit DIB selected into a memory DC; released on every path.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB of a pixel.
    uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    void Fill(uint32_t rgb);
    // Writes the pixels as a PNG when PINYIN_DRAW_DUMP names a folder.
    void Dump(const char* name) const;

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Fills the canvas with `background`, draws on it through a graphics surface
// made on its DC (deleted before the pixels are read), and flushes GDI.
void PaintOn(MemoryCanvas& canvas, uint32_t background, const std::function<void(drw::GraphicsObject&)>& draw);

inline int Red(uint32_t rgb) { return (rgb >> 16) & 0xFF; }
inline int Green(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
inline int Blue(uint32_t rgb) { return rgb & 0xFF; }

// A 5 x 3 RGBA PNG: column 0 red, row 0 green, blue 128 everywhere.
const drw::ByteString& SmallPng();

}  // namespace drwtest
