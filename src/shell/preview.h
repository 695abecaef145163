// The preview window inside the display settings page: the show's preview
// picture, centred, or else its title scrolling through in large letters, in
// a colour picked anew for every pass.
#pragma once

#include "platform/kernel.h"
#include "show/block.h"

constexpr UINT_PTR PREVIEW_TIMER = 4;

// The HEAD block the window shows, or none when it could not be read.
extern const BLOCK* previewBlock;
// How far the title has moved to the left, in pixels.
extern int previewScroll;
// The title colour's index; -1 picks a new one at the next paint.
extern int previewColour;
extern const COLORREF previewColours[7];

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
