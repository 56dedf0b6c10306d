#include "drawing/path.h"

#include <algorithm>
#include <cstring>

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"

namespace drw {

using namespace calls;

namespace {
constexpr float kFlatness = 0.25f;   // GDI+'s default flatness
}

void PathObject::Destroy() { Delete(); }
std::unique_ptr<PathObject> PathObject::Copy() const { return CloneCopy(*this); }
void PathObject::OnSetNative(void* h) { handle_ = static_cast<Gdiplus::GpPath*>(h); }

int PathObject::Delete() { return Kill(*this, handle_, gp::GdipDeletePath); }
int PathObject::Create(Opt<int> fillMode) {
    return Make(*this, handle_, gp::GdipCreatePath, fillMode.Or(Gdiplus::FillModeAlternate));
}
int PathObject::Create2(const CountedArray<PointF>& p, const ByteString& types, Opt<int> fillMode) {
    if (!Enough(static_cast<int>(types.size()), p.Count())) return 0;
    return Make(*this, handle_, gp::GdipCreatePath2, GpFirst(p), types.data(), p.Count(),
                fillMode.Or(Gdiplus::FillModeAlternate));
}
int PathObject::Create2I(const CountedArray<Point>& p, const ByteString& types, Opt<int> fillMode) {
    if (!Enough(static_cast<int>(types.size()), p.Count())) return 0;
    return Make(*this, handle_, gp::GdipCreatePath2I, GpFirst(p), types.data(), p.Count(),
                fillMode.Or(Gdiplus::FillModeAlternate));
}
int PathObject::Clone(PathObject& target) const {
    return Hand<Gdiplus::GpPath>(target, gp::GdipClonePath, handle_);
}
int PathObject::Reset() { return Act(gp::GdipResetPath, handle_); }
int PathObject::GetFillMode() { return Get<Gdiplus::FillMode, int>(gp::GdipGetPathFillMode, handle_); }
int PathObject::SetFillMode(int mode) { return Act(gp::GdipSetPathFillMode, handle_, mode); }

int PathObject::GetPathData(PathData& data) {
    const int count = GetPointCount();
    Gdiplus::PathData raw;
    raw.Count = count;
    raw.Points = static_cast<Gdiplus::PointF*>(AllocGdipMemory(sizeof(PointF) * std::max(count, 1)));
    raw.Types = static_cast<BYTE*>(AllocGdipMemory(std::max(count, 1)));
    const int ok = Act(gp::GdipGetPathData, handle_, &raw);
    const int got = ok ? raw.Count : 0;
    data.Points.Resize(got);
    data.Types.assign(raw.Types, raw.Types + got);
    if (got) std::memcpy(&data.Points[1], raw.Points, sizeof(PointF) * got);
    FreeGdipMemory(raw.Points);
    FreeGdipMemory(raw.Types);
    raw.Points = nullptr;   // the record's destructor must not free them again
    raw.Types = nullptr;
    return ok;
}
int PathObject::GetTypes(ByteString& types) {
    types.assign(GetPointCount(), 0);
    return Act(gp::GdipGetPathTypes, handle_, types.data(), static_cast<int>(types.size()));
}
int PathObject::GetPoints(CountedArray<PointF>& p) {
    p.Resize(GetPointCount());
    return Act(gp::GdipGetPathPoints, handle_, GpFirst(p), p.Count());
}
int PathObject::GetPointsI(CountedArray<Point>& p) {
    p.Resize(GetPointCount());
    return Act(gp::GdipGetPathPointsI, handle_, GpFirst(p), p.Count());
}

int PathObject::StartFigure() { return Act(gp::GdipStartPathFigure, handle_); }
int PathObject::CloseFigure() { return Act(gp::GdipClosePathFigure, handle_); }
int PathObject::CloseFigures() { return Act(gp::GdipClosePathFigures, handle_); }
int PathObject::SetMarker() { return Act(gp::GdipSetPathMarker, handle_); }
int PathObject::ClearMarkers() { return Act(gp::GdipClearPathMarkers, handle_); }
int PathObject::Reverse() { return Act(gp::GdipReversePath, handle_); }
PointF PathObject::GetLastPoint() { return Get<PointF>(gp::GdipGetPathLastPoint, handle_); }

int PathObject::AddLine(float x1, float y1, float x2, float y2) {
    return Act(gp::GdipAddPathLine, handle_, x1, y1, x2, y2);
}
int PathObject::AddLineI(int x1, int y1, int x2, int y2) { return Act(gp::GdipAddPathLineI, handle_, x1, y1, x2, y2); }
int PathObject::AddLine2(const CountedArray<PointF>& p) { return Act(gp::GdipAddPathLine2, handle_, GpFirst(p), p.Count()); }
int PathObject::AddLine2I(const CountedArray<Point>& p) { return Act(gp::GdipAddPathLine2I, handle_, GpFirst(p), p.Count()); }
int PathObject::AddArc(float x, float y, float w, float h, float start, float sweep) {
    return Act(gp::GdipAddPathArc, handle_, x, y, w, h, start, sweep);
}
int PathObject::AddArcI(int x, int y, int w, int h, float start, float sweep) {
    return Act(gp::GdipAddPathArcI, handle_, x, y, w, h, start, sweep);
}
int PathObject::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    return Act(gp::GdipAddPathBezier, handle_, x1, y1, x2, y2, x3, y3, x4, y4);
}
int PathObject::AddBezierI(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return Act(gp::GdipAddPathBezierI, handle_, x1, y1, x2, y2, x3, y3, x4, y4);
}
int PathObject::AddBeziers(const CountedArray<PointF>& p) { return Act(gp::GdipAddPathBeziers, handle_, GpFirst(p), p.Count()); }
int PathObject::AddBeziersI(const CountedArray<Point>& p) { return Act(gp::GdipAddPathBeziersI, handle_, GpFirst(p), p.Count()); }
int PathObject::AddCurve(const CountedArray<PointF>& p) { return Act(gp::GdipAddPathCurve, handle_, GpFirst(p), p.Count()); }
int PathObject::AddCurve2(const CountedArray<PointF>& p, float t) {
    return Act(gp::GdipAddPathCurve2, handle_, GpFirst(p), p.Count(), t);
}
int PathObject::AddCurve3(const CountedArray<PointF>& p, int offset, int segments, float t) {
    return Act(gp::GdipAddPathCurve3, handle_, GpFirst(p), p.Count(), offset, segments, t);
}
int PathObject::AddCurveI(const CountedArray<Point>& p) { return Act(gp::GdipAddPathCurveI, handle_, GpFirst(p), p.Count()); }
int PathObject::AddCurve2I(const CountedArray<Point>& p, float t) {
    return Act(gp::GdipAddPathCurve2I, handle_, GpFirst(p), p.Count(), t);
}
int PathObject::AddCurve3I(const CountedArray<Point>& p, int offset, int segments, float t) {
    return Act(gp::GdipAddPathCurve3I, handle_, GpFirst(p), p.Count(), offset, segments, t);
}
int PathObject::AddClosedCurve(const CountedArray<PointF>& p) {
    return Act(gp::GdipAddPathClosedCurve, handle_, GpFirst(p), p.Count());
}
int PathObject::AddClosedCurve2(const CountedArray<PointF>& p, float t) {
    return Act(gp::GdipAddPathClosedCurve2, handle_, GpFirst(p), p.Count(), t);
}
int PathObject::AddClosedCurveI(const CountedArray<Point>& p) {
    return Act(gp::GdipAddPathClosedCurveI, handle_, GpFirst(p), p.Count());
}
int PathObject::AddClosedCurve2I(const CountedArray<Point>& p, float t) {
    return Act(gp::GdipAddPathClosedCurve2I, handle_, GpFirst(p), p.Count(), t);
}

