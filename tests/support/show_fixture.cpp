#include "support/show_fixture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/guards.h"

ShowBytes DibBytes(int width, int height, int bits)
{
    uint8_t palette[PALETTE_BYTES];
    GetDefaultPalette(palette, nullptr, PALETTE_STANDARD);
    GlobalBlockGuard mem(CreateDib(width, height, palette, bits));
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutDibPixel(dib.get(), x, y, (x * 31 + y * 17) * 0x010305);
    const auto* bytes = reinterpret_cast<const uint8_t*>(dib.get());
    return ShowBytes(bytes, bytes + GlobalSize(mem.get()));
}

ShowBytes ZeroStream(size_t bytes)
{
    z_stream z{};
    deflateInit(&z, 1);
    std::vector<unsigned char> zeros(1 << 20), chunk(1 << 16);
    ShowBytes stream;
    size_t fed = 0;
    for (bool last = false; !last;) {
        const size_t n = std::min(zeros.size(), bytes - fed);
        fed += n;
        last = fed == bytes;
        z.next_in = zeros.data();
        z.avail_in = static_cast<uInt>(n);
        do {
            z.next_out = chunk.data();
            z.avail_out = static_cast<uInt>(chunk.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            stream.insert(stream.end(), chunk.data(), z.next_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return stream;
}

SCRIMAG ImageHeader(int effectIn, int effectOut)
{
    SCRIMAG h{};
    h.effectIn = effectIn;
    h.effectOut = effectOut;
    h.speed = 40;
    h.displayTime = 1;
    return h;
}

SCRTEXT TextHeader()
{
    SCRTEXT h{};
    h.fontHeight = -24;
    h.textColour = 0xFFFFFF;
    std::strcpy(h.faceName, "Arial");
    return h;
}

SCRSOND SoundHeader(uint32_t kind)
{
    SCRSOND h{};
    h.kind = kind;
    return h;
}

SCRAPPL AppletHeader() { return SCRAPPL{}; }

SCRANIM AnimationHeader() { return SCRANIM{}; }

ShowFileFixture::ShowFileFixture(const std::string& name) : path_(testing::TempDir() + "vistrel-" + name + ".scr") {}

ShowFileFixture::~ShowFileFixture() { std::remove(path_.c_str()); }

const std::string& ShowFileFixture::Write(const ShowBytes& show)
{
    FILE* f = std::fopen(path_.c_str(), "wb");
    const char image[] = "MZ stands in for the player's executable image.";
    std::fwrite(image, 1, sizeof image, f);
    if (!show.empty())
        std::fwrite(show.data(), 1, show.size(), f);
    std::fclose(f);
    return path_;
}
