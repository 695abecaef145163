// The time of one cell tick of each effect phase at 800 x 600, 1920 x 1080
// and 3840 x 2160, next to one plain BitBlt of the same picture in the same
// run. Runs under wine64; draws into a memory DC of the picture's size.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "effects/effect.h"
#include "imaging/dib.h"
#include "platform/guards.h"
#include "player/status.h"
#include "support/test_canvas.h"

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HGLOBAL Picture(int width, int height)
{
    HGLOBAL mem = CreateDib(width, height, nullptr, 24);
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem);
    uint8_t* rows = DibPixels(dib.get());
    const size_t bytes = static_cast<size_t>(DibStride(width, 24)) * static_cast<size_t>(height);
    for (size_t i = 0; i < bytes; ++i)
        rows[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    return mem;
}


// Milliseconds per call of `op`, over enough calls to last about 0.2 s.
template <typename Op>
double PerCall(Op op)
{
    op();
    int calls = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        op();
        ++calls;
        GdiFlush();
        elapsed = Now() - start;
    } while (elapsed < 0.2 && calls < 1000);
    return 1000.0 * elapsed / calls;
}

struct Phase {
    int ticks = 0;
    double ms = 0;      // per tick
    bool complete = false;
};

// Ticks of one phase until it reports done, or until about 1.5 s have gone.
Phase RunPhase(EFFECTOPERATION op, STATUS* status)
{
    Phase phase;
    const double start = Now();
    for (;;) {
        const int16_t result = op(status);
        ++phase.ticks;
        GdiFlush();
        if (result != 0) {
            phase.complete = (result & EFFECT_DONE) != 0;
            break;
        }
        if (Now() - start > 1.5)
            break;
    }
    phase.ms = 1000.0 * (Now() - start) / phase.ticks;
    return phase;
}

std::string Ticks(const Phase& p) { return std::to_string(p.ticks) + (p.complete ? "" : "+"); }

}  // namespace

int main()
{
    const int sizes[][2] = {{800, 600}, {1920, 1080}, {3840, 2160}};
    // The shortest cell period: speed 80 gives a tick every millisecond.
    const double shortestPeriod = 1.0;
    std::printf("%-20s %-10s %9s %10s %7s %10s %7s %9s  %s\n", "effect", "size", "setup ms", "appear ms", "ticks",
                "leave ms", "ticks", "BitBlt ms", "note");
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        HGLOBAL picture = Picture(w, h);
        // A target of the screen's format: a 32-bit DIB section.
        TestCanvas target(w, h, RGB(0, 0, 0));
        HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));

        // The reference: one BitBlt of the picture as a device bitmap.
        double blit;
        {
            GlobalLockGuard<BITMAPINFOHEADER> dib(picture);
            HBITMAP device = CreateDIBitmap(target.dc, dib.get(), CBM_INIT, DibPixels(dib.get()),
                                            reinterpret_cast<BITMAPINFO*>(dib.get()), DIB_RGB_COLORS);
            HDC source = CreateCompatibleDC(target.dc);
            HGDIOBJ old = SelectObject(source, device);
            blit = PerCall([&] { BitBlt(target.dc, 0, 0, w, h, source, 0, 0, SRCCOPY); });
            SelectObject(source, old);
            DeleteDC(source);
            DeleteObject(device);
        }

        for (int number = 0; number < MAXEFFECT; ++number) {
            STATUS status{};
            status.dc = target.dc;
            status.picture = picture;
            status.backgroundBrush = brush;
            const EFFECT& e = effect[number];
            const double start = Now();
            e.setup(&status);
            const double setup = 1000.0 * (Now() - start);
            const Phase appear = RunPhase(e.appear, &status);
            e.wait(&status);
            const Phase leave = RunPhase(e.disappear, &status);
            e.close(&status);
            std::free(status.workA);
            std::free(status.workB);
            const bool slow = w == 1920 && (appear.ms > shortestPeriod || leave.ms > shortestPeriod);
            std::printf("%-20s %4dx%-5d %9.2f %10.3f %7s %10.3f %7s %9.3f  %s\n", e.name, w, h, setup, appear.ms,
                        Ticks(appear).c_str(), leave.ms, Ticks(leave).c_str(), blit,
                        slow ? "tick longer than the 1 ms cell period at speed 80" : "");
        }
        DeleteObject(brush);
        GlobalFree(picture);
    }
    std::printf("(ticks with + were stopped after 1.5 s; setup runs once per cycle and converts the picture)\n");
    return 0;
}
