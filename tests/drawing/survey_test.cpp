// The operations the engine never calls still reach GDI+: each one below
// leaves GDI+'s answer in LastStatus. The table prints what this GDI+ (Wine's,
// under test) answers, so that functions it does not implement are on record.
#include <functional>
#include <vector>

#include "tests/drawing/drawing_fixture.h"

using namespace drw;

namespace drwtest {
namespace {

struct Probe {
    const char* name;
    std::function<void()> call;
};

using Survey = DrawingTest;

TEST_F(Survey, RarelyUsedOperationsForwardToGdiplus) {
    MemoryCanvas canvas(32, 32);
    GraphicsObject g;
    ASSERT_EQ(g.FromHdc(canvas.dc()), 1);
    PathObject path;
    path.Create();
    path.AddRectangle(1, 1, 10, 10);
    PenObject pen;
    pen.Create(0xFF000000, 2);
    SolidBrushObject solid;
    solid.Create(0xFF00FF00);
    LinearBrushObject line;
    line.Create({0, 0}, {0, 10}, 0xFF000000, 0xFFFFFFFF);
    PathBrushObject pathBrush;
    pathBrush.CreateFromPath(path);
    FontObject font;
    font.CreateByName("宋体", 12);
    FontFamilyObject family;
    family.CreateFromName("宋体");
    StringFormatObject format;
    format.Create();
    BitmapObject bitmap;
    bitmap.Create(8, 8);
    RegionObject region;
    region.CreateRect({0, 0, 5, 5});
    CountedArray<PointF> points;
    points.Append({0, 0}); points.Append({10, 3}); points.Append({4, 12});
    CountedArray<float> floats;
    floats.Append(1); floats.Append(2);

    const std::vector<Probe> probes = {
        {"GdipSetRenderingOrigin", [&] { g.SetRenderingOrigin(1, 1); }},
        {"GdipSetTextContrast", [&] { g.SetTextContrast(4); }},
        {"GdipGetNearestColor", [&] { ARGB c = 0xFF123456; g.GetNearestColor(c); }},
        {"GdipDrawCurve3", [&] { g.DrawCurve3(pen, points, 0, 1, 0.5f); }},
        {"GdipFillClosedCurve2", [&] { g.FillClosedCurve2(solid, points, 0.5f, 0); }},
        {"GdipDrawDriverString", [&] {
             CountedArray<PointF> at; at.Append({1, 10}); at.Append({9, 10});
             g.DrawDriverString("ab", font, solid, at);
         }},
        {"GdipMeasureCharacterRanges", [&] {
             CountedArray<Gdiplus::CharacterRange> ranges;
             ranges.Append(Gdiplus::CharacterRange(0, 1));
             format.SetMeasurableCharacterRanges(ranges);
             CountedArray<RegionObject> out(1);
             g.MeasureCharacterRanges("ab", font, RectF{0, 0, 30, 30}, &format, out);
         }},
        {"GdipBeginContainer2", [&] { g.EndContainer(g.BeginContainer2()); }},
        {"GdipComment", [&] { g.Comment(ByteString{1, 2, 3, 4}); }},
        {"GdipGetPathData", [&] { PathData d; path.GetPathData(d); }},
        {"GdipWarpPath", [&] { PathObject p; p.Create(); p.AddRectangle(0, 0, 4, 4); p.Warp(points, {0, 0, 4, 4}); }},
        {"GdipWidenPath", [&] { PathObject p; p.Create(); p.AddLine(0, 0, 5, 5); p.Widen(pen); }},
        {"GdipWindingModeOutline", [&] { PathObject p; p.Create(); p.AddEllipse(0, 0, 5, 5); p.Outline(); }},
        {"GdipAddPathString", [&] { PathObject p; p.Create(); p.AddString("a", family, 0, 12, {0, 0, 20, 20}); }},
        {"GdipIsOutlineVisiblePathPoint", [&] { path.IsOutlineVisiblePoint(1, 5, pen); }},
        {"GdipGetRegionScansCount", [&] { region.GetScansCount(nullptr); }},
        {"GdipGetRegionHRgn", [&] { HRGN h = region.GetHRgn(&g); if (h) DeleteObject(h); }},
        {"GdipSetPenCompoundArray", [&] { pen.SetCompoundArray(floats); }},
        {"GdipSetPenCustomStartCap", [&] { pen.SetCustomStartCap(nullptr); }},
        {"GdipSetPenMode", [&] { pen.SetMode(1); }},
        {"GdipSetLineSigmaBlend", [&] { line.SetSigmaBlend(0.5f, 1); }},
        {"GdipSetLineGammaCorrection", [&] { line.SetGammaCorrection(1); }},
        {"GdipSetPathGradientSigmaBlend", [&] { pathBrush.SetSigmaBlend(0.5f, 1); }},
        {"GdipSetPathGradientLinearBlend", [&] { pathBrush.SetLinearBlend(0.5f, 1); }},
        {"GdipSetPathGradientFocusScales", [&] { pathBrush.SetFocusScales(0.5f, 0.5f); }},
        {"GdipSetPathGradientPath", [&] { pathBrush.SetPath(path); }},
        {"GdipGetPathGradientPath", [&] { PathObject p; pathBrush.GetPath(p); }},
        {"GdipGetFontHeightGivenDPI", [&] { font.GetHeightGivenDPI(96); }},
        {"GdipSetStringFormatDigitSubstitution", [&] { format.SetDigitSubstitution(0, 1); }},
        {"GdipGetImageThumbnail", [&] { ImageObject t; bitmap.GetThumbnail(4, 4, t); }},
        {"GdipImageSelectActiveFrame", [&] { bitmap.SelectActiveFrame("{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}", 0); }},
        {"GdipGetPropertyItem (frame delays)", [&] { bitmap.GetFrameDelays(); }},
        {"GdipCreateHICONFromBitmap", [&] { HICON i = bitmap.CreateHICON(); if (i) DestroyIcon(i); }},
        {"GdipBitmapSetResolution", [&] { bitmap.SetResolution(96, 96); }},
        {"GdipBitmapApplyEffect", [&] { bitmap.ApplyEffect(EffectObject{}); }},
        {"GdipSaveAdd", [&] { bitmap.SaveAdd(); }},
        {"GdipGetEncoderParameterListSize", [&] {
             EncoderParameterSet set;
             bitmap.GetEncoderParameterList(ImageFormatPNG, set);
         }},
    };
    int notImplemented = 0;
    for (const Probe& p : probes) {
        LastStatus = 4242;   // each probe must overwrite it by calling GDI+
        p.call();
        EXPECT_NE(LastStatus, 4242) << p.name << " did not reach GDI+";
        if (LastStatus == Gdiplus::NotImplemented) ++notImplemented;
        std::printf("%-40s status %d%s\n", p.name, LastStatus,
                    LastStatus == Gdiplus::NotImplemented ? " (not implemented here)" : "");
    }
    std::printf("%d of %d probes answered NotImplemented\n", notImplemented, static_cast<int>(probes.size()));
    family.Delete();
}

// Functions this GDI+ exports only as stubs: a call ends the process with
// Wine's "unimplemented function" exception (0x80000100) instead of answering
// a status. Each is called in a child process; the child exits 0 (Ok) or 1
// (another status) where the function is real.
bool Answered(int code) {
    std::printf("  child exit code 0x%08X%s\n", static_cast<unsigned>(code),
                static_cast<unsigned>(code) == 0x80000100u ? " (unimplemented stub)" : "");
    return code == 0 || code == 1 || static_cast<unsigned>(code) == 0x80000100u;
}

void ExitWithStatus() { std::exit(LastStatus == 0 ? 0 : 1); }

// An exception nobody handles ends the child with its code, without a debugger.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS* info) {
    ExitProcess(info->ExceptionRecord->ExceptionCode);
}

TEST(SurveyStubs, FunctionsExportedOnlyAsStubs) {
    const std::vector<Probe> stubs = {
        {"GdipSetPenUnit", [] { PenObject pen; pen.Create(0xFF000000, 1); pen.SetUnit(2.7); }},
        {"GdipEnumerateMetafileDestPoints", [] {
             GraphicsObject g; CountedArray<PointF> at(3);
             g.EnumerateMetafileDestPoints(nullptr, at, nullptr, nullptr, nullptr);
         }},
        {"GdipEnumerateMetafileDestPointsI", [] {
             GraphicsObject g; CountedArray<Point> at(3);
             g.EnumerateMetafileDestPointsI(nullptr, at, nullptr, nullptr, nullptr);
         }},
        {"GdipEnumerateMetafileSrcRectDestPoint", [] {
             GraphicsObject g;
             g.EnumerateMetafileSrcRectDestPoint(nullptr, {0, 0}, {0, 0, 1, 1}, 2, nullptr, nullptr, nullptr);
         }},
        {"GdipEnumerateMetafileSrcRectDestPointI", [] {
             GraphicsObject g;
             g.EnumerateMetafileSrcRectDestPointI(nullptr, {0, 0}, {0, 0, 1, 1}, 2, nullptr, nullptr, nullptr);
         }},
        {"GdipEnumerateMetafileSrcRectDestPointsI", [] {
             GraphicsObject g; CountedArray<Point> at(3);
             g.EnumerateMetafileSrcRectDestPointsI(nullptr, at, {0, 0, 1, 1}, 2, nullptr, nullptr, nullptr);
         }},
    };
    for (const Probe& p : stubs) {
        std::printf("%s\n", p.name);
        EXPECT_EXIT(
            {
                SetUnhandledExceptionFilter(EndWithExceptionCode);
                p.call();
                ExitWithStatus();
            },
            Answered, "")
            << p.name;
    }
}

}  // namespace
}  // namespace drwtest
