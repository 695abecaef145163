// Drawing conventions shared by all effects.
#pragma once

#include "platform/kernel.h"
#include "player/status.h"

// Per-family state: the picture's size as the family's setup (or its first
// disappear) recorded it.
struct EFFECTSIZE {
    uint32_t W, H;
};

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
