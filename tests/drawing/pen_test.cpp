// pen_test.cpp: pen capture driven directly: the spacing threshold, the canvas
// edges, how strokes end, which drawing receives them, and their colour.
#include "drawing/pen.h"

#include <gtest/gtest.h>

#include "drawing/palette.h"
#include "game/game_state.h"

namespace {

// Scene points on palette cells (column, row).
constexpr float BLACK_CELL_X = 36.0f;     // column 0
constexpr float BLACK_CELL_Y = 44.0f;     // row 0
constexpr float HOT_PINK_CELL_X = 36.0f;  // column 0
constexpr float HOT_PINK_CELL_Y = 49.0f;  // row 1
constexpr float RASPBERRY_CELL_X = 40.0f; // column 1
constexpr float RASPBERRY_CELL_Y = 64.0f; // row 4

class PenCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        inputMode = Idle;
        currentPlayer = 0;
        currentStroke.reset();
        penSegment = Segment();
        palette.init();
        palette.pickAt(BLACK_CELL_X, BLACK_CELL_Y);
        player1Before_ = player1Drawing.strokeCount();
        player2Before_ = player2Drawing.strokeCount();
    }

    int addedToPlayer1() const { return player1Drawing.strokeCount() - player1Before_; }
    int addedToPlayer2() const { return player2Drawing.strokeCount() - player2Before_; }
    const Stroke& lastOfPlayer1() const {
        return player1Drawing.stroke(player1Drawing.strokeCount() - 1);
    }

    static void expectPenSegment(float startX, float startY, float endX, float endY) {
        EXPECT_EQ(penSegment.startX(), startX);
        EXPECT_EQ(penSegment.startY(), startY);
        EXPECT_EQ(penSegment.endX(), endX);
        EXPECT_EQ(penSegment.endY(), endY);
    }

    // After a stroke has ended: idle, no stroke in progress, pen line at zero.
    static void expectEnded() {
        EXPECT_EQ(inputMode, Idle);
        EXPECT_EQ(currentStroke, nullptr);
        expectPenSegment(0.0f, 0.0f, 0.0f, 0.0f);
    }

  private:
    int player1Before_ = 0;
    int player2Before_ = 0;
};

} // namespace

TEST_F(PenCapture, PenDownStartsAnEmptyStrokeWithAPointPenLine) {
    penDown(0.0f, 30.0f);
    EXPECT_EQ(inputMode, PenDown);
    ASSERT_NE(currentStroke, nullptr);
    EXPECT_EQ(currentStroke->segmentCount(), 0);
    EXPECT_EQ(currentStroke->width(), 1.0f);
    expectPenSegment(0.0f, 30.0f, 0.0f, 30.0f);
}

TEST_F(PenCapture, TooCloseIsHeldBackFarEnoughBecomesASegment) {
    penDown(0.0f, 30.0f);
    penDrag(0.5f, 30.0f); // squared distance 0.25
    EXPECT_EQ(currentStroke->segmentCount(), 0);
    expectPenSegment(0.0f, 30.0f, 0.5f, 30.0f);

    penDrag(0.6f, 30.0f); // squared distance 0.36
    ASSERT_EQ(currentStroke->segmentCount(), 1);
    const Segment& first = currentStroke->segment(0);
    EXPECT_EQ(first.startX(), 0.0f);
    EXPECT_EQ(first.startY(), 30.0f);
    EXPECT_EQ(first.endX(), 0.6f);
    EXPECT_EQ(first.endY(), 30.0f);
    EXPECT_FLOAT_EQ(first.directionX(), 1.0f);
    expectPenSegment(0.6f, 30.0f, 0.6f, 30.0f);
}

// Pointer positions are multiples of 25/256 and never lie exactly sqrt(0.3)
// apart, so these floats were searched for: the tiny x of the press gives the
// difference the extra low bits it needs to square to the double 0.3.
TEST_F(PenCapture, ExactlyTheThresholdIsAccepted) {
    const float downX = 0x1.c63fdap-40f;
    const float downY = 30.0f;
    const float moveX = 0x1.c95ebp-11f;
    const float moveY = 0x1.e8c378p+4f;
    ASSERT_EQ(squaredDistance(downX, downY, moveX, moveY), SEGMENT_SPACING_SQ);

    penDown(downX, downY);
    penDrag(moveX, moveY);
    EXPECT_EQ(currentStroke->segmentCount(), 1);
}

