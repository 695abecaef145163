// "No Clear": appears like "None" and never leaves; the sequencer leaves
// the slide's area as it is when the block ends.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

EFFECTSIZE nclear;

}  // namespace

int16_t SetupNclear(STATUS* status)
{
    const int16_t failed = PictureSetup(status, &nclear);
    return failed ? failed : EFFECT_DONE;
}

int16_t AppearNclear(STATUS* status) { return PutAll(status, nclear); }

int16_t WaitNclear(STATUS* status) { return StandardWait(status); }

int16_t DisappearNclear(STATUS*) { return EFFECT_DONE; }

int16_t CloseNclear(STATUS* status) { return StandardClose(status); }
