#include "shell/runmodes.h"

#include <cstring>
#include <string>

#include "animation/animation.h"
#include "imaging/display.h"
#include "imaging/palette.h"
#include "imaging/reduce.h"
#include "platform/guards.h"
#include "shell/cmdline.h"
#include "shell/configure.h"
#include "shell/messages.h"
#include "shell/preview.h"
#include "shell/saverwindow.h"
#include "show/blockstore.h"
#include "show/loader.h"

HINSTANCE hInst;
HWND hMainWindow;
const char szSaverAppName[] = "Screen Saver.VTL Screen Saver";
const char SaverClassName[] = "WindowsScreenSaverClass";

namespace {

constexpr DWORD BLOCKLIST_STYLE = WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
static_assert(BLOCKLIST_STYLE == 0x40A00041);

bool RegisterSaverClass(HINSTANCE instance, const char* name, WNDPROC proc, HCURSOR cursor)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SAVER));
    wc.hCursor = cursor;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

WPARAM RunMessageLoop()
{
    MSG msg{};
    // GetMessageA answers -1 on failure; that ends the loop too rather than
    // spinning on it.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return msg.message == WM_QUIT ? msg.wParam : 0;
}

void GetOwnPath(char (&path)[BLOCKSET_PATH])
{
    DWORD n = GetModuleFileNameA(hInst, path, BLOCKSET_PATH);
    // A truncated path is terminated on Vista and later but not on XP.
    path[n < BLOCKSET_PATH ? n : BLOCKSET_PATH - 1] = '\0';
}

int RunFullScreen(HINSTANCE instance)
{
    if (!RegisterSaverClass(instance, SaverClassName, ScreenSaverProc, LoadCursorA(instance, MAKEINTRESOURCEA(IDC_SAVER))))
        return 0;
    InitializeAnimation();
    HWND window = CreateWindowExA(0, SaverClassName, szSaverAppName, WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr) {
        DeinitializeAnimation();
        UnregisterClassA(SaverClassName, instance);
        return 0;
    }
    hMainWindow = window;
    HWND list = CreateWindowExA(0, "LISTBOX", "", BLOCKLIST_STYLE, 0, 0, 1, 1, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(BLOCKLIST_ID)), instance, nullptr);

    char path[BLOCKSET_PATH];
    GetOwnPath(path);

    bool loaded = false;
    bool filled = false;
    GlobalBlockGuard mem(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BLOCKSET)));
    if (mem) {
        GlobalLockGuard<BLOCKSET> set(mem.get());
        if (set) {
            std::memset(set.get(), 0, sizeof(BLOCKSET));
            std::strcpy(set->fileName, path);
            loaded = LoadScrFile(list, set.get(), path) != 0;
            filled = true;
        }
    }
    // Unlocked now; a record that could not be locked is not attached.
    if (filled)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(mem.release()));
    if (loaded)
        PostMessageA(window, WM_STARTSHOW, 0, 0);

    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    WPARAM result = RunMessageLoop();
    DeinitializeAnimation();
    UnregisterClassA(SaverClassName, instance);
    return static_cast<int>(result);
}

int RunConfiguration(HINSTANCE instance)
{
    char path[BLOCKSET_PATH];
    GetOwnPath(path);
    BLOCK block;
    if (!LoadHeaderBlock(nullptr, &block, path, nullptr))
        return 0;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIGURE), nullptr, ScreenSaverConfigureDialog,
                    reinterpret_cast<LPARAM>(&block));
    DestroyBlock(&block);
    return 0;
}

int RunPreview(HINSTANCE instance, const char* commandLine)
{
    const std::string className = std::string("WindowsScreenSaverPreviewClass") + szSaverAppName;
    auto parent = reinterpret_cast<HWND>(GetWindowArgument(commandLine));
    if (parent == nullptr)
        return 0;
    RECT rect{};
    GetWindowRect(parent, &rect);
    if (!RegisterSaverClass(instance, className.c_str(), PreviewProc, nullptr))
        return 0;

    char path[BLOCKSET_PATH];
    GetOwnPath(path);
    BLOCK block;
    bool loaded = LoadHeaderBlock(nullptr, &block, path, nullptr) != 0;
    if (loaded && block.payload && devicebits <= 8) {
        uint8_t palette[PALETTE_BYTES];
        int depth = 8;
        GetDefaultPalette(palette, &depth, PALETTE_STANDARD);
        if (HGLOBAL reduced = DitherDib(block.payload, palette, depth, 0)) {
            GlobalFree(block.payload);
            block.payload = reduced;
        }
    }

    HWND window = CreateWindowExA(0, className.c_str(), szSaverAppName, WS_CHILD | WS_VISIBLE, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance,
                                  loaded ? &block : nullptr);
    if (window == nullptr) {
        UnregisterClassA(className.c_str(), instance);
        return 0;
    }
    WPARAM result = RunMessageLoop();
    UnregisterClassA(className.c_str(), instance);
    return static_cast<int>(result);
}

int RunPasswordChange(const char* commandLine)
{
    auto window = reinterpret_cast<HWND>(GetWindowArgument(commandLine));
    if (window == nullptr)
        window = GetForegroundWindow();
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == nullptr) {
        MessageBoxA(window, "Error loading library", "Message", MB_ICONINFORMATION);
        return 0;
    }
    using ChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, UINT, UINT);
    auto change = reinterpret_cast<ChangePassword>(reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change == nullptr) {
        MessageBoxA(window, "Damaged library", "Message", MB_ICONINFORMATION);
        FreeLibrary(library);
        return 0;
    }
    change("SCRSAVE", window, 0, 0);
    FreeLibrary(library);
    return 0;
}

}  // namespace

int CreateScreenSaverWindow(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    switch (GetRunMode(commandLine)) {
    case RUNMODE_SAVER: return RunFullScreen(instance);
    case RUNMODE_CONFIGURE: return RunConfiguration(instance);
    case RUNMODE_PREVIEW: return RunPreview(instance, commandLine);
    case RUNMODE_PASSWORD: return RunPasswordChange(commandLine);
    case RUNMODE_NONE: break;
    }
    return 0;
}
