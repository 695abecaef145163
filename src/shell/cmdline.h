// Reading the command line the screen saver host starts us with.
#pragma once

#include <cstdint>

enum RunMode {
    RUNMODE_NONE,        // unrecognised or missing switch: no window
    RUNMODE_SAVER,       // s: the full-screen show
    RUNMODE_CONFIGURE,   // c: the configuration dialog
    RUNMODE_PREVIEW,     // p or l: preview inside the host's window
    RUNMODE_PASSWORD,    // a: change the screen saver password
};

// The first character picks the mode, or the second after '/' or '-'.
RunMode GetRunMode(const char* commandLine);

// The decimal window handle of the preview and password modes: every
// non-digit from the start of the line (switch included) is skipped, then the
// digits are read. No digit gives 0.
uintptr_t GetWindowArgument(const char* commandLine);
