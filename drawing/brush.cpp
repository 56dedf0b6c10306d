#include <algorithm>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"

namespace drw {

using namespace calls;

// ---- the shared level
void BrushObject::OnSetNative(void* h) {
    handle_ = static_cast<Gdiplus::GpBrush*>(h);
    OnSetDerivedNative(handle_);
}
int BrushObject::Delete() { return Kill(*this, handle_, gp::GdipDeleteBrush); }
int BrushObject::Clone(BrushObject& target) const {
    return Hand<Gdiplus::GpBrush>(target, gp::GdipCloneBrush, handle_);
}
int BrushObject::GetType() { return Get<Gdiplus::BrushType, int>(gp::GdipGetBrushType, handle_); }

// ---- solid
void SolidBrushObject::Destroy() { Delete(); }
std::unique_ptr<SolidBrushObject> SolidBrushObject::Copy() const { return CloneCopy(*this); }
void SolidBrushObject::OnSetDerivedNative(void* h) { subHandle_ = static_cast<Gdiplus::GpSolidFill*>(h); }
int SolidBrushObject::Create(ARGB colour) { return Make(*this, subHandle_, gp::GdipCreateSolidFill, colour); }
int SolidBrushObject::SetColor(ARGB colour) { return Act(gp::GdipSetSolidFillColor, subHandle_, colour); }
ARGB SolidBrushObject::GetColor() { return Get<Gdiplus::ARGB, ARGB>(gp::GdipGetSolidFillColor, subHandle_); }

// ---- linear gradient
void LinearBrushObject::Destroy() { Delete(); }
std::unique_ptr<LinearBrushObject> LinearBrushObject::Copy() const { return CloneCopy(*this); }
void LinearBrushObject::OnSetDerivedNative(void* h) { subHandle_ = static_cast<Gdiplus::GpLineGradient*>(h); }

int LinearBrushObject::Create(const PointF& a, const PointF& b, ARGB c1, ARGB c2) {
    return Make(*this, subHandle_, gp::GdipCreateLineBrush, Gp(&a), Gp(&b), c1, c2, Gdiplus::WrapModeTile);
}
int LinearBrushObject::CreateI(const Point& a, const Point& b, ARGB c1, ARGB c2) {
    return Make(*this, subHandle_, gp::GdipCreateLineBrushI, Gp(&a), Gp(&b), c1, c2, Gdiplus::WrapModeTile);
}
int LinearBrushObject::CreateFromRect(const RectF& r, ARGB c1, ARGB c2, int mode) {
    return Make(*this, subHandle_, gp::GdipCreateLineBrushFromRect, Gp(&r), c1, c2, mode, Gdiplus::WrapModeTile);
}
int LinearBrushObject::CreateFromRectI(const Rect& r, ARGB c1, ARGB c2, int mode) {
    return Make(*this, subHandle_, gp::GdipCreateLineBrushFromRectI, Gp(&r), c1, c2, mode, Gdiplus::WrapModeTile);
}
int LinearBrushObject::CreateFromRectWithAngle(const RectF& r, ARGB c1, ARGB c2, float angle, int scalable) {
    return Make(*this, subHandle_, gp::GdipCreateLineBrushFromRectWithAngle, Gp(&r), c1, c2, angle, scalable,
                Gdiplus::WrapModeTile);
}
int LinearBrushObject::CreateFromRectWithAngleI(const Rect& r, ARGB c1, ARGB c2, float angle, int scalable) {
    return Make(*this, subHandle_, gp::GdipCreateLineBrushFromRectWithAngleI, Gp(&r), c1, c2, angle, scalable,
                Gdiplus::WrapModeTile);
}

int LinearBrushObject::GetColors(CountedArray<ARGB>& colours) {
    colours.Resize(2);
    return Act(gp::GdipGetLineColors, subHandle_, First(colours));
}
int LinearBrushObject::SetColors(ARGB c1, ARGB c2) { return Act(gp::GdipSetLineColors, subHandle_, c1, c2); }
RectF LinearBrushObject::GetRect() { return Get<RectF>(gp::GdipGetLineRect, subHandle_); }
Rect LinearBrushObject::GetRectI() { return Get<Rect>(gp::GdipGetLineRectI, subHandle_); }
int LinearBrushObject::SetGammaCorrection(int use) { return Act(gp::GdipSetLineGammaCorrection, subHandle_, use); }
int LinearBrushObject::GetGammaCorrection() { return Get<BOOL, int>(gp::GdipGetLineGammaCorrection, subHandle_); }

int LinearBrushObject::SetBlend(const CountedArray<float>& f, const CountedArray<float>& p) {
    return GiveArrays(f, p, gp::GdipSetLineBlend, subHandle_);
}
int LinearBrushObject::GetBlendCount() { return Get<INT, int>(gp::GdipGetLineBlendCount, subHandle_); }
int LinearBrushObject::GetBlend(CountedArray<float>& f, CountedArray<float>& p) {
    return FillArrays(f, p, GetBlendCount(), gp::GdipGetLineBlend, subHandle_);
}
int LinearBrushObject::SetPresetBlend(const CountedArray<ARGB>& c, const CountedArray<float>& p) {
    return GiveArrays(c, p, gp::GdipSetLinePresetBlend, subHandle_);
}
int LinearBrushObject::GetPresetBlendCount() { return Get<INT, int>(gp::GdipGetLinePresetBlendCount, subHandle_); }
int LinearBrushObject::GetPresetBlend(CountedArray<ARGB>& c, CountedArray<float>& p) {
    return FillArrays(c, p, GetPresetBlendCount(), gp::GdipGetLinePresetBlend, subHandle_);
}
int LinearBrushObject::SetSigmaBlend(float focus, float scale) {
    return Act(gp::GdipSetLineSigmaBlend, subHandle_, focus, scale);
}
int LinearBrushObject::SetLinearBlend(float focus, float scale) {
    return Act(gp::GdipSetLineLinearBlend, subHandle_, focus, scale);
}

int LinearBrushObject::GetWrapMode() { return Get<Gdiplus::WrapMode, int>(gp::GdipGetLineWrapMode, subHandle_); }
int LinearBrushObject::SetWrapMode(int mode) { return Act(gp::GdipSetLineWrapMode, subHandle_, mode); }
int LinearBrushObject::GetTransform(MatrixHandle m) { return Act(gp::GdipGetLineTransform, subHandle_, m); }
int LinearBrushObject::SetTransform(MatrixHandle m) { return Act(gp::GdipSetLineTransform, subHandle_, m); }
int LinearBrushObject::ResetTransform() { return Act(gp::GdipResetLineTransform, subHandle_); }
int LinearBrushObject::MultiplyTransform(MatrixHandle m, int order) {
    return Act(gp::GdipMultiplyLineTransform, subHandle_, m, order);
}
int LinearBrushObject::TranslateTransform(float dx, float dy, int order) {
    return Act(gp::GdipTranslateLineTransform, subHandle_, dx, dy, order);
}
int LinearBrushObject::ScaleTransform(float sx, float sy, int order) {
    return Act(gp::GdipScaleLineTransform, subHandle_, sx, sy, order);
}
int LinearBrushObject::ScaleAt(float sx, float sy, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateTransform(dx, dy, order); },
                       [&] { return ScaleTransform(sx, sy, order); });
}
int LinearBrushObject::RotateTransform(float angle, int order) {
    return Act(gp::GdipRotateLineTransform, subHandle_, angle, order);
}
int LinearBrushObject::RotateAt(float angle, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateTransform(dx, dy, order); },
                       [&] { return RotateTransform(angle, order); });
}

