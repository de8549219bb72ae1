// palette_test.cpp: the ten colours and which presses select which cell,
// including the cell edges and margins that select nothing.
#include "drawing/palette.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Bytes {
    int red;
    int green;
    int blue;
};

// The cell colours as 8-bit values, in cell order.
constexpr std::array<Bytes, PALETTE_SIZE> CELL_BYTES{{
    {0, 0, 0},
    {255, 6, 176},
    {122, 250, 242},
    {255, 165, 9},
    {233, 79, 224},
    {11, 150, 248},
    {50, 255, 98},
    {248, 11, 33},
    {255, 255, 0},
    {193, 6, 112},
}};

// True when `stored` is the float nearest to value / 255.
bool isNearestFloat(float stored, int value) {
    const double exact = value / 255.0;
    const double error = std::abs(static_cast<double>(stored) - exact);
    const float below = std::nextafter(stored, -1.0f);
    const float above = std::nextafter(stored, 2.0f);
    return error <= std::abs(static_cast<double>(below) - exact) &&
           error <= std::abs(static_cast<double>(above) - exact);
}

class PalettePick : public ::testing::Test {
  protected:
    void SetUp() override { palette_.init(); }
    ColorPalette palette_;
};

} // namespace

TEST_F(PalettePick, InitGivesTheTenColoursAsNearestFloats) {
    for (int k = 0; k < PALETTE_SIZE; ++k) {
        const RgbColor color = palette_.color(k);
        const Bytes& bytes = CELL_BYTES[static_cast<std::size_t>(k)];
        EXPECT_TRUE(isNearestFloat(color.red, bytes.red)) << "cell " << k;
        EXPECT_TRUE(isNearestFloat(color.green, bytes.green)) << "cell " << k;
        EXPECT_TRUE(isNearestFloat(color.blue, bytes.blue)) << "cell " << k;
    }
    EXPECT_EQ(palette_.color(8).red, 1.0f);
    EXPECT_EQ(palette_.color(8).green, 1.0f);
    EXPECT_EQ(palette_.color(8).blue, 0.0f);
}

TEST_F(PalettePick, BlackIsSelectedBeforeAnyPick) {
    EXPECT_EQ(palette_.selected(), 0);
    EXPECT_EQ(palette_.currentColor().red, 0.0f);
    EXPECT_EQ(palette_.currentColor().green, 0.0f);
    EXPECT_EQ(palette_.currentColor().blue, 0.0f);
}

TEST_F(PalettePick, APressSelectsTheCellUnderIt) {
    const RgbColor picked = palette_.pickAt(40.0f, 64.0f);
    EXPECT_EQ(palette_.selected(), 9);
    EXPECT_EQ(picked.red, palette_.color(9).red);
    EXPECT_EQ(picked.green, palette_.color(9).green);
    EXPECT_EQ(picked.blue, palette_.color(9).blue);
    EXPECT_EQ(palette_.currentColor().red, palette_.color(9).red);

    palette_.pickAt(36.0f, 44.0f);
    EXPECT_EQ(palette_.selected(), 0);
}

// Column c and row r make cell 5c + r: column 0 on the left, row 0 at the bottom.
TEST_F(PalettePick, EveryCellCentreSelectsItsOwnIndex) {
    for (int k = 0; k < PALETTE_SIZE; ++k) {
        const int column = k / 5;
        const int row = k % 5;
        palette_.pickAt(36.0f + 5.0f * static_cast<float>(column),
                        44.0f + 5.0f * static_cast<float>(row));
        EXPECT_EQ(palette_.selected(), k);
    }
}

TEST_F(PalettePick, EdgesAndMarginsSelectNothing) {
    palette_.pickAt(40.0f, 64.0f);
    ASSERT_EQ(palette_.selected(), 9);
    const struct {
        float x;
        float y;
    } misses[] = {
        {38.5f, 44.0f}, // dx = s: between the columns
        {36.0f, 41.5f}, // dy = 0: the grid's bottom edge
        {33.5f, 44.0f}, // dx = 0: the grid's left edge
        {43.5f, 44.0f}, // dx = 2s: the grid's right edge
        {36.0f, 46.5f}, // dy = s: between rows 0 and 1
        {41.0f, 61.5f}, // dy = 4s: between rows 3 and 4
        {36.0f, 66.5f}, // dy = 5s: the grid's top edge
        {31.0f, 40.0f}, // the margin around the grid
        {45.0f, 50.0f}, // right of the grid
    };
    for (const auto& miss : misses) {
        const RgbColor returned = palette_.pickAt(miss.x, miss.y);
        EXPECT_EQ(palette_.selected(), 9) << miss.x << ", " << miss.y;
        EXPECT_EQ(returned.red, palette_.color(9).red);
    }
}

TEST_F(PalettePick, InitKeepsTheSelection) {
    palette_.pickAt(40.0f, 64.0f);
    palette_.init();
    EXPECT_EQ(palette_.selected(), 9);
}
