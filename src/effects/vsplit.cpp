// "Vertical Split": the left half rises from the bottom edge while the right
// half descends from the top; on leaving the left half sinks out at the
// bottom and the right half rises out at the top. Five lines a tick.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

LINESTATE vsplit;

}  // namespace

int16_t SetupVsplit(STATUS* status) { return LineSetup(status, &vsplit); }

int16_t AppearVsplit(STATUS* status)
{
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int W = static_cast<int>(vsplit.W), H = static_cast<int>(vsplit.H), W2 = W / 2;
    // The new line first, then the strip shifted after it.
    RunSteps(&vsplit.n, vsplit.H - 1, 5, [&](int n) {
        source.Put(0, n, W2, 1, 0, H - 1);
        CopyOnScreen(status, 0, H - n, W2, n, 0, H - n - 1);
        source.Put(W2, H - n - 1, W2, 1, W2, 0);
        CopyOnScreen(status, W2, 0, W2, n, W2, 1);
    });
    if (vsplit.n >= vsplit.H - 1) {
        source.Put(0, 0, W, H, 0, 0);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitVsplit(STATUS* status) { return LineWait(status, &vsplit); }

int16_t DisappearVsplit(STATUS* status)
{
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    vsplit.W = size.W;
    vsplit.H = size.H;
    PictureFrame frame(status);
    BackgroundFill fill(status);
    const int W = static_cast<int>(vsplit.W), H = static_cast<int>(vsplit.H), W2 = W / 2;
    RunSteps(&vsplit.n, vsplit.H, 5, [&](int n) {
        CopyOnScreen(status, 0, n, W2, H - n, 0, n + 1);
        fill.Fill(0, n - 1, W2 + 1, n + 3);
        CopyOnScreen(status, W2, 1, W2 + 1, H - n, W2, 0);
        fill.Fill(W2, H - n - 1, W + 2, H - n + 2);
    });
    return vsplit.n >= vsplit.H - 1 ? EFFECT_DONE : 0;
}

int16_t CloseVsplit(STATUS* status) { return LineClose(status, &vsplit); }
