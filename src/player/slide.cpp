#include "player/slide.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "effects/effect.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "shell/messages.h"

namespace {

// An effect operation with the slide palette realised around it.
int16_t Run(EFFECTOPERATION operation, STATUS* status)
{
    PALSTATE palette;
    RealizeWindowPalette(status->dc, &palette, status->palette, PaletteColours(status->colourBits));
    const int16_t result = operation(status);
    UnrealizeWindowPalette(status->dc, &palette);
    return result;
}

void PostSlideDone(HWND window) { PostMessageA(window, WM_TIMER, STEP_SLIDEDONE, 0); }

}  // namespace

int PaletteColours(int bits) { return bits >= 1 && bits <= 8 ? 1 << bits : 1 << 24; }

int16_t InitImageStatus(STATUS* status, HGLOBAL picture, int effectIn, int effectOut, long speed, long holdTime,
                        HBRUSH brush)
{
    std::memset(status, 0, sizeof *status);
    status->picture = picture;
    status->effectIn = effectIn;
    status->effectOut = effectOut;
    status->speed = static_cast<int32_t>(speed);
    status->holdTime = static_cast<int32_t>(holdTime);
    status->backgroundBrush = brush;
    status->activeEffect = EFFECT_IDLE;
    int width = 0, height = 0, bits = 0;
    if (!GetBitmapDimensions(picture, &width, &height, &bits, status->palette))
        return 0;
    status->width = width;
    status->height = height;
    status->colourBits = bits;
    return 1;
}

void ChangePhase(STATUS* status)
{
    switch (status->phase) {
    case PHASE_SETUP: status->phase = PHASE_APPEAR; break;
    case PHASE_APPEAR:
        status->phase = PHASE_WAIT;
        status->holdLeft = status->holdTime;
        break;
    case PHASE_WAIT: status->phase = PHASE_DISAPPEAR; break;
    default: status->phase = PHASE_SETUP; break;
    }
}

int16_t GetImage(HWND, const STATUS* status) { return status->picture ? 1 : 0; }

void HandleOnceCell(HWND window, HDC dc, STATUS* status)
{
    // Effect numbers come from the show file: one outside the table, in or
    // out, stops the tick before anything reaches the table.
    if (!IsEffectNumber(status->effectIn) || !IsEffectNumber(status->effectOut))
        return;
    if (status->activeEffect == EFFECT_IDLE) {
        if (GetImage(window, status)) {
            status->activeEffect = status->effectIn;
            status->dc = dc;
            status->window = window;
            if (Run(effect[status->effectIn].setup, status) & EFFECT_ABORT) {
                status->activeEffect = EFFECT_IDLE;
                PostSlideDone(window);
            }
        }
        ChangePhase(status);
        return;
    }
    status->dc = dc;
    status->window = window;
    int16_t result = 0;
    switch (status->phase) {
    case PHASE_APPEAR: result = Run(effect[status->effectIn].appear, status); break;
    case PHASE_WAIT: result = Run(effect[status->effectIn].wait, status); break;
    case PHASE_DISAPPEAR:
        result = Run(effect[status->effectOut].disappear, status);
        if (result & EFFECT_DONE)
            Run(effect[status->effectOut].close, status);
        break;
    default: break;
    }
    if (result & EFFECT_DONE)
        ChangePhase(status);
    if ((result & EFFECT_ABORT) || status->phase == PHASE_SETUP) {
        status->activeEffect = EFFECT_IDLE;
        PostSlideDone(window);
    }
}

int16_t DestroyStatus(STATUS* status)
{
    if (status->bitmap) {
        DeleteObject(status->bitmap);
        status->bitmap = nullptr;
    }
    std::free(status->workA);
    status->workA = nullptr;
    std::free(status->workB);
    status->workB = nullptr;
    if (status->text) {
        GlobalFree(status->text);
        status->text = nullptr;
    }
    return 1;
}

int GetImageOrigin(int* x, int* y, const BLOCK* block)
{
    *x = *y = 0;
    int w = 0, h = 0;
    if (block->tag != TAG_IMAG || !GetBitmapDimensions(block->payload, &w, &h, nullptr, nullptr))
        return 0;
    // In 64 bits: the offsets come from the show file.
    const int64_t sw = GetSystemMetrics(SM_CXSCREEN);
    const int64_t sh = GetSystemMetrics(SM_CYSCREEN);
    const SCRIMAG& imag = block->imag;
    int64_t px, py;
    switch (imag.position) {
    case POSITION_TOP_LEFT:
        px = imag.x;
        py = imag.y;
        break;
    case POSITION_TOP_RIGHT:
        px = sw - w + imag.x - 2;
        py = imag.y;
        break;
    case POSITION_BOTTOM_LEFT:
        px = imag.x;
        py = sh - h + imag.y - 2;
        break;
    case POSITION_BOTTOM_RIGHT:
        px = sw - w + imag.x - 2;
        py = sh - h + imag.y - 2;
        break;
    default:
        px = sw / 2 - w / 2 + imag.x;
        py = sh / 2 - h / 2 + imag.y;
        break;
    }
    // No negative position; no clamp at the right or bottom edge.
    *x = static_cast<int>(std::clamp<int64_t>(px, 0, INT32_MAX));
    *y = static_cast<int>(std::clamp<int64_t>(py, 0, INT32_MAX));
    return 1;
}
