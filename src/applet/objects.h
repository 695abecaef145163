// Lists of applet pictures and sounds: one movable block of APPLETOBJECT
// records back to back, and its count, kept by the block that owns them.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

struct APPLETOBJECT {
    uint32_t tag;        // TAG_PICT, TAG_WAVE or TAG_MIDI
    uint32_t size;       // length of the data block
    int32_t number;      // the number scripts name the object by
    HGLOBAL data;        // the picture's packed DIB or the sound data
    uint8_t reserved[16];
};

// Copies record `index` into `object` and returns its data handle; 0 when the
// list is missing or cannot be locked. Callers keep the index below the count.
HGLOBAL GetAppletObject(HGLOBAL list, int index, APPLETOBJECT* object);
