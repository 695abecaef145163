// Reading the show out of the player's own executable file.
#pragma once

#include "show/block.h"

// Loads the whole show into the block list; 1 when all of it was read.
int LoadScrFile(HWND list, BLOCKSET* set, const char* path);
// Reads only the HEAD block and its preview picture into `block`.
int LoadHeaderBlock(HWND window, BLOCK* block, const char* path, BLOCKSET* set);
