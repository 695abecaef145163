#include "shell/configure.h"

// Stand-in until the dialog procedure arrives (issue 8): "Done" closes it.
INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        EndDialog(dialog, static_cast<INT_PTR>(wParam));
    return 0;
}
