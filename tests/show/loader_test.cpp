#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "applet/objects.h"
#include "imaging/dib.h"
#include "platform/guards.h"
#include "show/blockstore.h"
#include "show/compress.h"
#include "show/loader.h"
#include "support/show_fixture.h"
#include "support/test_window.h"

#include <zlib.h>

namespace {

ShowBytes Finish(SHOWWRITER& w) { return ShowWriterFinish(&w); }

SHOWWRITER Begin(const ShowBytes* preview = nullptr)
{
    SHOWWRITER w;
    ShowWriterBegin(&w);
    ShowWriteHead(&w, ShowDefaultHead("Loader test", 0x00402010), preview);
    return w;
}

void PutU32(ShowBytes& show, size_t at, uint32_t value) { std::memcpy(show.data() + at, &value, 4); }

// Offset of the n-th block after HEAD in a finished show without preview.
size_t BlockAt(const ShowBytes& show, int n)
{
    size_t at = HEAD_HEADER_SIZE;
    for (int i = 0; i < n; ++i) {
        uint32_t size;
        std::memcpy(&size, show.data() + at + 4, 4);
        at += size;
    }
    return at;
}

class Loader : public testing::Test {
protected:
    void SetUp() override
    {
        std::memset(&set, 0, sizeof set);
        liveBefore = LiveGlobalBlocks();
    }
    void TearDown() override
    {
        FreeBlocks(w.window, &set);
        if (liveBefore >= 0) {
            EXPECT_EQ(LiveGlobalBlocks(), liveBefore) << "movable blocks left behind";
        }
    }

    int Load(const ShowBytes& show) { return LoadScrFile(w.list, &set, file.Write(show).c_str()); }
    LRESULT Count() { return SendMessageA(w.list, LB_GETCOUNT, 0, 0); }
    BLOCK Block(int index)
    {
        BLOCK b{};
        EXPECT_EQ(GetBlock(w.list, index, &b), 1) << index;
        return b;
    }

