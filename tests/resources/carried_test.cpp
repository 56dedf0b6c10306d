// The carried data as the program uses it: the background and the skin images
// decoded by GDI+, the icon loaded from the executable's resources, and the
// working-set tool written out and run.
#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "resources/carried.h"
#include "tests/support/gdiplus_env.h"

namespace {

using Gdiplus::DllExports::GdipBitmapGetPixel;
using Gdiplus::DllExports::GdipCreateBitmapFromStream;
using Gdiplus::DllExports::GdipDisposeImage;
using Gdiplus::DllExports::GdipGetImageHeight;
using Gdiplus::DllExports::GdipGetImagePixelFormat;
using Gdiplus::DllExports::GdipGetImageWidth;

uint32_t U32(const rt::ByteString& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const rt::ByteString& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
int32_t I32(const rt::ByteString& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

testing::Environment* const gdiplus = testsupport::AddGdiplusEnvironment();

// Bytes decoded by GDI+ through a memory stream, as the engine loads them.
class Decoded {
public:
    explicit Decoded(const rt::ByteString& bytes) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!memory) return;
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream_))) {
            GlobalFree(memory);
            return;
        }
        if (GdipCreateBitmapFromStream(stream_, &bitmap_) != Gdiplus::Ok) bitmap_ = nullptr;
    }
    ~Decoded() {
        if (bitmap_) GdipDisposeImage(bitmap_);
        if (stream_) stream_->Release();
    }
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;

    bool Ok() const { return bitmap_ != nullptr; }
    UINT Width() const { UINT w = 0; GdipGetImageWidth(bitmap_, &w); return w; }
    UINT Height() const { UINT h = 0; GdipGetImageHeight(bitmap_, &h); return h; }
    Gdiplus::PixelFormat Format() const {
        Gdiplus::PixelFormat f = 0;
        GdipGetImagePixelFormat(bitmap_, &f);
        return f;
    }
    // ARGB, colour not premultiplied.
    Gdiplus::ARGB Pixel(int x, int y) const {
        Gdiplus::ARGB c = 0;
        EXPECT_EQ(GdipBitmapGetPixel(bitmap_, x, y, &c), Gdiplus::Ok) << x << "," << y;
        return c;
    }

private:
    IStream* stream_ = nullptr;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

int A(Gdiplus::ARGB c) { return c >> 24 & 0xFF; }
int R(Gdiplus::ARGB c) { return c >> 16 & 0xFF; }
int G(Gdiplus::ARGB c) { return c >> 8 & 0xFF; }
int B(Gdiplus::ARGB c) { return c & 0xFF; }

// The mean colour of the 9 x 9 block round (x, y): samples of the picture's
// regions, not of one streak.
struct Rgb { int r, g, b; };
Rgb Mean(const Decoded& d, int x, int y) {
    int r = 0, g = 0, b = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            Gdiplus::ARGB c = d.Pixel(x + dx, y + dy);
            r += R(c), g += G(c), b += B(c);
        }
    return {r / 81, g / 81, b / 81};
}

// ------------------------------------------------------------ background ----

TEST(Background, FileAndInfoHeadersAreExact) {
    const rt::ByteString& bmp = res::SkinBackground();
    ASSERT_EQ(bmp.size(), 1115768u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), 1115768u);           // bfSize
    EXPECT_EQ(U32(bmp, 6), 0u);                 // reserved
    EXPECT_EQ(U32(bmp, 10), 54u);               // bfOffBits
    EXPECT_EQ(U32(bmp, 14), 40u);               // biSize
    EXPECT_EQ(I32(bmp, 18), 624);
    EXPECT_EQ(I32(bmp, 22), 447);               // positive: bottom-up
    EXPECT_EQ(U16(bmp, 26), 1);
    EXPECT_EQ(U16(bmp, 28), 32);
    EXPECT_EQ(U32(bmp, 30), 0u);                // BI_RGB
    EXPECT_EQ(U32(bmp, 34), 1115714u);          // pixels + 2 trailing bytes
    EXPECT_EQ(I32(bmp, 38), 3779);
    EXPECT_EQ(I32(bmp, 42), 3779);
    EXPECT_EQ(U32(bmp, 46), 0u);                // no palette
    EXPECT_EQ(U32(bmp, 50), 0u);
    EXPECT_EQ(bmp[1115766], 0);
    EXPECT_EQ(bmp[1115767], 0);
}

