// The in-memory records of the loaded show: one BLOCK per block, one
// BLOCKSET for the show and the sequencer's state. Both are plain records
// copied whole; the handles inside them belong to the block list item the
// record was read from (see blockstore.h).
#pragma once

#include <cstdint>

#include "platform/kernel.h"
#include "player/status.h"
#include "show/format.h"

struct APPLET;

struct BLOCK {
    uint32_t tag;
    HGLOBAL payload;             // preview picture, DIB, text, sound, script or animation
    int16_t number;              // 0 for HEAD; 0, 1, 2 ... for the others in file order
    int16_t running;             // scratch result of IsAnimationRunning
    // The fixed header of the block's own type; the others stay zero. The
    // records are packed to their file layout; aligning each start keeps
    // every field naturally aligned.
    alignas(4) SCRHEAD head;
    alignas(4) SCRIMAG imag;
    alignas(4) SCRTEXT text;
    alignas(4) SCRAPPL appl;
    alignas(4) SCRSOND sond;
    alignas(4) SCRANIM anim;
    alignas(4) SCRENDB endb;
    HGLOBAL pictures;            // APPL: APPLETOBJECT records of the pictures
    int32_t pictureCount;
    HGLOBAL sounds;              // APPL: APPLETOBJECT records of the sounds
    int32_t soundCount;
    // Timer ids of the current slide; used only in BLOCKSET::block.
    UINT_PTR cellTimer;
    UINT_PTR secondTimer;
    UINT_PTR advanceTimer;
};

constexpr size_t BLOCKSET_PATH = 260;

struct BLOCKSET {
    char fileName[BLOCKSET_PATH];
    HWND window;                 // rewritten by every LockBlockSet
    COLORREF backgroundColour;
    int32_t displayWidth, displayHeight;
    int32_t current;             // -1 before the first block
    int32_t blockCount;
    BLOCK block;                 // shallow copy of the current block
    HBRUSH backgroundBrush;
    STATUS status;
    APPLET* applet;
    HBITMAP savedScreen;         // screen under the current slide
    RECT savedRect;
};