int PathObject::AddRectangle(float x, float y, float w, float h) {
    return Act(gp::GdipAddPathRectangle, handle_, x, y, w, h);
}
int PathObject::AddRoundRectangle(float x, float y, float w, float h, int roundness) {
    roundness = std::clamp(roundness, 1, 100);
    const float right = x + w, bottom = y + h;
    const float aw = static_cast<float>(static_cast<int>(w * roundness / 100));
    const float ah = static_cast<float>(static_cast<int>(h * roundness / 100));
    AddArc(right - aw, y, aw, ah, 270, 90);
    AddArc(right - aw, bottom - ah, aw, ah, 0, 90);
    AddArc(x, bottom - ah, aw, ah, 90, 90);
    AddArc(x, y, aw, ah, 180, 90);
    return CloseFigure();
}
int PathObject::AddRectangles(const CountedArray<RectF>& r) {
    return Act(gp::GdipAddPathRectangles, handle_, GpFirst(r), r.Count());
}
int PathObject::AddRectangleI(int x, int y, int w, int h) { return Act(gp::GdipAddPathRectangleI, handle_, x, y, w, h); }
int PathObject::AddRectanglesI(const CountedArray<Rect>& r) {
    return Act(gp::GdipAddPathRectanglesI, handle_, GpFirst(r), r.Count());
}
int PathObject::AddEllipse(float x, float y, float w, float h) { return Act(gp::GdipAddPathEllipse, handle_, x, y, w, h); }
int PathObject::AddEllipseI(int x, int y, int w, int h) { return Act(gp::GdipAddPathEllipseI, handle_, x, y, w, h); }
int PathObject::AddPie(float x, float y, float w, float h, float start, float sweep) {
    return Act(gp::GdipAddPathPie, handle_, x, y, w, h, start, sweep);
}
int PathObject::AddPieI(int x, int y, int w, int h, float start, float sweep) {
    return Act(gp::GdipAddPathPieI, handle_, x, y, w, h, start, sweep);
}
int PathObject::AddPolygon(const CountedArray<PointF>& p) { return Act(gp::GdipAddPathPolygon, handle_, GpFirst(p), p.Count()); }
int PathObject::AddPolygonI(const CountedArray<Point>& p) { return Act(gp::GdipAddPathPolygonI, handle_, GpFirst(p), p.Count()); }
int PathObject::AddPath(const PathObject& other, int connect) {
    return Act(gp::GdipAddPathPath, handle_, N(other), connect);
}

