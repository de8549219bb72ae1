// frame_clock_test.cpp: frame deltas, the 0.12 s cap and the clear it makes.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdint>
#include <limits>

#include "app/frame_clock.h"
#include "tests/support/gl_window.h"

namespace {

using testsupport::Rgb;

const Rgb WHITE{255, 255, 255};
const Rgb BLACK{0, 0, 0};

// Fills the back buffer black, over a white clear colour, so a clear shows.
void paintBlack() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
}

TEST(FrameClockTest, DeltasUpToTheCapClearNothing) {
    testsupport::ensureGlWindow();
    FrameClock clock(1000);
    paintBlack();
    EXPECT_FALSE(clock.tickAt(1050));
    EXPECT_DOUBLE_EQ(clock.delta, 0.05);
    EXPECT_FALSE(clock.tickAt(1170)); // 120 ms is exactly the cap
    EXPECT_EQ(clock.delta, MAX_FRAME_DELTA);
    EXPECT_FALSE(clock.tickAt(1170)); // same millisecond
    EXPECT_EQ(clock.delta, 0.0);
    EXPECT_EQ(testsupport::readPixel(512, 384), BLACK);
}

TEST(FrameClockTest, LongerFramesAreCappedAndClearTheBuffers) {
    testsupport::ensureGlWindow();
    FrameClock clock(1000);
    paintBlack();
    EXPECT_TRUE(clock.tickAt(1121));
    EXPECT_EQ(clock.delta, MAX_FRAME_DELTA);
    EXPECT_EQ(clock.lastTime, 1121);
    EXPECT_EQ(testsupport::readPixel(512, 384), WHITE);

    // A long start-up (loading assets) clears on the first frame.
    paintBlack();
    FrameClock startUp(0);
    EXPECT_TRUE(startUp.tickAt(900));
    EXPECT_EQ(testsupport::readPixel(10, 10), WHITE);
}

TEST(FrameClockTest, WrappedCounterGivesTheSmallPositiveDelta) {
    const std::int32_t justBeforeWrap = std::numeric_limits<std::int32_t>::max() - 9;
    const std::int32_t justAfterWrap = std::numeric_limits<std::int32_t>::min() + 20;
    EXPECT_DOUBLE_EQ(frameDelta(justBeforeWrap, justAfterWrap), 0.03);
    EXPECT_DOUBLE_EQ(frameDelta(-5, 15), 0.02);
    FrameClock clock(justBeforeWrap);
    EXPECT_FALSE(clock.tickAt(justAfterWrap));
}

} // namespace
