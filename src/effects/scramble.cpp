// "Chaos and Order": the picture shows as a scrambled mosaic of square
// blocks, each drawn point-mirrored through the padded picture's centre, and
// is sorted into place, one pass of neighbour swaps a tick.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"
#include "imaging/composite.h"
#include "platform/guards.h"

namespace {

struct SCRAMBLESTATE {
    uint32_t W, H;
    uint64_t A;        // W x H
    uint32_t B;        // block size
    uint32_t PW, PH;   // padded width and height
    uint32_t N;        // number of blocks
    int D;             // pass direction; carries over from slide to slide
} scramble;

uint32_t Columns() { return scramble.PW / scramble.B; }

}  // namespace

int16_t SetupScramble(STATUS* status)
{
    DeleteBitmap(status);
    FreeTable(&status->workA);
    GlobalLockGuard<BITMAPINFOHEADER> picture(status->picture);
    if (!picture)
        return EFFECT_ABORT;
    scramble.W = static_cast<uint32_t>(picture->biWidth);
    scramble.H = static_cast<uint32_t>(picture->biHeight);
    scramble.A = static_cast<uint64_t>(scramble.W) * scramble.H;
    scramble.B = scramble.A < 65535 ? 8 : 16;
    // Too small for this effect.
    if (scramble.B >= scramble.W || scramble.B >= scramble.H)
        return EFFECT_ABORT;
    const uint32_t B = scramble.B;
    scramble.PW = (scramble.W + B - 1) / B * B;
    scramble.PH = (scramble.H + B - 1) / B * B;
    scramble.N = Columns() * (scramble.PH / B);
    status->bitmap = CreateDeviceBitmap(status->dc, picture.get());
    if (status->bitmap == nullptr)
        return EFFECT_ABORT;

    std::vector<int32_t> left;
    FreeTable(&status->workB);
    auto* order = static_cast<int32_t*>(std::calloc(scramble.N, sizeof(int32_t)));
    try {
        left.resize(scramble.N);
    } catch (const std::bad_alloc&) {
        std::free(order);
        return EFFECT_ABORT;
    }
    if (order == nullptr)
        return EFFECT_ABORT;
    for (uint32_t i = 0; i < scramble.N; ++i)
        left[i] = static_cast<int32_t>(i);
    Reseed();
    // A random permutation: pick from what is left, swap-removing.
    for (uint32_t j = 0; !left.empty(); ++j) {
        const uint32_t r = RandomBelow(static_cast<uint32_t>(left.size()));
        order[j] = left[r];
        left[r] = left.back();
        left.pop_back();
    }
    status->workB = order;
    return EFFECT_DONE;
}

int16_t AppearScramble(STATUS* status)
{
    auto* order = static_cast<int32_t*>(status->workB);
    // Without its table (the slide that built it has ended) there is
    // nothing to sort.
    if (order == nullptr)
        return EFFECT_DONE;
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const uint32_t B = scramble.B, C = Columns(), W = scramble.W, H = scramble.H;
    const uint32_t PW = scramble.PW, PH = scramble.PH, N = scramble.N;
    for (uint32_t j = 0; j < N; ++j) {
        const uint32_t k = static_cast<uint32_t>(order[j]);
        const uint32_t sx = (k % C) * B, sy = (k / C) * B;
        const uint32_t dx = (j % C) * B, dy = (j / C) * B;
        const uint32_t X = PW - B - sx, Y = PH - B - sy;
        const uint32_t Xp = PW - sx - std::min(B, W - sx), Yp = PH - sy - std::min(B, H - sy);
        source.Put(static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(std::min(B, W - Xp)),
                   static_cast<int>(std::min(B, H - Yp)), static_cast<int>(X), static_cast<int>(Y));
    }
    // One pass of neighbour swaps towards descending order, the passes
    // alternating direction from call to call.
    bool swapped = false;
    if (scramble.D) {
        for (uint32_t i = 0; i + 1 < N; ++i)
            if (order[i] < order[i + 1]) {
                std::swap(order[i], order[i + 1]);
                swapped = true;
            }
        scramble.D = 0;
    } else {
        for (uint32_t i = N - 1; i >= 1 && i < N; --i)
            if (order[i - 1] < order[i]) {
                std::swap(order[i - 1], order[i]);
                swapped = true;
            }
        scramble.D = 1;
    }
    if (!swapped) {
        FreeTable(&status->workB);
        return EFFECT_DONE;
    }
    return 0;
}

int16_t WaitScramble(STATUS* status) { return StandardWait(status); }

int16_t DisappearScramble(STATUS* status)
{
    EFFECTSIZE size;
    if (!PictureSize(status, &size))
        return EFFECT_ABORT;
    PictureFrame frame(status);
    BackgroundFill(status).Fill(0, 0, static_cast<int>(size.W) + 1, static_cast<int>(size.H) + 1);
    return EFFECT_DONE;
}

int16_t CloseScramble(STATUS* status)
{
    DeleteBitmap(status);
    FreeTable(&status->workB);
    return EFFECT_DONE;
}
