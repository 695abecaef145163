// The configuration dialog: the show's title and notice.
#pragma once

#include "platform/kernel.h"

constexpr int IDD_CONFIGURE = 2003;
constexpr int IDC_NOTICE = 101;
constexpr int IDC_ABOUT = 102;

INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
