// The block store: the loaded show as an ordered list of BLOCK records.
// The index is a list box (child BLOCKLIST_ID of the saver window) whose item
// data are handles of movable blocks, each holding one BLOCK; item 0 is the
// HEAD block. The BLOCKSET lives in a movable block kept in the saver
// window's user data.
//
// Ownership: a list item owns its BLOCK and, through it, the payload, both
// object lists and every data handle in them. Records read out with GetBlock
// are shallow copies and must not be destroyed while the item is listed.
#pragma once

#include <cstdint>

#include "show/block.h"

constexpr int BLOCKLIST_ID = 10;

// Clears `block` and prepares it for `tag` with its defaults. 1 for a known
// tag, 0 otherwise.
int CreateBlock(void* unused, BLOCKSET* set, BLOCK* block, uint32_t tag, HGLOBAL payload, long unusedLong);
// Stores a copy of `block` as a new last item; its position from 1, or 0.
int AppendBlock(HWND list, BLOCKSET* set, const BLOCK* block);
// Gives item `index` a new movable block holding `block` (or zeros).
HGLOBAL AllocateBlock(HWND list, int index, const BLOCK* block);
int GetBlock(HWND list, int index, BLOCK* block);
int PutBlock(HWND list, int index, const BLOCK* block);
// Destroys the item's BLOCK and frees its memory; the item stays listed.
int FreeBlock(HWND list, int index);
// Frees every block of the saver window's list and empties it.
int FreeBlocks(HWND window, BLOCKSET* set);
// Frees what the record owns (payload, object lists and their data) and
// clears it.
int DestroyBlock(BLOCK* block);
BLOCKSET* LockBlockSet(HWND window);
int UnlockBlockSet(HWND window);
// Copies the first HEAD block of the list into `block`; 1 when found.
int GetHeaderBlock(HWND list, BLOCKSET* set, BLOCK* block);
