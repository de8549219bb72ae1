// glyph_layout.h: the glyph font's layout steps, apart from FreeType and GL.
//
// Used by glyph_font.cpp, which builds the glyph textures and splits the text
// it draws with them; its tests check these steps on their own. Pure functions.
#pragma once

#include <string_view>
#include <vector>

// Smallest power of two not below `size`; 0 and 1 give 1.
int glyphTextureSide(int size);

// Expands an 8-bit coverage bitmap (`width` x `rows`, rows `width` apart) into a
// side x side luminance-alpha image padded with zeros. `coverage` may be null
// when width or rows is 0.
std::vector<unsigned char> expandGlyph(const unsigned char* coverage, int width, int rows,
                                       int textureWidth, int textureHeight);

// The lines of `text`, split at line feeds; always at least one (maybe empty) line.
std::vector<std::string_view> splitLines(std::string_view text);
