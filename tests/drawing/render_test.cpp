// render_test.cpp: strokes, views and the palette drawn through the game's
// projection in a real GL context, read back pixel by pixel.
#include <GL/gl.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

#include "drawing/palette.h"
#include "drawing/pen.h"
#include "game/game_state.h"
#include "tests/support/gl_window.h"

using testsupport::Rgb;

namespace {

constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb RED{255, 0, 0};
constexpr Rgb GREEN{0, 255, 0};
constexpr Rgb BLUE{0, 0, 255};
// Pixels whose centre is within this distance of an edge can go either way,
// so probes keep at least one pixel (about 0.1 scene units) clear of edges.
constexpr double EDGE_MARGIN = 0.1; // scene units

class StrokeRendering : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::ensureGlWindow();
        testsupport::useGameView();
        glShadeModel(GL_FLAT);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        clear();
        inputMode = Idle;
        currentPlayer = 0;
        palette.init();
        palette.pickAt(36.0f, 44.0f); // black, whatever an earlier test here picked
    }

    static void clear() {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // The colour of the pixel that holds scene point (x, y).
    static Rgb at(double x, double y) {
        glFinish();
        return testsupport::readPixel(static_cast<int>(std::floor(testsupport::sceneToPixelX(x))),
                                      static_cast<int>(std::floor(testsupport::sceneToPixelY(y))));
    }

    static std::array<GLfloat, 16> modelview() {
        std::array<GLfloat, 16> matrix{};
        glGetFloatv(GL_MODELVIEW_MATRIX, matrix.data());
        return matrix;
    }
};

std::unique_ptr<Stroke> stroke(const Rgb& color,
                               std::initializer_list<std::array<float, 2>> points) {
    auto result = std::make_unique<Stroke>();
    result->setWidth(1.0f);
    result->setColor(static_cast<float>(color[0]) / 255.0f, static_cast<float>(color[1]) / 255.0f,
                     static_cast<float>(color[2]) / 255.0f);
    const auto* point = points.begin();
    Segment first;
    first.setStartX((*point)[0]);
    first.setStartY((*point)[1]);
    ++point;
    first.setEndX((*point)[0]);
    first.setEndY((*point)[1]);
    first.computeDirection();
    result->appendSegment(first);
    for (++point; point != points.end(); ++point) {
        result->extendTo((*point)[0], (*point)[1]);
    }
    return result;
}

// Draws a stroke through the pen: press, accepted points, release at the last.
void penStroke(std::initializer_list<std::array<float, 2>> points) {
    const auto* point = points.begin();
    penDown((*point)[0], (*point)[1]);
    const std::array<float, 2>* last = point;
    for (++point; point != points.end(); ++point) {
        penDrag((*point)[0], (*point)[1]);
        last = point;
    }
    penUp((*last)[0], (*last)[1]);
}

} // namespace

// A band one unit wide, centred on its segment, with square ends.
TEST_F(StrokeRendering, BandCoversHalfTheWidthOnEachSideAndNothingBeyond) {
    const auto band = stroke(RED, {{0.0f, 0.0f}, {4.0f, 0.0f}});
    glPushMatrix();
    glTranslatef(0.0f, 30.0f, 0.0f);
    band->draw();
    glPopMatrix();

    int paintedRows = 0;
    for (double y = 28.0; y <= 32.0; y += 0.02) {
        const double off = std::abs(y - 30.0);
        if (off < 0.5 - EDGE_MARGIN) {
            EXPECT_EQ(at(2.0, y), RED) << "y " << y;
        } else if (off > 0.5 + EDGE_MARGIN) {
            EXPECT_EQ(at(2.0, y), WHITE) << "y " << y;
        }
    }
    const int column = static_cast<int>(testsupport::sceneToPixelX(2.0));
    for (int row = 0; row < 768; ++row) {
        paintedRows += testsupport::readPixel(column, row) == RED ? 1 : 0;
    }
    EXPECT_GE(paintedRows, 10); // 1 unit is 10.24 pixels
    EXPECT_LE(paintedRows, 11);
    for (double x = -1.0; x <= 5.0; x += 0.02) {
        if (x > EDGE_MARGIN && x < 4.0 - EDGE_MARGIN) {
            EXPECT_EQ(at(x, 30.0), RED) << "x " << x;
        } else if (x < -EDGE_MARGIN || x > 4.0 + EDGE_MARGIN) {
            EXPECT_EQ(at(x, 30.0), WHITE) << "x " << x;
        }
    }
}

