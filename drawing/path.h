// PathObject (a GDI+ GraphicsPath: the shapes painters fill and stroke) and
// RegionObject (a GDI+ Region).
#pragma once

#include "drawing/native_object.h"

namespace drw {

// Points and type bytes of a path, as GetPathData reads them.
struct PathData {
    CountedArray<PointF> Points;
    ByteString Types;
};

// Declaration order is the method-table order. Names follow the GDI+
// function without "Gdip" and "Path".
class PathObject : public NativeObject {
public:
    PathObject() = default;
    ~PathObject() override { Destroy(); }
    void Destroy();                                  // Delete
    // An independent copy made with GdipClonePath (empty when this is empty).
    std::unique_ptr<PathObject> Copy() const;
    void OnSetNative(void* h) override;
    Gdiplus::GpPath* GetHandle() const { return handle_; }

    int Delete();
    // Fill mode default 0 (FillModeAlternate).
    int Create(Opt<int> fillMode = {});
    // The point count is the point array's; types must hold as many bytes.
    int Create2(const CountedArray<PointF>& points, const ByteString& types, Opt<int> fillMode = {});
    int Create2I(const CountedArray<Point>& points, const ByteString& types, Opt<int> fillMode = {});
    int Clone(PathObject& target) const;
    int Reset();
    int GetFillMode();
    int SetFillMode(int fillMode);

    int GetPathData(PathData& data);
    int GetTypes(ByteString& types);                 // sized to the point count
    int GetPoints(CountedArray<PointF>& points);     // sized to the point count
    int GetPointsI(CountedArray<Point>& points);

    int StartFigure();
    int CloseFigure();
    int CloseFigures();
    int SetMarker();
    int ClearMarkers();
    int Reverse();
    PointF GetLastPoint();

    int AddLine(float x1, float y1, float x2, float y2);
    int AddLineI(int x1, int y1, int x2, int y2);
    int AddLine2(const CountedArray<PointF>& points);
    int AddLine2I(const CountedArray<Point>& points);
    int AddArc(float x, float y, float w, float h, float start, float sweep);
    int AddArcI(int x, int y, int w, int h, float start, float sweep);
    int AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    int AddBezierI(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    int AddBeziers(const CountedArray<PointF>& points);
    int AddBeziersI(const CountedArray<Point>& points);
    int AddCurve(const CountedArray<PointF>& points);
    int AddCurve2(const CountedArray<PointF>& points, float tension);
    int AddCurve3(const CountedArray<PointF>& points, int offset, int segments, float tension);
    int AddCurveI(const CountedArray<Point>& points);
    int AddCurve2I(const CountedArray<Point>& points, float tension);
    int AddCurve3I(const CountedArray<Point>& points, int offset, int segments, float tension);
    int AddClosedCurve(const CountedArray<PointF>& points);
    int AddClosedCurve2(const CountedArray<PointF>& points, float tension);
    int AddClosedCurveI(const CountedArray<Point>& points);
    int AddClosedCurve2I(const CountedArray<Point>& points, float tension);

    int AddRectangle(float x, float y, float w, float h);
    // Four 90-degree corner arcs; roundness is a percentage clamped to 1..100.
    int AddRoundRectangle(float x, float y, float w, float h, int roundness);
    int AddRectangles(const CountedArray<RectF>& rects);
    int AddRectangleI(int x, int y, int w, int h);
    int AddRectanglesI(const CountedArray<Rect>& rects);
    int AddEllipse(float x, float y, float w, float h);
    int AddEllipseI(int x, int y, int w, int h);
    int AddPie(float x, float y, float w, float h, float start, float sweep);
    int AddPieI(int x, int y, int w, int h, float start, float sweep);
    int AddPolygon(const CountedArray<PointF>& points);
    int AddPolygonI(const CountedArray<Point>& points);
    int AddPath(const PathObject& other, int connect);

    // W twins take UTF-16 bytes ending in a zero unit. Format nullptr: NULL.
    int AddString(const AnsiText& text, const FontFamilyObject& family, int style, float emSize,
                  const RectF& layout, const StringFormatObject* format = nullptr);
    int AddStringW(const ByteString& wide, const FontFamilyObject& family, int style, float emSize,
                   const RectF& layout, const StringFormatObject* format = nullptr);
    int AddStringI(const AnsiText& text, const FontFamilyObject& family, int style, float emSize,
                   const Rect& layout, const StringFormatObject* format = nullptr);
    int AddStringIW(const ByteString& wide, const FontFamilyObject& family, int style, float emSize,
                    const Rect& layout, const StringFormatObject* format = nullptr);

    int Transform(MatrixHandle matrix);
    RectF GetWorldBounds(MatrixHandle matrix = nullptr, const PenObject* pen = nullptr);
    Rect GetWorldBoundsI(MatrixHandle matrix = nullptr, const PenObject* pen = nullptr);
    // Flatness default 0.25 in Flatten, Widen, Outline and Warp.
    int Flatten(MatrixHandle matrix = nullptr, Opt<float> flatness = {});
    int Widen(const PenObject& pen, MatrixHandle matrix = nullptr, Opt<float> flatness = {});
    int Outline(MatrixHandle matrix = nullptr, Opt<float> flatness = {});
    // Warp mode default 0 (WarpModePerspective).
    int Warp(const CountedArray<PointF>& destPoints, const RectF& src, MatrixHandle matrix = nullptr,
             Opt<int> warpMode = {}, Opt<float> flatness = {});
    int GetPointCount();

    int IsVisiblePoint(float x, float y, const GraphicsObject* graphics = nullptr);
    int IsVisiblePointI(int x, int y, const GraphicsObject* graphics = nullptr);
    int IsOutlineVisiblePoint(float x, float y, const PenObject& pen,
                              const GraphicsObject* graphics = nullptr);
    int IsOutlineVisiblePointI(int x, int y, const PenObject& pen,
                               const GraphicsObject* graphics = nullptr);

private:
    Gdiplus::GpPath* handle_ = nullptr;
};

// Declaration order is the method-table order. Names follow the GDI+
// function without "Gdip" and "Region". Combine mode default 1 (Intersect).
class RegionObject : public NativeObject {
public:
    RegionObject() = default;
    ~RegionObject() override { Destroy(); }
    void Destroy();                                  // Delete
    std::unique_ptr<RegionObject> Copy() const;      // GdipCloneRegion
    void OnSetNative(void* h) override;
    Gdiplus::GpRegion* GetHandle() const { return handle_; }

