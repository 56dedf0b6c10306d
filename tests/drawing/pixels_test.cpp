// Drawing that lands in pixels, painted the way the engine's painters paint:
// a graphics surface on a memory DC, a rounded path with a preset-blend
// gradient, a path-gradient dot, text in a font made by name, a stretched
// image; then read back from the DC.
#include "tests/drawing/drawing_fixture.h"

#include <vector>

using namespace drw;

namespace drwtest {
namespace {

// Four corner arcs of an r-sized box, as the engine builds its rounded shapes.
void RoundedRect(PathObject& path, float x, float y, float w, float h, float r) {
    path.AddArc(x + w - r, y, r, r, 270, 90);
    path.AddArc(x + w - r, y + h - r, r, r, 0, 90);
    path.AddArc(x, y + h - r, r, r, 90, 90);
    path.AddArc(x, y, r, r, 180, 90);
    path.CloseFigure();
}

bool Near(uint32_t rgb, int r, int g, int b, int tolerance) {
    return std::abs(Red(rgb) - r) <= tolerance && std::abs(Green(rgb) - g) <= tolerance &&
           std::abs(Blue(rgb) - b) <= tolerance;
}

using Pixels = DrawingTest;

TEST_F(Pixels, RoundedPathWithPresetBlendGradient) {
    MemoryCanvas canvas(80, 60);
    canvas.Fill(0xFFFFFF);
    {
        GraphicsObject g;
        ASSERT_EQ(g.FromHdc(canvas.dc()), 1);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        PathObject path;
        ASSERT_EQ(path.Create(), 1);
        RoundedRect(path, 10, 10, 60, 40, 24);
        LinearBrushObject brush;
        ASSERT_EQ(brush.Create({0, 10}, {0, 50}, 0xFFFF0000, 0xFF0000FF), 1);
        CountedArray<ARGB> colours;
        colours.Append(0xFFFF0000); colours.Append(0xFF00FF00); colours.Append(0xFF0000FF);
        CountedArray<float> positions;
        positions.Append(0.0f); positions.Append(0.5f); positions.Append(1.0f);
        ASSERT_EQ(brush.SetPresetBlend(colours, positions), 1);
        EXPECT_EQ(brush.GetPresetBlendCount(), 3);
        EXPECT_EQ(g.FillPath(brush, path), 1);
        g.Delete();
        path.Delete();
        brush.Delete();
    }
    GdiFlush();
    canvas.Dump("rounded-gradient");
    EXPECT_TRUE(Near(canvas.At(40, 11), 255, 0, 0, 40)) << std::hex << canvas.At(40, 11);
    EXPECT_TRUE(Near(canvas.At(40, 30), 0, 255, 0, 40)) << std::hex << canvas.At(40, 30);
    EXPECT_TRUE(Near(canvas.At(40, 48), 0, 0, 255, 40)) << std::hex << canvas.At(40, 48);
    // The rounded corner leaves the rectangle's corner untouched.
    EXPECT_EQ(canvas.At(11, 11), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(68, 48), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(5, 30), 0xFFFFFFu);
}

TEST_F(Pixels, PathGradientDot) {
    MemoryCanvas canvas(60, 60);
    canvas.Fill(0xFFFFFF);
    {
        GraphicsObject g;
        ASSERT_EQ(g.FromHdc(canvas.dc()), 1);
        PathObject dot;
        dot.Create();
        dot.AddEllipse(10, 10, 40, 40);
        PathBrushObject brush;
        ASSERT_EQ(brush.CreateFromPath(dot), 1);
        brush.SetCenterColor(0xFFFF0000);
        CountedArray<ARGB> surround;
        surround.Append(0xFF0000FF);
        ASSERT_EQ(brush.SetSurroundColors(surround), 1);
        EXPECT_EQ(g.FillPath(brush, dot), 1);
        g.Delete();
        brush.Delete();
        dot.Delete();
    }
    GdiFlush();
    canvas.Dump("path-gradient-dot");
    const uint32_t centre = canvas.At(30, 30), rim = canvas.At(12, 30);
    EXPECT_GT(Red(centre), 200) << std::hex << centre;
    EXPECT_LT(Blue(centre), 60) << std::hex << centre;
    EXPECT_GT(Blue(rim), Red(rim)) << std::hex << rim;
    EXPECT_EQ(canvas.At(3, 3), 0xFFFFFFu);
}

TEST_F(Pixels, SurroundColourCountNeverReadsPastTheArray) {
    PathObject dot;
    dot.Create();
    dot.AddEllipse(0, 0, 20, 20);
    PathBrushObject brush;
    brush.CreateFromPath(dot);
    CountedArray<ARGB> three;
    three.Append(0xFF0000FF); three.Append(0xFF00FF00); three.Append(0xFFFF0000);
    int count = 2;   // only two of the three are read
    EXPECT_EQ(brush.SetSurroundColors(three, count), 1);
    EXPECT_EQ(count, 2);
    count = 50;      // more than the array holds: held to the array's three
    EXPECT_EQ(brush.SetSurroundColors(three, count), 1);
    EXPECT_EQ(count, 3);
    // Positions shorter than the colours: refused instead of read past.
    LinearBrushObject line;
    line.Create({0, 0}, {0, 10}, 0xFF000000, 0xFFFFFFFF);
    CountedArray<float> one;
    one.Append(0.0f);
    EXPECT_EQ(line.SetPresetBlend(three, one), 0);
    EXPECT_EQ(LastStatus, Gdiplus::InvalidParameter);
    CountedArray<ARGB> none;
    EXPECT_EQ(line.SetPresetBlend(none, one), 0);   // GDI+ refuses a count of 0
}

TEST_F(Pixels, StringInAFontMadeByName) {
    MemoryCanvas canvas(90, 40);
    canvas.Fill(0xFFFFFF);
    FontObject font;
    ASSERT_EQ(font.CreateByName("宋体", 24, {}, Gdiplus::UnitPixel), 1);
    EXPECT_EQ(font.GetSize(), 24.0f);
    EXPECT_EQ(font.GetUnit(), Gdiplus::UnitPixel);
    EXPECT_EQ(font.GetStyle(), 0);
    {
        GraphicsObject g;
        ASSERT_EQ(g.FromHdc(canvas.dc()), 1);
        StringFormatObject format;
        format.Create();
        format.SetAlign(Gdiplus::StringAlignmentCenter);
        format.SetLineAlign(Gdiplus::StringAlignmentCenter);
        SolidBrushObject ink;
        ink.Create(0xFF000000);
        EXPECT_EQ(g.DrawString("汉字", font, ink, RectF{0, 0, 90, 40}, &format), 1);
        RectF box{};
        EXPECT_EQ(g.MeasureString("汉字", font, RectF{0, 0, 90, 40}, &format, box), 1);
        EXPECT_GT(box.width, 40.0f);
        EXPECT_LT(box.width, 70.0f);
        g.Delete();
    }
    GdiFlush();
    canvas.Dump("string-songti");
    int left = 0, right = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 90; ++x)
            if (Red(canvas.At(x, y)) < 100) (x < 45 ? left : right)++;
    // Two ideographs, centred: many dark pixels on each side of the middle.
    EXPECT_GT(left, 40);
    EXPECT_GT(right, 40);

