#include <algorithm>
#include <cstring>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"
#include "drawing/encoders.h"
#include "drawing/image_copy.h"

namespace drw {

using namespace calls;

void ImageObject::Destroy() {
    Dispose();
    Stream.Release();
}
namespace {
// Formats whose encoders keep every pixel as it is.
bool LosslessFormat(const AnsiText& format) {
    static const GUID tiff = Gdiplus::ImageFormatTIFF;
    return format == ImageFormatPNG || format == ImageFormatBMP ||
           format == GuidToText(ByteString(reinterpret_cast<const unsigned char*>(&tiff),
                                           reinterpret_cast<const unsigned char*>(&tiff) +
                                               sizeof(GUID)));
}

// What the active frame of a bitmap shows: its size, resolution, pixel
// format, palette and every pixel as 32bppARGB, read afresh on each call.
// `read` stays false when the image is no bitmap or its bits cannot be read.
struct FrameLook {
    bool read = false;
    UINT width = 0, height = 0;
    Gdiplus::REAL dpiX = 0, dpiY = 0;
    Gdiplus::PixelFormat format = 0;
    std::vector<unsigned char> palette;
    std::vector<ARGB> pixels;
    bool SameAs(const FrameLook& o) const {
        return read && o.read && width == o.width && height == o.height && dpiX == o.dpiX &&
               dpiY == o.dpiY && format == o.format && palette == o.palette && pixels == o.pixels;
    }
};
FrameLook LookOf(Gdiplus::GpImage* image) {
    FrameLook look;
    Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
    if (!image || gp::GdipGetImageType(image, &type) != Gdiplus::Ok || type != Gdiplus::ImageTypeBitmap)
        return look;
    gp::GdipGetImageWidth(image, &look.width);
    gp::GdipGetImageHeight(image, &look.height);
    gp::GdipGetImageHorizontalResolution(image, &look.dpiX);
    gp::GdipGetImageVerticalResolution(image, &look.dpiY);
    gp::GdipGetImagePixelFormat(image, &look.format);
    INT paletteSize = 0;
    if (gp::GdipGetImagePaletteSize(image, &paletteSize) == Gdiplus::Ok && paletteSize > 0) {
        look.palette.assign(static_cast<size_t>(paletteSize), 0);
        if (gp::GdipGetImagePalette(image, reinterpret_cast<Gdiplus::ColorPalette*>(look.palette.data()),
                                    paletteSize) != Gdiplus::Ok)
            return look;
    }
    auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(image);
    const Gdiplus::Rect all(0, 0, static_cast<INT>(look.width), static_cast<INT>(look.height));
    Gdiplus::BitmapData bits{};
    if (gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &bits) !=
        Gdiplus::Ok)
        return look;
    look.pixels.resize(static_cast<size_t>(look.width) * look.height);
    for (UINT y = 0; y < look.height; ++y)
        std::memcpy(&look.pixels[static_cast<size_t>(y) * look.width],
                    static_cast<const unsigned char*>(bits.Scan0) + static_cast<ptrdiff_t>(y) * bits.Stride,
                    sizeof(ARGB) * look.width);
    gp::GdipBitmapUnlockBits(bitmap, &bits);
    look.read = true;
    return look;
}

// The picture as it is now, encoded again; the bytes it was read from when
// it is no bitmap or no encoder takes it.
ByteString CurrentPictureBytes(ImageObject& image, const MemoryStreamObject& readFrom) {
    ByteString bytes;
    if (image.GetType() == Gdiplus::ImageTypeBitmap) {
        const AnsiText own = image.GetRawFormat();
        if (LosslessFormat(own)) bytes = image.SaveToBytes(own);
        if (bytes.empty()) bytes = image.SaveToBytes(AnsiText(ImageFormatPNG));
    }
    return bytes.empty() ? readFrom.ReadAll() : bytes;
}
}  // namespace

