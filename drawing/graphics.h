// GraphicsObject: one GDI+ Graphics, the surface a painter draws on (made on
// a memory DC with FromHdc or on a bitmap with FromImage).
#pragma once

#include "drawing/native_object.h"

namespace drw {

// Declaration order is the method-table order. Every operation forwards to
// the GDI+ function of (nearly) its name with this surface's handle first.
// Results: actions 1 on Ok else 0; getters the value read (0 on failure);
// creations 1 on Ok, the object empty on failure; operations that fill an
// object argument give it the new native object (it must hold nothing).
class GraphicsObject : public NativeObject {
public:
    GraphicsObject() = default;
    ~GraphicsObject() override { Destroy(); }
    void Destroy();                                  // Delete
    // A surface cannot be duplicated: the copy holds nothing.
    std::unique_ptr<GraphicsObject> Copy() const;
    void OnSetNative(void* h) override;
    virtual void OnSetDerivedNative(void* h) {}
    Gdiplus::GpGraphics* GetHandle() const { return handle_; }

    int Delete();
    // Returns GDI+'s Status itself and leaves LastStatus alone.
    int Flush(int intention);
    // Colour-managed (GdipCreateFromHWNDICM) when icm's value is non-zero.
    int FromHwnd(HWND window, Opt<int> icm = {});
    // Device not given: GdipCreateFromHDC; given: GdipCreateFromHDC2.
    int FromHdc(HDC hdc, Opt<HANDLE> device = {});
    int FromImage(const ImageObject& image);
    HDC GetDC();
    int ReleaseDC(HDC hdc);

    int GetRenderingOrigin(int& x, int& y);
    int SetRenderingOrigin(int x, int y);
    int GetCompositingMode();
    int SetCompositingMode(int mode);
    int GetCompositingQuality();
    int SetCompositingQuality(int quality);
    int SetTextRenderingHint(int hint);
    int GetTextRenderingHint();
    int SetTextContrast(unsigned contrast);
    unsigned GetTextContrast();
    int SetInterpolationMode(int mode);
    int GetInterpolationMode();
    int SetSmoothingMode(int mode);
    int GetSmoothingMode();
    int SetPixelOffsetMode(int mode);
    int GetPixelOffsetMode();

    int SetWorldTransform(MatrixHandle matrix);
    // Copies the world transform into an existing matrix.
    int GetWorldTransform(MatrixHandle matrix);
    int ResetWorldTransform();
    int MultiplyWorldTransform(MatrixHandle matrix, int order);
    int TranslateWorldTransform(float dx, float dy, int order);
    int ScaleWorldTransform(float sx, float sy, int order);
    // Scales / rotates about a centre that stays fixed, for either order.
    int ScaleAt(float sx, float sy, const PointF& centre, int order);
    int RotateWorldTransform(float angle, int order);
    int RotateAt(float angle, const PointF& centre, int order);

    int SetPageUnit(int unit);
    int GetPageUnit();
    int SetPageScale(float scale);
    float GetPageScale();
    float GetDpiX();
    float GetDpiY();
    int TransformPoints(int destSpace, int srcSpace, CountedArray<PointF>& points);
    int TransformPointsI(int destSpace, int srcSpace, CountedArray<Point>& points);
    // Adjusts colour in place and returns the adjusted colour.
    ARGB GetNearestColor(ARGB& colour);

