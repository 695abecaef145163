#include "effects/effect.h"
#include "effects/families.h"

#define EFFECT_OPERATIONS(Family) Setup##Family, Appear##Family, Wait##Family, Disappear##Family, Close##Family

// The families of the wipes, splits, block effects, Plummet and Quadrants
// arrive with their own issue (7); until then their rows run "None".
const EFFECT effect[MAXEFFECT] = {
    {EFFECT_OPERATIONS(None), "None", 0, 0},
    {EFFECT_OPERATIONS(None), "Chaos and Order", 1, 0},
    {EFFECT_OPERATIONS(None), "Horizontal Split", 1, 1},
    {EFFECT_OPERATIONS(Nclear), "No Clear", 0, 0},
    {EFFECT_OPERATIONS(None), "Plummet", 1, 1},
    {EFFECT_OPERATIONS(None), "Quadrants", 1, 0},
    {EFFECT_OPERATIONS(Random), "Random Effect", 0, 0},
    {EFFECT_OPERATIONS(None), "Sandstorm", 1, 1},
    {EFFECT_OPERATIONS(None), "Tile", 1, 1},
    {EFFECT_OPERATIONS(None), "Vertical Split", 1, 1},
    {EFFECT_OPERATIONS(None), "Wipe in from Left", 1, 1},
    {EFFECT_OPERATIONS(None), "Wipe in from Right", 1, 1},
};
