#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "imaging/dib.h"
#include "imaging/palette.h"
#include "imaging/reduce.h"
#include "support/test_dib.h"

namespace {

using Rgb = std::array<int, 3>;

class Reduce : public testing::Test {
protected:
    void SetUp() override { GetDefaultPalette(standard, nullptr, PALETTE_STANDARD); }

    // A 24-bit picture from rows given top to bottom.
    HGLOBAL Picture(const std::vector<std::vector<Rgb>>& rows)
    {
        const int h = static_cast<int>(rows.size());
        const int w = static_cast<int>(rows[0].size());
        HGLOBAL mem = CreateDib(w, h, nullptr, 24);
        auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(mem));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                PutDibPixel(header, x, y, RGB(rows[y][x][0], rows[y][x][1], rows[y][x][2]));
        GlobalUnlock(mem);
        return mem;
    }

    std::vector<std::vector<long>> Indices(HGLOBAL mem)
    {
        TestDib dib(mem);
        std::vector<std::vector<long>> out;
        if (!dib.header)
            return out;
        EXPECT_EQ(dib.header->biBitCount, 8);
        for (int y = 0; y < dib.header->biHeight; ++y) {
            out.emplace_back();
            for (int x = 0; x < dib.header->biWidth; ++x)
                out.back().push_back(dib.Pixel(x, y));
        }
        return out;
    }

    uint8_t standard[PALETTE_BYTES];
};

struct DitherCase {
    const char* name;
    std::vector<std::vector<Rgb>> rows;   // top to bottom
    std::vector<std::vector<long>> expected;
};

// (128, 128, 128) dithers to entry 146, (144, 144, 170), leaving the errors
// -16, -16, -42. Each neighbour below sits just across an index boundary, so
// the share it receives shows in its index. Rows are processed bottom first.
const Rgb grey{128, 128, 128};
const DitherCase ditherCases[] = {
    {"white_and_black", {{{255, 255, 255}, {0, 0, 0}}}, {{255, 0}}},
    {"grey_left_end", {{grey}}, {{146}}},
    // Right: -7, -7, -19. Red 39 stays at 32 and above, green 38 falls below.
    {"right_share", {{grey, {39, 38, 83}}}, {{146, 32 | 0 | 1}}},
    {"right_share_blue", {{grey, {0, 0, 82}}}, {{146, 0}}},
    // Below: -5, -5, -14 (one pixel wide: only this share moves up).
    {"below_share", {{{36, 37, 78}}, {grey}}, {{0 | 4 | 1}, {146}}},
    {"below_share_blue", {{{0, 0, 77}}, {grey}}, {{0}, {146}}},
    // Below-right: -1, -1, -3.
    {"below_right_share", {{{0, 0, 0}, {32, 33, 67}}, {grey, {0, 0, 0}}}, {{0, 4 | 1}, {146, 0}}},
    {"below_right_share_blue", {{{0, 0, 0}, {0, 0, 66}}, {grey, {0, 0, 0}}}, {{0, 0}, {146, 0}}},
    // Below-left: -3 from x = 2 and on, never into column 0.
    {"no_below_left_from_x1", {{{32, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, grey}}, {{32, 0}, {0, 146}}},
    {"below_left_from_x2", {{{0, 0, 0}, {32, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, {0, 0, 0}, grey}},
     {{0, 0, 0}, {0, 0, 146}}},
};

TEST_F(Reduce, DitherSpreadsTheErrorShares)
{
    for (const DitherCase& c : ditherCases) {
        SCOPED_TRACE(c.name);
        HGLOBAL source = Picture(c.rows);
        HGLOBAL out = DitherDib(source, standard, 8, 0);
        ASSERT_NE(out, nullptr);
        {
                auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(out));
            uint8_t palette[PALETTE_BYTES];
            EXPECT_EQ(GetDibPalette(header, palette), 256);
            EXPECT_EQ(std::memcmp(palette, standard, sizeof palette), 0);
            GlobalUnlock(out);
        }
        EXPECT_EQ(Indices(out), c.expected);
        GlobalFree(source);
    }
}

TEST_F(Reduce, DitherReadsPaletteSources)
{
    uint8_t colours[PALETTE_BYTES] = {};
    colours[3 * 5 + 0] = 255;  // entry 5 is red
    for (int bits : {4, 8}) {
        SCOPED_TRACE(bits);
        HGLOBAL source = CreateDib(3, 1, colours, bits);
        {
                auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(source));
            PutDibPixel(header, 1, 0, 5);
            GlobalUnlock(source);
        }
        HGLOBAL out = DitherDib(source, standard, 8, 0);
        EXPECT_EQ(Indices(out), (std::vector<std::vector<long>>{{0, 224, 0}}));
        GlobalFree(source);
    }
}

