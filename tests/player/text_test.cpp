// Text slides, driven tick by tick.
#include <gtest/gtest.h>

#include <string>

#include "player/saver_fixture.h"
#include "player/text.h"

namespace {

using namespace saver_fixture;

constexpr COLORREF INK = RGB(255, 255, 255);
constexpr COLORREF PAPER = RGB(90, 0, 0);

SCRTEXT Header(int mode, int displayTime = 5)
{
    SCRTEXT h{};
    h.mode = mode;
    h.displayTime = displayTime;
    h.fontHeight = -20;
    h.textColour = INK;
    h.backColour = PAPER;
    h.speed = 40;
    h.boxWidth = 200;
    h.boxHeight = 60;
    std::strcpy(h.faceName, "Arial");
    return h;
}

class Text : public Sequencer {
protected:
    std::string Prepared()
    {
        STATUS status = Status();
        GlobalLockGuard<const char> text(status.text);
        return text ? std::string(text.get()) : std::string();
    }
};

TEST_F(Text, CarriageReturnsBecomeSpacesOutsideWrappedModes)
{
    const struct {
        int mode;
        const char* expected;
    } cases[] = {{0, "A B"}, {1, "A B"}, {2, "A B  "}, {3, "A B  "}, {4, "A\r\nB"}, {5, "A\r\nB"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        TearDown();
        SetUp();
        AddText(Header(c.mode), "A\r\nB");
        Start();
        EXPECT_EQ(Prepared(), c.expected);
    }
}

TEST_F(Text, ScrollingStartsAtItsOffsetAndMovesFourPixels)
{
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        TearDown();
        SetUp();
        AddText(Header(mode, 0), "Scroll");
        Start();
        STATUS status = Status();
        const int textHeight = status.textRect.bottom;
        const int textWidth = status.textRect.right;
        EXPECT_EQ(status.scrollPos, mode == 2 ? textHeight : width) << "first pass";
        Tick(TIMER_CELL);
        EXPECT_EQ(Status().scrollPos, (mode == 2 ? textHeight : width) - 4);
        // Run the pass out: 4 pixels a tick from the start to past the
        // text's own width, then the slide-done step, once; with a display
        // time of 0 that moves the show on.
        const int start = mode == 2 ? textHeight : width;
        int ticks = 1;
        while (Posted(STEP_SLIDEDONE) == 0 && ticks < 5000) {
            Tick(TIMER_CELL);
            ++ticks;
        }
        EXPECT_EQ(ticks, (start + textWidth) / 4 + 1);
        EXPECT_EQ(Posted(STEP_SLIDEDONE), 1);
        EXPECT_GE(Posted(STEP_NEXTBLOCK), 1);
    }
}

TEST_F(Text, LaterPassesStartAtTheTextWidthOrTheScreen)
{
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        TearDown();
        SetUp();
        AddText(Header(mode, 9), "Scroll");
        Start();
        const int textWidth = Status().textRect.right;
        int passes = 0;
        for (int i = 0; i < 2000 && passes == 0; ++i) {
            Tick(TIMER_CELL);
            passes += Posted(STEP_SLIDEDONE);
        }
        ASSERT_EQ(passes, 1);
        // The slide-done step released the text: the scroll stays set up.
        const int expected = mode == 2 ? textWidth : std::max(textWidth, width);
        EXPECT_EQ(Status().scrollPos, expected);
        EXPECT_EQ(Current(), 1) << "a display time of 9 keeps the slide";
    }
}

TEST_F(Text, StillTextWithDisplayTimeZeroStays)
{
    AddText(Header(0, 0), "Still");
    Start();
    for (int i = 0; i < 50; ++i)
        Tick(TIMER_CELL);
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(timers.count(TIMER_ADVANCE), 0u);
    EXPECT_EQ(Posted(STEP_SLIDEDONE), 0);
}

