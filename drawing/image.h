// ImageObject and BitmapObject (GDI+ images, loaded from carried bytes or
// files, encoded back to bytes), MemoryStreamObject (an IStream over a copy of
// some bytes), the encoder lookup and the GUID texts.
#pragma once

#include <objidl.h>

#include "drawing/native_object.h"

namespace drw {

// GUID texts in the braced upper-case form StringFromGUID2 writes.
constexpr const char ImageFormatPNG[] = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
constexpr const char ImageFormatBMP[] = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";

// 16 GUID bytes to text; fewer than 16 bytes are read as if zero-padded.
AnsiText GuidToText(const ByteString& guid);
// Text to 16 GUID bytes; all zero when the text is no GUID.
ByteString TextToGuid(const AnsiText& text);

// One installed image encoder.
struct EncoderRecord {
    AnsiText Clsid, FormatID;
    AnsiText CodecName, DllName, FormatDescription, FilenameExtension, MimeType;
    uint32_t Flags = 0, Version = 0, SigCount = 0, SigSize = 0;
    ByteString SigPattern, SigMask;
};
// Fills the list with the installed encoders; returns their number, or 0
// (leaving the list alone) when GDI+ cannot report them.
int ListEncoders(CountedArray<EncoderRecord>& list);
// The encoder CLSID text for a format GUID text (exact, case-sensitive
// comparison), "" when no encoder has that format.
AnsiText FindEncoderClsid(const AnsiText& format);

// GDI+ is handed at most as many values as Value holds whole values of Type.
struct EncoderParameterRecord {
    AnsiText Guid;
    uint32_t NumberOfValues = 0;
    uint32_t Type = 0;
    ByteString Value;
};
// Count is the number of Parameters handed to GDI+ (never more than the list holds).
struct EncoderParameterSet {
    int Count = 0;
    CountedArray<EncoderParameterRecord> Parameters;
};

struct PaletteRecord {
    uint32_t Flags = 0;
    CountedArray<ARGB> Entries;
};
struct PropertyItemRecord {
    uint32_t Id = 0;
    uint32_t Length = 0;
    uint16_t Type = 0;
    ByteString Value;
};

// ---------------------------------------------------- MemoryStreamObject ---
// A movable global block with a COM stream over it. The stream frees the
// block when its last reference goes: GDI+ keeps references of its own to
// the stream of an image read from it (and of clones of that image, which may
// decode from it later), so the bytes stay for as long as any of them reads
// them. Release (and destruction) gives back this object's reference; a
// block over which no stream could be made is freed at once.
//
// An attached stream (AttachStream) is another matter: the object takes over
// the caller's reference to the stream, not the block under it. Release
// gives that reference back and leaves the block alone: it is the stream's
// to free when the stream was made to delete it on release, else whoever
// made the block frees it, after the stream is released. Freeing it here
// would free it twice in the first case and under the stream's other users
// in the second.
class MemoryStreamObject {
public:
    MemoryStreamObject() = default;
    MemoryStreamObject(const MemoryStreamObject&) = delete;
    MemoryStreamObject& operator=(const MemoryStreamObject&) = delete;
    ~MemoryStreamObject() { Destroy(); }
    void Destroy() { Release(); }
    // An independent stream over a copy of this one's bytes.
    std::unique_ptr<MemoryStreamObject> Copy() const;

