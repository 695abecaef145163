#include "shell/preview.h"

// Stand-in until the preview arrives (issue 8): an empty black window that
// ends the preview's message loop when the host destroys it.
LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
