#include <gtest/gtest.h>

#include <cstring>

#include "show/format.h"

namespace {

struct TagCase {
    const char* letters;
    uint32_t tag;
    uint32_t headerSize;
};

const TagCase tags[] = {
    {"HEAD", TAG_HEAD, 2148}, {"IMAG", TAG_IMAG, 84}, {"TEXT", TAG_TEXT, 362}, {"SOND", TAG_SOND, 314},
    {"APPL", TAG_APPL, 56},   {"ANIM", TAG_ANIM, 64}, {"ENDB", TAG_ENDB, 52},  {"wave", TAG_WAVE, 0},
    {"midi", TAG_MIDI, 0},    {"pict", TAG_PICT, 0},  {"HEAd", MakeTag("HEAd"), 0},
};

TEST(BlockTags, AreTheirLettersReadAsLittleEndian)
{
    for (const TagCase& c : tags) {
        uint32_t fromFile;
        std::memcpy(&fromFile, c.letters, 4);
        EXPECT_EQ(fromFile, c.tag) << c.letters;
        EXPECT_EQ(HeaderSizeForTag(c.tag), c.headerSize) << c.letters;
    }
}

// Records are read straight from file bytes; a field out of place would read
// its neighbour.
TEST(BlockRecords, ReadTheirFieldsFromFileBytes)
{
    unsigned char bytes[TEXT_HEADER_SIZE] = {};
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(bytes + at, &v, 4); };
    put32(0, TAG_TEXT);
    put32(4, TEXT_HEADER_SIZE + 5);
    put32(8, BLOCK_VALID | TEXT_ERASE);
    put32(36, 0x00102030);
    put32(56, 4);
    put32(64, 7);
    std::memcpy(bytes + 68, "Arial", 6);
    bytes[TEXT_HEADER_SIZE - 1] = 0xEE;

    alignas(4) SCRTEXT text;
    std::memcpy(&text, bytes, sizeof text);
    EXPECT_EQ(text.tag, TAG_TEXT);
    EXPECT_EQ(text.size, TEXT_HEADER_SIZE + 5);
    EXPECT_EQ(text.flags, BLOCK_VALID | TEXT_ERASE);
    EXPECT_EQ(text.textColour, 0x00102030u);
    EXPECT_EQ(text.mode, 4);
    EXPECT_EQ(text.margin, 7);
    EXPECT_STREQ(text.faceName, "Arial");
    EXPECT_EQ(text.unread2[261], 0xEE);
}

}  // namespace
