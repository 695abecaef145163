#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/guards.h"
#include "show/compress.h"
#include "support/show_fixture.h"

namespace {

std::vector<unsigned char> Bytes(HGLOBAL mem)
{
    GlobalLockGuard<unsigned char> p(mem);
    return p ? std::vector<unsigned char>(p.get(), p.get() + GlobalSize(mem)) : std::vector<unsigned char>{};
}

HGLOBAL Movable(const std::vector<unsigned char>& bytes)
{
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (!bytes.empty())
        std::memcpy(GlobalLockGuard<unsigned char>(mem).get(), bytes.data(), bytes.size());
    return mem;
}

// Something like picture rows: smooth runs with some noise.
std::vector<unsigned char> PictureLike(size_t n)
{
    std::vector<unsigned char> bytes(n);
    unsigned seed = 12345;
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245 + 12345;
        bytes[i] = static_cast<unsigned char>((i / 7) % 251 + ((seed >> 16) & 3));
    }
    return bytes;
}

std::vector<unsigned char> Compress(const std::vector<unsigned char>& input, int level = 9)
{
    HGLOBAL in = Movable(input);
    long length = static_cast<long>(input.size());
    void* stream = CompressData(in, &length, level);
    GlobalFree(in);
    EXPECT_NE(stream, nullptr);
    std::vector<unsigned char> out(static_cast<unsigned char*>(stream), static_cast<unsigned char*>(stream) + length);
    std::free(stream);
    return out;
}

TEST(Crc32, IsTheStandardCrc)
{
    const char check[] = "123456789";
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(check), 9), 0xCBF43926u);
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(check), 0), 0u);
    EXPECT_EQ(crc32(0x12345678, nullptr, 10), 0u);
}

TEST(CompressData, Level9StreamBeginsWith78DA)
{
    for (size_t n : {size_t{0}, size_t{1}, size_t{100000}}) {
        std::vector<unsigned char> stream = Compress(PictureLike(n));
        ASSERT_GE(stream.size(), 2u) << n;
        EXPECT_EQ(stream[0], 0x78) << n;
        EXPECT_EQ(stream[1], 0xDA) << n;
    }
}

TEST(CompressData, RoundTripsAtEveryLevel)
{
    const std::vector<unsigned char> input = PictureLike(300000);
    for (int level = 0; level <= 9; ++level) {
        std::vector<unsigned char> stream = Compress(input, level);
        unsigned long length = stream.size();
        HGLOBAL out = UncompressData(stream.data(), &length, 1);
        ASSERT_NE(out, nullptr) << level;
        EXPECT_EQ(length, input.size()) << level;
        EXPECT_EQ(GlobalSize(out), input.size()) << level;
        EXPECT_TRUE(Bytes(out) == input) << level;
        GlobalFree(out);
    }
}

TEST(CompressData, RefusesALengthBeyondItsBlock)
{
    HGLOBAL in = Movable(PictureLike(100));
    long length = 101;
    EXPECT_EQ(CompressData(in, &length, 9), nullptr);
    length = -1;
    EXPECT_EQ(CompressData(in, &length, 9), nullptr);
    GlobalFree(in);
}

struct InflateCase {
    const char* name;
    long storedDelta;      // stored length relative to the real stream
    bool corrupt;
    bool succeeds;
    bool whole;            // all of the input comes back
};

const InflateCase inflateCases[] = {
    {"exact", 0, false, true, true},
    // Bytes after the end of the stream are ignored.
    {"stream_ends_early", 0, false, true, true},
    // A stored length used up before the stream ends keeps what came so far.
    {"stored_length_ends_first", -20, false, true, false},
    {"corrupt", 0, true, false, false},
    {"nothing_stored", 0, false, false, false},
};

TEST(UncompressData, Cases)
{
    const std::vector<unsigned char> input = PictureLike(200000);
    for (const InflateCase& c : inflateCases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> stream = Compress(input);
        unsigned long stored = static_cast<unsigned long>(static_cast<long>(stream.size()) + c.storedDelta);
        if (std::string(c.name) == "stream_ends_early") {
            stream.resize(stream.size() + 100, 0x5A);
            stored = stream.size();
        }
        if (std::string(c.name) == "nothing_stored")
            stored = 0;
        if (c.corrupt)
            for (size_t i = 40; i < 60; ++i)
                stream[i] ^= 0xFF;
        unsigned long length = stored;
        HGLOBAL out = UncompressData(stream.data(), &length, 1);
        EXPECT_EQ(out != nullptr, c.succeeds);
        if (out) {
            std::vector<unsigned char> got = Bytes(out);
            EXPECT_EQ(length, got.size());
            if (c.whole) {
                EXPECT_TRUE(got == input);
            } else {
                ASSERT_LT(got.size(), input.size());
                EXPECT_TRUE(std::equal(got.begin(), got.end(), input.begin()));
            }
            GlobalFree(out);
        }
    }
}

// A few hundred kilobytes that would inflate past the bound.
TEST(UncompressData, StopsAtTheBound)
{
    ShowBytes stream = ZeroStream(MAX_INFLATED_SIZE + (1 << 20));
    unsigned long length = stream.size();
    EXPECT_EQ(UncompressData(stream.data(), &length, 1), nullptr);
}

class FromFile : public testing::Test {
protected:
    void SetUp() override
    {
        path = testing::TempDir() + "vistrel-inflate-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { std::remove(path.c_str()); }

    void Write(const std::vector<unsigned char>& bytes)
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    std::string path;
};

TEST_F(FromFile, InflatesFromTheCurrentPosition)
{
    const std::vector<unsigned char> input = PictureLike(100000);
    std::vector<unsigned char> file(37, 0xEE);
    std::vector<unsigned char> stream = Compress(input);
    file.insert(file.end(), stream.begin(), stream.end());
    Write(file);

    HFILE f = _lopen(path.c_str(), OF_READ);
    ASSERT_NE(f, HFILE_ERROR);
    _llseek(f, 37, FILE_BEGIN);
    unsigned long length = stream.size();
    HGLOBAL out = UncompressDataFromFile(f, &length, 1);
    _lclose(f);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(length, input.size());
    EXPECT_TRUE(Bytes(out) == input);
    GlobalFree(out);
}

TEST_F(FromFile, FailsWhenTheFileEndsFirst)
{
    std::vector<unsigned char> stream = Compress(PictureLike(100000));
    const unsigned long stored = stream.size();
    stream.resize(stream.size() / 2);
    Write(stream);

    HFILE f = _lopen(path.c_str(), OF_READ);
    ASSERT_NE(f, HFILE_ERROR);
    unsigned long length = stored;
    EXPECT_EQ(UncompressDataFromFile(f, &length, 1), nullptr);
    _lclose(f);
}

}  // namespace
