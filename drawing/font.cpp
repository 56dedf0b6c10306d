#include <cstring>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"

namespace drw {

using namespace calls;

namespace {
// A LOGFONTA read from an HFONT into GDI+ memory, freed on every path.
struct LogfontBuffer {
    explicit LogfontBuffer(NativeObject& owner)
        : owner(owner), data(static_cast<LOGFONTA*>(owner.AllocGdipMemory(sizeof(LOGFONTA)))) {}
    ~LogfontBuffer() { owner.FreeGdipMemory(data); }
    // Only a font handle gives a LOGFONTA: GetObjectA answers a bitmap, pen
    // or brush handle too, with a record of another shape that would be
    // read as a font. The buffer starts zeroed, whatever GDI+ memory held.
    bool Read(HGDIOBJ font) {
        if (!data) return false;
        std::memset(data, 0, sizeof(LOGFONTA));
        return GetObjectType(font) == OBJ_FONT && GetObjectA(font, sizeof(LOGFONTA), data) == sizeof(LOGFONTA);
    }
    NativeObject& owner;
    LOGFONTA* data;
};

struct ScreenDc {
    HDC dc = ::GetDC(nullptr);
    ~ScreenDc() { ::ReleaseDC(nullptr, dc); }
};
}  // namespace

// ---- font
void FontObject::Destroy() { Delete(); }
std::unique_ptr<FontObject> FontObject::Copy() const { return CloneCopy(*this); }
void FontObject::OnSetNative(void* h) { handle_ = static_cast<Gdiplus::GpFont*>(h); }

int FontObject::Delete() { return Kill(*this, handle_, gp::GdipDeleteFont); }
int FontObject::Create(const FontFamilyObject& family, float size, Opt<int> style, Opt<int> unit) {
    return Make(*this, handle_, gp::GdipCreateFont, N(family), size, style.value, unit.value);
}
int FontObject::FromDefaultGuiFont() {
    LogfontBuffer logfont(*this);
    if (!logfont.Read(GetStockObject(DEFAULT_GUI_FONT))) return 0;
    ScreenDc screen;
    return Make(*this, handle_, gp::GdipCreateFontFromLogfontA, screen.dc, logfont.data);
}
int FontObject::CreateByName(const AnsiText& name, float size, Opt<int> style, Opt<int> unit) {
    return CreateByNameW(ToWideText(name), size, style, unit);
}
int FontObject::CreateByNameW(const ByteString& name, float size, Opt<int> style, Opt<int> unit) {
    FontFamilyObject family;
    {
        FontCollectionObject installed;   // holds nothing: the installed fonts
        family.CreateFromNameW(name, &installed);
    }
    const int made = Create(family, size, style, unit);
    const int status = LastStatus;
    family.Delete();
    // The result and the last status are the font's, not the family's deletion.
    LastStatus = status;
    return made;
}
int FontObject::CreateFromDC(HDC hdc) { return Make(*this, handle_, gp::GdipCreateFontFromDC, hdc); }

int FontObject::FromHdc(HDC hdc, Opt<HFONT> font) {
    if (font.value) {
        LogfontBuffer logfont(*this);
        if (logfont.Read(font.value)) return FromLogfontA(hdc, logfont.data);
    }
    return CreateFromDC(hdc);
}
int FontObject::FromLogfontA(HDC hdc, const LOGFONTA* lf) {
    return lf ? Make(*this, handle_, gp::GdipCreateFontFromLogfontA, hdc, lf) : CreateFromDC(hdc);
}
int FontObject::FromLogfontW(HDC hdc, const LOGFONTW* lf) {
    return lf ? Make(*this, handle_, gp::GdipCreateFontFromLogfontW, hdc, lf) : CreateFromDC(hdc);
}
int FontObject::Clone(FontObject& target) const { return Hand<Gdiplus::GpFont>(target, gp::GdipCloneFont, handle_); }
int FontObject::GetLogFontA(const GraphicsObject& g, LOGFONTA& lf) { return Act(gp::GdipGetLogFontA, handle_, N(g), &lf); }
int FontObject::GetLogFontW(const GraphicsObject& g, LOGFONTW& lf) { return Act(gp::GdipGetLogFontW, handle_, N(g), &lf); }

int FontObject::GetFamily(FontFamilyObject& family) {
    return Hand<Gdiplus::GpFontFamily>(family, gp::GdipGetFamily, handle_);
}
int FontObject::GetStyle() { return Get<INT, int>(gp::GdipGetFontStyle, handle_); }
float FontObject::GetSize() { return Get<float>(gp::GdipGetFontSize, handle_); }
int FontObject::GetUnit() { return Get<Gdiplus::Unit, int>(gp::GdipGetFontUnit, handle_); }
float FontObject::GetHeight(const GraphicsObject* g) { return Get<float>(gp::GdipGetFontHeight, handle_, N(g)); }
float FontObject::GetHeightGivenDPI(float dpi) { return Get<float>(gp::GdipGetFontHeightGivenDPI, handle_, dpi); }

// ---- family
std::unique_ptr<FontFamilyObject> FontFamilyObject::Copy() const {
    auto copy = std::make_unique<FontFamilyObject>();
    copy->SetNative(GetNative());
    return copy;
}
void FontFamilyObject::OnSetNative(void* h) { handle_ = static_cast<Gdiplus::GpFontFamily*>(h); }

int FontFamilyObject::Delete() { return Kill(*this, handle_, gp::GdipDeleteFontFamily); }
int FontFamilyObject::CreateFromName(const AnsiText& name, const FontCollectionObject* collection) {
    return CreateFromNameW(ToWideText(name), collection);
}
int FontFamilyObject::CreateFromNameW(const ByteString& name, const FontCollectionObject* collection) {
    const ByteString w = Terminated(name);
    return Make(*this, handle_, gp::GdipCreateFontFamilyFromName, WidePtr(w), N(collection));
}
int FontFamilyObject::GenericSansSerif() { return Make(*this, handle_, gp::GdipGetGenericFontFamilySansSerif); }
int FontFamilyObject::GenericSerif() { return Make(*this, handle_, gp::GdipGetGenericFontFamilySerif); }
int FontFamilyObject::GenericMonospace() { return Make(*this, handle_, gp::GdipGetGenericFontFamilyMonospace); }
int FontFamilyObject::Clone(FontFamilyObject& target) const {
    return Hand<Gdiplus::GpFontFamily>(target, gp::GdipCloneFontFamily, handle_);
}
AnsiText FontFamilyObject::GetFamilyName() {
    const ByteString raw = GetFamilyNameW();
    return WideToText(WidePtr(raw));
}
ByteString FontFamilyObject::GetFamilyNameW() {
    // LF_FACESIZE units; one more zero unit so that a full name stays terminated.
    ByteString raw((LF_FACESIZE + 1) * 2, 0);
    Act(gp::GdipGetFamilyName, handle_, reinterpret_cast<WCHAR*>(raw.data()), 0);
    raw.resize(LF_FACESIZE * 2);
    return raw;
}
int FontFamilyObject::IsStyleAvailable(int style) { return Is(gp::GdipIsStyleAvailable, handle_, style); }
int FontFamilyObject::GetEmHeight(int style) { return Get<UINT16, int>(gp::GdipGetEmHeight, handle_, style); }
int FontFamilyObject::GetCellAscent(int style) { return Get<UINT16, int>(gp::GdipGetCellAscent, handle_, style); }
int FontFamilyObject::GetCellDescent(int style) { return Get<UINT16, int>(gp::GdipGetCellDescent, handle_, style); }
int FontFamilyObject::GetLineSpacing(int style) { return Get<UINT16, int>(gp::GdipGetLineSpacing, handle_, style); }

// ---- collection
std::unique_ptr<FontCollectionObject> FontCollectionObject::Copy() const {
    auto copy = std::make_unique<FontCollectionObject>();
    copy->SetNative(GetNative());
    return copy;
}
void FontCollectionObject::OnSetNative(void* h) {
    handle_ = static_cast<Gdiplus::GpFontCollection*>(h);
    OnSetDerivedNative(handle_);
}
int FontCollectionObject::GetFamilyCount() { return Get<INT, int>(gp::GdipGetFontCollectionFamilyCount, handle_); }
int FontCollectionObject::GetFamilies(int count, CountedArray<FontFamilyObject>& families) {
    std::vector<Gdiplus::GpFontFamily*> list(std::max(0, std::min(count, families.Count())));
    INT found = 0;
    Act(gp::GdipGetFontCollectionFamilyList, handle_, static_cast<int>(list.size()),
        list.empty() ? nullptr : list.data(), &found);
    for (int i = 0; i < found && i < static_cast<int>(list.size()); ++i) families[i + 1].SetNative(list[i]);
    return found;
}

// ---- string format
void StringFormatObject::Destroy() { Delete(); }
std::unique_ptr<StringFormatObject> StringFormatObject::Copy() const { return CloneCopy(*this); }
void StringFormatObject::OnSetNative(void* h) { handle_ = static_cast<Gdiplus::GpStringFormat*>(h); }

int StringFormatObject::Delete() { return Kill(*this, handle_, gp::GdipDeleteStringFormat); }
int StringFormatObject::Create(Opt<int> flags, Opt<int> language) {
    return Make(*this, handle_, gp::GdipCreateStringFormat, flags.value, language.value);
}
int StringFormatObject::GenericDefault() { return Make(*this, handle_, gp::GdipStringFormatGetGenericDefault); }
int StringFormatObject::GenericTypographic() {
    return Make(*this, handle_, gp::GdipStringFormatGetGenericTypographic);
}
int StringFormatObject::Clone(StringFormatObject& target) const {
    return Hand<Gdiplus::GpStringFormat>(target, gp::GdipCloneStringFormat, handle_);
}
int StringFormatObject::SetFlags(int flags) { return Act(gp::GdipSetStringFormatFlags, handle_, flags); }
int StringFormatObject::GetFlags() { return Get<INT, int>(gp::GdipGetStringFormatFlags, handle_); }

int StringFormatObject::SetAlign(int a) { return Act(gp::GdipSetStringFormatAlign, handle_, a); }
int StringFormatObject::GetAlign() { return Get<Gdiplus::StringAlignment, int>(gp::GdipGetStringFormatAlign, handle_); }
int StringFormatObject::SetLineAlign(int a) { return Act(gp::GdipSetStringFormatLineAlign, handle_, a); }
int StringFormatObject::GetLineAlign() {
    return Get<Gdiplus::StringAlignment, int>(gp::GdipGetStringFormatLineAlign, handle_);
}
int StringFormatObject::SetTrimming(int t) { return Act(gp::GdipSetStringFormatTrimming, handle_, t); }
int StringFormatObject::GetTrimming() {
    return Get<Gdiplus::StringTrimming, int>(gp::GdipGetStringFormatTrimming, handle_);
}
int StringFormatObject::SetHotkeyPrefix(int p) { return Act(gp::GdipSetStringFormatHotkeyPrefix, handle_, p); }
int StringFormatObject::GetHotkeyPrefix() { return Get<INT, int>(gp::GdipGetStringFormatHotkeyPrefix, handle_); }

int StringFormatObject::SetTabStops(float first, const CountedArray<float>& stops) {
    return Act(gp::GdipSetStringFormatTabStops, handle_, first, stops.Count(), First(stops));
}
int StringFormatObject::GetTabStops(float& first, CountedArray<float>& stops) {
    stops.Resize(Get<INT, int>(gp::GdipGetStringFormatTabStopCount, handle_));
    return Act(gp::GdipGetStringFormatTabStops, handle_, stops.Count(), &first, First(stops));
}
int StringFormatObject::SetDigitSubstitution(int language, int substitute) {
    return Act(gp::GdipSetStringFormatDigitSubstitution, handle_, language, substitute);
}
int StringFormatObject::GetDigitSubstitution(int& language, int& substitute) {
    LANGID lang = 0;
    Gdiplus::StringDigitSubstitute sub = Gdiplus::StringDigitSubstituteUser;
    const int ok = Act(gp::GdipGetStringFormatDigitSubstitution, handle_, &lang, &sub);
    language = lang;
    substitute = sub;
    return ok;
}
int StringFormatObject::SetMeasurableCharacterRanges(const CountedArray<Gdiplus::CharacterRange>& ranges) {
    return Act(gp::GdipSetStringFormatMeasurableCharacterRanges, handle_, ranges.Count(), First(ranges));
}
int StringFormatObject::GetMeasurableCharacterRangeCount() {
    return Get<INT, int>(gp::GdipGetStringFormatMeasurableCharacterRangeCount, handle_);
}

}  // namespace drw
