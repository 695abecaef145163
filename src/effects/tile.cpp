// "Tile": 8 x 8 tiles of the picture appear, and leave, in random order,
// sixteen a tick.
#include <algorithm>

#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

constexpr uint32_t TILE = 8;
constexpr uint32_t TILES_PER_CALL = 16;

constexpr TABLESHAPE TILES = {TILE, false};

TABLESTATE tile;

uint32_t Stop() { return tile.N > TILES_PER_CALL ? tile.N - TILES_PER_CALL : 0; }

}  // namespace

int16_t SetupTile(STATUS* status) { return TableSetup(status, &tile, TILES); }

int16_t AppearTile(STATUS* status)
{
    // A table that went with an ended slide has nothing left to show.
    if (tile.N == 0 || status->workA == nullptr) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    auto* table = static_cast<int32_t*>(status->workA);
    for (const uint32_t stop = Stop(); tile.N > stop;) {
        const uint32_t i = RandomBelow(tile.N);
        const int32_t tx = table[2 * i], ty = table[2 * i + 1];
        source.Put(tx, ty, static_cast<int>(std::min<uint32_t>(TILE, tile.W - tx)),
                   static_cast<int>(std::min<uint32_t>(TILE, tile.H - ty)), tx, ty);
        RemovePair(table, &tile.N, i);
    }
    return 0;
}

int16_t WaitTile(STATUS* status) { return StandardWait(status); }

int16_t DisappearTile(STATUS* status)
{
    if (const int16_t failed = TableForLeaving(status, &tile, TILES, false))
        return failed;
    if (tile.N == 0) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    BackgroundFill fill(status);
    auto* table = static_cast<int32_t*>(status->workA);
    for (const uint32_t stop = Stop(); tile.N > stop;) {
        const uint32_t i = RandomBelow(tile.N);
        const int32_t tx = table[2 * i], ty = table[2 * i + 1];
        // A full square, also past the picture's right or bottom edge.
        fill.Fill(tx, ty, tx + 9, ty + 9);
        RemovePair(table, &tile.N, i);
    }
    return 0;
}

int16_t CloseTile(STATUS* status)
{
    DeleteBitmap(status);
    FreeTable(&status->workA);
    return EFFECT_DONE;
}
