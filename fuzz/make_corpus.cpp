// Writes the seed corpus of the loader fuzzer: small shows of every block
// type, made by the show writer.
#include <cstdio>
#include <string>

#include "imaging/dib.h"
#include "platform/guards.h"
#include "show/writer.h"

namespace {

ShowBytes Picture(int width, int height, int bits)
{
    uint8_t palette[768] = {};
    for (int i = 0; i < 256; ++i)
        palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = static_cast<uint8_t>(i);
    GlobalBlockGuard mem(CreateDib(width, height, palette, bits));
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutDibPixel(dib.get(), x, y, x * 40 + y * 7);
    const auto* p = reinterpret_cast<const uint8_t*>(dib.get());
    return ShowBytes(p, p + GlobalSize(mem.get()));
}

void Save(const std::string& dir, const char* name, const ShowBytes& show)
{
    const std::string path = dir + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite("MZ", 1, 2, f);
        std::fwrite(show.data(), 1, show.size(), f);
        std::fclose(f);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    auto begin = [](const ShowBytes* preview = nullptr) {
        SHOWWRITER w;
        ShowWriterBegin(&w);
        ShowWriteHead(&w, ShowDefaultHead("seed", 0x102030), preview);
        return w;
    };
    {
        SHOWWRITER w = begin();
        Save(dir, "head-only", ShowWriterFinish(&w));
    }
    {
        const ShowBytes preview = Picture(6, 5, 4);
        SHOWWRITER w = begin(&preview);
        Save(dir, "preview", ShowWriterFinish(&w));
    }
    for (int bits : {1, 4, 8, 24}) {
        SHOWWRITER w = begin();
        ShowWriteImage(&w, SCRIMAG{}, Picture(7, 3, bits), bits != 8);
        Save(dir, ("image-" + std::to_string(bits)).c_str(), ShowWriterFinish(&w));
    }
    {
        SHOWWRITER w = begin();
        ShowWriteText(&w, SCRTEXT{}, "Hello, show");
        SCRSOND sound{};
        sound.kind = TAG_WAVE;
        ShowWriteSound(&w, sound, ShowBytes(24, 0x80));
        ShowWriteAnimation(&w, SCRANIM{}, ShowBytes(64, 1), true);
        SCRBLOCKHEADER unknown{0x4B4E554A, 0, 1};
        ShowWriteRaw(&w, &unknown, sizeof unknown, ShowBytes(4, 0));
        Save(dir, "mixed", ShowWriterFinish(&w));
    }
    for (bool compressed : {false, true}) {
        SHOWWRITER w = begin();
        ShowWriteApplet(&w, SCRAPPL{}, {{1, TAG_PICT, Picture(3, 3, 8)}, {2, TAG_PICT, Picture(2, 2, 24)}},
                        {{1, TAG_MIDI, ShowBytes(14, 2)}}, "print(\"hi\")\nend()\n", compressed);
        Save(dir, compressed ? "applet-compressed" : "applet", ShowWriterFinish(&w));
    }
    return 0;
}
