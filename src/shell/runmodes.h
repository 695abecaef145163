// The program's entry and its four run modes.
#pragma once

#include "platform/kernel.h"

extern HINSTANCE hInst;
extern HWND hMainWindow;
// Title of every window the program creates; also ends the preview class name.
extern const char szSaverAppName[];
extern const char SaverClassName[];
constexpr int IDI_SAVER = 100;
constexpr int IDC_SAVER = 100;

// Picks the mode from the command line and runs it. Returns the wParam of the
// WM_QUIT that ended the mode's loop, or 0 when the mode ended early.
int CreateScreenSaverWindow(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
