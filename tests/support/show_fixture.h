// Shows for the loader tests, made with the show writer, and files that hold
// them behind a stand-in executable image.
#pragma once

#include <string>
#include <vector>

#include "show/writer.h"

// The bytes of a packed DIB made by CreateDib, pixels set to a pattern.
ShowBytes DibBytes(int width, int height, int bits);
// A zlib stream that inflates to `bytes` zero bytes, made without holding them.
ShowBytes ZeroStream(size_t bytes);

SCRIMAG ImageHeader(int effectIn = 0, int effectOut = 0);
SCRTEXT TextHeader();
SCRSOND SoundHeader(uint32_t kind = TAG_WAVE);
SCRAPPL AppletHeader();
SCRANIM AnimationHeader();

// A show file: some bytes standing in for the executable, then the show.
class ShowFileFixture {
public:
    explicit ShowFileFixture(const std::string& name);
    ~ShowFileFixture();
    // Writes the image and `show` and returns the path.
    const std::string& Write(const ShowBytes& show);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
