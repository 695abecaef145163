#include "shell/saverwindow.h"

#include "player/sequencer.h"
#include "shell/messages.h"
#include "show/blockstore.h"

namespace {

// Ends the show: releases the current block, every stored block and the
// BLOCKSET itself, and detaches it from the window.
void ReleaseShow(HWND window)
{
    if (BLOCKSET* set = LockBlockSet(window)) {
        // Stopping the sound comes with applet sound (issue 20 of the plan).
        ReleaseCurrentBlock(window, set);
        // The show's brush would otherwise outlive the window.
        if (set->backgroundBrush)
            DeleteObject(set->backgroundBrush);
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
    case WM_STARTSHOW:
        StartShow(window);
        return 0;
    case WM_ERASEBKGND:
        return EraseShowBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        if (HandleShowTimer(window, wParam))
            return 0;
        break;
    case WM_DESTROY:
        // Draining input and telling the system the saver stopped come with
        // the input handling (issue 6).
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
