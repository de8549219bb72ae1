// gl_window.h: a real GLUT window of the game's size and a GL context for GL tests.
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

// Clears the buffers and sets the game's own fixed view (SceneView's), under
// which the visible scene is x -50 .. 50, y 0 .. 75.
void useGameView();

using Rgb = std::array<int, 3>;

// The back-buffer colour at window pixel (px, py), origin top-left.
Rgb readPixel(int px, int py);

// Window pixel of a scene point under the fixed view, as SceneView maps them.
double sceneToPixelX(double x);
double sceneToPixelY(double y);

// True when every channel of a and b differs by at most `tolerance`.
bool nearColor(const Rgb& a, const Rgb& b, int tolerance = 2);

} // namespace testsupport
