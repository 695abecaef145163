// The effects, operation by operation, on a memory canvas: pixel-exact
// where the phases fix the pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "effects/effect.h"
#include "effects/families.h"
#include "imaging/dib.h"
#include "platform/guards.h"
#include "support/test_canvas.h"

namespace {

constexpr COLORREF BACKGROUND = RGB(1, 2, 3);
constexpr int OX = 7, OY = 5;  // where the slide sits on the canvas


COLORREF Coded(int x, int y) { return RGB(10 + x, 20 + y, 200); }

HGLOBAL Picture(int w, int h)
{
    HGLOBAL mem = CreateDib(w, h, nullptr, 24);
    GlobalLockGuard<BITMAPINFOHEADER> dib(mem);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            PutDibPixel(dib.get(), x, y, Coded(x, y));
    return mem;
}

class Effects : public testing::Test {
protected:
    void Slide(int w, int h)
    {
        if (status.picture)
            GlobalFree(status.picture);
        status = STATUS{};
        status.dc = canvas.dc;
        status.x = OX;
        status.y = OY;
        status.picture = Picture(w, h);
        status.backgroundBrush = brush;
        w_ = w;
        h_ = h;
    }
    void TearDown() override
    {
        std::free(status.workA);
        std::free(status.workB);
        if (status.bitmap)
            DeleteObject(status.bitmap);
        if (status.picture)
            GlobalFree(status.picture);
        DeleteObject(brush);
    }

    // Calls `op` until it reports done; the number of calls, or -1.
    int UntilDone(EFFECTOPERATION op, int limit = 5000)
    {
        for (int calls = 1; calls <= limit; ++calls) {
            const int16_t result = op(&status);
            if (result & EFFECT_ABORT)
                return -1;
            if (result & EFFECT_DONE)
                return calls;
        }
        return -1;
    }

    bool ShowsPicture() const
    {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (canvas.At(OX + x, OY + y) != Coded(x, y))
                    return false;
        return true;
    }

    bool AreaIs(int left, int top, int right, int bottom, COLORREF colour) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (canvas.At(x, y) != colour)
                    return false;
        return true;
    }

    bool ShowsBackground() const { return AreaIs(OX, OY, OX + w_, OY + h_, BACKGROUND); }

    TestCanvas canvas{120, 100, BACKGROUND};
    HBRUSH brush = CreateSolidBrush(BACKGROUND);
    STATUS status{};
    int w_ = 0, h_ = 0;
};

// Every family but Random: a completed appear shows the exact picture, and a
// completed disappear leaves the background (No Clear leaves the picture).
TEST_F(Effects, CompletePhasesLeaveExactPictures)
{
    for (int number = 0; number < MAXEFFECT; ++number) {
        if (number == EFFECT_RANDOM)
            continue;
        const EFFECT& e = effect[number];
        SCOPED_TRACE(e.name);
        canvas.Fill(BACKGROUND);
        Slide(40, 30);
        ASSERT_EQ(e.setup(&status) & EFFECT_ABORT, 0);
        ASSERT_GT(UntilDone(e.appear), 0);
        EXPECT_TRUE(ShowsPicture());
        status.holdLeft = 1;
        EXPECT_EQ(e.wait(&status), 0);
        status.holdLeft = 0;
        EXPECT_EQ(e.wait(&status), EFFECT_DONE);
        ASSERT_GT(UntilDone(e.disappear), 0);
        EXPECT_EQ(e.close(&status), EFFECT_DONE);
        EXPECT_EQ(status.bitmap, nullptr);
        if (number == EFFECT_NCLEAR)
            EXPECT_TRUE(ShowsPicture());
        else
            EXPECT_TRUE(ShowsBackground());
        std::free(status.workA);
        status.workA = nullptr;
    }
}

TEST_F(Effects, WipeFromRightOfTwelvePixelsAppearsInTwoCalls)
{
    Slide(12, 10);
    SetupWright(&status);
    EXPECT_EQ(AppearWright(&status), 0);
    EXPECT_EQ(AppearWright(&status), EFFECT_DONE);
    EXPECT_TRUE(ShowsPicture());
}

