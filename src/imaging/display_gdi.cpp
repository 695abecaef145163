#include "imaging/display.h"

#include "platform/kernel.h"

int GetDisplayBits()
{
    HDC screen = GetDC(nullptr);
    // Taken as a 16-bit number, as the depth has always been.
    auto bits = static_cast<unsigned short>(GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    return bits < 9 ? bits : 24;
}
