// stroke_test.cpp: segment lengths and directions, stroke chains, drawing
// order, and the distance helper.
#include "drawing/stroke.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

Segment segmentBetween(float x0, float y0, float x1, float y1) {
    Segment segment;
    segment.setStartX(x0);
    segment.setStartY(y0);
    segment.setEndX(x1);
    segment.setEndY(y1);
    segment.computeDirection();
    return segment;
}

std::unique_ptr<Stroke> strokeColored(float red) {
    auto stroke = std::make_unique<Stroke>();
    stroke->setWidth(1.0f);
    stroke->setColor(red, 0.0f, 0.0f);
    stroke->appendSegment(segmentBetween(0.0f, 30.0f, 1.0f, 30.0f));
    return stroke;
}

} // namespace

TEST(SegmentDirection, ThreeFourFiveGetsLengthFiveAndAUnitDirection) {
    const Segment segment = segmentBetween(0.0f, 0.0f, 3.0f, 4.0f);
    EXPECT_FLOAT_EQ(segment.length(), 5.0f);
    EXPECT_FLOAT_EQ(segment.directionX(), 0.6f);
    EXPECT_FLOAT_EQ(segment.directionY(), 0.8f);
}

TEST(SegmentDirection, VerticalSegmentsPointStraightUpOrDown) {
    const Segment up = segmentBetween(2.0f, 1.0f, 2.0f, 5.0f);
    EXPECT_EQ(up.length(), 4.0f);
    EXPECT_EQ(up.directionX(), 0.0f);
    EXPECT_EQ(up.directionY(), 1.0f);

    const Segment down = segmentBetween(2.0f, 5.0f, 2.0f, 1.0f);
    EXPECT_EQ(down.length(), 4.0f);
    EXPECT_EQ(down.directionX(), 0.0f);
    EXPECT_EQ(down.directionY(), -1.0f);
}

TEST(SegmentDirection, ZeroLengthPointsDownWithoutDividingByZero) {
    const Segment point = segmentBetween(1.5f, 30.0f, 1.5f, 30.0f);
    EXPECT_EQ(point.length(), 0.0f);
    EXPECT_EQ(point.directionX(), 0.0f);
    EXPECT_EQ(point.directionY(), -1.0f);
}

// Only an exactly equal x takes the vertical branch; the smallest step off
// vertical is divided through and still gives a unit vector.
TEST(SegmentDirection, NearlyVerticalIsDividedThrough) {
    const float x1 = std::nextafter(2.0f, 3.0f);
    const Segment segment = segmentBetween(2.0f, 1.0f, x1, 5.0f);
    EXPECT_GT(segment.directionX(), 0.0f);
    EXPECT_FLOAT_EQ(segment.directionY(), 1.0f);
}

// The shortest possible horizontal segment: a float reciprocal of its length
// would be infinite and put infinite corners into the band.
TEST(SegmentDirection, ShortestHorizontalStaysFinite) {
    const float tiny = std::numeric_limits<float>::denorm_min();
    const Segment segment = segmentBetween(0.0f, 30.0f, tiny, 30.0f);
    EXPECT_EQ(segment.length(), tiny);
    EXPECT_EQ(segment.directionX(), 1.0f);
    EXPECT_EQ(segment.directionY(), 0.0f);
}

TEST(StrokeChain, NewStrokeHasNoSegmentsAndIsBlack) {
    const Stroke stroke;
    EXPECT_EQ(stroke.segmentCount(), 0);
    EXPECT_EQ(stroke.color().red, 0.0f);
    EXPECT_EQ(stroke.color().green, 0.0f);
    EXPECT_EQ(stroke.color().blue, 0.0f);
}

TEST(StrokeChain, ExtendToStartsExactlyAtTheLastEnd) {
    Stroke stroke;
    stroke.appendSegment(segmentBetween(0.3f, 20.7f, 1.0f, 1.0f));
    stroke.extendTo(4.0f, 5.0f);
    stroke.extendTo(-0.1f, 33.3f);
    ASSERT_EQ(stroke.segmentCount(), 3);
    EXPECT_EQ(stroke.segment(1).startX(), 1.0f);
    EXPECT_EQ(stroke.segment(1).startY(), 1.0f);
    EXPECT_FLOAT_EQ(stroke.segment(1).length(), 5.0f);
    EXPECT_FLOAT_EQ(stroke.segment(1).directionX(), 0.6f);
    EXPECT_FLOAT_EQ(stroke.segment(1).directionY(), 0.8f);
    EXPECT_EQ(stroke.segment(2).startX(), 4.0f);
    EXPECT_EQ(stroke.segment(2).startY(), 5.0f);
    EXPECT_EQ(stroke.segment(2).endX(), -0.1f);
    EXPECT_EQ(stroke.segment(2).endY(), 33.3f);
}

TEST(DrawingOrder, StrokesKeepTheOrderTheyWereAdded) {
    Drawing drawing;
    EXPECT_EQ(drawing.strokeCount(), 0);
    drawing.addStroke(strokeColored(0.25f));
    drawing.addStroke(strokeColored(0.5f));
    drawing.addStroke(strokeColored(0.75f));
    ASSERT_EQ(drawing.strokeCount(), 3);
    EXPECT_EQ(drawing.stroke(0).color().red, 0.25f);
    EXPECT_EQ(drawing.stroke(1).color().red, 0.5f);
    EXPECT_EQ(drawing.stroke(2).color().red, 0.75f);
}

TEST(DistanceHelpers, SquaredDistanceIsNotRooted) {
    EXPECT_EQ(squaredDistance(0.0, 0.0, 1.0, 1.0), 2.0);
    EXPECT_EQ(squaredDistance(1.0, 2.0, 4.0, 6.0), 25.0);
    EXPECT_EQ(squaredDistance(4.0, 6.0, 1.0, 2.0), 25.0);
}

// Squares past the float range would make a float computation infinite.
TEST(SegmentDirection, HugeSegmentKeepsAFiniteLengthAndAUnitDirection) {
    const float big = std::ldexp(1.0f, 100); // its square is far beyond the float range
    const Segment segment = segmentBetween(0.0f, 0.0f, 3.0f * big, 4.0f * big);
    EXPECT_EQ(segment.length(), 5.0f * big);
    EXPECT_FLOAT_EQ(segment.directionX(), 0.6f);
    EXPECT_FLOAT_EQ(segment.directionY(), 0.8f);
}
