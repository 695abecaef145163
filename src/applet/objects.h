// Lists of applet pictures and sounds: one movable block of APPLETOBJECT
// records back to back, and its count, kept by the block that owns them.
// The applet only borrows them.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

struct APPLETOBJECT {
    uint32_t tag;        // TAG_PICT, TAG_WAVE or TAG_MIDI
    uint32_t size;       // length of the data block (inflated, for pictures)
    int32_t number;      // the number scripts name the object by
    HGLOBAL data;        // the picture's packed DIB or the sound data
    uint8_t reserved[16];
};

// Numbers handed out by MakeNewAppletObject stay below this.
constexpr int32_t APPLETOBJECT_NUMBER_LIMIT = 0x4000;

// Appends a copy of `object`; 1, or 0 with the list unchanged.
int AddAppletObject(HGLOBAL* list, int32_t* count, const APPLETOBJECT* object);
// Copies record `index` into `object` and returns its data handle; 0 when the
// list is missing or cannot be locked. Callers keep the index below the count.
HGLOBAL GetAppletObject(HGLOBAL list, int index, APPLETOBJECT* object);
int PutAppletObject(HGLOBAL list, int index, const APPLETOBJECT* object);
// A new record for `data` with the smallest number from 1 up that the list
// does not use; 0 when none below the limit is free or a record is unreadable.
int MakeNewAppletObject(APPLETOBJECT* object, HGLOBAL list, int32_t count, HGLOBAL data, uint32_t tag);
// The first record numbered `number`; 1 when found (the output is zeroed
// otherwise).
int FindNumberedAppletObject(APPLETOBJECT* object, HGLOBAL list, int32_t count, int32_t number);
