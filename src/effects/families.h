// The five operations of every effect family.
#pragma once

#include "player/status.h"

#define EFFECT_FAMILY(Family)                 \
    int16_t Setup##Family(STATUS* status);     \
    int16_t Appear##Family(STATUS* status);    \
    int16_t Wait##Family(STATUS* status);      \
    int16_t Disappear##Family(STATUS* status); \
    int16_t Close##Family(STATUS* status);

EFFECT_FAMILY(None)
EFFECT_FAMILY(Scramble)
EFFECT_FAMILY(Hsplit)
EFFECT_FAMILY(Nclear)
EFFECT_FAMILY(Plummet)
EFFECT_FAMILY(Fourway)
EFFECT_FAMILY(Random)
EFFECT_FAMILY(Sandblast)
EFFECT_FAMILY(Tile)
EFFECT_FAMILY(Vsplit)
EFFECT_FAMILY(Wleft)
EFFECT_FAMILY(Wright)

#undef EFFECT_FAMILY

// The pick of "Random Effect", for tests.
int GetRandomPick();
