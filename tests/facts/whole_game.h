// whole_game.h: where the players aim in the whole-game tests, and where
// they look, in window pixels from the window's top-left corner.
//
// Read by the desktop end-to-end tests and by game_facts, which writes these
// positions, and the lines the game prints for presses on them, for the
// browser tests. Constants only.
#pragma once

#include <utility>
#include <vector>

namespace e2e {

inline constexpr int ADVANCE_X = 500, ADVANCE_Y = 400; // anywhere on the title and instructions
inline constexpr int START_X = 400, START_Y = 300;     // anywhere on a start screen but Game Over
inline constexpr int DONE_X = 900, DONE_Y = 500;
inline constexpr int GAME_OVER_X = 850, GAME_OVER_Y = 710;
inline constexpr int RED_X = 932, RED_Y = 215;       // palette cell 7
inline constexpr int BLUE_X = 932, BLUE_Y = 317;     // palette cell 5
inline constexpr int ORANGE_X = 880, ORANGE_Y = 164; // palette cell 3

// The strokes drawn: player 1's in red, player 2's in blue, and player 1's
// orange one of a second round.
inline const std::vector<std::pair<int, int>> PLAYER1_STROKE{
    {200, 300}, {300, 300}, {400, 300}, {400, 400}};
inline const std::vector<std::pair<int, int>> PLAYER2_STROKE{{500, 200}, {600, 200}, {600, 250}};
inline const std::vector<std::pair<int, int>> SECOND_ROUND_STROKE{{200, 450}, {350, 450}};

// Probes away from strokes, text and palette where each screen shows its image.
inline const std::vector<std::pair<int, int>> IMAGE_PROBES{
    {10, 10}, {1010, 30}, {990, 600}, {20, 750}};
// And on Game Over, whose pictures cover the lower right.
inline const std::vector<std::pair<int, int>> GAME_OVER_PROBES{{10, 10}, {1010, 30}, {20, 750}};

} // namespace e2e
