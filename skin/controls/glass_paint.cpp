#include "skin/controls/glass_paint.h"

#include "drawing/graphics.h"
#include "drawing/image.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "skin/helpers.h"

namespace skin {

void FillPathSolid(drw::GraphicsObject& g, const drw::PathObject& path, uint32_t argb) {
    drw::SolidBrushObject brush;
    brush.Create(argb);
    g.FillPath(brush, path);
}

void FillPathGradient(drw::GraphicsObject& g, const drw::PathObject& path, float x1, float y1,
                      float x2, float y2, uint32_t from, uint32_t to) {
    drw::LinearBrushObject brush;
    brush.Create({x1, y1}, {x2, y2}, from, to);
    g.FillPath(brush, path);
}

void OutlinePath(drw::GraphicsObject& g, const drw::PathObject& path, uint32_t argb,
                 float width) {
    drw::PenObject pen;
    pen.Create(argb, width);
    g.DrawPath(pen, path);
}

void PaintFramedTrough(drw::GraphicsObject& g, int w, int h, bool vertical, uint32_t outline,
                       int troughRadius) {
    auto f = [](double v) { return static_cast<float>(v); };
    drw::PathObject frame;
    frame.Create();
    AddRoundedRectPath(frame, 0, 0, f(w - 1), f(h - 1), 5);
    OutlinePath(g, frame, outline);
    drw::PathObject trough;
    trough.Create();
    AddRoundedRectPath(trough, 1, 1, f(w - 2), f(h - 2), troughRadius);
    FillPathGradient(g, trough, 0, 0, vertical ? f(w - 1) : 0, vertical ? 0 : f(h - 1),
                     0xA0FFFFFF, 0x1E000000);
}

void DrawPicture(drw::GraphicsObject& g, const rt::ByteString& bytes, float x, float y, float w,
                 float h) {
    if (bytes.empty()) return;
    drw::ImageObject image;
    if (!image.LoadFromBytes(bytes)) return;
    // Drawn by pixels: GDI+'s own-size drawing would scale by the picture's
    // resolution.
    if (w < 0 || h < 0) {
        w = static_cast<float>(image.GetWidth());
        h = static_cast<float>(image.GetHeight());
    }
    g.DrawImageRect(image, x, y, w, h);
}

drw::Point PictureSize(const rt::ByteString& bytes) {
    if (bytes.empty()) return {0, 0};
    drw::ImageObject image;
    if (!image.LoadFromBytes(bytes)) return {0, 0};
    return {static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight())};
}

}  // namespace skin