    int DrawLine(const PenObject& pen, float x1, float y1, float x2, float y2);
    int DrawLineI(const PenObject& pen, int x1, int y1, int x2, int y2);
    int DrawLines(const PenObject& pen, const CountedArray<PointF>& points);
    int DrawLinesI(const PenObject& pen, const CountedArray<Point>& points);
    int DrawArc(const PenObject& pen, float x, float y, float w, float h, float start, float sweep);
    int DrawArcI(const PenObject& pen, int x, int y, int w, int h, float start, float sweep);
    int DrawBezier(const PenObject& pen, float x1, float y1, float x2, float y2,
                   float x3, float y3, float x4, float y4);
    int DrawBezierI(const PenObject& pen, int x1, int y1, int x2, int y2,
                    int x3, int y3, int x4, int y4);
    int DrawBeziers(const PenObject& pen, const CountedArray<PointF>& points);
    int DrawBeziersI(const PenObject& pen, const CountedArray<Point>& points);
    int DrawRectangle(const PenObject& pen, float x, float y, float w, float h);
    int DrawRectangleI(const PenObject& pen, int x, int y, int w, int h);
    int DrawRectangles(const PenObject& pen, const CountedArray<RectF>& rects);
    int DrawRectanglesI(const PenObject& pen, const CountedArray<Rect>& rects);
    int DrawEllipse(const PenObject& pen, float x, float y, float w, float h);
    int DrawEllipseI(const PenObject& pen, int x, int y, int w, int h);
    int DrawPie(const PenObject& pen, float x, float y, float w, float h, float start, float sweep);
    int DrawPieI(const PenObject& pen, int x, int y, int w, int h, float start, float sweep);
    int DrawPolygon(const PenObject& pen, const CountedArray<PointF>& points);
    int DrawPolygonI(const PenObject& pen, const CountedArray<Point>& points);

    int DrawPath(const PenObject& pen, const PathObject& path);
    int DrawCurve(const PenObject& pen, const CountedArray<PointF>& points);
    int DrawCurveI(const PenObject& pen, const CountedArray<Point>& points);
    int DrawCurve2(const PenObject& pen, const CountedArray<PointF>& points, float tension);
    int DrawCurve2I(const PenObject& pen, const CountedArray<Point>& points, float tension);
    int DrawCurve3(const PenObject& pen, const CountedArray<PointF>& points, int offset,
                   int segments, float tension);
    int DrawCurve3I(const PenObject& pen, const CountedArray<Point>& points, int offset,
                    int segments, float tension);
    int DrawClosedCurve(const PenObject& pen, const CountedArray<PointF>& points);
    int DrawClosedCurveI(const PenObject& pen, const CountedArray<Point>& points);
    int DrawClosedCurve2(const PenObject& pen, const CountedArray<PointF>& points, float tension);
    int DrawClosedCurve2I(const PenObject& pen, const CountedArray<Point>& points, float tension);

    // Colour none: 0 (transparent black).
    int Clear(Opt<ARGB> colour = {});
    int FillRectangle(const BrushObject& brush, float x, float y, float w, float h);
    int FillRectangleRect(const BrushObject& brush, const RectF& rect);
    int FillRectangleI(const BrushObject& brush, int x, int y, int w, int h);
    int FillRectangles(const BrushObject& brush, const CountedArray<RectF>& rects);
    int FillRectanglesI(const BrushObject& brush, const CountedArray<Rect>& rects);
    int FillPolygon(const BrushObject& brush, const CountedArray<PointF>& points, int fillMode);
    int FillPolygonI(const BrushObject& brush, const CountedArray<Point>& points, int fillMode);
    int FillEllipse(const BrushObject& brush, float x, float y, float w, float h);
    int FillEllipseI(const BrushObject& brush, int x, int y, int w, int h);
    int FillPie(const BrushObject& brush, float x, float y, float w, float h, float start, float sweep);
    int FillPieI(const BrushObject& brush, int x, int y, int w, int h, float start, float sweep);
    int FillPath(const BrushObject& brush, const PathObject& path);
    int FillClosedCurve(const BrushObject& brush, const CountedArray<PointF>& points);
    int FillClosedCurve2(const BrushObject& brush, const CountedArray<PointF>& points,
                         float tension, int fillMode);
    int FillClosedCurveI(const BrushObject& brush, const CountedArray<Point>& points);
    int FillClosedCurve2I(const BrushObject& brush, const CountedArray<Point>& points,
                          float tension, int fillMode);
    int FillRegion(const BrushObject& brush, const RegionObject& region);