    // Releases what is held, then makes a block of `size` bytes (default: the
    // byte count) holding a copy of the bytes, and a stream at position 0 over
    // it. Bytes beyond the byte string stay zero. Returns the stream.
    IStream* CreateFromBytes(const ByteString& bytes = {}, Opt<size_t> size = {});
    void Release();
    size_t GetBlockSize() const;
    IStream* GetStream() const { return stream_; }
    HGLOBAL GetMemory() const { return memory_; }
    // Releases what is held, then takes over the caller's reference to the
    // stream (not its block, see above); 1 when the stream has a global block.
    int AttachStream(IStream* stream);
    ByteString ReadAll() const;

private:
    HGLOBAL memory_ = nullptr;
    mutable void* data_ = nullptr;   // where the block was last locked (not valid after)
    IStream* stream_ = nullptr;
    bool freesBlock_ = false;        // the block has no stream to free it
};

// --------------------------------------------------------- ImageObject -----
// Declaration order is the method-table order. Names follow the GDI+
// function without "Gdip" and "Image".
class ImageObject : public NativeObject {
public:
    ImageObject() = default;
    ~ImageObject() override { Destroy(); }
    void Destroy();                                  // Dispose, then the stream
    // An independent image of the same picture. One read from bytes is
    // loaded from bytes of its own:
    // - while its active frame looks exactly like a frame of the bytes it was
    //   read from (size, resolution, pixel format, palette, every pixel), from
    //   those bytes, with that frame selected: every frame and the raw format
    //   are kept;
    // - once that frame was changed (pixels set or drawn, turned, flipped,
    //   bits written), from the picture as it is now, encoded again in its own
    //   format when that keeps every pixel (PNG, BMP, TIFF), else as PNG: the
    //   change is kept, but only the active frame, and a GIF or JPEG becomes
    //   a PNG. The image holds no other frame to save beside the changed one:
    //   GDI+ decodes a frame afresh from the bytes when it is selected, which
    //   would throw the change away, and only the TIFF encoder takes several
    //   frames (SaveAdd). Keeping them would mean putting frames of a second
    //   decoding together with this one, which is not done.
    // Property items are not compared: the copy of a picture whose frame is
    // unchanged has the property items of the bytes. Any other image is
    // GdipCloneImage.
    std::unique_ptr<ImageObject> Copy() const;
    void OnSetNative(void* h) override;
    virtual void OnSetDerivedNative(void* h) {}
    Gdiplus::GpImage* GetHandle() const { return handle_; }

    // Disposes the image, then frees the bytes it was read from. 0 when empty.
    virtual int Dispose();
    // Colour management (…ICM) when icm's value is non-zero.
    int LoadFromFile(const AnsiText& fileName, Opt<int> icm = {});
    int LoadFromFileW(const ByteString& wideName, Opt<int> icm = {});
    // Keeps a copy of the bytes for the life of the image.
    int LoadFromBytes(const ByteString& bytes, Opt<int> icm = {});
    // GdipCloneImage. A clone of an image read from bytes may decode from
    // this image's stream later; the stream keeps its block for as long as
    // GDI+ holds it, past this image's Dispose.
    int Clone(ImageObject& target) const;

    int GetEncoderParameterList(const AnsiText& format, EncoderParameterSet& params);
    // Format default ImageFormatBMP; parameters nullptr: none.
    int SaveToFile(const AnsiText& fileName, Opt<AnsiText> format = {},
                   const EncoderParameterSet* params = nullptr);
    int SaveToFileW(const ByteString& wideName, Opt<AnsiText> format = {},
                    const EncoderParameterSet* params = nullptr);
    // Format default: the image's own raw format. Empty when no encoder has
    // the format or nothing was written.
    ByteString SaveToBytes(Opt<AnsiText> format = {}, const EncoderParameterSet* params = nullptr);
    int SaveAdd(const EncoderParameterSet* params = nullptr);
    int SaveAddImage(const ImageObject& image, const EncoderParameterSet* params = nullptr);

    int GetType();
    PointF GetDimension();                           // (width, height)
    int GetBounds(RectF& bounds, int& unit);
    unsigned GetWidth();
    unsigned GetHeight();
    float GetHorizontalResolution();
    float GetVerticalResolution();
    unsigned GetFlags();
    AnsiText GetRawFormat();                         // GUID text
    int GetPixelFormat();

