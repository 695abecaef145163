// The saver window's input, close and password handling, driven with sent
// messages; the password check goes through a PASSWORD.CPL built by the
// tests, and the registry value the check reads is set here.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "imaging/dib.h"
#include "platform/guards.h"
#include "player/sequencer.h"
#include "shell/messages.h"
#include "shell/runmodes.h"
#include "shell/saverwindow.h"
#include "show/blockstore.h"

namespace {

std::map<UINT_PTR, UINT> timers;
UINT_PTR FakeSetTimer(HWND, UINT_PTR id, UINT ms)
{
    timers[id] = ms;
    return id;
}
BOOL FakeKillTimer(HWND, UINT_PTR id) { return timers.erase(id) ? TRUE : FALSE; }

// The stub's controls, through a reference of our own that keeps it loaded.
struct Stub {
    Stub() : module(LoadLibraryA("PASSWORD.CPL"))
    {
        if (module) {
            setAnswer = reinterpret_cast<void (*)(BOOL)>(reinterpret_cast<void*>(GetProcAddress(module, "StubSetAnswer")));
            reenter = reinterpret_cast<void (*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(module, "StubReenter")));
            calls = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StubCalls")));
            reset = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StubReset")));
            reset();
        }
    }
    ~Stub()
    {
        if (module)
            FreeLibrary(module);
    }
    HMODULE module;
    void (*setAnswer)(BOOL) = nullptr;
    void (*reenter)(HWND) = nullptr;
    int (*calls)() = nullptr;
    void (*reset)() = nullptr;
};

void SetPasswordValue(DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    if (data)
        RegSetValueExA(key, "ScreenSaveUsePassword", 0, type, static_cast<const BYTE*>(data), size);
    else
        RegDeleteValueA(key, "ScreenSaveUsePassword");
    RegCloseKey(key);
}

void UsePassword(DWORD value) { SetPasswordValue(REG_DWORD, &value, 4); }

class SaverWindow : public testing::Test {
protected:
    void SetUp() override
    {
        realTimers = sequencerTimers;
        sequencerTimers = {FakeSetTimer, FakeKillTimer};
        timers.clear();
        verifying = 0;
        mousePoint = abortPoint = POINT{-1, -1};
        WNDCLASSA wc{};
        wc.lpfnWndProc = ScreenSaverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VistrelSaverWindowTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "saver", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        hMainWindow = window;
        CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 1, 1, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(BLOCKLIST_ID)), nullptr, nullptr);
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BLOCKSET));
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(mem));
        UsePassword(0);
        Drain();
        // Creating the window activated it, which took a reference position.
        mousePoint = abortPoint = POINT{-1, -1};
    }

    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        Drain();
        UnregisterClassA("VistrelSaverWindowTest", GetModuleHandleA(nullptr));
        sequencerTimers = realTimers;
        SetPasswordValue(0, nullptr, 0);
    }

    // Takes every pending message of the thread out of its queue, unhandled
    // but for paints, which stay until a window is painted.
    void Drain()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_PAINT)
                DispatchMessageA(&msg);
    }

    // How many messages of this kind wait for the window; they are taken.
    int Taken(UINT message)
    {
        int n = 0;
        MSG msg;
        while (PeekMessageA(&msg, window, message, message, PM_REMOVE))
            ++n;
        return n;
    }

    // The cursor is put somewhere; the real moves that makes are dropped.
    void Cursor(int x, int y)
    {
        SetCursorPos(x, y);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
    }

    SEQUENCERTIMERS realTimers{};
    HWND window = nullptr;
};

struct InputCase {
    const char* name;
    UINT message;
    bool requestsClose;
};

// Shift as the key: the default handling of a system key must not enter a
// menu loop that waits for input.
constexpr WPARAM KEY = VK_SHIFT;

const InputCase inputs[] = {
    {"key_down", WM_KEYDOWN, true},          {"system_key_down", WM_SYSKEYDOWN, true},
    {"left_button", WM_LBUTTONDOWN, true},   {"right_button", WM_RBUTTONDOWN, true},
    {"middle_button", WM_MBUTTONDOWN, true}, {"key_up", WM_KEYUP, false},
    {"system_key_up", WM_SYSKEYUP, false},   {"left_button_up", WM_LBUTTONUP, false},
    {"character", WM_CHAR, false},
};

TEST_F(SaverWindow, InputRequestsTheCloseAtOnce)
{
    for (const InputCase& c : inputs) {
        SendMessageA(window, c.message, KEY, 0);
        EXPECT_EQ(Taken(WM_CLOSEREQUEST), c.requestsClose ? 1 : 0) << c.name;
        verifying = 1;
        SendMessageA(window, c.message, KEY, 0);
        EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0) << c.name << " while verifying";
        verifying = 0;
    }
}

TEST_F(SaverWindow, FirstMouseMoveOnlyRecordsThePosition)
{
    Cursor(50, 60);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0);
    EXPECT_EQ(mousePoint.x, 50);
    EXPECT_EQ(mousePoint.y, 60);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0) << "no movement";
    Cursor(51, 60);
    verifying = 1;
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0) << "while verifying";
    verifying = 0;
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 1) << "one pixel is enough";
}

TEST_F(SaverWindow, ActivationTakesTheReferenceAnew)
{
    Cursor(70, 80);
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(mousePoint.x, 70);
    EXPECT_EQ(mousePoint.y, 80);
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 1);
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0);
}

