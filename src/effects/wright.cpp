// "Wipe in from Right": the picture slides in from the right edge of its
// area, left column first, and leaves towards the left; six lines a tick.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

LINESTATE wright;

}  // namespace

int16_t SetupWright(STATUS* status) { return LineSetup(status, &wright); }

int16_t AppearWright(STATUS* status)
{
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int W = static_cast<int>(wright.W), H = static_cast<int>(wright.H);
    RunSteps(&wright.n, wright.W, 6, [&](int n) {
        CopyOnScreen(status, W - n, 0, n, H, W - n - 1, 0);
        source.Put(n, 0, 1, H, W - 1, 0);
    });
    if (wright.n >= wright.W - 1) {
        source.Put(0, 0, W, H, 0, 0);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitWright(STATUS* status) { return LineWait(status, &wright); }

int16_t DisappearWright(STATUS* status)
{
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    wright.W = size.W;
    wright.H = size.H;
    PictureFrame frame(status);
    BackgroundFill fill(status);
    const int W = static_cast<int>(wright.W), H = static_cast<int>(wright.H);
    RunSteps(&wright.n, wright.W, 6, [&](int n) {
        CopyOnScreen(status, 1, 0, W - n, H, 0, 0);
        fill.Fill(W - n, 0, W - n + 2, H + 1);
    });
    if (wright.n >= wright.W - 1) {
        fill.Fill(0, 0, 2, H + 1);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t CloseWright(STATUS* status) { return LineClose(status, &wright); }
