// Drawing conventions shared by all effects.
#pragma once

#include "platform/kernel.h"
#include "player/status.h"

// Per-family state: the picture's size as the family's setup (or its first
// disappear) recorded it.
struct EFFECTSIZE {
    uint32_t W, H;
};

// copy (x, y, w x h) -> (toX, toY) within the window DC; overlapping source
// and destination give the result of reading the whole source first.
void CopyOnScreen(const STATUS* status, int x, int y, int w, int h, int toX, int toY);

// Runs `step(n)` while n is below `limit` (unsigned) and the budget of one
// call lasts, counting n up.
template <typename Step>
void RunSteps(uint32_t* n, uint32_t limit, int budget, Step step)
{
    for (int i = 0; i < budget && *n < limit; ++i, ++*n)
        step(static_cast<int>(*n));
}

// Re-seeds the random generator with the time, as the block effects do.
void Reseed();

// A table of (x, y) corners in row order: x steps by `step` up to W, then y
// by `step`; in the ordinary heap (the STATUS owns it as workA). Nothing for
// an empty table or when memory runs out.
int32_t* MakeCornerTable(uint32_t W, uint32_t H, uint32_t step, uint32_t* count);
// Swap-remove: entry `i` of `n` pairs takes the last one, and n shrinks.
void RemovePair(int32_t* table, uint32_t* n, uint32_t i);
// A random value below n (0 when n is 0).
uint32_t RandomBelow(uint32_t n);
// Frees an effect table of the STATUS and clears its field.
void FreeTable(void** table);
// Deletes the STATUS bitmap, if any.
void DeleteBitmap(STATUS* status);

// State of the families that work through a table of pieces in workA: the
// picture's size and the pieces left.
struct TABLESTATE {
    uint32_t W, H, N;
};
// The pieces: `step` x `step` squares in row order, or with `oneRow` the
// left edges of `step`-wide strips.
struct TABLESHAPE {
    uint32_t step;
    bool oneRow;
};
// Setup of those families: the bitmap, the table, and re-seeding.
int16_t TableSetup(STATUS* status, TABLESTATE* state, TABLESHAPE shape);
// Before leaving: when workA is empty (the family only leaves, or its
// appear freed the table), the size of the slide's own picture and a new
// table, re-seeding when asked. 0, or EFFECT_ABORT.
int16_t TableForLeaving(STATUS* status, TABLESTATE* state, TABLESHAPE shape, bool reseed);

// State of the families that move the picture a line at a time: the size
// and the step counter.
struct LINESTATE {
    uint32_t W, H, n;
};
// Setup of those families: n = 0, then the picture setup; done or abort.
int16_t LineSetup(STATUS* status, LINESTATE* state);
// Standard wait; its completion resets n.
int16_t LineWait(STATUS* status, LINESTATE* state);
// Standard close, then n = 0.
int16_t LineClose(STATUS* status, LINESTATE* state);

// Picture setup: makes `bitmap` from `picture` for the DC and records the
// size. 0 on success, EFFECT_ABORT when the picture cannot be locked or the
// bitmap cannot be made.
int16_t PictureSetup(STATUS* status, EFFECTSIZE* size);
// Reads the size of the slide's own picture: for a family that is only the
// slide's effectOut. False when the picture cannot be locked.
bool PictureSize(const STATUS* status, EFFECTSIZE* size);
// Put all: the whole W x H picture at (0, 0) of a picture frame; done, or
// EFFECT_ABORT when the picture source cannot be had.
int16_t PutAll(const STATUS* status, const EFFECTSIZE& size);
// Standard wait: done when no second of the wait is left.
int16_t StandardWait(const STATUS* status);
// Standard close: deletes `bitmap`.
int16_t StandardClose(STATUS* status);

// Picture frame: picture coordinates (0, 0) fall on the slide's position
// while it lives.
class PictureFrame {
public:
    explicit PictureFrame(const STATUS* status);
    ~PictureFrame();
    PictureFrame(const PictureFrame&) = delete;
    PictureFrame& operator=(const PictureFrame&) = delete;

private:
    HDC dc_;
};

// Picture source: a memory DC holding `bitmap`, to copy pixels from.
class PictureSource {
public:
    explicit PictureSource(const STATUS* status);
    ~PictureSource();
    PictureSource(const PictureSource&) = delete;
    PictureSource& operator=(const PictureSource&) = delete;
    // False when the DC cannot be made or the bitmap not selected: the
    // operation then returns EFFECT_ABORT.
    explicit operator bool() const { return previous_ != nullptr; }
    HDC dc() const { return dc_; }
    // put (x, y, w x h) -> (toX, toY), from the picture.
    void Put(int x, int y, int w, int h, int toX, int toY) const;

private:
    HDC target_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// Background fill: the show's brush with the null pen, so that
// Fill(l, t, r, b) paints columns l to r - 1 and rows t to b - 1.
class BackgroundFill {
public:
    explicit BackgroundFill(const STATUS* status);
    ~BackgroundFill();
    BackgroundFill(const BackgroundFill&) = delete;
    BackgroundFill& operator=(const BackgroundFill&) = delete;
    void Fill(int left, int top, int right, int bottom) const;

private:
    HDC dc_;
    HGDIOBJ previousBrush_;
    HGDIOBJ previousPen_;
};
