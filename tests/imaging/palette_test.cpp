#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "imaging/dib.h"
#include "imaging/palette.h"
#include "support/test_dib.h"

namespace {

using Rgb = std::array<int, 3>;

Rgb Entry(const uint8_t* palette, int i) { return {palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]}; }

struct PaletteCase {
    const char* name;
    int type, bits, count;
    int index;
    Rgb colour;
};

const PaletteCase defaults[] = {
    {"standard_black", 6, 8, 256, 0, {0, 0, 0}},
    {"standard_white", 6, 8, 256, 255, {255, 255, 255}},
    {"standard_blue", 6, 8, 256, 3, {0, 0, 255}},
    {"standard_red", 6, 8, 256, 224, {255, 0, 0}},
    {"standard_146", 6, 8, 256, 146, {144, 144, 170}},
    {"unknown_type_is_standard", 42, 8, 256, 28, {0, 255, 0}},
    {"mono_black", 0, 1, 2, 0, {0, 0, 0}},
    {"mono_white", 0, 1, 2, 1, {255, 255, 255}},
    {"sixteen_silver", 1, 4, 16, 8, {192, 192, 192}},
    {"sixteen_white", 1, 4, 16, 15, {255, 255, 255}},
    {"thirtytwo", 2, 5, 32, 3 * 8 + 1 * 2 + 1, {255, 85, 255}},
    {"sixtyfour", 3, 6, 64, 1 * 16 + 2 * 4 + 3, {85, 170, 255}},
    {"onetwentyeight", 4, 7, 128, 2 * 32 + 7 * 4 + 1, {170, 255, 85}},
    {"grey", 8, 8, 256, 77, {77, 77, 77}},
    // The data resources are not part of this build: zero, counted all the same.
    {"resource_216", 5, 8, 216, 100, {0, 0, 0}},
    {"resource_256", 7, 8, 256, 100, {0, 0, 0}},
};

TEST(GetDefaultPalette, Entries)
{
    for (const PaletteCase& c : defaults) {
        SCOPED_TRACE(c.name);
        uint8_t palette[PALETTE_BYTES];
        std::memset(palette, 0xAA, sizeof palette);
        int bits = -1;
        EXPECT_EQ(GetDefaultPalette(palette, &bits, c.type), c.count);
        EXPECT_EQ(bits, c.bits);
        EXPECT_EQ(Entry(palette, c.index), c.colour);
        // Entries past the count are zero.
        for (int i = c.count; i < 256; ++i)
            ASSERT_EQ(Entry(palette, i), (Rgb{0, 0, 0})) << i;
    }
    EXPECT_EQ(GetDefaultPalette(nullptr, nullptr, 6), 256);
}

TEST(GetDibPalette, CopiesTheColourTable)
{
    uint8_t standard[PALETTE_BYTES], got[PALETTE_BYTES];
    GetDefaultPalette(standard, nullptr, PALETTE_STANDARD);
    TestDib four(CreateDib(2, 2, standard, 4));
    EXPECT_EQ(GetDibPalette(four.header, got), 16);
    EXPECT_EQ(std::memcmp(got, standard, 16 * 3), 0);
    for (int i = 16; i < 256; ++i)
        ASSERT_EQ(Entry(got, i), (Rgb{0, 0, 0}));

    TestDib deep(CreateDib(2, 2, nullptr, 24));
    std::memset(got, 0xAA, sizeof got);
    EXPECT_EQ(GetDibPalette(deep.header, got), 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Entry(got, i), (Rgb{0, 0, 0}));
}

TEST(FindPaletteColour, ExactThenNearestWithLowestIndexOnTies)
{
    uint8_t standard[PALETTE_BYTES];
    GetDefaultPalette(standard, nullptr, PALETTE_STANDARD);
    EXPECT_EQ(FindPaletteColour(0, 255, 0, standard, 256), 28);
    EXPECT_EQ(FindPaletteColour(144, 144, 170, standard, 256), 146);
    EXPECT_EQ(FindPaletteColour(1, 1, 1, standard, 256), 0);
    EXPECT_EQ(FindPaletteColour(250, 250, 250, standard, 256), 255);
    EXPECT_EQ(FindPaletteColour(10, 20, 30, standard, 0), 0);

    // (10, 0, 0) lies 5 from both (5, 0, 0) and (15, 0, 0): the lower index wins.
    uint8_t pair[PALETTE_BYTES] = {15, 0, 0, 5, 0, 0, 5, 0, 0};
    EXPECT_EQ(FindPaletteColour(10, 0, 0, pair, 3), 0);
    pair[0] = 5;
    pair[3] = 15;
    EXPECT_EQ(FindPaletteColour(10, 0, 0, pair, 2), 0);
    // An exact match beats an earlier near one; duplicates give the first.
    EXPECT_EQ(FindPaletteColour(5, 0, 0, pair, 3), 0);
    EXPECT_EQ(FindPaletteColour(15, 0, 0, pair, 3), 1);
    // Green weighs more than red, red more than blue.
    uint8_t weighted[PALETTE_BYTES] = {0, 10, 0, 10, 0, 0, 0, 0, 10};
    EXPECT_EQ(FindPaletteColour(0, 0, 0, weighted, 3), 2);
    weighted[8] = 12;  // blue 12 (288) against red 10 (300)
    EXPECT_EQ(FindPaletteColour(0, 0, 0, weighted, 3), 2);
}

}  // namespace
