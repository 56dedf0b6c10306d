// What every drawing object shares: the records and optional arguments that
// cross the layer, the last GDI+ status, the live-object count, the text
// conversions, and the base class NativeObject with its handle bookkeeping.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>

#include "runtime/runtime.h"

namespace drw {

using rt::AnsiText;
using rt::ByteString;
using rt::CountedArray;
using ARGB = uint32_t;

// ------------------------------------------------------------ records ------
// Same layout as GDI+'s RectF / PointF / Rect / Point; handed to GDI+ by address.
struct RectF { float x, y, width, height; };
struct PointF { float x, y; };
struct Rect { int x, y, width, height; };   // the integer twins ("...I" operations)
struct Point { int x, y; };

// Raw GDI+ handles of kinds that have no class of their own in this layer:
// matrices, custom line caps, image attributes, cached bitmaps, metafiles.
using MatrixHandle = Gdiplus::GpMatrix*;
using CustomLineCapHandle = Gdiplus::GpCustomLineCap*;
using ImageAttributesHandle = Gdiplus::GpImageAttributes*;
using CachedBitmapHandle = Gdiplus::GpCachedBitmap*;
using MetafileHandle = Gdiplus::GpMetafile*;

// ------------------------------------------------------ optional values ----
// An optional scalar argument is a (value, given) pair. Writing a plain value
// gives it; leaving the argument out (or Opt<T>(v, false)) omits it.
//  - Where an operation documents a default ("default D"), an omitted
//    argument takes D and its value is ignored: (5, false) means D, not 5.
//  - Where it documents none ("none: 0"), the value is passed on as it comes;
//    an omitted argument arrives as 0.
// Optional object arguments are pointers: nullptr (or an object that holds
// nothing) hands GDI+ NULL. Optional records are passed by reference with a
// zero record as the default.
template <class T>
struct Opt {
    T value{};
    bool given = false;
    Opt() = default;
    Opt(T v) : value(v), given(true) {}   // NOLINT: a plain value means given
    Opt(T v, bool isGiven) : value(v), given(isGiven) {}
    T Or(T fallback) const { return given ? value : fallback; }
};

// ------------------------------------------------------------- status ------
// The Status of the most recent GDI+ call made through the layer (0 = Ok).
// Written by every operation that calls GDI+; nothing depends on reading it.
extern int LastStatus;

// ------------------------------------------------------- live objects ------
// Native GDI+ objects made through the layer and not yet deleted through it
// (graphics, paths, regions, pens, brushes, fonts, families, formats, images).
// Tests take this before some work and check it comes back afterwards.
int LiveObjectCount();
// How many times a creating operation was called on an object that still
// held a native object (whose handle the call then overwrote and leaked).
// Every caller creates into empty objects; tests check this stays unchanged.
int CreatedIntoHoldingCount();

// ------------------------------------------------------------- texts -------
// The ANSI (GBK) text as UTF-16 code units plus one zero unit, as bytes.
// "" gives exactly two zero bytes.
ByteString ToWideText(const AnsiText& text);
// A zero-terminated UTF-16 string back to ANSI text; nullptr gives "".
AnsiText WideToText(const wchar_t* wide);
// The UTF-16 data of a ToWideText result (or of a caller's UTF-16 bytes).
inline const wchar_t* WidePtr(const ByteString& wide) {
    return wide.empty() ? L"" : reinterpret_cast<const wchar_t*>(wide.data());
}

class GraphicsObject;
class PathObject;
class RegionObject;
class PenObject;
class BrushObject;
class SolidBrushObject;
class LinearBrushObject;
class PathBrushObject;
class FontObject;
class FontFamilyObject;
class FontCollectionObject;
class StringFormatObject;
class ImageObject;
class BitmapObject;

// --------------------------------------------------------- NativeObject ----
// Holds one native GDI+ object or nothing. Each class level keeps its own
// copy of the handle (Handle, and SubHandle in the brush and bitmap classes);
// the copies are written only through SetNative, so they are always equal.
// One owner per object: objects cannot be copied by C++ copy; Copy() makes
// an independent object (see each class). Destroy (also run by the
// destructor) deletes what is still held; Delete/Dispose is safe twice.
class NativeObject {
public:
    NativeObject() = default;
    NativeObject(const NativeObject&) = delete;
    NativeObject& operator=(const NativeObject&) = delete;
    virtual ~NativeObject() = default;

    void* GetNative() const { return native_; }
    void SetNative(void* h);
    virtual void OnSetNative(void* h) {}
    void* AllocGdipMemory(size_t bytes);
    void FreeGdipMemory(void* p);

private:
    void* native_ = nullptr;
};

// The handle of an object argument: NULL for nullptr or an empty object.
inline void* NativeOf(const NativeObject* o) { return o ? o->GetNative() : nullptr; }
inline void* NativeOf(const NativeObject& o) { return o.GetNative(); }

}  // namespace drw
