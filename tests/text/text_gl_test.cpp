// text_gl_test.cpp: the glyph font and the answers in a real GL context. The
// font's textures and lists are checked against FreeType's own rendering of
// the same face, and the answers' pixels against the game's fixed view.
#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <sanitizer/lsan_interface.h>
#include <string>
#include <vector>

#include "app/game_window.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "tests/support/gl_window.h"
#include "tests/support/run_folder.h"
#include "text/answer_text.h"
#include "text/glyph_font.h"
#include "text/glyph_layout.h"

namespace {

const std::string FONT_FILE = std::string(QUILLORY_RUN_DIR) + "/fonts/courier.ttf";
// A face with a one-pixel-wide grey '|' (the game's face has none at any size).
const std::string THIN_BAR_FONT_FILE = "/usr/share/fonts/truetype/freefont/FreeMono.ttf";
constexpr std::uint32_t GAME_FONT_HEIGHT = 12;     // points, as the answers use
constexpr std::uint32_t THIN_BAR_FONT_HEIGHT = 19; // points: that '|' is one pixel wide here
constexpr float ANSWER_LEFT = -46.0f;              // scene x of every answer row's pen
constexpr float GLYPH_SCALE = 0.13f;               // scene units per glyph pixel
constexpr int DARK = 128;                          // a channel below this is ink
constexpr int COLOUR_TOLERANCE = 3;                // per channel, 0..255
constexpr double EDGE_TOLERANCE = 2.0;             // pixels
constexpr float LINE_HEIGHT_PER_POINT = 1.5873016f;
constexpr FT_F26Dot6 POINT_26_6 = 64;    // one point in 26.6 fixed point
constexpr FT_UInt FONT_DPI = 96;         // dots per inch, both axes
constexpr int ADVANCE_FRACTION_BITS = 6; // 26.6 advance to whole pixels
constexpr int WHITE = 255;               // channel value of the cleared window
constexpr int REPORTED_STRAYS = 5;       // stray ink pixels named in a failure
constexpr float WHOLE_WINDOW = 1e4f;     // pen units, half a quad's side
constexpr int RGB = 3;
constexpr int RGBA = 4;

// FreeType's own rendering of one code of the test face, in pixels.
struct ReferenceGlyph {
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<unsigned char> coverage; // rows of `width` bytes
};

std::vector<ReferenceGlyph> renderReference(std::uint32_t height,
                                            const std::string& file = FONT_FILE) {
    struct LibraryCloser {
        void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    };
    struct FaceCloser {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };
    FT_Library rawLibrary = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&rawLibrary), 0);
    const std::unique_ptr<FT_LibraryRec_, LibraryCloser> library(rawLibrary);
    FT_Face rawFace = nullptr;
    EXPECT_EQ(FT_New_Face(library.get(), file.c_str(), 0, &rawFace), 0);
    const std::unique_ptr<FT_FaceRec_, FaceCloser> face(rawFace);
    if (face == nullptr) {
        return {};
    }
    const FT_F26Dot6 size = static_cast<FT_F26Dot6>(height) * POINT_26_6;
    FT_Set_Char_Size(face.get(), size, size, FONT_DPI, FONT_DPI);
    std::vector<ReferenceGlyph> glyphs(FONT_CODE_COUNT);
    for (FT_ULong code = 0; code < FONT_CODE_COUNT; ++code) {
        if (!fontDrawsCode(static_cast<unsigned char>(code))) {
            continue;
        }
        EXPECT_EQ(FT_Load_Char(face.get(), code, FT_LOAD_RENDER), 0);
        const FT_GlyphSlot slot = face->glyph;
        ReferenceGlyph& glyph = glyphs[code];
        glyph.width = static_cast<int>(slot->bitmap.width);
        glyph.rows = static_cast<int>(slot->bitmap.rows);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advance = static_cast<int>(slot->advance.x >> ADVANCE_FRACTION_BITS);
        for (int j = 0; j < glyph.rows; ++j) {
            const unsigned char* row = slot->bitmap.buffer + j * slot->bitmap.pitch;
            glyph.coverage.insert(glyph.coverage.end(), row, row + glyph.width);
        }
    }
    return glyphs;
}

// The RGBA texels of one texture, rows top first as uploaded.
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels;
};