TEST_F(Effects, WipesClearTheColumnJustOutside)
{
    // Right: column W - n at each step, starting with x = W.
    Slide(12, 10);
    SetupWright(&status);
    UntilDone(AppearWright);
    WaitWright(&status);
    HBRUSH mark = CreateSolidBrush(RGB(255, 0, 255));
    RECT column{OX + 12, OY, OX + 13, OY + 10};
    FillRect(canvas.dc, &column, mark);
    DisappearWright(&status);
    EXPECT_TRUE(AreaIs(OX + 12, OY, OX + 13, OY + 10, BACKGROUND));
    UntilDone(DisappearWright);
    EXPECT_TRUE(ShowsBackground());
    CloseWright(&status);

    // Left: its final action clears the column x = W.
    SetupWleft(&status);
    UntilDone(AppearWleft);
    WaitWleft(&status);
    FillRect(canvas.dc, &column, mark);
    UntilDone(DisappearWleft);
    EXPECT_TRUE(AreaIs(OX + 12, OY, OX + 14, OY + 10, BACKGROUND));
    EXPECT_TRUE(ShowsBackground());
    DeleteObject(mark);
}

TEST_F(Effects, VerticalSplitOfOneRowIsDoneAtOnce)
{
    Slide(20, 1);
    SetupVsplit(&status);
    EXPECT_EQ(AppearVsplit(&status), EFFECT_DONE);
    EXPECT_TRUE(ShowsPicture());
}

TEST_F(Effects, HorizontalSplitOfAnOddHeightEndsExact)
{
    Slide(30, 11);
    SetupHsplit(&status);
    AppearHsplit(&status);
    // The last row belongs to neither half while the halves move in.
    EXPECT_TRUE(AreaIs(OX, OY + 10, OX + 30, OY + 11, BACKGROUND));
    UntilDone(AppearHsplit);
    EXPECT_TRUE(ShowsPicture());
}

TEST_F(Effects, TileOfTwentyByTen)
{
    Slide(20, 10);
    SetupTile(&status);
    const auto* table = static_cast<const int32_t*>(status.workA);
    const int32_t expected[6][2] = {{0, 0}, {8, 0}, {16, 0}, {0, 8}, {8, 8}, {16, 8}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(table[2 * i], expected[i][0]);
        EXPECT_EQ(table[2 * i + 1], expected[i][1]);
    }
    EXPECT_EQ(AppearTile(&status), 0) << "all six drawn, done on the next call";
    EXPECT_TRUE(ShowsPicture()) << "partial tiles 4 wide and 2 high";
    EXPECT_TRUE(AreaIs(OX + 20, OY, OX + 21, OY + 10, BACKGROUND));
    EXPECT_EQ(AppearTile(&status), EFFECT_DONE);
    EXPECT_EQ(status.workA, nullptr);
}

TEST_F(Effects, ChaosAndOrderBlockSizes)
{
    // 8 x 100: too small for 8-pixel blocks.
    Slide(8, 100);
    EXPECT_EQ(SetupScramble(&status), EFFECT_ABORT);

    // A descending table is sorted already: the first call draws the
    // picture whole. 200 x 100 uses 8-pixel blocks (25 x 13 of them), 300
    // x 300 16-pixel blocks (19 x 19).
    TestCanvas big(320, 320, BACKGROUND);
    const struct {
        int w, h;
        uint32_t blocks;
    } cases[] = {{200, 100, 25 * 13}, {300, 300, 19 * 19}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        Slide(c.w, c.h);
        status.dc = big.dc;
        ASSERT_EQ(SetupScramble(&status), EFFECT_DONE);
        auto* order = static_cast<int32_t*>(status.workB);
        for (uint32_t j = 0; j < c.blocks; ++j)
            order[j] = static_cast<int32_t>(c.blocks - 1 - j);
        EXPECT_EQ(AppearScramble(&status), EFFECT_DONE);
        bool whole = true;
        for (int y = 0; y < c.h && whole; y += 3)
            for (int x = 0; x < c.w && whole; x += 3)
                whole = big.At(OX + x, OY + y) == Coded(x, y);
        EXPECT_TRUE(whole);
        CloseScramble(&status);
    }
}

