// The phases of a picture slide: setup, appear, wait and disappear, one
// effect operation per cell tick, and where a picture goes on the screen.
#pragma once

#include "platform/kernel.h"
#include "player/status.h"
#include "show/block.h"

// Starts a slide's STATUS: zeroed, with its picture, effects and timings,
// and the picture's size, depth and palette. 0 when the picture has no
// readable size (the picture is stored all the same).
int16_t InitImageStatus(STATUS* status, HGLOBAL picture, int effectIn, int effectOut, long speed, long holdTime,
                        HBRUSH brush);
// One tick of the phase machine.
void HandleOnceCell(HWND window, HDC dc, STATUS* status);
// 0 -> 1; 1 -> 2 (the wait starts with holdTime seconds); 2 -> 3; else 0.
void ChangePhase(STATUS* status);
int16_t GetImage(HWND window, const STATUS* status);
// Releases the effect's bitmap and tables and the prepared text; the
// picture and the font are the sequencer's.
int16_t DestroyStatus(STATUS* status);
// The screen position of a picture block by its position code and offsets,
// never negative; 0 (and 0, 0) for anything but a readable picture.
int GetImageOrigin(int* x, int* y, const BLOCK* block);

// The colours of a palette of `bits` per pixel, as RealizeWindowPalette
// takes them: above 8 bits there is no palette.
int PaletteColours(int bits);