    TestWindow w;
    BLOCKSET set;
    ShowFileFixture file{testing::UnitTest::GetInstance()->current_test_info()->name()};
    long liveBefore = 0;
};

struct LoadCase {
    const char* name;
    std::function<ShowBytes()> show;
    int result;
    int items;  // blocks in the list afterwards, failed loads included
};

const LoadCase loadCases[] = {
    {"head_only",
     [] {
         SHOWWRITER w = Begin();
         return Finish(w);
     },
     1, 1},
    {"every_known_type",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteImage(&w, ImageHeader(), DibBytes(10, 10, 8), true);
         ShowWriteText(&w, TextHeader(), "Hello");
         ShowWriteSound(&w, SoundHeader(), ShowBytes(40, 1));
         ShowWriteApplet(&w, AppletHeader(), {{1, TAG_PICT, DibBytes(4, 4, 24)}}, {{2, TAG_MIDI, ShowBytes(9, 3)}},
                         "end()\n", true);
         ShowWriteAnimation(&w, AnimationHeader(), ShowBytes(100, 7), true);
         return Finish(w);
     },
     1, 6},
    {"unknown_block_is_skipped",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteImage(&w, ImageHeader(), DibBytes(4, 4, 8), false);
         SCRBLOCKHEADER unknown{MakeTag("XXXX"), 0, BLOCK_VALID};
         ShowWriteRaw(&w, &unknown, sizeof unknown, ShowBytes(20, 0xEE));
         // A second HEAD is an unknown block too.
         SCRHEAD head = ShowDefaultHead("second", 0);
         ShowWriteRaw(&w, &head, sizeof head, {});
         ShowWriteText(&w, TextHeader(), "after");
         return Finish(w);
     },
     1, 3},
    {"zero_size_unknown_ends_the_walk",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteImage(&w, ImageHeader(), DibBytes(4, 4, 8), false);
         SCRBLOCKHEADER stop{MakeTag("STOP"), 0, 0};
         ShowWriteRaw(&w, &stop, sizeof stop, ShowBytes(50, 0xFF), false);
         return Finish(w);
     },
     1, 2},
    {"endb_in_the_middle_ends_the_walk",
     [] {
         SHOWWRITER w = Begin();
         SCRENDB early{};
         early.tag = TAG_ENDB;
         ShowWriteRaw(&w, &early, sizeof early, {});
         ShowWriteText(&w, TextHeader(), "never read");
         return Finish(w);
     },
     1, 1},
    {"known_block_smaller_than_its_header",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteText(&w, TextHeader(), "first");
         ShowWriteImage(&w, ImageHeader(), DibBytes(4, 4, 8), false);
         ShowBytes show = Finish(w);
         PutU32(show, BlockAt(show, 1) + 4, 80);
         return show;
     },
     0, 2},
    {"short_compressed_stream_is_accepted",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes stream;
         ShowCompress(DibBytes(8, 8, 24), &stream);
         stream.resize(stream.size() + 100, 0xAB);  // more stored than the stream needs
         SCRIMAG image = ImageHeader();
         image.tag = TAG_IMAG;
         image.flags = BLOCK_VALID | BLOCK_COMPRESSED;
         ShowWriteRaw(&w, &image, sizeof image, stream);
         ShowWriteText(&w, TextHeader(), "still found");
         return Finish(w);
     },
     1, 3},
    {"walk_runs_into_the_end_of_the_file",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteText(&w, TextHeader(), "x");
         ShowBytes show = Finish(w);
         // The text block swallows the trailer: the next block would start
         // at the end of the file.
         PutU32(show, BlockAt(show, 0) + 4, TEXT_HEADER_SIZE + 2 + ENDB_HEADER_SIZE);
         return show;
     },
     0, 2},
    {"block_running_past_the_file",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteSound(&w, SoundHeader(), ShowBytes(10, 0));
         ShowBytes show = Finish(w);
         PutU32(show, BlockAt(show, 0) + 4, 0x7FFFFF00);
         return show;
     },
     0, 1},
    {"tiny_unknown_block_breaks_the_chain",
     [] {
         SHOWWRITER w = Begin();
         SCRBLOCKHEADER tiny{MakeTag("tiny"), 4, 0};
         ShowWriteRaw(&w, &tiny, sizeof tiny, {}, false);
         return Finish(w);
     },
     0, 1},
    {"no_trailer",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes show = Finish(w);
         show.resize(show.size() - ENDB_HEADER_SIZE);
         return show;
     },
     0, 0},
    {"empty_file", [] { return ShowBytes{}; }, 0, 0},
    {"show_length_beyond_the_file",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes show = Finish(w);
         PutU32(show, show.size() - ENDB_HEADER_SIZE + 12, 0x00FFFFFF ^ SHOWLENGTH_MASK);
         return show;
     },
     0, 0},
    {"header_changed_after_the_crc",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes show = Finish(w);
         show[1500] ^= 1;
         return show;
     },
     0, 0},
    {"head_size_below_its_header",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes show = Finish(w);
         PutU32(show, 4, 100);
         // The CRC covers the size: make it match again.
         PutU32(show, show.size() - ENDB_HEADER_SIZE + 16,
                static_cast<uint32_t>(crc32(0, show.data(), HEAD_HEADER_SIZE)) ^ HEADERCRC_MASK);
         return show;
     },
     0, 0},
    {"preview_flag_without_head_flag",
     [] {
         SHOWWRITER w;
         ShowWriterBegin(&w);
         SCRHEAD head = ShowDefaultHead("x", 0);
         head.hasPreview = 1;
         ShowWriteHead(&w, head);
         return Finish(w);
     },
     0, 0},
    {"preview_of_32_bits",
     [] {
         ShowBytes preview = DibBytes(4, 4, 24);
         preview[14] = 32;
         SHOWWRITER w = Begin(&preview);
         return Finish(w);
     },
     0, 0},
    {"preview_without_columns",
     [] {
         ShowBytes preview = DibBytes(4, 4, 1);
         PutU32(preview, 4, 0);
         PutU32(preview, 8, 1684366707);  // rows of no bytes, a billion of them
         SHOWWRITER w = Begin(&preview);
         return Finish(w);
     },
     0, 0},
    {"preview_larger_than_its_block",
     [] {
         ShowBytes preview = DibBytes(4, 4, 8);
         PutU32(preview, 8, 400000);  // rows far beyond the HEAD block
         SHOWWRITER w = Begin(&preview);
         return Finish(w);
     },
     0, 0},
    {"picture_rows_beyond_the_block",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteText(&w, TextHeader(), "kept");
         ShowBytes dib = DibBytes(16, 16, 8);
         PutU32(dib, 8, 17);
         ShowWriteImage(&w, ImageHeader(), dib, true);
         return Finish(w);
     },
     0, 2},
    {"picture_without_rows",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes dib = DibBytes(16, 1, 24);
         PutU32(dib, 4, 0x7FFFFFFF);
         PutU32(dib, 8, 0);
         ShowWriteImage(&w, ImageHeader(), dib, false);
         return Finish(w);
     },
     0, 1},
    {"picture_run_length_encoded",
     [] {
         SHOWWRITER w = Begin();
         ShowBytes dib = DibBytes(16, 16, 8);
         PutU32(dib, 16, 1);  // BI_RLE8
         ShowWriteImage(&w, ImageHeader(), dib, false);
         return Finish(w);
     },
     0, 1},
    {"picture_inflating_past_the_bound",
     [] {
         SHOWWRITER w = Begin();
         SCRIMAG image = ImageHeader();
         image.tag = TAG_IMAG;
         image.flags = BLOCK_VALID | BLOCK_COMPRESSED;
         ShowWriteRaw(&w, &image, sizeof image, ZeroStream(MAX_INFLATED_SIZE + 1));
         return Finish(w);
     },
     0, 1},
    {"applet_with_four_billion_pictures",
     [] {
         SHOWWRITER w = Begin();
         SCRAPPL applet = AppletHeader();
         applet.tag = TAG_APPL;
         applet.flags = BLOCK_VALID;
         applet.pictureCount = 0xFFFFFFF0u;
         ShowWriteRaw(&w, &applet, sizeof applet, ShowBytes(64, 0));
         return Finish(w);
     },
     0, 1},
    {"applet_object_running_past_its_block",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteApplet(&w, AppletHeader(), {}, {{1, TAG_WAVE, ShowBytes(30, 0)}}, "", false);
         ShowWriteText(&w, TextHeader(), "the next block's bytes must stay out of reach");
         ShowBytes show = Finish(w);
         PutU32(show, BlockAt(show, 0) + APPL_HEADER_SIZE + 4, 100);
         return show;
     },
     0, 1},
    {"applet_object_with_wrong_tag",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteApplet(&w, AppletHeader(), {{1, TAG_WAVE, DibBytes(2, 2, 8)}}, {}, "", false);
         return Finish(w);
     },
     0, 1},
    {"applet_sound_with_picture_tag",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteApplet(&w, AppletHeader(), {}, {{1, TAG_PICT, ShowBytes(8, 0)}}, "", false);
         return Finish(w);
     },
     0, 1},
    {"applet_picture_that_is_no_picture",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteApplet(&w, AppletHeader(), {{1, TAG_PICT, ShowBytes(30, 0)}}, {}, "", true);
         return Finish(w);
     },
     0, 1},
    {"corrupt_compressed_animation",
     [] {
         SHOWWRITER w = Begin();
         ShowWriteAnimation(&w, AnimationHeader(), ShowBytes(1000, 9), true);
         ShowBytes show = Finish(w);
         for (size_t i = 0; i < 8; ++i)
             show[BlockAt(show, 0) + ANIM_HEADER_SIZE + 2 + i] ^= 0xFF;
         return show;
     },
     0, 1},
};

