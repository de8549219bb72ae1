// palette.h: the ten-colour picker beside the canvas.
//
// Owns the ten cell colours, the grid layout and the selected index. The
// initialisation sets the colours; the mouse handling picks; pen capture reads
// the current colour; the display pass draws the grid and the swatch.
#pragma once

#include <array>
#include <cstdint>

#include "drawing/stroke.h"

inline constexpr int PALETTE_SIZE = 10;

// Where the grid and the swatch lie, scene units; the screen art frames both.
inline constexpr float PALETTE_GRID_X = 33.5f;   // scene x of the grid's lower-left corner
inline constexpr float PALETTE_GRID_Y = 41.5f;   // scene y of the grid's lower-left corner
inline constexpr float PALETTE_CELL_SIZE = 5.0f; // side of one cell, scene units
inline constexpr int PALETTE_COLUMNS = 2;
inline constexpr int PALETTE_ROWS = 5;             // cell k is in column k / 5, row k % 5
inline constexpr float PALETTE_SWATCH_X = 41.5f;   // scene x of the swatch's lower-left corner
inline constexpr float PALETTE_SWATCH_Y = 35.5f;   // scene y of the swatch's lower-left corner
inline constexpr float PALETTE_SWATCH_SIZE = 2.0f; // side of the swatch, scene units

class ColorPalette {
  public:
    ColorPalette() = default; // zero-filled; init gives it its colours

    // Sets the ten colours, the grid origin and the cell size; keeps the selection.
    void init();
    // Selects the cell strictly containing (x, y), if any; returns the selected colour.
    RgbColor pickAt(float x, float y);
    // A copy of the selected colour.
    RgbColor currentColor() const { return colors_[static_cast<std::size_t>(selected_)]; }
    std::int32_t selected() const { return selected_; }
    // index must be in 0 .. PALETTE_SIZE - 1.
    RgbColor color(int index) const { return colors_[static_cast<std::size_t>(index)]; }

    // Draws the grid of ten cells and the swatch of the selected colour.
    void draw() const;

  private:
    std::array<RgbColor, PALETTE_SIZE> colors_{};
    std::int32_t selected_ = 0;
    float originX_ = 0.0f;
    float originY_ = 0.0f;
    float cellSize_ = 0.0f;
};

extern ColorPalette palette; // the one colour picker