TextureImage readTexture(GLuint name) {
    TextureImage image;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.texels.resize(static_cast<std::size_t>(RGBA * image.width * image.height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.texels.data());
    return image;
}

// The whole back buffer, origin top-left.
struct Frame {
    std::vector<unsigned char> pixels;

    testsupport::Rgb at(int px, int py) const {
        const unsigned char* p =
            &pixels[static_cast<std::size_t>((WINDOW_HEIGHT - 1 - py) * WINDOW_WIDTH + px) * RGB];
        return {p[0], p[1], p[2]};
    }
    bool ink(int px, int py) const {
        const testsupport::Rgb rgb = at(px, py);
        return rgb[0] < DARK || rgb[1] < DARK || rgb[2] < DARK;
    }
    bool blank() const {
        return std::all_of(pixels.begin(), pixels.end(),
                           [](unsigned char c) { return c == WHITE; });
    }
};

Frame readFrame() {
    Frame frame;
    frame.pixels.resize(static_cast<std::size_t>(WINDOW_WIDTH * WINDOW_HEIGHT * RGB));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, frame.pixels.data());
    return frame;
}

void clearWhite() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}


// One pen unit per window pixel, origin at the window's bottom-left corner.
void usePixelView() {
    glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, WINDOW_WIDTH, 0.0, WINDOW_HEIGHT, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A window-pixel rectangle, edges inclusive of the pixels they bound.
struct Box {
    double left, top, right, bottom;

    bool holds(int px, int py, double margin) const {
        return px + 0.5 >= left - margin && px + 0.5 <= right + margin &&
               py + 0.5 >= top - margin && py + 0.5 <= bottom + margin;
    }
};

// Where glyph `glyph` lands when its pen stands at scene (PEN_X, baseline).
Box sceneGlyphBox(const ReferenceGlyph& glyph, float PEN_X, float baseline) {
    using testsupport::sceneToPixelX;
    using testsupport::sceneToPixelY;
    return {sceneToPixelX(PEN_X + GLYPH_SCALE * static_cast<float>(glyph.left)),
            sceneToPixelY(baseline + GLYPH_SCALE * static_cast<float>(glyph.top)),
            sceneToPixelX(PEN_X + GLYPH_SCALE * static_cast<float>(glyph.left + glyph.width)),
            sceneToPixelY(baseline + GLYPH_SCALE * static_cast<float>(glyph.top - glyph.rows))};
}

// Every ink pixel of `frame` lies in one of `boxes`, and every box with a
// visible glyph holds ink.
void expectInkOnlyIn(const Frame& frame, const std::vector<Box>& boxes) {
    std::vector<bool> inked(boxes.size(), false);
    int strays = 0;
    for (int py = 0; py < WINDOW_HEIGHT; ++py) {
        for (int px = 0; px < WINDOW_WIDTH; ++px) {
            if (!frame.ink(px, py)) {
                continue;
            }
            bool placed = false;
            for (std::size_t b = 0; b < boxes.size(); ++b) {
                if (boxes[b].holds(px, py, EDGE_TOLERANCE)) {
                    inked[b] = placed = true;
                }
            }
            if (!placed && strays++ < REPORTED_STRAYS) {
                ADD_FAILURE() << "ink at (" << px << ", " << py << ")";
            }
        }
    }
    EXPECT_EQ(strays, 0) << "ink pixels outside the expected glyphs";
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        EXPECT_TRUE(inked[b]) << "no ink in glyph box " << b << " at x " << boxes[b].left << ", y "
                              << boxes[b].top;
    }
}

class TextGl : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::ensureGlWindow();
        ASSERT_FALSE(HasFatalFailure());
    }
    GlyphFont& buildFont(std::uint32_t height, const std::string& file = FONT_FILE) {
        GlyphFont& font = GlyphFont::instance();
        font.build(file.c_str(), height);
        return font;
    }
};

