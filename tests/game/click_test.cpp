// click_test.cpp: presses and releases against the hit regions, and the
// diagnostic lines they write.
#include "tests/game/game_fixture.h"

#include <string>

namespace {

// freeglut's numbers for one step of the mouse wheel, up and down.
constexpr int WHEEL_UP = 3;
constexpr int WHEEL_DOWN = 4;

class ClickTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        screen = Play;
        turnPhase = Player1Drawing;
        testing::internal::CaptureStdout();
    }
    void TearDown() override { output(); }
    // What the presses wrote since the last call.
    static std::string output() { return testing::internal::GetCapturedStdout(); }
    // Presses on the canvas at (px, py), drags to (qx, qy) in steps, and releases.
    static void stroke(int px, int py, int qx, int qy, int button = GLUT_LEFT_BUTTON) {
        moveTo(px, py);
        press(GLUT_LEFT_BUTTON);
        InputRouter::instance().onMotion(qx, qy);
        release(button);
    }
};

TEST_F(ClickTest, DonePressWritesPositionThenInBounds) {
    clickAt(900, 500);
    EXPECT_EQ(output(), "37.8906 26.1719\nin bounds\n");
    EXPECT_EQ(turnPhase, Player1Typing);
    EXPECT_EQ(answer1.text(), "");
    testing::internal::CaptureStdout();
}

TEST_F(ClickTest, StartScreenPressWritesOnlyThePosition) {
    turnPhase = Player1Start;
    clickAt(900, 500);
    EXPECT_EQ(output(), "37.8906 26.1719\n");
    EXPECT_EQ(turnPhase, Player1Drawing);
    testing::internal::CaptureStdout();

    turnPhase = Player2Start;
    clickAt(1000, 750); // just below the Game Over button
    EXPECT_EQ(turnPhase, Player2Drawing);
    EXPECT_EQ(screen, Play);
    turnPhase = Player2Start;
    clickAt(900, 700);
    EXPECT_EQ(screen, GameOver);
}

TEST_F(ClickTest, RegionEdgesAreOutside) {
    clickAt(815, 500); // scene x 29.58984375: left of Done
    EXPECT_EQ(turnPhase, Player1Drawing);
    clickAt(816, 500); // scene x 29.6875: inside
    EXPECT_EQ(turnPhase, Player1Typing);
    EXPECT_EQ(output(), "29.5898 26.1719\n29.6875 26.1719\nin bounds\n");
    testing::internal::CaptureStdout();
}

TEST_F(ClickTest, RightAndMiddlePressesDoNothingInPlay) {
    moveTo(900, 500);
    for (int button : {GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON}) {
        press(button);
        release(button);
    }
    EXPECT_EQ(output(), "");
    EXPECT_EQ(turnPhase, Player1Drawing);
    testing::internal::CaptureStdout();
}

TEST_F(ClickTest, AnyReleaseFinishesTheStroke) {
    stroke(300, 300, 350, 300, GLUT_RIGHT_BUTTON);
    EXPECT_EQ(inputMode, Idle);
    ASSERT_EQ(player1Drawing.strokeCount(), 1);
    // Down point, the drag point, and a zero-length tail at the release point.
    EXPECT_EQ(player1Drawing.stroke(0).segmentCount(), 2);
    EXPECT_EQ(player2Drawing.strokeCount(), 0);
}

TEST_F(ClickTest, PressAndReleaseWithoutMotionAddsNoStroke) {
    clickAt(300, 300);
    EXPECT_EQ(inputMode, Idle);
    EXPECT_EQ(player1Drawing.strokeCount(), 0);
}

TEST_F(ClickTest, PressWhilePenIsDownOnlyLiftsIt) {
    moveTo(300, 300);
    press(GLUT_LEFT_BUTTON);
    InputRouter::instance().onMotion(350, 300);
    ASSERT_EQ(inputMode, PenDown);
    // The release was lost: the next press only lifts the pen.
    press(GLUT_LEFT_BUTTON);
    EXPECT_EQ(inputMode, Idle);
    EXPECT_EQ(turnPhase, Player1Drawing); // Done did not fire
    EXPECT_EQ(player1Drawing.strokeCount(), 0);
    ASSERT_NE(currentStroke, nullptr); // kept on screen until the next stroke
    release(GLUT_LEFT_BUTTON);
    EXPECT_EQ(player1Drawing.strokeCount(), 0);
}

TEST_F(ClickTest, PaletteOnlyReactsWhileDrawing) {
    clickAt(922, 113); // scene (40.0, 64.0): raspberry, cell 9
    EXPECT_EQ(palette.selected(), 9);
    stroke(300, 300, 350, 300);
    clickAt(880, 317); // scene (36.0, 44.0): black, cell 0
    EXPECT_EQ(palette.selected(), 0);
    ASSERT_EQ(player1Drawing.strokeCount(), 1);
    EXPECT_EQ(player1Drawing.stroke(0).color().red, palette.color(9).red);

    clickAt(900, 500); // into typing
    clickAt(922, 113);
    EXPECT_EQ(palette.selected(), 0);
    clickAt(300, 300); // the canvas is dead while typing
    EXPECT_EQ(inputMode, Typing);
    EXPECT_EQ(currentStroke, nullptr);
}

TEST_F(ClickTest, PlayerTwoStrokesGoToPlayerTwo) {
    turnPhase = Player2Drawing;
    currentPlayer = 1;
    stroke(300, 300, 300, 250);
    EXPECT_EQ(player2Drawing.strokeCount(), 1);
    EXPECT_EQ(player1Drawing.strokeCount(), 0);
}

TEST_F(ClickTest, WheelStepsAreNotPresses) {
    moveTo(300, 300);
    press(GLUT_LEFT_BUTTON);
    InputRouter::instance().onMotion(350, 300);
    for (int step : {WHEEL_UP, WHEEL_DOWN}) {
        press(step);
        release(step);
    }
    EXPECT_EQ(inputMode, PenDown); // the stroke goes on
    release(GLUT_LEFT_BUTTON);
    EXPECT_EQ(output(), "-20.7031 45.7031\n");
    testing::internal::CaptureStdout();

    screen = Title;
    press(WHEEL_DOWN);
    EXPECT_EQ(screen, Title);
}

} // namespace
