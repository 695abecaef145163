// "Plummet": 16-pixel-wide vertical strips of the picture drop into place
// one after the other in random order, 16 rows of one strip a tick; they
// leave the same way.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

constexpr uint32_t STRIP = 16;
constexpr int ROWS_PER_CALL = 16;

struct PLUMMETSTATE {
    uint32_t W, H;
    uint32_t N;  // strips left
    uint32_t k;  // rows done in the current strip
    uint32_t c;  // the current strip's index in the table
} plummet;

// The strips' left edges: every strip 16 wide, the last one past the edge.
bool BuildStrips(STATUS* status)
{
    uint32_t count = 0;
    auto* table = MakeCornerTable(plummet.W, 1, STRIP, &count);
    status->workA = table;
    plummet.N = count;
    return table != nullptr || count == 0;
}

// The strip the steps work on; a new one when the last is done.
int32_t CurrentStrip(const STATUS* status)
{
    if (plummet.k == 0 || plummet.c >= plummet.N) {
        plummet.k = 0;
        plummet.c = RandomBelow(plummet.N);
    }
    return static_cast<const int32_t*>(status->workA)[2 * plummet.c];
}

// A strip counts as finished once k has reached H - 1.
void EndOfCall(STATUS* status)
{
    if (plummet.k >= plummet.H - 1) {
        RemovePair(static_cast<int32_t*>(status->workA), &plummet.N, plummet.c);
        plummet.k = 0;
    }
}

}  // namespace

int16_t SetupPlummet(STATUS* status)
{
    DeleteBitmap(status);
    FreeTable(&status->workA);
    EFFECTSIZE size;
    if (const int16_t failed = PictureSetup(status, &size))
        return failed;
    plummet.W = size.W;
    plummet.H = size.H;
    if (!BuildStrips(status))
        return EFFECT_ABORT;
    Reseed();
    plummet.k = 0;
    return EFFECT_DONE;
}

int16_t AppearPlummet(STATUS* status)
{
    if (plummet.N == 0 || status->workA == nullptr) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int sx = CurrentStrip(status), H = static_cast<int>(plummet.H);
    for (int step = 0; step < ROWS_PER_CALL && plummet.k < plummet.H; ++step, ++plummet.k) {
        const int k = static_cast<int>(plummet.k);
        // The rows already shown move down; the next row, from the bottom
        // up, enters at the top.
        CopyOnScreen(status, sx, 0, STRIP, k, sx, 1);
        source.Put(sx, H - k - 1, STRIP, 1, sx, 0);
    }
    EndOfCall(status);
    return 0;
}

int16_t WaitPlummet(STATUS* status) { return StandardWait(status); }

int16_t DisappearPlummet(STATUS* status)
{
    if (status->workA == nullptr) {
        EFFECTSIZE size;
        if (!PictureSize(status, &size))
            return EFFECT_ABORT;
        plummet.W = size.W;
        plummet.H = size.H;
        if (!BuildStrips(status))
            return EFFECT_ABORT;
        Reseed();
        plummet.k = 0;
    }
    if (plummet.N == 0) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    BackgroundFill fill(status);
    const int sx = CurrentStrip(status), H = static_cast<int>(plummet.H);
    for (int step = 0; step < ROWS_PER_CALL && plummet.k < plummet.H; ++step, ++plummet.k) {
        const int k = static_cast<int>(plummet.k);
        // The rest of the strip moves down, its lowest row dropping off.
        CopyOnScreen(status, sx, k, STRIP, H - k - 1, sx, k + 1);
        fill.Fill(sx, k, sx + 17, k + 2);
    }
    EndOfCall(status);
    return 0;
}

int16_t ClosePlummet(STATUS* status)
{
    FreeTable(&status->workA);
    DeleteBitmap(status);
    plummet.k = 0;
    return EFFECT_DONE;
}
