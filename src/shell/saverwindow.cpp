#include "shell/saverwindow.h"

#include <cstdlib>

#include "player/sequencer.h"
#include "shell/messages.h"
#include "shell/runmodes.h"
#include "show/blockstore.h"

int verifying;
POINT mousePoint = {-1, -1};
POINT abortPoint = {-1, -1};

namespace {

constexpr UINT MOUSE_FIRST = 0x200;
constexpr UINT MOUSE_LAST = 0x209;
constexpr UINT KEY_FIRST = 0x100;
constexpr UINT KEY_LAST = 0x108;

bool Unset(const POINT& p) { return p.x == -1 || p.y == -1; }

bool Moved(const POINT& from)
{
    POINT now;
    GetCursorPos(&now);
    return now.x != from.x || now.y != from.y;
}

void RequestClose(HWND window) { PostMessageA(window, WM_CLOSEREQUEST, 0, 0); }

// Removes the window's pending mouse, then keyboard messages, unhandled.
void DrainInput(HWND window)
{
    MSG msg;
    while (PeekMessageA(&msg, window, MOUSE_FIRST, MOUSE_LAST, PM_REMOVE)) {
    }
    while (PeekMessageA(&msg, window, KEY_FIRST, KEY_LAST, PM_REMOVE)) {
    }
}

// Ends the show: releases the current block, every stored block and the
// BLOCKSET itself, and detaches it from the window.
void ReleaseShow(HWND window)
{
    if (BLOCKSET* set = LockBlockSet(window)) {
        // Stopping the sound (APPLETKillSound) comes with applet sound.
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

void TellSaverRunning(BOOL running)
{
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running, &previous, 0);
}

}  // namespace

LRESULT CALLBACK ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        TellSaverRunning(TRUE);
        break;
    case WM_SYSCOMMAND:
        // No second saver starts, and the system menu cannot close this one.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_CLOSE)
            return 0;
        break;
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
        ReleaseShow(window);
        DrainInput(window);
        TellSaverRunning(FALSE);
        break;
    default:
        break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

LRESULT CALLBACK DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        // The reference position is taken anew on every activation.
        if (LOWORD(wParam) != WA_INACTIVE || verifying)
            GetCursorPos(&mousePoint);
        else if (reinterpret_cast<HWND>(lParam) == window)
            RequestClose(window);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!verifying)
            RequestClose(window);
        break;
    case WM_MOUSEMOVE:
        if (!verifying) {
            SetCursor(nullptr);
            // One pixel of movement is enough; the first move only records
            // where the cursor is.
            if (Unset(mousePoint))
                GetCursorPos(&mousePoint);
            else if (Moved(mousePoint))
                RequestClose(window);
        }
        break;
    case WM_CLOSEREQUEST:
        if (verifying)
            break;
        verifying = 1;
        PostMessageA(window, VerifyPassword(hMainWindow) ? WM_CLOSE : WM_PASSWORDFAILED, 0, 0);
        verifying = 0;
        // The input that went with the password dialog starts no new request.
        DrainInput(window);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int CheckForAbort(HWND window)
{
    int result = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, MOUSE_FIRST, MOUSE_LAST, PM_REMOVE) ||
           PeekMessageA(&msg, window, KEY_FIRST, KEY_LAST, PM_REMOVE)) {
        if (msg.message == WM_MOUSEMOVE) {
            if (Unset(abortPoint)) {
                GetCursorPos(&abortPoint);
                continue;
            }
            if (Moved(abortPoint)) {
                result = 1;
                break;
            }
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
            result = 1;
        if (!IsWindow(window) || !IsWindow(hMainWindow)) {
            result = 1;
            break;
        }
        // Buttons and other keys reach the window, which asks to close itself.
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (result)
        RequestClose(window);
    return result;
}

int VerifyPassword(HWND window)
{
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS)
        return 1;
    BYTE value[16] = {};
    DWORD size = 4;
    DWORD type = 0;
    const LONG read = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type, value, &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS)
        return 1;
    // Windows NT keeps the flag as text ("0" or "1"); a 32-bit value is read
    // as it is.
    const long inUse = type == REG_SZ ? std::atol(reinterpret_cast<const char*>(value))
                                      : static_cast<long>(*reinterpret_cast<const DWORD*>(value));
    if (inUse == 0)
        return 1;
    HMODULE library = LoadLibraryA("PASSWORD.CPL");
    if (library == nullptr)
        return 1;
    using Verify = BOOL(WINAPI*)(HWND);
    auto verify = reinterpret_cast<Verify>(reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
    if (verify == nullptr) {
        FreeLibrary(library);
        return 1;
    }
    const int result = verify(window);
    FreeLibrary(library);
    return result;
}