TEST_F(Loader, Cases)
{
    for (const LoadCase& c : loadCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Load(c.show()), c.result);
        EXPECT_EQ(Count(), c.items);
        FreeBlocks(w.window, &set);
        if (liveBefore >= 0) {
            EXPECT_EQ(LiveGlobalBlocks(), liveBefore) << "movable blocks left behind";
        }
    }
}

// Every block type with bit 0 of its flags clear makes the show unreadable.
TEST_F(Loader, InvalidFlagFailsEveryKnownType)
{
    for (int type = 0; type < 5; ++type) {
        SHOWWRITER writer = Begin();
        switch (type) {
        case 0: ShowWriteImage(&writer, ImageHeader(), DibBytes(2, 2, 8), false); break;
        case 1: ShowWriteText(&writer, TextHeader(), "t"); break;
        case 2: ShowWriteSound(&writer, SoundHeader(), ShowBytes(4, 0)); break;
        case 3: ShowWriteApplet(&writer, AppletHeader(), {}, {}, "end()", false); break;
        default: ShowWriteAnimation(&writer, AnimationHeader(), ShowBytes(4, 0), false); break;
        }
        ShowBytes show = Finish(writer);
        show[BlockAt(show, 0) + 8] &= ~BLOCK_VALID;
        EXPECT_EQ(Load(show), 0) << type;
        EXPECT_EQ(Count(), 1) << type;
        FreeBlocks(w.window, &set);
    }
}

