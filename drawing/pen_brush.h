// PenObject (strokes) and the brushes: the shared BrushObject level and
// SolidBrushObject, LinearBrushObject, PathBrushObject.
#pragma once

#include "drawing/native_object.h"

namespace drw {

// Declaration order is the method-table order. Names follow the GDI+
// function without "Gdip" and "Pen".
class PenObject : public NativeObject {
public:
    PenObject() = default;
    ~PenObject() override { Destroy(); }
    void Destroy();                                  // Delete
    std::unique_ptr<PenObject> Copy() const;         // GdipClonePen
    void OnSetNative(void* h) override;
    Gdiplus::GpPen* GetHandle() const { return handle_; }

    int Delete();
    // Unit none: 0 (UnitWorld).
    int Create(ARGB colour, float width, Opt<int> unit = {});

    // The pen does not own the brush.
    int CreateFromBrush(const BrushObject& brush, float width, Opt<int> unit = {});
    int Clone(PenObject& target) const;
    float GetWidth();
    int SetWidth(float width);
    int GetUnit();
    int SetUnit(double unit);                        // truncated to an integer
    int SetLineCap(int startCap, int endCap, int dashCap);
    int SetLineCap2(int startCap, int endCap, int dashCap);   // behaves as SetLineCap

    int SetStartCap(int cap);
    int SetEndCap(int cap);
    int SetDashCap(int cap);
    int GetStartCap();
    int GetEndCap();
    int GetDashCap();
    int GetDashCap2();                               // behaves as GetDashCap
    int SetLineJoin(int join);
    int GetLineJoin();

    int SetCustomStartCap(CustomLineCapHandle cap);
    CustomLineCapHandle GetCustomStartCap();        // a new cap, owned by the caller
    int SetCustomEndCap(CustomLineCapHandle cap);
    CustomLineCapHandle GetCustomEndCap();
    int SetMiterLimit(float limit);
    float GetMiterLimit();
    int SetMode(int alignment);
    int GetMode();

    int SetTransform(MatrixHandle matrix);
    int GetTransform(MatrixHandle matrix);           // copied into an existing matrix
    int ResetTransform();
    int MultiplyTransform(MatrixHandle matrix, int order);
    int RotateTransform(float angle, int order);
    int RotateAt(float angle, const PointF& centre, int order);
    int ScaleTransform(float sx, float sy, int order);
    int ScaleAt(float sx, float sy, const PointF& centre, int order);
    int TranslateTransform(float dx, float dy, int order);

    ARGB GetColor();
    int SetColor(ARGB colour);
    int SetBrushFill(const BrushObject& brush);
    int GetBrushFill(BrushObject& target);           // a new brush for the target
    int GetFillType();
    int SetDashStyle(int style);
    int GetDashStyle();
    float GetDashOffset();
    int SetDashOffset(float offset);
    int GetDashArray(CountedArray<float>& dashes);   // sized by the dash count
    int SetDashArray(const CountedArray<float>& dashes);
    int SetCompoundArray(const CountedArray<float>& stripes);
    int GetCompoundArray(CountedArray<float>& stripes);

private:
    Gdiplus::GpPen* handle_ = nullptr;
};

// The level the three brush classes share: delete, clone, type. Its Handle
// is the brush as GdipDeleteBrush sees it; each class adds its SubHandle.
class BrushObject : public NativeObject {
public:
    void OnSetNative(void* h) override;
    virtual void OnSetDerivedNative(void* h) {}
    Gdiplus::GpBrush* GetHandle() const { return handle_; }

    int Delete();
    // GdipCloneBrush into target (which must hold nothing).
    int Clone(BrushObject& target) const;
    int GetType();

protected:
    BrushObject() = default;

private:
    Gdiplus::GpBrush* handle_ = nullptr;
};

class SolidBrushObject : public BrushObject {
public:
    SolidBrushObject() = default;
    ~SolidBrushObject() override { Destroy(); }
    void Destroy();                                  // Delete of BrushObject
    std::unique_ptr<SolidBrushObject> Copy() const;  // GdipCloneBrush
    void OnSetDerivedNative(void* h) override;
    Gdiplus::GpSolidFill* GetSubHandle() const { return subHandle_; }

    int Create(ARGB colour);
    int SetColor(ARGB colour);
    ARGB GetColor();

private:
    Gdiplus::GpSolidFill* subHandle_ = nullptr;
};

// Names follow the GDI+ function without "Gdip" and "Line". The brush always
// starts with WrapModeTile.
class LinearBrushObject : public BrushObject {
public:
    LinearBrushObject() = default;
    ~LinearBrushObject() override { Destroy(); }
    void Destroy();
    std::unique_ptr<LinearBrushObject> Copy() const;
    void OnSetDerivedNative(void* h) override;
    Gdiplus::GpLineGradient* GetSubHandle() const { return subHandle_; }

