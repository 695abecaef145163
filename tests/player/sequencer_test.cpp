// The show sequencer and the slide phases, driven message by message: the
// window's timers are stood in for, so every cell, second and advance tick
// is sent by the test, and the posted steps are pumped in queue order.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "effects/effect.h"
#include "effects/families.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/guards.h"
#include "player/sequencer.h"
#include "player/slide.h"
#include "shell/messages.h"
#include "shell/saverwindow.h"
#include "show/blockstore.h"
#include "player/saver_fixture.h"

namespace {

using namespace saver_fixture;

struct PlacementCase {
    const char* name;
    int position, x, y;
    int expectedX, expectedY;
};

// On an 800 x 600 screen, for a 100 x 50 picture.
const PlacementCase placements[] = {
    {"top_left", 1, 10, 20, 10, 20},
    {"top_right", 2, 0, 0, 698, 0},
    {"bottom_left", 3, 5, -5, 5, 543},
    {"bottom_right", 4, 0, 0, 698, 548},
    {"centred", 0, 0, 0, 350, 275},
    {"centred_other_code", 9, 3, 4, 353, 279},
    {"clamped_to_zero", 1, -20, -1, 0, 0},
    {"centred_clamped", 0, -500, -400, 0, 0},
    {"past_the_right_edge_unclamped", 1, 790, 0, 790, 0},
};

TEST(ImageOrigin, Placement)
{
    if (!Is800x600())
        GTEST_SKIP() << "needs an 800 x 600 screen";
    BLOCK block;
    CreateBlock(nullptr, nullptr, &block, TAG_IMAG, Picture(100, 50), 0);
    for (const PlacementCase& c : placements) {
        block.imag.position = c.position;
        block.imag.x = c.x;
        block.imag.y = c.y;
        int x = -1, y = -1;
        EXPECT_EQ(GetImageOrigin(&x, &y, &block), 1) << c.name;
        EXPECT_EQ(x, c.expectedX) << c.name;
        EXPECT_EQ(y, c.expectedY) << c.name;
    }
    block.imag.x = 0x7FFFFFFF;
    block.imag.position = 4;
    int x, y;
    GetImageOrigin(&x, &y, &block);
    EXPECT_GT(x, 0) << "huge offsets must not wrap";
    DestroyBlock(&block);

    BLOCK text;
    CreateBlock(nullptr, nullptr, &text, TAG_TEXT, nullptr, 0);
    x = y = 7;
    EXPECT_EQ(GetImageOrigin(&x, &y, &text), 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(Sequencer, StartPaintsTheBackgroundAndTakesTheFirstBlock)
{
    AddPicture(Picture(100, 50), EFFECT_NONE, EFFECT_NONE, 1);
    Start();
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(Pixel(5, 5), BACKGROUND);
    EXPECT_EQ(Pixel(width - 1, height - 1), BACKGROUND);
    // The three timers of the picture slide.
    EXPECT_EQ(timers.at(TIMER_CELL), 41u);
    EXPECT_EQ(timers.at(TIMER_SECOND), 1000u);
    EXPECT_EQ(timers.count(TIMER_ADVANCE), 0u);
}

class NoneCycle : public Sequencer, public testing::WithParamInterface<int> {};

TEST_P(NoneCycle, TakesFourTicksWithNoHoldTime)
{
    const int displayTime = GetParam();
    AddPicture(Picture(100, 50, RGB(255, 0, 0)), EFFECT_NONE, EFFECT_NONE, displayTime);
    AddPicture(Picture(10, 10, RGB(0, 255, 0)), EFFECT_NONE, EFFECT_NONE, 0);
    Start();
    int x = 0, y = 0;
    {
        BLOCK block = Set()->block;
        Unlock();
        GetImageOrigin(&x, &y, &block);
    }
    if (displayTime == 5) {
        ASSERT_EQ(timers.count(TIMER_ADVANCE), 1u);
        EXPECT_EQ(timers.at(TIMER_ADVANCE), 5000u);
    } else {
        EXPECT_EQ(timers.count(TIMER_ADVANCE), 0u);
    }

    Tick(TIMER_CELL);  // setup: nothing drawn yet
    EXPECT_EQ(Pixel(x + 50, y + 25), BACKGROUND);
    EXPECT_EQ(Status().phase, PHASE_APPEAR);
    Tick(TIMER_CELL);  // appear: the whole picture at once
    EXPECT_EQ(Pixel(x, y), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(x + 99, y + 49), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(x + 100, y + 50), BACKGROUND);
    Tick(TIMER_CELL);  // wait: no hold time, done at once
    EXPECT_EQ(Status().phase, PHASE_DISAPPEAR);
    EXPECT_EQ(Posted(STEP_SLIDEDONE), 0);
    Tick(TIMER_CELL);  // disappear and close
    EXPECT_EQ(Posted(STEP_SLIDEDONE), 1);
    EXPECT_EQ(Pixel(x + 50, y + 25), BACKGROUND);
    EXPECT_EQ(Pixel(x + 99, y + 49), BACKGROUND);

    if (displayTime == 1) {
        EXPECT_EQ(Current(), 2) << "moves on right then";
        return;
    }
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(Status().activeEffect, EFFECT_IDLE);
    // The cycle starts again from its setup.
    Tick(TIMER_CELL);
    Tick(TIMER_CELL);
    EXPECT_EQ(Pixel(x, y), RGB(255, 0, 0));
    if (displayTime == 5) {
        // The display time ends the slide in the middle of its cycle.
        Tick(TIMER_ADVANCE);
        EXPECT_EQ(Current(), 2);
        EXPECT_EQ(Pixel(x, y), BACKGROUND);
    }
}

INSTANTIATE_TEST_SUITE_P(DisplayTimes, NoneCycle, testing::Values(0, 1, 5));

TEST_F(Sequencer, WaitLastsHoldTimeSeconds)
{
    AddPicture(Picture(20, 20), EFFECT_NONE, EFFECT_NONE, 0, 2);
    Start();
    Tick(TIMER_CELL);
    Tick(TIMER_SECOND);  // not in the wait yet: no count
    Tick(TIMER_CELL);
    EXPECT_EQ(Status().phase, PHASE_WAIT);
    EXPECT_EQ(Status().holdLeft, 2);
    Tick(TIMER_CELL);
    EXPECT_EQ(Status().phase, PHASE_WAIT);
    Tick(TIMER_SECOND);
    Tick(TIMER_CELL);
    EXPECT_EQ(Status().phase, PHASE_WAIT);
    Tick(TIMER_SECOND);
    Tick(TIMER_SECOND);
    EXPECT_EQ(Status().holdLeft, 0);
    Tick(TIMER_CELL);
    EXPECT_EQ(Status().phase, PHASE_DISAPPEAR);
}

TEST_F(Sequencer, NoClearLeavesThePictureAndTheNextDrawsOverIt)
{
    AddPicture(Picture(100, 100, RGB(255, 0, 0)), EFFECT_NONE, EFFECT_NCLEAR, 1);
    AddPicture(Picture(50, 50, RGB(0, 0, 255)), EFFECT_NONE, EFFECT_NONE, 0);
    Start();
    const int cx = width / 2, cy = height / 2;
    for (int i = 0; i < 4; ++i)
        Tick(TIMER_CELL);
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(Pixel(cx - 40, cy - 40), RGB(255, 0, 0)) << "No Clear leaves the picture";
    Tick(TIMER_CELL);
    Tick(TIMER_CELL);
    EXPECT_EQ(Pixel(cx, cy), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(cx - 40, cy - 40), RGB(255, 0, 0));
}

class SavedArea : public Sequencer, public testing::WithParamInterface<int> {};

// A "No Clear" picture stays behind; the next, smaller picture at the same
// place saves what it covers and puts it back, its one-pixel border
// included, also where the screen's edge cuts the saved area (position 1
// puts both at (0, 0)).
TEST_P(SavedArea, ComesBackWhenTheSlideEnds)
{
    const int position = GetParam();
    const COLORREF under = RGB(0, 200, 100);
    AddPicture(Picture(100, 80, under), EFFECT_NONE, EFFECT_NCLEAR, 1, 0, position);
    AddPicture(Picture(60, 40, RGB(255, 255, 0)), EFFECT_NONE, EFFECT_NONE, 1, 0, position);
    Start();
    for (int i = 0; i < 4; ++i)
        Tick(TIMER_CELL);
    ASSERT_EQ(Current(), 2);
    int x, y;
    {
        BLOCK block = Set()->block;
        Unlock();
        GetImageOrigin(&x, &y, &block);
    }
    Tick(TIMER_CELL);
    Tick(TIMER_CELL);
    EXPECT_EQ(Pixel(x + 30, y + 20), RGB(255, 255, 0));
    Tick(TIMER_CELL);
    Tick(TIMER_CELL);  // the disappear fills the picture's area, then the slide ends
    EXPECT_EQ(Current(), 0 + 1) << "wrapped to HEAD and on to the first block";
    const RECT area{std::max(0, x - 1), std::max(0, y - 1), x + 61, y + 41};
    EXPECT_TRUE(AreaIs(area, under));
    EXPECT_EQ(Pixel(x + 60, y + 40), under);
}

INSTANTIATE_TEST_SUITE_P(Positions, SavedArea, testing::Values(0, 1));

TEST_F(Sequencer, TheShowWrapsToHead)
{
    AddPicture(Picture(10, 10), EFFECT_NONE, EFFECT_NONE, 1);
    AddPicture(Picture(10, 10), EFFECT_NONE, EFFECT_NONE, 1);
    Start();
    EXPECT_EQ(Current(), 1);
    for (int i = 0; i < 4; ++i)
        Tick(TIMER_CELL);
    EXPECT_EQ(Current(), 2);
    // The last block ends: HEAD (index 0) posts the next step at once.
    for (int i = 0; i < 4; ++i)
        Tick(TIMER_CELL);
    EXPECT_EQ(Current(), 1);
    ASSERT_GE(steps.size(), 2u);
}

TEST_F(Sequencer, ShowThatNeverHoldsPausesBetweenPasses)
{
    AddSound();
    AddSound();
    Start();
    // Without the pause, this pump would never end.
    EXPECT_EQ(Current(), 0);
    ASSERT_EQ(timers.count(TIMER_IDLE), 1u);
    EXPECT_EQ(timers.at(TIMER_IDLE), IDLE_PAUSE_MS);
    Tick(TIMER_IDLE);
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(Posted(STEP_NEXTBLOCK), 3);
}

TEST_F(Sequencer, LargePictureIsCroppedToItsMiddle)
{
    if (!Is800x600())
        GTEST_SKIP() << "needs an 800 x 600 screen";
    AddPicture(Picture(1000, 800), EFFECT_NONE, EFFECT_NONE, 0);
    Start();
    STATUS status = Status();
    EXPECT_EQ(status.width, 800);
    EXPECT_EQ(status.height, 600);
    {
        GlobalLockGuard<BITMAPINFOHEADER> dib(status.picture);
        EXPECT_EQ(GetDibPixel(dib.get(), 0, 0), static_cast<long>(RGB(100, 100, 0)));
        EXPECT_EQ(GetDibPixel(dib.get(), 799, 599), static_cast<long>(RGB(899 & 255, 699 & 255, 3 | (2 << 4))));
    }
    // Placed from the top-left corner.
    Tick(TIMER_CELL);
    Tick(TIMER_CELL);
    EXPECT_EQ(Pixel(0, 0), RGB(100, 100, 0));
}

TEST_F(Sequencer, FailingBlockPostsTheFailureAndStops)
{
    // A picture block without a payload cannot be copied.
    AddPicture(nullptr, EFFECT_NONE, EFFECT_NONE, 1);
    Start();
    bool failed = false;
    for (const Step& s : steps)
        failed |= s.message == WM_COMMAND && s.wParam == 1;
    EXPECT_TRUE(failed);
    EXPECT_TRUE(timers.empty());
    EXPECT_EQ(Current(), 1);
}

TEST_F(Sequencer, EffectNumbersOutsideTheTableDoNothing)
{
    AddPicture(Picture(20, 20, RGB(255, 0, 0)), 12, EFFECT_NONE, 1);
    AddPicture(Picture(20, 20, RGB(255, 0, 0)), EFFECT_NONE, -1, 1);
    Start();
    for (int i = 0; i < 6; ++i)
        Tick(TIMER_CELL);
    EXPECT_EQ(Pixel(width / 2, height / 2), BACKGROUND);
    EXPECT_EQ(Current(), 1);
    Tick(STEP_NEXTBLOCK);
    for (int i = 0; i < 6; ++i)
        Tick(TIMER_CELL);
    EXPECT_EQ(Current(), 2);
}

TEST(RandomEffect, PicksFollowTheFlagsAndNeverRepeat)
{
    STATUS status{};
    // No picture: every operation it delegates to fails at once.
    int previous = GetRandomPick();
    for (int i = 0; i < 500; ++i) {
        SetupRandom(&status);
        const int in = GetRandomPick();
        EXPECT_NE(in, previous);
        EXPECT_TRUE(effect[in].randomIn) << in;
        status.holdLeft = 1;
        WaitRandom(&status);
        EXPECT_EQ(GetRandomPick(), in) << "a wait that is not over keeps the pick";
        status.holdLeft = 0;
        EXPECT_EQ(WaitRandom(&status), EFFECT_DONE);
        const int out = GetRandomPick();
        EXPECT_NE(out, in);
        EXPECT_TRUE(effect[out].randomOut) << out;
        EXPECT_NE(out, EFFECT_SCRAMBLE);
        EXPECT_NE(out, EFFECT_FOURWAY);
        previous = out;
    }
}

TEST(EffectTable, NamesAndFlags)
{
    const struct {
        const char* name;
        int in, out;
    } rows[MAXEFFECT] = {
        {"None", 0, 0},           {"Chaos and Order", 1, 0}, {"Horizontal Split", 1, 1},   {"No Clear", 0, 0},
        {"Plummet", 1, 1},        {"Quadrants", 1, 0},       {"Random Effect", 0, 0},      {"Sandstorm", 1, 1},
        {"Tile", 1, 1},           {"Vertical Split", 1, 1},  {"Wipe in from Left", 1, 1}, {"Wipe in from Right", 1, 1},
    };
    for (int i = 0; i < MAXEFFECT; ++i) {
        EXPECT_STREQ(effect[i].name, rows[i].name);
        EXPECT_EQ(effect[i].randomIn, rows[i].in) << i;
        EXPECT_EQ(effect[i].randomOut, rows[i].out) << i;
        EXPECT_NE(effect[i].setup, nullptr);
        EXPECT_NE(effect[i].close, nullptr);
    }
}

TEST(SlidePhases, ChangePhaseAndTheIdleStart)
{
    STATUS status{};
    status.holdTime = 7;
    const int16_t expected[] = {PHASE_APPEAR, PHASE_WAIT, PHASE_DISAPPEAR, PHASE_SETUP};
    for (int16_t next : expected) {
        ChangePhase(&status);
        EXPECT_EQ(status.phase, next);
    }
    EXPECT_EQ(status.holdLeft, 7);
    status.phase = 42;
    ChangePhase(&status);
    EXPECT_EQ(status.phase, PHASE_SETUP);

    // Without a picture a tick only moves the phase on.
    STATUS empty{};
    empty.activeEffect = EFFECT_IDLE;
    HandleOnceCell(nullptr, nullptr, &empty);
    EXPECT_EQ(empty.phase, PHASE_APPEAR);
    EXPECT_EQ(empty.activeEffect, EFFECT_IDLE);
}

}  // namespace
