// "Random Effect": each operation goes to one of the other effects, picked
// at random: for appearing among those marked randomIn, and anew for leaving
// among those marked randomOut when the wait is over. A pick never repeats
// the one before it.
#include <cstdlib>

#include "effects/effect.h"
#include "effects/families.h"

namespace {

int pick = EFFECT_NONE;

template <typename Allowed>
void PickAnother(Allowed allowed)
{
    int r;
    do {
        r = MAXEFFECT ? std::rand() % MAXEFFECT : 0;
    } while (r == pick || !allowed(effect[r]));
    pick = r;
}

}  // namespace

int GetRandomPick() { return pick; }

int16_t SetupRandom(STATUS* status)
{
    PickAnother([](const EFFECT& e) { return e.randomIn != 0; });
    return effect[pick].setup(status);
}

int16_t AppearRandom(STATUS* status) { return effect[pick].appear(status); }

int16_t WaitRandom(STATUS* status)
{
    const int16_t result = effect[pick].wait(status);
    if (result == EFFECT_DONE)
        PickAnother([](const EFFECT& e) { return e.randomOut != 0; });
    return result;
}

int16_t DisappearRandom(STATUS* status) { return effect[pick].disappear(status); }

int16_t CloseRandom(STATUS* status) { return effect[pick].close(status); }