CopySource SourceOfCopy(ImageObject& image, const MemoryStreamObject& readFrom) {
    CopySource source;
    source.bytes = readFrom.ReadAll();
    if (image.GetType() != Gdiplus::ImageTypeBitmap) return source;   // nothing changes a metafile's picture
    // No record of changes is kept (every write, a graphics on the image
    // included, would have to keep it true): the active frame is compared
    // with what the bytes decode to. GDI+ decodes a frame afresh from the
    // bytes whenever it is selected, so a picture whose active frame shows
    // one of the decoded frames holds nothing that the bytes do not.
    const FrameLook now = LookOf(image.GetHandle());
    ImageObject decoded;
    if (now.read && decoded.LoadFromBytes(source.bytes)) {
        const CountedArray<AnsiText> dimensions = decoded.GetFrameDimensions();
        const AnsiText dimension = dimensions.Empty() ? AnsiText() : dimensions[1];
        const unsigned frames = dimension.empty() ? 1 : std::max(1u, decoded.GetFrameCount(dimension));
        for (unsigned frame = 0; frame < frames; ++frame) {
            if (frame > 0 && !decoded.SelectActiveFrame(dimension, frame)) break;
            if (LookOf(decoded.GetHandle()).SameAs(now)) {
                if (frame > 0) source.dimension = dimension;
                source.frame = frame;
                return source;
            }
        }
    }
    source.bytes = CurrentPictureBytes(image, readFrom);
    return source;
}
void CopySource::SelectIn(ImageObject& copy) const {
    if (frame > 0) copy.SelectActiveFrame(dimension, frame);
}

std::unique_ptr<ImageObject> ImageObject::Copy() const {
    auto copy = std::make_unique<ImageObject>();
    if (!handle_) return copy;
    // An image read from bytes may go on reading them, and so may a clone of
    // it, from this image's stream, whose block goes with this image: the
    // copy gets bytes of its own.
    if (Stream.GetMemory()) {
        const CopySource from = SourceOfCopy(const_cast<ImageObject&>(*this), Stream);
        if (copy->LoadFromBytes(from.bytes)) from.SelectIn(*copy);
    } else
        Clone(*copy);
    return copy;
}
void ImageObject::OnSetNative(void* h) {
    handle_ = static_cast<Gdiplus::GpImage*>(h);
    OnSetDerivedNative(handle_);
}

int ImageObject::Dispose() {
    if (!handle_) return 0;
    const int ok = Kill(*this, handle_, gp::GdipDisposeImage);
    Stream.Release();   // the bytes go only after the image that reads them
    return ok;
}
int ImageObject::LoadFromFile(const AnsiText& name, Opt<int> icm) { return LoadFromFileW(ToWideText(name), icm); }
int ImageObject::LoadFromFileW(const ByteString& name, Opt<int> icm) {
    const ByteString w = Terminated(name);
    return icm.value ? Make(*this, handle_, gp::GdipLoadImageFromFileICM, WidePtr(w))
                     : Make(*this, handle_, gp::GdipLoadImageFromFile, WidePtr(w));
}
int ImageObject::LoadFromBytes(const ByteString& bytes, Opt<int> icm) {
    IStream* stream = Stream.CreateFromBytes(bytes);
    return icm.value ? Make(*this, handle_, gp::GdipLoadImageFromStreamICM, stream)
                     : Make(*this, handle_, gp::GdipLoadImageFromStream, stream);
}
int ImageObject::Clone(ImageObject& target) const {
    return Hand<Gdiplus::GpImage>(target, gp::GdipCloneImage, handle_);
}

