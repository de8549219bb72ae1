// screen_images_test.cpp: the ten screen pictures drawn in a real GL window
// through the game's fixed view.
//
// Each picture is a placeholder written at test time: four quadrants in
// colours of its own, so that orientation and identity show in the pixels,
// and a one-pixel checkerboard that blurs unless one texel meets one pixel.
#include "media/screen_images.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/game_window.h"
#include "tests/support/gl_window.h"
#include "tests/support/png_io.h"
#include "tests/support/run_folder.h"

namespace {

using testsupport::Rgb;

constexpr int PICTURE_COUNT = 10;
constexpr int INSTRUCTIONS2 = 2; // indices into PICTURES
constexpr int GAME_OVER = 3;
constexpr int CHECKER_FIRST = 200;        // first pixel row and column of the checkerboard
constexpr int CHECKER_SIDE = 64;          // pixels
constexpr GLuint NAME_PROBE_LIMIT = 4096; // GL names searched when counting lists and textures
const Rgb WHITE = {255, 255, 255};
const Rgb BACKGROUND = {0, 0, 0};

struct Picture {
    const char* file; // under images/
    void (ScreenImages::*draw)() const;
    std::int32_t ScreenImages::*slot;
};

const std::array<Picture, PICTURE_COUNT> PICTURES = {{
    {"titlescreen.png", &ScreenImages::drawTitleScreen, &ScreenImages::titleImage},
    {"instructions.png", &ScreenImages::drawInstructions, &ScreenImages::instructionsImage},
    {"instructions2.png", &ScreenImages::drawInstructions2, &ScreenImages::instructions2Image},
    {"gameover.png", &ScreenImages::drawGameOver, &ScreenImages::gameOverImage},
    {"player1start.png", &ScreenImages::drawPlayer1Start, &ScreenImages::player1StartImage},
    {"player2start.png", &ScreenImages::drawPlayer2Start, &ScreenImages::player2StartImage},
    {"player1drawing.png", &ScreenImages::drawPlayer1Drawing, &ScreenImages::player1DrawingImage},
    {"player2drawing.png", &ScreenImages::drawPlayer2Drawing, &ScreenImages::player2DrawingImage},
    {"player1typing.png", &ScreenImages::drawPlayer1Typing, &ScreenImages::player1TypingImage},
    {"player2typing.png", &ScreenImages::drawPlayer2Typing, &ScreenImages::player2TypingImage},
}};

enum Quadrant { TopLeft, TopRight, BottomLeft, BottomRight };

// A colour for each quadrant of each picture, all different and none white or black.
Rgb quadrantColour(int picture, Quadrant quadrant) {
    return {40 + 20 * picture, 30 + 60 * quadrant, 100 + 10 * quadrant + 5 * picture};
}

Rgb checkerColour(int x, int y) {
    return (x + y) % 2 == 0 ? WHITE : BACKGROUND;
}

bool inChecker(int x, int y) {
    return x >= CHECKER_FIRST && x < CHECKER_FIRST + CHECKER_SIDE && y >= CHECKER_FIRST &&
           y < CHECKER_FIRST + CHECKER_SIDE;
}

// The quadrant of a picture pixel, which is also a window pixel.
Quadrant quadrantAt(int x, int y) {
    const bool right = x >= WINDOW_WIDTH / 2;
    const bool bottom = y >= WINDOW_HEIGHT / 2;
    return static_cast<Quadrant>((bottom ? 2 : 0) + (right ? 1 : 0));
}

void writePlaceholder(const std::filesystem::path& path, int picture) {
    testsupport::Image image = testsupport::solidImage(WINDOW_WIDTH, WINDOW_HEIGHT, 0, 0, 0);
    for (int y = 0; y < WINDOW_HEIGHT; ++y) {
        for (int x = 0; x < WINDOW_WIDTH; ++x) {
            const Rgb colour =
                inChecker(x, y) ? checkerColour(x, y) : quadrantColour(picture, quadrantAt(x, y));
            unsigned char* texel =
                &image.pixels[(static_cast<std::size_t>(y) * WINDOW_WIDTH + x) * 3];
            for (std::size_t c = 0; c < colour.size(); ++c) {
                texel[c] = static_cast<unsigned char>(colour[c]);
            }
        }
    }
    ASSERT_TRUE(testsupport::writePng(path.string(), image)) << path;
}

// The whole back buffer, read at once.
class Frame {
  public:
    Frame() : pixels_(static_cast<std::size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT * 3) {
        glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    }
    // Window pixel (px, py), origin top-left.
    Rgb at(int px, int py) const {
        const std::size_t i =
            (static_cast<std::size_t>(WINDOW_HEIGHT - 1 - py) * WINDOW_WIDTH + px) * 3;
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }
    bool operator==(const Frame&) const = default;

