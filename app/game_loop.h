// game_loop.h: the window, the GLUT callbacks, start-up and the display pass.
//
// Owns nothing but the wiring: it opens the one window, runs the one-time
// initialisation and draws each frame by screen and turn phase. main() calls
// runGame once; it never returns.
#pragma once

// Sets the render state and loads every asset, in start-up order; needs the
// window. Throws std::runtime_error when the glyph font cannot be built.
void initialise();

// Draws one frame by screen and turn phase, ending with a buffer swap.
void onDisplay();

// Opens the window, registers the callbacks, initialises and runs the main loop.
// Throws std::runtime_error from initialisation; otherwise never returns.
[[noreturn]] void runGame(int argc, char** argv);
