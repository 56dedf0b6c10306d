// Background pictures and the theme: colour splitting, the average colour,
// the faded edges, and the theme and window picture setters.
#include "drawing/drawing.h"
#include "fixture.h"
#include "resources/carried.h"
#include "skin/background.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

using namespace captiontest;
using skin::Engine;

namespace {

class BackgroundTest : public SkinnedWindowTest {};

const rt::ByteString kGarbage = {'G', 'I', 'F', '8', '9', 'a', 0, 0};

}  // namespace

TEST(SplitArgb, ColourAndAlpha) {
    int alpha = -1;
    EXPECT_EQ(skin::SplitArgb(0x80112233, &alpha), 0x00332211u);
    EXPECT_EQ(alpha, 0x80);
    EXPECT_EQ(skin::SplitArgb(0xFF0000FF), 0x00FF0000u);
}

TEST_F(BackgroundTest, AverageColour) {
    const rt::ByteString flat = TwoColourPng(40, 30, RGB(10, 200, 30), RGB(10, 200, 30));
    EXPECT_EQ(skin::AverageImageColor(flat, 2000), 0xFF1EC80Au);
    // Margins narrow the sampled range to the right and bottom edges.
    const rt::ByteString halves = TwoColourPng(40, 30, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(skin::AverageImageColor(halves, 2000, 20, 30), 0xFFFF0000u);
    // Undecodable bytes and no samples at all: opaque black, no division by 0.
    EXPECT_EQ(skin::AverageImageColor(kGarbage, 2000), 0xFF000000u);
    EXPECT_EQ(skin::AverageImageColor({}, 2000), 0xFF000000u);
    EXPECT_EQ(skin::AverageImageColor(flat, 0), 0xFF000000u);
    // A margin wider than the picture reads pixels that are not there as black.
    const COLORREF wide = skin::AverageImageColor(flat, 2000, 400, 300);
    EXPECT_EQ(wide >> 24, 0xFFu);
    EXPECT_LE(GetGValue(wide), 200);
}

// The corner layouts fade a 624 x 447 picture over 187 px (0.3 x 624):
// the right band from x 438, the bottom band from y 261.
TEST_F(BackgroundTest, FadedEdges) {
    const rt::ByteString white = TwoColourPng(624, 447, RGB(255, 255, 255), RGB(255, 255, 255));
    for (int right : {1, 0}) {
        const rt::ByteString faded = skin::BuildBackgroundPicture(white, {}, RGB(0, 0, 0), right);
        drw::BitmapObject b;
        ASSERT_TRUE(b.FromBytes(faded));
        ASSERT_EQ(b.GetWidth(), 624u);
        ASSERT_EQ(b.GetHeight(), 447u);
        const int plainX = right ? 430 : 200, fadedX = right ? 620 : 3;
        EXPECT_TRUE(Near(b.GetPixel(plainX, 100), RGB(255, 255, 255), 0)) << right;
        EXPECT_TRUE(Near(b.GetPixel(fadedX, 100), RGB(0, 0, 0), 20)) << right;
        EXPECT_TRUE(Near(b.GetPixel(300, 255), RGB(255, 255, 255), 0)) << right;
        EXPECT_TRUE(Near(b.GetPixel(300, 445), RGB(0, 0, 0), 20)) << right;
    }
    const rt::ByteString withEdge = skin::BuildBackgroundPicture(white, 100, RGB(0, 0, 0));
    drw::BitmapObject b;
    ASSERT_TRUE(b.FromBytes(withEdge));
    EXPECT_TRUE(Near(b.GetPixel(520, 100), RGB(255, 255, 255), 0));
    EXPECT_FALSE(Near(b.GetPixel(600, 100), RGB(255, 255, 255), 30));
    EXPECT_TRUE(skin::BuildBackgroundPicture(kGarbage, {}, 0).empty());
}

TEST_F(BackgroundTest, Theme) {
    const rt::ByteString picture = TwoColourPng(20, 20, RGB(0, 128, 0), RGB(0, 128, 0));
    skin::ThemeColor = 1;
    skin::GlobalPicture = {1, 2, 3};
    Engine->SetSkinTheme();
    EXPECT_EQ(skin::ThemeColor, 0x00DDCA22u) << "nothing given restores the accent";
    EXPECT_EQ(skin::GlobalPicture, (rt::ByteString{1, 2, 3}));

    Engine->SetSkinTheme({}, &picture, {}, -1);
    EXPECT_EQ(skin::GlobalPictureColor, 0xFF008000u);
    EXPECT_EQ(skin::ThemeColor, 0xFF008000u);
    EXPECT_EQ(skin::GlobalPictureMode, 4) << "no mode given";
    EXPECT_EQ(skin::GlobalPicture, picture);

    Engine->SetSkinTheme({}, &picture, RGB(1, 2, 3), 0x123456, 0);
    EXPECT_EQ(skin::GlobalPictureColor, RGB(1, 2, 3));
    EXPECT_EQ(skin::ThemeColor, 0x123456u);
    EXPECT_EQ(skin::GlobalPictureMode, 0);
    drw::BitmapObject faded;
    ASSERT_TRUE(faded.FromBytes(skin::GlobalPicture));
    EXPECT_EQ(faded.GetWidth(), 20u);

    Engine->SetSkinTheme({}, nullptr, RGB(9, 9, 9), -1);
    EXPECT_TRUE(skin::GlobalPicture.empty());
    EXPECT_EQ(skin::GlobalPictureColor, RGB(9, 9, 9));
    EXPECT_EQ(skin::ThemeColor, RGB(9, 9, 9));
    EXPECT_EQ(skin::GlobalPictureMode, 0) << "a colour alone keeps the mode";
    EXPECT_EQ(Engine->GetPictureColor(), RGB(9, 9, 9));

    // A file wins over the bytes and is stored as PNG bytes.
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "bg", 0, path);
    const rt::ByteString bmp = res::SkinBackground();
    ASSERT_TRUE(rt::WriteFileBytes(path, bmp));
    Engine->SetSkinTheme(rt::AnsiText(path), &picture, {}, {}, 3);
    DeleteFileA(path);
    drw::BitmapObject loaded;
    ASSERT_TRUE(loaded.FromBytes(skin::GlobalPicture));
    EXPECT_EQ(loaded.GetWidth(), 624u);
    EXPECT_EQ(loaded.GetRawFormat(), drw::ImageFormatPNG);
    EXPECT_EQ(skin::GlobalPictureColor, skin::AverageImageColor(bmp, 2000));
}