  private:
    std::vector<unsigned char> pixels_;
};

// Names below NAME_PROBE_LIMIT that are display lists, and that are textures.
struct GlNames {
    std::set<GLuint> lists;
    std::set<GLuint> textures;
    bool operator==(const GlNames&) const = default;
};

GlNames existingNames() {
    GlNames names;
    for (GLuint name = 1; name < NAME_PROBE_LIMIT; ++name) {
        if (glIsList(name) == GL_TRUE) {
            names.lists.insert(name);
        }
        if (glIsTexture(name) == GL_TRUE) {
            names.textures.insert(name);
        }
    }
    return names;
}

class ScreenImagesTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testsupport::ensureGlWindow());
        // The game's render state and fixed view; a black background shows
        // both uncovered pixels and blank (white) pictures.
        glShadeModel(GL_FLAT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glClearDepth(1.0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        testsupport::useGameView();

        // Each test builds the pictures afresh, even when the cases share a process.
        ScreenImages& images = ScreenImages::instance();
        for (const Picture& picture : PICTURES) {
            images.*picture.slot = EMPTY_SLOT;
        }
        images.setBounds(0.0, 0.0, 0.0, 0.0);

        for (int i = 0; i < PICTURE_COUNT; ++i) {
            ASSERT_NO_FATAL_FAILURE(writePlaceholder(imagePath(i), i));
        }
        workingDirectory.emplace(folder.path());
    }

    std::filesystem::path imagePath(int picture) const {
        return folder.file(std::string("images/") + PICTURES[picture].file);
    }

    // Loads and draws all ten with picture `broken` unreadable: that one is a
    // blank white rectangle, the other nine show normally, nothing is printed.
    void expectOnlyOneBlank(int broken);

    static Frame drawn(int picture) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        (ScreenImages::instance().*PICTURES[picture].draw)();
        return Frame();
    }

    testsupport::RunFolder folder;
    std::optional<testsupport::WorkingDirectory> workingDirectory;
};

// The picture fills the window upright and unmirrored with one texel a pixel.
void expectWholePicture(const Frame& frame, int picture) {
    // The quadrant centres, then the corner pixels.
    const std::array<std::array<int, 2>, 8> probes = {{{256, 192},
                                                       {768, 192},
                                                       {256, 576},
                                                       {768, 576},
                                                       {0, 0},
                                                       {WINDOW_WIDTH - 1, 0},
                                                       {0, WINDOW_HEIGHT - 1},
                                                       {WINDOW_WIDTH - 1, WINDOW_HEIGHT - 1}}};
    for (const auto& [x, y] : probes) {
        const Rgb expected = quadrantColour(picture, quadrantAt(x, y));
        EXPECT_TRUE(testsupport::nearColor(frame.at(x, y), expected))
            << PICTURES[picture].file << " at (" << x << ", " << y << ")";
    }
    int blurred = 0;
    for (int y = CHECKER_FIRST; y < CHECKER_FIRST + CHECKER_SIDE; ++y) {
        for (int x = CHECKER_FIRST; x < CHECKER_FIRST + CHECKER_SIDE; ++x) {
            blurred += testsupport::nearColor(frame.at(x, y), checkerColour(x, y)) ? 0 : 1;
        }
    }
    EXPECT_EQ(blurred, 0) << PICTURES[picture].file << ": checkerboard pixels off their texel";
}

void expectBlank(const Frame& frame, int picture) {
    for (const auto& [x, y] :
         std::array<std::array<int, 2>, 6>{{{0, 0},
                                            {WINDOW_WIDTH - 1, WINDOW_HEIGHT - 1},
                                            {256, 192},
                                            {768, 576},
                                            {CHECKER_FIRST + 1, CHECKER_FIRST},
                                            {512, 384}}}) {
        EXPECT_EQ(frame.at(x, y), WHITE)
            << PICTURES[picture].file << " at (" << x << ", " << y << ")";
    }
}

void ScreenImagesTest::expectOnlyOneBlank(int broken) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ScreenImages& images = ScreenImages::instance();
    images.loadAll();
    images.setBounds(75.0, 50.0, 0.0, -50.0);
    std::vector<Frame> frames;
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        frames.push_back(drawn(i));
    }
    const std::string printed =
        testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "");
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        EXPECT_GE(images.*PICTURES[i].slot, 0) << PICTURES[i].file;
        if (i == broken) {
            expectBlank(frames[i], i);
        } else {
            expectWholePicture(frames[i], i);
        }
    }
}

TEST_F(ScreenImagesTest, EveryPictureFillsTheWindowUprightAndUnmirrored) {
    ScreenImages& images = ScreenImages::instance();
    images.loadAll();
    images.setBounds(75.0, 50.0, 0.0, -50.0);
    EXPECT_EQ(images.top, 75.0);
    EXPECT_EQ(images.right, 50.0);
    EXPECT_EQ(images.bottom, 0.0);
    EXPECT_EQ(images.left, -50.0);
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        EXPECT_GE(images.*PICTURES[i].slot, 0) << PICTURES[i].file;
        expectWholePicture(drawn(i), i);
    }
}