TEST(Background, FourthByteOfEveryPixelIsZero) {
    const rt::ByteString& bmp = res::SkinBackground();
    ASSERT_EQ(bmp.size(), 1115768u);
    size_t nonzero = 0;
    for (size_t at = 54 + 3; at < 54 + 1115712; at += 4)
        if (bmp[at] != 0) ++nonzero;
    EXPECT_EQ(nonzero, 0u);
}

TEST(Background, IsTheSameBytesForTheWholeRun) {
    EXPECT_EQ(&res::SkinBackground(), &res::SkinBackground());
    EXPECT_EQ(&res::CloseButtonImage(), &res::CloseButtonImage());
    EXPECT_EQ(&res::WorkingSetTool(), &res::WorkingSetTool());
}

TEST(Background, DecodesOpaqueAtItsSize) {
    Decoded d(res::SkinBackground());
    ASSERT_TRUE(d.Ok());
    EXPECT_EQ(d.Width(), 624u);
    EXPECT_EQ(d.Height(), 447u);
    // Decoded with alpha, the zero fourth bytes would make it invisible.
    EXPECT_EQ(d.Format(), PixelFormat32bppRGB);
    EXPECT_EQ(A(d.Pixel(0, 0)), 255);
    EXPECT_EQ(A(d.Pixel(623, 446)), 255);
}

TEST(Background, ColoursLieInTheirRegions) {
    Decoded d(res::SkinBackground());
    ASSERT_TRUE(d.Ok());
    ASSERT_EQ(d.Width(), 624u);
    // Orange and yellow on the left: strong red, some green, little blue.
    for (POINT p : {POINT{20, 223}, POINT{40, 60}, POINT{40, 400}}) {
        Rgb c = Mean(d, p.x, p.y);
        EXPECT_GT(c.r, 190) << p.x << "," << p.y;
        EXPECT_GT(c.g, 70) << p.x << "," << p.y;
        EXPECT_LT(c.b, 110) << p.x << "," << p.y;
        EXPECT_GT(c.r, c.g) << p.x << "," << p.y;
    }
    Rgb yellow = Mean(d, 40, 60);
    EXPECT_GT(yellow.g, 130);
    // Cyan at the top right.
    Rgb cyan = Mean(d, 600, 40);
    EXPECT_LT(cyan.r, 120);
    EXPECT_GT(cyan.g, 150);
    EXPECT_GT(cyan.b, 180);
    // Dark blue at the bottom right.
    Rgb blue = Mean(d, 610, 430);
    EXPECT_LT(blue.r, 50);
    EXPECT_LT(blue.g, 80);
    EXPECT_GT(blue.b, 60);
    EXPECT_GT(blue.b, blue.g + 30);
    // The middle: a light, pinkish-white highlight (magenta tint: green lowest).
    Rgb middle = Mean(d, 312, 223);
    EXPECT_GT(middle.r, 200);
    EXPECT_GT(middle.g, 160);
    EXPECT_GT(middle.b, 200);
    EXPECT_LT(middle.g, middle.r);
    EXPECT_LT(middle.g, middle.b);
}

TEST(Background, StreaksRunFromBottomLeftToTopRight) {
    // Along the streak direction neighbouring pixels differ less than across it.
    Decoded d(res::SkinBackground());
    ASSERT_TRUE(d.Ok());
    long along = 0, across = 0;
    for (int y = 150; y < 300; y += 3)
        for (int x = 150; x < 450; x += 5) {
            Gdiplus::ARGB c = d.Pixel(x, y);
            Gdiplus::ARGB up_right = d.Pixel(x + 7, y - 5);   // about 624 : 447
            Gdiplus::ARGB down_right = d.Pixel(x + 5, y + 7);
            along += std::abs(G(c) - G(up_right)) + std::abs(R(c) - R(up_right));
            across += std::abs(G(c) - G(down_right)) + std::abs(R(c) - R(down_right));
        }
    EXPECT_LT(along * 3, across * 2);
}

// ------------------------------------------------------------------ icon ----

