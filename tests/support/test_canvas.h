// A 32-bit DIB section to draw on, filled with one colour, whose pixels the
// test reads straight from memory.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

class TestCanvas {
public:
    TestCanvas(int w, int h, COLORREF fill) : width(w), height(h)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        previous = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~TestCanvas()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    void Fill(COLORREF colour)
    {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint32_t v = bits[y * width + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }

    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    uint32_t* bits = nullptr;
};