TEST_F(Loader, UnknownBlocksTakeNoNumber)
{
    SHOWWRITER writer = Begin();
    ShowWriteText(&writer, TextHeader(), "zero");
    SCRBLOCKHEADER unknown{MakeTag("junk"), 0, BLOCK_VALID};
    ShowWriteRaw(&writer, &unknown, sizeof unknown, ShowBytes(10, 0));
    ShowWriteText(&writer, TextHeader(), "one");
    ShowWriteSound(&writer, SoundHeader(TAG_MIDI), ShowBytes(4, 0));
    ASSERT_EQ(Load(Finish(writer)), 1);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(Block(0).number, 0);
    EXPECT_EQ(Block(0).tag, TAG_HEAD);
    EXPECT_EQ(Block(1).number, 0);
    EXPECT_EQ(Block(2).number, 1);
    EXPECT_EQ(Block(3).number, 2);
    EXPECT_EQ(Block(3).sond.kind, TAG_MIDI);
    EXPECT_EQ(std::string(set.fileName), file.path());
}

TEST_F(Loader, PayloadsArriveAsStoredOrInflated)
{
    const ShowBytes dib = DibBytes(33, 7, 24);
    const ShowBytes anim(500, 0x42);
    SHOWWRITER writer = Begin();
    ShowWriteImage(&writer, ImageHeader(5, 3), dib, true);
    ShowWriteImage(&writer, ImageHeader(), dib, false);
    ShowWriteText(&writer, TextHeader(), "");
    ShowWriteSound(&writer, SoundHeader(), ShowBytes(77, 5));
    ShowWriteAnimation(&writer, AnimationHeader(), anim, true);
    ASSERT_EQ(Load(Finish(writer)), 1);

    auto bytes = [](HGLOBAL mem) {
        GlobalLockGuard<uint8_t> p(mem);
        return ShowBytes(p.get(), p.get() + GlobalSize(mem));
    };
    BLOCK image = Block(1);
    EXPECT_EQ(image.imag.effectIn, 5);
    EXPECT_EQ(image.imag.effectOut, 3);
    EXPECT_TRUE(bytes(image.payload) == dib);
    EXPECT_TRUE(bytes(Block(2).payload) == dib);
    // An empty text becomes 16 zero bytes after its own terminator.
    EXPECT_TRUE(bytes(Block(3).payload) == ShowBytes(17, 0));
    EXPECT_TRUE(bytes(Block(4).payload) == ShowBytes(77, 5));
    EXPECT_TRUE(bytes(Block(5).payload) == anim);
}

