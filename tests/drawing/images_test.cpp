// Images, bitmaps, the memory stream, the encoder lookup and GUID texts.
#include <cstring>

#include "drawing/encoders.h"
#include "drawing/test_hooks.h"
#include "tests/drawing/drawing_fixture.h"

using namespace drw;

namespace drwtest {
namespace {

using Images = DrawingTest;

TEST_F(Images, PngSavedToBytesLoadsBackWithTheSameSize) {
    ImageObject image;
    ASSERT_EQ(image.LoadFromBytes(SmallPng()), 1);
    EXPECT_EQ(image.GetRawFormat(), ImageFormatPNG);
    const ByteString png = image.SaveToBytes(AnsiText(ImageFormatPNG));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    // The format omitted: the image's own format, PNG again.
    EXPECT_FALSE(image.SaveToBytes().empty());
    ImageObject again;
    ASSERT_EQ(again.LoadFromBytes(png), 1);
    EXPECT_EQ(again.GetWidth(), 5u);
    EXPECT_EQ(again.GetHeight(), 3u);
}

TEST_F(Images, FormatTextsCompareExactly) {
    AnsiText lower = ImageFormatPNG;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(FindEncoderClsid(lower), "");
    EXPECT_NE(FindEncoderClsid(ImageFormatPNG), "");
    BitmapObject bitmap;
    bitmap.Create(4, 4);
    EXPECT_TRUE(bitmap.SaveToBytes(lower).empty());

    CountedArray<EncoderRecord> encoders;
    const int n = ListEncoders(encoders);
    EXPECT_GE(n, 1);
    EXPECT_EQ(encoders.Count(), n);
    bool png = false;
    for (const EncoderRecord& e : encoders)
        if (e.FormatID == ImageFormatPNG) png = e.MimeType == "image/png";
    EXPECT_TRUE(png);
}

TEST_F(Images, GuidTexts) {
    const GUID pngFormat = Gdiplus::ImageFormatPNG;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&pngFormat);
    EXPECT_EQ(GuidToText(ByteString(p, p + 16)), ImageFormatPNG);
    const GUID bmpFormat = Gdiplus::ImageFormatBMP;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&bmpFormat);
    EXPECT_EQ(TextToGuid(ImageFormatBMP), ByteString(b, b + 16));
    EXPECT_EQ(TextToGuid("not a guid"), ByteString(16, 0));
    // Fewer than 16 bytes read as zero-padded, never past the bytes.
    EXPECT_EQ(GuidToText(ByteString{0x01}), "{00000001-0000-0000-0000-000000000000}");
}

