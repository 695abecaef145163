// LoadScrFile on a show of 100 compressed 1920 x 1080 24-bit pictures,
// against inflating the same payloads with zlib alone; and the memory the
// loaded show takes against its inflated content.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "imaging/dib.h"
#include "platform/guards.h"
#include "platform/kernel_native.h"
#include "show/blockstore.h"
#include "show/loader.h"
#include "show/writer.h"

namespace {

constexpr int PICTURES = 100;
constexpr int WIDTH = 1920, HEIGHT = 1080;

struct Show {
    std::string path;
    std::vector<ShowBytes> streams;  // the payloads as stored
    size_t inflated = 0;             // bytes of one inflated picture
};

const Show& TheShow()
{
    static const Show show = [] {
        Show s;
        s.path = "/tmp/vistrel-loader-bench-" + std::to_string(getpid()) + ".scr";
        GlobalBlockGuard mem(CreateDib(WIDTH, HEIGHT, nullptr, 24));
        ShowBytes dib;
        {
            GlobalLockGuard<uint8_t> p(mem.get());
            s.inflated = GlobalSize(mem.get());
            uint8_t* rows = DibPixels(reinterpret_cast<BITMAPINFOHEADER*>(p.get()));
            unsigned seed = 7;
            for (int y = 0; y < HEIGHT; ++y)
                for (int x = 0; x < WIDTH * 3; ++x) {
                    seed = seed * 1103515245 + 12345;
                    rows[static_cast<size_t>(y) * WIDTH * 3 + x] =
                        static_cast<uint8_t>((x / 3 + y * (1 + x % 3)) / 8 + ((seed >> 16) % 5));
                }
            dib.assign(p.get(), p.get() + s.inflated);
        }
        ShowBytes stream;
        ShowCompress(dib, &stream);
        SHOWWRITER writer;
        ShowWriterBegin(&writer);
        ShowWriteHead(&writer, ShowDefaultHead("Benchmark", 0));
        SCRIMAG image{};
        image.tag = TAG_IMAG;
        image.flags = BLOCK_VALID | BLOCK_COMPRESSED;
        for (int i = 0; i < PICTURES; ++i) {
            ShowWriteRaw(&writer, &image, sizeof image, stream);
            s.streams.push_back(stream);
        }
        const ShowBytes bytes = ShowWriterFinish(&writer);
        std::ofstream(s.path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
        return s;
    }();
    return show;
}

// Resident and peak resident memory of the process, in MiB.
double StatusMiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(std::strlen(field))) / 1024.0;
    return 0;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_LoadScrFile(benchmark::State& state)
{
    const Show& show = TheShow();
    double content = 0, peak = 0, before = 0;
    for (auto _ : state) {
        HWND window = NativeCreateWindow(nullptr, 0);
        HWND list = NativeCreateWindow(window, BLOCKLIST_ID);
        BLOCKSET set{};
        before = StatusMiB("VmRSS:");
        ResetPeak();
        if (!LoadScrFile(list, &set, show.path.c_str()))
            state.SkipWithError("load failed");
        peak = StatusMiB("VmHWM:") - before;
        content = 0;
        for (int i = 0; i <= PICTURES; ++i) {
            BLOCK block;
            if (GetBlock(list, i, &block) && block.payload)
                content += GlobalSize(block.payload) / 1048576.0;
        }
        FreeBlocks(window, &set);
        NativeDestroyWindow(window);
    }
    state.counters["content_MiB"] = content;
    state.counters["peak_MiB"] = peak;
    state.counters["rss_before_MiB"] = before;
}

void BM_ZlibInflate(benchmark::State& state)
{
    const Show& show = TheShow();
    for (auto _ : state) {
        // Read the file as the loader does, then inflate every payload into a
        // block of its own.
        std::ifstream in(show.path, std::ios::binary | std::ios::ate);
        std::unique_ptr<char[]> file(new char[static_cast<size_t>(in.tellg())]);
        const std::streamsize length = in.tellg();
        in.seekg(0);
        in.read(file.get(), length);
        benchmark::DoNotOptimize(file.get());
        // Uninitialised blocks: zlib alone pays for nothing but inflating.
        std::vector<std::unique_ptr<uint8_t[]>> pictures;
        for (const ShowBytes& stream : show.streams) {
            pictures.emplace_back(new uint8_t[show.inflated]);
            uLongf length = show.inflated;
            if (uncompress(pictures.back().get(), &length, stream.data(), stream.size()) != Z_OK)
                state.SkipWithError("uncompress failed");
        }
    }
}

}  // namespace

BENCHMARK(BM_LoadScrFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    // A fixed threshold: large blocks go back to the system when freed, so
    // that each load starts from the same resident memory.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(TheShow().path.c_str());
    return 0;
}
