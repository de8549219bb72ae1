// text.cpp: glyph loading, kerning and layout of text runs over FreeType.
//
// Glyphs are loaded unhinted as outlines, moved by the fraction of a pixel
// at which the pen stands (so runs keep their true spacing), optionally
// turned and grown, then rendered to 8-bit coverage and blended.
#include "tools/images/text.h"

#include <cmath>
#include <stdexcept>

#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_STROKER_H

namespace art {
namespace {

constexpr float kSubpixels = 64.0f;   // FreeType 26.6 units per pixel
constexpr float kFixedOne = 65536.0f; // FreeType 16.16 units per one
constexpr char32_t kCapProbe = U'H';  // the letter whose top gives the cap height
constexpr char32_t kSpace = U' ';
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;

// A glyph image owned for the length of one draw; FreeType may replace it in place.
class OwnedGlyph {
  public:
    OwnedGlyph() = default;
    OwnedGlyph(const OwnedGlyph&) = delete;
    OwnedGlyph& operator=(const OwnedGlyph&) = delete;
    ~OwnedGlyph() {
        if (glyph_ != nullptr) {
            FT_Done_Glyph(glyph_);
        }
    }
    FT_Glyph get() const { return glyph_; }
    FT_Glyph* slot() { return &glyph_; }

  private:
    FT_Glyph glyph_ = nullptr;
};

struct StrokerRelease {
    void operator()(FT_Stroker stroker) const { FT_Stroker_Done(stroker); }
};
using OwnedStroker = std::unique_ptr<FT_StrokerRec_, StrokerRelease>;

void check(FT_Error error, const char* what) {
    if (error != 0) {
        throw std::runtime_error(std::string("FreeType: ") + what + " failed");
    }
}

FT_Pos toSubpixels(float pixels) {
    return static_cast<FT_Pos>(std::lround(pixels * kSubpixels));
}

FT_Fixed toFixed(float value) {
    return static_cast<FT_Fixed>(std::lround(value * kFixedOne));
}

// Blends an 8-bit coverage bitmap whose top-left pixel lands at (left, top).
void blendBitmap(Raster& raster, const FT_Bitmap& bitmap, int left, int top, Colour colour) {
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            raster.blend(left + static_cast<int>(column), top + static_cast<int>(row), colour,
                         static_cast<float>(line[column]) / kChannelMax);
        }
    }
}

// The characters of UTF-8 `text` as code points; throws on malformed input.
std::u32string decodeUtf8(std::string_view text) {
    constexpr unsigned char kContinuationMask = 0xC0;
    constexpr unsigned char kContinuation = 0x80;
    constexpr unsigned char kPayloadMask = 0x3F;
    constexpr int kPayloadBits = 6;
    struct Lead {
        unsigned char mask;
        unsigned char value;
        int continuations;
    };
    constexpr Lead kLeads[] = {{0x80, 0x00, 0}, {0xE0, 0xC0, 1}, {0xF0, 0xE0, 2}, {0xF8, 0xF0, 3}};

    std::u32string characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i++]);
        const Lead* kind = nullptr;
        for (const Lead& candidate : kLeads) {
            if ((lead & candidate.mask) == candidate.value) {
                kind = &candidate;
                break;
            }
        }
        if (kind == nullptr || i + static_cast<std::size_t>(kind->continuations) > text.size()) {
            throw std::runtime_error("malformed UTF-8 in " + std::string(text));
        }
        char32_t code = lead & static_cast<unsigned char>(~kind->mask);
        for (int k = 0; k < kind->continuations; ++k) {
            const auto next = static_cast<unsigned char>(text[i++]);
            if ((next & kContinuationMask) != kContinuation) {
                throw std::runtime_error("malformed UTF-8 in " + std::string(text));
            }
            code = (code << kPayloadBits) | (next & kPayloadMask);
        }
        characters.push_back(code);
    }
    return characters;
}

} // namespace

FontLibrary::FontLibrary() {
    FT_Library library = nullptr;
    check(FT_Init_FreeType(&library), "starting the library");
    library_.reset(library);
}

Font::Font(const FontLibrary& library, const std::string& path, int pixelSize)
    : library_(library.handle()) {
    FT_Face face = nullptr;
    if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) {
        throw std::runtime_error("cannot open the font " + path);
    }
    face_.reset(face);
    check(FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)), "setting the size");
    check(FT_Load_Glyph(face, glyphIndex(kCapProbe), kLoadFlags), "loading a glyph");
    FT_BBox box;
    FT_Outline_Get_CBox(&face->glyph->outline, &box);
    capHeight_ = static_cast<float>(box.yMax) / kSubpixels;
}