TEST_F(Effects, SandstormOfThirtyTwoSquareIsOneCall)
{
    Slide(32, 32);
    SetupSandblast(&status);
    EXPECT_EQ(AppearSandblast(&status), EFFECT_DONE);
    EXPECT_TRUE(ShowsPicture());
    EXPECT_EQ(DisappearSandblast(&status), EFFECT_DONE);
    EXPECT_TRUE(ShowsBackground());
    CloseSandblast(&status);
}

TEST_F(Effects, PlummetStrips)
{
    Slide(40, 30);
    SetupPlummet(&status);
    const auto* table = static_cast<const int32_t*>(status.workA);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[2], 16);
    EXPECT_EQ(table[4], 32);
    ClosePlummet(&status);

    // 17 rows: a strip's first call runs 16 steps, reaches k = 16 = H - 1
    // and counts it as finished, one row higher than its place.
    Slide(16, 17);
    SetupPlummet(&status);
    EXPECT_EQ(AppearPlummet(&status), 0);
    EXPECT_EQ(AppearPlummet(&status), EFFECT_DONE) << "the only strip is done";
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(canvas.At(OX + 3, OY + y), Coded(3, y + 1)) << y;
    EXPECT_EQ(canvas.At(OX + 3, OY + 16), BACKGROUND);
}

TEST_F(Effects, QuadrantsCallsAndFinalPicture)
{
    TestCanvas big(220, 120, BACKGROUND);
    const struct {
        int w, h, calls;
    } cases[] = {{200, 100, 50}, {101, 50, 25}, {1, 1, 1}, {2, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        Slide(c.w, c.h);
        status.dc = big.dc;
        ASSERT_EQ(SetupFourway(&status), EFFECT_DONE);
        EXPECT_EQ(UntilDone(AppearFourway), c.calls);
        bool whole = true;
        for (int y = 0; y < c.h && whole; ++y)
            for (int x = 0; x < c.w && whole; ++x)
                whole = big.At(OX + x, OY + y) == Coded(x, y);
        EXPECT_TRUE(whole);
        CloseFourway(&status);
    }
}

TEST_F(Effects, LeavingFamiliesReadTheSlidesOwnPicture)
{
    // An earlier slide of 12 pixels; this one, 30 wide, only leaves with it.
    for (int number : {EFFECT_WRIGHT, EFFECT_WLEFT, EFFECT_HSPLIT, EFFECT_VSPLIT, EFFECT_TILE, EFFECT_SANDBLAST,
                       EFFECT_PLUMMET, EFFECT_NONE}) {
        const EFFECT& e = effect[number];
        SCOPED_TRACE(e.name);
        canvas.Fill(BACKGROUND);
        Slide(12, 8);
        e.setup(&status);
        UntilDone(e.appear);
        e.close(&status);
        std::free(status.workA);
        status.workA = nullptr;

        Slide(30, 20);
        SetupNone(&status);
        AppearNone(&status);
        CloseNone(&status);
        ASSERT_TRUE(ShowsPicture());
        ASSERT_GT(UntilDone(e.disappear), 0);
        EXPECT_TRUE(ShowsBackground());
        e.close(&status);
    }
}

TEST_F(Effects, CutOffSlideLeavesNoTableToOverrun)
{
    // A slide cut off in the middle of its appear: the sequencer frees the
    // tables, and a later slide uses the family only to leave.
    for (int number : {EFFECT_TILE, EFFECT_SANDBLAST, EFFECT_PLUMMET, EFFECT_SCRAMBLE}) {
        const EFFECT& e = effect[number];
        SCOPED_TRACE(e.name);
        Slide(64, 48);
        e.setup(&status);
        e.appear(&status);
        std::free(status.workA);
        std::free(status.workB);
        status.workA = status.workB = nullptr;
        Slide(16, 16);
        EXPECT_GT(UntilDone(e.appear), 0) << "an appear without its table ends";
        canvas.Fill(BACKGROUND);
        ASSERT_GT(UntilDone(e.disappear), 0);
        e.close(&status);
    }
}

}  // namespace