// Every texture holds its glyph's coverage as FreeType renders it, in both
// luminance and alpha, padded with zeros to a power-of-two size.
void expectTexturesMatchFreeType(const GlyphFont& font, const std::vector<ReferenceGlyph>& glyphs) {
    ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(FONT_CODE_COUNT));
    for (int code = 0; code < FONT_CODE_COUNT; ++code) {
        if (!fontDrawsCode(static_cast<unsigned char>(code))) {
            continue;
        }
        const ReferenceGlyph& glyph = glyphs[static_cast<std::size_t>(code)];
        const TextureImage image = readTexture(font.textures[code]);
        ASSERT_EQ(image.width, glyphTextureSide(glyph.width)) << "code " << code;
        ASSERT_EQ(image.height, glyphTextureSide(glyph.rows)) << "code " << code;
        int wrong = 0;
        for (int j = 0; j < image.height; ++j) {
            for (int i = 0; i < image.width; ++i) {
                const int value =
                    (i < glyph.width && j < glyph.rows)
                        ? glyph.coverage[static_cast<std::size_t>(j * glyph.width + i)]
                        : 0;
                const unsigned char* texel =
                    &image.texels[static_cast<std::size_t>((j * image.width + i) * RGBA)];
                for (int c = 0; c < RGBA; ++c) {
                    wrong += texel[c] != value;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "code " << code << " (" << glyph.width << " x " << glyph.rows << ")";
    }
}

TEST_F(TextGl, TexturesHoldTheRasterisedGlyphsAndTheUnpackStateComesBack) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GlyphFont& font = buildFont(GAME_FONT_HEIGHT);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    ASSERT_TRUE(font.built());
    EXPECT_FLOAT_EQ(font.height, 12.0f);
    expectTexturesMatchFreeType(font, renderReference(GAME_FONT_HEIGHT));
}

TEST_F(TextGl, BuildingLeavesNoFreeTypeObjectBehind) {
    buildFont(GAME_FONT_HEIGHT);
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
}

TEST_F(TextGl, OneTexelWideGlyphUploadsRowByRow) {
    const std::vector<ReferenceGlyph> glyphs =
        renderReference(THIN_BAR_FONT_HEIGHT, THIN_BAR_FONT_FILE);
    ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(FONT_CODE_COUNT));
    const ReferenceGlyph& bar = glyphs['|'];
    ASSERT_EQ(bar.width, 1) << "the test face no longer has a one-pixel bar at this size";
    ASSERT_GT(bar.rows, 2);
    // With the default 4-byte row alignment the rows of a 1-texel texture
    // would be read 4 bytes apart instead of 2.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    expectTexturesMatchFreeType(buildFont(THIN_BAR_FONT_HEIGHT, THIN_BAR_FONT_FILE), glyphs);
}

TEST_F(TextGl, EveryGlyphListMovesThePenByItsWholePixelAdvance) {
    const GlyphFont& font = buildFont(GAME_FONT_HEIGHT);
    const std::vector<ReferenceGlyph> glyphs = renderReference(GAME_FONT_HEIGHT);
    ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(FONT_CODE_COUNT));

    const ReferenceGlyph& space = glyphs[' '];
    ASSERT_EQ(space.width * space.rows, 0);
    const TextureImage spaceTexture = readTexture(font.textures[' ']);
    EXPECT_EQ(spaceTexture.width, 1);
    EXPECT_EQ(spaceTexture.height, 1);
    EXPECT_GT(space.advance, 0);

    glMatrixMode(GL_MODELVIEW);
    for (int code = 0; code < FONT_CODE_COUNT; ++code) {
        if (!fontDrawsCode(static_cast<unsigned char>(code))) {
            continue;
        }
        ASSERT_TRUE(glIsList(font.listBase + static_cast<GLuint>(code))) << "code " << code;
        glLoadIdentity();
        glCallList(font.listBase + static_cast<GLuint>(code));
        std::array<GLfloat, 16> matrix{};
        glGetFloatv(GL_MODELVIEW_MATRIX, matrix.data());
        EXPECT_FLOAT_EQ(matrix[12], static_cast<float>(glyphs[code].advance)) << "code " << code;
        EXPECT_FLOAT_EQ(matrix[13], 0.0f) << "code " << code;
    }
}

