// "Quadrants": the four quarters of the picture grow out of its centre
// towards the corners, two steps a tick; the picture leaves at once.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"
#include "imaging/composite.h"
#include "platform/guards.h"

namespace {

constexpr int STEPS_PER_CALL = 2;

struct FOURWAYSTATE {
    uint32_t W, H;
    uint32_t S;        // number of steps
    uint32_t i;        // steps done
    double DXf, DYf;   // step sizes
    double PXf, PYf;   // current extents
} fourway;

}  // namespace

int16_t SetupFourway(STATUS* status)
{
    fourway.i = 0;
    DeleteBitmap(status);
    GlobalLockGuard<BITMAPINFOHEADER> picture(status->picture);
    if (!picture)
        return EFFECT_ABORT;
    fourway.W = static_cast<uint32_t>(picture->biWidth);
    fourway.H = static_cast<uint32_t>(picture->biHeight);
    fourway.S = fourway.W > fourway.H ? fourway.W / 2 : fourway.H / 2;
    // A picture whose larger side is 1 pixel has no steps: it is put at once.
    fourway.DXf = fourway.S ? (fourway.W * 0.5) / fourway.S : 0.0;
    fourway.DYf = fourway.S ? (fourway.H * 0.5) / fourway.S : 0.0;
    fourway.PXf = fourway.PYf = 0.0;
    status->bitmap = CreateDeviceBitmap(status->dc, picture.get());
    return status->bitmap ? EFFECT_DONE : EFFECT_ABORT;
}

int16_t AppearFourway(STATUS* status)
{
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int cx2 = static_cast<int>(fourway.W / 2), cy2 = static_cast<int>(fourway.H / 2);
    for (int step = 0; step < STEPS_PER_CALL && fourway.i < fourway.S; ++step) {
        const int X = static_cast<int>(fourway.PXf), Y = static_cast<int>(fourway.PYf);
        const int DX = static_cast<int>(fourway.DXf), DY = static_cast<int>(fourway.DYf);
        source.Put(2 * cx2 - X - DX, 2 * cy2 - Y - DY, X, Y, cx2, cy2);  // lower right
        source.Put(2 * cx2 - X - DX, cy2 - Y, X, Y, cx2, cy2 - Y);      // upper right
        source.Put(0, 0, X, Y, cx2 - X, cy2 - Y);                        // upper left
        source.Put(0, 2 * cy2 - Y - DY, X, Y, cx2 - X, cy2);            // lower left
        fourway.PXf += fourway.DXf;
        fourway.PYf += fourway.DYf;
        ++fourway.i;
    }
    if (fourway.S == 0 || fourway.i >= fourway.S - 1) {
        source.Put(0, 0, static_cast<int>(fourway.W), static_cast<int>(fourway.H), 0, 0);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitFourway(STATUS* status)
{
    const int16_t result = StandardWait(status);
    if (result == EFFECT_DONE) {
        fourway.i = 0;
        fourway.PXf = fourway.PYf = 0.0;
    }
    return result;
}

int16_t DisappearFourway(STATUS* status)
{
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    fourway.W = size.W;
    fourway.H = size.H;
    PictureFrame frame(status);
    BackgroundFill(status).Fill(0, 0, static_cast<int>(size.W) + 1, static_cast<int>(size.H) + 1);
    return EFFECT_DONE;
}

int16_t CloseFourway(STATUS* status)
{
    DeleteBitmap(status);
    fourway.i = 0;
    return EFFECT_DONE;
}
