#include "imaging/composite.h"

#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/guards.h"

HGLOBAL CropImage(HGLOBAL picture, RECT rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width < 0 || height < 0)
        return nullptr;
    GlobalLockGuard<BITMAPINFOHEADER> source(picture);
    if (!source || !DibIsValid(source.get(), GlobalSize(picture)))
        return nullptr;
    uint8_t palette[PALETTE_BYTES];
    GetDibPalette(source.get(), palette);
    GlobalBlockGuard cropped(CreateDib(width, height, palette, source->biBitCount));
    if (!cropped)
        return nullptr;
    {
        GlobalLockGuard<BITMAPINFOHEADER> target(cropped.get());
        if (!target)
            return nullptr;
        for (int i = 0; i < height; ++i)
            for (int j = 0; j < width; ++j) {
                const long value = GetDibPixel(source.get(), rect.left + j, rect.top + i);
                if (value != -1)
                    PutDibPixel(target.get(), j, i, value);
            }
    }
    return cropped.release();
}
