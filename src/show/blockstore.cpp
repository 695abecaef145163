#include "show/blockstore.h"

#include <cstring>
#include <ctime>

#include "applet/machine.h"
#include "applet/objects.h"
#include "platform/guards.h"

namespace {

HGLOBAL ItemMemory(HWND list, int index)
{
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    // LB_ERR for an index out of range; 0 for an item without a block.
    if (index < 0 || data <= 0)
        return nullptr;
    return reinterpret_cast<HGLOBAL>(data);
}

void FreeObjectList(HGLOBAL list, int32_t count)
{
    if (list == nullptr)
        return;
    for (int32_t i = 0; i < count; ++i) {
        APPLETOBJECT object{};
        if (HGLOBAL data = GetAppletObject(list, i, &object))
            GlobalFree(data);
    }
    GlobalFree(list);
}

}  // namespace

int CreateBlock(void*, BLOCKSET*, BLOCK* block, uint32_t tag, HGLOBAL payload, long)
{
    std::memset(block, 0, sizeof *block);
    switch (tag) {
    case TAG_HEAD: {
        SCRHEAD& head = block->head;
        head.tag = TAG_HEAD;
        head.size = HEAD_HEADER_SIZE;
        head.screenWidth = GetSystemMetrics(SM_CXSCREEN);
        head.screenHeight = GetSystemMetrics(SM_CYSCREEN);
        head.created = static_cast<int32_t>(std::time(nullptr));
        head.version = HEAD_VERSION;
        GetMachineName(head.ownerName, head.organisation);
        break;
    }
    case TAG_IMAG:
        block->imag.tag = TAG_IMAG;
        block->imag.size = IMAG_HEADER_SIZE;
        block->payload = payload;
        break;
    case TAG_TEXT:
        block->text.tag = TAG_TEXT;
        block->text.size = TEXT_HEADER_SIZE;
        break;
    case TAG_SOND:
        block->sond.tag = TAG_SOND;
        block->sond.size = SOND_HEADER_SIZE;
        block->payload = payload;
        block->sond.dataSize = static_cast<uint32_t>(payload ? GlobalSize(payload) : 0);
        break;
    case TAG_APPL:
        block->appl.tag = TAG_APPL;
        block->appl.size = APPL_HEADER_SIZE;
        break;
    case TAG_ANIM:
        block->anim.tag = TAG_ANIM;
        block->anim.size = ANIM_HEADER_SIZE;
        block->payload = payload;
        break;
    case TAG_ENDB:
        block->endb.tag = TAG_ENDB;
        block->endb.size = ENDB_HEADER_SIZE;
        break;
    default:
        return 0;
    }
    block->tag = tag;
    return 1;
}

int AppendBlock(HWND list, BLOCKSET* set, const BLOCK* block)
{
    if (set == nullptr)
        return 0;
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(" "));
    if (index < 0)
        return 0;
    if (AllocateBlock(list, static_cast<int>(index), block) == nullptr) {
        SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        return 0;
    }
    return static_cast<int>(index) + 1;
}

HGLOBAL AllocateBlock(HWND list, int index, const BLOCK* block)
{
    GlobalBlockGuard mem(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BLOCK)));
    if (!mem)
        return nullptr;
    if (block != nullptr) {
        // A block that cannot be filled must not be listed as if it held the
        // record: that would lose the payload it was meant to own.
        GlobalLockGuard<BLOCK> record(mem.get());
        if (!record)
            return nullptr;
        *record = *block;
    }
    if (SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(mem.get())) == LB_ERR)
        return nullptr;
    return mem.release();
}

int GetBlock(HWND list, int index, BLOCK* block)
{
    GlobalLockGuard<BLOCK> record(ItemMemory(list, index));
    if (!record)
        return 0;
    *block = *record;
    return 1;
}

int PutBlock(HWND list, int index, const BLOCK* block)
{
    HGLOBAL mem = ItemMemory(list, index);
    if (mem == nullptr)
        return 0;
    GlobalLockGuard<BLOCK> record(mem);
    if (record)
        *record = *block;
    return 1;
}

int DestroyBlock(BLOCK* block)
{
    if (block->payload)
        GlobalFree(block->payload);
    FreeObjectList(block->pictures, block->pictureCount);
    FreeObjectList(block->sounds, block->soundCount);
    std::memset(block, 0, sizeof *block);
    return 0;
}

int FreeBlock(HWND list, int index)
{
    BLOCK block;
    if (GetBlock(list, index, &block))
        DestroyBlock(&block);
    if (HGLOBAL mem = ItemMemory(list, index)) {
        GlobalFree(mem);
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    }
    return 0;
}

int FreeBlocks(HWND window, BLOCKSET* set)
{
    if (set == nullptr)
        return 0;
    // The set's own copy of the current block holds no handles of its own.
    std::memset(set, 0, sizeof *set);
    HWND list = GetDlgItem(window, BLOCKLIST_ID);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        FreeBlock(list, static_cast<int>(i));
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    return 0;
}

BLOCKSET* LockBlockSet(HWND window)
{
    auto mem = reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (mem == nullptr)
        return nullptr;
    auto* set = static_cast<BLOCKSET*>(GlobalLock(mem));
    if (set)
        set->window = window;
    return set;
}

int UnlockBlockSet(HWND window)
{
    auto mem = reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (mem)
        GlobalUnlock(mem);
    return 0;
}

int GetHeaderBlock(HWND list, BLOCKSET*, BLOCK* block)
{
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        BLOCK candidate;
        if (GetBlock(list, static_cast<int>(i), &candidate) && candidate.tag == TAG_HEAD) {
            *block = candidate;
            return 1;
        }
    }
    return 0;
}