TEST_F(BackgroundTest, WindowPicture) {
    const rt::ByteString picture = TwoColourPng(20, 20, RGB(0, 0, 200), RGB(0, 0, 200));
    HWND window = MakeWindow(300, 200);
    const int record = Attach(window);
    HWND stranger = MakeWindow(100, 100);
    EXPECT_EQ(Engine->SetWindowBackground(stranger, picture, 2), 0);
    EXPECT_EQ(Engine->SetWindowBackground(window, {}, 2), 0);

    skin::SkinWindowTable[record].RenderNeeded = 0;
    ASSERT_EQ(Engine->SetWindowBackground(window, picture, 2), 1);
    const skin::SkinWindowRecord& r = skin::SkinWindowTable[record];
    EXPECT_EQ(r.PictureMode, 2);
    EXPECT_EQ(r.PictureColor, 0xFFC80000u);
    EXPECT_EQ(r.Picture, picture);
    EXPECT_EQ(r.RenderNeeded, 1);
    ASSERT_EQ(Engine->SetWindowBackground(window, picture), 1);
    EXPECT_EQ(r.PictureMode, 2) << "no mode given keeps the mode";
    const rt::ByteString halves = TwoColourPng(20, 20, RGB(0, 0, 200), RGB(200, 0, 0));
    ASSERT_EQ(Engine->SetWindowBackground(window, halves, 1), 1);
    EXPECT_NE(r.Picture, halves) << "the corner layouts store the faded picture";
    drw::BitmapObject faded;
    ASSERT_TRUE(faded.FromBytes(r.Picture));
    EXPECT_TRUE(Near(faded.GetPixel(0, 0), r.PictureColor & 0xFFFFFF, 12)) << "left edge faded";
}

