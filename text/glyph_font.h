// glyph_font.h: text drawn from one TrueType face rasterised once at start-up.
//
// Owns one texture and one display list per character code 0..127. The answer
// texts build the shared font during initialisation (a GL context must exist)
// and draw with it every frame. Built once, never destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <GL/gl.h>

// Number of character codes that get a glyph: 0..127.
inline constexpr int GLYPH_COUNT = 128;
// Most bytes one drawText call draws after formatting.
inline constexpr std::size_t DRAW_TEXT_LIMIT = 255;

class GlyphFont {
  public:
    // The shared font, allocated on first use and never destroyed.
    static GlyphFont& instance();

    // Rasterises codes 0..127 of the face at `path` at `height` points, 96 dpi.
    // Needs a current GL context; throws std::runtime_error on a FreeType failure.
    void build(const char* path, std::uint32_t height);
    // True once build has finished; a build that threw leaves it false.
    bool built() const { return textures != nullptr; }

    float height = 0.0f;        // the height given to build, for line spacing
    GLuint* textures = nullptr; // GLYPH_COUNT texture names, entry k for code k
    GLuint listBase = 0;        // first of GLYPH_COUNT consecutive display lists

  private:
    GlyphFont() = default;
    std::vector<GLuint> textureNames_;
};

// Smallest power of two not below `size`; 0 and 1 give 1.
int glyphTextureSide(int size);

// Expands an 8-bit coverage bitmap (`width` x `rows`, rows `width` apart) into a
// side x side luminance-alpha image padded with zeros. `coverage` may be null
// when width or rows is 0.
std::vector<unsigned char> expandGlyph(const unsigned char* coverage, int width, int rows,
                                       int textureWidth, int textureHeight);

// The lines of `text`, split at line feeds; always at least one (maybe empty) line.
std::vector<std::string_view> splitLines(std::string_view text);

// Draws printf-formatted text at the current modelview transform in the current
// colour; a null format draws nothing. The formatted text is cut at 255 bytes.
void drawText(const GlyphFont& font, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Draws `text` byte for byte, with no formatting, as drawText draws its result:
// lines split at line feeds, each one font line (height / 0.63) lower in eye
// coordinates; bytes 128..255 have no glyph and draw nothing. An unbuilt font
// draws nothing.
void drawLiteralText(const GlyphFont& font, std::string_view text);
