#include "imaging/dib.h"

#include <cstdio>
#include <cstring>

#include "imaging/palette.h"
#include "platform/guards.h"

const unsigned char masktable[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};

namespace {

bool SupportedDepth(unsigned int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

// The byte of pixel (x, y), after the range and depth checks.
size_t PixelOffset(const BITMAPINFOHEADER* dib, int x, int y)
{
    const uint64_t stride = DibStride(dib->biWidth, dib->biBitCount);
    const uint64_t row = static_cast<uint64_t>(dib->biHeight - 1 - y);
    return static_cast<size_t>(row * stride + (static_cast<uint64_t>(x) * dib->biBitCount) / 8);
}

bool InRange(const BITMAPINFOHEADER* dib, int x, int y)
{
    return x >= 0 && y >= 0 && static_cast<uint32_t>(x) < static_cast<uint32_t>(dib->biWidth) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(dib->biHeight) &&
           // Negative sizes would otherwise pass the unsigned tests.
           dib->biWidth > 0 && dib->biHeight > 0;
}

}  // namespace

uint32_t DibColourCount(unsigned int bits) { return bits <= 8 ? 1u << bits : 0; }

uint64_t DibStride(int64_t width, unsigned int bits)
{
    return static_cast<uint64_t>((static_cast<int64_t>(bits) * width + 31) / 32) * 4;
}

uint64_t DibBytes(const BITMAPINFOHEADER* dib)
{
    if (dib->biSize < 40 || dib->biWidth < 0 || dib->biHeight < 0)
        return 0;
    return dib->biSize + 4ull * DibColourCount(dib->biBitCount) +
           static_cast<uint64_t>(dib->biHeight) * DibStride(dib->biWidth, dib->biBitCount);
}

bool DibFits(const BITMAPINFOHEADER* dib, uint64_t blockBytes)
{
    if (blockBytes < sizeof(BITMAPINFOHEADER))
        return false;
    const uint64_t bytes = DibBytes(dib);
    return bytes != 0 && bytes <= blockBytes;
}

bool DibIsValid(const BITMAPINFOHEADER* dib, uint64_t blockBytes)
{
    if (blockBytes < sizeof(BITMAPINFOHEADER))
        return false;
    const WORD bits = dib->biBitCount;
    const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    // A picture without rows would leave its width unchecked by its block.
    const bool pixels = dib->biWidth > 0 && dib->biHeight > 0;
    return depth && pixels && dib->biCompression == 0 && DibFits(dib, blockBytes);
}

bool DibIsValid(HGLOBAL mem)
{
    GlobalLockGuard<BITMAPINFOHEADER> header(mem);
    return header && DibIsValid(header.get(), GlobalSize(mem));
}

const uint8_t* DibPixels(const BITMAPINFOHEADER* dib)
{
    return reinterpret_cast<const uint8_t*>(dib) + dib->biSize + 4 * DibColourCount(dib->biBitCount);
}

uint8_t* DibPixels(BITMAPINFOHEADER* dib)
{
    return reinterpret_cast<uint8_t*>(dib) + dib->biSize + 4 * DibColourCount(dib->biBitCount);
}

unsigned int AdjustDIBits(unsigned int bits)
{
    if (bits == 1)
        return 1;
    if (bits >= 2 && bits <= 4)
        return 4;
    if (bits >= 5 && bits <= 8)
        return 8;
    return 24;
}

HGLOBAL CreateDib(int width, int height, const uint8_t* palette, int requested)
{
    const unsigned int bits = AdjustDIBits(static_cast<unsigned int>(requested));
    const uint32_t colours = static_cast<uint16_t>(DibColourCount(bits));
    if (width < 0 || height < 0)
        return nullptr;
    const uint64_t image = static_cast<uint64_t>(height) * DibStride(width, bits);
    const uint64_t total = sizeof(BITMAPINFOHEADER) + 4ull * colours + image;
    if (total > 0xFFFFFFFFu || total > SIZE_MAX)
        return nullptr;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biSizeImage = static_cast<DWORD>(image);
    header.biClrUsed = header.biClrImportant = colours;

    GlobalBlockGuard mem(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(total)));
    if (!mem)
        return nullptr;
    {
        GlobalLockGuard<uint8_t> p(mem.get());
        if (!p)
            return nullptr;
        std::memcpy(p.get(), &header, sizeof header);
        uint8_t* table = p.get() + sizeof header;
        for (uint32_t i = 0; i < colours && palette; ++i) {
            table[4 * i + 0] = palette[3 * i + 2];
            table[4 * i + 1] = palette[3 * i + 1];
            table[4 * i + 2] = palette[3 * i + 0];
            table[4 * i + 3] = 0;
        }
    }
    return mem.release();
}