    int Delete();
    int Create();
    int CreateRect(const RectF& rect);
    int CreateRectI(const Rect& rect);
    int CreatePath(const PathObject& path);
    int CreateHrgn(HRGN region);
    // size none: the whole byte string; never more than it holds.
    int CreateRgnData(const ByteString& data, Opt<int> size = {});
    int Clone(RegionObject& target) const;
    int SetInfinite();
    int SetEmpty();

    int CombineRect(const RectF& rect, Opt<int> combineMode = {});
    int CombineRectI(const Rect& rect, Opt<int> combineMode = {});
    int CombineRegion(const RegionObject& other, Opt<int> combineMode = {});
    int CombinePath(const PathObject& path, Opt<int> combineMode = {});
    int Translate(float dx, float dy);
    int TranslateI(int dx, int dy);
    int Transform(MatrixHandle matrix);

    RectF GetBounds(const GraphicsObject& graphics);
    Rect GetBoundsI(const GraphicsObject& graphics);
    unsigned GetDataSize();
    // Writes at most min(size, buffer length) bytes; `written` receives the count.
    int GetData(ByteString& buffer, unsigned size, unsigned& written);
    HRGN GetHRgn(const GraphicsObject* graphics = nullptr);   // owned by the caller

    int IsEmpty(const GraphicsObject& graphics);
    int IsInfinite(const GraphicsObject& graphics);
    int IsEqual(const RegionObject& other, const GraphicsObject& graphics);
    int IsVisiblePoint(const PointF& point, const GraphicsObject* graphics = nullptr);
    int IsVisiblePointI(const Point& point, const GraphicsObject* graphics = nullptr);
    int IsVisibleRect(const RectF& rect, const GraphicsObject* graphics = nullptr);
    int IsVisibleRectI(const Rect& rect, const GraphicsObject* graphics = nullptr);

    unsigned GetScansCount(MatrixHandle matrix);
    int GetScans(MatrixHandle matrix, CountedArray<RectF>& rects);   // returns the count
    int GetScansI(MatrixHandle matrix, CountedArray<Rect>& rects);

private:
    Gdiplus::GpRegion* handle_ = nullptr;
};

}  // namespace drw
