// Background capture from a skinned window's cached rendering, container
// fills, the glass variants and the memory-DC registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "drawing/native_object.h"
#include "fixture.h"
#include "skin/capture.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/record.h"

using namespace skin;
using skintest::ColourNear;
using skintest::PictureAt;
using skintest::PictureDc;

namespace {

// src under white (or any colour) at alpha, as one GDI+ fill leaves it.
COLORREF Blend(COLORREF src, COLORREF over, int alpha) {
    auto mix = [alpha](int s, int o) { return s + (o - s) * alpha / 255; };
    return RGB(mix(GetRValue(src), GetRValue(over)), mix(GetGValue(src), GetGValue(over)),
               mix(GetBValue(src), GetBValue(over)));
}

class CaptureTest : public skintest::SkinWindowsTest {
protected:
    void SetUp() override {
        top = Popup(50, 50, 300, 200);
        record = Skin(top, cache.Get());
        button = Child(top, "BUTTON", WS_VISIBLE, 30, 40, 80, 24);
        group = Child(top, "BUTTON", WS_VISIBLE | BS_GROUPBOX, 90, 80, 200, 100);
        edit = Child(group, "EDIT", WS_VISIBLE, 20, 30, 60, 20);
        panel = Child(top, "STATIC", WS_VISIBLE, 10, 150, 60, 40);
        AddContainer(record, group, 0xFFFFFF, 50, 1);
        AddContainer(record, panel, 0, 255, 0);
        lone = Popup(400, 50, 100, 100);
        loneChild = Child(lone, "BUTTON", WS_VISIBLE, 5, 5, 40, 20);
        registryBefore = MemoryDcRegistry.Count();
        dcsBefore = LiveGdiCount(GdiKind::MemoryDc);
        objectsBefore = LiveGdiCount(GdiKind::Object);
    }
    void TearDown() override {
        EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore);
        EXPECT_EQ(LiveGdiCount(GdiKind::MemoryDc), dcsBefore);
        EXPECT_EQ(LiveGdiCount(GdiKind::Object), objectsBefore);
        SkinWindowsTest::TearDown();
    }

    PictureDc cache{300, 200};
    HWND top{}, button{}, group{}, edit{}, panel{}, lone{}, loneChild{};
    int record = 0;
    int registryBefore = 0, dcsBefore = 0, objectsBefore = 0;
};

}  // namespace

TEST_F(CaptureTest, ControlOnTheWindowGetsExactlyThePieceUnderIt) {
    ScopedCapture dc(CaptureControlBackground(button, RECT{0, 0, 80, 24}));
    ASSERT_NE(dc.Get(), nullptr);
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore + 1);
    BITMAP bm{};
    GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 80);
    EXPECT_EQ(bm.bmHeight, 24);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    int wrong = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x)
            if (GetPixel(dc, x, y) != PictureAt(30 + x, 40 + y)) ++wrong;
    EXPECT_EQ(wrong, 0);
    // A rectangle inside the control is taken from the same place.
    ScopedCapture part(CaptureControlBackground(button, RECT{10, 4, 20, 8}));
    EXPECT_EQ(GetPixel(part, 0, 0), PictureAt(40, 44));
}

TEST_F(CaptureTest, GroupBoxContainerGetsItsRoundedFill) {
    ScopedCapture dc(CaptureControlBackground(group, RECT{0, 0, 200, 100}));
    ASSERT_NE(dc.Get(), nullptr);
    // Above y 5 and below the frame's bottom (5 + 94) the picture stays.
    for (int x : {0, 100, 199}) {
        EXPECT_EQ(GetPixel(dc, x, 2), PictureAt(90 + x, 82)) << x;
        EXPECT_EQ(GetPixel(dc, x, 99), PictureAt(90 + x, 179)) << x;
    }
    // The corners of the rounded rectangle keep it too.
    EXPECT_TRUE(ColourNear(GetPixel(dc, 0, 5), PictureAt(90, 85), 2));
    EXPECT_TRUE(ColourNear(GetPixel(dc, 199, 98), PictureAt(289, 178), 2));
    // Inside: white at alpha 50 over the picture.
    for (POINT p : {POINT{100, 50}, POINT{3, 40}, POINT{196, 90}, POINT{100, 8}})
        EXPECT_TRUE(ColourNear(GetPixel(dc, p.x, p.y),
                               Blend(PictureAt(90 + p.x, 80 + p.y), 0xFFFFFF, 50), 3))
            << p.x << "," << p.y;
}

