// glyph_layout_test.cpp: the font's plain layout helpers, with no GL context:
// texture sides, glyph image expansion and line splitting.
#include "text/glyph_font.h"
#include "text/glyph_layout.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(GlyphLayout, TextureSideIsTheNextPowerOfTwo) {
    const std::pair<int, int> sizesAndSides[] = {{0, 1},  {1, 1},   {2, 2},  {3, 4},
                                                 {9, 16}, {16, 16}, {17, 32}};
    for (const auto& [size, side] : sizesAndSides) {
        EXPECT_EQ(glyphTextureSide(size), side) << "size " << size;
    }
}

TEST(GlyphLayout, ExpandedImageCopiesCoverageIntoBothBytesAndPadsWithZeros) {
    // A 3 x 2 bitmap, rows 3 bytes apart, in a 4 x 4 texture.
    const unsigned char coverage[] = {10, 20, 30, 40, 50, 60};
    const std::vector<unsigned char> image = expandGlyph(coverage, 3, 2, 4, 4);
    const std::vector<unsigned char> expected = {
        10, 10, 20, 20, 30, 30, 0, 0, // row 0, then one padding texel
        40, 40, 50, 50, 60, 60, 0, 0, // row 1
        0,  0,  0,  0,  0,  0,  0, 0, // padding rows
        0,  0,  0,  0,  0,  0,  0, 0,
    };
    EXPECT_EQ(image, expected);
}

TEST(GlyphLayout, EmptyBitmapExpandsToOneBlankTexelWithoutReadingItsBuffer) {
    EXPECT_EQ(expandGlyph(nullptr, 0, 0, 1, 1), (std::vector<unsigned char>{0, 0}));
    // A one-texel-wide glyph keeps its column, rows two bytes apart.
    const unsigned char column[] = {7, 8, 9};
    EXPECT_EQ(expandGlyph(column, 1, 3, 1, 4),
              (std::vector<unsigned char>{7, 7, 8, 8, 9, 9, 0, 0}));
}

TEST(SplitLines, SplitsAtLineFeedsOnly) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines(""), (Lines{""}));
    EXPECT_EQ(splitLines("a\n"), (Lines{"a", ""}));
    EXPECT_EQ(splitLines("\n\n"), (Lines{"", "", ""}));
    EXPECT_EQ(splitLines("a\rb\r\nc"), (Lines{"a\rb\r", "c"}));
    const std::string withNul("x\0y\nz", 5);
    EXPECT_EQ(splitLines(withNul), (Lines{std::string_view("x\0y", 3), "z"}));
}

} // namespace
