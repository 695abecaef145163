#include "support/test_window.h"

#include "show/blockstore.h"

#ifdef _WIN32

TestWindow::TestWindow()
{
    window = CreateWindowExA(0, "STATIC", "test saver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY, 0, 0, 1,
                           1, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(BLOCKLIST_ID)),
                           GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow() { DestroyWindow(window); }

long LiveGlobalBlocks() { return -1; }

#else
#include "platform/kernel_native.h"

TestWindow::TestWindow()
{
    window = NativeCreateWindow(nullptr, 0);
    list = NativeCreateWindow(window, BLOCKLIST_ID);
}

TestWindow::~TestWindow() { NativeDestroyWindow(window); }

long LiveGlobalBlocks() { return NativeLiveGlobals(); }

#endif