TEST_F(Loader, AppletObjectsKeepNumbersAndInflatedSizes)
{
    const ShowBytes picture = DibBytes(20, 10, 8);
    SHOWWRITER writer = Begin();
    ShowWriteApplet(&writer, AppletHeader(), {{7, TAG_PICT, picture}, {3, TAG_PICT, DibBytes(2, 2, 1)}},
                    {{9, TAG_WAVE, ShowBytes(20, 1)}}, "print(\"hi\")\nend()\n", true);
    ASSERT_EQ(Load(Finish(writer)), 1);
    BLOCK applet = Block(1);
    ASSERT_EQ(applet.pictureCount, 2);
    ASSERT_EQ(applet.soundCount, 1);
    APPLETOBJECT object;
    ASSERT_EQ(FindNumberedAppletObject(&object, applet.pictures, applet.pictureCount, 7), 1);
    EXPECT_EQ(object.tag, TAG_PICT);
    EXPECT_EQ(object.size, picture.size());
    EXPECT_EQ(GlobalSize(object.data), picture.size());
    ASSERT_EQ(FindNumberedAppletObject(&object, applet.sounds, applet.soundCount, 9), 1);
    EXPECT_EQ(object.size, 20u);
    GlobalLockGuard<char> script(applet.payload);
    EXPECT_STREQ(script.get(), "print(\"hi\")\nend()\n");
}

TEST_F(Loader, AppletWithoutObjectsHasTheWholePayloadAsScript)
{
    SHOWWRITER writer = Begin();
    ShowWriteApplet(&writer, AppletHeader(), {}, {}, "goto(:top)", false);
    ASSERT_EQ(Load(Finish(writer)), 1);
    BLOCK applet = Block(1);
    EXPECT_EQ(applet.pictures, nullptr);
    GlobalLockGuard<char> script(applet.payload);
    EXPECT_STREQ(script.get(), "goto(:top)");
}

TEST_F(Loader, BlocksBeforeAFailureStay)
{
    SHOWWRITER writer = Begin();
    ShowWriteText(&writer, TextHeader(), "one");
    ShowWriteApplet(&writer, AppletHeader(), {{1, TAG_PICT, DibBytes(3, 3, 8)}}, {{1, TAG_WAVE, ShowBytes(3, 0)}},
                    "end()", true);
    ShowBytes show = Finish(writer);
    // The applet's sound record carries a wrong tag: the picture read
    // before it is freed again, the text before the applet stays.
    const size_t applet = BlockAt(show, 1);
    uint32_t pictureSize;
    std::memcpy(&pictureSize, show.data() + applet + APPL_HEADER_SIZE + 4, 4);
    PutU32(show, applet + APPL_HEADER_SIZE + OBJECT_HEADER_SIZE + pictureSize, MakeTag("XXXX"));
    EXPECT_EQ(Load(show), 0);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Block(1).tag, TAG_TEXT);
}

TEST_F(Loader, HeaderBlockWithPreview)
{
    const ShowBytes preview = DibBytes(100, 80, 8);
    SHOWWRITER writer = Begin(&preview);
    ShowWriteText(&writer, TextHeader(), "not read");
    file.Write(Finish(writer));

    BLOCK head;
    ASSERT_EQ(LoadHeaderBlock(nullptr, &head, file.path().c_str(), nullptr), 1);
    EXPECT_EQ(head.tag, TAG_HEAD);
    EXPECT_STREQ(head.head.title, "Loader test");
    EXPECT_EQ(head.head.backgroundColour, 0x00402010u);
    ASSERT_NE(head.payload, nullptr);
    {
        GlobalLockGuard<uint8_t> p(head.payload);
        ASSERT_EQ(GlobalSize(head.payload), preview.size());
        EXPECT_EQ(std::memcmp(p.get(), preview.data(), preview.size()), 0);
    }
    DestroyBlock(&head);
    EXPECT_EQ(Count(), 0);

    // The full load reads the same preview as the HEAD block's payload.
    ASSERT_EQ(LoadScrFile(w.list, &set, file.path().c_str()), 1);
    EXPECT_EQ(Block(0).head.hasPreview, 1);
    EXPECT_EQ(GlobalSize(Block(0).payload), preview.size());
}

TEST_F(Loader, HeaderBlockFailures)
{
    BLOCK head;
    EXPECT_EQ(LoadHeaderBlock(nullptr, &head, (testing::TempDir() + "no-such-show.scr").c_str(), nullptr), 0);
    EXPECT_EQ(LoadHeaderBlock(nullptr, &head, file.Write({}).c_str(), nullptr), 0);
    EXPECT_EQ(LoadScrFile(w.list, &set, nullptr), 0);
}

}  // namespace