TEST_F(SaverWindow, SystemCommandsCannotCloseOrRestartIt)
{
    for (WPARAM command : {WPARAM{SC_SCREENSAVE}, WPARAM{SC_CLOSE}, WPARAM{SC_CLOSE | 2}}) {
        EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(Taken(WM_CLOSE), 0);
    }
}

TEST_F(SaverWindow, WithoutPasswordTheRequestCloses)
{
    Stub stub;
    ASSERT_NE(stub.module, nullptr) << "the tests' PASSWORD.CPL is missing";
    for (int variant = 0; variant < 3; ++variant) {
        if (variant == 0)
            UsePassword(0);
        if (variant == 1)
            SetPasswordValue(REG_SZ, "0", 2);  // as Windows NT keeps it
        if (variant == 2)
            SetPasswordValue(0, nullptr, 0);
        SendMessageA(window, WM_CLOSEREQUEST, 0, 0);
        EXPECT_EQ(Taken(WM_CLOSE), 1) << variant;
        EXPECT_EQ(stub.calls(), 0) << variant;
    }
}

TEST_F(SaverWindow, AcceptedPasswordCloses)
{
    Stub stub;
    ASSERT_NE(stub.module, nullptr);
    UsePassword(1);
    SendMessageA(window, WM_CLOSEREQUEST, 0, 0);
    EXPECT_EQ(stub.calls(), 1);
    EXPECT_EQ(Taken(WM_CLOSE), 1);
    EXPECT_EQ(Taken(WM_PASSWORDFAILED), 0);
    SetPasswordValue(REG_SZ, "1", 2);
    SendMessageA(window, WM_CLOSEREQUEST, 0, 0);
    EXPECT_EQ(stub.calls(), 2);
    EXPECT_EQ(Taken(WM_CLOSE), 1);
}

TEST_F(SaverWindow, RefusedPasswordGoesOnAndDiscardsQueuedInput)
{
    Stub stub;
    ASSERT_NE(stub.module, nullptr);
    UsePassword(1);
    stub.setAnswer(FALSE);
    stub.reenter(window);
    PostMessageA(window, WM_KEYDOWN, 'X', 0);
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(window, WM_CLOSEREQUEST, 0, 0);
    EXPECT_EQ(stub.calls(), 1) << "the request sent during the check was dropped";
    EXPECT_EQ(Taken(WM_PASSWORDFAILED), 1);
    EXPECT_EQ(Taken(WM_CLOSE), 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
    EXPECT_EQ(verifying, 0);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(SaverWindow, MissingPasswordLibraryCloses)
{
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string dir(own);
    dir.resize(dir.find_last_of('\\') + 1);
    const std::string library = dir + "PASSWORD.CPL", aside = dir + "PASSWORD.CPL.aside";
    ASSERT_TRUE(MoveFileA(library.c_str(), aside.c_str()));
    UsePassword(1);
    SendMessageA(window, WM_CLOSEREQUEST, 0, 0);
    MoveFileA(aside.c_str(), library.c_str());
    EXPECT_EQ(Taken(WM_CLOSE), 1);
}

TEST_F(SaverWindow, CheckForAbort)
{
    Cursor(20, 20);
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(CheckForAbort(window), 0) << "the first move only records";
    EXPECT_EQ(abortPoint.x, 20);
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(CheckForAbort(window), 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 0);
    Cursor(20, 21);
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(CheckForAbort(window), 1);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 1);
    // Key releases count here.
    PostMessageA(window, WM_KEYUP, 'A', 0);
    EXPECT_EQ(CheckForAbort(window), 1);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 1);
    // A button goes to the window, which asks to close by itself.
    PostMessageA(window, WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(CheckForAbort(window), 0);
    EXPECT_EQ(Taken(WM_CLOSEREQUEST), 1);
    EXPECT_EQ(CheckForAbort(window), 0) << "nothing pending";
}

TEST_F(SaverWindow, DestroyLeavesNothingBehind)
{
    // A show with a picture slide running: timers, a status bitmap, the
    // saved screen area and the show's brush.
    BLOCKSET* set = LockBlockSet(window);
    BLOCK head, image;
    CreateBlock(nullptr, set, &head, TAG_HEAD, nullptr, 0);
    AppendBlock(GetDlgItem(window, BLOCKLIST_ID), set, &head);
    HGLOBAL picture = CreateDib(30, 20, nullptr, 24);
    CreateBlock(nullptr, set, &image, TAG_IMAG, picture, 0);
    image.imag.displayTime = 9;
    AppendBlock(GetDlgItem(window, BLOCKLIST_ID), set, &image);
    UnlockBlockSet(window);
    SendMessageA(window, WM_STARTSHOW, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    SendMessageA(window, WM_TIMER, TIMER_CELL, 0);
    SendMessageA(window, WM_TIMER, TIMER_CELL, 0);
    set = LockBlockSet(window);
    const HBRUSH brush = set->backgroundBrush;
    const HBITMAP saved = set->savedScreen;
    const HBITMAP bitmap = set->status.bitmap;
    const HGLOBAL slidePicture = set->status.picture;
    UnlockBlockSet(window);
    ASSERT_NE(brush, nullptr);
    ASSERT_NE(saved, nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(timers.size(), 3u);

    DestroyWindow(window);
    EXPECT_TRUE(timers.empty());
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(saved), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GlobalSize(slidePicture), 0u);
    EXPECT_EQ(GlobalSize(picture), 0u);
    EXPECT_EQ(Taken(WM_QUIT), 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the destroy ends the loop";
}

}  // namespace