    int Create(const PointF& start, const PointF& end, ARGB startColour, ARGB endColour);
    int CreateI(const Point& start, const Point& end, ARGB startColour, ARGB endColour);
    int CreateFromRect(const RectF& rect, ARGB startColour, ARGB endColour, int gradientMode);
    int CreateFromRectI(const Rect& rect, ARGB startColour, ARGB endColour, int gradientMode);
    int CreateFromRectWithAngle(const RectF& rect, ARGB startColour, ARGB endColour, float angle,
                                int angleIsScalable);
    int CreateFromRectWithAngleI(const Rect& rect, ARGB startColour, ARGB endColour, float angle,
                                 int angleIsScalable);

    int GetColors(CountedArray<ARGB>& colours);      // resized to two
    int SetColors(ARGB startColour, ARGB endColour);
    RectF GetRect();
    Rect GetRectI();
    int SetGammaCorrection(int useGamma);
    int GetGammaCorrection();

    // Counts come from the first array; the second must hold as many elements.
    int SetBlend(const CountedArray<float>& factors, const CountedArray<float>& positions);
    int GetBlendCount();
    int GetBlend(CountedArray<float>& factors, CountedArray<float>& positions);
    int SetPresetBlend(const CountedArray<ARGB>& colours, const CountedArray<float>& positions);
    int GetPresetBlendCount();
    int GetPresetBlend(CountedArray<ARGB>& colours, CountedArray<float>& positions);
    int SetSigmaBlend(float focus, float scale);
    int SetLinearBlend(float focus, float scale);

    int GetWrapMode();
    int SetWrapMode(int wrapMode);
    int GetTransform(MatrixHandle matrix);           // copied into an existing matrix
    int SetTransform(MatrixHandle matrix);
    int ResetTransform();
    int MultiplyTransform(MatrixHandle matrix, int order);
    int TranslateTransform(float dx, float dy, int order);
    int ScaleTransform(float sx, float sy, int order);
    int ScaleAt(float sx, float sy, const PointF& centre, int order);
    int RotateTransform(float angle, int order);
    int RotateAt(float angle, const PointF& centre, int order);

private:
    Gdiplus::GpLineGradient* subHandle_ = nullptr;
};

// Names follow the GDI+ function without "Gdip" and "PathGradient".
class PathBrushObject : public BrushObject {
public:
    PathBrushObject() = default;
    ~PathBrushObject() override { Destroy(); }
    void Destroy();
    std::unique_ptr<PathBrushObject> Copy() const;
    void OnSetDerivedNative(void* h) override;
    Gdiplus::GpPathGradient* GetSubHandle() const { return subHandle_; }

    // Wrap mode default 4 (WrapModeClamp).
    int Create(const CountedArray<PointF>& points, Opt<int> wrapMode = {});
    int CreateI(const CountedArray<Point>& points, Opt<int> wrapMode = {});
    int CreateFromPath(const PathObject& path);

    ARGB GetCenterColor();
    int SetCenterColor(ARGB colour);
    int GetPointCount();
    int GetSurroundColorCount();
    // count: in, the colours wanted (the array is sized to it); out, the number read.
    int GetSurroundColors(CountedArray<ARGB>& colours, int& count);
    // count not given: the array's element count. GDI+ reads that many colours
    // (never more than the array holds) and writes back how many it applied.
    int SetSurroundColors(const CountedArray<ARGB>& colours);
    int SetSurroundColors(const CountedArray<ARGB>& colours, int& count);
    int GetPath(PathObject& path);                   // copied into an existing path
    int SetPath(const PathObject& path);

    PointF GetCenterPoint();
    Point GetCenterPointI();
    int SetCenterPoint(const PointF& point);
    int SetCenterPointI(const Point& point);
    int GetRect(RectF& rect);
    int GetRectI(Rect& rect);
    int SetGammaCorrection(int useGamma);
    int GetGammaCorrection();

    int GetBlendCount();
    int SetBlend(const CountedArray<float>& factors, const CountedArray<float>& positions);
    int GetBlend(CountedArray<float>& factors, CountedArray<float>& positions);
    int GetPresetBlendCount();
    int SetPresetBlend(const CountedArray<ARGB>& colours, const CountedArray<float>& positions);
    int GetPresetBlend(CountedArray<ARGB>& colours, CountedArray<float>& positions);
    int SetSigmaBlend(float focus, float scale);
    int SetLinearBlend(float focus, float scale);

    int GetFocusScales(float& xScale, float& yScale);
    int SetFocusScales(float xScale, float yScale);
    int GetWrapMode();
    int SetWrapMode(int wrapMode);
    int GetTransform(MatrixHandle matrix);
    int SetTransform(MatrixHandle matrix);
    int ResetTransform();
    int MultiplyTransform(MatrixHandle matrix, int order);
    int TranslateTransform(float dx, float dy, int order);
    int ScaleTransform(float sx, float sy, int order);
    int ScaleAt(float sx, float sy, const PointF& centre, int order);
    int RotateTransform(float angle, int order);
    int RotateAt(float angle, const PointF& centre, int order);

private:
    Gdiplus::GpPathGradient* subHandle_ = nullptr;
};

}  // namespace drw
