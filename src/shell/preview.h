// The preview window inside the display settings page.
#pragma once

#include "platform/kernel.h"

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
