// The rules every drawing object keeps, checked once over a table of classes:
// Delete of an empty object, failed creations, equal handle copies, copies
// that own their own native object, and optional (value, given) arguments.
#include <functional>
#include <memory>
#include <vector>

#include "tests/drawing/drawing_fixture.h"

using namespace drw;

namespace drwtest {
namespace {

struct ClassCase {
    const char* name;
    std::function<std::unique_ptr<NativeObject>()> make;
    // Every level's copy of the handle, Native first.
    std::function<std::vector<void*>(NativeObject&)> copies;
    // Delete or Dispose.
    std::function<int(NativeObject&)> remove;
    // A creating operation that must fail; nullptr when the class has none.
    std::function<int(NativeObject&)> failingCreate;
    // A creating operation that succeeds, for the copy rule; nullptr: none.
    std::function<int(NativeObject&)> create;
};

template <class T>
T& As(NativeObject& o) { return static_cast<T&>(o); }

template <class T>
std::function<std::unique_ptr<NativeObject>()> Maker() {
    return [] { return std::unique_ptr<NativeObject>(new T); };
}
template <class T>
std::function<std::vector<void*>(NativeObject&)> OneLevel() {
    return [](NativeObject& o) { return std::vector<void*>{o.GetNative(), As<T>(o).GetHandle()}; };
}
template <class T>
std::function<std::vector<void*>(NativeObject&)> TwoLevels() {
    return [](NativeObject& o) {
        return std::vector<void*>{o.GetNative(), As<T>(o).GetHandle(), As<T>(o).GetSubHandle()};
    };
}

const std::vector<ClassCase>& Cases() {
    static const std::vector<ClassCase> cases = {
        {"GraphicsObject", Maker<GraphicsObject>(), OneLevel<GraphicsObject>(),
         [](NativeObject& o) { return As<GraphicsObject>(o).Delete(); },
         [](NativeObject& o) { ImageObject none; return As<GraphicsObject>(o).FromImage(none); }, nullptr},
        {"PathObject", Maker<PathObject>(), OneLevel<PathObject>(),
         [](NativeObject& o) { return As<PathObject>(o).Delete(); },
         [](NativeObject& o) { CountedArray<PointF> p(2); return As<PathObject>(o).Create2(p, ByteString(1)); },
         [](NativeObject& o) { return As<PathObject>(o).Create(); }},
        {"RegionObject", Maker<RegionObject>(), OneLevel<RegionObject>(),
         [](NativeObject& o) { return As<RegionObject>(o).Delete(); },
         [](NativeObject& o) { PathObject none; return As<RegionObject>(o).CreatePath(none); },
         [](NativeObject& o) { return As<RegionObject>(o).Create(); }},
        {"PenObject", Maker<PenObject>(), OneLevel<PenObject>(),
         [](NativeObject& o) { return As<PenObject>(o).Delete(); },
         [](NativeObject& o) { SolidBrushObject none; return As<PenObject>(o).CreateFromBrush(none, 1); },
         [](NativeObject& o) { return As<PenObject>(o).Create(0xFF000000, 1); }},
        {"SolidBrushObject", Maker<SolidBrushObject>(), TwoLevels<SolidBrushObject>(),
         [](NativeObject& o) { return As<SolidBrushObject>(o).Delete(); }, nullptr,
         [](NativeObject& o) { return As<SolidBrushObject>(o).Create(0xFF102030); }},
        {"LinearBrushObject", Maker<LinearBrushObject>(), TwoLevels<LinearBrushObject>(),
         [](NativeObject& o) { return As<LinearBrushObject>(o).Delete(); },
         [](NativeObject& o) { return As<LinearBrushObject>(o).CreateFromRect({0, 0, 0, 0}, 0, 0, 0); },
         [](NativeObject& o) { return As<LinearBrushObject>(o).Create({0, 0}, {0, 10}, 0xFFFF0000, 0xFF0000FF); }},
        {"PathBrushObject", Maker<PathBrushObject>(), TwoLevels<PathBrushObject>(),
         [](NativeObject& o) { return As<PathBrushObject>(o).Delete(); },
         [](NativeObject& o) { PathObject none; return As<PathBrushObject>(o).CreateFromPath(none); },
         [](NativeObject& o) {
             CountedArray<PointF> p;
             p.Append({0, 0}); p.Append({10, 0}); p.Append({5, 10});
             return As<PathBrushObject>(o).Create(p);
         }},
        {"FontObject", Maker<FontObject>(), OneLevel<FontObject>(),
         [](NativeObject& o) { return As<FontObject>(o).Delete(); },
         [](NativeObject& o) { return As<FontObject>(o).CreateByName("NoSuchFamilyAnywhere", 12); },
         [](NativeObject& o) { return As<FontObject>(o).CreateByName("宋体", 12); }},
        {"FontFamilyObject", Maker<FontFamilyObject>(), OneLevel<FontFamilyObject>(),
         [](NativeObject& o) { return As<FontFamilyObject>(o).Delete(); },
         [](NativeObject& o) { return As<FontFamilyObject>(o).CreateFromName("NoSuchFamilyAnywhere"); },
         nullptr},
        {"FontCollectionObject", Maker<FontCollectionObject>(), OneLevel<FontCollectionObject>(), nullptr,
         nullptr, nullptr},
        {"StringFormatObject", Maker<StringFormatObject>(), OneLevel<StringFormatObject>(),
         [](NativeObject& o) { return As<StringFormatObject>(o).Delete(); }, nullptr,
         [](NativeObject& o) { return As<StringFormatObject>(o).Create(); }},
        {"ImageObject", Maker<ImageObject>(), OneLevel<ImageObject>(),
         [](NativeObject& o) { return As<ImageObject>(o).Dispose(); },
         [](NativeObject& o) { return As<ImageObject>(o).LoadFromBytes(ByteString(40, 0x55)); },
         [](NativeObject& o) { return As<ImageObject>(o).LoadFromBytes(SmallPng()); }},
        {"BitmapObject", Maker<BitmapObject>(), TwoLevels<BitmapObject>(),
         [](NativeObject& o) { return As<BitmapObject>(o).Dispose(); },
         [](NativeObject& o) { return As<BitmapObject>(o).Create(0, 0); },
         [](NativeObject& o) { return As<BitmapObject>(o).FromBytes(SmallPng()); }},
    };
    return cases;
}

using Rules = DrawingTest;

TEST_F(Rules, DeleteOfAnEmptyObjectReturnsZeroAndCallsNothing) {
    for (const ClassCase& c : Cases()) {
        if (!c.remove) continue;
        SCOPED_TRACE(c.name);
        auto o = c.make();
        LastStatus = 4242;   // any GDI+ call would overwrite it
        EXPECT_EQ(c.remove(*o), 0);
        EXPECT_EQ(LastStatus, 4242);
    }
}

TEST_F(Rules, DeleteTwiceDeletesOnceAndEmptiesEveryCopy) {
    for (const ClassCase& c : Cases()) {
        if (!c.create) continue;
        SCOPED_TRACE(c.name);
        auto o = c.make();
        ASSERT_EQ(c.create(*o), 1);
        EXPECT_NE(o->GetNative(), nullptr);
        EXPECT_EQ(c.remove(*o), 1);
        for (void* h : c.copies(*o)) EXPECT_EQ(h, nullptr);
        LastStatus = 4242;
        EXPECT_EQ(c.remove(*o), 0);
        EXPECT_EQ(LastStatus, 4242);
    }
}

TEST_F(Rules, FailedCreationLeavesEveryHandleCopyZero) {
    for (const ClassCase& c : Cases()) {
        if (!c.failingCreate) continue;
        SCOPED_TRACE(c.name);
        auto o = c.make();
        EXPECT_EQ(c.failingCreate(*o), 0);
        EXPECT_NE(LastStatus, 0);
        for (void* h : c.copies(*o)) EXPECT_EQ(h, nullptr);
    }
}

TEST_F(Rules, AfterSetNativeEveryLevelHoldsTheSameHandle) {
    void* const fake = reinterpret_cast<void*>(0x1234);
    for (const ClassCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        auto o = c.make();
        o->SetNative(fake);
        for (void* h : c.copies(*o)) EXPECT_EQ(h, fake);
        o->SetNative(nullptr);   // nothing real to delete
        for (void* h : c.copies(*o)) EXPECT_EQ(h, nullptr);
    }
}

// Objects made through the layer are counted until deleted through it; a
// destructor deletes what is still held.
TEST_F(Rules, DestructionDeletesWhatIsStillHeld) {
    const int before = LiveObjectCount();
    for (const ClassCase& c : Cases()) {
        if (!c.create) continue;
        SCOPED_TRACE(c.name);
        auto o = c.make();
        ASSERT_EQ(c.create(*o), 1);
        EXPECT_EQ(LiveObjectCount(), before + 1);
        o.reset();
        EXPECT_EQ(LiveObjectCount(), before);
    }
}

// Copy makes an object of its own: deleting the source leaves the copy
// working, and both are deleted once each.
TEST_F(Rules, CopyOwnsItsOwnNativeObject) {
    PathObject path;
    ASSERT_EQ(path.Create(), 1);
    path.AddRectangle(0, 0, 10, 10);
    auto pathCopy = path.Copy();
    EXPECT_NE(pathCopy->GetNative(), nullptr);
    EXPECT_NE(pathCopy->GetNative(), path.GetNative());
    path.Delete();
    EXPECT_EQ(pathCopy->GetPointCount(), 4);

    BitmapObject bitmap;
    ASSERT_EQ(bitmap.FromBytes(SmallPng()), 1);
    auto bitmapCopy = bitmap.Copy();
    bitmap.Dispose();
    EXPECT_EQ(bitmapCopy->GetWidth(), 5u);
    EXPECT_EQ(bitmapCopy->GetSubHandle(), bitmapCopy->GetNative());

    SolidBrushObject brush;
    brush.Create(0xFF112233);
    EXPECT_EQ(brush.Copy()->GetColor(), 0xFF112233u);

    // A surface cannot be duplicated: its copy holds nothing, so the two
    // never delete one Graphics twice.
    MemoryCanvas canvas(4, 4);
    GraphicsObject g;
    ASSERT_EQ(g.FromHdc(canvas.dc()), 1);
    EXPECT_EQ(g.Copy()->GetNative(), nullptr);
}

TEST_F(Rules, OptionalArgumentWithADefaultGivenAsFiveNotGivenTakesTheDefault) {
    PathObject path;
    path.Create(Opt<int>(5, false));
    EXPECT_EQ(path.GetFillMode(), Gdiplus::FillModeAlternate);
    path.Delete();
    path.Create(Gdiplus::FillModeWinding);
    EXPECT_EQ(path.GetFillMode(), Gdiplus::FillModeWinding);

    BitmapObject bitmap;
    bitmap.Create(3, 3, Opt<int>(5, false));
    EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat32bppARGB);