TEST_F(Images, DisposeFreesTheImageThenItsBytesAndIsSafeTwice) {
    ImageObject image;
    ASSERT_EQ(image.LoadFromBytes(SmallPng()), 1);
    EXPECT_EQ(image.Dispose(), 1);
    EXPECT_EQ(image.GetNative(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.Dispose(), 0);
}

TEST_F(Images, BitmapPixelsAndHbitmap) {
    BitmapObject bitmap;
    ASSERT_EQ(bitmap.Create(4, 3), 1);
    EXPECT_EQ(bitmap.GetPixel(1, 1), 0u);   // a blank ARGB bitmap is transparent
    EXPECT_EQ(bitmap.SetPixel(2, 1, 0xFF336699), 1);
    EXPECT_EQ(bitmap.GetPixel(2, 1), 0xFF336699u);
    EXPECT_EQ(bitmap.GetPixel(40, 40), 0u);  // outside: 0
    HBITMAP hbm = bitmap.GetHBITMAP();
    ASSERT_NE(hbm, nullptr);
    BITMAP info{};
    GetObjectA(hbm, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    DeleteObject(hbm);
    EXPECT_EQ(GetObjectType(hbm), 0u);
    // The inherited image operations see the same bitmap.
    EXPECT_EQ(bitmap.GetWidth(), 4u);
    EXPECT_EQ(bitmap.RotateFlip(Gdiplus::RotateNoneFlipX), 1);
    EXPECT_EQ(bitmap.GetPixel(1, 1), 0xFF336699u);
}

// The background of transparent pixels is ARGB 0 when none is given, else
// the one given.
TEST_F(Images, HbitmapBackgroundOfTransparentPixels) {
    BitmapObject bitmap;
    ASSERT_EQ(bitmap.Create(2, 1), 1);   // (0, 0) stays transparent
    bitmap.SetPixel(1, 0, 0xFFFF0000);
    struct Case {
        const char* name;
        Opt<ARGB> background;
        uint32_t transparent;
    };
    const Case cases[] = {{"omitted", {}, 0x00000000}, {"green", Opt<ARGB>(0xFF00FF00), 0xFF00FF00}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP hbm = bitmap.GetHBITMAP(c.background);
        ASSERT_NE(hbm, nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 2;
        info.bmiHeader.biHeight = -1;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        uint32_t pixels[2] = {0x12345678, 0x12345678};
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetDIBits(screen, hbm, 0, 1, pixels, &info, DIB_RGB_COLORS), 1);
        ReleaseDC(nullptr, screen);
        DeleteObject(hbm);
        EXPECT_EQ(pixels[0] & 0xFFFFFF, c.transparent & 0xFFFFFF) << std::hex << pixels[0];
        EXPECT_EQ(pixels[1] & 0xFFFFFF, 0xFF0000u) << std::hex << pixels[1];
    }
}

TEST_F(Images, RotatedSizeKeepsEveryPixel) {
    struct Case { int w, h, angle; LONG cx, cy; };
    const Case cases[] = {{10, 6, 0, 10, 6}, {10, 6, 90, 6, 10}, {10, 6, 180, 10, 6}, {1, 1, 45, 1, 1},
                          {11, 11, 45, 16, 16}};
    for (const Case& c : cases) {
        const SIZE s = BitmapObject::RotatedSize(c.w, c.h, c.angle);
        EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h << " at " << c.angle;
        EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h << " at " << c.angle;
    }
    BitmapObject source, turned;
    source.Create(6, 2);
    source.SetPixel(0, 0, 0xFFFF0000);
    ASSERT_EQ(source.Rotate(90, turned), 1);
    EXPECT_EQ(turned.GetWidth(), 2u);
    EXPECT_EQ(turned.GetHeight(), 6u);
}

TEST_F(Images, MemoryStreamBlocks) {
    MemoryStreamObject empty;
    ASSERT_NE(empty.CreateFromBytes(), nullptr);
    EXPECT_EQ(empty.GetBlockSize(), 0u);
    EXPECT_TRUE(empty.ReadAll().empty());

    // A size beyond the bytes: the copy stops at the bytes, the rest is zero.
    MemoryStreamObject padded;
    padded.CreateFromBytes(ByteString{1, 2, 3}, size_t{6});
    EXPECT_EQ(padded.ReadAll(), (ByteString{1, 2, 3, 0, 0, 0}));
    padded.CreateFromBytes(ByteString{9, 8}, size_t{1});
    EXPECT_EQ(padded.ReadAll(), ByteString{9});

    auto copy = padded.Copy();
    EXPECT_NE(copy->GetMemory(), padded.GetMemory());
    EXPECT_EQ(copy->ReadAll(), ByteString{9});
}

TEST_F(Images, ReleaseFreesTheBlockEvenWhenNoStreamWasMade) {
    MemoryStreamObject stream;
    test_hooks::failNextStreamCreation = true;
    EXPECT_EQ(stream.CreateFromBytes(ByteString{1, 2, 3}), nullptr);
    HGLOBAL block = stream.GetMemory();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(stream.GetStream(), nullptr);
    stream.Release();
    EXPECT_EQ(stream.GetMemory(), nullptr);
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

TEST_F(Images, EncoderParametersNeverPromiseMoreValuesThanTheirBytes) {
    // GDI+ reads NumberOfValues values of the type from the value address.
    struct Case {
        ULONG type;
        uint32_t number;
        size_t bytes;
        ULONG handed;
    };
    const Case cases[] = {
        {Gdiplus::EncoderParameterValueTypeLong, 1, 4, 1},
        {Gdiplus::EncoderParameterValueTypeLong, 5, 4, 1},
        {Gdiplus::EncoderParameterValueTypeLong, 2, 7, 1},
        {Gdiplus::EncoderParameterValueTypeLong, 1, 0, 0},
        {Gdiplus::EncoderParameterValueTypeShort, 3, 6, 3},
        {Gdiplus::EncoderParameterValueTypeRational, 2, 8, 1},
        {Gdiplus::EncoderParameterValueTypeRationalRange, 1, 16, 1},
        {Gdiplus::EncoderParameterValueTypeByte, 9, 4, 4},
        {Gdiplus::EncoderParameterValueTypeASCII, 0, 4, 0},
    };
    for (const Case& c : cases) {
        EncoderParameterSet set;
        EncoderParameterRecord r;
        r.Guid = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";   // the quality parameter
        r.Type = c.type;
        r.NumberOfValues = c.number;
        r.Value = ByteString(c.bytes, 0x5A);
        set.Parameters.Append(r);
        set.Count = 1;
        const EncoderParameterBlock block(&set);
        ASSERT_NE(block.Get(), nullptr);
        ASSERT_EQ(block.Get()->Count, 1u);
        EXPECT_EQ(block.Get()->Parameter[0].NumberOfValues, c.handed)
            << "type " << c.type << ", " << c.number << " values in " << c.bytes << " bytes";
        EXPECT_EQ(block.Get()->Parameter[0].Type, c.type);
    }
}

TEST_F(Images, ClipIsCopiedIntoARegion) {
    MemoryCanvas canvas(20, 20);
    GraphicsObject g;
    g.FromHdc(canvas.dc());
    g.SetClipRect(2, 3, 5, 7);
    RegionObject clip;   // empty: receives a region first
    ASSERT_EQ(g.GetClip(clip), 1);
    const RectF bounds = clip.GetBounds(g);
    EXPECT_EQ(bounds.x, 2.0f);
    EXPECT_EQ(bounds.y, 3.0f);
    EXPECT_EQ(bounds.width, 5.0f);
    EXPECT_EQ(bounds.height, 7.0f);
}

}  // namespace
}  // namespace drwtest

namespace drwtest {
namespace {

// The block an image or bitmap read from bytes keeps them in.
struct ImageWithBlock : ImageObject {
    HGLOBAL Block() const { return Stream.GetMemory(); }
};
bool Freed(HGLOBAL block) { return GlobalFlags(block) == static_cast<UINT>(GMEM_INVALID_HANDLE); }

TEST_F(Images, DisposeFreesTheBlockTheBytesWereKeptIn) {
    ImageWithBlock image;
    ASSERT_EQ(image.LoadFromBytes(SmallPng()), 1);
    const HGLOBAL block = image.Block();
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(Freed(block));
    EXPECT_EQ(image.Dispose(), 1);
    EXPECT_EQ(image.Block(), nullptr);
    EXPECT_TRUE(Freed(block));
}

// A 4 x 2 32-bpp BMP, all blue, whose fourth bytes are 0.
ByteString BlueBmp() {
    ByteString bmp(54 + 4 * 2 * 4, 0);
    const uint32_t header[] = {static_cast<uint32_t>(bmp.size()), 0, 54, 40, 4,
                               static_cast<uint32_t>(-2), 1 | (32u << 16), 0};
    bmp[0] = 'B';
    bmp[1] = 'M';
    std::memcpy(&bmp[2], header, sizeof header);
    for (size_t i = 54; i < bmp.size(); i += 4) bmp[i] = 0xFF;
    return bmp;
}

// A copy shows the picture as it is when copied, not as it was loaded, and
// lives on its own after the source is gone.
TEST_F(Images, CopyOfAChangedPictureKeepsTheChange) {
    ImageObject image;
    ASSERT_EQ(image.LoadFromBytes(SmallPng()), 1);
    ASSERT_EQ(image.RotateFlip(Gdiplus::Rotate90FlipNone), 1);
    auto imageCopy = image.Copy();
    image.Dispose();
    EXPECT_EQ(imageCopy->GetWidth(), 3u);
    EXPECT_EQ(imageCopy->GetHeight(), 5u);
    EXPECT_EQ(imageCopy->GetRawFormat(), ImageFormatPNG);

    BitmapObject bitmap;
    ASSERT_EQ(bitmap.FromBytes(SmallPng()), 1);
    ASSERT_EQ(bitmap.SetPixel(2, 1, 0xFF336699), 1);
    ASSERT_EQ(bitmap.RotateFlip(Gdiplus::RotateNoneFlipX), 1);   // column 0 (red) to 4
    auto bitmapCopy = bitmap.Copy();
    bitmap.Dispose();
    EXPECT_EQ(bitmapCopy->GetPixel(2, 1), 0xFF336699u);
    EXPECT_EQ(bitmapCopy->GetPixel(4, 2) & 0xFFFF0000u, 0xFFFF0000u);
    EXPECT_EQ(bitmapCopy->GetPixel(0, 2) & 0x00FF0000u, 0u);

    // A 32-bpp BMP whose fourth bytes are 0 is opaque, and so is its copy.
    BitmapObject opaque;
    ASSERT_EQ(opaque.FromBytes(BlueBmp()), 1);
    ASSERT_EQ(opaque.GetPixel(1, 1), 0xFF0000FFu);
    opaque.SetPixel(0, 0, 0xFFFF0000);
    auto opaqueCopy = opaque.Copy();
    opaque.Dispose();
    EXPECT_EQ(opaqueCopy->GetPixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(opaqueCopy->GetPixel(0, 0), 0xFFFF0000u);

    // A picture read from a format that loses detail is copied without loss.
    BitmapObject pattern;
    ASSERT_EQ(pattern.Create(16, 16), 1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pattern.SetPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    const GUID jpegFormat = Gdiplus::ImageFormatJPEG;
    const unsigned char* j = reinterpret_cast<const unsigned char*>(&jpegFormat);
    const ByteString jpeg = pattern.SaveToBytes(GuidToText(ByteString(j, j + 16)));
    ASSERT_FALSE(jpeg.empty());
    BitmapObject photo;
    ASSERT_EQ(photo.FromBytes(jpeg), 1);
    photo.SetPixel(5, 5, 0xFF123456);
    auto photoCopy = photo.Copy();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(photoCopy->GetPixel(x, y), photo.GetPixel(x, y)) << x << ", " << y;

    // A bitmap made in memory is cloned, its pixels with it.
    BitmapObject made;
    ASSERT_EQ(made.Create(3, 3), 1);
    made.SetPixel(1, 1, 0xFF00FF00);
    auto madeCopy = made.Copy();
    made.Dispose();
    EXPECT_EQ(madeCopy->GetPixel(1, 1), 0xFF00FF00u);
}

// An attached stream hands over its reference, not its block: releasing the
// object releases the stream and leaves the block to whoever made it.
TEST_F(Images, ReleaseOfAnAttachedStreamLeavesItsBlockToItsMaker) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8);
    ASSERT_NE(block, nullptr);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
    stream->AddRef();   // the test's own reference, beside the one handed over
    {
        MemoryStreamObject attached;
        ASSERT_EQ(attached.AttachStream(stream), 1);
        EXPECT_EQ(attached.GetMemory(), block);
        EXPECT_EQ(attached.GetStream(), stream);
        attached.Release();
        EXPECT_EQ(attached.GetMemory(), nullptr);
        EXPECT_EQ(attached.GetStream(), nullptr);
        EXPECT_FALSE(Freed(block));
    }
    EXPECT_EQ(stream->Release(), 0u) << "the handed-over reference was given back once";
    EXPECT_FALSE(Freed(block));
    GlobalFree(block);

    // A stream that frees its block itself does so when the object lets go.
    IStream* own = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &own), S_OK);
    MemoryStreamObject holder;
    ASSERT_EQ(holder.AttachStream(own), 1);
    const HGLOBAL ownBlock = holder.GetMemory();
    holder.Release();
    EXPECT_TRUE(Freed(ownBlock));
}

}  // namespace
}  // namespace drwtest

