// zlib streams to movable memory and back. A compressed payload is one zlib
// stream of exactly its stored length; the inflated length is whatever the
// stream gives. The HEAD check uses zlib's own crc32.
#pragma once

#include <zlib.h>

#include "platform/kernel.h"

// No payload inflates beyond this: a show is untrusted input, and a small
// stream must not be able to claim all memory. 256 MiB holds a 24-bit picture
// of 9000 x 9000 pixels or a 4K animation of ten full frames.
constexpr unsigned long MAX_INFLATED_SIZE = 256ul << 20;

// Inflates `*length` stored bytes from the file's current position. On
// success `*length` holds the inflated length and the result is a zero-filled
// movable block of exactly that size; 0 on any failure.
HGLOBAL UncompressDataFromFile(HFILE file, unsigned long* length, int unused);
// The same with the stream already in memory.
HGLOBAL UncompressData(const void* stream, unsigned long* length, int unused);
// Deflates `*length` bytes of `input` at `level` (0 to 9) into a heap buffer
// that the caller frees with free(); `*length` receives its length.
void* CompressData(HGLOBAL input, long* length, int level);
