#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "applet/objects.h"
#include "show/blockstore.h"
#include "support/test_window.h"
#ifndef _WIN32
#include "platform/kernel_native.h"
#endif

namespace {

HGLOBAL NewMemory(size_t bytes, unsigned char fill = 0)
{
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (auto* p = static_cast<unsigned char*>(GlobalLock(mem))) {
        std::memset(p, fill, bytes);
        GlobalUnlock(mem);
    }
    return mem;
}

// An object list of `count` records, each owning a data block of its own.
HGLOBAL NewObjectList(uint32_t tag, int count)
{
    HGLOBAL list = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(APPLETOBJECT) * count);
    auto* records = static_cast<APPLETOBJECT*>(GlobalLock(list));
    for (int i = 0; i < count; ++i) {
        records[i].tag = tag;
        records[i].number = i + 1;
        records[i].size = 16;
        records[i].data = NewMemory(16, static_cast<unsigned char>(i));
    }
    GlobalUnlock(list);
    return list;
}

BLOCK Poisoned()
{
    BLOCK block;
    std::memset(&block, 0xAA, sizeof block);
    return block;
}

bool AllZero(const void* p, size_t n)
{
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

class BlockStore : public testing::Test {
protected:
    void SetUp() override
    {
        std::memset(&set, 0, sizeof set);
        liveBefore = LiveGlobalBlocks();
    }

    // Every movable block the test made has been freed again.
    void ExpectNothingLeft()
    {
        if (liveBefore >= 0) {
            EXPECT_EQ(LiveGlobalBlocks(), liveBefore);
        }
    }

    int Append(uint32_t tag, HGLOBAL payload = nullptr)
    {
        BLOCK block;
        CreateBlock(nullptr, &set, &block, tag, payload, 0);
        return AppendBlock(w.list, &set, &block);
    }

    LRESULT Count() { return SendMessageA(w.list, LB_GETCOUNT, 0, 0); }

    TestWindow w;
    BLOCKSET set;
    long liveBefore = 0;
};

struct CreateCase {
    const char* name;
    uint32_t tag;
    uint32_t headerSize;
    bool takesPayload;
};

const CreateCase createCases[] = {
    {"HEAD", TAG_HEAD, 2148, false}, {"IMAG", TAG_IMAG, 84, true},  {"TEXT", TAG_TEXT, 362, false},
    {"SOND", TAG_SOND, 314, true},   {"APPL", TAG_APPL, 56, false}, {"ANIM", TAG_ANIM, 64, true},
    {"ENDB", TAG_ENDB, 52, false},
};

// The header of the block's own type within the record.
const SCRBLOCKHEADER* OwnHeader(const BLOCK& b)
{
    switch (b.tag) {
    case TAG_HEAD: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.head);
    case TAG_IMAG: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.imag);
    case TAG_TEXT: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.text);
    case TAG_SOND: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.sond);
    case TAG_APPL: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.appl);
    case TAG_ANIM: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.anim);
    case TAG_ENDB: return reinterpret_cast<const SCRBLOCKHEADER*>(&b.endb);
    default: return nullptr;
    }
}

TEST_F(BlockStore, CreateBlockPreparesEachKnownTag)
{
    for (const CreateCase& c : createCases) {
        SCOPED_TRACE(c.name);
        HGLOBAL payload = NewMemory(123);
        BLOCK block = Poisoned();
        ASSERT_EQ(CreateBlock(nullptr, &set, &block, c.tag, payload, 0), 1);
        EXPECT_EQ(block.tag, c.tag);
        const SCRBLOCKHEADER* header = OwnHeader(block);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->tag, c.tag);
        EXPECT_EQ(header->size, c.headerSize);
        EXPECT_EQ(header->flags, 0u);
        EXPECT_EQ(block.payload, c.takesPayload ? payload : nullptr);
        EXPECT_EQ(block.number, 0);
        EXPECT_EQ(block.pictures, nullptr);
        EXPECT_EQ(block.cellTimer, 0u);
        GlobalFree(payload);
    }
    ExpectNothingLeft();
}