TEST_F(PenCapture, SpacingIsMeasuredFromTheLastAcceptedPoint) {
    penDown(0.0f, 30.0f);
    penDrag(0.6f, 30.0f); // accepted
    penDrag(1.0f, 30.0f); // 1.0 from the press, only 0.4 from the last point
    EXPECT_EQ(currentStroke->segmentCount(), 1);
    expectPenSegment(0.6f, 30.0f, 1.0f, 30.0f);

    penDrag(1.2f, 30.0f); // 0.6 from the last point
    ASSERT_EQ(currentStroke->segmentCount(), 2);
    EXPECT_EQ(currentStroke->segment(1).startX(), 0.6f);
    EXPECT_EQ(currentStroke->segment(1).endX(), 1.2f);
}

TEST_F(PenCapture, LeavingAtTheLeftEdgeEndsTheStrokeWithoutTheOutsidePoint) {
    penDown(-40.0f, 30.0f);
    penDrag(-40.0f, 31.0f);
    penDrag(-47.0f, 31.0f); // on the edge, which is outside
    expectEnded();
    ASSERT_EQ(addedToPlayer1(), 1);
    const Stroke& stroke = lastOfPlayer1();
    ASSERT_EQ(stroke.segmentCount(), 1);
    EXPECT_EQ(stroke.segment(0).endX(), -40.0f);
    EXPECT_EQ(stroke.segment(0).endY(), 31.0f);

    // Until the next press, motion changes nothing.
    penDrag(-40.0f, 35.0f);
    penDrag(-30.0f, 35.0f);
    expectEnded();
    EXPECT_EQ(addedToPlayer1(), 1);
    EXPECT_EQ(lastOfPlayer1().segmentCount(), 1);
}

TEST_F(PenCapture, TheFloatNearest20_3IsBelowTheCanvas) {
    const float bottom = 20.3f;
    ASSERT_LT(static_cast<double>(bottom), 20.3);
    penDown(0.0f, 25.0f);
    penDrag(0.0f, 24.0f);
    penDrag(0.0f, bottom);
    expectEnded();
    ASSERT_EQ(addedToPlayer1(), 1);
    EXPECT_EQ(lastOfPlayer1().segmentCount(), 1);
}

TEST_F(PenCapture, TheFloatsNearest27_66And72_81AreInside) {
    const float right = 27.66f;
    const float top = 72.81f;
    ASSERT_LT(static_cast<double>(right), 27.66);
    ASSERT_LT(static_cast<double>(top), 72.81);
    penDown(20.0f, 60.0f);
    penDrag(right, 60.0f);
    penDrag(right, top);
    EXPECT_EQ(inputMode, PenDown);
    ASSERT_EQ(currentStroke->segmentCount(), 2);
    EXPECT_EQ(currentStroke->segment(1).endX(), right);
    EXPECT_EQ(currentStroke->segment(1).endY(), top);
}

TEST_F(PenCapture, LeavingBeforeAnySegmentAddsNoStroke) {
    penDown(0.0f, 30.0f);
    penDrag(0.0f, 80.0f);
    expectEnded();
    EXPECT_EQ(addedToPlayer1(), 0);
    EXPECT_EQ(addedToPlayer2(), 0);
}

TEST_F(PenCapture, ReleaseWithoutEnoughMotionAddsNoStroke) {
    penDown(0.0f, 30.0f);
    penUp(0.0f, 30.0f);
    expectEnded();

    penDown(5.0f, 30.0f);
    penDrag(5.3f, 30.2f);
    penDrag(5.1f, 29.8f);
    penUp(5.1f, 29.8f);
    expectEnded();
    EXPECT_EQ(addedToPlayer1(), 0);
    EXPECT_EQ(addedToPlayer2(), 0);
}

TEST_F(PenCapture, ReleaseRightAfterAnAcceptedPointEndsInAZeroLengthTail) {
    penDown(0.0f, 30.0f);
    penDrag(1.0f, 30.0f);
    penUp(1.0f, 30.0f);
    expectEnded();
    ASSERT_EQ(addedToPlayer1(), 1);
    const Stroke& stroke = lastOfPlayer1();
    ASSERT_EQ(stroke.segmentCount(), 2);
    const Segment& tail = stroke.segment(1);
    EXPECT_EQ(tail.startX(), 1.0f);
    EXPECT_EQ(tail.startY(), 30.0f);
    EXPECT_EQ(tail.endX(), 1.0f);
    EXPECT_EQ(tail.endY(), 30.0f);
    EXPECT_EQ(tail.length(), 0.0f);
    EXPECT_EQ(tail.directionX(), 0.0f);
    EXPECT_EQ(tail.directionY(), -1.0f);
}

