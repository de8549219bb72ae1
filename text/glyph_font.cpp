// glyph_font.cpp: rasterising a TrueType face into per-code textures and
// display lists through FreeType, and drawing lines of text with them.
#include "text/glyph_font.h"
#include "text/glyph_layout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>

// GL_CLAMP_TO_EDGE is OpenGL 1.2: Linux's gl.h has it, Windows' stops at 1.1.
#include <GL/glext.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_GLYPH_H
#include FT_OUTLINE_H

#include "media/asset_file.h"

namespace {

constexpr FT_F26Dot6 POINT_26_6 = 64;               // one point in 26.6 fixed point
constexpr FT_UInt FONT_DPI = 96;                    // dots per inch, both axes
constexpr int ADVANCE_FRACTION_BITS = 6;            // 26.6 advance to whole pixels
constexpr int BYTES_PER_TEXEL = 2;                  // luminance, then alpha
constexpr float LINE_HEIGHT_PER_POINT = 1.5873016f; // line spacing: height / 0.63, pen units
constexpr std::size_t FORMAT_BUFFER_SIZE = DRAW_TEXT_LIMIT + 1; // bytes, with the terminator
constexpr FT_Pos POINTS_PER_INCH = 72;
constexpr int FULL_COVERAGE = 255;    // 8-bit coverage of a fully inked pixel
// A glyph may be this many ems wide or tall before its face is refused: even
// the widest letters and tallest brackets stay well inside 2 ems.
constexpr FT_Pos MAX_GLYPH_EMS = 4;
constexpr FT_Pos MIN_GLYPH_LIMIT = 64; // pixels, the limit whatever the size asked
constexpr std::size_t MATRIX_ELEMENTS = 16;                     // a 4 x 4 matrix
constexpr GLbitfield DRAW_TEXT_ATTRIBUTES =
    GL_LIST_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT;

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryHandle = std::unique_ptr<FT_LibraryRec_, LibraryCloser>;
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceCloser>;

// One FreeType glyph object; FT_Glyph_To_Bitmap may swap the handle in place.
class GlyphHandle {
  public:
    GlyphHandle() = default;
    ~GlyphHandle() {
        if (glyph != nullptr) {
            FT_Done_Glyph(glyph);
        }
    }
    GlyphHandle(const GlyphHandle&) = delete;
    GlyphHandle& operator=(const GlyphHandle&) = delete;

    FT_Glyph glyph = nullptr;
};

// Sets the pixel unpack alignment to one byte for its lifetime, so tightly
// packed glyph rows upload as they are; the caller's pixel-store state comes back.
class TightUnpack {
  public:
    TightUnpack() {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    ~TightUnpack() { glPopClientAttrib(); }
    TightUnpack(const TightUnpack&) = delete;
    TightUnpack& operator=(const TightUnpack&) = delete;
};

// Owns a bitmap that FT_Bitmap_Convert fills.
class ConvertedBitmap {
  public:
    explicit ConvertedBitmap(FT_Library library) : library_(library) { FT_Bitmap_Init(&bitmap); }
    ~ConvertedBitmap() { FT_Bitmap_Done(library_, &bitmap); }
    ConvertedBitmap(const ConvertedBitmap&) = delete;
    ConvertedBitmap& operator=(const ConvertedBitmap&) = delete;

    FT_Bitmap bitmap;

