// font_face_test.cpp: faces other than a plain outline TrueType file. A
// bitmap-only face is made in the test as a BDF file, which FreeType reads
// as 1-bit bitmaps of fixed strikes.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/glyph_font.h"

namespace {

constexpr std::uint32_t FONT_HEIGHT = 12; // points, as the answers use: a 16-pixel em
constexpr int STRIKE_PIXELS = 17;         // no strike matches 16, so the nearest is taken
constexpr int GLYPH_WIDTH = 8;            // pixels, one byte a bitmap row
constexpr int FULL = 255;                 // coverage of an inked pixel

// One glyph of a BDF face: its code and its rows, one byte each, top first.
struct BdfGlyph {
    int code;
    std::vector<unsigned> rows;
};

// A BDF face with one strike of `pixels` pixels, Unicode-encoded.
std::string bdfFace(const std::vector<BdfGlyph>& glyphs, int pixels = STRIKE_PIXELS,
                    int width = GLYPH_WIDTH) {
    std::ostringstream out;
    out << "STARTFONT 2.1\nFONT -test-bitmap-medium-r-normal--" << pixels
        << "-120-96-96-c-80-iso10646-1\nSIZE " << pixels << " 72 72\nFONTBOUNDINGBOX " << width
        << ' ' << pixels << " 0 0\nSTARTPROPERTIES 4\nFONT_ASCENT " << pixels
        << "\nFONT_DESCENT 0\nCHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n"
        << "ENDPROPERTIES\nCHARS " << glyphs.size() << '\n';
    for (const BdfGlyph& glyph : glyphs) {
        out << "STARTCHAR c" << glyph.code << "\nENCODING " << glyph.code << "\nSWIDTH 500 0\nDWIDTH "
            << width << " 0\nBBX " << width << ' ' << glyph.rows.size() << " 0 0\nBITMAP\n";
        out << std::hex << std::uppercase;
        for (const unsigned row : glyph.rows) {
            for (int byte = (width + 7) / 8 - 1; byte >= 0; --byte) {
                out.width(2);
                out.fill('0');
                out << ((row >> (8 * byte)) & 0xFF);
            }
            out << '\n';
        }
        out << std::dec << "ENDCHAR\n";
    }
    out << "ENDFONT\n";
    return out.str();
}

std::vector<GlyphImage> rasterise(const std::string& face) {
    return rasteriseFace(reinterpret_cast<const unsigned char*>(face.data()), face.size(),
                         FONT_HEIGHT);
}

TEST(FontFace, BitmapOnlyFaceDrawsItsOneBitGlyphsAsFullCoverage) {
    // An 'A' of two rows: the left and right pixels, then the top half.
    const std::string face = bdfFace({{'A', {0x81, 0xF0}}, {'b', {0xFF}}});
    const std::vector<GlyphImage> glyphs = rasterise(face);
    const GlyphImage& a = glyphs['A'];
    ASSERT_EQ(a.width, GLYPH_WIDTH);
    ASSERT_EQ(a.rows, 2);
    const std::vector<unsigned char> expected = {FULL, 0, 0, 0, 0, 0, 0, FULL,
                                                 FULL, FULL, FULL, FULL, 0, 0, 0, 0};
    EXPECT_EQ(a.coverage, expected);
    EXPECT_EQ(a.advance, GLYPH_WIDTH);
}

TEST(FontFace, FacesThatCannotDrawTextAreRefusedWithTheirOwnMessage) {
    const auto messageOf = [](const std::string& face) {
        try {
            rasterise(face);
        } catch (const std::runtime_error& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    // Digits only: nothing an answer of words could show.
    EXPECT_EQ(messageOf(bdfFace({{'0', {0xFF, 0xFF}}})), FONT_DRAWS_NO_LETTERS);
    // A letter 24 ems tall at the answers' 16-pixel em.
    const int towering = 24 * 16;
    EXPECT_EQ(messageOf(bdfFace({{'A', std::vector<unsigned>(towering, 0xFF)}}, towering)),
              FONT_GLYPHS_TOO_LARGE);
}

} // namespace
