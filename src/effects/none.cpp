// "None": the picture appears at once and leaves at once.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

EFFECTSIZE none;

}  // namespace

int16_t SetupNone(STATUS* status)
{
    const int16_t failed = PictureSetup(status, &none);
    return failed ? failed : EFFECT_DONE;
}

int16_t AppearNone(STATUS* status) { return PutAll(status, none); }

int16_t WaitNone(STATUS* status) { return StandardWait(status); }

int16_t DisappearNone(STATUS* status)
{
    // The slide's own picture gives the area, whatever an earlier slide of
    // this family recorded.
    if (!PictureSize(status, &none))
        return EFFECT_ABORT;
    PictureFrame frame(status);
    BackgroundFill(status).Fill(0, 0, static_cast<int>(none.W) + 1, static_cast<int>(none.H) + 1);
    return EFFECT_DONE;
}

int16_t CloseNone(STATUS* status) { return StandardClose(status); }
