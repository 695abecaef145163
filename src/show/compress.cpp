#include "show/compress.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/guards.h"

namespace {

constexpr unsigned CHUNK = 8192;

// The inflated bytes, grown in place: inflate writes straight into the
// movable block, which doubles when it is full and is cut to the exact length
// at the end (so GlobalSize tells the inflated length, as callers expect).
class InflateTarget {
public:
    ~InflateTarget()
    {
        Unlock();
        if (mem_)
            GlobalFree(mem_);
    }

    // The first block guesses four times the stream, a usual ratio for
    // pictures, so that most payloads need no reallocation at all.
    explicit InflateTarget(unsigned long stored) : guess_(std::min(std::max(stored / 2 * 8, 8ul * CHUNK), MAX_INFLATED_SIZE)) {}

    // Makes room for at least one more chunk; false when the bound or memory
    // is exhausted.
    bool Reserve(z_stream& z)
    {
        if (data_ != nullptr && used_ < capacity_)
            return Point(z);
        const unsigned long wanted = capacity_ ? std::min(capacity_ * 2, MAX_INFLATED_SIZE) : guess_;
        if (wanted <= used_)
            return false;
        Unlock();
        HGLOBAL grown = mem_ ? GlobalReAlloc(mem_, wanted, GMEM_MOVEABLE | GMEM_ZEROINIT)
                             : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, wanted);
        if (grown == nullptr)
            return false;
        mem_ = grown;
        capacity_ = wanted;
        data_ = static_cast<Bytef*>(GlobalLock(mem_));
        return data_ != nullptr && Point(z);
    }

    void Produced(const z_stream& z) { used_ = capacity_ - z.avail_out; }

    // Hands the block over at its exact length; 0 when nothing was produced.
    HGLOBAL Finish(unsigned long* length)
    {
        Unlock();
        if (mem_ == nullptr || used_ == 0)
            return nullptr;
        if (used_ < capacity_) {
            HGLOBAL exact = GlobalReAlloc(mem_, used_, GMEM_MOVEABLE | GMEM_ZEROINIT);
            if (exact == nullptr)
                return nullptr;
            mem_ = exact;
        }
        *length = used_;
        HGLOBAL result = mem_;
        mem_ = nullptr;
        return result;
    }

private:
    bool Point(z_stream& z)
    {
        z.next_out = data_ + used_;
        z.avail_out = static_cast<uInt>(capacity_ - used_);
        return true;
    }

    void Unlock()
    {
        if (data_) {
            GlobalUnlock(mem_);
            data_ = nullptr;
        }
    }

    unsigned long guess_;
    HGLOBAL mem_ = nullptr;
    Bytef* data_ = nullptr;
    unsigned long capacity_ = 0;
    unsigned long used_ = 0;
};

// One stream being inflated; inflateEnd runs on every path.
class Inflater {
public:
    Inflater() { ok_ = inflateInit(&z_) == Z_OK; }
    ~Inflater()
    {
        if (ok_)
            inflateEnd(&z_);
    }
    bool ok() const { return ok_; }
    z_stream& z() { return z_; }
    // Ends the stream; false when zlib reports an error.
    bool End()
    {
        ok_ = false;
        return inflateEnd(&z_) == Z_OK;
    }

private:
    z_stream z_{};
    bool ok_ = false;
};

// The shared loop: `refill` gives the stream more input when it has none.
template <typename Refill>
HGLOBAL Inflate(unsigned long* length, Refill refill)
{
    const unsigned long stored = *length;
    Inflater inflater;
    if (!inflater.ok())
        return nullptr;
    z_stream& z = inflater.z();
    InflateTarget target(stored);
    for (;;) {
        if (z.total_in == stored)
            break;
        if (!refill(z, stored))
            return nullptr;
        if (!target.Reserve(z))
            return nullptr;
        int result = inflate(&z, Z_PARTIAL_FLUSH);
        target.Produced(z);
        if (result == Z_STREAM_END)
            break;
        if (result != Z_OK)
            return nullptr;
    }
    if (!inflater.End())
        return nullptr;
    return target.Finish(length);
}

}  // namespace

HGLOBAL UncompressDataFromFile(HFILE file, unsigned long* length, int)
{
    Bytef buffer[CHUNK];
    unsigned long read = 0;
    return Inflate(length, [&](z_stream& z, unsigned long stored) {
        if (z.avail_in > 0 || read >= stored)
            return true;
        const UINT want = static_cast<UINT>(std::min<unsigned long>(stored - read, CHUNK));
        const UINT got = _lread(file, buffer, want);
        if (got == 0 || got == static_cast<UINT>(HFILE_ERROR))
            return false;
        read += got;
        z.next_in = buffer;
        z.avail_in = got;
        return true;
    });
}

HGLOBAL UncompressData(const void* stream, unsigned long* length, int)
{
    if (stream == nullptr)
        return nullptr;
    const auto* bytes = static_cast<const Bytef*>(stream);
    return Inflate(length, [&](z_stream& z, unsigned long stored) {
        z.next_in = const_cast<Bytef*>(bytes + z.total_in);
        z.avail_in = static_cast<uInt>(stored - z.total_in);
        return true;
    });
}

void* CompressData(HGLOBAL input, long* length, int level)
{
    if (*length < 0)
        return nullptr;
    const auto inputLength = static_cast<unsigned long>(*length);
    // Never read past the block, whatever length the caller claims.
    if (inputLength > GlobalSize(input))
        return nullptr;

    z_stream z{};
    if (deflateInit(&z, level) != Z_OK)
        return nullptr;
    struct EndDeflate {
        z_stream* z;
        ~EndDeflate()
        {
            if (z)
                deflateEnd(z);
        }
    } end{&z};

    GlobalLockGuard<Bytef> in(input);
    if (!in && inputLength > 0)
        return nullptr;
    // One buffer that holds any stream this input can give, so deflate never
    // waits for room.
    unsigned long capacity = deflateBound(&z, inputLength) + 64;
    HeapGuard out(std::malloc(capacity));
    if (out.get() == nullptr)
        return nullptr;
    auto* outBytes = static_cast<Bytef*>(out.get());

    auto room = [&] {
        z.next_out = outBytes + z.total_out;
        z.avail_out = static_cast<uInt>(capacity - z.total_out);
    };
    while (z.total_in < inputLength) {
        z.next_in = in.get() + z.total_in;
        z.avail_in = static_cast<uInt>(inputLength - z.total_in);
        room();
        if (deflate(&z, Z_NO_FLUSH) != Z_OK)
            return nullptr;
    }
    for (;;) {
        room();
        int result = deflate(&z, Z_FINISH);
        if (result == Z_STREAM_END)
            break;
        if (result != Z_OK)
            return nullptr;
    }
    const long produced = static_cast<long>(z.total_out);
    end.z = nullptr;
    if (deflateEnd(&z) != Z_OK)
        return nullptr;
    *length = produced;
    // Give back the headroom of the bound.
    if (void* exact = std::realloc(out.get(), produced > 0 ? static_cast<size_t>(produced) : 1))
        out.release(), out.reset(exact);
    return out.release();
}
