#include <cstdlib>
#include <cstring>

#include "imaging/composite.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/gdi_guards.h"
#include "platform/guards.h"

namespace {

// A packed DIB's header, colour table and bits as GDI takes them.
const BITMAPINFO* Info(const BITMAPINFOHEADER* dib) { return reinterpret_cast<const BITMAPINFO*>(dib); }

// The picture's value for a transparent COLORREF: the first table entry of
// that colour (-1 when there is none) or the colour itself at 24 bits.
long TransparentValue(const BITMAPINFOHEADER* picture, long colour)
{
    if (picture->biBitCount > 8)
        return colour;
    uint8_t palette[PALETTE_BYTES];
    const int count = GetDibPalette(picture, palette);
    for (int i = 0; i < count; ++i)
        if (palette[3 * i] == GetRValue(colour) && palette[3 * i + 1] == GetGValue(colour) &&
            palette[3 * i + 2] == GetBValue(colour))
            return i;
    return -1;
}

}  // namespace

HBITMAP CreateDeviceBitmap(HDC dc, const BITMAPINFOHEADER* picture)
{
    return CreateDIBitmap(dc, picture, CBM_INIT, DibPixels(picture), Info(picture), DIB_RGB_COLORS);
}

int ShowTransparentDib(HDC dc, void*, const BITMAPINFOHEADER* picture, int x, int y, long transparent)
{
    MemoryDcGuard pictureDc(dc);
    if (!pictureDc || DibBytes(picture) == 0)
        return 0;
    const int width = picture->biWidth;
    const int height = picture->biHeight;
    const long value = TransparentValue(picture, transparent);

    // 1 where the picture shows, 0 where it is transparent.
    uint8_t mono[PALETTE_BYTES];
    GetDefaultPalette(mono, nullptr, PALETTE_MONO);
    GlobalBlockGuard maskMem(CreateDib(width, height, mono, 1));
    GlobalLockGuard<BITMAPINFOHEADER> mask(maskMem.get());
    if (!mask)
        return 0;
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px)
            PutDibPixel(mask.get(), px, py, GetDibPixel(picture, px, py) != value ? 1 : 0);

    MemoryDcGuard maskDc(dc);
    MemoryDcGuard monoDc(dc);
    if (!maskDc || !monoDc)
        return 0;
    GdiObjectGuard<HBITMAP> pictureBitmap(CreateDeviceBitmap(dc, picture));
    // Compatible with a fresh memory DC: monochrome.
    GdiObjectGuard<HBITMAP> maskBitmap(CreateDeviceBitmap(maskDc.get(), mask.get()));
    GdiObjectGuard<HBITMAP> monoBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    if (!pictureBitmap || !maskBitmap || !monoBitmap)
        return 0;
    SelectGuard selectPicture(pictureDc.get(), pictureBitmap.get());
    SelectGuard selectMask(maskDc.get(), maskBitmap.get());
    SelectGuard selectMono(monoDc.get(), monoBitmap.get());
    if (!selectPicture || !selectMask || !selectMono)
        return 0;

    BitBlt(monoDc.get(), 0, 0, width, height, maskDc.get(), 0, 0, NOTSRCCOPY);
    BitBlt(pictureDc.get(), 0, 0, width, height, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, width, height, monoDc.get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, width, height, pictureDc.get(), 0, 0, SRCINVERT);
    return 1;
}

void DrawBitmap(HDC dc, int x, int y, HGLOBAL picture, DWORD rop)
{
    if (picture == nullptr)
        return;
    GlobalLockGuard<BITMAPINFOHEADER> header(picture);
    if (!header || !DibIsValid(header.get(), GlobalSize(picture)))
        return;
    // A palette picture brings its own colours.
    GdiObjectGuard<HPALETTE> palette;
    if (header->biBitCount <= 8) {
        const int count = 1 << header->biBitCount;
        HeapGuard log(std::calloc(1, sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count)));
        auto* logPalette = static_cast<LOGPALETTE*>(log.get());
        if (logPalette) {
            logPalette->palVersion = 0x300;
            logPalette->palNumEntries = static_cast<WORD>(count);
            const auto* table = reinterpret_cast<const uint8_t*>(header.get()) + header->biSize;
            for (int i = 0; i < count; ++i) {
                logPalette->palPalEntry[i].peRed = table[4 * i + 2];
                logPalette->palPalEntry[i].peGreen = table[4 * i + 1];
                logPalette->palPalEntry[i].peBlue = table[4 * i];
            }
            palette.reset(CreatePalette(logPalette));
        }
    }
    PaletteSelectGuard selectPalette(dc, palette.get());
    GdiObjectGuard<HBITMAP> bitmap(CreateDeviceBitmap(dc, header.get()));
    MemoryDcGuard memory(dc);
    if (!bitmap || !memory)
        return;
    SelectGuard select(memory.get(), bitmap.get());
    BitBlt(dc, x, y, header->biWidth, header->biHeight, memory.get(), 0, 0, rop);
}

RECT ClipToDevice(HDC dc, RECT rect)
{
    if (rect.left < 0)
        rect.left = 0;
    if (rect.top < 0)
        rect.top = 0;
    const int width = GetDeviceCaps(dc, HORZRES);
    const int height = GetDeviceCaps(dc, VERTRES);
    if (rect.right > width)
        rect.right = width;
    if (rect.bottom > height)
        rect.bottom = height;
    return rect;
}

HBITMAP CopyScreenToBitmap(HDC dc, RECT rect)
{
    if (IsRectEmpty(&rect))
        return nullptr;
    const RECT clipped = ClipToDevice(dc, rect);
    const int width = clipped.right - clipped.left;
    const int height = clipped.bottom - clipped.top;
    if (width <= 0 || height <= 0)
        return nullptr;
    MemoryDcGuard memory(dc);
    if (!memory)
        return nullptr;
    GdiObjectGuard<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!bitmap)
        return nullptr;
    {
        SelectGuard select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, dc, clipped.left, clipped.top, SRCCOPY);
    }
    return bitmap.release();
}