// Right, then up: the bands leave a notch at the outer corner (4.5, -0.5),
// which the join closes with a bevel from (4, -0.5) to (4.5, 0).
TEST_F(StrokeRendering, RightAngleJoinFillsTheOuterNotchWithABevel) {
    const auto bend = stroke(BLUE, {{0.0f, 0.0f}, {4.0f, 0.0f}, {4.0f, 3.0f}});
    glPushMatrix();
    glTranslatef(0.0f, 30.0f, 0.0f);
    bend->draw();
    glPopMatrix();

    EXPECT_EQ(at(4.15, 29.85), BLUE); // inside the notch, inside the bevel
    EXPECT_EQ(at(4.3, 29.95), BLUE);
    EXPECT_EQ(at(4.05, 29.6), BLUE);
    EXPECT_EQ(at(4.4, 29.6), WHITE); // the corner beyond the bevel stays open
    EXPECT_EQ(at(3.7, 30.3), BLUE);  // inside of the bend, under both bands
    EXPECT_EQ(at(4.3, 32.5), BLUE);  // the second band
    EXPECT_EQ(at(4.3, 33.3), WHITE); // which ends square
}

// The zero-length tail after a rightward segment turns the end into a point
// reaching half a unit beyond it; after an upward segment the end stays square.
TEST_F(StrokeRendering, ZeroLengthTailAddsAPointedTip) {
    const int before = player1Drawing.strokeCount();
    penStroke({{10.0f, 30.0f}, {14.0f, 30.0f}});
    penStroke({{20.0f, 30.0f}, {20.0f, 34.0f}});
    ASSERT_EQ(player1Drawing.strokeCount(), before + 2);
    ASSERT_EQ(player1Drawing.stroke(before).segmentCount(), 2);
    player1Drawing.draw();

    const Rgb black{0, 0, 0};
    EXPECT_EQ(at(14.3, 30.0), black);  // the tip
    EXPECT_EQ(at(14.2, 30.15), black); // inside the diamond
    EXPECT_EQ(at(14.3, 30.35), WHITE); // beside it
    EXPECT_EQ(at(14.6, 30.0), WHITE);  // beyond its point
    EXPECT_EQ(at(14.3, 29.65), WHITE);

    EXPECT_EQ(at(20.3, 33.8), black); // the upward band
    EXPECT_EQ(at(20.0, 34.2), WHITE); // square end: nothing past it
    EXPECT_EQ(at(20.35, 34.15), WHITE);
}

TEST_F(StrokeRendering, LaterStrokesCoverEarlierOnes) {
    Drawing redLast;
    redLast.addStroke(stroke(BLUE, {{-6.0f, 46.0f}, {-6.0f, 54.0f}}));
    redLast.addStroke(stroke(RED, {{-10.0f, 50.0f}, {-2.0f, 50.0f}}));
    Drawing blueLast;
    blueLast.addStroke(stroke(RED, {{10.0f, 50.0f}, {18.0f, 50.0f}}));
    blueLast.addStroke(stroke(BLUE, {{14.0f, 46.0f}, {14.0f, 54.0f}}));
    redLast.draw();
    blueLast.draw();

    EXPECT_EQ(at(-6.0, 50.0), RED);
    EXPECT_EQ(at(-6.0, 53.0), BLUE);
    EXPECT_EQ(at(14.0, 50.0), BLUE);
    EXPECT_EQ(at(12.0, 50.0), RED);
}

TEST_F(StrokeRendering, EmptyDrawingDrawsNothing) {
    const Drawing empty;
    empty.draw();
    for (double x = -45.0; x < 45.0; x += 5.0) {
        for (double y = 5.0; y < 75.0; y += 5.0) {
            EXPECT_EQ(at(x, y), WHITE);
        }
    }
}

