// glyph_font.cpp: rasterising a TrueType face into per-code textures and
// display lists through FreeType, and drawing lines of text with them.
#include "text/glyph_font.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <stdexcept>

// GL_CLAMP_TO_EDGE is OpenGL 1.2: Linux's gl.h has it, Windows' stops at 1.1.
#include <GL/glext.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

namespace {

constexpr FT_Long FACE_INDEX = 0;                   // first face of the file
constexpr FT_F26Dot6 POINT_26_6 = 64;               // one point in 26.6 fixed point
constexpr FT_UInt FONT_DPI = 96;                    // dots per inch, both axes
constexpr int ADVANCE_FRACTION_BITS = 6;            // 26.6 advance to whole pixels
constexpr FT_Bool DESTROY_SOURCE_GLYPH = 1;         // FT_Glyph_To_Bitmap replaces the glyph
constexpr int BYTES_PER_TEXEL = 2;                  // luminance, then alpha
constexpr GLint UNPACK_TIGHT = 1;                   // bytes; rows of a 1-texel texture are 2 bytes
constexpr GLint TEXTURE_LEVEL = 0;                  // base level only, no mipmaps
constexpr GLint TEXTURE_BORDER = 0;                 // texels
constexpr float LINE_HEIGHT_PER_POINT = 1.5873016f; // line spacing: height / 0.63, pen units
constexpr std::size_t FORMAT_BUFFER_SIZE = DRAW_TEXT_LIMIT + 1; // bytes, with the terminator
constexpr unsigned char FIRST_CODE_WITHOUT_GLYPH = GLYPH_COUNT; // bytes from here draw nothing
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
        glPixelStorei(GL_UNPACK_ALIGNMENT, UNPACK_TIGHT);
    }
    ~TightUnpack() { glPopClientAttrib(); }
    TightUnpack(const TightUnpack&) = delete;
    TightUnpack& operator=(const TightUnpack&) = delete;
};

// The rendered coverage of one glyph and its bearings, in pixels.
struct GlyphBitmap {
    const unsigned char* coverage = nullptr;
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
};

// Reads `glyph` as an 8-bit grey bitmap with packed rows. A glyph that did not
// become one (a failed conversion, an embedded bitmap of another pixel mode)
// reads as empty, so it draws nothing rather than misreading its buffer.
GlyphBitmap readBitmap(FT_Glyph glyph) {
    if (glyph->format != FT_GLYPH_FORMAT_BITMAP) {
        return {};
    }
    const auto bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    const bool packedGrey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.pitch == width;
    if (!packedGrey || width == 0 || rows == 0) {
        return {nullptr, 0, 0, bitmapGlyph->left, bitmapGlyph->top};
    }
    return {bitmap.buffer, width, rows, bitmapGlyph->left, bitmapGlyph->top};
}

// Rasterises code `code` of `face` into `texture` and compiles list `list`,
// which draws the glyph at the pen and moves the pen by its advance.
void buildGlyph(FT_Face face, FT_ULong code, GLuint texture, GLuint list) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) {
        throw std::runtime_error("FT_Load_Glyph failed");
    }
    GlyphHandle handle;
    if (FT_Get_Glyph(face->glyph, &handle.glyph) != 0) {
        throw std::runtime_error("FT_Get_Glyph failed");
    }
    FT_Glyph_To_Bitmap(&handle.glyph, FT_RENDER_MODE_NORMAL, nullptr, DESTROY_SOURCE_GLYPH);
    const GlyphBitmap bitmap = readBitmap(handle.glyph);

    const int textureWidth = glyphTextureSide(bitmap.width);
    const int textureHeight = glyphTextureSide(bitmap.rows);
    const std::vector<unsigned char> image =
        expandGlyph(bitmap.coverage, bitmap.width, bitmap.rows, textureWidth, textureHeight);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Glyphs are magnified with linear filtering; repeating wrap would blend a
    // glyph's far edge into its near one and draw a thin bar beside letters
    // whose bitmap fills the texture's width.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, TEXTURE_LEVEL, GL_RGBA, textureWidth, textureHeight, TEXTURE_BORDER,
                 GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, image.data());

    const auto width = static_cast<float>(bitmap.width);
    const auto rows = static_cast<float>(bitmap.rows);
    const float tx = width / static_cast<float>(textureWidth);
    const float ty = rows / static_cast<float>(textureHeight);
    const auto advance = static_cast<float>(face->glyph->advance.x >> ADVANCE_FRACTION_BITS);

    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(static_cast<float>(bitmap.left), 0.0f, 0.0f);
    glTranslatef(0.0f, static_cast<float>(bitmap.top) - rows, 0.0f);
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
    glTranslatef(advance, 0.0f, 0.0f);
    glEndList();
}

// Hands each run of bytes that have a glyph to the list range; bytes 128..255
// are skipped, so they neither draw nor reach lists past the font's own.
void callGlyphLists(std::string_view line) {
    const auto hasGlyph = [](char ch) {
        return static_cast<unsigned char>(ch) < FIRST_CODE_WITHOUT_GLYPH;
    };
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

void GlyphFont::build(const char* path, std::uint32_t pointHeight) {
    textureNames_.assign(GLYPH_COUNT, 0);
    height = static_cast<float>(pointHeight);

    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        throw std::runtime_error("FT_Init_FreeType failed");
    }
    const LibraryHandle library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), path, FACE_INDEX, &rawFace) != 0) {
        throw std::runtime_error(
            "FT_New_Face failed (there is probably a problem with your font file)");
    }
    const FaceHandle face(rawFace);
    const FT_F26Dot6 charSize = static_cast<FT_F26Dot6>(pointHeight) * POINT_26_6;
    FT_Set_Char_Size(face.get(), charSize, charSize, FONT_DPI, FONT_DPI);

    const GLuint firstList = glGenLists(GLYPH_COUNT);
    glGenTextures(GLYPH_COUNT, textureNames_.data());
    {
        const TightUnpack unpack;
        for (int code = 0; code < GLYPH_COUNT; ++code) {
            buildGlyph(face.get(), static_cast<FT_ULong>(code), textureNames_[code],
                       firstList + static_cast<GLuint>(code));
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