long GetDibPixel(const BITMAPINFOHEADER* dib, int x, int y)
{
    if (!InRange(dib, x, y) || !SupportedDepth(dib->biBitCount))
        return -1;
    const uint8_t* p = DibPixels(dib) + PixelOffset(dib, x, y);
    switch (dib->biBitCount) {
    case 1: return (*p & masktable[x & 7]) ? 1 : 0;
    case 4: return (x & 1) ? (*p & 0x0F) : (*p >> 4);
    case 8: return *p;
    default: return p[2] | (p[1] << 8) | (static_cast<long>(p[0]) << 16);
    }
}

void PutDibPixel(BITMAPINFOHEADER* dib, int x, int y, long value)
{
    if (value == -1 || !InRange(dib, x, y) || !SupportedDepth(dib->biBitCount))
        return;
    uint8_t* p = DibPixels(dib) + PixelOffset(dib, x, y);
    switch (dib->biBitCount) {
    case 1:
        if (value)
            *p |= masktable[x & 7];
        else
            *p &= static_cast<uint8_t>(~masktable[x & 7]);
        break;
    case 4:
        if (x & 1)
            *p = static_cast<uint8_t>((*p & 0xF0) | (value & 0x0F));
        else
            *p = static_cast<uint8_t>((*p & 0x0F) | ((value & 0x0F) << 4));
        break;
    case 8: *p = static_cast<uint8_t>(value); break;
    default:
        p[2] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[0] = static_cast<uint8_t>(value >> 16);
        break;
    }
}

int GetBitmapDimensions(HGLOBAL dib, int* width, int* height, int* bits, uint8_t* palette)
{
    GlobalLockGuard<BITMAPINFOHEADER> header(dib);
    if (!header)
        return 0;
    // A block too small for its header has no dimensions to give.
    if (GlobalSize(dib) < sizeof(BITMAPINFOHEADER))
        return 0;
    if (width)
        *width = header->biWidth;
    if (height)
        *height = header->biHeight;
    if (bits)
        *bits = header->biBitCount;
    if (palette)
        GetDibPalette(header.get(), palette);
    return 1;
}

HGLOBAL CopyBitmapToHandle(const BITMAPINFOHEADER* dib)
{
    // The copy is made at the source's depth; a depth that CreateDib would
    // change (16, 32) would give rows of another length.
    if (!SupportedDepth(dib->biBitCount) || DibBytes(dib) == 0)
        return nullptr;
    uint8_t palette[768];
    GetDibPalette(dib, palette);
    HGLOBAL copy = CreateDib(dib->biWidth, dib->biHeight, palette, dib->biBitCount);
    if (copy == nullptr)
        return nullptr;
    GlobalLockGuard<BITMAPINFOHEADER> target(copy);
    if (!target) {
        GlobalFree(copy);
        return nullptr;
    }
    const size_t stride = static_cast<size_t>(DibStride(dib->biWidth, dib->biBitCount));
    const uint8_t* from = DibPixels(dib);
    uint8_t* to = DibPixels(target.get());
    for (LONG row = 0; row < dib->biHeight; ++row)
        std::memcpy(to + row * stride, from + row * stride, stride);
    return copy;
}

HGLOBAL DuplicateObject(HGLOBAL mem)
{
    const SIZE_T size = GlobalSize(mem);
    if (size == 0)
        return nullptr;
    GlobalBlockGuard copy(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!copy)
        return nullptr;
    {
        GlobalLockGuard<uint8_t> from(mem);
        GlobalLockGuard<uint8_t> to(copy.get());
        if (!from || !to)
            return nullptr;
        std::memcpy(to.get(), from.get(), size);
    }
    return copy.release();
}

int WriteObject(void*, const char* path, HGLOBAL mem)
{
    const SIZE_T size = GlobalSize(mem);
    HFILE file = _lcreat(path, 0);
    if (file == HFILE_ERROR)
        return 0;
    UINT written = static_cast<UINT>(HFILE_ERROR);
    {
        GlobalLockGuard<char> bytes(mem);
        if (bytes && size <= 0xFFFFFFFEu)
            written = _lwrite(file, bytes.get(), static_cast<UINT>(size));
    }
    _lclose(file);
    if (written != size) {
        std::remove(path);
        return 0;
    }
    return 1;
}

LONG RectWidth(const RECT* rect) { return rect->right - rect->left; }

LONG RectDepth(const RECT* rect) { return rect->bottom - rect->top; }
