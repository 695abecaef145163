// "Horizontal Split": the top half slides in from the right while the bottom
// half slides in from the left; on leaving the top half goes left and the
// bottom half right. Six lines a tick.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

LINESTATE hsplit;

}  // namespace

int16_t SetupHsplit(STATUS* status) { return LineSetup(status, &hsplit); }

int16_t AppearHsplit(STATUS* status)
{
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int W = static_cast<int>(hsplit.W), H = static_cast<int>(hsplit.H), H2 = H / 2;
    RunSteps(&hsplit.n, hsplit.W, 6, [&](int n) {
        CopyOnScreen(status, W - n, 0, n, H2, W - n - 1, 0);
        source.Put(n, 0, 1, H2, W - 1, 0);
        CopyOnScreen(status, 0, H2, n, H2, 1, H2);
        source.Put(W - n - 1, H2, 1, H2, 0, H2);
    });
    if (hsplit.n >= hsplit.W - 1) {
        source.Put(0, 0, W, H, 0, 0);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitHsplit(STATUS* status) { return LineWait(status, &hsplit); }

int16_t DisappearHsplit(STATUS* status)
{
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    hsplit.W = size.W;
    hsplit.H = size.H;
    PictureFrame frame(status);
    BackgroundFill fill(status);
    const int W = static_cast<int>(hsplit.W), H = static_cast<int>(hsplit.H), H2 = H / 2;
    RunSteps(&hsplit.n, hsplit.W, 6, [&](int n) {
        CopyOnScreen(status, 1, 0, W - n - 1, H2, 0, 0);
        fill.Fill(W - n, 0, W - n + 2, H2 + 1);
        CopyOnScreen(status, n, H2, W - n - 1, H2, n + 1, H2);
        fill.Fill(n - 1, H2, n + 2, H + 1);
    });
    if (hsplit.n >= hsplit.W - 1) {
        fill.Fill(0, 0, 2, H2 + 1);
        fill.Fill(W, H2, W + 2, H + 1);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t CloseHsplit(STATUS* status) { return LineClose(status, &hsplit); }
