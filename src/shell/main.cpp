#include <cstdlib>
#include <ctime>

#include "imaging/display.h"
#include "shell/runmodes.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    hInst = instance;
    // Every random choice of the program draws from this one generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    devicebits = GetDisplayBits();
    CreateScreenSaverWindow(instance, previous, commandLine, show);
    ExitProcess(1);
}