  private:
    FT_Library library_;
};

// Row `j`, counted from the top, of a bitmap whose pitch may be negative
// (rows stored bottom first) or wider than its pixels.
const unsigned char* bitmapRow(const FT_Bitmap& bitmap, int j) {
    const int rows = static_cast<int>(bitmap.rows);
    const int step = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    const int memoryRow = bitmap.pitch < 0 ? rows - 1 - j : j;
    return bitmap.buffer + static_cast<std::ptrdiff_t>(memoryRow) * step;
}

// The bitmap's pixels as packed 8-bit coverage, 0 none to 255 full. Embedded
// bitmaps come as 1-, 2- or 4-bit grey or as colour (BGRA); they are widened to
// 8 bits and their levels stretched to the full range, so bitmap-only and
// colour faces draw like outline ones. Empty when FreeType cannot convert it.
std::vector<unsigned char> coverageOf(FT_Library library, const FT_Bitmap& source) {
    const int width = static_cast<int>(source.width);
    const int rows = static_cast<int>(source.rows);
    if (width == 0 || rows == 0 || source.buffer == nullptr) {
        return {};
    }
    const FT_Bitmap* grey = &source;
    ConvertedBitmap converted(library);
    if (source.pixel_mode != FT_PIXEL_MODE_GRAY) {
        if (FT_Bitmap_Convert(library, &source, &converted.bitmap, 1) != 0) {
            return {};
        }
        grey = &converted.bitmap;
    }
    const int highestLevel = std::max(1, static_cast<int>(grey->num_grays) - 1);
    if (static_cast<int>(grey->width) != width || static_cast<int>(grey->rows) != rows) {
        return {};
    }
    std::vector<unsigned char> coverage(static_cast<std::size_t>(width) * rows);
    for (int j = 0; j < rows; ++j) {
        const unsigned char* row = bitmapRow(*grey, j);
        for (int i = 0; i < width; ++i) {
            const int level = std::min<int>(row[i], highestLevel);
            coverage[static_cast<std::size_t>(j) * width + i] =
                static_cast<unsigned char>(level * FULL_COVERAGE / highestLevel);
        }
    }
    return coverage;
}

// Whole pixels a 26.6 extent covers, rounded up.
FT_Pos wholePixels(FT_Pos extent26_6) {
    return (extent26_6 + POINT_26_6 - 1) >> ADVANCE_FRACTION_BITS;
}

// True when the glyph now in `slot` would render wider or taller than
// `limitPixels`: a face with a tiny em, or a damaged one, would otherwise make
// textures of gigabytes. Outlines are measured before they are rendered.
bool tooLarge(FT_GlyphSlot slot, FT_Pos limitPixels) {
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box{};
        FT_Outline_Get_CBox(&slot->outline, &box);
        return wholePixels(box.xMax - box.xMin) > limitPixels ||
               wholePixels(box.yMax - box.yMin) > limitPixels;
    }
    return static_cast<FT_Pos>(slot->bitmap.width) > limitPixels ||
           static_cast<FT_Pos>(slot->bitmap.rows) > limitPixels;
}

// Sets the face to `pointHeight` points at 96 dpi. A face without outlines
// cannot be scaled, so it takes the bitmap strike whose em is nearest.
void setSize(FT_Face face, std::uint32_t pointHeight) {
    const FT_F26Dot6 charSize = static_cast<FT_F26Dot6>(pointHeight) * POINT_26_6;
    if (FT_Set_Char_Size(face, charSize, charSize, FONT_DPI, FONT_DPI) == 0 ||
        !FT_HAS_FIXED_SIZES(face)) {
        return;
    }
    const FT_Pos wanted = charSize * static_cast<FT_Pos>(FONT_DPI) / POINTS_PER_INCH;
    FT_Int nearest = 0;
    for (FT_Int strike = 1; strike < face->num_fixed_sizes; ++strike) {
        if (std::labs(face->available_sizes[strike].y_ppem - wanted) <
            std::labs(face->available_sizes[nearest].y_ppem - wanted)) {
            nearest = strike;
        }
    }
    FT_Select_Size(face, nearest);
}

// Rasterises code `code` of `face`, refusing a glyph above `limitPixels` a side.
GlyphImage rasteriseGlyph(FT_Library library, FT_Face face, FT_ULong code, FT_Pos limitPixels) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) {
        throw std::runtime_error(FONT_LOAD_GLYPH_FAILED);
    }
    if (tooLarge(face->glyph, limitPixels)) {
        throw std::runtime_error(FONT_GLYPHS_TOO_LARGE);
    }
    GlyphHandle handle;
    if (FT_Get_Glyph(face->glyph, &handle.glyph) != 0) {
        throw std::runtime_error(FONT_GET_GLYPH_FAILED);
    }
    FT_Glyph_To_Bitmap(&handle.glyph, FT_RENDER_MODE_NORMAL, nullptr, 1); // replaces the glyph

    GlyphImage image;
    image.advance = static_cast<int>(face->glyph->advance.x >> ADVANCE_FRACTION_BITS);
    // A glyph that did not become a bitmap (a failed conversion) draws nothing.
    if (handle.glyph->format != FT_GLYPH_FORMAT_BITMAP) {
        return image;
    }
    const auto bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(handle.glyph);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    if (static_cast<FT_Pos>(bitmap.width) > limitPixels ||
        static_cast<FT_Pos>(bitmap.rows) > limitPixels) {
        throw std::runtime_error(FONT_GLYPHS_TOO_LARGE);
    }
    image.left = bitmapGlyph->left;
    image.top = bitmapGlyph->top;
    image.coverage = coverageOf(library, bitmap);
    if (!image.coverage.empty()) {
        image.width = static_cast<int>(bitmap.width);
        image.rows = static_cast<int>(bitmap.rows);
    }
    return image;
}

