// A packed DIB held locked for a test, freed at the end of the scope.
#pragma once

#include "imaging/dib.h"

struct TestDib {
    explicit TestDib(HGLOBAL h) : mem(h), header(h ? static_cast<BITMAPINFOHEADER*>(GlobalLock(h)) : nullptr) {}
    ~TestDib()
    {
        if (header)
            GlobalUnlock(mem);
        if (mem)
            GlobalFree(mem);
    }
    TestDib(const TestDib&) = delete;
    TestDib& operator=(const TestDib&) = delete;

    long Pixel(int x, int y) const { return GetDibPixel(header, x, y); }
    void Put(int x, int y, long value) { PutDibPixel(header, x, y, value); }

    HGLOBAL mem;
    BITMAPINFOHEADER* header;
};
