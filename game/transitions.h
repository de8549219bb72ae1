// transitions.h: the moves of the game between screens and turn phases.
//
// Owns no state of its own: each operation changes the globals of
// game_state.h (and empties an answer or clears the buffers where the move
// says so). The mouse handling calls them; tests drive them directly.
#pragma once

// A press of any button on Title, Instructions or Instructions2: the next
// screen; entering Play clears the colour and depth buffers. Other screens: nothing.
void advanceScreen();

// A left press on a start screen: Game Over when `onGameOverButton`, otherwise
// the current player's drawing phase begins. Other phases: nothing.
void pressOnStartScreen(bool onGameOverButton);

// A left press on the Done button in a drawing or typing phase: drawing moves to
// typing (answer emptied, inputMode Typing, the platform told that typing
// begins); typing ends the turn (inputMode Idle, the other player current,
// their start screen, the platform told that typing ends). Other phases: nothing.
void pressDone();

// True in Player1Drawing and Player2Drawing.
bool isDrawingPhase();
// True in Player1Typing and Player2Typing.
bool isTypingPhase();
