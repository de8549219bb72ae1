// game_state.cpp: storage for the game-state globals.
#include "game/game_state.h"

Screen screen = Title;
TurnPhase turnPhase = Player1Drawing;
InputMode inputMode = Idle;
std::int32_t currentPlayer = 0;

void resetGameState() {
    screen = Title;
    turnPhase = Player1Drawing;
    inputMode = Idle;
    currentPlayer = 0;
}