    CountedArray<PointF> triangle;
    triangle.Append({0, 0}); triangle.Append({8, 0}); triangle.Append({4, 8});
    PathBrushObject brush;
    brush.Create(triangle, Opt<int>(5, false));
    EXPECT_EQ(brush.GetWrapMode(), Gdiplus::WrapModeClamp);

    // Without a default the value itself is passed on.
    StringFormatObject format;
    format.Create(Opt<int>(Gdiplus::StringFormatFlagsNoWrap, false));
    EXPECT_EQ(format.GetFlags(), Gdiplus::StringFormatFlagsNoWrap);
    PenObject pen;
    pen.Create(0xFF000000, 1, Opt<int>(Gdiplus::UnitPixel, false));
    EXPECT_EQ(pen.GetUnit(), Gdiplus::UnitPixel);
    PenObject plain;
    plain.Create(0xFF000000, 1);
    EXPECT_EQ(plain.GetUnit(), Gdiplus::UnitWorld);
}

// Not a DrawingTest: it creates into a holding object on purpose.
TEST(RulesCounter, CreatingIntoAHoldingObjectIsCountedAndTheLostObjectStaysLive) {
    const int live = LiveObjectCount();
    const int before = CreatedIntoHoldingCount();
    PathObject path;
    path.Create();
    void* first = path.GetNative();
    path.Create();
    EXPECT_EQ(CreatedIntoHoldingCount(), before + 1);
    EXPECT_EQ(LiveObjectCount(), live + 2);
    PathObject lost;   // take the overwritten path back to delete it
    lost.SetNative(first);
    EXPECT_EQ(lost.Delete(), 1);
    path.Delete();
    EXPECT_EQ(LiveObjectCount(), live);
}

}  // namespace
}  // namespace drwtest