    // The face name read back the way the engine reads a control's font.
    FontFamilyObject family;
    ASSERT_EQ(font.GetFamily(family), 1);
    const AnsiText name = family.GetFamilyName();
    EXPECT_FALSE(name.empty());
    std::printf("family of \"宋体\" under this prefix: %s\n", name.c_str());
    family.Delete();
}

TEST_F(Pixels, DrawImageRectStretchesTheWholeImage) {
    MemoryCanvas canvas(50, 30);
    canvas.Fill(0xFFFFFF);
    ImageObject image;
    ASSERT_EQ(image.LoadFromBytes(SmallPng()), 1);
    {
        GraphicsObject g;
        g.FromHdc(canvas.dc());
        g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        EXPECT_EQ(g.DrawImageRect(image, 0, 0, 50, 30), 1);
        ImageObject empty;   // a 0 x 0 source: nothing drawn
        EXPECT_EQ(g.DrawImageRect(empty, 0, 0, 50, 30), 0);
    }
    GdiFlush();
    // Column 0 of the source is red over the left tenth, row 0 green over the top third.
    EXPECT_GT(Red(canvas.At(3, 20)), 200);
    EXPECT_GT(Green(canvas.At(30, 3)), 200);
    EXPECT_LT(Red(canvas.At(30, 20)), 60);
}

// A whole painter, many times over: every object it makes is gone at the end.
TEST_F(Pixels, RepeatedPaintsLeaveNoGdiplusObjectBehind) {
    MemoryCanvas canvas(64, 32);
    const int before = LiveObjectCount();
    for (int i = 0; i < 200; ++i) {
        GraphicsObject g;
        g.FromHdc(canvas.dc());
        PathObject path;
        path.Create();
        RoundedRect(path, 1, 1, 60, 28, 8);
        LinearBrushObject glass;
        glass.Create({0, 0}, {0, 30}, 0x80FFFFFF, 0x20FFFFFF);
        g.FillPath(glass, path);
        PenObject pen;
        pen.Create(0xFF202020, 1);
        g.DrawPath(pen, path);
        FontObject font;
        font.CreateByName("宋体", 12);
        StringFormatObject format;
        format.Create();
        SolidBrushObject ink;
        ink.Create(0xFF000000);
        g.DrawString("按钮", font, ink, RectF{0, 0, 64, 32}, &format);
        ImageObject glyph;
        glyph.LoadFromBytes(SmallPng());
        g.DrawImageRect(glyph, 2, 2, 10, 6);
        // Some deleted explicitly, the rest by their destructors.
        path.Delete();
        glass.Delete();
        glyph.Dispose();
    }
    EXPECT_EQ(LiveObjectCount(), before);
}

}  // namespace
}  // namespace drwtest