TEST(Icon, IcoLayoutIsExact) {
    const rt::ByteString& ico = res::AppIconImage();
    ASSERT_EQ(ico.size(), 4286u);
    EXPECT_EQ(U16(ico, 0), 0);       // reserved
    EXPECT_EQ(U16(ico, 2), 1);       // icon
    EXPECT_EQ(U16(ico, 4), 1);       // one image
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[7], 32);
    EXPECT_EQ(U16(ico, 10), 1);      // planes
    EXPECT_EQ(U16(ico, 12), 32);     // bits per pixel
    EXPECT_EQ(U32(ico, 14), 4264u);  // image bytes
    EXPECT_EQ(U32(ico, 18), 22u);    // image offset
    EXPECT_EQ(U32(ico, 22), 40u);    // BITMAPINFOHEADER
    EXPECT_EQ(I32(ico, 26), 32);
    EXPECT_EQ(I32(ico, 30), 64);     // colour rows + mask rows
    EXPECT_EQ(U16(ico, 36), 32);
}

TEST(Icon, PictureIsAGreenBirdWithARedBeakOnATransparentGround) {
    const rt::ByteString& ico = res::AppIconImage();
    ASSERT_EQ(ico.size(), 4286u);
    int transparent = 0, green = 0, red = 0, partial = 0;
    for (size_t at = 62; at < 62 + 4096; at += 4) {
        int b = ico[at], g = ico[at + 1], r = ico[at + 2], a = ico[at + 3];
        if (a == 0) ++transparent;
        else if (a < 255) ++partial;
        else if (g > r + 40 && g > b + 40) ++green;
        else if (r > g + 100 && r > b + 100) ++red;
    }
    EXPECT_GT(transparent, 200);
    EXPECT_GT(partial, 30);          // anti-aliased edges
    EXPECT_GT(green, 150);
    EXPECT_GT(red, 8);
    // The AND mask agrees with the alpha: set exactly where alpha is 0.
    for (int row = 0; row < 32; ++row)
        for (int col = 0; col < 32; ++col) {
            int alpha = ico[62 + (row * 32 + col) * 4 + 3];
            int bit = ico[62 + 4096 + row * 4 + col / 8] >> (7 - col % 8) & 1;
            EXPECT_EQ(bit, alpha == 0 ? 1 : 0) << row << "," << col;
        }
}

TEST(Icon, ExecutableCarriesItAsResource129) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    ASSERT_NE(info.hbmColor, nullptr);
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

// ------------------------------------------------------------ skin images ---

struct Image {
    const char* name;
    const rt::ByteString& (*bytes)();
    UINT width, height;
    bool profile;
};
const Image kImages[] = {
    {"Help", res::HelpButtonImage, 26, 18, true},
    {"Menu", res::MenuButtonImage, 26, 18, true},
    {"Minimize", res::MinimizeButtonImage, 26, 18, true},
    {"Maximize", res::MaximizeButtonImage, 26, 18, true},
    {"Restore", res::RestoreButtonImage, 26, 18, true},
    {"Close", res::CloseButtonImage, 38, 18, true},
    {"CheckBoxUnchecked", res::CheckBoxUncheckedImage, 13, 13, true},
    {"CheckBoxChecked", res::CheckBoxCheckedImage, 13, 13, true},
    {"ArrowDown", res::ArrowDownImage, 7, 4, false},
    {"ArrowUp", res::ArrowUpImage, 7, 4, false},
    {"ArrowLeft", res::ArrowLeftImage, 4, 7, false},
    {"ArrowRight", res::ArrowRightImage, 4, 7, false},
};