FT_UInt Font::glyphIndex(char32_t character) const {
    const FT_UInt index = FT_Get_Char_Index(face_.get(), character);
    if (index == 0) {
        throw std::runtime_error("the font " + std::string(face_->family_name) +
                                 " has no glyph for U+" + std::to_string(character));
    }
    return index;
}

float Font::advanceOf(FT_UInt glyph) const {
    check(FT_Load_Glyph(face_.get(), glyph, kLoadFlags), "loading a glyph");
    return static_cast<float>(face_->glyph->linearHoriAdvance) / kFixedOne;
}

float Font::kerning(FT_UInt left, FT_UInt right) const {
    if (!FT_HAS_KERNING(face_.get())) {
        return 0.0f;
    }
    FT_Vector delta{};
    check(FT_Get_Kerning(face_.get(), left, right, FT_KERNING_UNFITTED, &delta), "kerning");
    return static_cast<float>(delta.x) / kSubpixels;
}

float Font::measure(std::string_view text) const {
    float width = 0.0f;
    FT_UInt previous = 0;
    for (char32_t character : decodeUtf8(text)) {
        const FT_UInt glyph = glyphIndex(character);
        if (previous != 0) {
            width += kerning(previous, glyph);
        }
        width += advanceOf(glyph);
        previous = glyph;
    }
    return width;
}

void Font::draw(Raster& raster, std::string_view text, Point origin, Colour colour) const {
    Point pen = origin;
    FT_UInt previous = 0;
    for (char32_t character : decodeUtf8(text)) {
        const FT_UInt glyph = glyphIndex(character);
        if (previous != 0) {
            pen.x += kerning(previous, glyph);
        }
        pen.x += drawGlyph(raster, character, pen, GlyphStyle{colour});
        previous = glyph;
    }
}

float Font::drawGlyph(Raster& raster, char32_t character, Point origin,
                      const GlyphStyle& style) const {
    const FT_UInt index = glyphIndex(character);
    const float advance = advanceOf(index);
    if (character == kSpace) {
        return advance;
    }
    OwnedGlyph glyph;
    check(FT_Get_Glyph(face_->glyph, glyph.slot()), "copying a glyph");

    // Turn about the pen position (FreeType's y grows up, the picture's down,
    // so a clockwise turn on screen is a negative angle here), then shift by
    // the pen's fraction of a pixel.
    const float cosine = std::cos(style.angle);
    const float sine = std::sin(style.angle);
    FT_Matrix turn{toFixed(cosine), toFixed(sine), toFixed(-sine), toFixed(cosine)};
    const float wholeX = std::floor(origin.x);
    const float wholeY = std::floor(origin.y);
    FT_Vector shift{toSubpixels(origin.x - wholeX), -toSubpixels(origin.y - wholeY)};
    check(FT_Glyph_Transform(glyph.get(), &turn, &shift), "turning a glyph");

    if (style.grow > 0.0f) {
        FT_Stroker raw = nullptr;
        check(FT_Stroker_New(library_, &raw), "making a stroker");
        OwnedStroker stroker(raw);
        FT_Stroker_Set(raw, toSubpixels(style.grow), FT_STROKER_LINECAP_ROUND,
                       FT_STROKER_LINEJOIN_ROUND, 0);
        check(FT_Glyph_StrokeBorder(glyph.slot(), raw, 0, 1), "growing a glyph");
    }
    check(FT_Glyph_To_Bitmap(glyph.slot(), FT_RENDER_MODE_NORMAL, nullptr, 1), "rendering a glyph");
    const auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph.get());
    blendBitmap(raster, bitmapGlyph->bitmap, static_cast<int>(wholeX) + bitmapGlyph->left,
                static_cast<int>(wholeY) - bitmapGlyph->top, style.colour);
    return advance;
}

void drawCentred(Raster& raster, const Font& font, std::string_view text, float centreX,
                 float baseline, Colour colour) {
    font.draw(raster, text, {centreX - font.measure(text) * 0.5f, baseline}, colour);
}

std::vector<std::string> wrapLines(const Font& font, std::string_view text, float maxWidth) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view word = text.substr(start, end - start);
        std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (!line.empty() && font.measure(candidate) > maxWidth) {
            lines.push_back(line);
            line = std::string(word);
        } else {
            line = std::move(candidate);
        }
        start = end + 1;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace art
