#include "imaging/palette.h"

#include <cstring>

#include "imaging/dib.h"

namespace {

const uint8_t eightLevels[8] = {0, 36, 72, 108, 144, 180, 216, 255};
const uint8_t fourLevels[4] = {0, 85, 170, 255};
const uint8_t twoLevels[2] = {0, 255};

const uint8_t sixteenColours[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},  {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

void Put(uint8_t* palette, int index, uint8_t r, uint8_t g, uint8_t b)
{
    palette[3 * index + 0] = r;
    palette[3 * index + 1] = g;
    palette[3 * index + 2] = b;
}

// Types 5 and 7 come from data resources of the program, which this build
// does not carry: their buffers stay zero, as they would without the resource.
void LoadPaletteResource(uint8_t* palette, const char* name)
{
#ifdef _WIN32
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (found == nullptr || SizeofResource(module, found) < 85 + PALETTE_BYTES)
        return;
    HGLOBAL loaded = LoadResource(module, found);
    if (const void* bytes = loaded ? LockResource(loaded) : nullptr)
        std::memcpy(palette, static_cast<const uint8_t*>(bytes) + 85, PALETTE_BYTES);
    FreeResource(loaded);
#else
    (void)palette;
    (void)name;
#endif
}

}  // namespace

int GetDefaultPalette(uint8_t* palette, int* bits, int type)
{
    uint8_t scratch[PALETTE_BYTES];
    uint8_t* p = palette ? palette : scratch;
    std::memset(p, 0, PALETTE_BYTES);
    int depth = 8;
    int count = 256;
    switch (type) {
    case 0:
        depth = 1;
        count = 2;
        Put(p, 1, 255, 255, 255);
        break;
    case 1:
        depth = 4;
        count = 16;
        for (int i = 0; i < 16; ++i)
            Put(p, i, sixteenColours[i][0], sixteenColours[i][1], sixteenColours[i][2]);
        break;
    case 2:
        depth = 5;
        count = 32;
        for (int r = 0; r < 4; ++r)
            for (int g = 0; g < 4; ++g)
                for (int b = 0; b < 2; ++b)
                    Put(p, r * 8 + g * 2 + b, fourLevels[r], fourLevels[g], twoLevels[b]);
        break;
    case 3:
        depth = 6;
        count = 64;
        for (int r = 0; r < 4; ++r)
            for (int g = 0; g < 4; ++g)
                for (int b = 0; b < 4; ++b)
                    Put(p, r * 16 + g * 4 + b, fourLevels[r], fourLevels[g], fourLevels[b]);
        break;
    case 4:
        depth = 7;
        count = 128;
        for (int r = 0; r < 4; ++r)
            for (int g = 0; g < 8; ++g)
                for (int b = 0; b < 4; ++b)
                    Put(p, r * 32 + g * 4 + b, fourLevels[r], eightLevels[g], fourLevels[b]);
        break;
    case 5:
        count = 216;
        LoadPaletteResource(p, "Palette216");
        break;
    case 7:
        LoadPaletteResource(p, "Palette256G");
        break;
    case 8:
        for (int i = 0; i < 256; ++i)
            Put(p, i, static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
        break;
    default:
        for (int r = 0; r < 8; ++r)
            for (int g = 0; g < 8; ++g)
                for (int b = 0; b < 4; ++b)
                    Put(p, r * 32 + g * 4 + b, eightLevels[r], eightLevels[g], fourLevels[b]);
        break;
    }
    if (bits)
        *bits = depth;
    return count;
}

int GetDibPalette(const BITMAPINFOHEADER* dib, uint8_t* palette)
{
    std::memset(palette, 0, PALETTE_BYTES);
    if (dib->biBitCount > 8)
        return 0;
    const int count = static_cast<int>(DibColourCount(dib->biBitCount));
    // The table starts right after the 40-byte header.
    const uint8_t* table = reinterpret_cast<const uint8_t*>(dib) + sizeof(BITMAPINFOHEADER);
    for (int i = 0; i < count; ++i)
        Put(palette, i, table[4 * i + 2], table[4 * i + 1], table[4 * i + 0]);
    return count;
}

int FindPaletteColour(int red, int green, int blue, const uint8_t* palette, int count)
{
    if (count > 256)
        count = 256;
    for (int i = 0; i < count; ++i)
        if (palette[3 * i] == red && palette[3 * i + 1] == green && palette[3 * i + 2] == blue)
            return i;
    long best = 1000000;
    int bestIndex = 0;
    for (int i = 0; i < count; ++i) {
        const long dr = red - palette[3 * i];
        const long dg = green - palette[3 * i + 1];
        const long db = blue - palette[3 * i + 2];
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < best) {
            best = distance;
            bestIndex = i;
        }
    }
    return bestIndex;
}
