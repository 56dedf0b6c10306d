#include "drawing/graphics.h"

#include "drawing/drawing.h"
#include "drawing/gdiplus_calls.h"

namespace drw {

using namespace calls;

void GraphicsObject::Destroy() { Delete(); }
std::unique_ptr<GraphicsObject> GraphicsObject::Copy() const {
    return std::make_unique<GraphicsObject>();
}
void GraphicsObject::OnSetNative(void* h) {
    handle_ = static_cast<Gdiplus::GpGraphics*>(h);
    OnSetDerivedNative(handle_);
}

int GraphicsObject::Delete() { return Kill(*this, handle_, gp::GdipDeleteGraphics); }
int GraphicsObject::Flush(int intention) {
    return gp::GdipFlush(handle_, static_cast<Gdiplus::FlushIntention>(intention));
}
int GraphicsObject::FromHwnd(HWND window, Opt<int> icm) {
    return icm.value ? Make(*this, handle_, gp::GdipCreateFromHWNDICM, window)
                     : Make(*this, handle_, gp::GdipCreateFromHWND, window);
}
int GraphicsObject::FromHdc(HDC hdc, Opt<HANDLE> device) {
    return device.given ? Make(*this, handle_, gp::GdipCreateFromHDC2, hdc, device.value)
                        : Make(*this, handle_, gp::GdipCreateFromHDC, hdc);
}
int GraphicsObject::FromImage(const ImageObject& image) {
    return Make(*this, handle_, gp::GdipGetImageGraphicsContext, N(image));
}
HDC GraphicsObject::GetDC() { return Get<HDC>(gp::GdipGetDC, handle_); }
int GraphicsObject::ReleaseDC(HDC hdc) { return Act(gp::GdipReleaseDC, handle_, hdc); }

int GraphicsObject::GetRenderingOrigin(int& x, int& y) {
    return Act(gp::GdipGetRenderingOrigin, handle_, &x, &y);
}
int GraphicsObject::SetRenderingOrigin(int x, int y) { return Act(gp::GdipSetRenderingOrigin, handle_, x, y); }
int GraphicsObject::GetCompositingMode() { return Get<Gdiplus::CompositingMode, int>(gp::GdipGetCompositingMode, handle_); }
int GraphicsObject::SetCompositingMode(int mode) { return Act(gp::GdipSetCompositingMode, handle_, mode); }
int GraphicsObject::GetCompositingQuality() { return Get<Gdiplus::CompositingQuality, int>(gp::GdipGetCompositingQuality, handle_); }
int GraphicsObject::SetCompositingQuality(int quality) { return Act(gp::GdipSetCompositingQuality, handle_, quality); }
int GraphicsObject::SetTextRenderingHint(int hint) { return Act(gp::GdipSetTextRenderingHint, handle_, hint); }
int GraphicsObject::GetTextRenderingHint() { return Get<Gdiplus::TextRenderingHint, int>(gp::GdipGetTextRenderingHint, handle_); }
int GraphicsObject::SetTextContrast(unsigned contrast) { return Act(gp::GdipSetTextContrast, handle_, contrast); }
unsigned GraphicsObject::GetTextContrast() { return Get<UINT, unsigned>(gp::GdipGetTextContrast, handle_); }
int GraphicsObject::SetInterpolationMode(int mode) { return Act(gp::GdipSetInterpolationMode, handle_, mode); }
int GraphicsObject::GetInterpolationMode() { return Get<Gdiplus::InterpolationMode, int>(gp::GdipGetInterpolationMode, handle_); }
int GraphicsObject::SetSmoothingMode(int mode) { return Act(gp::GdipSetSmoothingMode, handle_, mode); }
int GraphicsObject::GetSmoothingMode() { return Get<Gdiplus::SmoothingMode, int>(gp::GdipGetSmoothingMode, handle_); }
int GraphicsObject::SetPixelOffsetMode(int mode) { return Act(gp::GdipSetPixelOffsetMode, handle_, mode); }
int GraphicsObject::GetPixelOffsetMode() { return Get<Gdiplus::PixelOffsetMode, int>(gp::GdipGetPixelOffsetMode, handle_); }

int GraphicsObject::SetWorldTransform(MatrixHandle m) { return Act(gp::GdipSetWorldTransform, handle_, m); }
int GraphicsObject::GetWorldTransform(MatrixHandle m) { return Act(gp::GdipGetWorldTransform, handle_, m); }
int GraphicsObject::ResetWorldTransform() { return Act(gp::GdipResetWorldTransform, handle_); }
int GraphicsObject::MultiplyWorldTransform(MatrixHandle m, int order) {
    return Act(gp::GdipMultiplyWorldTransform, handle_, m, order);
}
int GraphicsObject::TranslateWorldTransform(float dx, float dy, int order) {
    return Act(gp::GdipTranslateWorldTransform, handle_, dx, dy, order);
}
int GraphicsObject::ScaleWorldTransform(float sx, float sy, int order) {
    return Act(gp::GdipScaleWorldTransform, handle_, sx, sy, order);
}
int GraphicsObject::ScaleAt(float sx, float sy, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateWorldTransform(dx, dy, order); },
                       [&] { return ScaleWorldTransform(sx, sy, order); });
}
int GraphicsObject::RotateWorldTransform(float angle, int order) {
    return Act(gp::GdipRotateWorldTransform, handle_, angle, order);
}
int GraphicsObject::RotateAt(float angle, const PointF& c, int order) {
    return AboutCentre(c, order, [&](float dx, float dy) { return TranslateWorldTransform(dx, dy, order); },
                       [&] { return RotateWorldTransform(angle, order); });
}

