// Text slides: one line, a line across the screen, a line scrolling right to
// left, or word-wrapped text in a box, in the block's font and colours.
#pragma once

#include "platform/kernel.h"
#include "player/status.h"
#include "show/block.h"

enum TextMode : uint32_t {
    TEXT_LINE = 0,           // one line at the origin
    TEXT_LINE_ACROSS = 1,    // one line in a box as wide as the screen
    TEXT_SCROLL = 2,         // one line scrolling inside its own extent
    TEXT_SCROLL_ACROSS = 3,  // one line scrolling across the screen
    TEXT_BOX = 4,            // wrapped in a box of boxWidth x boxHeight
    TEXT_COLUMN = 5,         // wrapped, boxWidth wide and as tall as it needs
};

constexpr int TEXT_SCROLL_STEP = 4;

// Prepares and measures the text of a slide; 0 when the text cannot be
// locked or its copy not allocated.
int16_t InitTextStatus(STATUS* status, HFONT font, HBRUSH brush, HGLOBAL text, HWND window, unsigned long mode,
                       unsigned long alignment, unsigned long boxWidth, unsigned long boxHeight, unsigned long margin);
// Where the text goes on the screen; 0 (and 0, 0) for a block that is not
// a text.
int GetTextOrigin(int* x, int* y, const BLOCK* block, const STATUS* status);
// Draws one tick, with the status font selected into the DC.
void HandleOnceTextCell(HWND window, HDC dc, STATUS* status, const SCRTEXT* header, HGLOBAL text);
