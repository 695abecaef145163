// The packed DIB: one movable block holding a 40-byte BITMAPINFOHEADER, a
// colour table of exactly 2^biBitCount entries for depths of 8 or less, and
// bottom-up rows of ((biBitCount * biWidth + 31) / 32) * 4 bytes. Pixel (x, y)
// counts y from the top, so it lies in stored row biHeight - 1 - y. A pixel
// value is the colour index at 8 bits or less and a COLORREF at 24 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/kernel.h"

extern const unsigned char masktable[8];

// 1, 4, 8 or 24: the depth CreateDib makes for a requested one.
unsigned int AdjustDIBits(unsigned int bits);
// A new zero-filled DIB; the palette holds red, green, blue triples (it may be
// none for 24 bits). 0 when the size is negative or does not fit 32 bits.
HGLOBAL CreateDib(int width, int height, const uint8_t* palette, int bits);
// The value of a pixel, or -1 outside the picture or at an unsupported depth.
long GetDibPixel(const BITMAPINFOHEADER* dib, int x, int y);
// Writes a pixel; does nothing for the value -1, outside the picture or at an
// unsupported depth.
void PutDibPixel(BITMAPINFOHEADER* dib, int x, int y, long value);
int GetBitmapDimensions(HGLOBAL dib, int* width, int* height, int* bits, uint8_t* palette);
HGLOBAL CopyBitmapToHandle(const BITMAPINFOHEADER* dib);
HGLOBAL DuplicateObject(HGLOBAL mem);
int WriteObject(void* unused, const char* path, HGLOBAL mem);
LONG RectWidth(const RECT* rect);
LONG RectDepth(const RECT* rect);

// Layout helpers shared by everything that walks pixel rows.
uint32_t DibColourCount(unsigned int bits);   // 2^bits at 8 or less, else 0
uint64_t DibStride(int64_t width, unsigned int bits);
// The bytes the header says its DIB takes, or 0 when it describes no usable
// DIB (negative sizes, a header shorter than 40 bytes).
uint64_t DibBytes(const BITMAPINFOHEADER* dib);
// True when the header describes a DIB that lies wholly within `blockBytes`.
bool DibFits(const BITMAPINFOHEADER* dib, uint64_t blockBytes);
// True for a picture the player can use: it has pixels, fits its block, is
// uncompressed (BI_RGB) and has a depth of 1, 4, 8, 16, 24 or 32 bits.
bool DibIsValid(const BITMAPINFOHEADER* dib, uint64_t blockBytes);
// The same for a DIB in a movable block.
bool DibIsValid(HGLOBAL dib);
// The first pixel row (the bottom row of the picture).
const uint8_t* DibPixels(const BITMAPINFOHEADER* dib);
uint8_t* DibPixels(BITMAPINFOHEADER* dib);