namespace {
// GdipAddPathString and its integer twin take the same arguments.
template <class F, class R>
int AddWideString(PathObject& path, F fn, const ByteString& wide, const FontFamilyObject& family, int style,
                  float emSize, const R& layout, const StringFormatObject* format) {
    const ByteString w = Terminated(wide);
    return Act(fn, path.GetHandle(), WidePtr(w), WideLength(w), N(family), style, emSize, Gp(&layout),
               N(format));
}
}  // namespace

int PathObject::AddString(const AnsiText& text, const FontFamilyObject& family, int style, float emSize,
                          const RectF& layout, const StringFormatObject* format) {
    return AddStringW(ToWideText(text), family, style, emSize, layout, format);
}
int PathObject::AddStringW(const ByteString& wide, const FontFamilyObject& family, int style, float emSize,
                           const RectF& layout, const StringFormatObject* format) {
    return AddWideString(*this, gp::GdipAddPathString, wide, family, style, emSize, layout, format);
}
int PathObject::AddStringI(const AnsiText& text, const FontFamilyObject& family, int style, float emSize,
                           const Rect& layout, const StringFormatObject* format) {
    return AddStringIW(ToWideText(text), family, style, emSize, layout, format);
}
int PathObject::AddStringIW(const ByteString& wide, const FontFamilyObject& family, int style, float emSize,
                            const Rect& layout, const StringFormatObject* format) {
    return AddWideString(*this, gp::GdipAddPathStringI, wide, family, style, emSize, layout, format);
}

int PathObject::Transform(MatrixHandle m) { return Act(gp::GdipTransformPath, handle_, m); }
RectF PathObject::GetWorldBounds(MatrixHandle m, const PenObject* pen) {
    RectF r{};
    Act(gp::GdipGetPathWorldBounds, handle_, Gp(&r), m, N(pen));
    return r;
}
Rect PathObject::GetWorldBoundsI(MatrixHandle m, const PenObject* pen) {
    Rect r{};
    Act(gp::GdipGetPathWorldBoundsI, handle_, Gp(&r), m, N(pen));
    return r;
}
int PathObject::Flatten(MatrixHandle m, Opt<float> flatness) {
    return Act(gp::GdipFlattenPath, handle_, m, flatness.Or(kFlatness));
}
int PathObject::Widen(const PenObject& pen, MatrixHandle m, Opt<float> flatness) {
    return Act(gp::GdipWidenPath, handle_, N(pen), m, flatness.Or(kFlatness));
}
int PathObject::Outline(MatrixHandle m, Opt<float> flatness) {
    return Act(gp::GdipWindingModeOutline, handle_, m, flatness.Or(kFlatness));
}
int PathObject::Warp(const CountedArray<PointF>& dest, const RectF& src, MatrixHandle m, Opt<int> warpMode,
                     Opt<float> flatness) {
    return Act(gp::GdipWarpPath, handle_, m, GpFirst(dest), dest.Count(), src.x, src.y, src.width,
               src.height, warpMode.Or(Gdiplus::WarpModePerspective), flatness.Or(kFlatness));
}
int PathObject::GetPointCount() { return Get<INT, int>(gp::GdipGetPointCount, handle_); }

int PathObject::IsVisiblePoint(float x, float y, const GraphicsObject* g) {
    return Is(gp::GdipIsVisiblePathPoint, handle_, x, y, N(g));
}
int PathObject::IsVisiblePointI(int x, int y, const GraphicsObject* g) {
    return Is(gp::GdipIsVisiblePathPointI, handle_, x, y, N(g));
}
int PathObject::IsOutlineVisiblePoint(float x, float y, const PenObject& pen, const GraphicsObject* g) {
    return Is(gp::GdipIsOutlineVisiblePathPoint, handle_, x, y, N(pen), N(g));
}
int PathObject::IsOutlineVisiblePointI(int x, int y, const PenObject& pen, const GraphicsObject* g) {
    return Is(gp::GdipIsOutlineVisiblePathPointI, handle_, x, y, N(pen), N(g));
}

}  // namespace drw
