// game_fixture.h: a fresh game at the start of play for the game-flow tests.
#pragma once

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "drawing/palette.h"
#include "drawing/pen.h"
#include "game/game_state.h"
#include "game/input_router.h"
#include "text/answer_text.h"

// Starts each test on the title screen with an initialised palette; each test
// program case runs in a process of its own, so the drawings start empty.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetGameState();
        palette.init();
        answer1.setText("");
        answer2.setText("");
    }

    // A press of `button` as GLUT delivers it (position from the last motion).
    static void press(int button) { InputRouter::instance().onMouse(button, GLUT_DOWN, 0, 0); }
    static void release(int button) { InputRouter::instance().onMouse(button, GLUT_UP, 0, 0); }
    // Moves the pointer to window pixel (px, py) with no button held.
    static void moveTo(int px, int py) { InputRouter::instance().onPassiveMotion(px, py); }
    // Moves to (px, py) and presses and releases the left button there.
    static void clickAt(int px, int py) {
        moveTo(px, py);
        press(GLUT_LEFT_BUTTON);
        release(GLUT_LEFT_BUTTON);
    }
};
