// input_router.cpp: what a mouse press, release or motion means right now.
#include "game/input_router.h"

#include <GL/freeglut.h>
#include <cstdio>

#include "app/scene_view.h"
#include "drawing/palette.h"
#include "game/game_state.h"
#include "game/transitions.h"

namespace {

// Writes `line` to standard output at once, for whoever reads it as it comes.
void printLine(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

} // namespace

InputRouter& InputRouter::instance() {
    static InputRouter router;
    return router;
}

void InputRouter::onMotion(int x, int y) { onPassiveMotion(x, y); }

void InputRouter::onPassiveMotion(int x, int y) {
    // With or without a button held, motion only moves the pointer and the pen.
    const ScenePoint point = SceneView::instance().windowToScene(x, y);
    pointerX = point.x;
    pointerY = point.y;
    penDrag(pointerX, pointerY);
}

void InputRouter::onMouse(int button, int state, int /*x*/, int /*y*/) {
    // freeglut reports wheel steps as presses and releases of further buttons;
    // scrolling is not a click.
    if (button != GLUT_LEFT_BUTTON && button != GLUT_MIDDLE_BUTTON &&
        button != GLUT_RIGHT_BUTTON) {
        return;
    }
    const bool isPress = state == GLUT_DOWN;
    if (isPress) {
        switch (screen) {
        case Title:
        case Instructions:
        case Instructions2:
            advanceScreen();
            return;
        case GameOver:
            return;
        case Play:
            break;
        }
    }
    // The press is tested where the last motion event left the pointer.
    handleClick(pointerX, pointerY, isPress, isPress && button == GLUT_LEFT_BUTTON);
}

void InputRouter::handleClick(float x, float y, bool isPress, bool isLeftPress) {
    if (!isPress) {
        if (inputMode == PenDown) {
            penUp(x, y);
        }
        return;
    }
    if (!isLeftPress) {
        return;
    }
    printLine(pressLine(x, y).c_str());
    if (inputMode == PenDown) {
        // A release was missed: this press only lifts the pen.
        inputMode = Idle;
        return;
    }
    if (turnPhase == Player1Start || turnPhase == Player2Start) {
        pressOnStartScreen(GameOverButton.contains(x, y));
        return;
    }
    if (DoneButton.contains(x, y)) {
        printLine("in bounds");
        pressDone();
        return;
    }
    if (CanvasRegion.contains(x, y)) {
        if (inputMode == Idle && isDrawingPhase()) {
            penDown(x, y);
        }
        return;
    }
    if (PaletteRegion.contains(x, y) && isDrawingPhase()) {
        palette.pickAt(x, y);
    }
}

std::string pressLine(float x, float y) {
    // "%g" writes a float as a stream does by default: 6 significant digits.
    char line[32];
    std::snprintf(line, sizeof line, "%g %g", static_cast<double>(x), static_cast<double>(y));
    return line;
}
