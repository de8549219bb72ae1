// pen.cpp: pen capture: starts a stroke on a press, samples pointer motion into
// segments at least sqrt(0.3) scene units apart, and finishes the stroke on a
// release or when the pointer leaves the canvas.
#include "drawing/pen.h"

#include <utility>

#include "drawing/palette.h"
#include "game/game_state.h"

std::unique_ptr<Stroke> currentStroke;
Segment penSegment;

namespace {

void setPenSegment(float startX, float startY, float endX, float endY) {
    penSegment.setStartX(startX);
    penSegment.setStartY(startY);
    penSegment.setEndX(endX);
    penSegment.setEndY(endY);
}

// Ends the stroke in progress: one with segments joins the current player's
// drawing, an empty one is released at once. The pen line collapses to zero.
void endStroke() {
    if (currentStroke->segmentCount() > 0) {
        finishStroke();
    } else {
        currentStroke.reset();
    }
    penSegment = Segment();
}

} // namespace

void penDown(float x, float y) {
    inputMode = PenDown;
    // Replacing the pointer releases a stroke abandoned by a second press.
    currentStroke = std::make_unique<Stroke>();
    currentStroke->setWidth(NEW_STROKE_WIDTH);
    const RgbColor color = palette.currentColor();
    currentStroke->setColor(color.red, color.green, color.blue);
    setPenSegment(x, y, x, y);
}

void penDrag(float x, float y) {
    if (inputMode != PenDown || !currentStroke) {
        return;
    }
    penSegment.setEndX(x);
    penSegment.setEndY(y);
    if (!CanvasRegion.contains(x, y)) {
        // Leaving the canvas ends the stroke without a segment to the outside point.
        inputMode = Idle;
        endStroke();
        return;
    }
    if (squaredDistance(penSegment.startX(), penSegment.startY(), x, y) < SEGMENT_SPACING_SQ) {
        return;
    }
    if (currentStroke->segmentCount() == 0) {
        Segment first = penSegment;
        first.computeDirection();
        currentStroke->appendSegment(first);
    } else {
        currentStroke->extendTo(x, y);
    }
    setPenSegment(x, y, x, y);
}

void penUp(float x, float y) {
    inputMode = Idle;
    if (!currentStroke) {
        return;
    }
    if (currentStroke->segmentCount() > 0) {
        // The stroke ends exactly at the release point, however close or far.
        currentStroke->extendTo(x, y);
    }
    endStroke();
}

void finishStroke() {
    Drawing& target = currentPlayer == 0 ? player1Drawing : player2Drawing;
    // Moving out of the unique_ptr leaves currentStroke null.
    target.addStroke(std::move(currentStroke));
}