// The chunk types of a PNG file in order.
std::string Chunks(const rt::ByteString& png) {
    std::string kinds;
    for (size_t at = 8; at + 8 <= png.size();) {
        uint32_t length = static_cast<uint32_t>(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 |
                          png[at + 3];
        kinds.append(reinterpret_cast<const char*>(&png[at + 4]), 4).push_back(' ');
        at += 12 + length;
    }
    return kinds;
}

TEST(SkinImages, EachIsAnRgbaPngWithItsChunksAndDecodesAtItsSize) {
    for (const Image& image : kImages) {
        SCOPED_TRACE(image.name);
        const rt::ByteString& png = image.bytes();
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
        EXPECT_EQ(png[24], 8);   // bit depth
        EXPECT_EQ(png[25], 6);   // RGBA
        EXPECT_EQ(Chunks(png), image.profile ? "IHDR cHRM iCCP pHYs IDAT IEND "
                                             : "IHDR cHRM pHYs IDAT IEND ");
        Decoded d(png);
        ASSERT_TRUE(d.Ok());
        EXPECT_EQ(d.Width(), image.width);
        EXPECT_EQ(d.Height(), image.height);
        EXPECT_EQ(d.Format(), PixelFormat32bppARGB);
    }
}

// Expected pixels: exact alpha and colour, or a check of a kind.
enum Kind { kExact, kWhiteGlyph, kDarkEdge, kClear };
struct Probe {
    const rt::ByteString& (*bytes)();
    int x, y;
    Kind kind;
    Gdiplus::ARGB argb;  // for kExact
};

const Probe kProbes[] = {
    // The faint band: the top row, the row below it, the bottom row.
    {res::MinimizeButtonImage, 3, 0, kExact, 0x50FFFFFF},
    {res::MinimizeButtonImage, 3, 1, kExact, 0x1DFFFFFF},
    {res::MinimizeButtonImage, 3, 17, kExact, 0x01FFFFFF},
    {res::MaximizeButtonImage, 3, 0, kExact, 0x50FFFFFF},
    {res::MaximizeButtonImage, 3, 1, kExact, 0x1DFFFFFF},
    {res::RestoreButtonImage, 3, 0, kExact, 0x50FFFFFF},
    {res::RestoreButtonImage, 3, 1, kExact, 0x1DFFFFFF},
    {res::CloseButtonImage, 3, 0, kExact, 0x50FFFFFF},
    {res::CloseButtonImage, 3, 1, kExact, 0x1DFFFFFF},
    {res::HelpButtonImage, 3, 0, kExact, 0x39FFFFFF},
    {res::HelpButtonImage, 3, 17, kExact, 0x01FFFFFF},
    {res::MenuButtonImage, 3, 0, kExact, 0x2CFFFFFF},
    {res::MenuButtonImage, 3, 17, kExact, 0x01FFFFFF},
    // The brighter left column and the close image's darker right column.
    {res::MinimizeButtonImage, 0, 1, kExact, 0x3AFFFFFF},
    {res::MinimizeButtonImage, 0, 17, kExact, 0x01FFFFFF},
    {res::CloseButtonImage, 37, 0, kExact, 0x1E000000},
    {res::CloseButtonImage, 37, 17, kExact, 0x02000000},
    // Glyphs: white inside their columns and rows, dark just outside.
    {res::MinimizeButtonImage, 9, 11, kWhiteGlyph, 0},
    {res::MinimizeButtonImage, 18, 12, kWhiteGlyph, 0},
    {res::MinimizeButtonImage, 13, 10, kDarkEdge, 0},
    {res::MinimizeButtonImage, 13, 13, kDarkEdge, 0},
    {res::MinimizeButtonImage, 13, 8, kClear, 0},
    {res::MaximizeButtonImage, 8, 5, kWhiteGlyph, 0},
    {res::MaximizeButtonImage, 17, 12, kWhiteGlyph, 0},
    {res::MaximizeButtonImage, 12, 7, kDarkEdge, 0},      // inside, under the title bar
    {res::MaximizeButtonImage, 12, 3, kClear, 0},
    {res::RestoreButtonImage, 19, 5, kWhiteGlyph, 0},     // the back frame
    {res::RestoreButtonImage, 8, 12, kWhiteGlyph, 0},     // the front frame
    {res::RestoreButtonImage, 12, 9, kDarkEdge, 0},
    {res::CloseButtonImage, 18, 9, kWhiteGlyph, 0},       // where the strokes cross
    {res::CloseButtonImage, 15, 6, kWhiteGlyph, 0},
    {res::CloseButtonImage, 20, 11, kWhiteGlyph, 0},
    {res::CloseButtonImage, 13, 5, kDarkEdge, 0},
    {res::CloseButtonImage, 18, 6, kDarkEdge, 0},         // between the arms
    {res::CloseButtonImage, 6, 8, kClear, 0},
    {res::HelpButtonImage, 8, 7, kWhiteGlyph, 0},         // the bubble
    {res::HelpButtonImage, 18, 7, kWhiteGlyph, 0},
    {res::HelpButtonImage, 11, 2, kDarkEdge, 0},
    {res::HelpButtonImage, 22, 7, kClear, 0},
    {res::MenuButtonImage, 9, 4, kWhiteGlyph, 0},
    {res::MenuButtonImage, 18, 12, kWhiteGlyph, 0},
    {res::MenuButtonImage, 12, 7, kWhiteGlyph, 0},        // a list line
    {res::MenuButtonImage, 5, 8, kClear, 0},
    // Check boxes: border, the gradient's two ends, the tick.
    {res::CheckBoxUncheckedImage, 0, 0, kExact, 0xE6030303},
    {res::CheckBoxUncheckedImage, 12, 6, kExact, 0xE6030303},
    {res::CheckBoxUncheckedImage, 1, 1, kExact, 0xFFDEDFD6},
    {res::CheckBoxUncheckedImage, 11, 11, kExact, 0xFFFDFCFC},
    {res::CheckBoxCheckedImage, 0, 0, kExact, 0xFF185184},
    {res::CheckBoxCheckedImage, 6, 12, kExact, 0xFF185184},
    {res::CheckBoxCheckedImage, 1, 1, kExact, 0xFFDEDFD6},
    {res::CheckBoxCheckedImage, 11, 11, kExact, 0xFFFDFCFC},
    {res::CheckBoxCheckedImage, 3, 6, kExact, 0xFF246E75},
    {res::CheckBoxCheckedImage, 9, 4, kExact, 0xFF246E75},
    // Arrows: black triangles pointing their way.
    {res::ArrowDownImage, 0, 0, kExact, 0xFF000000},
    {res::ArrowDownImage, 3, 3, kExact, 0xFF000000},
    {res::ArrowDownImage, 0, 3, kExact, 0},
    {res::ArrowDownImage, 6, 3, kExact, 0},
    {res::ArrowUpImage, 3, 0, kExact, 0xFF000000},
    {res::ArrowUpImage, 6, 3, kExact, 0xFF000000},
    {res::ArrowUpImage, 0, 0, kExact, 0},
    {res::ArrowLeftImage, 0, 3, kExact, 0xFF000000},
    {res::ArrowLeftImage, 3, 0, kExact, 0xFF000000},
    {res::ArrowLeftImage, 0, 0, kExact, 0},
    {res::ArrowRightImage, 3, 3, kExact, 0xFF000000},
    {res::ArrowRightImage, 0, 6, kExact, 0xFF000000},
    {res::ArrowRightImage, 3, 0, kExact, 0},
};

TEST(SkinImages, GlyphsBandsAndMarksAreWhereTheyBelong) {
    for (const Probe& p : kProbes) {
        Decoded d(p.bytes());
        ASSERT_TRUE(d.Ok());
        Gdiplus::ARGB c = d.Pixel(p.x, p.y);
        std::string where = "pixel " + std::to_string(p.x) + "," + std::to_string(p.y) +
                            " of a " + std::to_string(d.Width()) + "x" + std::to_string(d.Height()) +
                            " image, ARGB " + std::to_string(c);
        switch (p.kind) {
        case kExact:
            if (A(p.argb) == 0) EXPECT_EQ(A(c), 0) << where;
            else EXPECT_EQ(c, p.argb) << where;
            break;
        case kWhiteGlyph:
            EXPECT_GE(A(c), 200) << where;
            EXPECT_GE(R(c), 0xE0) << where;
            EXPECT_GE(G(c), 0xE0) << where;
            EXPECT_GE(B(c), 0xE0) << where;
            break;
        case kDarkEdge:
            EXPECT_GE(A(c), 60) << where;
            EXPECT_LE(R(c), 0x5B) << where;
            EXPECT_LE(B(c), 0x6B) << where;
            break;
        case kClear:  // only the faint band
            EXPECT_LE(A(c), 80) << where;
            EXPECT_EQ(R(c), 255) << where;
            break;
        }
    }
}

// The check-box marks pixel for pixel. Inside the 1-px ring the face has one
// colour per diagonal, from the top left (column + row inside the ring 0) to
// the bottom right (20).
const Gdiplus::ARGB kCheckFace[21] = {
    0xFFDEDFD6, 0xFFE0E0D8, 0xFFE2E2DA, 0xFFE4E4DC, 0xFFE7E6DF, 0xFFE9E8E1, 0xFFEBE9E3,
    0xFFEDEBE5, 0xFFF0EDE8, 0xFFF2EFEA, 0xFFF4F1EC, 0xFFF7F3EF, 0xFFF7F4F0, 0xFFF8F5F1,
    0xFFF9F6F3, 0xFFF9F7F4, 0xFFFAF8F6, 0xFFFBF9F7, 0xFFFCFAF9, 0xFFFCFBFA, 0xFFFDFCFC,
};
// The checked mark's tick: '#' is opaque #246E75, with no blended edge.
const char* const kTick[13] = {
    ".............",
    ".............",
    ".............",
    ".........#...",
    "........##...",
    "...#...###...",
    "...##.###....",
    "...#####.....",
    "....###......",
    ".....#.......",
    ".............",
    ".............",
    ".............",
};

TEST(SkinImages, CheckBoxMarksAreExactInEveryPixel) {
    for (bool checked : {false, true}) {
        SCOPED_TRACE(checked ? "checked" : "unchecked");
        Decoded d(checked ? res::CheckBoxCheckedImage() : res::CheckBoxUncheckedImage());
        ASSERT_TRUE(d.Ok());
        ASSERT_EQ(d.Width(), 13u);
        ASSERT_EQ(d.Height(), 13u);
        const Gdiplus::ARGB ring = checked ? 0xFF185184 : 0xE6030303;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) {
                Gdiplus::ARGB expected = 0;
                if (x == 0 || x == 12 || y == 0 || y == 12)
                    expected = ring;
                else if (checked && kTick[y][x] == '#')
                    expected = 0xFF246E75;
                else
                    expected = kCheckFace[(x - 1) + (y - 1)];
                EXPECT_EQ(d.Pixel(x, y), expected)
                    << "pixel " << x << "," << y << std::hex << ": 0x" << d.Pixel(x, y)
                    << ", expected 0x" << expected;
            }
    }
}