namespace drwtest {
namespace {

AnsiText TextOf(const GUID& g) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&g);
    return GuidToText(ByteString(p, p + sizeof(GUID)));
}

// A 2 x 2 GIF of two frames: all red, then all blue.
const ByteString& TwoFrameGif() {
    static const ByteString gif = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x02, 0x00, 0x81, 0x00, 0x00, 0xff, 0x00, 0x00,
        0x00, 0x00, 0xff, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x04, 0x0a, 0x00, 0x00,
        0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x02, 0x02, 0x84, 0x51, 0x00,
        0x21, 0xf9, 0x04, 0x04, 0x0a, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02,
        0x00, 0x00, 0x02, 0x02, 0x8c, 0x53, 0x00, 0x3b};
    return gif;
}

// A TIFF of two 2 x 2 pages, all red, then all blue, written by GDI+.
ByteString TwoPageTiff() {
    BitmapObject pages[2];
    for (int i = 0; i < 2; ++i) {
        pages[i].Create(2, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) pages[i].SetPixel(x, y, i ? 0xFF0000FF : 0xFFFF0000);
    }
    const CLSID tiff = EncoderFor(TextOf(Gdiplus::ImageFormatTIFF));
    ULONG flag = Gdiplus::EncoderValueMultiFrame;
    Gdiplus::EncoderParameters params;
    params.Count = 1;
    params.Parameter[0].Guid = Gdiplus::EncoderSaveFlag;
    params.Parameter[0].NumberOfValues = 1;
    params.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    params.Parameter[0].Value = &flag;
    MemoryStreamObject out;
    out.CreateFromBytes();
    namespace gp = Gdiplus::DllExports;
    EXPECT_EQ(gp::GdipSaveImageToStream(pages[0].GetHandle(), out.GetStream(), &tiff, &params), Gdiplus::Ok);
    flag = Gdiplus::EncoderValueFrameDimensionPage;
    EXPECT_EQ(gp::GdipSaveAddImage(pages[0].GetHandle(), pages[1].GetHandle(), &params), Gdiplus::Ok);
    flag = Gdiplus::EncoderValueFlush;
    EXPECT_EQ(gp::GdipSaveAdd(pages[0].GetHandle(), &params), Gdiplus::Ok);
    return out.ReadAll();
}

