// screens.h: the ten full-screen pictures of the game, one builder each.
//
// The generator's main walks kScreens, builds each picture with the shared
// Fonts and writes it under the file name the game loads it by.
#pragma once

#include "tools/images/raster.h"
#include "tools/images/style.h"

#include <array>

namespace art {

struct Screen {
    const char* fileName;                       // name under the images folder
    Raster (*build)(const style::Fonts& fonts); // paints the whole picture
};

Raster buildTitle(const style::Fonts& fonts);
Raster buildInstructions(const style::Fonts& fonts);
Raster buildInstructions2(const style::Fonts& fonts);
Raster buildGameOver(const style::Fonts& fonts);
Raster buildPlayer1Start(const style::Fonts& fonts);
Raster buildPlayer2Start(const style::Fonts& fonts);
Raster buildPlayer1Drawing(const style::Fonts& fonts);
Raster buildPlayer2Drawing(const style::Fonts& fonts);
Raster buildPlayer1Typing(const style::Fonts& fonts);
Raster buildPlayer2Typing(const style::Fonts& fonts);

// Every screen picture with its file name.
inline constexpr std::array<Screen, 10> kScreens{{
    {"titlescreen.png", buildTitle},
    {"instructions.png", buildInstructions},
    {"instructions2.png", buildInstructions2},
    {"gameover.png", buildGameOver},
    {"player1start.png", buildPlayer1Start},
    {"player2start.png", buildPlayer2Start},
    {"player1drawing.png", buildPlayer1Drawing},
    {"player2drawing.png", buildPlayer2Drawing},
    {"player1typing.png", buildPlayer1Typing},
    {"player2typing.png", buildPlayer2Typing},
}};

} // namespace art