TEST(SkinImages, GlyphsGreyTowardTheirBottomRow) {
    Decoded d(res::MinimizeButtonImage());
    ASSERT_TRUE(d.Ok());
    Gdiplus::ARGB top = d.Pixel(13, 11), bottom = d.Pixel(13, 12);
    EXPECT_EQ(top, 0xFFFFFFFFu);
    EXPECT_LT(R(bottom), 255);
    EXPECT_GE(R(bottom), 0xE3);
}

// ------------------------------------------------------- working-set tool ---

class WorkingSetTool : public testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
        path_ = std::string(dir) + "empty_" + std::to_string(GetCurrentProcessId()) + ".exe";
        const rt::ByteString& bytes = res::WorkingSetTool();
        ASSERT_GT(bytes.size(), 512u);
        ASSERT_EQ(bytes[0], 'M');
        ASSERT_EQ(bytes[1], 'Z');
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(ok);
        ASSERT_EQ(written, bytes.size());
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }

    // Runs the tool with the given argument text and returns its exit code.
    DWORD Run(const std::string& arguments) {
        std::string command = "\"" + path_ + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &process)) {
            ADD_FAILURE() << "the tool did not start: " << GetLastError();
            return 0xDEAD;
        }
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
        DWORD code = 0xDEAD;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    std::string path_;
};

TEST_F(WorkingSetTool, EmptiesTheWorkingSetOfTheGivenProcess) {
    EXPECT_EQ(Run(std::to_string(GetCurrentProcessId())), 0u);
}

TEST_F(WorkingSetTool, RefusesABadArgumentOrAMissingProcess) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    for (const std::string& bad : {std::string(""), std::string("abc"), pid + "x", "-" + pid,
                                   pid + " " + pid, std::string("0"), std::string("99999999999"),
                                   std::string("4294967292")}) {
        EXPECT_NE(Run(bad), 0u) << "argument \"" << bad << "\"";
    }
}

}  // namespace
