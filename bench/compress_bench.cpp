// Inflate and deflate of the project's routines against raw zlib on the same
// 50 MB of picture-like data (24-bit rows with smooth gradients and noise).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/guards.h"
#include "show/compress.h"

namespace {

constexpr size_t PICTURE_BYTES = 50u << 20;

const std::vector<unsigned char>& Picture()
{
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(PICTURE_BYTES);
        const size_t width = 4096 * 3;
        unsigned seed = 1;
        for (size_t i = 0; i < b.size(); ++i) {
            seed = seed * 1103515245 + 12345;
            const size_t x = (i % width) / 3, y = i / width;
            const int c = static_cast<int>(i % 3);
            const int smooth = static_cast<int>((x * (c + 1) + y * (3 - c)) / 16);
            b[i] = static_cast<unsigned char>(smooth + ((seed >> 16) % 7));
        }
        return b;
    }();
    return bytes;
}

const std::vector<unsigned char>& Stream()
{
    static const std::vector<unsigned char> stream = [] {
        uLongf length = compressBound(PICTURE_BYTES);
        std::vector<unsigned char> s(length);
        compress2(s.data(), &length, Picture().data(), PICTURE_BYTES, 9);
        s.resize(length);
        return s;
    }();
    return stream;
}

void BM_UncompressData(benchmark::State& state)
{
    const auto& stream = Stream();
    for (auto _ : state) {
        unsigned long length = stream.size();
        HGLOBAL out = UncompressData(stream.data(), &length, 1);
        if (out == nullptr || length != PICTURE_BYTES)
            state.SkipWithError("inflate failed");
        GlobalFree(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PICTURE_BYTES);
}

void BM_ZlibUncompress(benchmark::State& state)
{
    const auto& stream = Stream();
    for (auto _ : state) {
        // Like the routine, the output is a fresh block per call.
        std::vector<unsigned char> out(PICTURE_BYTES);
        uLongf length = PICTURE_BYTES;
        if (uncompress(out.data(), &length, stream.data(), stream.size()) != Z_OK)
            state.SkipWithError("uncompress failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PICTURE_BYTES);
}

void BM_CompressData9(benchmark::State& state)
{
    HGLOBAL input = GlobalAlloc(GMEM_MOVEABLE, PICTURE_BYTES);
    std::memcpy(GlobalLockGuard<unsigned char>(input).get(), Picture().data(), PICTURE_BYTES);
    for (auto _ : state) {
        long length = PICTURE_BYTES;
        void* stream = CompressData(input, &length, 9);
        if (stream == nullptr)
            state.SkipWithError("deflate failed");
        std::free(stream);
    }
    GlobalFree(input);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PICTURE_BYTES);
}

void BM_ZlibCompress2(benchmark::State& state)
{
    for (auto _ : state) {
        uLongf length = compressBound(PICTURE_BYTES);
        std::vector<unsigned char> out(length);
        if (compress2(out.data(), &length, Picture().data(), PICTURE_BYTES, 9) != Z_OK)
            state.SkipWithError("compress2 failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * PICTURE_BYTES);
}

}  // namespace

BENCHMARK(BM_UncompressData)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_ZlibUncompress)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_CompressData9)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ZlibCompress2)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
