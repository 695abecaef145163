// "Wipe in from Left": the mirror of the wipe from the right; the picture
// slides in from the left edge, right column first, and leaves to the right.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

LINESTATE wleft;

}  // namespace

int16_t SetupWleft(STATUS* status) { return LineSetup(status, &wleft); }

int16_t AppearWleft(STATUS* status)
{
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int W = static_cast<int>(wleft.W), H = static_cast<int>(wleft.H);
    RunSteps(&wleft.n, wleft.W, 6, [&](int n) {
        CopyOnScreen(status, 0, 0, n, H, 1, 0);
        source.Put(W - n - 1, 0, 1, H, 0, 0);
    });
    if (wleft.n >= wleft.W - 1) {
        source.Put(0, 0, W, H, 0, 0);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitWleft(STATUS* status) { return LineWait(status, &wleft); }

int16_t DisappearWleft(STATUS* status)
{
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    wleft.W = size.W;
    wleft.H = size.H;
    PictureFrame frame(status);
    BackgroundFill fill(status);
    const int W = static_cast<int>(wleft.W), H = static_cast<int>(wleft.H);
    RunSteps(&wleft.n, wleft.W, 6, [&](int n) {
        CopyOnScreen(status, n, 0, W - n, H, n + 1, 0);
        fill.Fill(n - 1, 0, n + 2, H + 1);
    });
    if (wleft.n >= wleft.W - 1) {
        fill.Fill(W, 0, W + 2, H + 1);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t CloseWleft(STATUS* status) { return LineClose(status, &wleft); }
