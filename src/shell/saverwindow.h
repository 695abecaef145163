// The full-screen saver window's procedure: the show (see player/sequencer.h)
// and the window's own input, close and password handling.
#pragma once

#include "platform/kernel.h"

// 1 while a close request is being checked; input is ignored meanwhile.
extern int verifying;
// The cursor positions that mouse moves are compared with, by the window's
// handling and by CheckForAbort; (-1, -1) until the first move.
extern POINT mousePoint;
extern POINT abortPoint;

LRESULT CALLBACK ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The saver window's default handling: input, close requests and the end of
// the message loop.
LRESULT CALLBACK DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Takes the window's pending mouse and keyboard messages out of its queue;
// 1 (after posting WM_CLOSEREQUEST) when they hold user input or the window
// is gone. Called between applet lines.
int CheckForAbort(HWND window);
// Non-zero when the saver may close: no password is in use, or the system's
// password check accepted it.
int VerifyPassword(HWND window);
