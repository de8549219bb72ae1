// game_window.h: the game window's fixed size and its title.
//
// Read by the game loop that opens the window, the scene view that keeps it at
// this size, and the tests and benchmarks that find and measure it. Constants only.
#pragma once

inline constexpr int WINDOW_WIDTH = 1024;                          // pixels
inline constexpr int WINDOW_HEIGHT = 768;                          // pixels
inline constexpr const char* WINDOW_TITLE = "Quillory - Tavernel"; // also what finds the window
