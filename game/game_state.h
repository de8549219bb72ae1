// game_state.h: the four process-wide game-state globals and their enums.
//
// Owns which screen is up, which turn phase is running, what the pointer and
// keyboard are doing and whose turn it is. Written by the transitions, the
// input handlers and pen capture; read by the display pass. Lives for the whole
// process; the initialisation gives the globals their starting values.
#pragma once

#include <cstdint>

// The screens, from the title page to the final game-over page.
enum Screen : std::int32_t {
    Title = 0,
    Instructions = 1,
    Instructions2 = 2,
    Play = 3,
    GameOver = 4,
};

// The turn phases while the screen is Play. Values 3 and 7 are unused.
enum TurnPhase : std::int32_t {
    Player1Start = 1,
    Player1Drawing = 2,
    Player1Typing = 4,
    Player2Start = 5,
    Player2Drawing = 6,
    Player2Typing = 8,
};

// What pointer and keys are doing: nothing, drawing a stroke, or typing an answer.
enum InputMode : std::int32_t {
    Idle = 0,
    PenDown = 1,
    Typing = 2,
};

extern Screen screen;           // current screen
extern TurnPhase turnPhase;     // current turn phase, meaningful on Play
extern InputMode inputMode;     // Idle at load
extern std::int32_t currentPlayer; // 0 for player 1, 1 for player 2

// Sets the starting state of a game: Title, Player1Drawing, Idle, player 1.
void resetGameState();
