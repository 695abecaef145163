#include "imaging/reduce.h"

#include <algorithm>
#include <vector>

#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/guards.h"

namespace {

// An arithmetic shift right by four: the quotient rounded towards minus
// infinity, for negative errors too.
int Sixteenth(int e) { return e >= 0 ? e >> 4 : -((15 - e) >> 4); }

// The source locked and checked to lie within its block; 16- and 32-bit
// pictures are not ours to read.
class SourceDib {
public:
    explicit SourceDib(HGLOBAL mem) : lock_(mem)
    {
        ok_ = lock_ && DibIsValid(lock_.get(), GlobalSize(mem)) &&
              (lock_->biBitCount == 1 || lock_->biBitCount == 4 || lock_->biBitCount == 8 ||
               lock_->biBitCount == 24);
    }
    bool ok() const { return ok_; }
    const BITMAPINFOHEADER* operator->() const { return lock_.get(); }
    const BITMAPINFOHEADER* get() const { return lock_.get(); }

private:
    GlobalLockGuard<BITMAPINFOHEADER> lock_;
    bool ok_ = false;
};

// Writes one output index; 8-bit output directly, any other depth through
// the bounds-checked setter.
void PutIndex(BITMAPINFOHEADER* out, uint8_t* row, int x, int y, int index)
{
    if (out->biBitCount == 8)
        row[x] = static_cast<uint8_t>(index);
    else
        PutDibPixel(out, x, y, index);
}

}  // namespace

HGLOBAL DitherDib(HGLOBAL sourceMem, const uint8_t* palette, int bits, int)
{
    SourceDib source(sourceMem);
    if (!source.ok() || source->biBitCount == 1)
        return nullptr;
    const int width = source->biWidth;
    const int height = source->biHeight;
    const size_t cells = 3 * static_cast<size_t>(width);
    std::vector<int16_t> current, next;
    std::vector<uint8_t> work;
    try {
        current.assign(cells, 0);
        next.assign(cells, 0);
        work.assign(cells, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }

    GlobalBlockGuard outMem(CreateDib(width, height, palette, bits));
    if (!outMem)
        return nullptr;
    {
        GlobalLockGuard<BITMAPINFOHEADER> out(outMem.get());
        if (!out)
            return nullptr;
        uint8_t sourceColours[PALETTE_BYTES];
        GetDibPalette(source.get(), sourceColours);
        const size_t sourceStride = static_cast<size_t>(DibStride(width, source->biBitCount));
        const size_t outStride = static_cast<size_t>(DibStride(width, out->biBitCount));
        const uint8_t* sourceRows = DibPixels(source.get());
        uint8_t* outRows = DibPixels(out.get());

        // Stored order: the bottom row of the picture first.
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = sourceRows + y * sourceStride;
            // The row as red, green, blue bytes.
            for (int x = 0; x < width; ++x) {
                int r, g, b;
                if (source->biBitCount == 24) {
                    b = in[3 * x];
                    g = in[3 * x + 1];
                    r = in[3 * x + 2];
                } else {
                    const int index = source->biBitCount == 8 ? in[x] : (x & 1) ? (in[x / 2] & 0x0F) : (in[x / 2] >> 4);
                    r = sourceColours[3 * index];
                    g = sourceColours[3 * index + 1];
                    b = sourceColours[3 * index + 2];
                }
                work[3 * x] = static_cast<uint8_t>(r);
                work[3 * x + 1] = static_cast<uint8_t>(g);
                work[3 * x + 2] = static_cast<uint8_t>(b);
            }
            for (size_t i = 0; i < cells; ++i)
                current[i] = static_cast<int16_t>(current[i] + work[i]);

            uint8_t* outRow = outRows + y * outStride;
            const bool below = y + 1 < height;
            for (int x = 0; x < width; ++x) {
                const int r = std::clamp<int>(current[3 * x], 0, 255);
                const int g = std::clamp<int>(current[3 * x + 1], 0, 255);
                const int b = std::clamp<int>(current[3 * x + 2], 0, 255);
                const int index = StandardIndex(r, g, b);
                PutIndex(out.get(), outRow, x, height - 1 - y, index);
                const int errors[3] = {r - palette[3 * index], g - palette[3 * index + 1], b - palette[3 * index + 2]};
                for (int c = 0; c < 3; ++c) {
                    const int e = errors[c];
                    if (x + 1 < width)
                        current[3 * (x + 1) + c] = static_cast<int16_t>(current[3 * (x + 1) + c] + Sixteenth(7 * e));
                    // Column 0 never receives the below-left share.
                    if (x - 1 > 0 && below)
                        next[3 * (x - 1) + c] = static_cast<int16_t>(next[3 * (x - 1) + c] + Sixteenth(3 * e));
                    if (x + 1 < width && below)
                        next[3 * (x + 1) + c] = static_cast<int16_t>(next[3 * (x + 1) + c] + Sixteenth(e));
                    if (below)
                        next[3 * x + c] = static_cast<int16_t>(next[3 * x + c] + Sixteenth(5 * e));
                }
            }
            current.swap(next);
            std::fill(next.begin(), next.end(), int16_t{0});
        }
    }
    return outMem.release();
}

HGLOBAL RemapDib(HGLOBAL sourceMem, const uint8_t* palette, int bits, int)
{
    SourceDib source(sourceMem);
    if (!source.ok())
        return nullptr;
    const int width = source->biWidth;
    const int height = source->biHeight;
    const int sourceBits = source->biBitCount;

    int map[256] = {};
    if (sourceBits <= 8) {
        uint8_t colours[PALETTE_BYTES];
        GetDibPalette(source.get(), colours);
        const int targetColours = static_cast<int>(DibColourCount(AdjustDIBits(static_cast<unsigned>(bits))));
        for (uint32_t i = 0; i < DibColourCount(sourceBits); ++i)
            map[i] = FindPaletteColour(colours[3 * i], colours[3 * i + 1], colours[3 * i + 2], palette,
                                       targetColours ? targetColours : 256);
    }

    GlobalBlockGuard outMem(CreateDib(width, height, palette, bits));
    if (!outMem)
        return nullptr;
    {
        GlobalLockGuard<BITMAPINFOHEADER> out(outMem.get());
        if (!out)
            return nullptr;
        const size_t sourceStride = static_cast<size_t>(DibStride(width, sourceBits));
        const size_t outStride = static_cast<size_t>(DibStride(width, out->biBitCount));
        const uint8_t* sourceRows = DibPixels(source.get());
        uint8_t* outRows = DibPixels(out.get());
        for (int row = 0; row < height; ++row) {
            const uint8_t* in = sourceRows + row * sourceStride;
            uint8_t* outRow = outRows + row * outStride;
            for (int x = 0; x < width; ++x) {
                int index;
                switch (sourceBits) {
                case 1: index = (in[x / 8] & masktable[x & 7]) ? 255 : 0; break;
                case 4: index = map[(x & 1) ? (in[x / 2] & 0x0F) : (in[x / 2] >> 4)]; break;
                case 8: index = map[in[x]]; break;
                default: index = StandardIndex(in[3 * x + 2], in[3 * x + 1], in[3 * x]); break;
                }
                PutIndex(out.get(), outRow, x, height - 1 - row, index);
            }
        }
    }
    return outMem.release();
}
