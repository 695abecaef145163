// Arbitrary bytes as a show file: LoadScrFile and LoadHeaderBlock must
// neither crash, leak nor read outside what they were given, and what they
// accept must be safe for the picture routines that come after them.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "applet/objects.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "imaging/reduce.h"
#include "platform/kernel_native.h"
#include "show/blockstore.h"
#include "show/loader.h"

namespace {

const std::string& Path()
{
    static const std::string path = "/tmp/vistrel-fuzz-" + std::to_string(getpid()) + ".scr";
    return path;
}

// What the player does with an accepted picture, kept to small ones so that
// each input stays quick.
void UsePicture(HGLOBAL dib)
{
    if (dib == nullptr || GlobalSize(dib) > (256u << 10))
        return;
    int width = 0, height = 0, bits = 0;
    uint8_t palette[PALETTE_BYTES];
    GetBitmapDimensions(dib, &width, &height, &bits, palette);
    uint8_t standard[PALETTE_BYTES];
    GetDefaultPalette(standard, nullptr, PALETTE_STANDARD);
    if (HGLOBAL reduced = DitherDib(dib, standard, 8, 0))
        GlobalFree(reduced);
    if (HGLOBAL reduced = RemapDib(dib, standard, 8, 0))
        GlobalFree(reduced);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(Path().c_str(), "wb");
    if (f == nullptr)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    HWND window = NativeCreateWindow(nullptr, 0);
    HWND list = NativeCreateWindow(window, BLOCKLIST_ID);
    BLOCKSET set{};
    LoadScrFile(list, &set, Path().c_str());
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        BLOCK block;
        if (!GetBlock(list, static_cast<int>(i), &block))
            continue;
        if (block.tag == TAG_IMAG || block.tag == TAG_HEAD)
            UsePicture(block.payload);
        for (int32_t p = 0; p < block.pictureCount; ++p) {
            APPLETOBJECT object;
            UsePicture(GetAppletObject(block.pictures, p, &object));
        }
    }
    FreeBlocks(window, &set);
    NativeDestroyWindow(window);

    BLOCK head;
    if (LoadHeaderBlock(nullptr, &head, Path().c_str(), nullptr)) {
        UsePicture(head.payload);
        DestroyBlock(&head);
    }
    return 0;
}
