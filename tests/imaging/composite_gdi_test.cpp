#include <gtest/gtest.h>

#include <cstring>

#include "imaging/composite.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/gdi_guards.h"
#include "support/test_canvas.h"
#include "support/test_dib.h"

namespace {


constexpr COLORREF UNDER = RGB(10, 20, 30);

TEST(ShowTransparentDib, TwentyFourBitLeavesOutItsColour)
{
    TestCanvas canvas(8, 8, UNDER);
    TestDib picture(CreateDib(3, 2, nullptr, 24));
    picture.Put(0, 0, RGB(255, 0, 0));
    picture.Put(1, 0, 0);  // black: the transparent colour here
    picture.Put(2, 0, RGB(0, 255, 0));
    picture.Put(0, 1, RGB(0, 0, 255));
    ASSERT_EQ(ShowTransparentDib(canvas.dc, nullptr, picture.header, 2, 3, 0), 1);
    EXPECT_EQ(canvas.At(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(3, 3), UNDER);
    EXPECT_EQ(canvas.At(4, 3), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(2, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(3, 4), UNDER);  // black too
    EXPECT_EQ(canvas.At(5, 3), UNDER);
    EXPECT_EQ(canvas.At(1, 3), UNDER);
}

TEST(ShowTransparentDib, PalettePictureUsesTheFirstEntryOfTheColour)
{
    uint8_t colours[PALETTE_BYTES] = {};
    // Entries 1 and 2 are both magenta: only index 1 is transparent.
    colours[3] = 255, colours[5] = 255;
    colours[6] = 255, colours[8] = 255;
    colours[9] = 255;  // entry 3: red
    TestCanvas canvas(4, 1, UNDER);
    TestDib picture(CreateDib(4, 1, colours, 8));
    picture.Put(0, 0, 1);
    picture.Put(1, 0, 2);
    picture.Put(2, 0, 3);
    picture.Put(3, 0, 0);
    ASSERT_EQ(ShowTransparentDib(canvas.dc, nullptr, picture.header, 0, 0, RGB(255, 0, 255)), 1);
    EXPECT_EQ(canvas.At(0, 0), UNDER);
    EXPECT_EQ(canvas.At(1, 0), RGB(255, 0, 255));
    EXPECT_EQ(canvas.At(2, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));

    // A colour the table does not hold: all of the picture is drawn.
    TestCanvas opaque(4, 1, UNDER);
    ASSERT_EQ(ShowTransparentDib(opaque.dc, nullptr, picture.header, 0, 0, RGB(1, 2, 3)), 1);
    EXPECT_EQ(opaque.At(0, 0), RGB(255, 0, 255));
    EXPECT_EQ(opaque.At(3, 0), RGB(0, 0, 0));
}

TEST(DrawBitmap, DrawsTheWholePictureWithTheRasterOperation)
{
    TestCanvas canvas(6, 6, RGB(0, 0, 0));
    TestDib picture(CreateDib(2, 2, nullptr, 24));
    for (int i = 0; i < 4; ++i)
        picture.Put(i % 2, i / 2, RGB(40 * i, 100, 200));
    GlobalUnlock(picture.mem);
    DrawBitmap(canvas.dc, 3, 1, picture.mem, SRCCOPY);
    GlobalLock(picture.mem);
    EXPECT_EQ(canvas.At(3, 1), RGB(0, 100, 200));
    EXPECT_EQ(canvas.At(4, 2), RGB(120, 100, 200));
    EXPECT_EQ(canvas.At(5, 1), RGB(0, 0, 0));
    DrawBitmap(canvas.dc, 0, 0, nullptr, SRCCOPY);  // nothing to draw
}

TEST(CopyScreenToBitmap, ClipsToTheDevice)
{
    HDC screen = GetDC(nullptr);
    const int w = GetDeviceCaps(screen, HORZRES);
    const int h = GetDeviceCaps(screen, VERTRES);
    const struct {
        RECT rect;
        int width, height;
    } cases[] = {
        {{10, 10, 30, 25}, 20, 15},
        {{-5, -10, 20, 20}, 20, 20},
        {{w - 10, h - 5, w + 50, h + 50}, 10, 5},
    };
    for (const auto& c : cases) {
        GdiObjectGuard<HBITMAP> bitmap(CopyScreenToBitmap(screen, c.rect));
        ASSERT_TRUE(bitmap);
        BITMAP bm{};
        GetObjectA(bitmap.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, c.width);
        EXPECT_EQ(bm.bmHeight, c.height);
    }
    EXPECT_EQ(CopyScreenToBitmap(screen, RECT{5, 5, 5, 10}), nullptr);
    EXPECT_EQ(CopyScreenToBitmap(screen, RECT{w + 5, 0, w + 10, 10}), nullptr);
    ReleaseDC(nullptr, screen);
}

}  // namespace
