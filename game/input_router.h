// input_router.h: mouse and keyboard events, hit regions and diagnostic lines.
//
// Owns the last pointer position in scene units. GLUT's input callbacks reach
// it through instance(); it tests presses against the hit regions, drives the
// pen, the palette and the transitions, and writes the press lines to
// standard output. Created on first use, never destroyed.
#pragma once

#include <string>

#include "drawing/pen.h"

// The Game Over button on the two start screens.
inline constexpr SceneRect GameOverButton{16.9, 47.85, 2.73, 8.89};
// The Done button on the drawing and typing screens.
inline constexpr SceneRect DoneButton{29.59, 48.14, 20.41, 31.35};
// The press area around the colour grid.
inline constexpr SceneRect PaletteRegion{30.0, 47.0, 38.0, 69.0};

class InputRouter {
public:
    static InputRouter& instance();

    // GLUT mouse callback: button and state as GLUT gives them; x, y are unused,
    // the position tested is the last motion event's. Wheel steps are ignored.
    void onMouse(int button, int state, int x, int y);
    // GLUT motion callbacks: records the pointer in scene units and feeds the pen.
    void onMotion(int x, int y);
    void onPassiveMotion(int x, int y);
    // A press or release in play at scene point (x, y).
    void handleClick(float x, float y, bool isPress, bool isLeftPress);

    float pointerX = 0.0f; // scene x of the last motion event
    float pointerY = 0.0f; // scene y of the last motion event

private:
    InputRouter() = default;
};

// The line a left press in play at scene point (x, y) writes: both coordinates
// as a stream prints a float by default, a space between.
std::string pressLine(float x, float y);

// GLUT keyboard callback: edits the current player's answer while typing.
void onKeyboard(unsigned char key, int x, int y);
// GLUT key-up, special-key and special-key-up callbacks: no effect.
void onIgnoredKey(unsigned char key, int x, int y);
void onIgnoredKey(int key, int x, int y);