TEST_F(BlockStore, CreateBlockDefaults)
{
    BLOCK head;
    const auto before = static_cast<int32_t>(std::time(nullptr));
    ASSERT_EQ(CreateBlock(nullptr, &set, &head, TAG_HEAD, nullptr, 0), 1);
    EXPECT_EQ(head.head.version, 0x00020061u);
    EXPECT_GE(head.head.created, before);
    EXPECT_LE(head.head.created, static_cast<int32_t>(std::time(nullptr)));
    EXPECT_NE(head.head.ownerName[0], '\0');
    EXPECT_EQ(head.head.hasPreview, 0);

    HGLOBAL sound = NewMemory(777);
    BLOCK sond;
    ASSERT_EQ(CreateBlock(nullptr, &set, &sond, TAG_SOND, sound, 0), 1);
    EXPECT_EQ(sond.sond.dataSize, GlobalSize(sound));
    GlobalFree(sound);
}

TEST_F(BlockStore, CreateBlockRefusesUnknownTagsAndLeavesThemCleared)
{
    for (uint32_t tag : {MakeTag("head"), MakeTag("XXXX"), 0u, TAG_WAVE}) {
        BLOCK block = Poisoned();
        EXPECT_EQ(CreateBlock(nullptr, &set, &block, tag, nullptr, 0), 0);
        EXPECT_TRUE(AllZero(&block, sizeof block));
    }
}

TEST_F(BlockStore, AppendBlockCountsPositionsFromOne)
{
    EXPECT_EQ(Append(TAG_HEAD), 1);
    EXPECT_EQ(Append(TAG_IMAG), 2);
    EXPECT_EQ(Append(TAG_TEXT), 3);
    EXPECT_EQ(Count(), 3);

    BLOCK block;
    ASSERT_EQ(GetBlock(w.list, 0, &block), 1);
    EXPECT_EQ(block.tag, TAG_HEAD);
    ASSERT_EQ(GetBlock(w.list, 2, &block), 1);
    EXPECT_EQ(block.tag, TAG_TEXT);
    FreeBlocks(w.window, &set);
    ExpectNothingLeft();
}

TEST_F(BlockStore, AppendBlockWithoutBlockSetFails)
{
    BLOCK block;
    CreateBlock(nullptr, &set, &block, TAG_HEAD, nullptr, 0);
    EXPECT_EQ(AppendBlock(w.list, nullptr, &block), 0);
    EXPECT_EQ(Count(), 0);
}

TEST_F(BlockStore, AllocateBlockWithoutRecordGivesZeroBlock)
{
    ASSERT_EQ(SendMessageA(w.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(" ")), 0);
    ASSERT_NE(AllocateBlock(w.list, 0, nullptr), nullptr);
    BLOCK block = Poisoned();
    ASSERT_EQ(GetBlock(w.list, 0, &block), 1);
    EXPECT_TRUE(AllZero(&block, sizeof block));
    // An item that does not exist cannot take a block, and none is kept.
    EXPECT_EQ(AllocateBlock(w.list, 5, nullptr), nullptr);
    FreeBlocks(w.window, &set);
    ExpectNothingLeft();
}

TEST_F(BlockStore, GetBlockOutOfRangeLeavesRecordUntouched)
{
    Append(TAG_HEAD);
    for (int index : {1, 2, 1000, -1}) {
        BLOCK block = Poisoned();
        EXPECT_EQ(GetBlock(w.list, index, &block), 0) << index;
        const BLOCK untouched = Poisoned();
        EXPECT_EQ(std::memcmp(&block, &untouched, sizeof block), 0) << index;
        EXPECT_EQ(PutBlock(w.list, index, &block), 0) << index;
    }
    FreeBlocks(w.window, &set);
}

TEST_F(BlockStore, PutBlockReplacesTheWholeRecord)
{
    Append(TAG_HEAD);
    Append(TAG_IMAG);
    BLOCK block;
    ASSERT_EQ(GetBlock(w.list, 1, &block), 1);
    block.imag.effectIn = 7;
    block.number = 42;
    std::strcpy(block.head.title, "not read for IMAG, kept all the same");
    ASSERT_EQ(PutBlock(w.list, 1, &block), 1);

    BLOCK again;
    ASSERT_EQ(GetBlock(w.list, 1, &again), 1);
    EXPECT_EQ(std::memcmp(&block, &again, sizeof block), 0);
    FreeBlocks(w.window, &set);
}