TEST_F(CaptureTest, ControlInsideAFilledContainerGetsAFullRectangleFill) {
    ScopedCapture dc(CaptureControlBackground(edit, RECT{0, 0, 60, 20}));
    ASSERT_NE(dc.Get(), nullptr);
    for (POINT p : {POINT{0, 0}, POINT{59, 0}, POINT{0, 19}, POINT{59, 19}, POINT{30, 10}})
        EXPECT_TRUE(ColourNear(GetPixel(dc, p.x, p.y),
                               Blend(PictureAt(110 + p.x, 110 + p.y), 0xFFFFFF, 50), 3))
            << p.x << "," << p.y;
}

TEST_F(CaptureTest, ContainerWithoutFillColourAddsNoFill) {
    ScopedCapture dc(CaptureControlBackground(panel, RECT{0, 0, 60, 40}));
    ASSERT_NE(dc.Get(), nullptr);
    EXPECT_EQ(GetPixel(dc, 0, 0), PictureAt(10, 150));
    EXPECT_EQ(GetPixel(dc, 59, 39), PictureAt(69, 189));
}

TEST_F(CaptureTest, ControlUnderNoSkinnedWindowGetsNothing) {
    // The end of its parent chain must not match the record's empty
    // container entry and take the skinned window's picture.
    EXPECT_EQ(CaptureControlBackground(loneChild, RECT{0, 0, 40, 20}), nullptr);
    EXPECT_EQ(CaptureControlBackground(lone, RECT{0, 0, 40, 20}), nullptr);
    EXPECT_EQ(CreateGlassBackgroundDc(loneChild), nullptr);
    EXPECT_EQ(MakeGlassBackgroundBitmap(loneChild), nullptr);
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore);
}

TEST_F(CaptureTest, RegistryHoldsEachCaptureUntilItIsReleased) {
    HDC a = CaptureControlBackground(button, RECT{0, 0, 80, 24});
    HDC b = CaptureControlBackground(button, RECT{0, 0, 80, 24});
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a, b);
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore + 2);
    HGDIOBJ bitmapOfA = GetCurrentObject(a, OBJ_BITMAP);
    EXPECT_TRUE(ReleaseMemoryDc(a));
    EXPECT_FALSE(ReleaseMemoryDc(a));
    EXPECT_EQ(GetObjectType(a), 0u);
    EXPECT_EQ(GetObjectType(bitmapOfA), 0u);
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore + 1);
    EXPECT_TRUE(ReleaseMemoryDc(b));
    EXPECT_FALSE(ReleaseMemoryDc(nullptr));
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore);

    // An unregistered DC is left alone.
    MemoryDc foreign(nullptr);
    EXPECT_FALSE(ReleaseMemoryDc(foreign));
    EXPECT_EQ(GetObjectType(foreign), static_cast<DWORD>(OBJ_MEMDC));

    // Registering a DC again replaces its entry instead of adding one.
    HDC c = CaptureControlBackground(button, RECT{0, 0, 8, 8});
    const MemoryDcEntry entry = MemoryDcRegistry[MemoryDcRegistry.Count()];
    RegisterMemoryDc(c, entry.Bitmap, entry.PreviousBitmap);
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore + 1);
    EXPECT_TRUE(ReleaseMemoryDc(c));
}

TEST_F(CaptureTest, GlassVariantsCoverTheClientAreaWithWhite) {
    GlassAlpha = 160;
    {
        ScopedCapture dc(CreateGlassBackgroundDc(button));
        ASSERT_NE(dc.Get(), nullptr);
        EXPECT_TRUE(
            ColourNear(GetPixel(dc, 5, 5), Blend(PictureAt(35, 45), 0xFFFFFF, 160), 3));
    }
    HBITMAP bitmap = MakeGlassBackgroundBitmap(button);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore);
    {
        MemoryDc look(nullptr);
        SelectedObject selected(look, bitmap);
        EXPECT_TRUE(
            ColourNear(GetPixel(look, 5, 5), Blend(PictureAt(35, 45), 0xFFFFFF, 160), 3));
    }
    DeleteObject(bitmap);
}

