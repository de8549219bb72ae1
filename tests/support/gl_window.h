// gl_window.h: a real 1024 x 768 GLUT window and GL context for GL tests.
//
// Owns one window per test process, opened on first use on $DISPLAY and kept
// until the process ends. GL tests draw into its back buffer and read it back.
#pragma once

#include <array>
#include <cstdint>

namespace testsupport {

// Opens the window once (freeglut, double-buffered RGB with depth) and makes its
// context current. Fails the test when there is no X server.
void ensureGlWindow();

// Sets the game's fixed view: a 1024 x 768 viewport, 90 degrees of vertical
// field of view at 4:3, the camera 37.5 units in front of the plane, so the
// visible scene is x -50 .. 50, y 0 .. 75 at 10.24 pixels a unit.
void useGameView();

using Rgb = std::array<int, 3>;

// The back-buffer colour at window pixel (px, py), origin top-left.
Rgb readPixel(int px, int py);

// Window pixel of a scene point under the fixed view (10.24 pixels per unit).
double sceneToPixelX(double x);
double sceneToPixelY(double y);

// True when every channel of a and b differs by at most `tolerance`.
bool nearColor(const Rgb& a, const Rgb& b, int tolerance = 2);

} // namespace testsupport