bool hasInk(const GlyphImage& glyph) {
    return std::any_of(glyph.coverage.begin(), glyph.coverage.end(),
                       [](unsigned char value) { return value != 0; });
}

// True when at least one ASCII letter, A..Z or a..z, has a glyph of its own in
// `face` that leaves ink. A code the face lacks draws the face's missing-glyph
// box, which is no letter.
bool drawsALetter(FT_Face face, const std::vector<GlyphImage>& glyphs) {
    for (unsigned char code = 'A'; code <= 'z'; ++code) {
        if (std::isalpha(code) != 0 && FT_Get_Char_Index(face, code) != 0 &&
            hasInk(glyphs[code])) {
            return true;
        }
    }
    return false;
}

// Makes texture `texture` and list `list` of one rasterised glyph: the list
// draws the glyph at the pen and moves the pen by its advance.
void uploadGlyph(const GlyphImage& glyph, GLuint texture, GLuint list) {
    const int textureWidth = glyphTextureSide(glyph.width);
    const int textureHeight = glyphTextureSide(glyph.rows);
    const std::vector<unsigned char> image =
        expandGlyph(glyph.coverage.empty() ? nullptr : glyph.coverage.data(), glyph.width,
                    glyph.rows, textureWidth, textureHeight);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Glyphs are magnified with linear filtering; repeating wrap would blend a
    // glyph's far edge into its near one and draw a thin bar beside letters
    // whose bitmap fills the texture's width.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0,
                 GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, image.data());

    const auto width = static_cast<float>(glyph.width);
    const auto rows = static_cast<float>(glyph.rows);
    const float tx = width / static_cast<float>(textureWidth);
    const float ty = rows / static_cast<float>(textureHeight);

    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(static_cast<float>(glyph.left), 0.0f, 0.0f);
    glTranslatef(0.0f, static_cast<float>(glyph.top) - rows, 0.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, rows);
    glTexCoord2f(0.0f, ty);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(tx, ty);
    glVertex2f(width, 0.0f);
    glTexCoord2f(tx, 0.0f);
    glVertex2f(width, rows);
    glEnd();
    glPopMatrix();
    glTranslatef(static_cast<float>(glyph.advance), 0.0f, 0.0f);
    glEndList();
}

// Hands each run of bytes that have a glyph to the list range; bytes 128..159
// are skipped, so they draw nothing and do not move the pen.
void callGlyphLists(std::string_view line) {
    const auto hasGlyph = [](char ch) { return fontDrawsCode(static_cast<unsigned char>(ch)); };
    auto runStart = line.begin();
    while (runStart != line.end()) {
        const auto runEnd = std::find_if_not(runStart, line.end(), hasGlyph);
        if (runEnd != runStart) {
            glCallLists(static_cast<GLsizei>(runEnd - runStart), GL_UNSIGNED_BYTE, &*runStart);
        }
        runStart = std::find_if(runEnd, line.end(), hasGlyph);
    }
}

} // namespace

GlyphFont& GlyphFont::instance() {
    static auto* font = new GlyphFont();
    return *font;
}

