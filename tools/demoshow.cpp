// Writes the demo show onto a copy of the player:
//   demoshow PLAYER OUTPUT
// Every picture is drawn here, from gradients, rings and stripes: the demo
// carries no images from anywhere else.
#include <cmath>
#include <cstdio>
#include <string>

#include "effects/effect.h"
#include "imaging/dib.h"
#include "platform/guards.h"
#include "show/writer.h"

namespace {

template <typename Colour>
ShowBytes Draw(int width, int height, int bits, const uint8_t* palette, Colour colour)
{
    GlobalBlockGuard mem(CreateDib(width, height, palette, bits));
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutDibPixel(dib.get(), x, y, colour(x, y));
    const auto* bytes = reinterpret_cast<const uint8_t*>(dib.get());
    return ShowBytes(bytes, bytes + GlobalSize(mem.get()));
}

int Mix(int a, int b, double t) { return static_cast<int>(a + (b - a) * t + 0.5); }

// An evening sky over the sea with a low sun.
ShowBytes Sunset()
{
    return Draw(400, 300, 24, nullptr, [](int x, int y) {
        const double dx = x - 200, dy = y - 190;
        if (dx * dx + dy * dy < 50 * 50 && y < 200)
            return RGB(255, 230, 120);
        if (y >= 200) {
            const double t = (y - 200) / 100.0;
            const int glint = (std::abs(x - 200) < 40 - (y - 200) / 4 && (y / 6) % 2) ? 60 : 0;
            return RGB(Mix(60, 10, t) + glint, Mix(40, 20, t) + glint, Mix(110, 60, t));
        }
        const double t = y / 200.0;
        return RGB(Mix(70, 255, t), Mix(30, 120, t), Mix(120, 60, t));
    });
}

// Rings of hues around the centre.
ShowBytes Rings()
{
    return Draw(300, 300, 24, nullptr, [](int x, int y) {
        const double r = std::hypot(x - 150.0, y - 150.0);
        if (r > 148)
            return RGB(0, 0, 0);
        const double a = r / 12.0;
        return RGB(static_cast<int>(127 + 127 * std::sin(a)), static_cast<int>(127 + 127 * std::sin(a + 2.1)),
                   static_cast<int>(127 + 127 * std::sin(a + 4.2)));
    });
}

// An 8-bit picture on a palette of its own: a checkerboard of 16 shades.
ShowBytes Checker()
{
    uint8_t palette[768] = {};
    for (int i = 0; i < 256; ++i) {
        palette[3 * i] = static_cast<uint8_t>(i);
        palette[3 * i + 1] = static_cast<uint8_t>(255 - i);
        palette[3 * i + 2] = static_cast<uint8_t>((i * 3) & 255);
    }
    return Draw(256, 192, 8, palette, [](int x, int y) { return ((x / 32 + y / 32) % 2) ? (x + y) % 256 : 16; });
}

// Colour bars.
ShowBytes Bars()
{
    const COLORREF bars[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0),
                             RGB(255, 0, 255), RGB(255, 0, 0),     RGB(0, 0, 255)};
    return Draw(420, 120, 24, nullptr, [&](int x, int) { return bars[x / 60]; });
}

// Larger than any small screen: the player shows its middle part.
ShowBytes Panorama()
{
    return Draw(1200, 900, 24, nullptr, [](int x, int y) {
        const int grid = (x % 100 < 3 || y % 100 < 3) ? 80 : 0;
        return RGB(Mix(20, 200, x / 1200.0) + grid / 2, Mix(40, 160, y / 900.0), 120 + grid);
    });
}

SCRIMAG Slide(int effectIn, int effectOut, int position, int hold)
{
    SCRIMAG image{};
    image.effectIn = effectIn;
    image.effectOut = effectOut;
    image.position = position;
    image.speed = 60;
    image.holdTime = hold;
    image.displayTime = 1;
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: demoshow PLAYER OUTPUT\n");
        return 2;
    }
    SHOWWRITER writer;
    ShowWriterBegin(&writer);
    SCRHEAD head = ShowDefaultHead("Vistrel demo", RGB(12, 18, 40));
    std::snprintf(head.notice, sizeof head.notice, "A demo show: every picture in it was drawn by the program that made it.");
    ShowWriteHead(&writer, head);
    SCRTEXT title{};
    title.fontHeight = -56;
    title.flags = TEXT_BOLD | TEXT_TRANSPARENT | TEXT_ERASE;
    title.textColour = RGB(255, 220, 120);
    title.speed = 60;
    title.displayTime = 3;
    title.margin = 10;
    std::snprintf(title.faceName, sizeof title.faceName, "Times New Roman");
    ShowWriteText(&writer, title, "Vistrel");
    ShowWriteImage(&writer, Slide(EFFECT_WRIGHT, EFFECT_SANDBLAST, 0, 2), Sunset(), true);
    ShowWriteImage(&writer, Slide(EFFECT_RANDOM, EFFECT_RANDOM, POSITION_TOP_LEFT, 2), Rings(), true);
    ShowWriteImage(&writer, Slide(EFFECT_TILE, EFFECT_NCLEAR, POSITION_BOTTOM_RIGHT, 1), Checker(), true);
    ShowWriteImage(&writer, Slide(EFFECT_RANDOM, EFFECT_NONE, POSITION_TOP_RIGHT, 2), Bars(), true);
    ShowWriteImage(&writer, Slide(EFFECT_FOURWAY, EFFECT_PLUMMET, 0, 2), Panorama(), true);
    SCRTEXT ticker{};
    ticker.mode = 3;  // one line scrolling across the screen
    ticker.position = POSITION_BOTTOM_LEFT;
    ticker.fontHeight = -28;
    ticker.flags = TEXT_ERASE;
    ticker.textColour = RGB(255, 255, 255);
    ticker.backColour = RGB(40, 60, 120);
    ticker.speed = 70;
    ticker.displayTime = 0;
    std::snprintf(ticker.faceName, sizeof ticker.faceName, "Arial");
    ShowWriteText(&writer, ticker, "Pictures, texts and effects, all from one file");
    const ShowBytes show = ShowWriterFinish(&writer);
    std::string error;
    if (show.empty() || !ShowAppendToPlayer(argv[1], argv[2], show, &error)) {
        std::fprintf(stderr, "demoshow: %s\n", show.empty() ? "a picture could not be compressed" : error.c_str());
        return 1;
    }
    std::printf("demoshow: wrote %s (%zu bytes of show)\n", argv[2], show.size());
    return 0;
}