TEST_F(Text, DisplayTimeMovesOn)
{
    AddText(Header(4, 3), "Boxed");
    AddSound();
    Start();
    ASSERT_EQ(timers.count(TIMER_ADVANCE), 1u);
    EXPECT_EQ(timers.at(TIMER_ADVANCE), 3000u);
    Tick(TIMER_CELL);
    Tick(TIMER_ADVANCE);
    EXPECT_GE(Posted(STEP_NEXTBLOCK), 1);
}

TEST_F(Text, Placement)
{
    if (!Is800x600())
        GTEST_SKIP() << "needs an 800 x 600 screen";
    BLOCK block{};
    block.tag = TAG_TEXT;
    STATUS status{};
    status.textRect = RECT{0, 0, 100, 20};
    const struct {
        const char* name;
        int position, x, y, margin, mode;
        int expectedX, expectedY;
    } cases[] = {
        {"top_right", 2, 0, 0, 5, 0, 693, 5},
        {"top_left", 1, 10, 10, 3, 0, 13, 13},
        {"bottom_left", 3, 0, 0, 0, 0, 0, 578},
        {"centred", 0, 0, 0, 0, 0, 350, 290},
        {"across_forces_left", 2, 0, 0, 5, 1, 0, 5},
        {"pushed_up_to_the_last_row", 1, 0, 700, 0, 0, 0, 580},
        {"pushed_left_to_the_last_column", 1, 750, 0, 0, 0, 700, 0},
    };
    for (const auto& c : cases) {
        block.text.position = c.position;
        block.text.x = c.x;
        block.text.y = c.y;
        block.text.margin = c.margin;
        block.text.mode = c.mode;
        int x = -1, y = -1;
        EXPECT_EQ(GetTextOrigin(&x, &y, &block, &status), 1) << c.name;
        EXPECT_EQ(x, c.expectedX) << c.name;
        EXPECT_EQ(y, c.expectedY) << c.name;
    }
    // Wider than the screen: the last step puts it left of the screen.
    status.textRect = RECT{0, 0, 900, 20};
    block.text.position = 1;
    block.text.x = 0;
    int x, y;
    GetTextOrigin(&x, &y, &block, &status);
    EXPECT_EQ(x, -100);
    block.tag = TAG_IMAG;
    EXPECT_EQ(GetTextOrigin(&x, &y, &block, &status), 0);
}

TEST_F(Text, TransparentFlagUsesTheShowBackground)
{
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent);
        TearDown();
        SetUp();
        SCRTEXT header = Header(0, 5);
        header.margin = 6;
        header.flags = transparent ? TEXT_TRANSPARENT : 0;
        AddText(header, "___");
        Start();
        Tick(TIMER_CELL);
        STATUS status = Status();
        const COLORREF expected = transparent ? BACKGROUND : PAPER;
        // The margin around the text is the area fill; inside the text
        // cell, above the underscores, the colour behind the characters.
        EXPECT_EQ(Pixel(status.x - 3, status.y - 3), expected);
        EXPECT_EQ(Pixel(status.x + 2, status.y + 1), expected);
        EXPECT_EQ(Pixel(status.x - 8, status.y - 8), BACKGROUND) << "outside the text area";
    }
}

TEST_F(Text, ErasedWhenTheSlideEndsWithBit9)
{
    for (bool erase : {false, true}) {
        SCOPED_TRACE(erase);
        TearDown();
        SetUp();
        SCRTEXT header = Header(0, 5);
        header.flags = erase ? TEXT_ERASE : 0;
        AddText(header, "Gone");
        AddSound();
        Start();
        Tick(TIMER_CELL);
        STATUS status = Status();
        EXPECT_EQ(Pixel(status.x + 1, status.y + 1), PAPER);
        Tick(TIMER_ADVANCE);
        EXPECT_EQ(Pixel(status.x + 1, status.y + 1), erase ? BACKGROUND : PAPER);
    }
}

}  // namespace
