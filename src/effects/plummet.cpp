// "Plummet": 16-pixel-wide vertical strips of the picture drop into place
// one after the other in random order, 16 rows of one strip a tick; they
// leave the same way.
#include "effects/conventions.h"
#include "effects/effect.h"
#include "effects/families.h"

namespace {

constexpr uint32_t STRIP = 16;
constexpr int ROWS_PER_CALL = 16;

// The strips' left edges: every strip 16 wide, the last one past the edge.
constexpr TABLESHAPE STRIPS = {STRIP, true};

// The table state (N is the strips left), k the rows done in the current
// strip and c its index in the table.
TABLESTATE strips;
uint32_t k, c;

// The strip the steps work on; a new one when the last is done.
int32_t CurrentStrip(const STATUS* status)
{
    if (k == 0 || c >= strips.N) {
        k = 0;
        c = RandomBelow(strips.N);
    }
    return static_cast<const int32_t*>(status->workA)[2 * c];
}

// A strip counts as finished once k has reached H - 1.
void EndOfCall(STATUS* status)
{
    if (k >= strips.H - 1) {
        RemovePair(static_cast<int32_t*>(status->workA), &strips.N, c);
        k = 0;
    }
}

}  // namespace

int16_t SetupPlummet(STATUS* status)
{
    k = 0;
    return TableSetup(status, &strips, STRIPS);
}

int16_t AppearPlummet(STATUS* status)
{
    if (strips.N == 0 || status->workA == nullptr) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    PictureSource source(status);
    if (!source)
        return EFFECT_ABORT;
    const int sx = CurrentStrip(status), H = static_cast<int>(strips.H);
    for (int step = 0; step < ROWS_PER_CALL && k < strips.H; ++step, ++k) {
        const int row = static_cast<int>(k);
        // The rows already shown move down; the next row, from the bottom
        // up, enters at the top.
        CopyOnScreen(status, sx, 0, STRIP, row, sx, 1);
        source.Put(sx, H - row - 1, STRIP, 1, sx, 0);
    }
    EndOfCall(status);
    return 0;
}

int16_t WaitPlummet(STATUS* status) { return StandardWait(status); }

int16_t DisappearPlummet(STATUS* status)
{
    if (status->workA == nullptr)
        k = 0;
    if (const int16_t failed = TableForLeaving(status, &strips, STRIPS, true))
        return failed;
    if (strips.N == 0) {
        FreeTable(&status->workA);
        return EFFECT_DONE;
    }
    PictureFrame frame(status);
    BackgroundFill fill(status);
    const int sx = CurrentStrip(status), H = static_cast<int>(strips.H);
    for (int step = 0; step < ROWS_PER_CALL && k < strips.H; ++step, ++k) {
        const int row = static_cast<int>(k);
        // The rest of the strip moves down, its lowest row dropping off.
        CopyOnScreen(status, sx, row, STRIP, H - row - 1, sx, row + 1);
        fill.Fill(sx, row, sx + 17, row + 2);
    }
    EndOfCall(status);
    return 0;
}

int16_t ClosePlummet(STATUS* status)
{
    FreeTable(&status->workA);
    DeleteBitmap(status);
    k = 0;
    return EFFECT_DONE;
}
