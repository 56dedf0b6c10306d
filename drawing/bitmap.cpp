#include <cmath>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"
#include "drawing/encoders.h"
#include "drawing/image_copy.h"

namespace drw {

using namespace calls;

void BitmapObject::Destroy() {
    Dispose();
    OwnStream.Release();
    Stream.Release();
}
std::unique_ptr<BitmapObject> BitmapObject::Copy() const {
    auto copy = std::make_unique<BitmapObject>();
    if (!subHandle_) return copy;
    // As an image's copy: bytes of its own for a bitmap read from bytes.
    if (OwnStream.GetMemory()) {
        const CopySource from = SourceOfCopy(const_cast<BitmapObject&>(*this), OwnStream);
        if (copy->FromBytes(from.bytes)) from.SelectIn(*copy);
    } else
        Clone(*copy);
    return copy;
}
void BitmapObject::OnSetDerivedNative(void* h) { subHandle_ = static_cast<Gdiplus::GpBitmap*>(h); }

int BitmapObject::Dispose() {
    if (!subHandle_) return 0;
    const int ok = Kill(*this, subHandle_, gp::GdipDisposeImage);
    OwnStream.Release();   // the bytes go only after the bitmap that reads them
    return ok;
}
int BitmapObject::FromFile(const AnsiText& name, Opt<int> icm) { return FromFileW(ToWideText(name), icm); }
int BitmapObject::FromFileW(const ByteString& name, Opt<int> icm) {
    const ByteString w = Terminated(name);
    return icm.value ? Make(*this, subHandle_, gp::GdipCreateBitmapFromFileICM, WidePtr(w))
                     : Make(*this, subHandle_, gp::GdipCreateBitmapFromFile, WidePtr(w));
}
int BitmapObject::FromBytes(const ByteString& bytes, Opt<int> icm) {
    IStream* stream = OwnStream.CreateFromBytes(bytes);
    return icm.value ? Make(*this, subHandle_, gp::GdipCreateBitmapFromStreamICM, stream)
                     : Make(*this, subHandle_, gp::GdipCreateBitmapFromStream, stream);
}

int BitmapObject::CreateFromScan0(int width, int height, int stride, int format, void* scan0) {
    return Make(*this, subHandle_, gp::GdipCreateBitmapFromScan0, width, height, stride, format, scan0);
}
int BitmapObject::Create(int width, int height, Opt<int> format) {
    return CreateFromScan0(width, height, 0, format.Or(PixelFormat32bppARGB), nullptr);
}
int BitmapObject::CreateFromGraphics(int width, int height, const GraphicsObject& g) {
    return Make(*this, subHandle_, gp::GdipCreateBitmapFromGraphics, width, height, N(g));
}
int BitmapObject::CreateFromGdiDib(const BITMAPINFO* info, void* bits) {
    return Make(*this, subHandle_, gp::GdipCreateBitmapFromGdiDib, info, bits);
}
int BitmapObject::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) {
    return Make(*this, subHandle_, gp::GdipCreateBitmapFromHBITMAP, bitmap, palette);
}
int BitmapObject::FromHICON(HICON icon) { return Make(*this, subHandle_, gp::GdipCreateBitmapFromHICON, icon); }
int BitmapObject::CreateFromResource(HINSTANCE instance, const AnsiText& name) {
    const ByteString w = ToWideText(name);
    return Make(*this, subHandle_, gp::GdipCreateBitmapFromResource, instance, WidePtr(w));
}

HBITMAP BitmapObject::GetHBITMAP(Opt<ARGB> background) {
    HBITMAP bitmap = nullptr;
    Act(gp::GdipCreateHBITMAPFromBitmap, subHandle_, &bitmap, background.value);
    return bitmap;
}
HICON BitmapObject::CreateHICON() { return Get<HICON>(gp::GdipCreateHICONFromBitmap, subHandle_); }
int BitmapObject::CloneArea(const RectF& a, int format, BitmapObject& target) const {
    return Hand<Gdiplus::GpBitmap>(target, gp::GdipCloneBitmapArea, a.x, a.y, a.width, a.height, format, subHandle_);
}
int BitmapObject::CloneAreaI(const Rect& a, int format, BitmapObject& target) const {
    return Hand<Gdiplus::GpBitmap>(target, gp::GdipCloneBitmapAreaI, a.x, a.y, a.width, a.height, format,
                                   subHandle_);
}
int BitmapObject::LockBits(const Rect& area, unsigned flags, int format, Gdiplus::BitmapData& data) {
    return Act(gp::GdipBitmapLockBits, subHandle_, Gp(&area), flags, format, &data);
}
int BitmapObject::UnlockBits(Gdiplus::BitmapData& data) { return Act(gp::GdipBitmapUnlockBits, subHandle_, &data); }