    // Text operations: the ...W twins take the text as UTF-16 bytes ending in
    // a zero unit (as ToWideText makes). Layout none: zero rectangle; format
    // nullptr or empty: NULL to GDI+.
    int DrawString(const AnsiText& text, const FontObject& font, const BrushObject& brush,
                   const RectF& layout = {}, const StringFormatObject* format = nullptr);
    int DrawStringW(const ByteString& wide, const FontObject& font, const BrushObject& brush,
                    const RectF& layout = {}, const StringFormatObject* format = nullptr);
    // Writes the bounding box into `bounding`.
    int MeasureString(const AnsiText& text, const FontObject& font, const RectF& layout,
                      const StringFormatObject* format, RectF& bounding);
    int MeasureStringW(const ByteString& wide, const FontObject& font, const RectF& layout,
                       const StringFormatObject* format, RectF& bounding);
    // One region per measurable range of the format, handed to regions[1..n]
    // (the list must have at least that many empty elements).
    int MeasureCharacterRanges(const AnsiText& text, const FontObject& font, const RectF& layout,
                               const StringFormatObject* format, CountedArray<RegionObject>& regions);
    int MeasureCharacterRangesW(const ByteString& wide, const FontObject& font, const RectF& layout,
                                const StringFormatObject* format, CountedArray<RegionObject>& regions);
    // Flags default 1 (DriverStringOptionsCmapLookup); one position per character.
    int DrawDriverString(const AnsiText& text, const FontObject& font, const BrushObject& brush,
                         const CountedArray<PointF>& positions, Opt<int> flags = {},
                         MatrixHandle matrix = nullptr);
    int DrawDriverStringW(const ByteString& wide, const FontObject& font, const BrushObject& brush,
                          const CountedArray<PointF>& positions, Opt<int> flags = {},
                          MatrixHandle matrix = nullptr);

    int DrawImage(const ImageObject& image, float x, float y);
    int DrawImageI(const ImageObject& image, int x, int y);
    // x and y are truncated to integers.
    int DrawCachedBitmap(CachedBitmapHandle cached, float x, float y);
    // The whole image stretched into the rectangle; unit default 2 (UnitPixel).
    int DrawImageRect(const ImageObject& image, float x, float y, float w, float h,
                      Opt<int> srcUnit = {});
    int DrawImageRectI(const ImageObject& image, int x, int y, int w, int h, Opt<int> srcUnit = {});
    // Destination parallelogram given by three points (upper-left, upper-right, lower-left).
    int DrawImagePoints(const ImageObject& image, float x1, float y1, float x2, float y2,
                        float x3, float y3);
    int DrawImagePointsI(const ImageObject& image, int x1, int y1, int x2, int y2, int x3, int y3);
    int DrawImagePointRect(const ImageObject& image, float x, float y, float srcX, float srcY,
                           float srcW, float srcH, Opt<int> srcUnit = {});
    int DrawImagePointRectI(const ImageObject& image, int x, int y, int srcX, int srcY,
                            int srcW, int srcH, Opt<int> srcUnit = {});
    int DrawImageRectRect(const ImageObject& image, float x, float y, float w, float h,
                          float srcX, float srcY, float srcW, float srcH, Opt<int> srcUnit = {},
                          ImageAttributesHandle attributes = nullptr);
    int DrawImageRectRectI(const ImageObject& image, int x, int y, int w, int h,
                           int srcX, int srcY, int srcW, int srcH, Opt<int> srcUnit = {},
                           ImageAttributesHandle attributes = nullptr);
    int DrawImagePointsRect(const ImageObject& image, float x1, float y1, float x2, float y2,
                            float x3, float y3, float srcX, float srcY, float srcW, float srcH,
                            Opt<int> srcUnit = {}, ImageAttributesHandle attributes = nullptr);
    int DrawImagePointsRectI(const ImageObject& image, int x1, int y1, int x2, int y2,
                             int x3, int y3, int srcX, int srcY, int srcW, int srcH,
                             Opt<int> srcUnit = {}, ImageAttributesHandle attributes = nullptr);