int ImageObject::GetEncoderParameterList(const AnsiText& format, EncoderParameterSet& params) {
    const CLSID clsid = EncoderFor(format);
    const UINT size = Get<UINT>(gp::GdipGetEncoderParameterListSize, handle_, &clsid);
    if (!size) return 0;
    std::vector<unsigned char> raw(size, 0);
    auto* block = reinterpret_cast<Gdiplus::EncoderParameters*>(raw.data());
    if (!Act(gp::GdipGetEncoderParameterList, handle_, &clsid, size, block)) return 0;
    ReadEncoderParameters(*block, params);
    return 1;
}
int ImageObject::SaveToFile(const AnsiText& name, Opt<AnsiText> format, const EncoderParameterSet* params) {
    return SaveToFileW(ToWideText(name), format, params);
}
int ImageObject::SaveToFileW(const ByteString& name, Opt<AnsiText> format, const EncoderParameterSet* params) {
    const ByteString w = Terminated(name);
    const CLSID clsid = EncoderFor(format.Or(ImageFormatBMP));
    return Act(gp::GdipSaveImageToFile, handle_, WidePtr(w), &clsid, EncoderParameterBlock(params).Get());
}
ByteString ImageObject::SaveToBytes(Opt<AnsiText> format, const EncoderParameterSet* params) {
    const CLSID clsid = EncoderFor(format.given ? format.value : GetRawFormat());
    MemoryStreamObject out;
    out.CreateFromBytes();
    Act(gp::GdipSaveImageToStream, handle_, out.GetStream(), &clsid, EncoderParameterBlock(params).Get());
    return out.ReadAll();
}
int ImageObject::SaveAdd(const EncoderParameterSet* params) {
    return Act(gp::GdipSaveAdd, handle_, EncoderParameterBlock(params).Get());
}
int ImageObject::SaveAddImage(const ImageObject& image, const EncoderParameterSet* params) {
    return Act(gp::GdipSaveAddImage, handle_, N(image), EncoderParameterBlock(params).Get());
}

int ImageObject::GetType() { return Get<Gdiplus::ImageType, int>(gp::GdipGetImageType, handle_); }
PointF ImageObject::GetDimension() {
    PointF size{};
    Act(gp::GdipGetImageDimension, handle_, &size.x, &size.y);
    return size;
}
int ImageObject::GetBounds(RectF& bounds, int& unit) {
    Gdiplus::Unit u = Gdiplus::UnitWorld;
    const int ok = Act(gp::GdipGetImageBounds, handle_, Gp(&bounds), &u);
    unit = u;
    return ok;
}
unsigned ImageObject::GetWidth() { return Get<UINT, unsigned>(gp::GdipGetImageWidth, handle_); }
unsigned ImageObject::GetHeight() { return Get<UINT, unsigned>(gp::GdipGetImageHeight, handle_); }
float ImageObject::GetHorizontalResolution() { return Get<float>(gp::GdipGetImageHorizontalResolution, handle_); }
float ImageObject::GetVerticalResolution() { return Get<float>(gp::GdipGetImageVerticalResolution, handle_); }
unsigned ImageObject::GetFlags() { return Get<UINT, unsigned>(gp::GdipGetImageFlags, handle_); }
AnsiText ImageObject::GetRawFormat() {
    const GUID format = Get<GUID>(gp::GdipGetImageRawFormat, handle_);
    return GuidToText(ByteString(reinterpret_cast<const unsigned char*>(&format),
                                 reinterpret_cast<const unsigned char*>(&format) + sizeof(GUID)));
}
int ImageObject::GetPixelFormat() { return Get<Gdiplus::PixelFormat, int>(gp::GdipGetImagePixelFormat, handle_); }

