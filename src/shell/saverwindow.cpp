#include "shell/saverwindow.h"

#include "show/blockstore.h"

namespace {

// Frees every block and the BLOCKSET itself, and detaches it from the window.
void ReleaseShow(HWND window)
{
    if (BLOCKSET* set = LockBlockSet(window)) {
        FreeBlocks(window, set);
        UnlockBlockSet(window);
    }
    if (auto mem = reinterpret_cast<HGLOBAL>(GetWindowLongPtrA(window, GWLP_USERDATA)))
        GlobalFree(mem);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

}  // namespace

LRESULT CALLBACK ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        // Stopping the sound, releasing the current slide and draining input
        // come with the show and the input handling (issues 5 and 6).
        ReleaseShow(window);
        break;
    default:
        break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

// Until input handling arrives (issue 6) only the end of the loop is here.
LRESULT CALLBACK DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
