// Private messages and timer ids of the saver window.
#pragma once

#include "platform/kernel.h"

#ifndef WM_USER
#define WM_USER 0x0400
#endif

constexpr UINT WM_STARTSHOW = WM_USER + 57;        // start the show
constexpr UINT WM_APPLETSTEP = WM_USER + 188;      // run the next applet line
constexpr UINT WM_CLOSEREQUEST = WM_USER + 200;    // user input asks to end the saver
constexpr UINT WM_PASSWORDFAILED = WM_USER + 201;  // the password was refused

static_assert(WM_STARTSHOW == 0x439 && WM_APPLETSTEP == 0x4BC);
static_assert(WM_CLOSEREQUEST == 0x4C8 && WM_PASSWORDFAILED == 0x4C9);

constexpr UINT_PTR TIMER_CELL = 1;         // one step of the slide's effect
constexpr UINT_PTR TIMER_SECOND = 2;       // the wait phase's seconds
constexpr UINT_PTR TIMER_ADVANCE = 4;      // the block's display time
constexpr UINT_PTR TIMER_ANIMATION = 102;  // pause after an animation block

// Steps the saver window posts to itself as WM_TIMER with these ids.
constexpr WPARAM STEP_SLIDEDONE = static_cast<WPARAM>(-1);
constexpr WPARAM STEP_NEXTBLOCK = static_cast<WPARAM>(-2);