// The live view adds the stroke in progress and the one-pixel pen line in its
// colour; the picture view shows only finished strokes.
TEST_F(StrokeRendering, LiveViewAddsTheStrokeInProgressAndThePenLine) {
    palette.pickAt(41.0f, 54.0f); // red
    penStroke({{-30.0f, 40.0f}, {-25.0f, 40.0f}});
    palette.pickAt(41.0f, 44.0f); // sky blue
    penDown(-30.0f, 50.0f);
    penDrag(-26.0f, 50.0f); // accepted
    penDrag(-25.6f, 50.0f); // held back: the pen line runs 0.4 units on
    const Rgb paletteRed{248, 11, 33};
    const Rgb skyBlue{11, 150, 248};
    const int lineColumn = static_cast<int>(testsupport::sceneToPixelX(-25.75));
    const int lineRow = static_cast<int>(testsupport::sceneToPixelY(50.0));
    const auto penLineShows = [&] {
        glFinish();
        for (int row = lineRow - 2; row <= lineRow + 2; ++row) {
            if (testsupport::nearColor(testsupport::readPixel(lineColumn, row), skyBlue)) {
                return true;
            }
        }
        return false;
    };

    drawLiveView(player1Drawing);
    EXPECT_TRUE(testsupport::nearColor(at(-27.5, 40.0), paletteRed));
    EXPECT_TRUE(testsupport::nearColor(at(-28.0, 50.0), skyBlue));
    EXPECT_TRUE(penLineShows());
    EXPECT_EQ(at(-25.75, 50.4), WHITE); // a line, not a band

    clear();
    drawPictureView(player1Drawing);
    EXPECT_TRUE(testsupport::nearColor(at(-27.5, 40.0), paletteRed));
    EXPECT_EQ(at(-28.0, 50.0), WHITE);
    EXPECT_FALSE(penLineShows());
}

TEST_F(StrokeRendering, PaletteCellsShowTheirColoursAndTheSwatchTheSelection) {
    const auto before = modelview();
    palette.draw();
    EXPECT_EQ(modelview(), before);
    const std::array<Rgb, PALETTE_SIZE> cells{{
        {0, 0, 0},
        {255, 6, 176},
        {122, 250, 242},
        {255, 165, 9},
        {233, 79, 224},
        {11, 150, 248},
        {50, 255, 98},
        {248, 11, 33},
        {255, 255, 0},
        {193, 6, 112},
    }};
    for (int k = 0; k < PALETTE_SIZE; ++k) {
        const double x = 36.0 + 5.0 * (k / 5);
        const double y = 44.0 + 5.0 * (k % 5);
        EXPECT_TRUE(testsupport::nearColor(at(x, y), cells[static_cast<std::size_t>(k)], 1))
            << "cell " << k;
    }
    EXPECT_EQ(at(42.5, 36.5), (Rgb{0, 0, 0}));
    EXPECT_EQ(at(41.3, 36.5), WHITE); // the swatch spans x 41.5 .. 43.5
    EXPECT_EQ(at(42.5, 37.7), WHITE); // and y 35.5 .. 37.5

    palette.pickAt(40.0f, 64.0f);
    clear();
    palette.draw();
    EXPECT_TRUE(testsupport::nearColor(at(42.5, 36.5), cells[9], 1));
    EXPECT_TRUE(testsupport::nearColor(at(41.7, 35.7), cells[9], 1));
    EXPECT_TRUE(testsupport::nearColor(at(43.3, 37.3), cells[9], 1));
}

// At 60 %, player 2's point (0, 30) lands at (30.8, 42.5) and player 1's at
// (-19, 42.5); the width shrinks with the picture to 0.6.
TEST_F(StrokeRendering, GameOverPairShowsBothDrawingsReduced) {
    player1Drawing.addStroke(stroke(RED, {{-2.0f, 30.0f}, {2.0f, 30.0f}}));
    player2Drawing.addStroke(stroke(GREEN, {{-2.0f, 30.0f}, {2.0f, 30.0f}}));
    const auto before = modelview();
    drawGameOverPair();
    EXPECT_EQ(modelview(), before);

    EXPECT_EQ(at(30.8, 42.5), GREEN);
    EXPECT_EQ(at(30.8 + 1.0, 42.5), GREEN);
    EXPECT_EQ(at(30.8 + 1.35, 42.5), WHITE); // 2 units at 60 %: ends at 32.0
    EXPECT_EQ(at(30.8, 42.5 + 0.15), GREEN);
    EXPECT_EQ(at(30.8, 42.5 - 0.15), GREEN);
    EXPECT_EQ(at(30.8, 42.5 + 0.45), WHITE); // 0.3 on each side
    EXPECT_EQ(at(30.8, 42.5 - 0.45), WHITE);
    EXPECT_EQ(at(-19.0, 42.5), RED);
    EXPECT_EQ(at(0.0, 30.0), WHITE); // nothing at the full-size place
}