    int GetPalette(PaletteRecord& palette);
    int SetPalette(const PaletteRecord& palette);
    int GetThumbnail(unsigned width, unsigned height, ImageObject& target);
    unsigned GetFrameCount(const AnsiText& dimension);
    CountedArray<AnsiText> GetFrameDimensions();
    int SelectActiveFrame(const AnsiText& dimension, unsigned index);

    int RotateFlip(int type);
    CountedArray<uint32_t> GetFrameDelays();
    int GetPropertyItem(uint32_t id, PropertyItemRecord& item);
    int SetPropertyItem(const PropertyItemRecord& item);
    int RemovePropertyItem(uint32_t id);
    CountedArray<uint32_t> GetPropertyIdList();

protected:
    MemoryStreamObject Stream;

private:
    Gdiplus::GpImage* handle_ = nullptr;
};

// The effect of ApplyEffect: a GDI+ effect handle made by the caller.
struct EffectObject {
    Gdiplus::CGpEffect* effect = nullptr;
};

// --------------------------------------------------------- BitmapObject ----
// Image operations work through the image level's Handle, the bitmap's own
// through SubHandle; both always hold the same bitmap. The image loaders are
// not offered: use FromFile / FromBytes.
class BitmapObject : public ImageObject {
public:
    BitmapObject() = default;
    ~BitmapObject() override { Destroy(); }
    void Destroy();                                  // Dispose, then both streams
    std::unique_ptr<BitmapObject> Copy() const;       // as ImageObject's
    void OnSetDerivedNative(void* h) override;
    Gdiplus::GpBitmap* GetSubHandle() const { return subHandle_; }

    int Dispose() override;
    int FromFile(const AnsiText& fileName, Opt<int> icm = {});
    int FromFileW(const ByteString& wideName, Opt<int> icm = {});
    int FromBytes(const ByteString& bytes, Opt<int> icm = {});
    int LoadFromFile(const AnsiText&, Opt<int> = {}) = delete;
    int LoadFromFileW(const ByteString&, Opt<int> = {}) = delete;
    int LoadFromBytes(const ByteString&, Opt<int> = {}) = delete;
    // (The image operations from Clone to GetPropertyIdList follow here in
    // the method table, inherited from ImageObject.)

    int CreateFromScan0(int width, int height, int stride, int format, void* scan0);
    // Format default 0x26200A (PixelFormat32bppARGB).
    int Create(int width, int height, Opt<int> format = {});
    int CreateFromGraphics(int width, int height, const GraphicsObject& graphics);
    int CreateFromGdiDib(const BITMAPINFO* info, void* bits);
    int CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette = nullptr);
    int FromHICON(HICON icon);
    int CreateFromResource(HINSTANCE instance, const AnsiText& name);

    // Background none: 0. The HBITMAP (0 on failure) is the caller's.
    HBITMAP GetHBITMAP(Opt<ARGB> background = {});
    HICON CreateHICON();                             // the caller's
    int CloneArea(const RectF& area, int format, BitmapObject& target) const;
    int CloneAreaI(const Rect& area, int format, BitmapObject& target) const;
    int LockBits(const Rect& area, unsigned flags, int format, Gdiplus::BitmapData& data);
    int UnlockBits(Gdiplus::BitmapData& data);

    ARGB GetPixel(int x, int y);                     // 0 on failure
    int SetPixel(int x, int y, ARGB colour);
    int SetResolution(float dpiX, float dpiY);
    // Area nullptr: the whole bitmap.
    int ApplyEffect(const EffectObject& effect, const RECT* area = nullptr);
    // A new 32bppARGB bitmap holding this one rotated by angle degrees about
    // its centre, handed to target. Size default RotatedSize; background and
    // interpolation only when given.
    int Rotate(float angle, BitmapObject& target, Opt<ARGB> background = {},
               Opt<int> interpolation = {}, Opt<SIZE> size = {});
    static SIZE RotatedSize(int width, int height, int angleDegrees);

private:
    Gdiplus::GpBitmap* subHandle_ = nullptr;
    MemoryStreamObject OwnStream;
};

}  // namespace drw
