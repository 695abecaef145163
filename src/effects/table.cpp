#include "effects/effect.h"
#include "effects/families.h"

#define EFFECT_OPERATIONS(Family) Setup##Family, Appear##Family, Wait##Family, Disappear##Family, Close##Family

const EFFECT effect[MAXEFFECT] = {
    {EFFECT_OPERATIONS(None), "None", 0, 0},
    {EFFECT_OPERATIONS(Scramble), "Chaos and Order", 1, 0},
    {EFFECT_OPERATIONS(Hsplit), "Horizontal Split", 1, 1},
    {EFFECT_OPERATIONS(Nclear), "No Clear", 0, 0},
    {EFFECT_OPERATIONS(Plummet), "Plummet", 1, 1},
    {EFFECT_OPERATIONS(Fourway), "Quadrants", 1, 0},
    {EFFECT_OPERATIONS(Random), "Random Effect", 0, 0},
    {EFFECT_OPERATIONS(Sandblast), "Sandstorm", 1, 1},
    {EFFECT_OPERATIONS(Tile), "Tile", 1, 1},
    {EFFECT_OPERATIONS(Vsplit), "Vertical Split", 1, 1},
    {EFFECT_OPERATIONS(Wleft), "Wipe in from Left", 1, 1},
    {EFFECT_OPERATIONS(Wright), "Wipe in from Right", 1, 1},
};
