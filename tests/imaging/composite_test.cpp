#include <gtest/gtest.h>

#include <cstring>

#include "imaging/composite.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "support/test_dib.h"

namespace {

TEST(CropImage, KeepsTheRectangleAtTheSameDepthAndPalette)
{
    uint8_t standard[PALETTE_BYTES];
    GetDefaultPalette(standard, nullptr, PALETTE_STANDARD);
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        TestDib source(CreateDib(10, 8, standard, bits));
        const long mask = bits == 24 ? 0xFFFFFF : (1L << bits) - 1;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                source.Put(x, y, (x * 3 + y * 5 + 1) & mask);
        TestDib cropped(CropImage(source.mem, RECT{2, 3, 7, 8}));
        ASSERT_NE(cropped.header, nullptr);
        EXPECT_EQ(cropped.header->biWidth, 5);
        EXPECT_EQ(cropped.header->biHeight, 5);
        EXPECT_EQ(cropped.header->biBitCount, bits);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(cropped.Pixel(x, y), source.Pixel(x + 2, y + 3)) << x << "," << y;
        if (bits <= 8) {
            uint8_t palette[PALETTE_BYTES];
            GetDibPalette(cropped.header, palette);
            EXPECT_EQ(std::memcmp(palette, standard, 3 << bits), 0);
        }
    }
}

TEST(CropImage, OutsideTheSourceStaysZero)
{
    TestDib source(CreateDib(4, 4, nullptr, 24));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.Put(x, y, 0x123456);
    TestDib cropped(CropImage(source.mem, RECT{-2, 2, 6, 7}));
    ASSERT_NE(cropped.header, nullptr);
    EXPECT_EQ(cropped.header->biWidth, 8);
    EXPECT_EQ(cropped.header->biHeight, 5);
    EXPECT_EQ(cropped.Pixel(0, 0), 0);
    EXPECT_EQ(cropped.Pixel(2, 0), 0x123456);
    EXPECT_EQ(cropped.Pixel(5, 1), 0x123456);
    EXPECT_EQ(cropped.Pixel(6, 1), 0);
    EXPECT_EQ(cropped.Pixel(2, 2), 0);
    EXPECT_EQ(CropImage(source.mem, RECT{5, 5, 4, 4}), nullptr);
    EXPECT_EQ(CropImage(nullptr, RECT{0, 0, 1, 1}), nullptr);
}

}  // namespace
