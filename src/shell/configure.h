// The configuration dialog: nothing to configure, so it shows the show's
// title as its caption and the show's notice, and closes on "Done".
#pragma once

#include "platform/kernel.h"
#include "show/block.h"

constexpr int IDD_CONFIGURE = 2003;
constexpr int IDC_NOTICE = 101;
constexpr int IDC_ABOUT = 102;

extern const BLOCK* configBlock;
extern HFONT noticeFont;
extern HFONT smallFont;

INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Centres the window on the screen.
void CentreWindow(HWND window);
