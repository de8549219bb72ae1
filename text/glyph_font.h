// glyph_font.h: text drawn from one TrueType face rasterised once at start-up.
//
// Owns one texture and one display list per drawn character code: ASCII 0..127
// and the printable Latin-1 letters and signs 160..255. The answer texts build
// the shared font during initialisation (a GL context must exist) and draw with
// it every frame. Built once, never destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <GL/gl.h>

// Number of ASCII character codes, 0..127, that get a glyph.
inline constexpr int GLYPH_COUNT = 128;
// Number of consecutive display lists the font reserves: one per byte value.
inline constexpr int FONT_CODE_COUNT = 256;
// The Latin-1 control codes 128..159 have no glyph and draw nothing; from 160
// on (no-break space, accented letters, signs) each code draws its Latin-1
// character, which is also its Unicode character.
inline constexpr int FIRST_LATIN1_CODE = 160;
// Bytes, the largest font file that is read at all.
inline constexpr std::size_t FONT_MAX_FILE_BYTES = 64 * 1024 * 1024;

// The messages of the font failures that end start-up.
inline constexpr const char* FONT_INIT_FAILED = "FT_Init_FreeType failed";
inline constexpr const char* FONT_FACE_FAILED =
    "FT_New_Face failed (there is probably a problem with your font file)";
inline constexpr const char* FONT_LOAD_GLYPH_FAILED = "FT_Load_Glyph failed";
inline constexpr const char* FONT_GET_GLYPH_FAILED = "FT_Get_Glyph failed";
inline constexpr const char* FONT_DRAWS_NO_LETTERS =
    "Font draws no letters (there is probably a problem with your font file)";
inline constexpr const char* FONT_GLYPHS_TOO_LARGE =
    "Font glyphs far larger than their size (there is probably a problem with your font file)";

// True for the codes that have a glyph: 0..127 and 160..255.
constexpr bool fontDrawsCode(unsigned char code) {
    return code < GLYPH_COUNT || code >= FIRST_LATIN1_CODE;
}

// One glyph as FreeType rasterised it, in pixels, before it becomes a texture.
struct GlyphImage {
    std::vector<unsigned char> coverage; // `rows` rows of `width` 8-bit coverage bytes
    int width = 0;
    int rows = 0;
    int left = 0;    // from the pen to the bitmap's left edge
    int top = 0;     // from the baseline up to the bitmap's top row
    int advance = 0; // whole pixels the pen moves
};

// Rasterises every drawn code of the face held in `data` (`size` bytes of a font
// file) at `height` points, 96 dpi; entry k is code k, empty for 128..159. Needs
// no GL context. Throws std::runtime_error with one of the messages above when
// FreeType fails, a glyph is far larger than the size asks, or no ASCII letter
// has any ink.
std::vector<GlyphImage> rasteriseFace(const unsigned char* data, std::size_t size,
                                      std::uint32_t height);
// Most bytes one drawText call draws after formatting.
inline constexpr std::size_t DRAW_TEXT_LIMIT = 255;

class GlyphFont {
  public:
    // The shared font, allocated on first use and never destroyed.
    static GlyphFont& instance();

    // Rasterises the drawn codes of the face at `path` at `height` points, 96 dpi.
    // Needs a current GL context; throws std::runtime_error as rasteriseFace does,
    // and with FONT_FACE_FAILED when `path` is not a readable regular file.
    void build(const char* path, std::uint32_t height);
    // True once build has finished; a build that threw leaves it false.
    bool built() const { return textures != nullptr; }

    float height = 0.0f;        // the height given to build, for line spacing
    GLuint* textures = nullptr; // FONT_CODE_COUNT texture names, entry k for code k (0: none)
    GLuint listBase = 0;        // first of FONT_CODE_COUNT consecutive display lists

  private:
    GlyphFont() = default;
    std::vector<GLuint> textureNames_;
};

// Draws printf-formatted text at the current modelview transform in the current
// colour; a null format draws nothing. The formatted text is cut at 255 bytes.
void drawText(const GlyphFont& font, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Draws `text` byte for byte, with no formatting, as drawText draws its result:
// lines split at line feeds, each one font line (height / 0.63) lower in eye
// coordinates; bytes 128..159 have no glyph and draw nothing. An unbuilt font
// draws nothing.
void drawLiteralText(const GlyphFont& font, std::string_view text);
