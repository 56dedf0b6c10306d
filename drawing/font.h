// FontObject, FontFamilyObject, FontCollectionObject and StringFormatObject.
#pragma once

#include "drawing/native_object.h"

namespace drw {

// Declaration order is the method-table order. Names follow the GDI+
// function without "Gdip" and "Font".
class FontObject : public NativeObject {
public:
    FontObject() = default;
    ~FontObject() override { Destroy(); }
    void Destroy();                                  // Delete
    std::unique_ptr<FontObject> Copy() const;        // GdipCloneFont
    void OnSetNative(void* h) override;
    Gdiplus::GpFont* GetHandle() const { return handle_; }

    int Delete();
    // Style none: 0 (regular); unit none: 0 (UnitWorld; 2 = UnitPixel).
    int Create(const FontFamilyObject& family, float size, Opt<int> style = {}, Opt<int> unit = {});
    int FromDefaultGuiFont();
    // Looks the family up among the installed fonts and deletes it again. A
    // name that is not installed leaves the object empty and returns 0. The
    // result and LastStatus are the font creation's.
    int CreateByName(const AnsiText& familyName, float size, Opt<int> style = {}, Opt<int> unit = {});
    int CreateByNameW(const ByteString& wideName, float size, Opt<int> style = {}, Opt<int> unit = {});
    int CreateFromDC(HDC hdc);

    // The HFONT's value is tested: 0, or one GetObjectA cannot read, takes
    // the font selected into the DC.
    int FromHdc(HDC hdc, Opt<HFONT> font = {});
    // A null record address takes the DC's font.
    int FromLogfontA(HDC hdc, const LOGFONTA* logfont);
    int FromLogfontW(HDC hdc, const LOGFONTW* logfont);
    int Clone(FontObject& target) const;
    int GetLogFontA(const GraphicsObject& graphics, LOGFONTA& logfont);
    int GetLogFontW(const GraphicsObject& graphics, LOGFONTW& logfont);

    // The family becomes the caller's to Delete (destruction does not).
    int GetFamily(FontFamilyObject& family);
    int GetStyle();
    float GetSize();
    int GetUnit();
    float GetHeight(const GraphicsObject* graphics = nullptr);
    float GetHeightGivenDPI(float dpi);

private:
    Gdiplus::GpFont* handle_ = nullptr;
};

// Destruction does not delete the family: whoever made it calls Delete.
class FontFamilyObject : public NativeObject {
public:
    FontFamilyObject() = default;
    ~FontFamilyObject() override { Destroy(); }
    void Destroy() {}
    // Shares the family handle (neither object deletes on destruction).
    std::unique_ptr<FontFamilyObject> Copy() const;
    void OnSetNative(void* h) override;
    Gdiplus::GpFontFamily* GetHandle() const { return handle_; }

    int Delete();
    // Collection nullptr or empty: the installed fonts.
    int CreateFromName(const AnsiText& name, const FontCollectionObject* collection = nullptr);
    int CreateFromNameW(const ByteString& wideName, const FontCollectionObject* collection = nullptr);
    int GenericSansSerif();
    int GenericSerif();
    int GenericMonospace();
    int Clone(FontFamilyObject& target) const;
    AnsiText GetFamilyName();                        // "" when GDI+ fails
    ByteString GetFamilyNameW();                     // the raw 64-byte UTF-16 buffer
    int IsStyleAvailable(int style);
    int GetEmHeight(int style);
    int GetCellAscent(int style);
    int GetCellDescent(int style);
    int GetLineSpacing(int style);

private:
    Gdiplus::GpFontFamily* handle_ = nullptr;
};

// Stands for the installed fonts: it never holds a collection of its own,
// so GDI+ receives NULL.
class FontCollectionObject : public NativeObject {
public:
    FontCollectionObject() = default;
    ~FontCollectionObject() override { Destroy(); }
    void Destroy() {}
    std::unique_ptr<FontCollectionObject> Copy() const;   // shares the handle
    void OnSetNative(void* h) override;
    virtual void OnSetDerivedNative(void* h) {}
    Gdiplus::GpFontCollection* GetHandle() const { return handle_; }

    int GetFamilyCount();
    // Up to count families (never more than the list holds) handed to
    // families[1..]; returns the number found. The families are shared with
    // the collection: do not Delete them.
    int GetFamilies(int count, CountedArray<FontFamilyObject>& families);

private:
    Gdiplus::GpFontCollection* handle_ = nullptr;
};

// Names follow the GDI+ function without "Gdip" and "StringFormat".
class StringFormatObject : public NativeObject {
public:
    StringFormatObject() = default;
    ~StringFormatObject() override { Destroy(); }
    void Destroy();                                  // Delete
    std::unique_ptr<StringFormatObject> Copy() const;   // GdipCloneStringFormat
    void OnSetNative(void* h) override;
    Gdiplus::GpStringFormat* GetHandle() const { return handle_; }

    int Delete();
    // Flags none: 0; language none: 0.
    int Create(Opt<int> flags = {}, Opt<int> language = {});
    int GenericDefault();
    int GenericTypographic();
    int Clone(StringFormatObject& target) const;
    int SetFlags(int flags);
    int GetFlags();

    int SetAlign(int alignment);
    int GetAlign();
    int SetLineAlign(int alignment);
    int GetLineAlign();
    int SetTrimming(int trimming);
    int GetTrimming();
    int SetHotkeyPrefix(int prefix);
    int GetHotkeyPrefix();

    int SetTabStops(float firstTabOffset, const CountedArray<float>& stops);
    int GetTabStops(float& firstTabOffset, CountedArray<float>& stops);
    int SetDigitSubstitution(int language, int substitute);
    int GetDigitSubstitution(int& language, int& substitute);
    // Ranges as (first, length) pairs.
    int SetMeasurableCharacterRanges(const CountedArray<Gdiplus::CharacterRange>& ranges);
    int GetMeasurableCharacterRangeCount();

private:
    Gdiplus::GpStringFormat* handle_ = nullptr;
};

}  // namespace drw