int Read(ImageObject& image, const ByteString& bytes) { return image.LoadFromBytes(bytes); }
int Read(BitmapObject& bitmap, const ByteString& bytes) { return bitmap.FromBytes(bytes); }

// The picture drawn 1:1 onto a memory DC: what it shows at (x, y).
uint32_t Shown(ImageObject& image, int x, int y) {
    MemoryCanvas canvas(static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()));
    PaintOn(canvas, 0x808080, [&](GraphicsObject& g) {
        g.DrawImageRect(image, 0, 0, static_cast<float>(canvas.width()), static_cast<float>(canvas.height()));
    });
    return canvas.At(x, y);
}

// Without a format, an image is saved in its own.
TEST_F(Images, SavedToBytesWithoutAFormatInItsOwn) {
    struct Case {
        const char* name;
        ByteString bytes;
        const char* start;
    };
    const Case cases[] = {{"bmp", BlueBmp(), "BM"}, {"png", SmallPng(), "\x89PNG"}, {"gif", TwoFrameGif(), "GIF8"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageObject image;
        ASSERT_EQ(image.LoadFromBytes(c.bytes), 1);
        const ByteString saved = image.SaveToBytes();
        const size_t n = std::strlen(c.start);
        ASSERT_GE(saved.size(), n);
        EXPECT_EQ(std::string(saved.begin(), saved.begin() + n), c.start);
    }
}

// A copy of a picture not changed since its load is that picture: every
// frame, its format, and the frame it shows.
template <class Picture>
void CheckCopiesOfAnUnchangedPicture(const ByteString& bytes, const GUID& format, const GUID& dimension) {
    const AnsiText dim = TextOf(dimension);
    for (unsigned shown = 0; shown < 2; ++shown) {
        SCOPED_TRACE(shown ? "second frame shown" : "first frame shown");
        Picture source;
        ASSERT_EQ(Read(source, bytes), 1);
        ASSERT_EQ(source.GetFrameCount(dim), 2u);
        if (shown) {
            ASSERT_EQ(source.SelectActiveFrame(dim, shown), 1);
        }
        auto copy = source.Copy();
        source.Dispose();
        EXPECT_EQ(copy->GetFrameCount(dim), 2u);
        EXPECT_EQ(copy->GetRawFormat(), TextOf(format));
        const ByteString saved = copy->SaveToBytes();   // in the copy's own format
        ASSERT_GE(saved.size(), 3u);
        EXPECT_EQ(ByteString(saved.begin(), saved.begin() + 3), ByteString(bytes.begin(), bytes.begin() + 3));
        EXPECT_EQ(Shown(*copy, 1, 1), shown ? 0x0000FFu : 0xFF0000u);
    }
}

TEST_F(Images, CopyOfAnUnchangedPictureKeepsEveryFrameAndItsFormat) {
    struct Case {
        const char* name;
        ByteString bytes;
        GUID format, dimension;
    };
    const Case cases[] = {
        {"gif", TwoFrameGif(), Gdiplus::ImageFormatGIF, Gdiplus::FrameDimensionTime},
        {"tiff", TwoPageTiff(), Gdiplus::ImageFormatTIFF, Gdiplus::FrameDimensionPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            SCOPED_TRACE("image");
            CheckCopiesOfAnUnchangedPicture<ImageObject>(c.bytes, c.format, c.dimension);
        }
        {
            SCOPED_TRACE("bitmap");
            CheckCopiesOfAnUnchangedPicture<BitmapObject>(c.bytes, c.format, c.dimension);
        }
    }
}

// GDI+ may decode a clone of an image read from bytes from the source's
// stream at any later time (it holds a reference of its own to the stream,
// as the test does here): disposing the source gives back only the source's
// reference, and the bytes go with the last one.
struct ImageWithStream : ImageObject {
    IStream* Held() const { return Stream.GetStream(); }
    HGLOBAL Block() const { return Stream.GetMemory(); }
};
TEST_F(Images, ACloneGoesOnDecodingAfterItsSourceIsDisposed) {
    const ByteString bytes = TwoPageTiff();
    ImageWithStream source;
    ASSERT_EQ(source.LoadFromBytes(bytes), 1);
    IStream* stream = source.Held();
    const HGLOBAL block = source.Block();
    ASSERT_NE(stream, nullptr);
    stream->AddRef();
    ImageObject clone;
    ASSERT_EQ(source.Clone(clone), 1);
    EXPECT_EQ(source.Dispose(), 1);

    ASSERT_FALSE(Freed(block)) << "the stream is still held";
    ASSERT_EQ(GlobalSize(block), bytes.size());
    LARGE_INTEGER start{};
    ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    ByteString read(bytes.size(), 0);
    ULONG got = 0;
    EXPECT_EQ(stream->Read(read.data(), static_cast<ULONG>(read.size()), &got), S_OK);
    EXPECT_EQ(got, bytes.size());
    EXPECT_TRUE(read == bytes) << "the bytes are still there";

    EXPECT_EQ(Shown(clone, 1, 1), 0xFF0000u) << "the clone still shows the first page";
    EXPECT_EQ(clone.Dispose(), 1);
    EXPECT_EQ(stream->Release(), 0u) << "GDI+ gave back its references";
    EXPECT_TRUE(Freed(block)) << "the last reference freed the bytes";
}

// However a picture was changed, its copy shows the change.
TEST_F(Images, EveryWayOfChangingAPictureReachesItsCopy) {
    struct Case {
        const char* name;
        const ByteString& bytes;
        void (*change)(BitmapObject&);
        int x, y;
        uint32_t shown;
    };
    const Case cases[] = {
        {"drawn on through a graphics", SmallPng(),
         [](BitmapObject& b) {
             GraphicsObject g;
             g.FromImage(b);
             SolidBrushObject fill;
             fill.Create(0xFFFFFF00);
             g.FillRectangle(fill, 0, 0, 5, 3);
         },
         2, 1, 0xFFFF00u},
        {"bits written through a lock", SmallPng(),
         [](BitmapObject& b) {
             const Rect all{0, 0, 5, 3};
             Gdiplus::BitmapData data{};
             ASSERT_EQ(b.LockBits(all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite,
                                  PixelFormat32bppARGB, data), 1);
             static_cast<ARGB*>(data.Scan0)[2] = 0xFF00FFFF;   // (2, 0)
             b.UnlockBits(data);
         },
         2, 0, 0x00FFFFu},
        {"a frame's pixel set", TwoFrameGif(),
         [](BitmapObject& b) { EXPECT_EQ(b.SetPixel(1, 1, 0xFF0000FF), 1); }, 1, 1, 0x0000FFu},
        {"the second frame shown, then set", TwoFrameGif(),
         [](BitmapObject& b) {
             b.SelectActiveFrame(TextOf(Gdiplus::FrameDimensionTime), 1);
             EXPECT_EQ(b.SetPixel(0, 0, 0xFF00FF00), 1);
         },
         0, 0, 0x00FF00u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BitmapObject source;
        ASSERT_EQ(source.FromBytes(c.bytes), 1);
        c.change(source);
        auto copy = source.Copy();
        source.Dispose();
        EXPECT_EQ(Shown(*copy, c.x, c.y), c.shown);
    }
}

}  // namespace
}  // namespace drwtest