namespace drwtest {
namespace {

// A clip given without a mode replaces the one the surface already has: on
// a surface clipped to one corner, a second clip in the opposite corner lets
// a fill through there and only there (an intersection would let none).
TEST_F(Pixels, ClipWithTheModeOmittedReplacesTheClipBefore) {
    struct Case {
        const char* name;
        void (*clip)(GraphicsObject&);
    };
    const Case cases[] = {
        {"rectangle", [](GraphicsObject& g) { g.SetClipRect(12, 12, 6, 6); }},
        {"path",
         [](GraphicsObject& g) {
             PathObject path;
             path.Create();
             path.AddRectangle(12, 12, 6, 6);
             g.SetClipPath(path);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryCanvas canvas(20, 20);
        canvas.Fill(0xFFFFFF);
        GraphicsObject g;
        ASSERT_EQ(g.FromHdc(canvas.dc()), 1);
        g.SetClipRect(0, 0, 6, 6);
        c.clip(g);
        SolidBrushObject black;
        black.Create(0xFF000000);
        g.FillRectangle(black, 0, 0, 20, 20);
        g.Delete();
        EXPECT_EQ(canvas.At(14, 14), 0x000000u) << "inside the new clip";
        EXPECT_EQ(canvas.At(2, 2), 0xFFFFFFu) << "inside the old clip only";
    }
}

}  // namespace
}  // namespace drwtest

namespace drwtest {
namespace {

// Operations whose arguments decide the shape or colour that lands: each
// case draws black-on-white or in colour and names pixels that tell a right
// argument from a wrong or ignored one.
TEST_F(Pixels, ArgumentsThatShapeWhatLands) {
    struct Probe {
        int x, y;
        uint32_t rgb;
    };
    struct Case {
        const char* name;
        void (*draw)(GraphicsObject&);
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // 40 wide, 20 high: swapped, (45, 15) would be outside and (30, 28) inside.
        {"ellipse wider than high",
         [](GraphicsObject& g) {
             PathObject path;
             path.Create();
             path.AddEllipse(10, 5, 40, 20);
             SolidBrushObject black;
             black.Create(0xFF000000);
             g.FillPath(black, path);
         },
         {{30, 15, 0x000000}, {45, 15, 0x000000}, {30, 2, 0xFFFFFF}, {30, 28, 0xFFFFFF}, {8, 15, 0xFFFFFF}}},
        // Made 1 wide, widened to 6: three pixels either side of the line.
        {"pen widened",
         [](GraphicsObject& g) {
             PenObject pen;
             pen.Create(0xFF000000, 1);
             pen.SetWidth(6);
             g.DrawLine(pen, 5, 15, 55, 15);
         },
         {{30, 15, 0x000000}, {30, 13, 0x000000}, {30, 17, 0x000000}, {30, 20, 0xFFFFFF}}},
        // Red to blue with the blue at a quarter of the way and red again at
        // both ends (a plain gradient is three-quarters red there).
        {"linear blend",
         [](GraphicsObject& g) {
             LinearBrushObject brush;
             brush.Create({0, 0}, {60, 0}, 0xFFFF0000, 0xFF0000FF);
             brush.SetLinearBlend(0.25f, 1.0f);
             g.FillRectangle(brush, 0, 0, 60, 30);
         },
         {{15, 15, 0x0000FF}, {0, 15, 0xFF0000}, {59, 15, 0xFF0000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryCanvas canvas(60, 30);
        PaintOn(canvas, 0xFFFFFF, c.draw);
        for (const Probe& p : c.probes)
            EXPECT_TRUE(Near(canvas.At(p.x, p.y), Red(p.rgb), Green(p.rgb), Blue(p.rgb), 24))
                << "at " << p.x << ", " << p.y << ": " << std::hex << canvas.At(p.x, p.y);
    }
}

// The rows that hold ink when a line of text is aligned in a tall box.
TEST_F(Pixels, LineAlignmentPlacesTheTextInTheBox) {
    struct Case {
        Gdiplus::StringAlignment align;
        int topAtLeast, bottomAtMost;
    };
    const Case cases[] = {{Gdiplus::StringAlignmentNear, 0, 30},
                          {Gdiplus::StringAlignmentCenter, 30, 60},
                          {Gdiplus::StringAlignmentFar, 60, 89}};
    FontObject font;
    ASSERT_EQ(font.CreateByName("宋体", 16, {}, Gdiplus::UnitPixel), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        MemoryCanvas canvas(60, 90);
        PaintOn(canvas, 0xFFFFFF, [&](GraphicsObject& g) {
            StringFormatObject format;
            format.Create();
            EXPECT_EQ(format.SetLineAlign(c.align), 1);
            SolidBrushObject ink;
            ink.Create(0xFF000000);
            g.DrawString("汉字", font, ink, RectF{0, 0, 60, 90}, &format);
        });
        int top = -1, bottom = -1;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 60; ++x)
                if (Red(canvas.At(x, y)) < 100) {
                    if (top < 0) top = y;
                    bottom = y;
                }
        ASSERT_GE(top, 0) << "no ink";
        EXPECT_GE(top, c.topAtLeast);
        EXPECT_LE(bottom, c.bottomAtMost);
    }
}

}  // namespace
}  // namespace drwtest