TEST_F(CaptureTest, MarkedWindowsLendTheirOwnBackground) {
    PictureDc markedPicture(60, 60, 200);
    HWND marked = Child(top, "STATIC", WS_VISIBLE, 10, 100, 60, 60);
    HWND inside = Child(marked, "STATIC", WS_VISIBLE, 7, 8, 20, 10);
    WriteProp(marked, prop::Wxk_Zpf, 1);
    WriteProp(marked, prop::Wxk_Cj, reinterpret_cast<std::intptr_t>(markedPicture.Get()));
    {
        // A control below a marked window copies from the marked window's DC.
        ScopedCapture dc(CaptureControlBackground(inside, RECT{0, 0, 20, 10}));
        ASSERT_NE(dc.Get(), nullptr);
        EXPECT_EQ(GetPixel(dc, 0, 0), PictureAt(7, 8, 200));
    }
    {
        // The marked window itself, with no marked window above: the window cache.
        ScopedCapture dc(CaptureControlBackground(marked, RECT{0, 0, 60, 60}));
        ASSERT_NE(dc.Get(), nullptr);
        EXPECT_EQ(GetPixel(dc, 0, 0), PictureAt(10, 100));
    }
    {
        // ... and with one above it: that window's DC.
        PictureDc abovePicture(300, 200, 150);
        WriteProp(top, prop::Wxk_Cj, reinterpret_cast<std::intptr_t>(abovePicture.Get()));
        WriteProp(marked, prop::Mb_zpf, reinterpret_cast<std::intptr_t>(top));
        ScopedCapture dc(CaptureControlBackground(marked, RECT{0, 0, 60, 60}));
        ASSERT_NE(dc.Get(), nullptr);
        EXPECT_EQ(GetPixel(dc, 1, 2), PictureAt(11, 102, 150));
        WriteProp(top, prop::Wxk_Cj, 0);
    }
}

TEST_F(CaptureTest, DcExcludingChildrenCannotPaintOverOpaqueChildren) {
    HWND hidden = Child(top, "STATIC", 0, 200, 10, 20, 20);
    HWND seeThrough = Child(top, "STATIC", WS_VISIBLE, 240, 10, 20, 20, WS_EX_TRANSPARENT);
    (void)hidden;
    (void)seeThrough;
    HDC dc = GetDcExcludingChildren(top);
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(PtVisible(dc, 35, 45));   // the button
    EXPECT_FALSE(PtVisible(dc, 100, 90));  // the group box
    EXPECT_TRUE(PtVisible(dc, 5, 5));
    EXPECT_TRUE(PtVisible(dc, 205, 15));  // hidden child
    EXPECT_TRUE(PtVisible(dc, 245, 15));  // transparent child
    ReleaseDC(top, dc);
}

TEST_F(CaptureTest, TenThousandCapturesGiveEveryDcAndBitmapBack) {
    const int drawingBefore = drw::LiveObjectCount();
    HDC last = nullptr;
    for (int i = 0; i < 10000; ++i) {
        HWND control = (i % 2) ? button : edit;  // the edit's capture also fills
        last = CaptureControlBackground(control, RECT{0, 0, 60, 20});
        ASSERT_NE(last, nullptr);
        ASSERT_TRUE(ReleaseMemoryDc(last));
    }
    EXPECT_EQ(GetObjectType(last), 0u);
    EXPECT_EQ(MemoryDcRegistry.Count(), registryBefore);
    EXPECT_EQ(LiveGdiCount(GdiKind::MemoryDc), dcsBefore);
    EXPECT_EQ(LiveGdiCount(GdiKind::Object), objectsBefore);
    EXPECT_EQ(drw::LiveObjectCount(), drawingBefore);
}
