// palette.cpp: the ten colours, picking a cell by scene position, and drawing
// the grid and the swatch of the selected colour.
#include "drawing/palette.h"

#include <GL/gl.h>
#include <cstddef>

namespace {
constexpr float CHANNEL_MAX = 255.0f; // an 8-bit channel value of full intensity
constexpr float OPAQUE_ALPHA = 1.0f;
constexpr float GRID_UNIT = 1.0f;    // side of a cell, or of the swatch, before scaling
constexpr float PLANE_Z = 0.0f;      // everything lies in the scene plane
constexpr float UNSCALED = 1.0f;     // z scale of the grid and swatch transforms
constexpr int NO_CELL = -1;          // no column or row under the point
constexpr float LOCAL_ORIGIN = 0.0f; // corner of the swatch in its own units

// Float division of exact integers rounds once, so each component is the
// float nearest to value / 255.
constexpr RgbColor fromBytes(int red, int green, int blue) {
    return {static_cast<float>(red) / CHANNEL_MAX, static_cast<float>(green) / CHANNEL_MAX,
            static_cast<float>(blue) / CHANNEL_MAX};
}

constexpr std::array<RgbColor, PALETTE_SIZE> CELL_COLORS{
    fromBytes(0, 0, 0),       // black
    fromBytes(255, 6, 176),   // hot pink
    fromBytes(122, 250, 242), // aqua
    fromBytes(255, 165, 9),   // orange
    fromBytes(233, 79, 224),  // orchid
    fromBytes(11, 150, 248),  // sky blue
    fromBytes(50, 255, 98),   // green
    fromBytes(248, 11, 33),   // red
    fromBytes(255, 255, 0),   // yellow
    fromBytes(193, 6, 112),   // raspberry
};

void setColor(const RgbColor& color) {
    glColor4f(color.red, color.green, color.blue, OPAQUE_ALPHA);
}

// The unit square at (x, y) in the current transform.
void unitSquare(float x, float y) {
    glBegin(GL_POLYGON);
    glVertex2f(x, y);
    glVertex2f(x + GRID_UNIT, y);
    glVertex2f(x + GRID_UNIT, y + GRID_UNIT);
    glVertex2f(x, y + GRID_UNIT);
    glEnd();
}
} // namespace

ColorPalette palette;

void ColorPalette::init() {
    colors_ = CELL_COLORS;
    originX_ = PALETTE_GRID_X;
    originY_ = PALETTE_GRID_Y;
    cellSize_ = PALETTE_CELL_SIZE;
}

RgbColor ColorPalette::pickAt(float x, float y) {
    const float dx = x - originX_;
    const float dy = y - originY_;
    const float s = cellSize_;
    // Every comparison is strict: a point on a cell edge picks nothing.
    int column = NO_CELL;
    if (0.0f < dx && dx < s) {
        column = 0;
    } else if (s < dx && dx < static_cast<float>(PALETTE_COLUMNS) * s) {
        column = 1;
    }
    int row = NO_CELL;
    for (int r = 0; r < PALETTE_ROWS; ++r) {
        if (static_cast<float>(r) * s < dy && dy < static_cast<float>(r + 1) * s) {
            row = r;
        }
    }
    if (column != NO_CELL && row != NO_CELL) {
        selected_ = PALETTE_ROWS * column + row;
    }
    return currentColor();
}

void ColorPalette::draw() const {
    glPushMatrix();
    glTranslatef(originX_, originY_, PLANE_Z);
    glScalef(cellSize_, cellSize_, UNSCALED);
    for (int c = 0; c < PALETTE_COLUMNS; ++c) {
        for (int r = 0; r < PALETTE_ROWS; ++r) {
            setColor(colors_[static_cast<std::size_t>(PALETTE_ROWS * c + r)]);
            unitSquare(static_cast<float>(c), static_cast<float>(r));
        }
    }
    glPopMatrix();

    glPushMatrix();
    glTranslatef(PALETTE_SWATCH_X, PALETTE_SWATCH_Y, PLANE_Z);
    glScalef(PALETTE_SWATCH_SIZE, PALETTE_SWATCH_SIZE, UNSCALED);
    setColor(currentColor());
    unitSquare(LOCAL_ORIGIN, LOCAL_ORIGIN);
    glPopMatrix();
}
