// The show-running half of the saver window: it walks the loaded blocks in
// list order, forever, driven by window timers and by step messages the
// window posts to itself.
#pragma once

#include "platform/kernel.h"
#include "show/block.h"

// Pause after a pass over the show in which no block held it, so that input
// still reaches the window between passes.
constexpr UINT_PTR TIMER_IDLE = 103;
constexpr UINT IDLE_PAUSE_MS = 100;

// The window timers the sequencer sets; tests stand in for them to drive the
// show tick by tick.
struct SEQUENCERTIMERS {
    UINT_PTR (*set)(HWND window, UINT_PTR id, UINT milliseconds);
    BOOL (*kill)(HWND window, UINT_PTR id);
};
extern SEQUENCERTIMERS sequencerTimers;

// WM_STARTSHOW.
void StartShow(HWND window);
// WM_ERASEBKGND: the show's background; always 1.
LRESULT EraseShowBackground(HWND window, HDC dc);
// WM_TIMER: the sequencer's timers and posted steps. False for any other id,
// which gets default processing.
bool HandleShowTimer(HWND window, WPARAM id);
// Releases what the current block holds (timers, slide picture, font,
// effect state, applet, saved screen area), as a block does when it ends.
void ReleaseCurrentBlock(HWND window, BLOCKSET* set);
