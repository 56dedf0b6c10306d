#include <algorithm>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"

namespace drw {

using namespace calls;

void RegionObject::Destroy() { Delete(); }
std::unique_ptr<RegionObject> RegionObject::Copy() const { return CloneCopy(*this); }
void RegionObject::OnSetNative(void* h) { handle_ = static_cast<Gdiplus::GpRegion*>(h); }

int RegionObject::Delete() { return Kill(*this, handle_, gp::GdipDeleteRegion); }
int RegionObject::Create() { return Make(*this, handle_, gp::GdipCreateRegion); }
int RegionObject::CreateRect(const RectF& r) { return Make(*this, handle_, gp::GdipCreateRegionRect, Gp(&r)); }
int RegionObject::CreateRectI(const Rect& r) { return Make(*this, handle_, gp::GdipCreateRegionRectI, Gp(&r)); }
int RegionObject::CreatePath(const PathObject& path) { return Make(*this, handle_, gp::GdipCreateRegionPath, N(path)); }
int RegionObject::CreateHrgn(HRGN rgn) { return Make(*this, handle_, gp::GdipCreateRegionHrgn, rgn); }
int RegionObject::CreateRgnData(const ByteString& data, Opt<int> size) {
    const int n = std::clamp(size.Or(static_cast<int>(data.size())), 0, static_cast<int>(data.size()));
    return Make(*this, handle_, gp::GdipCreateRegionRgnData, data.data(), n);
}
int RegionObject::Clone(RegionObject& target) const {
    return Hand<Gdiplus::GpRegion>(target, gp::GdipCloneRegion, handle_);
}
int RegionObject::SetInfinite() { return Act(gp::GdipSetInfinite, handle_); }
int RegionObject::SetEmpty() { return Act(gp::GdipSetEmpty, handle_); }

int RegionObject::CombineRect(const RectF& r, Opt<int> mode) {
    return Act(gp::GdipCombineRegionRect, handle_, Gp(&r), mode.Or(Gdiplus::CombineModeIntersect));
}
int RegionObject::CombineRectI(const Rect& r, Opt<int> mode) {
    return Act(gp::GdipCombineRegionRectI, handle_, Gp(&r), mode.Or(Gdiplus::CombineModeIntersect));
}
int RegionObject::CombineRegion(const RegionObject& other, Opt<int> mode) {
    return Act(gp::GdipCombineRegionRegion, handle_, N(other), mode.Or(Gdiplus::CombineModeIntersect));
}
int RegionObject::CombinePath(const PathObject& path, Opt<int> mode) {
    return Act(gp::GdipCombineRegionPath, handle_, N(path), mode.Or(Gdiplus::CombineModeIntersect));
}
int RegionObject::Translate(float dx, float dy) { return Act(gp::GdipTranslateRegion, handle_, dx, dy); }
int RegionObject::TranslateI(int dx, int dy) { return Act(gp::GdipTranslateRegionI, handle_, dx, dy); }
int RegionObject::Transform(MatrixHandle m) { return Act(gp::GdipTransformRegion, handle_, m); }

RectF RegionObject::GetBounds(const GraphicsObject& g) { return Get<RectF>(gp::GdipGetRegionBounds, handle_, N(g)); }
Rect RegionObject::GetBoundsI(const GraphicsObject& g) { return Get<Rect>(gp::GdipGetRegionBoundsI, handle_, N(g)); }
unsigned RegionObject::GetDataSize() { return Get<UINT, unsigned>(gp::GdipGetRegionDataSize, handle_); }
int RegionObject::GetData(ByteString& buffer, unsigned size, unsigned& written) {
    written = 0;
    const unsigned n = std::min(size, static_cast<unsigned>(buffer.size()));
    return Act(gp::GdipGetRegionData, handle_, buffer.data(), n, &written);
}
HRGN RegionObject::GetHRgn(const GraphicsObject* g) { return Get<HRGN>(gp::GdipGetRegionHRgn, handle_, N(g)); }

int RegionObject::IsEmpty(const GraphicsObject& g) { return Is(gp::GdipIsEmptyRegion, handle_, N(g)); }
int RegionObject::IsInfinite(const GraphicsObject& g) { return Is(gp::GdipIsInfiniteRegion, handle_, N(g)); }
int RegionObject::IsEqual(const RegionObject& other, const GraphicsObject& g) {
    return Is(gp::GdipIsEqualRegion, handle_, N(other), N(g));
}
int RegionObject::IsVisiblePoint(const PointF& p, const GraphicsObject* g) {
    return Is(gp::GdipIsVisibleRegionPoint, handle_, p.x, p.y, N(g));
}
int RegionObject::IsVisiblePointI(const Point& p, const GraphicsObject* g) {
    return Is(gp::GdipIsVisibleRegionPointI, handle_, p.x, p.y, N(g));
}
int RegionObject::IsVisibleRect(const RectF& r, const GraphicsObject* g) {
    return Is(gp::GdipIsVisibleRegionRect, handle_, r.x, r.y, r.width, r.height, N(g));
}
int RegionObject::IsVisibleRectI(const Rect& r, const GraphicsObject* g) {
    return Is(gp::GdipIsVisibleRegionRectI, handle_, r.x, r.y, r.width, r.height, N(g));
}

unsigned RegionObject::GetScansCount(MatrixHandle m) {
    UINT count = 0;
    Act(gp::GdipGetRegionScansCount, handle_, &count, m);
    return count;
}
int RegionObject::GetScans(MatrixHandle m, CountedArray<RectF>& rects) {
    rects.Resize(static_cast<int>(GetScansCount(m)));
    INT count = 0;
    Act(gp::GdipGetRegionScans, handle_, GpFirst(rects), &count, m);
    return count;
}
int RegionObject::GetScansI(MatrixHandle m, CountedArray<Rect>& rects) {
    rects.Resize(static_cast<int>(GetScansCount(m)));
    INT count = 0;
    Act(gp::GdipGetRegionScansI, handle_, GpFirst(rects), &count, m);
    return count;
}

}  // namespace drw
