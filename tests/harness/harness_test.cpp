// The test machine itself: Wine must give the program the Chinese code page,
// a display and the "宋体" font, or every other window test means little.
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

TEST(Harness, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

TEST(Harness, GbkLiteralsAreGbkBytes) {
    const char* text = "打开文件";
    EXPECT_STREQ(text, "\xb4\xf2\xbf\xaa\xce\xc4\xbc\xfe");
}


TEST(Harness, SongtiIsAFontFamilyForGdiplus) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    Gdiplus::GpFontFamily* family = nullptr;
    EXPECT_EQ(Gdiplus::DllExports::GdipCreateFontFamilyFromName(L"\u5b8b\u4f53", nullptr, &family),
              Gdiplus::Ok);
    if (family) Gdiplus::DllExports::GdipDeleteFontFamily(family);
    Gdiplus::GdiplusShutdown(token);
}

TEST(Harness, SongtiDrawsChineseGlyphs) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 40, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    RECT all = {0, 0, 40, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HFONT font = CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ oldFont = SelectObject(dc, font);
    TextOutA(dc, 4, 4, "汉", 2);
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (GetRValue(GetPixel(dc, x, y)) < 128) ++dark;
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(font);
    DeleteObject(bmp);
    DeleteDC(dc);
    // A missing glyph draws nothing or a hollow box; an ideograph has many strokes.
    EXPECT_GT(dark, 40);
}

TEST(Harness, DisplayIsThere) {
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 698);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 501);
}