int GraphicsObject::SetPageUnit(int unit) { return Act(gp::GdipSetPageUnit, handle_, unit); }
int GraphicsObject::GetPageUnit() { return Get<Gdiplus::Unit, int>(gp::GdipGetPageUnit, handle_); }
int GraphicsObject::SetPageScale(float scale) { return Act(gp::GdipSetPageScale, handle_, scale); }
float GraphicsObject::GetPageScale() { return Get<float>(gp::GdipGetPageScale, handle_); }
float GraphicsObject::GetDpiX() { return Get<float>(gp::GdipGetDpiX, handle_); }
float GraphicsObject::GetDpiY() { return Get<float>(gp::GdipGetDpiY, handle_); }
int GraphicsObject::TransformPoints(int dest, int src, CountedArray<PointF>& pts) {
    return Act(gp::GdipTransformPoints, handle_, dest, src, GpFirst(pts), pts.Count());
}
int GraphicsObject::TransformPointsI(int dest, int src, CountedArray<Point>& pts) {
    return Act(gp::GdipTransformPointsI, handle_, dest, src, GpFirst(pts), pts.Count());
}
ARGB GraphicsObject::GetNearestColor(ARGB& colour) {
    Act(gp::GdipGetNearestColor, handle_, &colour);
    return colour;
}