// ---- path gradient
void PathBrushObject::Destroy() { Delete(); }
std::unique_ptr<PathBrushObject> PathBrushObject::Copy() const { return CloneCopy(*this); }
void PathBrushObject::OnSetDerivedNative(void* h) { subHandle_ = static_cast<Gdiplus::GpPathGradient*>(h); }

int PathBrushObject::Create(const CountedArray<PointF>& p, Opt<int> wrap) {
    return Make(*this, subHandle_, gp::GdipCreatePathGradient, GpFirst(p), p.Count(), wrap.Or(Gdiplus::WrapModeClamp));
}
int PathBrushObject::CreateI(const CountedArray<Point>& p, Opt<int> wrap) {
    return Make(*this, subHandle_, gp::GdipCreatePathGradientI, GpFirst(p), p.Count(), wrap.Or(Gdiplus::WrapModeClamp));
}
int PathBrushObject::CreateFromPath(const PathObject& path) {
    return Make(*this, subHandle_, gp::GdipCreatePathGradientFromPath, N(path));
}

ARGB PathBrushObject::GetCenterColor() { return Get<Gdiplus::ARGB, ARGB>(gp::GdipGetPathGradientCenterColor, subHandle_); }
int PathBrushObject::SetCenterColor(ARGB colour) { return Act(gp::GdipSetPathGradientCenterColor, subHandle_, colour); }
int PathBrushObject::GetPointCount() { return Get<INT, int>(gp::GdipGetPathGradientPointCount, subHandle_); }
int PathBrushObject::GetSurroundColorCount() { return Get<INT, int>(gp::GdipGetPathGradientSurroundColorCount, subHandle_); }
int PathBrushObject::GetSurroundColors(CountedArray<ARGB>& colours, int& count) {
    if (count <= 0) count = GetSurroundColorCount();
    colours.Resize(count);
    return Act(gp::GdipGetPathGradientSurroundColorsWithCount, subHandle_, First(colours), &count);
}
int PathBrushObject::SetSurroundColors(const CountedArray<ARGB>& colours) {
    int count = colours.Count();
    return SetSurroundColors(colours, count);
}
int PathBrushObject::SetSurroundColors(const CountedArray<ARGB>& colours, int& count) {
    // GDI+ reads `count` colours: never let it read past the array.
    count = std::clamp(count, 0, colours.Count());
    return Act(gp::GdipSetPathGradientSurroundColorsWithCount, subHandle_, First(colours), &count);
}
int PathBrushObject::GetPath(PathObject& path) {
    // GDI+ copies the boundary into an existing path.
    if (!path.GetNative() && !path.Create()) return 0;
    return Act(gp::GdipGetPathGradientPath, subHandle_, N(path));
}
int PathBrushObject::SetPath(const PathObject& path) { return Act(gp::GdipSetPathGradientPath, subHandle_, N(path)); }

