#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"

namespace drw {

using namespace calls;

void PenObject::Destroy() { Delete(); }
std::unique_ptr<PenObject> PenObject::Copy() const { return CloneCopy(*this); }
void PenObject::OnSetNative(void* h) { handle_ = static_cast<Gdiplus::GpPen*>(h); }

int PenObject::Delete() { return Kill(*this, handle_, gp::GdipDeletePen); }
int PenObject::Create(ARGB colour, float width, Opt<int> unit) {
    return Make(*this, handle_, gp::GdipCreatePen1, colour, width, unit.value);
}
int PenObject::CreateFromBrush(const BrushObject& brush, float width, Opt<int> unit) {
    return Make(*this, handle_, gp::GdipCreatePen2, N(brush), width, unit.value);
}
int PenObject::Clone(PenObject& target) const { return Hand<Gdiplus::GpPen>(target, gp::GdipClonePen, handle_); }
float PenObject::GetWidth() { return Get<float>(gp::GdipGetPenWidth, handle_); }
int PenObject::SetWidth(float width) { return Act(gp::GdipSetPenWidth, handle_, width); }
int PenObject::GetUnit() { return Get<Gdiplus::Unit, int>(gp::GdipGetPenUnit, handle_); }
int PenObject::SetUnit(double unit) { return Act(gp::GdipSetPenUnit, handle_, static_cast<int>(unit)); }
int PenObject::SetLineCap(int start, int end, int dash) {
    return Act(gp::GdipSetPenLineCap197819, handle_, start, end, dash);
}
int PenObject::SetLineCap2(int start, int end, int dash) { return SetLineCap(start, end, dash); }

int PenObject::SetStartCap(int cap) { return Act(gp::GdipSetPenStartCap, handle_, cap); }
int PenObject::SetEndCap(int cap) { return Act(gp::GdipSetPenEndCap, handle_, cap); }
int PenObject::SetDashCap(int cap) { return Act(gp::GdipSetPenDashCap197819, handle_, cap); }
int PenObject::GetStartCap() { return Get<Gdiplus::LineCap, int>(gp::GdipGetPenStartCap, handle_); }
int PenObject::GetEndCap() { return Get<Gdiplus::LineCap, int>(gp::GdipGetPenEndCap, handle_); }
int PenObject::GetDashCap() { return Get<Gdiplus::DashCap, int>(gp::GdipGetPenDashCap197819, handle_); }
int PenObject::GetDashCap2() { return GetDashCap(); }
int PenObject::SetLineJoin(int join) { return Act(gp::GdipSetPenLineJoin, handle_, join); }
int PenObject::GetLineJoin() { return Get<Gdiplus::LineJoin, int>(gp::GdipGetPenLineJoin, handle_); }

int PenObject::SetCustomStartCap(CustomLineCapHandle cap) { return Act(gp::GdipSetPenCustomStartCap, handle_, cap); }
CustomLineCapHandle PenObject::GetCustomStartCap() { return Get<CustomLineCapHandle>(gp::GdipGetPenCustomStartCap, handle_); }
int PenObject::SetCustomEndCap(CustomLineCapHandle cap) { return Act(gp::GdipSetPenCustomEndCap, handle_, cap); }
CustomLineCapHandle PenObject::GetCustomEndCap() { return Get<CustomLineCapHandle>(gp::GdipGetPenCustomEndCap, handle_); }
int PenObject::SetMiterLimit(float limit) { return Act(gp::GdipSetPenMiterLimit, handle_, limit); }
float PenObject::GetMiterLimit() { return Get<float>(gp::GdipGetPenMiterLimit, handle_); }
int PenObject::SetMode(int alignment) { return Act(gp::GdipSetPenMode, handle_, alignment); }
int PenObject::GetMode() { return Get<Gdiplus::PenAlignment, int>(gp::GdipGetPenMode, handle_); }

int PenObject::SetTransform(MatrixHandle m) { return Act(gp::GdipSetPenTransform, handle_, m); }
int PenObject::GetTransform(MatrixHandle m) { return Act(gp::GdipGetPenTransform, handle_, m); }
int PenObject::ResetTransform() { return Act(gp::GdipResetPenTransform, handle_); }
int PenObject::MultiplyTransform(MatrixHandle m, int order) { return Act(gp::GdipMultiplyPenTransform, handle_, m, order); }
int PenObject::RotateTransform(float angle, int order) { return Act(gp::GdipRotatePenTransform, handle_, angle, order); }
int PenObject::RotateAt(float angle, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateTransform(dx, dy, order); },
                       [&] { return RotateTransform(angle, order); });
}
int PenObject::ScaleTransform(float sx, float sy, int order) { return Act(gp::GdipScalePenTransform, handle_, sx, sy, order); }
int PenObject::ScaleAt(float sx, float sy, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateTransform(dx, dy, order); },
                       [&] { return ScaleTransform(sx, sy, order); });
}
int PenObject::TranslateTransform(float dx, float dy, int order) {
    return Act(gp::GdipTranslatePenTransform, handle_, dx, dy, order);
}

ARGB PenObject::GetColor() { return Get<Gdiplus::ARGB, ARGB>(gp::GdipGetPenColor, handle_); }
int PenObject::SetColor(ARGB colour) { return Act(gp::GdipSetPenColor, handle_, colour); }
int PenObject::SetBrushFill(const BrushObject& brush) { return Act(gp::GdipSetPenBrushFill, handle_, N(brush)); }
int PenObject::GetBrushFill(BrushObject& target) {
    return Hand<Gdiplus::GpBrush>(target, gp::GdipGetPenBrushFill, handle_);
}
int PenObject::GetFillType() { return Get<Gdiplus::PenType, int>(gp::GdipGetPenFillType, handle_); }
int PenObject::SetDashStyle(int style) { return Act(gp::GdipSetPenDashStyle, handle_, style); }
int PenObject::GetDashStyle() { return Get<Gdiplus::DashStyle, int>(gp::GdipGetPenDashStyle, handle_); }
float PenObject::GetDashOffset() { return Get<float>(gp::GdipGetPenDashOffset, handle_); }
int PenObject::SetDashOffset(float offset) { return Act(gp::GdipSetPenDashOffset, handle_, offset); }
int PenObject::GetDashArray(CountedArray<float>& dashes) {
    return FillArray(dashes, Get<INT, int>(gp::GdipGetPenDashCount, handle_), gp::GdipGetPenDashArray, handle_);
}
int PenObject::SetDashArray(const CountedArray<float>& d) { return Act(gp::GdipSetPenDashArray, handle_, First(d), d.Count()); }
int PenObject::SetCompoundArray(const CountedArray<float>& s) {
    return Act(gp::GdipSetPenCompoundArray, handle_, First(s), s.Count());
}
int PenObject::GetCompoundArray(CountedArray<float>& stripes) {
    return FillArray(stripes, Get<INT, int>(gp::GdipGetPenCompoundCount, handle_), gp::GdipGetPenCompoundArray,
                     handle_);
}

}  // namespace drw