// ---- lines and outlines
int GraphicsObject::DrawLine(const PenObject& pen, float x1, float y1, float x2, float y2) {
    return Act(gp::GdipDrawLine, handle_, N(pen), x1, y1, x2, y2);
}
int GraphicsObject::DrawLineI(const PenObject& pen, int x1, int y1, int x2, int y2) {
    return Act(gp::GdipDrawLineI, handle_, N(pen), x1, y1, x2, y2);
}
int GraphicsObject::DrawLines(const PenObject& pen, const CountedArray<PointF>& p) {
    return Act(gp::GdipDrawLines, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawLinesI(const PenObject& pen, const CountedArray<Point>& p) {
    return Act(gp::GdipDrawLinesI, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawArc(const PenObject& pen, float x, float y, float w, float h, float a, float s) {
    return Act(gp::GdipDrawArc, handle_, N(pen), x, y, w, h, a, s);
}
int GraphicsObject::DrawArcI(const PenObject& pen, int x, int y, int w, int h, float a, float s) {
    return Act(gp::GdipDrawArcI, handle_, N(pen), x, y, w, h, a, s);
}
int GraphicsObject::DrawBezier(const PenObject& pen, float x1, float y1, float x2, float y2,
                               float x3, float y3, float x4, float y4) {
    return Act(gp::GdipDrawBezier, handle_, N(pen), x1, y1, x2, y2, x3, y3, x4, y4);
}
int GraphicsObject::DrawBezierI(const PenObject& pen, int x1, int y1, int x2, int y2,
                                int x3, int y3, int x4, int y4) {
    return Act(gp::GdipDrawBezierI, handle_, N(pen), x1, y1, x2, y2, x3, y3, x4, y4);
}
int GraphicsObject::DrawBeziers(const PenObject& pen, const CountedArray<PointF>& p) {
    return Act(gp::GdipDrawBeziers, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawBeziersI(const PenObject& pen, const CountedArray<Point>& p) {
    return Act(gp::GdipDrawBeziersI, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawRectangle(const PenObject& pen, float x, float y, float w, float h) {
    return Act(gp::GdipDrawRectangle, handle_, N(pen), x, y, w, h);
}
int GraphicsObject::DrawRectangleI(const PenObject& pen, int x, int y, int w, int h) {
    return Act(gp::GdipDrawRectangleI, handle_, N(pen), x, y, w, h);
}
int GraphicsObject::DrawRectangles(const PenObject& pen, const CountedArray<RectF>& r) {
    return Act(gp::GdipDrawRectangles, handle_, N(pen), GpFirst(r), r.Count());
}
int GraphicsObject::DrawRectanglesI(const PenObject& pen, const CountedArray<Rect>& r) {
    return Act(gp::GdipDrawRectanglesI, handle_, N(pen), GpFirst(r), r.Count());
}
int GraphicsObject::DrawEllipse(const PenObject& pen, float x, float y, float w, float h) {
    return Act(gp::GdipDrawEllipse, handle_, N(pen), x, y, w, h);
}
int GraphicsObject::DrawEllipseI(const PenObject& pen, int x, int y, int w, int h) {
    return Act(gp::GdipDrawEllipseI, handle_, N(pen), x, y, w, h);
}
int GraphicsObject::DrawPie(const PenObject& pen, float x, float y, float w, float h, float a, float s) {
    return Act(gp::GdipDrawPie, handle_, N(pen), x, y, w, h, a, s);
}
int GraphicsObject::DrawPieI(const PenObject& pen, int x, int y, int w, int h, float a, float s) {
    return Act(gp::GdipDrawPieI, handle_, N(pen), x, y, w, h, a, s);
}
int GraphicsObject::DrawPolygon(const PenObject& pen, const CountedArray<PointF>& p) {
    return Act(gp::GdipDrawPolygon, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawPolygonI(const PenObject& pen, const CountedArray<Point>& p) {
    return Act(gp::GdipDrawPolygonI, handle_, N(pen), GpFirst(p), p.Count());
}

int GraphicsObject::DrawPath(const PenObject& pen, const PathObject& path) {
    return Act(gp::GdipDrawPath, handle_, N(pen), N(path));
}
int GraphicsObject::DrawCurve(const PenObject& pen, const CountedArray<PointF>& p) {
    return Act(gp::GdipDrawCurve, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawCurveI(const PenObject& pen, const CountedArray<Point>& p) {
    return Act(gp::GdipDrawCurveI, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawCurve2(const PenObject& pen, const CountedArray<PointF>& p, float t) {
    return Act(gp::GdipDrawCurve2, handle_, N(pen), GpFirst(p), p.Count(), t);
}
int GraphicsObject::DrawCurve2I(const PenObject& pen, const CountedArray<Point>& p, float t) {
    return Act(gp::GdipDrawCurve2I, handle_, N(pen), GpFirst(p), p.Count(), t);
}
int GraphicsObject::DrawCurve3(const PenObject& pen, const CountedArray<PointF>& p, int offset,
                               int segments, float t) {
    return Act(gp::GdipDrawCurve3, handle_, N(pen), GpFirst(p), p.Count(), offset, segments, t);
}
int GraphicsObject::DrawCurve3I(const PenObject& pen, const CountedArray<Point>& p, int offset,
                                int segments, float t) {
    return Act(gp::GdipDrawCurve3I, handle_, N(pen), GpFirst(p), p.Count(), offset, segments, t);
}
int GraphicsObject::DrawClosedCurve(const PenObject& pen, const CountedArray<PointF>& p) {
    return Act(gp::GdipDrawClosedCurve, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawClosedCurveI(const PenObject& pen, const CountedArray<Point>& p) {
    return Act(gp::GdipDrawClosedCurveI, handle_, N(pen), GpFirst(p), p.Count());
}
int GraphicsObject::DrawClosedCurve2(const PenObject& pen, const CountedArray<PointF>& p, float t) {
    return Act(gp::GdipDrawClosedCurve2, handle_, N(pen), GpFirst(p), p.Count(), t);
}
int GraphicsObject::DrawClosedCurve2I(const PenObject& pen, const CountedArray<Point>& p, float t) {
    return Act(gp::GdipDrawClosedCurve2I, handle_, N(pen), GpFirst(p), p.Count(), t);
}

// ---- fills
int GraphicsObject::Clear(Opt<ARGB> colour) { return Act(gp::GdipGraphicsClear, handle_, colour.value); }
int GraphicsObject::FillRectangle(const BrushObject& b, float x, float y, float w, float h) {
    return Act(gp::GdipFillRectangle, handle_, N(b), x, y, w, h);
}
int GraphicsObject::FillRectangleRect(const BrushObject& b, const RectF& r) {
    return FillRectangle(b, r.x, r.y, r.width, r.height);
}
int GraphicsObject::FillRectangleI(const BrushObject& b, int x, int y, int w, int h) {
    return Act(gp::GdipFillRectangleI, handle_, N(b), x, y, w, h);
}
int GraphicsObject::FillRectangles(const BrushObject& b, const CountedArray<RectF>& r) {
    return Act(gp::GdipFillRectangles, handle_, N(b), GpFirst(r), r.Count());
}
int GraphicsObject::FillRectanglesI(const BrushObject& b, const CountedArray<Rect>& r) {
    return Act(gp::GdipFillRectanglesI, handle_, N(b), GpFirst(r), r.Count());
}
int GraphicsObject::FillPolygon(const BrushObject& b, const CountedArray<PointF>& p, int mode) {
    return Act(gp::GdipFillPolygon, handle_, N(b), GpFirst(p), p.Count(), mode);
}
int GraphicsObject::FillPolygonI(const BrushObject& b, const CountedArray<Point>& p, int mode) {
    return Act(gp::GdipFillPolygonI, handle_, N(b), GpFirst(p), p.Count(), mode);
}
int GraphicsObject::FillEllipse(const BrushObject& b, float x, float y, float w, float h) {
    return Act(gp::GdipFillEllipse, handle_, N(b), x, y, w, h);
}
int GraphicsObject::FillEllipseI(const BrushObject& b, int x, int y, int w, int h) {
    return Act(gp::GdipFillEllipseI, handle_, N(b), x, y, w, h);
}
int GraphicsObject::FillPie(const BrushObject& b, float x, float y, float w, float h, float a, float s) {
    return Act(gp::GdipFillPie, handle_, N(b), x, y, w, h, a, s);
}
int GraphicsObject::FillPieI(const BrushObject& b, int x, int y, int w, int h, float a, float s) {
    return Act(gp::GdipFillPieI, handle_, N(b), x, y, w, h, a, s);
}
int GraphicsObject::FillPath(const BrushObject& b, const PathObject& path) {
    return Act(gp::GdipFillPath, handle_, N(b), N(path));
}
int GraphicsObject::FillClosedCurve(const BrushObject& b, const CountedArray<PointF>& p) {
    return Act(gp::GdipFillClosedCurve, handle_, N(b), GpFirst(p), p.Count());
}
int GraphicsObject::FillClosedCurve2(const BrushObject& b, const CountedArray<PointF>& p, float t, int mode) {
    return Act(gp::GdipFillClosedCurve2, handle_, N(b), GpFirst(p), p.Count(), t, mode);
}
int GraphicsObject::FillClosedCurveI(const BrushObject& b, const CountedArray<Point>& p) {
    return Act(gp::GdipFillClosedCurveI, handle_, N(b), GpFirst(p), p.Count());
}
int GraphicsObject::FillClosedCurve2I(const BrushObject& b, const CountedArray<Point>& p, float t, int mode) {
    return Act(gp::GdipFillClosedCurve2I, handle_, N(b), GpFirst(p), p.Count(), t, mode);
}
int GraphicsObject::FillRegion(const BrushObject& b, const RegionObject& region) {
    return Act(gp::GdipFillRegion, handle_, N(b), N(region));
}

// ---- text
int GraphicsObject::DrawString(const AnsiText& text, const FontObject& font, const BrushObject& brush,
                               const RectF& layout, const StringFormatObject* format) {
    return DrawStringW(ToWideText(text), font, brush, layout, format);
}
int GraphicsObject::DrawStringW(const ByteString& wide, const FontObject& font, const BrushObject& brush,
                                const RectF& layout, const StringFormatObject* format) {
    const ByteString w = Terminated(wide);
    return Act(gp::GdipDrawString, handle_, WidePtr(w), WideLength(w), N(font), Gp(&layout),
               N(format), N(brush));
}
int GraphicsObject::MeasureString(const AnsiText& text, const FontObject& font, const RectF& layout,
                                  const StringFormatObject* format, RectF& bounding) {
    return MeasureStringW(ToWideText(text), font, layout, format, bounding);
}
int GraphicsObject::MeasureStringW(const ByteString& wide, const FontObject& font, const RectF& layout,
                                   const StringFormatObject* format, RectF& bounding) {
    const ByteString w = Terminated(wide);
    return Act(gp::GdipMeasureString, handle_, WidePtr(w), WideLength(w), N(font), Gp(&layout),
               N(format), Gp(&bounding), nullptr, nullptr);
}
int GraphicsObject::MeasureCharacterRanges(const AnsiText& text, const FontObject& font,
                                           const RectF& layout, const StringFormatObject* format,
                                           CountedArray<RegionObject>& regions) {
    return MeasureCharacterRangesW(ToWideText(text), font, layout, format, regions);
}
int GraphicsObject::MeasureCharacterRangesW(const ByteString& wide, const FontObject& font,
                                            const RectF& layout, const StringFormatObject* format,
                                            CountedArray<RegionObject>& regions) {
    // GDI+ fills one existing region per measurable range of the format.
    const int ranges = Get<INT, int>(gp::GdipGetStringFormatMeasurableCharacterRangeCount, N(format));
    if (!Enough(regions.Count(), ranges)) return 0;
    std::vector<Gdiplus::GpRegion*> made;
    for (int i = 1; i <= ranges; ++i) {
        regions[i].Delete();
        regions[i].Create();
        made.push_back(regions[i].GetHandle());
    }
    const ByteString w = Terminated(wide);
    return Act(gp::GdipMeasureCharacterRanges, handle_, WidePtr(w), WideLength(w), N(font),
               layout, N(format), ranges, made.empty() ? nullptr : made.data());
}
int GraphicsObject::DrawDriverString(const AnsiText& text, const FontObject& font, const BrushObject& brush,
                                     const CountedArray<PointF>& positions, Opt<int> flags,
                                     MatrixHandle matrix) {
    return DrawDriverStringW(ToWideText(text), font, brush, positions, flags, matrix);
}
int GraphicsObject::DrawDriverStringW(const ByteString& wide, const FontObject& font,
                                      const BrushObject& brush, const CountedArray<PointF>& positions,
                                      Opt<int> flags, MatrixHandle matrix) {
    const ByteString w = Terminated(wide);
    const int f = flags.Or(Gdiplus::DriverStringOptionsCmapLookup);
    const int length = WideLength(w);
    // One position per character, or only the first with realized advance.
    const int needed = (f & Gdiplus::DriverStringOptionsRealizedAdvance) ? (length > 0) : length;
    if (!Enough(positions.Count(), needed)) return 0;
    return Act(gp::GdipDrawDriverString, handle_, reinterpret_cast<const UINT16*>(WidePtr(w)), length,
               N(font), N(brush), GpFirst(positions), f, matrix);
}

// ---- images
int GraphicsObject::DrawImage(const ImageObject& image, float x, float y) {
    return Act(gp::GdipDrawImage, handle_, N(image), x, y);
}
int GraphicsObject::DrawImageI(const ImageObject& image, int x, int y) {
    return Act(gp::GdipDrawImageI, handle_, N(image), x, y);
}
int GraphicsObject::DrawCachedBitmap(CachedBitmapHandle cached, float x, float y) {
    return Act(gp::GdipDrawCachedBitmap, handle_, cached, static_cast<int>(x), static_cast<int>(y));
}
int GraphicsObject::DrawImageRect(const ImageObject& image, float x, float y, float w, float h, Opt<int> unit) {
    ImageObject& source = const_cast<ImageObject&>(image);
    return DrawImageRectRect(image, x, y, w, h, 0, 0, static_cast<float>(source.GetWidth()),
                             static_cast<float>(source.GetHeight()), unit);
}
int GraphicsObject::DrawImageRectI(const ImageObject& image, int x, int y, int w, int h, Opt<int> unit) {
    ImageObject& source = const_cast<ImageObject&>(image);
    return DrawImageRectRectI(image, x, y, w, h, 0, 0, static_cast<int>(source.GetWidth()),
                              static_cast<int>(source.GetHeight()), unit);
}
int GraphicsObject::DrawImagePoints(const ImageObject& image, float x1, float y1, float x2, float y2,
                                    float x3, float y3) {
    const PointF p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return Act(gp::GdipDrawImagePoints, handle_, N(image), Gp(p), 3);
}
int GraphicsObject::DrawImagePointsI(const ImageObject& image, int x1, int y1, int x2, int y2, int x3, int y3) {
    const Point p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return Act(gp::GdipDrawImagePointsI, handle_, N(image), Gp(p), 3);
}
int GraphicsObject::DrawImagePointRect(const ImageObject& image, float x, float y, float sx, float sy,
                                       float sw, float sh, Opt<int> unit) {
    return Act(gp::GdipDrawImagePointRect, handle_, N(image), x, y, sx, sy, sw, sh,
               unit.Or(Gdiplus::UnitPixel));
}
int GraphicsObject::DrawImagePointRectI(const ImageObject& image, int x, int y, int sx, int sy,
                                        int sw, int sh, Opt<int> unit) {
    return Act(gp::GdipDrawImagePointRectI, handle_, N(image), x, y, sx, sy, sw, sh,
               unit.Or(Gdiplus::UnitPixel));
}
int GraphicsObject::DrawImageRectRect(const ImageObject& image, float x, float y, float w, float h,
                                      float sx, float sy, float sw, float sh, Opt<int> unit,
                                      ImageAttributesHandle attributes) {
    return Act(gp::GdipDrawImageRectRect, handle_, N(image), x, y, w, h, sx, sy, sw, sh,
               unit.Or(Gdiplus::UnitPixel), attributes, nullptr, nullptr);
}
int GraphicsObject::DrawImageRectRectI(const ImageObject& image, int x, int y, int w, int h,
                                       int sx, int sy, int sw, int sh, Opt<int> unit,
                                       ImageAttributesHandle attributes) {
    return Act(gp::GdipDrawImageRectRectI, handle_, N(image), x, y, w, h, sx, sy, sw, sh,
               unit.Or(Gdiplus::UnitPixel), attributes, nullptr, nullptr);
}
int GraphicsObject::DrawImagePointsRect(const ImageObject& image, float x1, float y1, float x2, float y2,
                                        float x3, float y3, float sx, float sy, float sw, float sh,
                                        Opt<int> unit, ImageAttributesHandle attributes) {
    const PointF p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return Act(gp::GdipDrawImagePointsRect, handle_, N(image), Gp(p), 3, sx, sy, sw, sh,
               unit.Or(Gdiplus::UnitPixel), attributes, nullptr, nullptr);
}
int GraphicsObject::DrawImagePointsRectI(const ImageObject& image, int x1, int y1, int x2, int y2,
                                         int x3, int y3, int sx, int sy, int sw, int sh,
                                         Opt<int> unit, ImageAttributesHandle attributes) {
    const Point p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return Act(gp::GdipDrawImagePointsRectI, handle_, N(image), Gp(p), 3, sx, sy, sw, sh,
               unit.Or(Gdiplus::UnitPixel), attributes, nullptr, nullptr);
}

// ---- metafile enumeration: everything passed on unchanged
int GraphicsObject::EnumerateMetafileDestPoint(MetafileHandle m, const PointF& d, MetafileCallback cb,
                                               void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileDestPoint, handle_, m, d, cb, data, a);
}
int GraphicsObject::EnumerateMetafileDestPointI(MetafileHandle m, const Point& d, MetafileCallback cb,
                                                void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileDestPointI, handle_, m, d, cb, data, a);
}
int GraphicsObject::EnumerateMetafileDestPoints(MetafileHandle m, const CountedArray<PointF>& d,
                                                MetafileCallback cb, void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileDestPoints, handle_, m, GpFirst(d), d.Count(), cb, data, a);
}
int GraphicsObject::EnumerateMetafileDestPointsI(MetafileHandle m, const CountedArray<Point>& d,
                                                 MetafileCallback cb, void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileDestPointsI, handle_, m, GpFirst(d), d.Count(), cb, data, a);
}
int GraphicsObject::EnumerateMetafileDestRect(MetafileHandle m, const RectF& d, MetafileCallback cb,
                                              void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileDestRect, handle_, m, d, cb, data, a);
}
int GraphicsObject::EnumerateMetafileDestRectI(MetafileHandle m, const Rect& d, MetafileCallback cb,
                                               void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileDestRectI, handle_, m, d, cb, data, a);
}
int GraphicsObject::EnumerateMetafileSrcRectDestPoint(MetafileHandle m, const PointF& d, const RectF& s,
                                                      int unit, MetafileCallback cb, void* data,
                                                      ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileSrcRectDestPoint, handle_, m, d, s, unit, cb, data, a);
}
int GraphicsObject::EnumerateMetafileSrcRectDestPointI(MetafileHandle m, const Point& d, const Rect& s,
                                                       int unit, MetafileCallback cb, void* data,
                                                       ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileSrcRectDestPointI, handle_, m, d, s, unit, cb, data, a);
}
int GraphicsObject::EnumerateMetafileSrcRectDestPoints(MetafileHandle m, const CountedArray<PointF>& d,
                                                       const RectF& s, int unit, MetafileCallback cb,
                                                       void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileSrcRectDestPoints, handle_, m, GpFirst(d), d.Count(), s, unit,
               cb, data, a);
}
int GraphicsObject::EnumerateMetafileSrcRectDestPointsI(MetafileHandle m, const CountedArray<Point>& d,
                                                        const Rect& s, int unit, MetafileCallback cb,
                                                        void* data, ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileSrcRectDestPointsI, handle_, m, GpFirst(d), d.Count(), s, unit,
               cb, data, a);
}
int GraphicsObject::EnumerateMetafileSrcRectDestRect(MetafileHandle m, const RectF& d, const RectF& s,
                                                     int unit, MetafileCallback cb, void* data,
                                                     ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileSrcRectDestRect, handle_, m, d, s, unit, cb, data, a);
}
int GraphicsObject::EnumerateMetafileSrcRectDestRectI(MetafileHandle m, const Rect& d, const Rect& s,
                                                      int unit, MetafileCallback cb, void* data,
                                                      ImageAttributesHandle a) {
    return Act(gp::GdipEnumerateMetafileSrcRectDestRectI, handle_, m, d, s, unit, cb, data, a);
}

// ---- clipping
int GraphicsObject::SetClipGraphics(const GraphicsObject& source, int mode) {
    return Act(gp::GdipSetClipGraphics, handle_, N(source), mode);
}
int GraphicsObject::SetClipPath(const PathObject& path, Opt<int> mode) {
    return Act(gp::GdipSetClipPath, handle_, N(path), mode.value);
}
int GraphicsObject::SetClipRect(float x, float y, float w, float h, Opt<int> mode) {
    return Act(gp::GdipSetClipRect, handle_, x, y, w, h, mode.value);
}
int GraphicsObject::SetClipRectI(int x, int y, int w, int h, Opt<int> mode) {
    return Act(gp::GdipSetClipRectI, handle_, x, y, w, h, mode.value);
}
int GraphicsObject::SetClipRegion(const RegionObject& region, int mode) {
    return Act(gp::GdipSetClipRegion, handle_, N(region), mode);
}
int GraphicsObject::SetClipHrgn(HRGN region, int mode) { return Act(gp::GdipSetClipHrgn, handle_, region, mode); }
int GraphicsObject::ResetClip() { return Act(gp::GdipResetClip, handle_); }
int GraphicsObject::TranslateClip(float dx, float dy) { return Act(gp::GdipTranslateClip, handle_, dx, dy); }
int GraphicsObject::TranslateClipI(int dx, int dy) { return Act(gp::GdipTranslateClipI, handle_, dx, dy); }
int GraphicsObject::GetClip(RegionObject& region) {
    // GDI+ copies the clip into an existing region.
    if (!region.GetNative() && !region.Create()) return 0;
    return Act(gp::GdipGetClip, handle_, N(region));
}
RectF GraphicsObject::GetClipBounds() { return Get<RectF>(gp::GdipGetClipBounds, handle_); }
Rect GraphicsObject::GetClipBoundsI() { return Get<Rect>(gp::GdipGetClipBoundsI, handle_); }
RectF GraphicsObject::GetVisibleClipBounds() { return Get<RectF>(gp::GdipGetVisibleClipBounds, handle_); }
Rect GraphicsObject::GetVisibleClipBoundsI() { return Get<Rect>(gp::GdipGetVisibleClipBoundsI, handle_); }
int GraphicsObject::IsClipEmpty() { return Is(gp::GdipIsClipEmpty, handle_); }
int GraphicsObject::IsVisibleClipEmpty() { return Is(gp::GdipIsVisibleClipEmpty, handle_); }
int GraphicsObject::IsVisiblePoint(float x, float y) { return Is(gp::GdipIsVisiblePoint, handle_, x, y); }
int GraphicsObject::IsVisiblePointI(int x, int y) { return Is(gp::GdipIsVisiblePointI, handle_, x, y); }
int GraphicsObject::IsVisibleRect(float x, float y, float w, float h) {
    return Is(gp::GdipIsVisibleRect, handle_, x, y, w, h);
}
int GraphicsObject::IsVisibleRectI(int x, int y, int w, int h) {
    return Is(gp::GdipIsVisibleRectI, handle_, x, y, w, h);
}

// ---- state and containers
unsigned GraphicsObject::SaveGraphics() { return Get<Gdiplus::GraphicsState, unsigned>(gp::GdipSaveGraphics, handle_); }
int GraphicsObject::RestoreGraphics(unsigned state) { return Act(gp::GdipRestoreGraphics, handle_, state); }
unsigned GraphicsObject::BeginContainer(const RectF& dest, const RectF& src, int unit) {
    return Get<Gdiplus::GraphicsContainer, unsigned>(gp::GdipBeginContainer, handle_, Gp(&dest), Gp(&src), unit);
}
unsigned GraphicsObject::BeginContainerI(const Rect& dest, const Rect& src, int unit) {
    return Get<Gdiplus::GraphicsContainer, unsigned>(gp::GdipBeginContainerI, handle_, Gp(&dest), Gp(&src), unit);
}
unsigned GraphicsObject::BeginContainer2() {
    return Get<Gdiplus::GraphicsContainer, unsigned>(gp::GdipBeginContainer2, handle_);
}
int GraphicsObject::EndContainer(unsigned container) { return Act(gp::GdipEndContainer, handle_, container); }
int GraphicsObject::Comment(const ByteString& data) {
    return Act(gp::GdipComment, handle_, static_cast<UINT>(data.size()), data.empty() ? nullptr : data.data());
}

}  // namespace drw