// A window's own picture, given to AttachSkin or to SetWindowBackground, is
// kept with its average colour; the corner layouts keep it with two edges
// faded into that colour (0: right and bottom, 1: left and bottom), every
// other layout keeps the bytes.
TEST_F(BackgroundTest, OwnPictureOfAWindowByLayout) {
    const COLORREF red = RGB(200, 0, 0), blue = RGB(0, 0, 200);
    const rt::ByteString halves = TwoColourPng(100, 60, red, blue);
    struct Case {
        int mode;
        bool leftFaded, rightFaded;
    };
    const Case cases[] = {{0, false, true}, {1, true, false}, {2, false, false},
                          {3, false, false}, {4, false, false}};
    for (bool byAttach : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (byAttach ? "AttachSkin" : "SetWindowBackground")
                                            << ", mode " << c.mode);
            HWND window = MakeWindow(300, 200);
            if (byAttach) {
                Engine->AttachSkin(window, {}, 1, 0, 0, 0, 1, 0, {}, nullptr, &halves, c.mode);
            } else {
                Attach(window);
                ASSERT_EQ(Engine->SetWindowBackground(window, halves, c.mode), 1);
            }
            const skin::SkinWindowRecord& r =
                skin::SkinWindowTable[skin::FindWindowRecord(window)];
            EXPECT_EQ(r.PictureMode, c.mode);
            // Every sample is red or blue: the two means add up to 200, less
            // what the truncations take.
            const COLORREF mean = r.PictureColor;
            EXPECT_EQ(mean >> 24, 0xFFu);
            EXPECT_EQ(GetGValue(mean), 0);
            EXPECT_GT(GetRValue(mean), 0);
            EXPECT_GT(GetBValue(mean), 0);
            EXPECT_GE(GetRValue(mean) + GetBValue(mean), 198);
            if (!c.leftFaded && !c.rightFaded) {
                EXPECT_EQ(r.Picture, halves);
            } else {
                drw::BitmapObject kept;
                ASSERT_TRUE(kept.FromBytes(r.Picture));
                ASSERT_EQ(kept.GetWidth(), 100u);
                const COLORREF faded = mean & 0xFFFFFF;
                EXPECT_TRUE(Near(kept.GetPixel(0, 10), c.leftFaded ? faded : red,
                                 c.leftFaded ? 20 : 0));
                EXPECT_TRUE(Near(kept.GetPixel(99, 10), c.rightFaded ? faded : blue,
                                 c.rightFaded ? 20 : 0));
                EXPECT_TRUE(Near(kept.GetPixel(50, 59), faded, 20)) << "bottom edge";
            }
            DestroyWindow(window);
        }
    }
}

// A new theme is drawn at once into every visible skinned window's cache and
// the window and its visible children are invalidated; a hidden window is
// left to render when it is shown.
TEST_F(BackgroundTest, ThemeRepaintsTheVisibleWindowsOnly) {
    HWND shown = MakeWindow(300, 200);
    HWND hidden = MakeWindow(300, 200);
    ShowWindow(hidden, SW_HIDE);
    const int shownRecord = Attach(shown);
    const int hiddenRecord = Attach(hidden);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 20, 60, 50, 20, shown,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    Engine->RenderWindow(shownRecord, 0);
    Engine->RenderWindow(hiddenRecord, 0);
    const COLORREF before = skin::GlobalPictureColor & 0xFFFFFF;
    ASSERT_TRUE(Near(GrabCache(shownRecord).At(150, 100), before, 0));
    UpdateWindow(shown);
    ValidateRect(shown, nullptr);
    ValidateRect(child, nullptr);

    Engine->SetSkinTheme({}, nullptr, RGB(200, 30, 30));
    EXPECT_TRUE(Near(GrabCache(shownRecord).At(150, 100), RGB(200, 30, 30), 0));
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(shown, &update, FALSE));
    EXPECT_TRUE(GetUpdateRect(child, &update, FALSE));
    EXPECT_TRUE(Near(GrabCache(hiddenRecord).At(150, 100), before, 0));
}
