// What the image and bitmap sources share and no caller of the layer needs:
// encoder parameters laid out for GDI+ and read back from it, the encoder
// lookup as a CLSID, GUID texts as GUIDs, and what a copy of an image read
// from bytes is loaded from.
#pragma once

#include <vector>

#include "drawing/image.h"

namespace drw {

// EncoderParameters: the count, then per parameter its GUID, number of
// values, type and the address of the caller's value bytes.
class EncoderParameterBlock {
public:
    explicit EncoderParameterBlock(const EncoderParameterSet* set);
    const Gdiplus::EncoderParameters* Get() const {
        return raw_.empty() ? nullptr : reinterpret_cast<const Gdiplus::EncoderParameters*>(raw_.data());
    }

private:
    std::vector<unsigned char> raw_;
};

// The parameters GDI+ reports for an encoder, copied into a set (each
// value's bytes copied out of GDI+'s block).
void ReadEncoderParameters(const Gdiplus::EncoderParameters& block, EncoderParameterSet& params);

// The encoder CLSID for a format text: all zero when no encoder has it.
CLSID EncoderFor(const AnsiText& format);
// A GUID text as a GUID (all zero when it is no GUID).
GUID GuidOf(const AnsiText& text);

// What a copy of an image read from bytes is loaded from, and the frame it
// then selects (frame 0: none to select).
struct CopySource {
    ByteString bytes;
    AnsiText dimension;
    unsigned frame = 0;
    // Selects the frame in a copy loaded from the bytes.
    void SelectIn(ImageObject& copy) const;
};
// The bytes the image was read from, with the frame that its active frame
// shows, when its active frame looks exactly like one of the frames those
// bytes decode to (size, resolution, pixel format, palette, every pixel);
// else the picture as it is now, encoded in the image's own format when that
// keeps every pixel (PNG, BMP, TIFF), else as PNG (still the bytes it was
// read from when no encoder takes it).
CopySource SourceOfCopy(ImageObject& image, const MemoryStreamObject& readFrom);

}  // namespace drw
