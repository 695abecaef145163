#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/guards.h"
#include "support/test_dib.h"

namespace {

TEST(AdjustDIBits, RoundsUpToSupportedDepths)
{
    const struct {
        unsigned requested, made;
    } cases[] = {{0, 24}, {1, 1}, {2, 4}, {3, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 24}, {16, 24}, {24, 24}, {32, 24}};
    for (const auto& c : cases)
        EXPECT_EQ(AdjustDIBits(c.requested), c.made) << c.requested;
}

struct LayoutCase {
    const char* name;
    int width, height, bits;
    unsigned madeBits;
    uint32_t colours;
    uint64_t stride;
};

const LayoutCase layouts[] = {
    {"one_bit_1px", 1, 3, 1, 1, 2, 4},       {"one_bit_33px", 33, 2, 1, 1, 2, 8},
    {"four_bit_9px", 9, 2, 4, 4, 16, 8},     {"depth2_is_4", 3, 1, 2, 4, 16, 4},
    {"eight_bit_5px", 5, 2, 8, 8, 256, 8},   {"24_bit_1px", 1, 1, 24, 24, 0, 4},
    {"24_bit_3px", 3, 2, 24, 24, 0, 12},     {"depth16_is_24", 2, 2, 16, 24, 0, 8},
    {"depth32_is_24", 2, 2, 32, 24, 0, 8},   {"empty", 0, 0, 8, 8, 256, 0},
};

TEST(CreateDib, LaysOutHeaderTableAndRows)
{
    uint8_t palette[PALETTE_BYTES];
    GetDefaultPalette(palette, nullptr, PALETTE_STANDARD);
    for (const LayoutCase& c : layouts) {
        SCOPED_TRACE(c.name);
        TestDib dib(CreateDib(c.width, c.height, palette, c.bits));
        ASSERT_NE(dib.header, nullptr);
        const BITMAPINFOHEADER* h = dib.header;
        EXPECT_EQ(h->biSize, 40u);
        EXPECT_EQ(h->biWidth, c.width);
        EXPECT_EQ(h->biHeight, c.height);
        EXPECT_EQ(h->biPlanes, 1);
        EXPECT_EQ(h->biBitCount, c.madeBits);
        EXPECT_EQ(h->biCompression, 0u);
        EXPECT_EQ(h->biClrUsed, c.colours);
        EXPECT_EQ(h->biSizeImage, c.stride * c.height);
        EXPECT_EQ(DibStride(c.width, c.madeBits), c.stride);
        EXPECT_EQ(GlobalSize(dib.mem), 40 + 4 * c.colours + c.stride * c.height);
        // The colour table is blue, green, red, 0.
        if (c.colours >= 4) {
            const auto* table = reinterpret_cast<const uint8_t*>(h) + 40;
            EXPECT_EQ(table[3 * 4 + 0], 255);  // entry 3 is (0, 0, 255)
            EXPECT_EQ(table[3 * 4 + 2], 0);
            EXPECT_EQ(table[3 * 4 + 3], 0);
        }
    }
}

TEST(CreateDib, RefusesNegativeAndOversizedPictures)
{
    const struct {
        int width, height, bits;
    } cases[] = {{-1, 10, 8}, {10, -1, 8}, {70000, 70000, 24}, {0x7FFFFFFF, 1, 24}, {0x7FFFFFFF, 17, 1},
                 {65536, 65536, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(CreateDib(c.width, c.height, nullptr, c.bits), nullptr) << c.width << " x " << c.height;
}

TEST(DibPixels, AddressBottomUp)
{
    TestDib dib(CreateDib(3, 2, nullptr, 24));
    uint8_t* rows = DibPixels(dib.header);
    // The first stored row is the bottom row of the picture.
    rows[0] = 0x10;
    rows[1] = 0x20;
    rows[2] = 0x30;
    EXPECT_EQ(GetDibPixel(dib.header, 0, 1), 0x00102030);
    EXPECT_EQ(GetDibPixel(dib.header, 0, 0), 0);
    PutDibPixel(dib.header, 2, 0, 0x00AABBCC);
    const uint8_t* top = rows + 12;
    EXPECT_EQ(top[6], 0xAA);  // blue first
    EXPECT_EQ(top[7], 0xBB);
    EXPECT_EQ(top[8], 0xCC);
}

TEST(DibPixels, RoundTripAtEveryDepth)
{
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        TestDib dib(CreateDib(17, 5, nullptr, bits));
        const long mask = bits == 24 ? 0xFFFFFF : (1L << bits) - 1;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 17; ++x)
                PutDibPixel(dib.header, x, y, (x * 7 + y * 13 + 1) * 0x10101 & mask);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 17; ++x)
                ASSERT_EQ(GetDibPixel(dib.header, x, y), (x * 7 + y * 13 + 1) * 0x10101 & mask) << x << "," << y;
    }
}

TEST(DibPixels, BitAndNibbleOrder)
{
    TestDib one(CreateDib(8, 1, nullptr, 1));
    PutDibPixel(one.header, 0, 0, 1);
    PutDibPixel(one.header, 7, 0, 5);
    EXPECT_EQ(DibPixels(one.header)[0], 0x81);
    PutDibPixel(one.header, 0, 0, 0);
    EXPECT_EQ(DibPixels(one.header)[0], 0x01);

    TestDib four(CreateDib(2, 1, nullptr, 4));
    PutDibPixel(four.header, 0, 0, 0x3C);  // low four bits only
    PutDibPixel(four.header, 1, 0, 0x5);
    EXPECT_EQ(DibPixels(four.header)[0], 0xC5);
}