PointF PathBrushObject::GetCenterPoint() { return Get<PointF>(gp::GdipGetPathGradientCenterPoint, subHandle_); }
Point PathBrushObject::GetCenterPointI() { return Get<Point>(gp::GdipGetPathGradientCenterPointI, subHandle_); }
int PathBrushObject::SetCenterPoint(const PointF& p) {
    PointF copy = p;   // GDI+ takes the record by a non-const address
    return Act(gp::GdipSetPathGradientCenterPoint, subHandle_, Gp(&copy));
}
int PathBrushObject::SetCenterPointI(const Point& p) {
    Point copy = p;
    return Act(gp::GdipSetPathGradientCenterPointI, subHandle_, Gp(&copy));
}
int PathBrushObject::GetRect(RectF& r) { return Act(gp::GdipGetPathGradientRect, subHandle_, Gp(&r)); }
int PathBrushObject::GetRectI(Rect& r) { return Act(gp::GdipGetPathGradientRectI, subHandle_, Gp(&r)); }
int PathBrushObject::SetGammaCorrection(int use) { return Act(gp::GdipSetPathGradientGammaCorrection, subHandle_, use); }
int PathBrushObject::GetGammaCorrection() { return Get<BOOL, int>(gp::GdipGetPathGradientGammaCorrection, subHandle_); }

int PathBrushObject::GetBlendCount() { return Get<INT, int>(gp::GdipGetPathGradientBlendCount, subHandle_); }
int PathBrushObject::SetBlend(const CountedArray<float>& f, const CountedArray<float>& p) {
    return GiveArrays(f, p, gp::GdipSetPathGradientBlend, subHandle_);
}
int PathBrushObject::GetBlend(CountedArray<float>& f, CountedArray<float>& p) {
    return FillArrays(f, p, GetBlendCount(), gp::GdipGetPathGradientBlend, subHandle_);
}
int PathBrushObject::GetPresetBlendCount() { return Get<INT, int>(gp::GdipGetPathGradientPresetBlendCount, subHandle_); }
int PathBrushObject::SetPresetBlend(const CountedArray<ARGB>& c, const CountedArray<float>& p) {
    return GiveArrays(c, p, gp::GdipSetPathGradientPresetBlend, subHandle_);
}
int PathBrushObject::GetPresetBlend(CountedArray<ARGB>& c, CountedArray<float>& p) {
    return FillArrays(c, p, GetPresetBlendCount(), gp::GdipGetPathGradientPresetBlend, subHandle_);
}
int PathBrushObject::SetSigmaBlend(float focus, float scale) {
    return Act(gp::GdipSetPathGradientSigmaBlend, subHandle_, focus, scale);
}
int PathBrushObject::SetLinearBlend(float focus, float scale) {
    return Act(gp::GdipSetPathGradientLinearBlend, subHandle_, focus, scale);
}

int PathBrushObject::GetFocusScales(float& x, float& y) { return Act(gp::GdipGetPathGradientFocusScales, subHandle_, &x, &y); }
int PathBrushObject::SetFocusScales(float x, float y) { return Act(gp::GdipSetPathGradientFocusScales, subHandle_, x, y); }
int PathBrushObject::GetWrapMode() { return Get<Gdiplus::WrapMode, int>(gp::GdipGetPathGradientWrapMode, subHandle_); }
int PathBrushObject::SetWrapMode(int mode) { return Act(gp::GdipSetPathGradientWrapMode, subHandle_, mode); }
int PathBrushObject::GetTransform(MatrixHandle m) { return Act(gp::GdipGetPathGradientTransform, subHandle_, m); }
int PathBrushObject::SetTransform(MatrixHandle m) { return Act(gp::GdipSetPathGradientTransform, subHandle_, m); }
int PathBrushObject::ResetTransform() { return Act(gp::GdipResetPathGradientTransform, subHandle_); }
int PathBrushObject::MultiplyTransform(MatrixHandle m, int order) {
    return Act(gp::GdipMultiplyPathGradientTransform, subHandle_, m, order);
}
int PathBrushObject::TranslateTransform(float dx, float dy, int order) {
    return Act(gp::GdipTranslatePathGradientTransform, subHandle_, dx, dy, order);
}
int PathBrushObject::ScaleTransform(float sx, float sy, int order) {
    return Act(gp::GdipScalePathGradientTransform, subHandle_, sx, sy, order);
}
int PathBrushObject::ScaleAt(float sx, float sy, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateTransform(dx, dy, order); },
                       [&] { return ScaleTransform(sx, sy, order); });
}
int PathBrushObject::RotateTransform(float angle, int order) {
    return Act(gp::GdipRotatePathGradientTransform, subHandle_, angle, order);
}
int PathBrushObject::RotateAt(float angle, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateTransform(dx, dy, order); },
                       [&] { return RotateTransform(angle, order); });
}

}  // namespace drw
