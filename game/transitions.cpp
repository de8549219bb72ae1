// transitions.cpp: the moves between screens and turn phases.
#include "game/transitions.h"

#include <GL/gl.h>

#include "game/game_state.h"
#include "game/text_entry.h"
#include "text/answer_text.h"

void advanceScreen() {
    switch (screen) {
    case Title:
        screen = Instructions;
        break;
    case Instructions:
        screen = Instructions2;
        break;
    case Instructions2:
        screen = Play;
        // Play frames do not clear the buffers; start play from a clean frame.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        break;
    case Play:
    case GameOver:
        break;
    }
}

void pressOnStartScreen(bool onGameOverButton) {
    if (turnPhase != Player1Start && turnPhase != Player2Start) {
        return;
    }
    if (onGameOverButton) {
        // The turn phase stays as it was; GameOver is final.
        screen = GameOver;
        return;
    }
    turnPhase = turnPhase == Player1Start ? Player1Drawing : Player2Drawing;
}

void pressDone() {
    switch (turnPhase) {
    case Player1Drawing:
        inputMode = Typing;
        turnPhase = Player1Typing;
        answer1.setText("");
        textEntryBegins();
        break;
    case Player2Drawing:
        inputMode = Typing;
        turnPhase = Player2Typing;
        answer2.setText("");
        textEntryBegins();
        break;
    case Player1Typing:
        turnPhase = Player2Start;
        inputMode = Idle;
        currentPlayer = 1;
        textEntryEnds();
        break;
    case Player2Typing:
        turnPhase = Player1Start;
        inputMode = Idle;
        currentPlayer = 0;
        textEntryEnds();
        break;
    case Player1Start:
    case Player2Start:
        break;
    }
}

bool isDrawingPhase() { return turnPhase == Player1Drawing || turnPhase == Player2Drawing; }

bool isTypingPhase() { return turnPhase == Player1Typing || turnPhase == Player2Typing; }
