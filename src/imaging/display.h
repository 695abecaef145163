// The colour depth of the display, which picks full-colour or palette
// handling everywhere.
#pragma once

// Bits per pixel of the display, 24 for anything deeper than 8; set once at
// start. 8 or less selects the palette paths.
extern int devicebits;

#ifdef _WIN32
// PLANES times BITSPIXEL of the screen when below 9, otherwise 24.
int GetDisplayBits();
#endif
