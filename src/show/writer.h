// Writing shows: the one place that produces show bytes (tests, the demo and
// the show builder all go through it). Blocks are written in playing order,
// HEAD first; ShowWriterFinish adds the trailer with the show length and the
// HEAD CRC, each under its mask.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "show/format.h"

using ShowBytes = std::vector<uint8_t>;

struct SHOWWRITER {
    ShowBytes bytes;
    bool failed;      // a payload could not be compressed
};

struct SHOWOBJECT {
    int32_t number;   // the number scripts name it by
    uint32_t kind;    // TAG_PICT for pictures, TAG_WAVE or TAG_MIDI for sounds
    ShowBytes data;   // a packed DIB, or the sound data
};

// A HEAD header with the defaults of a new show.
SCRHEAD ShowDefaultHead(const char* title, COLORREF background);

void ShowWriterBegin(SHOWWRITER* writer);
// `preview`, when given, is a packed DIB stored after the header (never
// compressed); it sets hasPreview and flag bit 0. Tag and size are filled in.
void ShowWriteHead(SHOWWRITER* writer, SCRHEAD head, const ShowBytes* preview = nullptr);
// The other blocks get their tag, size and valid bit filled in, and the
// compressed bit when asked to compress.
void ShowWriteImage(SHOWWRITER* writer, SCRIMAG header, const ShowBytes& dib, bool compress);
void ShowWriteText(SHOWWRITER* writer, SCRTEXT header, const std::string& text);
void ShowWriteSound(SHOWWRITER* writer, SCRSOND header, const ShowBytes& data);
void ShowWriteApplet(SHOWWRITER* writer, SCRAPPL header, const std::vector<SHOWOBJECT>& pictures,
                     const std::vector<SHOWOBJECT>& sounds, const std::string& script, bool compressPictures);
void ShowWriteAnimation(SHOWWRITER* writer, SCRANIM header, const ShowBytes& payload, bool compress);
// Any block as given: `header` is stored as it is, with only its size field
// (bytes 4 to 7) set to the header plus payload length when `fixSize` is set.
void ShowWriteRaw(SHOWWRITER* writer, const void* header, size_t headerSize, const ShowBytes& payload,
                  bool fixSize = true);
// Appends the trailer and returns the finished show; empty when a payload
// could not be compressed.
ShowBytes ShowWriterFinish(SHOWWRITER* writer);

// A zlib stream of `data` at level 9, through the player's own compressor.
bool ShowCompress(const ShowBytes& data, ShowBytes* stream);

// Writes `player` with `show` appended to `output`. A show already appended
// to the player is replaced. Returns false with a message in `error`.
bool ShowAppendToPlayer(const std::string& player, const std::string& output, const ShowBytes& show,
                        std::string* error);
