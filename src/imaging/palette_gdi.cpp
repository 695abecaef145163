#include <cstdlib>

#include "imaging/palette.h"

int RealizeWindowPalette(HDC dc, PALSTATE* state, const uint8_t* palette, int count)
{
    state->palette = nullptr;
    state->previousPalette = nullptr;
    state->logPalette = nullptr;
    // Above 256 colours the picture has no palette.
    if (count > 256)
        return 1;
    // Two colours stay two (one-bit pictures); 3 to 16 take a 16-entry
    // palette, 17 to 255 a full one.
    if (count > 16 && count < 256)
        count = 256;
    else if (count > 2 && count < 16)
        count = 16;
    auto* log = static_cast<LOGPALETTE*>(
        std::calloc(1, sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count)));
    if (log == nullptr)
        return 0;
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i) {
        log->palPalEntry[i].peRed = palette[3 * i];
        log->palPalEntry[i].peGreen = palette[3 * i + 1];
        log->palPalEntry[i].peBlue = palette[3 * i + 2];
        log->palPalEntry[i].peFlags = 0;
    }
    state->logPalette = log;
    state->palette = CreatePalette(log);
    if (state->palette) {
        state->previousPalette = SelectPalette(dc, state->palette, FALSE);
        RealizePalette(dc);
    }
    return 1;
}

void UnrealizeWindowPalette(HDC dc, PALSTATE* state)
{
    if (dc && state->previousPalette)
        SelectPalette(dc, state->previousPalette, FALSE);
    if (state->palette)
        DeleteObject(state->palette);
    std::free(state->logPalette);
    state->palette = nullptr;
    state->previousPalette = nullptr;
    state->logPalette = nullptr;
}
