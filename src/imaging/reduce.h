// Colour reduction for displays of 256 colours or fewer: new 8-bit pictures
// on the standard palette, by error diffusion or by nearest colour. Both
// leave the source alone and return a DIB the caller owns, or 0.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

// The standard palette's entry for a full-colour pixel, by truncation.
constexpr int StandardIndex(int red, int green, int blue)
{
    return (red & 0xE0) | ((green >> 3) & 0x1C) | (blue >> 6);
}

// Error diffusion; one-bit sources are not dithered.
HGLOBAL DitherDib(HGLOBAL source, const uint8_t* palette, int bits, int unused);
// Nearest colour per palette entry of the source, direct truncation at 24
// bits, set bits to 255 at one bit.
HGLOBAL RemapDib(HGLOBAL source, const uint8_t* palette, int bits, int unused);