TEST_F(ScreenImagesTest, FractionalAndReversedBoundsDrawTheSameWholeNumberPicture) {
    ScreenImages& images = ScreenImages::instance();
    images.loadAll();
    // 100.5 x 75.9 truncates to 100 x 75 around the centre (-0.25, 37.95):
    // x -50.25 to 49.75 and y 0.45 to 75.45, that is window columns -2.56 to
    // 1021.44 and rows -4.61 to 763.39, split at column 509.44 and row 379.39.
    images.setBounds(75.9, 50.0, 0.0, -50.5);
    const Frame ordered = drawn(0);
    EXPECT_TRUE(testsupport::nearColor(ordered.at(0, 0), quadrantColour(0, TopLeft)));
    EXPECT_TRUE(testsupport::nearColor(ordered.at(507, 377), quadrantColour(0, TopLeft)));
    EXPECT_TRUE(testsupport::nearColor(ordered.at(511, 377), quadrantColour(0, TopRight)));
    EXPECT_TRUE(testsupport::nearColor(ordered.at(507, 381), quadrantColour(0, BottomLeft)));
    EXPECT_TRUE(testsupport::nearColor(ordered.at(1020, 762), quadrantColour(0, BottomRight)));
    EXPECT_EQ(ordered.at(1022, 300), BACKGROUND) << "right of a 100-unit-wide picture";
    EXPECT_EQ(ordered.at(300, 764), BACKGROUND) << "below a 75-unit-high picture";

    images.setBounds(0.0, -50.5, 75.9, 50.0); // both pairs swapped
    EXPECT_TRUE(drawn(0) == ordered) << "reversed bounds changed the picture";
    images.setBounds(75.9, -50.5, 0.0, 50.0); // left and right swapped only
    EXPECT_TRUE(drawn(0) == ordered) << "swapped left and right changed the picture";
}

TEST_F(ScreenImagesTest, LoadAllBuildsOnlyEmptySlots) {
    ScreenImages& images = ScreenImages::instance();
    images.loadAll();
    images.setBounds(75.0, 50.0, 0.0, -50.0);
    std::array<std::int32_t, PICTURE_COUNT> built{};
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        built[i] = images.*PICTURES[i].slot;
    }
    const GlNames afterFirst = existingNames();

    images.loadAll();
    EXPECT_TRUE(existingNames() == afterFirst) << "a second loadAll made lists or textures";
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        EXPECT_EQ(images.*PICTURES[i].slot, built[i]) << PICTURES[i].file;
    }

    // Emptying one slot rebuilds that picture alone, with a texture of its own.
    images.gameOverImage = EMPTY_SLOT;
    images.loadAll();
    const GlNames afterRebuild = existingNames();
    EXPECT_EQ(afterRebuild.lists.size(), afterFirst.lists.size() + 1);
    EXPECT_EQ(afterRebuild.textures.size(), afterFirst.textures.size() + 1);
    EXPECT_EQ(afterRebuild.lists.count(static_cast<GLuint>(images.gameOverImage)), 1u);
    EXPECT_EQ(afterFirst.lists.count(static_cast<GLuint>(images.gameOverImage)), 0u);
    expectWholePicture(drawn(GAME_OVER), GAME_OVER);
}

TEST_F(ScreenImagesTest, DrawLeavesTexturingOffAndColourWhite) {
    ScreenImages& images = ScreenImages::instance();
    images.loadAll();
    images.setBounds(75.0, 50.0, 0.0, -50.0);
    GLfloat modelviewBefore[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewBefore);

    for (const bool texturingBefore : {false, true}) {
        SCOPED_TRACE(texturingBefore ? "texturing on before" : "texturing off before");
        texturingBefore ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        glColor4f(0.2f, 0.4f, 0.6f, 0.5f); // would darken the picture were it kept
        expectWholePicture(drawn(1), 1);

        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ((std::array{colour[0], colour[1], colour[2], colour[3]}),
                  (std::array{1.0f, 1.0f, 1.0f, 1.0f}));
        GLfloat modelviewAfter[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
        EXPECT_TRUE(std::equal(std::begin(modelviewBefore), std::end(modelviewBefore),
                               std::begin(modelviewAfter)));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ScreenImagesTest, DrawBeforeLoadAllDrawsNothing) {
    ScreenImages& images = ScreenImages::instance();
    images.setBounds(75.0, 50.0, 0.0, -50.0);
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        const Frame frame = drawn(i);
        EXPECT_EQ(frame.at(512, 384), BACKGROUND) << PICTURES[i].file;
        EXPECT_EQ(frame.at(0, 0), BACKGROUND) << PICTURES[i].file;
    }
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
}

TEST_F(ScreenImagesTest, MissingPictureIsBlankAndTheOtherNineShow) {
    folder.remove("images/gameover.png");
    expectOnlyOneBlank(GAME_OVER);
}

TEST_F(ScreenImagesTest, DamagedPictureIsBlankAndTheOtherNineShow) {
    std::ifstream in(imagePath(INSTRUCTIONS2), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    folder.overwrite("images/instructions2.png", bytes.substr(0, bytes.size() / 2));
    expectOnlyOneBlank(INSTRUCTIONS2);
}

} // namespace