std::vector<GlyphImage> rasteriseFace(const unsigned char* data, std::size_t size,
                                      std::uint32_t pointHeight) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        throw std::runtime_error(FONT_INIT_FAILED);
    }
    const LibraryHandle library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (data == nullptr || size > static_cast<std::size_t>(std::numeric_limits<FT_Long>::max()) ||
        FT_New_Memory_Face(library.get(), data, static_cast<FT_Long>(size), 0, &rawFace) != 0) {
        throw std::runtime_error(FONT_FACE_FAILED);
    }
    const FaceHandle face(rawFace);
    setSize(face.get(), pointHeight);
    const FT_Pos emPixels = static_cast<FT_Pos>(pointHeight) * FONT_DPI / POINTS_PER_INCH;
    const FT_Pos limitPixels = std::max<FT_Pos>(MIN_GLYPH_LIMIT, MAX_GLYPH_EMS * emPixels);

    std::vector<GlyphImage> glyphs(FONT_CODE_COUNT);
    for (int code = 0; code < FONT_CODE_COUNT; ++code) {
        if (fontDrawsCode(static_cast<unsigned char>(code))) {
            glyphs[static_cast<std::size_t>(code)] = rasteriseGlyph(
                library.get(), face.get(), static_cast<FT_ULong>(code), limitPixels);
        }
    }
    if (!drawsALetter(face.get(), glyphs)) {
        throw std::runtime_error(FONT_DRAWS_NO_LETTERS);
    }
    return glyphs;
}

void GlyphFont::build(const char* path, std::uint32_t pointHeight) {
    textureNames_.assign(FONT_CODE_COUNT, 0);
    height = static_cast<float>(pointHeight);

    // Read through the regular-file check, so a FIFO or device in the font's
    // place fails at once like a missing file.
    const std::optional<std::vector<unsigned char>> file =
        readRegularFile(path, FONT_MAX_FILE_BYTES);
    const std::vector<GlyphImage> glyphs =
        file ? rasteriseFace(file->data(), file->size(), pointHeight)
             : rasteriseFace(nullptr, 0, pointHeight);

    const GLuint firstList = glGenLists(FONT_CODE_COUNT);
    {
        const TightUnpack unpack;
        for (int code = 0; code < FONT_CODE_COUNT; ++code) {
            if (fontDrawsCode(static_cast<unsigned char>(code))) {
                glGenTextures(1, &textureNames_[static_cast<std::size_t>(code)]);
                uploadGlyph(glyphs[static_cast<std::size_t>(code)],
                            textureNames_[static_cast<std::size_t>(code)],
                            firstList + static_cast<GLuint>(code));
            }
        }
    }
    listBase = firstList;
    textures = textureNames_.data();
}

int glyphTextureSide(int size) {
    int side = 1;
    while (side < size) {
        side *= 2;
    }
    return side;
}

std::vector<unsigned char> expandGlyph(const unsigned char* coverage, int width, int rows,
                                       int textureWidth, int textureHeight) {
    std::vector<unsigned char> image(
        static_cast<std::size_t>(BYTES_PER_TEXEL * textureWidth * textureHeight), 0);
    const int copiedRows = std::min(rows, textureHeight);
    const int copiedColumns = std::min(width, textureWidth);
    for (int j = 0; j < copiedRows; ++j) {
        for (int i = 0; i < copiedColumns; ++i) {
            const unsigned char value = coverage[j * width + i];
            const std::size_t texel = static_cast<std::size_t>(j * textureWidth + i);
            image[BYTES_PER_TEXEL * texel] = value;
            image[BYTES_PER_TEXEL * texel + 1] = value;
        }
    }
    return image;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t feed = text.find('\n'); feed != std::string_view::npos;
         feed = text.find('\n', start)) {
        lines.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

void drawText(const GlyphFont& font, const char* format, ...) {
    std::array<char, FORMAT_BUFFER_SIZE> buffer{};
    std::size_t length = 0;
    if (format != nullptr) {
        va_list arguments;
        va_start(arguments, format);
        const int formatted = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
        va_end(arguments);
        length = formatted < 0 ? 0 : std::min(static_cast<std::size_t>(formatted), DRAW_TEXT_LIMIT);
    }
    drawLiteralText(font, std::string_view(buffer.data(), length));
}

void drawLiteralText(const GlyphFont& font, std::string_view text) {
    const float lineHeight = font.height * LINE_HEIGHT_PER_POINT;
    glPushAttrib(DRAW_TEXT_ATTRIBUTES);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glListBase(font.listBase);

    std::array<GLfloat, MATRIX_ELEMENTS> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());

    // An unbuilt font has no lists of its own: listBase would point at others'.
    if (font.built()) {
        const std::vector<std::string_view> lines = splitLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            glPushMatrix();
            glLoadIdentity();
            glTranslatef(0.0f, -(static_cast<float>(i) * lineHeight), 0.0f);
            glMultMatrixf(modelview.data());
            callGlyphLists(lines[i]);
            glPopMatrix();
        }
    }
    glPopAttrib();
}
