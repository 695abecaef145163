// Putting packed DIBs on a device context and taking screen contents back.
#pragma once

#include "platform/kernel.h"

// A new picture holding `rect` (picture coordinates) of `picture`, at the
// same depth and palette; pixels outside the source stay 0.
HGLOBAL CropImage(HGLOBAL picture, RECT rect);

#ifdef _WIN32
// Draws the picture at (x, y) leaving out every pixel of `transparent` (a
// COLORREF; for palette pictures the first table entry of that colour).
int ShowTransparentDib(HDC dc, void* unused, const BITMAPINFOHEADER* picture, int x, int y, long transparent);
// Draws the whole picture at (x, y) with `rop`, realising its palette.
void DrawBitmap(HDC dc, int x, int y, HGLOBAL picture, DWORD rop);
// A device bitmap holding `rect` of the DC, clipped to the device; none for
// an empty rectangle. The caller deletes it.
HBITMAP CopyScreenToBitmap(HDC dc, RECT rect);
// The rectangle that CopyScreenToBitmap copies for `rect`.
RECT ClipToDevice(HDC dc, RECT rect);
// A device bitmap of the DIB for `dc` (CreateDIBitmap, CBM_INIT).
HBITMAP CreateDeviceBitmap(HDC dc, const BITMAPINFOHEADER* picture);
#endif
