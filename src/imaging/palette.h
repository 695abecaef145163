// Palettes as the imaging routines pass them: up to 256 red, green, blue
// triples (768 bytes) and a count; entries past the count are zero.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

constexpr int PALETTE_BYTES = 256 * 3;

enum PaletteType {
    PALETTE_MONO = 0,       // black and white, for transparency masks
    PALETTE_STANDARD = 6,   // the 3-3-2 colour cube of all colour reduction
};

// Clears and fills `palette` (when given) with palette `type`, stores its
// depth (when asked) and returns its number of colours.
int GetDefaultPalette(uint8_t* palette, int* bits, int type);
// The colour table of a DIB as triples; 0 colours above 8 bits per pixel.
int GetDibPalette(const BITMAPINFOHEADER* dib, uint8_t* palette);
// The entry equal to the colour, else the nearest by weighted distance; the
// lowest index wins ties.
int FindPaletteColour(int red, int green, int blue, const uint8_t* palette, int count);

#ifdef _WIN32
// The palette selection of one drawing operation, restored afterwards.
struct PALSTATE {
    HPALETTE palette;
    HPALETTE previousPalette;
    LOGPALETTE* logPalette;
};

int RealizeWindowPalette(HDC dc, PALSTATE* state, const uint8_t* palette, int count);
void UnrealizeWindowPalette(HDC dc, PALSTATE* state);
#endif