TEST_F(PenCapture, ReleaseAfterHeldBackMotionEndsAtThePointer) {
    penDown(0.0f, 30.0f);
    penDrag(1.0f, 30.0f);
    penDrag(1.3f, 30.0f);
    penUp(1.3f, 30.0f);
    ASSERT_EQ(addedToPlayer1(), 1);
    const Stroke& stroke = lastOfPlayer1();
    ASSERT_EQ(stroke.segmentCount(), 2);
    EXPECT_EQ(stroke.segment(1).startX(), 1.0f);
    EXPECT_EQ(stroke.segment(1).endX(), 1.3f);
}

TEST_F(PenCapture, StrokesGoToTheCurrentPlayersDrawing) {
    currentPlayer = 1;
    penDown(0.0f, 30.0f);
    penDrag(2.0f, 30.0f);
    penUp(2.0f, 30.0f);
    EXPECT_EQ(addedToPlayer1(), 0);
    EXPECT_EQ(addedToPlayer2(), 1);

    currentPlayer = 0;
    penDown(0.0f, 40.0f);
    penDrag(2.0f, 40.0f);
    penDrag(3.0f, 40.0f); // leaves nothing; the release adds the tail
    penUp(3.0f, 40.0f);
    EXPECT_EQ(addedToPlayer1(), 1);
    EXPECT_EQ(addedToPlayer2(), 1);
}

TEST_F(PenCapture, MotionOutsidePenDownChangesNothing) {
    penDrag(3.0f, 30.0f);
    EXPECT_EQ(inputMode, Idle);
    EXPECT_EQ(currentStroke, nullptr);
    expectPenSegment(0.0f, 0.0f, 0.0f, 0.0f);

    inputMode = Typing;
    penDrag(4.0f, 30.0f);
    EXPECT_EQ(inputMode, Typing);
    expectPenSegment(0.0f, 0.0f, 0.0f, 0.0f);
}

// A second left press only sets Idle: the stroke stays as it was, joins no
// drawing, and the next press on the canvas replaces it.
TEST_F(PenCapture, AnAbandonedStrokeJoinsNoDrawing) {
    penDown(0.0f, 30.0f);
    penDrag(2.0f, 30.0f);
    inputMode = Idle;
    penDrag(4.0f, 30.0f);
    ASSERT_NE(currentStroke, nullptr);
    EXPECT_EQ(currentStroke->segmentCount(), 1);
    expectPenSegment(2.0f, 30.0f, 2.0f, 30.0f);

    penDown(10.0f, 50.0f);
    EXPECT_EQ(currentStroke->segmentCount(), 0);
    penDrag(10.0f, 52.0f);
    penUp(10.0f, 52.0f);
    ASSERT_EQ(addedToPlayer1(), 1);
    EXPECT_EQ(lastOfPlayer1().segment(0).startX(), 10.0f);
    EXPECT_EQ(lastOfPlayer1().segment(0).startY(), 50.0f);
}

TEST_F(PenCapture, APalettePickColoursOnlyTheNextStroke) {
    penDown(0.0f, 30.0f);
    penDrag(2.0f, 30.0f);
    penUp(2.0f, 30.0f);

    palette.pickAt(RASPBERRY_CELL_X, RASPBERRY_CELL_Y);
    const RgbColor raspberry = palette.currentColor();
    EXPECT_EQ(lastOfPlayer1().color().red, 0.0f);

    penDown(0.0f, 40.0f);
    palette.pickAt(HOT_PINK_CELL_X, HOT_PINK_CELL_Y);
    EXPECT_EQ(currentStroke->color().red, raspberry.red);
    EXPECT_EQ(currentStroke->color().green, raspberry.green);
    EXPECT_EQ(currentStroke->color().blue, raspberry.blue);
    penDrag(2.0f, 40.0f);
    penUp(2.0f, 40.0f);

    penDown(0.0f, 50.0f);
    EXPECT_EQ(currentStroke->color().blue, palette.color(1).blue);
    EXPECT_EQ(addedToPlayer1(), 2);
    EXPECT_EQ(player1Drawing.stroke(player1Drawing.strokeCount() - 2).color().red, 0.0f);
    EXPECT_EQ(lastOfPlayer1().color().green, raspberry.green);
}
