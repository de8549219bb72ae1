// views.cpp: the three ways a drawing is shown: live while drawing, alone while
// typing, and both side by side at 60 % on the game-over screen.
#include "drawing/pen.h"

#include <GL/gl.h>

namespace {
constexpr float PLANE_Z = 0.0f;             // no shift off the scene plane
constexpr float UNSCALED = 1.0f;            // z scale of the reduced pictures

void drawReduced(const Drawing& drawing, float offsetX) {
    glPushMatrix();
    glTranslatef(offsetX, GAME_OVER_OFFSET_Y, PLANE_Z);
    glScalef(GAME_OVER_SCALE, GAME_OVER_SCALE, UNSCALED);
    drawing.draw();
    glPopMatrix();
}
} // namespace

void drawLiveView(const Drawing& drawing) {
    drawing.draw();
    if (currentStroke) {
        currentStroke->draw();
    }
    // The pen line takes the current colour: that of the stroke just drawn.
    penSegment.draw();
}

void drawPictureView(const Drawing& drawing) {
    drawing.draw();
}

void drawGameOverPair() {
    drawReduced(player1Drawing, PLAYER1_OFFSET_X);
    drawReduced(player2Drawing, PLAYER2_OFFSET_X);
}