ARGB BitmapObject::GetPixel(int x, int y) { return Get<Gdiplus::ARGB, ARGB>(gp::GdipBitmapGetPixel, subHandle_, x, y); }
int BitmapObject::SetPixel(int x, int y, ARGB colour) { return Act(gp::GdipBitmapSetPixel, subHandle_, x, y, colour); }
int BitmapObject::SetResolution(float dpiX, float dpiY) {
    return Act(gp::GdipBitmapSetResolution, subHandle_, dpiX, dpiY);
}
int BitmapObject::ApplyEffect(const EffectObject& effect, const RECT* area) {
    // Effects came with a later GDI+ than the import library knows: look the
    // function up, and answer NotImplemented where this GDI+ has none.
    using ApplyEffectFn = decltype(&gp::GdipBitmapApplyEffect);
    static const auto apply = reinterpret_cast<ApplyEffectFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdiplus.dll"), "GdipBitmapApplyEffect")));
    if (!apply) return Keep(Gdiplus::NotImplemented);
    RECT copy = area ? *area : RECT{};
    return Act(apply, subHandle_, effect.effect, area ? &copy : nullptr, FALSE, nullptr, nullptr);
}

namespace {
// A GDI+ matrix released on every path.
struct Matrix {
    Gdiplus::GpMatrix* m = nullptr;
    Matrix() { gp::GdipCreateMatrix(&m); }
    ~Matrix() { if (m) gp::GdipDeleteMatrix(m); }
};
}  // namespace

int BitmapObject::Rotate(float angle, BitmapObject& target, Opt<ARGB> background, Opt<int> interpolation,
                         Opt<SIZE> size) {
    const int w0 = static_cast<int>(GetWidth()), h0 = static_cast<int>(GetHeight());
    const SIZE out = size.given ? size.value : RotatedSize(w0, h0, static_cast<int>(angle));
    BitmapObject made;   // disposed by its destructor if anything on the way fails
    if (!made.Create(out.cx, out.cy, PixelFormat32bppARGB)) return 0;
    made.SetResolution(GetHorizontalResolution(), GetVerticalResolution());
    GraphicsObject g;
    if (!g.FromImage(made)) return 0;
    if (background.given) {
        SolidBrushObject fill;
        fill.Create(background.value);
        g.FillRectangle(fill, 0, 0, static_cast<float>(out.cx), static_cast<float>(out.cy));
    }
    if (interpolation.given) g.SetInterpolationMode(interpolation.value);
    {
        Matrix turn;
        if (!turn.m) return 0;
        // Source centre to the origin, rotate, origin to the target centre.
        gp::GdipTranslateMatrix(turn.m, -w0 / 2.0f, -h0 / 2.0f, Gdiplus::MatrixOrderAppend);
        gp::GdipRotateMatrix(turn.m, angle, Gdiplus::MatrixOrderAppend);
        gp::GdipTranslateMatrix(turn.m, out.cx / 2.0f, out.cy / 2.0f, Gdiplus::MatrixOrderAppend);
        if (!g.SetWorldTransform(turn.m)) return 0;
    }
    if (!g.DrawImage(*this, 0, 0)) return 0;
    g.Delete();
    // The new bitmap changes owner without being deleted.
    void* h = made.GetNative();
    made.SetNative(nullptr);
    if (target.GetNative()) NotedOverwrite();
    target.SetNative(h);
    return 1;
}

SIZE BitmapObject::RotatedSize(int width, int height, int angleDegrees) {
    // Pixel centres of the corners at +-(w-1)/2, +-(h-1)/2; the box around
    // the rotated centres plus one pixel covers the rotated pixels.
    const double a = angleDegrees * 3.14159265358979323846 / 180.0;
    const double hx = (width - 1) / 2.0, hy = (height - 1) / 2.0;
    const double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
    const double bx = hx * c + hy * s, by = hx * s + hy * c;
    SIZE out;
    out.cx = static_cast<LONG>(std::ceil(2 * bx - 1e-7)) + 1;
    out.cy = static_cast<LONG>(std::ceil(2 * by - 1e-7)) + 1;
    return out;
}

}  // namespace drw
