// The encoders' side of the layer, held by encoders.cpp and shared by the
// image and bitmap sources: encoder parameters laid out for GDI+ and read
// back from it, the encoder lookup as a CLSID and GUID texts as GUIDs. No
// caller of the layer needs it.
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

}  // namespace drw
