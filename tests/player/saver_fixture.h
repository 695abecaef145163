// A saver window for driving the show message by message: the window's
// timers are stood in for, so every cell, second and advance tick is sent by
// the test, and the posted steps are pumped in queue order.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "effects/effect.h"
#include "imaging/dib.h"
#include "platform/guards.h"
#include "player/sequencer.h"
#include "player/slide.h"
#include "shell/messages.h"
#include "shell/saverwindow.h"
#include "show/blockstore.h"

namespace saver_fixture {

inline std::map<UINT_PTR, UINT> timers;  // id -> period of every running timer

inline UINT_PTR FakeSetTimer(HWND, UINT_PTR id, UINT milliseconds)
{
    timers[id] = milliseconds;
    return id;
}

inline BOOL FakeKillTimer(HWND, UINT_PTR id) { return timers.erase(id) ? TRUE : FALSE; }

constexpr COLORREF BACKGROUND = RGB(16, 32, 64);

// A 24-bit picture whose pixel (x, y) tells its own coordinates, or one
// plain colour.
inline HGLOBAL Picture(int width, int height, COLORREF plain = CLR_INVALID)
{
    HGLOBAL mem = CreateDib(width, height, nullptr, 24);
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutDibPixel(dib.get(), x, y, plain != CLR_INVALID ? plain : RGB(x & 255, y & 255, (x >> 8) | ((y >> 8) << 4)));
    return mem;
}

struct Step {
    UINT message;
    WPARAM wParam;
};

class Sequencer : public testing::Test {
protected:
    void SetUp() override
    {
        realTimers = sequencerTimers;
        sequencerTimers = {FakeSetTimer, FakeKillTimer};
        timers.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = ScreenSaverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "VistrelSequencerTest";
        RegisterClassA(&wc);
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        window = CreateWindowExA(WS_EX_TOPMOST, "VistrelSequencerTest", "sequencer", WS_POPUP | WS_VISIBLE, 0, 0,
                                 width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 1, 1, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(BLOCKLIST_ID)), nullptr, nullptr);
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BLOCKSET));
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(mem));
        BLOCK head;
        CreateBlock(nullptr, nullptr, &head, TAG_HEAD, nullptr, 0);
        head.head.backgroundColour = BACKGROUND;
        AppendBlock(list, Set(), &head);
        Unlock();
        Pump();
    }

    void TearDown() override
    {
        DestroyWindow(window);
        // The window's destroy handler ends the message loop it thinks it runs.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassA("VistrelSequencerTest", GetModuleHandleA(nullptr));
        sequencerTimers = realTimers;
    }

    BLOCKSET* Set() { return LockBlockSet(window); }
    void Unlock() { UnlockBlockSet(window); }

    // Appends a picture block; the list owns the picture from then on.
    void AddPicture(HGLOBAL picture, int effectIn, int effectOut, int displayTime, int holdTime = 0,
                    int position = 0, int x = 0, int y = 0)
    {
        BLOCK block;
        CreateBlock(nullptr, nullptr, &block, TAG_IMAG, picture, 0);
        block.imag.flags = BLOCK_VALID;
        block.imag.effectIn = effectIn;
        block.imag.effectOut = effectOut;
        block.imag.displayTime = displayTime;
        block.imag.holdTime = holdTime;
        block.imag.speed = 40;
        block.imag.position = position;
        block.imag.x = x;
        block.imag.y = y;
        AppendBlock(list, Set(), &block);
        Unlock();
    }

    // A text block: the header's fields as given, the text, its 16 zeros.
    void AddText(SCRTEXT header, const char* text)
    {
        BLOCK block;
        CreateBlock(nullptr, nullptr, &block, TAG_TEXT, nullptr, 0);
        header.tag = TAG_TEXT;
        header.flags |= BLOCK_VALID;
        block.text = header;
        const size_t length = std::strlen(text);
        block.payload = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 17);
        std::memcpy(GlobalLockGuard<char>(block.payload).get(), text, length);
        AppendBlock(list, Set(), &block);
        Unlock();
    }

    // A sound block that lets the show move on at once.
    void AddSound()
    {
        BLOCK block;
        CreateBlock(nullptr, nullptr, &block, TAG_SOND, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 20), 0);
        block.sond.flags = BLOCK_VALID;
        block.sond.kind = TAG_WAVE;
        AppendBlock(list, Set(), &block);
        Unlock();
    }

    // Handles every posted message, in queue order; the steps seen are kept.
    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            if (msg.message == WM_TIMER || msg.message == WM_COMMAND)
                steps.push_back({msg.message, msg.wParam});
            DispatchMessageA(&msg);
        }
    }

    void Start()
    {
        SendMessageA(window, WM_STARTSHOW, 0, 0);
        Pump();
    }

    void Tick(UINT_PTR id)
    {
        steps.clear();
        SendMessageA(window, WM_TIMER, id, 0);
        Pump();
    }

    int Posted(WPARAM step) const
    {
        int n = 0;
        for (const Step& s : steps)
            n += s.message == WM_TIMER && s.wParam == step;
        return n;
    }

    int Current()
    {
        const int current = Set()->current;
        Unlock();
        return current;
    }

    STATUS Status()
    {
        const STATUS status = Set()->status;
        Unlock();
        return status;
    }

    COLORREF Pixel(int x, int y)
    {
        HDC dc = GetDC(window);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return c;
    }

    void Paint(RECT r, COLORREF colour)
    {
        HDC dc = GetDC(window);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        ReleaseDC(window, dc);
    }

    // True when every pixel of the rectangle has the colour.
    bool AreaIs(RECT r, COLORREF colour)
    {
        HDC dc = GetDC(window);
        bool same = true;
        for (int y = r.top; y < r.bottom && same; y += 3)
            for (int x = r.left; x < r.right && same; x += 3)
                same = GetPixel(dc, x, y) == colour;
        ReleaseDC(window, dc);
        return same;
    }

    SEQUENCERTIMERS realTimers{};
    HWND window = nullptr;
    HWND list = nullptr;
    int width = 0, height = 0;
    std::vector<Step> steps;
};


inline bool Is800x600() { return GetSystemMetrics(SM_CXSCREEN) == 800 && GetSystemMetrics(SM_CYSCREEN) == 600; }

}  // namespace saver_fixture
