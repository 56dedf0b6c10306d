#include <algorithm>
#include <cstring>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"
#include "drawing/encoders.h"

namespace drw {

using namespace calls;

AnsiText GuidToText(const ByteString& bytes) {
    GUID guid{};
    std::memcpy(&guid, bytes.data(), std::min(bytes.size(), sizeof(GUID)));
    wchar_t text[39] = {};
    StringFromGUID2(guid, text, 39);
    return WideToText(text);
}

ByteString TextToGuid(const AnsiText& text) {
    GUID guid{};
    ByteString wide = ToWideText(text);
    if (FAILED(CLSIDFromString(reinterpret_cast<LPOLESTR>(wide.data()), &guid))) guid = GUID{};
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&guid);
    return ByteString(p, p + sizeof(GUID));
}

namespace {
ByteString GuidBytes(const GUID& g) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&g);
    return ByteString(p, p + sizeof(GUID));
}
}  // namespace

int ListEncoders(CountedArray<EncoderRecord>& list) {
    UINT count = 0, size = 0;
    if (!Keep(gp::GdipGetImageEncodersSize(&count, &size))) return 0;
    list.Clear();
    list.Resize(static_cast<int>(count));
    std::vector<unsigned char> buffer(std::max<UINT>(size, 1), 0);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Keep(gp::GdipGetImageEncoders(count, size, codecs));
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ImageCodecInfo& c = codecs[i];
        EncoderRecord& r = list[static_cast<int>(i) + 1];
        r.Clsid = GuidToText(GuidBytes(c.Clsid));
        r.FormatID = GuidToText(GuidBytes(c.FormatID));
        r.CodecName = WideToText(c.CodecName);
        r.DllName = WideToText(c.DllName);
        r.FormatDescription = WideToText(c.FormatDescription);
        r.FilenameExtension = WideToText(c.FilenameExtension);
        r.MimeType = WideToText(c.MimeType);
        r.Flags = c.Flags;
        r.Version = c.Version;
        r.SigCount = c.SigCount;
        r.SigSize = c.SigSize;
        const size_t sig = static_cast<size_t>(c.SigCount) * c.SigSize;
        if (c.SigPattern) r.SigPattern.assign(c.SigPattern, c.SigPattern + sig);
        if (c.SigMask) r.SigMask.assign(c.SigMask, c.SigMask + sig);
    }
    return static_cast<int>(count);
}

AnsiText FindEncoderClsid(const AnsiText& format) {
    CountedArray<EncoderRecord> list;
    ListEncoders(list);
    for (const EncoderRecord& r : list)
        if (r.FormatID == format) return r.Clsid;
    return AnsiText();
}

// ---- encoder parameters

GUID GuidOf(const AnsiText& text) {
    GUID g{};
    const ByteString bytes = TextToGuid(text);
    std::memcpy(&g, bytes.data(), sizeof(GUID));
    return g;
}
CLSID EncoderFor(const AnsiText& format) { return GuidOf(FindEncoderClsid(format)); }

namespace {
// Bytes of one value of an encoder parameter type.
size_t ValueSize(ULONG type) {
    switch (type) {
        case Gdiplus::EncoderParameterValueTypeShort: return 2;
        case Gdiplus::EncoderParameterValueTypeLong: return 4;
        case Gdiplus::EncoderParameterValueTypeRational: return 8;
        case Gdiplus::EncoderParameterValueTypeLongRange: return 8;
        case Gdiplus::EncoderParameterValueTypeRationalRange: return 16;
        default: return 1;
    }
}
}  // namespace

EncoderParameterBlock::EncoderParameterBlock(const EncoderParameterSet* set) {
    if (!set) return;
    // Never more parameters than the list holds.
    const int n = std::clamp(set->Count, 0, set->Parameters.Count());
    raw_.assign(offsetof(Gdiplus::EncoderParameters, Parameter) + sizeof(Gdiplus::EncoderParameter) * std::max(n, 1), 0);
    auto* block = reinterpret_cast<Gdiplus::EncoderParameters*>(raw_.data());
    block->Count = static_cast<UINT>(n);
    for (int i = 0; i < n; ++i) {
        const EncoderParameterRecord& r = set->Parameters[i + 1];
        Gdiplus::EncoderParameter& p = block->Parameter[i];
        p.Guid = GuidOf(r.Guid);
        // GDI+ reads NumberOfValues values of the type from the value bytes:
        // never promise more than the record holds.
        p.NumberOfValues = static_cast<ULONG>(
            std::min<size_t>(r.NumberOfValues, r.Value.size() / ValueSize(r.Type)));
        p.Type = r.Type;
        p.Value = const_cast<unsigned char*>(r.Value.data());
    }
}

void ReadEncoderParameters(const Gdiplus::EncoderParameters& block, EncoderParameterSet& params) {
    params.Count = static_cast<int>(block.Count);
    params.Parameters.Clear();
    for (UINT i = 0; i < block.Count; ++i) {
        const Gdiplus::EncoderParameter& p = block.Parameter[i];
        EncoderParameterRecord r;
        r.Guid = GuidToText(GuidBytes(p.Guid));
        r.NumberOfValues = p.NumberOfValues;
        r.Type = p.Type;
        const auto* v = static_cast<const unsigned char*>(p.Value);
        if (v) r.Value.assign(v, v + ValueSize(p.Type) * p.NumberOfValues);
        params.Parameters.Append(r);
    }
}

}  // namespace drw