TEST_F(TextGl, GlyphQuadsReproduceTheCoverageAtThePen) {
    const GlyphFont& font = buildFont(GAME_FONT_HEIGHT);
    const std::vector<ReferenceGlyph> glyphs = renderReference(GAME_FONT_HEIGHT);
    ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(FONT_CODE_COUNT));
    constexpr int PEN_X = 100; // pixels from the left
    constexpr int PEN_Y = 100; // pixels from the bottom
    const std::string text = "Fg|";

    clearWhite();
    usePixelView();
    glTranslatef(PEN_X, PEN_Y, 0.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    drawLiteralText(font, text);
    const Frame frame = readFrame();

    // Black text over white: each covered pixel shows 255 minus its coverage.
    int glyphPen = PEN_X;
    for (const char ch : text) {
        const ReferenceGlyph& glyph = glyphs[static_cast<unsigned char>(ch)];
        for (int j = 0; j < glyph.rows; ++j) {
            for (int i = 0; i < glyph.width; ++i) {
                const int px = glyphPen + glyph.left + i;
                const int py = WINDOW_HEIGHT - (PEN_Y + glyph.top - j);
                const int expected =
                    WHITE - glyph.coverage[static_cast<std::size_t>(j * glyph.width + i)];
                const testsupport::Rgb seen = frame.at(px, py);
                ASSERT_TRUE(
                    testsupport::nearColor(seen, {expected, expected, expected}, COLOUR_TOLERANCE))
                    << "'" << ch << "' texel (" << i << ", " << j << ") shows " << seen[0]
                    << ", expected " << expected;
            }
        }
        glyphPen += glyph.advance;
    }
}

// What text drawing may touch: switches, matrix mode, colour, stacks, matrices.
struct CallerState {
    std::array<GLboolean, 4> switches{};
    GLint matrixMode = 0;
    std::array<GLfloat, 4> colour{};
    GLint modelviewDepth = 0;
    GLint attribDepth = 0;
    std::array<GLfloat, 16> modelview{};
    std::array<GLfloat, 16> projection{};

    static CallerState read() {
        CallerState state;
        const GLenum capabilities[] = {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_BLEND};
        for (std::size_t i = 0; i < state.switches.size(); ++i) {
            state.switches[i] = glIsEnabled(capabilities[i]);
        }
        glGetIntegerv(GL_MATRIX_MODE, &state.matrixMode);
        glGetFloatv(GL_CURRENT_COLOR, state.colour.data());
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state.modelviewDepth);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &state.attribDepth);
        glGetFloatv(GL_MODELVIEW_MATRIX, state.modelview.data());
        glGetFloatv(GL_PROJECTION_MATRIX, state.projection.data());
        return state;
    }
    bool operator==(const CallerState&) const = default;
};