TEST(DibPixels, OutsideAndMinusOneAreIgnored)
{
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        TestDib dib(CreateDib(4, 3, nullptr, bits));
        const size_t bytes = GlobalSize(dib.mem) - 40 - 4 * DibColourCount(dib.header->biBitCount);
        uint8_t* rows = DibPixels(dib.header);
        std::memset(rows, 0xAA, bytes);
        const std::vector<uint8_t> before(rows, rows + bytes);
        for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {-5, -5}, {0x7FFFFFFF, 1}})
            PutDibPixel(dib.header, x, y, 0);
        PutDibPixel(dib.header, 1, 1, -1);
        EXPECT_TRUE(std::vector<uint8_t>(rows, rows + bytes) == before);
        EXPECT_EQ(GetDibPixel(dib.header, -1, 0), -1);
        EXPECT_EQ(GetDibPixel(dib.header, 0, 3), -1);
        EXPECT_EQ(GetDibPixel(dib.header, 4, 2), -1);
    }
}

TEST(DibPixels, UnsupportedDepthsAnswerMinusOne)
{
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = h.biHeight = 2;
    h.biBitCount = 16;
    EXPECT_EQ(GetDibPixel(&h, 0, 0), -1);
    // A header with negative sizes describes no pixels at all.
    h.biBitCount = 8;
    h.biHeight = -2;
    EXPECT_EQ(GetDibPixel(&h, 0, 0), -1);
    EXPECT_EQ(DibBytes(&h), 0u);
}

TEST(DibFits, ChecksTheWholeDibAgainstItsBlock)
{
    TestDib dib(CreateDib(10, 10, nullptr, 8));
    const SIZE_T size = GlobalSize(dib.mem);
    EXPECT_TRUE(DibFits(dib.header, size));
    EXPECT_FALSE(DibFits(dib.header, size - 1));
    EXPECT_FALSE(DibFits(dib.header, 39));
}

TEST(GetBitmapDimensions, ReportsSizeDepthAndPalette)
{
    uint8_t standard[PALETTE_BYTES];
    GetDefaultPalette(standard, nullptr, PALETTE_STANDARD);
    TestDib dib(CreateDib(7, 9, standard, 8));
    int w = 0, h = 0, bits = 0;
    uint8_t palette[PALETTE_BYTES];
    ASSERT_EQ(GetBitmapDimensions(dib.mem, &w, &h, &bits, palette), 1);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 9);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(std::memcmp(palette, standard, sizeof palette), 0);
    EXPECT_EQ(GetBitmapDimensions(dib.mem, nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(GetBitmapDimensions(nullptr, &w, &h, &bits, nullptr), 0);
}

TEST(CopyBitmapToHandle, CopiesAFrameOutOfALargerBlock)
{
    uint8_t palette[PALETTE_BYTES];
    GetDefaultPalette(palette, nullptr, PALETTE_STANDARD);
    TestDib frame(CreateDib(5, 3, palette, 4));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            PutDibPixel(frame.header, x, y, x + y);
    // The frame inside a bigger payload, after some other bytes.
    const SIZE_T size = GlobalSize(frame.mem);
    GlobalBlockGuard payload(GlobalAlloc(GMEM_MOVEABLE, 64 + size));
    GlobalLockGuard<uint8_t> bytes(payload.get());
    std::memset(bytes.get(), 0xEE, 64);
    std::memcpy(bytes.get() + 64, frame.header, size);

    TestDib copy(CopyBitmapToHandle(reinterpret_cast<const BITMAPINFOHEADER*>(bytes.get() + 64)));
    ASSERT_NE(copy.header, nullptr);
    EXPECT_EQ(GlobalSize(copy.mem), size);
    EXPECT_EQ(std::memcmp(copy.header, frame.header, size), 0);

    BITMAPINFOHEADER deep = *frame.header;
    deep.biBitCount = 32;
    EXPECT_EQ(CopyBitmapToHandle(&deep), nullptr);
}

TEST(DuplicateObject, CopiesAnyBlock)
{
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 33);
    std::memset(GlobalLockGuard<uint8_t>(mem).get(), 0x5C, 33);
    HGLOBAL copy = DuplicateObject(mem);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, mem);
    EXPECT_EQ(GlobalSize(copy), 33u);
    EXPECT_EQ(GlobalLockGuard<uint8_t>(copy).get()[32], 0x5C);
    EXPECT_EQ(DuplicateObject(nullptr), nullptr);
    GlobalFree(copy);
    GlobalFree(mem);
}

TEST(WriteObject, WritesTheWholeBlock)
{
    const std::string path = testing::TempDir() + "vistrel-writeobject.bin";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 1000);
    std::memset(GlobalLockGuard<uint8_t>(mem).get(), 0x42, 1000);
    ASSERT_EQ(WriteObject(nullptr, path.c_str(), mem), 1);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> back(2000);
    EXPECT_EQ(std::fread(back.data(), 1, back.size(), f), 1000u);
    std::fclose(f);
    EXPECT_EQ(back[999], 0x42);
    std::remove(path.c_str());
    // A path that cannot be created leaves nothing behind.
    EXPECT_EQ(WriteObject(nullptr, (testing::TempDir() + "no-such-dir/x/y.bin").c_str(), mem), 0);
    GlobalFree(mem);
}

TEST(Rect, WidthAndDepth)
{
    RECT r{10, 20, 15, 50};
    EXPECT_EQ(RectWidth(&r), 5);
    EXPECT_EQ(RectDepth(&r), 30);
}

}  // namespace
