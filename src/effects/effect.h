// The transition effects: a table of MAXEFFECT records, indexed by the effect
// number that picture blocks store, each with the five operations of the
// slide's phases. Every operation takes the slide's STATUS and returns a
// result word: EFFECT_DONE (the phase is complete), EFFECT_ABORT (end the
// cycle), or 0 (call again on the next tick).
#pragma once

#include <cstdint>

#include "player/status.h"

constexpr int16_t EFFECT_DONE = 1;
constexpr int16_t EFFECT_ABORT = 2;

using EFFECTOPERATION = int16_t (*)(STATUS* status);

struct EFFECT {
    EFFECTOPERATION setup, appear, wait, disappear, close;
    char name[256];
    int16_t randomIn;    // "Random Effect" may pick it to make a picture appear
    int16_t randomOut;   // ... or to make a picture leave
};

constexpr int MAXEFFECT = 12;
// The order is part of the show format.
enum EffectNumber {
    EFFECT_NONE = 0,
    EFFECT_SCRAMBLE = 1,
    EFFECT_HSPLIT = 2,
    EFFECT_NCLEAR = 3,
    EFFECT_PLUMMET = 4,
    EFFECT_FOURWAY = 5,
    EFFECT_RANDOM = 6,
    EFFECT_SANDBLAST = 7,
    EFFECT_TILE = 8,
    EFFECT_VSPLIT = 9,
    EFFECT_WLEFT = 10,
    EFFECT_WRIGHT = 11,
};

extern const EFFECT effect[MAXEFFECT];

// True for a number that indexes the table.
inline bool IsEffectNumber(int32_t number) { return static_cast<uint32_t>(number) < MAXEFFECT; }
