// "Sandstorm": the picture appears, and leaves, pixel by pixel in random
// order, 1024 pixels a tick.
#include <cstdlib>

#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

constexpr int PIXELS_PER_CALL = 1024;

constexpr TABLESHAPE PIXELS = {1, false};

TABLESTATE sand;

// Spreads the choice over tables larger than one random value covers.
uint32_t RandomPixel()
{
    const uint32_t low = static_cast<uint32_t>(std::rand() % 32767);
    const uint32_t high = static_cast<uint32_t>(std::rand() % 32767);
    return sand.N ? (low | (high << 15)) % sand.N : 0;
}

}  // namespace

int16_t SetupSandblast(STATUS* status) { return TableSetup(status, &sand, PIXELS); }

int16_t AppearSandblast(STATUS* status)
{
    // A table that went with an ended slide has nothing left to show.
    if (status->workA == nullptr) {
        sand.N = 0;
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    auto* table = static_cast<int32_t*>(status->workA);
    for (int k = 0; k < PIXELS_PER_CALL && sand.N > 0; ++k) {
        const uint32_t i = RandomPixel();
        source.Put(table[2 * i], table[2 * i + 1], 1, 1, table[2 * i], table[2 * i + 1]);
        RemovePair(table, &sand.N, i);
    }
    if (sand.N == 0) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitSandblast(STATUS* status) { return StandardWait(status); }

int16_t DisappearSandblast(STATUS* status)
{
    LOGBRUSH brush{};
    GetObjectA(status->backgroundBrush, sizeof brush, &brush);
    if (const int16_t failed = TableForLeaving(status, &sand, PIXELS, true))
        return failed;
    PictureFrame frame(status);
    auto* table = static_cast<int32_t*>(status->workA);
    for (int k = 0; k < PIXELS_PER_CALL && sand.N > 0; ++k) {
        const uint32_t i = RandomPixel();
        SetPixel(status->dc, table[2 * i], table[2 * i + 1], brush.lbColor);
        RemovePair(table, &sand.N, i);
    }
    // The table stays until close.
    return sand.N == 0 ? EFFECT_DONE : 0;
}

int16_t CloseSandblast(STATUS* status)
{
    DeleteBitmap(status);
    FreeTable(&status->workA);
    return EFFECT_DONE;
}