void setSwitch(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

TEST_F(TextGl, DrawTextLeavesTheCallersStateAsItFoundIt) {
    const GlyphFont& font = buildFont(GAME_FONT_HEIGHT);
    for (const bool lit : {true, false}) {
        testsupport::useGameView();
        glPushMatrix();
        glTranslatef(-20.0f, 30.0f, 0.0f);
        setSwitch(GL_LIGHTING, lit);
        setSwitch(GL_TEXTURE_2D, !lit);
        setSwitch(GL_DEPTH_TEST, lit);
        setSwitch(GL_BLEND, !lit);
        glMatrixMode(lit ? GL_PROJECTION : GL_TEXTURE);
        glColor4f(0.25f, 0.5f, 0.75f, lit ? 1.0f : 0.5f);

        const CallerState before = CallerState::read();
        drawText(font, "Hi\nthere %d", 42);
        EXPECT_EQ(CallerState::read(), before) << "after text, lighting " << lit;
        const char* noFormat = nullptr;
        drawText(font, noFormat);
        EXPECT_EQ(CallerState::read(), before) << "after a null format, lighting " << lit;

        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glDisable(GL_LIGHTING);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Draws `draw` in black into a cleared window through the pixel view, moved to
// (x, y) and scaled by `scale`, and returns the frame.
template <typename Draw> Frame drawnAt(float x, float y, float scale, Draw draw) {
    clearWhite();
    usePixelView();
    glTranslatef(x, y, 0.0f);
    glScalef(scale, scale, 1.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    draw();
    return readFrame();
}

// Pixel-wise darker of two frames: what both drawings together show when
// their glyphs do not overlap.
Frame darker(const Frame& a, const Frame& b) {
    Frame both = a;
    std::transform(a.pixels.begin(), a.pixels.end(), b.pixels.begin(), both.pixels.begin(),
                   [](unsigned char p, unsigned char q) { return std::min(p, q); });
    return both;
}

int differingBytes(const Frame& a, const Frame& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        count += std::abs(a.pixels[i] - b.pixels[i]) > COLOUR_TOLERANCE;
    }
    return count;
}

TEST_F(TextGl, LinesStepDownOneLineHeightInEyeCoordinates) {
    const GlyphFont& font = buildFont(GAME_FONT_HEIGHT);
    const float lineHeight = font.height * LINE_HEIGHT_PER_POINT;
    constexpr float x = 200.0f;
    constexpr float y = 400.0f;
    constexpr float SCALE = 0.5f; // the caller's scale does not reach the line step

    const Frame twoLines = drawnAt(x, y, SCALE, [&] { drawLiteralText(font, "M\nW"); });
    const Frame first = drawnAt(x, y, SCALE, [&] { drawLiteralText(font, "M"); });
    const Frame second = drawnAt(x, y - lineHeight, SCALE, [&] { drawLiteralText(font, "W"); });
    ASSERT_FALSE(first.blank());
    ASSERT_FALSE(second.blank());
    EXPECT_EQ(differingBytes(twoLines, darker(first, second)), 0);

    const Frame trailingFeed = drawnAt(x, y, SCALE, [&] { drawLiteralText(font, "M\n"); });
    EXPECT_EQ(differingBytes(trailingFeed, first), 0);
}

TEST_F(TextGl, DrawTextFormatsOnceAndCutsAt255Bytes) {
    const GlyphFont& font = buildFont(GAME_FONT_HEIGHT);
    constexpr float x = 100.0f;
    constexpr float y = 700.0f;

    const Frame formatted = drawnAt(x, y, 1.0f, [&] { drawText(font, "%d-%s", 42, "ab"); });
    const Frame literal = drawnAt(x, y, 1.0f, [&] { drawLiteralText(font, "42-ab"); });
    ASSERT_FALSE(literal.blank());
    EXPECT_EQ(differingBytes(formatted, literal), 0);

    // 255 spaces fill the buffer: the line after them must not be drawn.
    const std::string tooLong = std::string(DRAW_TEXT_LIMIT, ' ') + "\nMMMM";
    ASSERT_FALSE(drawnAt(x, y, 1.0f, [&] { drawLiteralText(font, tooLong); }).blank());
    EXPECT_TRUE(drawnAt(x, y, 1.0f, [&] { drawText(font, "%s", tooLong.c_str()); }).blank());
}

// Glyph boxes of `text` drawn as answer row `row`, skipping bytes without glyphs.
std::vector<Box> answerRowBoxes(const std::vector<ReferenceGlyph>& glyphs, std::string_view text,
                                int row) {
    std::vector<Box> boxes;
    float pen = ANSWER_LEFT;
    for (const char ch : text) {
        const auto code = static_cast<unsigned char>(ch);
        if (!fontDrawsCode(code)) {
            continue;
        }
        const ReferenceGlyph& glyph = glyphs[code];
        if (glyph.width > 0 && glyph.rows > 0 && ch != ' ') {
            boxes.push_back(sceneGlyphBox(glyph, pen, answerRowBaseline(row)));
        }
        pen += GLYPH_SCALE * static_cast<float>(glyph.advance);
    }
    return boxes;
}

class AnswerGl : public TextGl {
  protected:
    void SetUp() override {
        TextGl::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        const testsupport::RunFolder folder;
        const testsupport::WorkingDirectory inFolder(folder.path());
        answer1.init();
        answer2.init();
        glyphs = renderReference(GAME_FONT_HEIGHT);
        ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(FONT_CODE_COUNT));
    }
    Frame drawAnswer(const std::string& text) {
        clearWhite();
        testsupport::useGameView();
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        answer1.setText(text);
        answer1.draw();
        return readFrame();
    }
    std::vector<ReferenceGlyph> glyphs;
};

TEST_F(AnswerGl, InitBuildsTheFontOnceAndEmptiesTheText) {
    GlyphFont& font = GlyphFont::instance();
    ASSERT_TRUE(font.built());
    const GLuint listBase = font.listBase;
    const GLuint* textures = font.textures;
    answer1.setText("kept?");
    answer2.setText("kept?");
    const testsupport::RunFolder folder;
    const testsupport::WorkingDirectory inFolder(folder.path());
    answer2.init();
    EXPECT_EQ(answer2.text(), "");
    EXPECT_EQ(answer1.text(), "kept?");
    EXPECT_EQ(font.listBase, listBase);
    EXPECT_EQ(font.textures, textures);
}

TEST_F(AnswerGl, RowsStartAtTheLeftEdgeOnBaselinesTwoUnitsApart) {
    // Each of six rows starts with a letter, the rest spaces: 474 bytes.
    const std::string letters = "HEIKLN";
    std::string text(ANSWER_MAX_LENGTH, ' ');
    std::vector<Box> boxes;
    for (std::size_t row = 0; row < letters.size(); ++row) {
        text[row * ANSWER_ROW_LENGTH] = letters[row];
        const std::vector<Box> rowBoxes =
            answerRowBoxes(glyphs, letters.substr(row, 1), static_cast<int>(row));
        boxes.insert(boxes.end(), rowBoxes.begin(), rowBoxes.end());
    }
    ASSERT_EQ(boxes.size(), letters.size());
    // Row 0's baseline, scene y 13.5, is window row 630; its pen at x -46 is column 41.
    EXPECT_NEAR(testsupport::sceneToPixelY(answerRowBaseline(0)), 629.76, 0.01);
    EXPECT_NEAR(testsupport::sceneToPixelX(ANSWER_LEFT), 40.96, 0.01);

    const Frame frame = drawAnswer(text);
    expectInkOnlyIn(frame, boxes);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(AnswerGl, The80thByteStartsTheSecondRow) {
    // Byte 0 and byte 79 both stand at the start of a row.
    const std::string text = "A" + std::string(ANSWER_ROW_LENGTH - 1, ' ') + "B";
    std::vector<Box> boxes = answerRowBoxes(glyphs, "A", 0);
    const std::vector<Box> second = answerRowBoxes(glyphs, "B", 1);
    boxes.insert(boxes.end(), second.begin(), second.end());
    expectInkOnlyIn(drawAnswer(text), boxes);
}

TEST_F(AnswerGl, PercentSignsAndControlBytesDrawAsTheirOwnGlyphs) {
    const std::string text = "%s%n%x\r\t\x1b%";
    const Frame frame = drawAnswer(text);
    expectInkOnlyIn(frame, answerRowBoxes(glyphs, text, 0));
}

TEST_F(AnswerGl, ControlBytes128To159DrawNothingAndCallNoList) {
    // Were the font to call the lists it reserves for these codes, each would
    // cover the whole window in red.
    const GlyphFont& font = GlyphFont::instance();
    for (GLuint offset = GLYPH_COUNT; offset < FIRST_LATIN1_CODE; ++offset) {
        glNewList(font.listBase + offset, GL_COMPILE);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1.0f, 0.0f, 0.0f);
        glRectf(-WHOLE_WINDOW, -WHOLE_WINDOW, WHOLE_WINDOW, WHOLE_WINDOW);
        glEndList();
    }
    EXPECT_TRUE(drawAnswer("\x80\x85\x9f").blank());
    const std::string text = "A\x80"
                             "B\x9f";
    expectInkOnlyIn(drawAnswer(text), answerRowBoxes(glyphs, text, 0));
}

TEST_F(AnswerGl, AccentedLetterDrawsInkAtItsColumn) {
    // "café" in Latin-1, as the keyboard delivers it: the e-acute is the
    // fourth glyph, after the advances of c, a and f.
    const std::string text = "caf\xe9";
    const std::vector<Box> boxes = answerRowBoxes(glyphs, text, 0);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_LT(boxes.back().top, answerRowBoxes(glyphs, "cafe", 0).back().top)
        << "the accent rises above the plain e";
    expectInkOnlyIn(drawAnswer(text), boxes);
}

TEST_F(AnswerGl, EmptyAnswerDrawsNothing) {
    answer1.setText("");
    answer1.deleteLast();
    EXPECT_TRUE(drawAnswer(answer1.text()).blank());
}

} // namespace