int ImageObject::GetPalette(PaletteRecord& palette) {
    const int size = Get<INT, int>(gp::GdipGetImagePaletteSize, handle_);
    if (size < static_cast<int>(sizeof(Gdiplus::ColorPalette))) return 0;
    std::vector<unsigned char> raw(static_cast<size_t>(size), 0);
    auto* p = reinterpret_cast<Gdiplus::ColorPalette*>(raw.data());
    if (!Act(gp::GdipGetImagePalette, handle_, p, size)) return 0;
    const UINT fits = (static_cast<UINT>(size) - offsetof(Gdiplus::ColorPalette, Entries)) / sizeof(ARGB);
    palette.Flags = p->Flags;
    palette.Entries.Clear();
    for (UINT i = 0; i < std::min(p->Count, fits); ++i) palette.Entries.Append(p->Entries[i]);
    return 1;
}
int ImageObject::SetPalette(const PaletteRecord& palette) {
    const int n = palette.Entries.Count();
    std::vector<unsigned char> raw(offsetof(Gdiplus::ColorPalette, Entries) + sizeof(ARGB) * std::max(n, 1), 0);
    auto* p = reinterpret_cast<Gdiplus::ColorPalette*>(raw.data());
    p->Flags = palette.Flags;
    p->Count = static_cast<UINT>(n);
    for (int i = 0; i < n; ++i) p->Entries[i] = palette.Entries[i + 1];
    return Act(gp::GdipSetImagePalette, handle_, p);
}
int ImageObject::GetThumbnail(unsigned width, unsigned height, ImageObject& target) {
    Gdiplus::GpImage* thumb = nullptr;
    const GpStatus s = gp::GdipGetImageThumbnail(handle_, width, height, &thumb, nullptr, nullptr);
    return Adopt(target, s, thumb);
}
unsigned ImageObject::GetFrameCount(const AnsiText& dimension) {
    const GUID g = GuidOf(dimension);
    return Get<UINT, unsigned>(gp::GdipImageGetFrameCount, handle_, &g);
}
CountedArray<AnsiText> ImageObject::GetFrameDimensions() {
    const UINT n = Get<UINT>(gp::GdipImageGetFrameDimensionsCount, handle_);
    std::vector<GUID> ids(n);
    CountedArray<AnsiText> texts;
    if (n && Act(gp::GdipImageGetFrameDimensionsList, handle_, ids.data(), n))
        for (const GUID& g : ids)
            texts.Append(GuidToText(ByteString(reinterpret_cast<const unsigned char*>(&g),
                                               reinterpret_cast<const unsigned char*>(&g) + sizeof(GUID))));
    return texts;
}
int ImageObject::SelectActiveFrame(const AnsiText& dimension, unsigned index) {
    const GUID g = GuidOf(dimension);
    return Act(gp::GdipImageSelectActiveFrame, handle_, &g, index);
}

int ImageObject::RotateFlip(int type) { return Act(gp::GdipImageRotateFlip, handle_, type); }
CountedArray<uint32_t> ImageObject::GetFrameDelays() {
    PropertyItemRecord item;
    CountedArray<uint32_t> delays;
    if (GetPropertyItem(PropertyTagFrameDelay, item))
        for (size_t i = 0; i + 4 <= item.Value.size(); i += 4) {
            uint32_t d;
            std::memcpy(&d, &item.Value[i], 4);
            delays.Append(d);
        }
    return delays;
}
int ImageObject::GetPropertyItem(uint32_t id, PropertyItemRecord& item) {
    const UINT size = Get<UINT>(gp::GdipGetPropertyItemSize, handle_, id);
    if (size < sizeof(Gdiplus::PropertyItem)) return 0;
    std::vector<unsigned char> raw(size, 0);
    auto* p = reinterpret_cast<Gdiplus::PropertyItem*>(raw.data());
    if (!Act(gp::GdipGetPropertyItem, handle_, id, size, p)) return 0;
    item.Id = p->id;
    item.Length = p->length;
    item.Type = p->type;
    const auto* v = static_cast<const unsigned char*>(p->value);
    item.Value.assign(v, v + std::min<size_t>(p->length, size - sizeof(Gdiplus::PropertyItem)));
    return 1;
}
int ImageObject::SetPropertyItem(const PropertyItemRecord& item) {
    Gdiplus::PropertyItem p;
    p.id = item.Id;
    p.length = std::min<ULONG>(item.Length, static_cast<ULONG>(item.Value.size()));
    p.type = item.Type;
    p.value = const_cast<unsigned char*>(item.Value.data());
    return Act(gp::GdipSetPropertyItem, handle_, &p);
}
int ImageObject::RemovePropertyItem(uint32_t id) { return Act(gp::GdipRemovePropertyItem, handle_, id); }
CountedArray<uint32_t> ImageObject::GetPropertyIdList() {
    CountedArray<uint32_t> ids(Get<UINT>(gp::GdipGetPropertyCount, handle_));
    if (!ids.Empty()) Act(gp::GdipGetPropertyIdList, handle_, ids.Count(), First(ids));
    return ids;
}

}  // namespace drw
