#include "show/loader.h"

// Stand-ins until the show loader arrives (issue 4): no show can be read, so
// the run modes take their documented "no show" paths.
int LoadScrFile(HWND, BLOCKSET*, const char*) { return 0; }

int LoadHeaderBlock(HWND, BLOCK*, const char*, BLOCKSET*) { return 0; }
