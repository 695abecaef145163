// The full-screen saver window's procedure.
#pragma once

#include "platform/kernel.h"

LRESULT CALLBACK ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The saver window's default handling: input, close requests and the end of
// the message loop.
LRESULT CALLBACK DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