    using MetafileCallback = Gdiplus::EnumerateMetafileProc;
    int EnumerateMetafileDestPoint(MetafileHandle metafile, const PointF& dest,
                                   MetafileCallback callback, void* data,
                                   ImageAttributesHandle attributes);
    int EnumerateMetafileDestPointI(MetafileHandle metafile, const Point& dest,
                                    MetafileCallback callback, void* data,
                                    ImageAttributesHandle attributes);
    int EnumerateMetafileDestPoints(MetafileHandle metafile, const CountedArray<PointF>& dest,
                                    MetafileCallback callback, void* data,
                                    ImageAttributesHandle attributes);
    int EnumerateMetafileDestPointsI(MetafileHandle metafile, const CountedArray<Point>& dest,
                                     MetafileCallback callback, void* data,
                                     ImageAttributesHandle attributes);
    int EnumerateMetafileDestRect(MetafileHandle metafile, const RectF& dest,
                                  MetafileCallback callback, void* data,
                                  ImageAttributesHandle attributes);
    int EnumerateMetafileDestRectI(MetafileHandle metafile, const Rect& dest,
                                   MetafileCallback callback, void* data,
                                   ImageAttributesHandle attributes);
    int EnumerateMetafileSrcRectDestPoint(MetafileHandle metafile, const PointF& dest,
                                          const RectF& src, int srcUnit, MetafileCallback callback,
                                          void* data, ImageAttributesHandle attributes);
    int EnumerateMetafileSrcRectDestPointI(MetafileHandle metafile, const Point& dest,
                                           const Rect& src, int srcUnit, MetafileCallback callback,
                                           void* data, ImageAttributesHandle attributes);
    int EnumerateMetafileSrcRectDestPoints(MetafileHandle metafile, const CountedArray<PointF>& dest,
                                           const RectF& src, int srcUnit, MetafileCallback callback,
                                           void* data, ImageAttributesHandle attributes);
    int EnumerateMetafileSrcRectDestPointsI(MetafileHandle metafile, const CountedArray<Point>& dest,
                                            const Rect& src, int srcUnit, MetafileCallback callback,
                                            void* data, ImageAttributesHandle attributes);
    int EnumerateMetafileSrcRectDestRect(MetafileHandle metafile, const RectF& dest,
                                         const RectF& src, int srcUnit, MetafileCallback callback,
                                         void* data, ImageAttributesHandle attributes);
    int EnumerateMetafileSrcRectDestRectI(MetafileHandle metafile, const Rect& dest,
                                          const Rect& src, int srcUnit, MetafileCallback callback,
                                          void* data, ImageAttributesHandle attributes);

    // Combine modes: none: 0 = CombineModeReplace where optional.
    int SetClipGraphics(const GraphicsObject& source, int combineMode);
    int SetClipPath(const PathObject& path, Opt<int> combineMode = {});
    int SetClipRect(float x, float y, float w, float h, Opt<int> combineMode = {});
    int SetClipRectI(int x, int y, int w, int h, Opt<int> combineMode = {});
    int SetClipRegion(const RegionObject& region, int combineMode);
    int SetClipHrgn(HRGN region, int combineMode);
    int ResetClip();
    int TranslateClip(float dx, float dy);
    int TranslateClipI(int dx, int dy);
    // The clip copied into `region`; an empty region object gets a new region first.
    int GetClip(RegionObject& region);
    RectF GetClipBounds();
    Rect GetClipBoundsI();
    RectF GetVisibleClipBounds();
    Rect GetVisibleClipBoundsI();
    int IsClipEmpty();
    int IsVisibleClipEmpty();
    int IsVisiblePoint(float x, float y);
    int IsVisiblePointI(int x, int y);
    int IsVisibleRect(float x, float y, float w, float h);
    int IsVisibleRectI(int x, int y, int w, int h);

    unsigned SaveGraphics();                         // returns the state
    int RestoreGraphics(unsigned state);
    unsigned BeginContainer(const RectF& dest, const RectF& src, int unit);
    unsigned BeginContainerI(const Rect& dest, const Rect& src, int unit);
    unsigned BeginContainer2();
    int EndContainer(unsigned container);
    int Comment(const ByteString& data);

private:
    Gdiplus::GpGraphics* handle_ = nullptr;
};

}  // namespace drw
