// Writes a small show onto a copy of the player for the end-to-end tests.
//   makeshow PLAYER OUTPUT TITLE [PICTURES [HOLD [text]]]
// The show: HEAD with the title (background 0x00402010), then PICTURES
// (default 3) 24-bit pictures of 160 x 120 in plain colours (red, green,
// blue, yellow, magenta) at positions 0, 1, 2, 3, 4, each shown with "None"
// for HOLD seconds (default 1); with "text", a text block after them.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "imaging/dib.h"
#include "platform/guards.h"
#include "show/writer.h"

namespace {

ShowBytes PlainPicture(int width, int height, COLORREF colour)
{
    GlobalBlockGuard mem(CreateDib(width, height, nullptr, 24));
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutDibPixel(dib.get(), x, y, colour);
    const auto* bytes = reinterpret_cast<const uint8_t*>(dib.get());
    return ShowBytes(bytes, bytes + GlobalSize(mem.get()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: makeshow PLAYER OUTPUT TITLE [PICTURES [HOLD [text]]]\n");
        return 2;
    }
    const int pictures = argc > 4 ? std::atoi(argv[4]) : 3;
    const int hold = argc > 5 ? std::atoi(argv[5]) : 1;
    const bool withText = argc > 6 && std::string(argv[6]) == "text";
    const COLORREF colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};
    SHOWWRITER writer;
    ShowWriterBegin(&writer);
    ShowWriteHead(&writer, ShowDefaultHead(argv[3], 0x00402010));
    for (int i = 0; i < pictures; ++i) {
        SCRIMAG image{};
        image.position = i % 5;
        image.speed = 40;
        image.holdTime = hold;
        image.displayTime = 1;
        ShowWriteImage(&writer, image, PlainPicture(160, 120, colours[i % 5]), true);
    }
    if (withText) {
        SCRTEXT text{};
        text.fontHeight = -32;
        text.textColour = 0xFFFFFF;
        text.displayTime = 2;
        ShowWriteText(&writer, text, argv[3]);
    }
    std::string error;
    if (!ShowAppendToPlayer(argv[1], argv[2], ShowWriterFinish(&writer), &error)) {
        std::fprintf(stderr, "makeshow: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
