// text.h: text runs through FreeType, with kerning, centring and word wrap.
//
// FontLibrary owns the FreeType library and Font one face at one pixel
// size; the Fonts set of the screen builders keeps both for the whole run,
// the library first so that it outlives its faces. Text is UTF-8; a
// character the face has no glyph for is an error, never a blank box.
#pragma once

#include "tools/images/geometry.h"
#include "tools/images/raster.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace art {

class FontLibrary {
  public:
    // Starts FreeType; throws std::runtime_error if it cannot.
    FontLibrary();
    FT_Library handle() const { return library_.get(); }

  private:
    struct Release {
        void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    };
    std::unique_ptr<FT_LibraryRec_, Release> library_;
};

// How a single glyph is laid down by Font::drawGlyph.
struct GlyphStyle {
    Colour colour;
    float angle = 0.0f; // turn, radians clockwise
    float grow = 0.0f;  // when above 0, the glyph is fattened by this many pixels (a backing)
};

class Font {
  public:
    // Opens face 0 of the TrueType file at `path` at `pixelSize` pixels per em; throws on failure.
    Font(const FontLibrary& library, const std::string& path, int pixelSize);

    // Advance width of `text` in pixels, kerning included.
    float measure(std::string_view text) const;
    // Height of capital letters above the baseline, pixels.
    float capHeight() const { return capHeight_; }

    // Draws `text` with its pen starting at `origin` on the baseline.
    void draw(Raster& raster, std::string_view text, Point origin, Colour colour) const;
    // Draws one character with its pen at `origin`; returns its advance in pixels.
    float drawGlyph(Raster& raster, char32_t character, Point origin,
                    const GlyphStyle& style) const;

  private:
    struct Release {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };
    FT_UInt glyphIndex(char32_t character) const;
    float advanceOf(FT_UInt glyph) const;
    float kerning(FT_UInt left, FT_UInt right) const;

    FT_Library library_;
    std::unique_ptr<FT_FaceRec_, Release> face_;
    float capHeight_ = 0.0f;
};

// Draws `text` centred on `centreX` with its baseline at `baseline`.
void drawCentred(Raster& raster, const Font& font, std::string_view text, float centreX,
                 float baseline, Colour colour);
// Splits `text` at spaces into lines no wider than `maxWidth` pixels (a longer word stands alone).
std::vector<std::string> wrapLines(const Font& font, std::string_view text, float maxWidth);

} // namespace art
