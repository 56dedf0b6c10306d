#include <algorithm>
#include <cstring>

#include "drawing/drawing.h"
#include "drawing/forward.h"

namespace drw {

using namespace fw;

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

}  // namespace drw
