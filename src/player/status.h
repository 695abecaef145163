// The state of the slide being shown: one record per show, zero-filled
// whenever a slide starts. Picture slides use the upper fields, text slides
// the ones marked "text".
#pragma once

#include <cstdint>

#include "platform/kernel.h"

constexpr int32_t EFFECT_IDLE = 0xFFFF;

enum SlidePhase : int16_t {
    PHASE_SETUP = 0,
    PHASE_APPEAR = 1,
    PHASE_WAIT = 2,
    PHASE_DISAPPEAR = 3,
};

struct STATUS {
    HDC dc;                      // window DC of the current tick
    HWND window;
    HGLOBAL picture;             // the slide's private packed DIB
    int32_t x, y;                // screen position, refreshed every tick
    int32_t effectIn;
    int32_t effectOut;
    int32_t activeEffect;        // EFFECT_IDLE, or effectIn while a cycle runs
    int32_t speed;
    int32_t holdTime;
    int16_t phase;
    int32_t holdLeft;            // seconds of the wait still to run
    int32_t width, height;
    int32_t colourBits;
    uint8_t palette[256 * 3];    // red, green, blue triples
    HBITMAP bitmap;              // the picture made for the display by setup
    void* workA;                 // effect tables, ordinary heap
    void* workB;
    HBRUSH backgroundBrush;      // not owned
    HFONT font;                  // text
    HGLOBAL text;                // text: the prepared copy
    int32_t margin, drawn, cleared, scrollPos, alignment;  // text
    RECT textRect, boxRect;      // text
};