TEST_F(BlockStore, DestroyBlockWithoutPayloadOnlyClears)
{
    BLOCK block;
    CreateBlock(nullptr, &set, &block, TAG_TEXT, nullptr, 0);
    block.text.mode = 3;
    EXPECT_EQ(DestroyBlock(&block), 0);
    EXPECT_TRUE(AllZero(&block, sizeof block));
}

TEST_F(BlockStore, DestroyBlockFreesPayloadListsAndTheirData)
{
    BLOCK block;
    CreateBlock(nullptr, &set, &block, TAG_APPL, nullptr, 0);
    block.payload = NewMemory(40);
    block.pictures = NewObjectList(TAG_PICT, 3);
    block.pictureCount = 3;
    block.sounds = NewObjectList(TAG_WAVE, 2);
    block.soundCount = 2;
    EXPECT_EQ(DestroyBlock(&block), 0);
    EXPECT_TRUE(AllZero(&block, sizeof block));
    ExpectNothingLeft();
}

TEST_F(BlockStore, FreeBlockReleasesTheItemButKeepsItListed)
{
    Append(TAG_HEAD);
    BLOCK applet;
    CreateBlock(nullptr, &set, &applet, TAG_APPL, nullptr, 0);
    applet.payload = NewMemory(10);
    applet.pictures = NewObjectList(TAG_PICT, 2);
    applet.pictureCount = 2;
    applet.sounds = NewObjectList(TAG_MIDI, 1);
    applet.soundCount = 1;
    ASSERT_EQ(AppendBlock(w.list, &set, &applet), 2);

    EXPECT_EQ(FreeBlock(w.list, 1), 0);
    EXPECT_EQ(Count(), 2);
    BLOCK block;
    EXPECT_EQ(GetBlock(w.list, 1, &block), 0);
    // A second release finds nothing left to free.
    EXPECT_EQ(FreeBlock(w.list, 1), 0);
    FreeBlock(w.list, 0);
    ExpectNothingLeft();
}

TEST_F(BlockStore, FreeBlocksEmptiesListAndClearsSet)
{
    Append(TAG_HEAD);
    Append(TAG_IMAG, NewMemory(100));
    Append(TAG_SOND, NewMemory(50));
    set.current = 2;
    std::strcpy(set.fileName, "C:\\show.scr");
    EXPECT_EQ(FreeBlocks(w.window, &set), 0);
    EXPECT_EQ(Count(), 0);
    EXPECT_TRUE(AllZero(&set, sizeof set));
    EXPECT_EQ(FreeBlocks(w.window, nullptr), 0);
    ExpectNothingLeft();
}

TEST_F(BlockStore, GetHeaderBlockFindsTheFirstHead)
{
    BLOCK found = Poisoned();
    EXPECT_EQ(GetHeaderBlock(w.list, &set, &found), 0);

    Append(TAG_IMAG);
    BLOCK head;
    CreateBlock(nullptr, &set, &head, TAG_HEAD, nullptr, 0);
    std::strcpy(head.head.title, "first");
    AppendBlock(w.list, &set, &head);
    std::strcpy(head.head.title, "second");
    AppendBlock(w.list, &set, &head);

    ASSERT_EQ(GetHeaderBlock(w.list, &set, &found), 1);
    EXPECT_STREQ(found.head.title, "first");
    FreeBlocks(w.window, &set);
}

TEST_F(BlockStore, LockBlockSetRecordsTheWindow)
{
    EXPECT_EQ(LockBlockSet(w.window), nullptr);

    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BLOCKSET));
    SetWindowLongPtrA(w.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(mem));
    BLOCKSET* locked = LockBlockSet(w.window);
    ASSERT_NE(locked, nullptr);
    EXPECT_EQ(locked->window, w.window);
    EXPECT_EQ(UnlockBlockSet(w.window), 0);
    SetWindowLongPtrA(w.window, GWLP_USERDATA, 0);
    GlobalFree(mem);
}

#ifndef _WIN32
// Allocation failures can be injected only into the native stand-in.
TEST_F(BlockStore, AppendBlockThatCannotAllocateLeavesListAsItWas)
{
    Append(TAG_HEAD);
    NativeFailAllocation(0);
    EXPECT_EQ(Append(TAG_IMAG), 0);
    NativeFailAllocation(-1);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Append(TAG_IMAG), 2);
    FreeBlocks(w.window, &set);
    ExpectNothingLeft();
}
#endif

}  // namespace