TEST_F(Reduce, RefusedSources)
{
    HGLOBAL one = CreateDib(4, 4, standard, 1);
    EXPECT_EQ(DitherDib(one, standard, 8, 0), nullptr);
    GlobalFree(one);

    // Depths the pixel routines do not read, and a header promising more
    // rows than its block holds.
    HGLOBAL deep = CreateDib(4, 4, nullptr, 24);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(deep));
    for (WORD bits : {WORD{16}, WORD{32}}) {
        header->biBitCount = bits;
        GlobalUnlock(deep);
        EXPECT_EQ(DitherDib(deep, standard, 8, 0), nullptr) << bits;
        EXPECT_EQ(RemapDib(deep, standard, 8, 0), nullptr) << bits;
        header = static_cast<BITMAPINFOHEADER*>(GlobalLock(deep));
    }
    header->biBitCount = 24;
    header->biHeight = 5;
    GlobalUnlock(deep);
    EXPECT_EQ(DitherDib(deep, standard, 8, 0), nullptr);
    EXPECT_EQ(RemapDib(deep, standard, 8, 0), nullptr);
    // No rows: nothing bounds the width by the block, so nothing is read
    // or allocated for it.
    header = static_cast<BITMAPINFOHEADER*>(GlobalLock(deep));
    header->biHeight = 0;
    header->biWidth = 0x7FFFFFFF;
    GlobalUnlock(deep);
    EXPECT_EQ(DitherDib(deep, standard, 8, 0), nullptr);
    EXPECT_EQ(RemapDib(deep, standard, 8, 0), nullptr);
    GlobalFree(deep);
    EXPECT_EQ(DitherDib(nullptr, standard, 8, 0), nullptr);
    EXPECT_EQ(RemapDib(nullptr, standard, 8, 0), nullptr);
}

TEST_F(Reduce, RemapOneBitGivesBlackAndWhite)
{
    // The two colours of the source are not consulted.
    uint8_t colours[PALETTE_BYTES] = {9, 9, 9, 50, 60, 70};
    HGLOBAL source = CreateDib(9, 2, colours, 1);
    {
        auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(source));
        PutDibPixel(header, 0, 0, 1);
        PutDibPixel(header, 8, 1, 1);
        GlobalUnlock(source);
    }
    HGLOBAL out = RemapDib(source, standard, 8, 0);
    EXPECT_EQ(Indices(out), (std::vector<std::vector<long>>{{255, 0, 0, 0, 0, 0, 0, 0, 0},
                                                            {0, 0, 0, 0, 0, 0, 0, 0, 255}}));
    GlobalFree(source);
}

TEST_F(Reduce, RemapKeepsPicturesAlreadyOnTheStandardPalette)
{
    HGLOBAL source = CreateDib(16, 16, standard, 8);
    {
        auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(source));
        for (int i = 0; i < 256; ++i)
            PutDibPixel(header, i % 16, i / 16, i);
        GlobalUnlock(source);
    }
    std::vector<std::vector<long>> expected(16, std::vector<long>(16));
    for (int i = 0; i < 256; ++i)
        expected[i / 16][i % 16] = i;
    EXPECT_EQ(Indices(RemapDib(source, standard, 8, 0)), expected);
    GlobalFree(source);
}

TEST_F(Reduce, RemapMapsByNearestColourAndTruncatesFullColour)
{
    uint8_t colours[PALETTE_BYTES] = {};
    colours[3 * 1 + 1] = 250;  // entry 1: nearly green
    HGLOBAL four = CreateDib(2, 1, colours, 4);
    {
        auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(four));
        PutDibPixel(header, 1, 0, 1);
        GlobalUnlock(four);
    }
    EXPECT_EQ(Indices(RemapDib(four, standard, 8, 0)), (std::vector<std::vector<long>>{{0, 28}}));
    GlobalFree(four);

    // No diffusion at 24 bits: (128, 128, 128) twice gives 146 twice.
    HGLOBAL deep = Picture({{grey, grey}, {{255, 255, 255}, {0, 0, 0}}});
    EXPECT_EQ(Indices(RemapDib(deep, standard, 8, 0)), (std::vector<std::vector<long>>{{146, 146}, {255, 0}}));
    GlobalFree(deep);
}

}  // namespace
