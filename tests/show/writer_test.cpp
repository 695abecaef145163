#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "support/show_fixture.h"

namespace {

uint32_t U32(const ShowBytes& b, size_t at)
{
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

TEST(ShowWriter, ReproducesTheWorkedExample)
{
    // One uncompressed 8-bit picture of 100 x 50, no preview picture.
    const ShowBytes dib = DibBytes(100, 50, 8);
    ASSERT_EQ(dib.size(), 6064u);
    SHOWWRITER w;
    ShowWriterBegin(&w);
    ShowWriteHead(&w, ShowDefaultHead("Example", 0));
    ShowWriteImage(&w, ImageHeader(), dib, false);
    const ShowBytes show = ShowWriterFinish(&w);

    ASSERT_EQ(show.size(), 8348u);
    EXPECT_EQ(U32(show, 0), TAG_HEAD);
    EXPECT_EQ(U32(show, 4), 2148u);
    EXPECT_EQ(U32(show, 2148), TAG_IMAG);
    EXPECT_EQ(U32(show, 2152), 6148u);
    EXPECT_EQ(U32(show, 2156), BLOCK_VALID);
    const size_t trailer = 8296;
    EXPECT_EQ(U32(show, trailer), TAG_ENDB);
    EXPECT_EQ(U32(show, trailer + 4), 52u);
    EXPECT_EQ(U32(show, trailer + 8), 0u);
    EXPECT_EQ(U32(show, trailer + 12) ^ SHOWLENGTH_MASK, 8348u);
    EXPECT_EQ(U32(show, trailer + 16) ^ HEADERCRC_MASK, crc32(0, show.data(), 2148));
}

TEST(ShowWriter, SetsFlagsAndCounts)
{
    SHOWWRITER w;
    ShowWriterBegin(&w);
    const ShowBytes preview = DibBytes(8, 8, 4);
    ShowWriteHead(&w, ShowDefaultHead("Flags", 0), &preview);
    ShowWriteImage(&w, ImageHeader(), DibBytes(8, 8, 8), true);
    ShowWriteApplet(&w, AppletHeader(), {{1, TAG_PICT, DibBytes(2, 2, 8)}}, {}, "end()", true);
    const ShowBytes show = ShowWriterFinish(&w);

    SCRHEAD head;
    std::memcpy(&head, show.data(), sizeof head);
    EXPECT_EQ(head.hasPreview, 1);
    EXPECT_EQ(head.flags & HEAD_HAS_PREVIEW, HEAD_HAS_PREVIEW);
    EXPECT_EQ(head.size, 2148 + preview.size());
    EXPECT_EQ(head.version, HEAD_VERSION);
    const size_t image = head.size;
    EXPECT_EQ(U32(show, image + 8), BLOCK_VALID | BLOCK_COMPRESSED);
    // Shows are written at level 9.
    EXPECT_EQ(show[image + IMAG_HEADER_SIZE], 0x78);
    EXPECT_EQ(show[image + IMAG_HEADER_SIZE + 1], 0xDA);
    const size_t applet = image + U32(show, image + 4);
    EXPECT_EQ(U32(show, applet + 8), BLOCK_VALID | BLOCK_COMPRESSED);
    EXPECT_EQ(U32(show, applet + 16), 1u);  // pictureCount
    EXPECT_EQ(U32(show, applet + 20), 0u);  // soundCount
    EXPECT_EQ(U32(show, applet + APPL_HEADER_SIZE), TAG_PICT);
}

TEST(ShowWriter, AppendsToAPlayerAndReplacesAnEarlierShow)
{
    const std::string player = testing::TempDir() + "vistrel-player.bin";
    const std::string first = testing::TempDir() + "vistrel-first.scr";
    const std::string second = testing::TempDir() + "vistrel-second.scr";
    {
        std::ofstream(player, std::ios::binary) << "MZ the player image";
    }
    auto show = [](const char* title) {
        SHOWWRITER w;
        ShowWriterBegin(&w);
        ShowWriteHead(&w, ShowDefaultHead(title, 0));
        return ShowWriterFinish(&w);
    };
    auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return ShowBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    std::string error;
    ASSERT_TRUE(ShowAppendToPlayer(player, first, show("one"), &error)) << error;
    ASSERT_TRUE(ShowAppendToPlayer(first, second, show("two"), &error)) << error;
    const ShowBytes bytes = read(second);
    ASSERT_EQ(bytes.size(), 19 + 2148 + 52u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 19), "MZ the player image");
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 19 + 828), "two");

    EXPECT_FALSE(ShowAppendToPlayer(testing::TempDir() + "no-such-player", first, show("x"), &error));
    EXPECT_NE(error.find("no-such-player"), std::string::npos);
    for (const std::string& path : {player, first, second})
        std::remove(path.c_str());
}

}  // namespace
