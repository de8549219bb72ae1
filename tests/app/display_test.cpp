// display_test.cpp: the display pass over every screen and turn phase, with
// the real start-up and assets, in a real GL window.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <memory>
#include <string>

#include "app/game_loop.h"
#include "app/scene_view.h"
#include "drawing/pen.h"
#include "game/game_state.h"
#include "tests/support/gl_window.h"
#include "tests/support/png_io.h"
#include "tests/support/run_folder.h"

namespace {

using testsupport::Rgb;

constexpr int FRAMES_PER_STATE = 3;

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensureGlWindow();
        SceneView::instance().reshape(WINDOW_WIDTH, WINDOW_HEIGHT);
        initialise();
    }

    // Draws one frame and returns the colour it shows at window pixel (px, py).
    // Mesa's software swap copies the back buffer, which keeps the frame.
    static Rgb frameAt(int px, int py) {
        onDisplay();
        glFinish();
        return testsupport::readPixel(px, py);
    }

    // The colour of the committed screen image at (px, py).
    Rgb imageAt(const std::string& name, int px, int py) const {
        const testsupport::Image image =
            testsupport::readPngRgb(run_.file("images/" + name).string());
        const unsigned char* p = image.at(px, py);
        return {p[0], p[1], p[2]};
    }

    // Adds a finished black stroke through scene (x, y) to `drawing`.
    static void addStrokeAt(Drawing& drawing, float x, float y) {
        auto stroke = std::make_unique<Stroke>();
        stroke->setWidth(1.0f);
        Segment segment;
        segment.setStartX(x - 2.0f);
        segment.setStartY(y);
        segment.setEndX(x + 2.0f);
        segment.setEndY(y);
        segment.computeDirection();
        stroke->appendSegment(segment);
        drawing.addStroke(std::move(stroke));
    }

    testsupport::RunFolder run_;
    testsupport::WorkingDirectory cwd_{run_.path()};
};

TEST_F(DisplayTest, EveryFrameLeavesTheModelviewStackAsItFoundIt) {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    for (Screen s : {Title, Instructions, Instructions2, GameOver}) {
        screen = s;
        for (int i = 0; i < FRAMES_PER_STATE; ++i) {
            onDisplay();
        }
    }
    screen = Play;
    for (TurnPhase phase : {Player1Start, Player1Drawing, Player1Typing, Player2Start,
                            Player2Drawing, Player2Typing}) {
        turnPhase = phase;
        for (int i = 0; i < FRAMES_PER_STATE; ++i) {
            onDisplay();
            GLint now = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &now);
            ASSERT_EQ(now, depth) << "phase " << phase;
        }
    }
}

TEST_F(DisplayTest, StartScreensShowTheirImageAlone) {
    const int px = static_cast<int>(testsupport::sceneToPixelX(0.0));
    const int py = static_cast<int>(testsupport::sceneToPixelY(40.0));
    addStrokeAt(player1Drawing, 0.0f, 40.0f);
    addStrokeAt(player2Drawing, 0.0f, 40.0f);
    screen = Play;
    turnPhase = Player1Drawing;
    EXPECT_EQ(frameAt(px, py), (Rgb{0, 0, 0})); // the stroke shows while drawing
    for (auto [phase, image] : {std::pair{Player1Start, "player1start.png"},
                                std::pair{Player2Start, "player2start.png"}}) {
        turnPhase = phase;
        const Rgb shown = frameAt(px, py);
        const Rgb want = imageAt(image, px, py);
        EXPECT_TRUE(testsupport::nearColor(shown, want))
            << image << ": " << shown[0] << "," << shown[1] << "," << shown[2] << " vs " << want[0]
            << "," << want[1] << "," << want[2];
    }
}

TEST_F(DisplayTest, GameOverShowsBothPicturesReduced) {
    addStrokeAt(player2Drawing, 0.0f, 30.0f);
    addStrokeAt(player1Drawing, 0.0f, 30.0f);
    screen = GameOver;
    // Player 2's (0, 30) lands at (30.8, 42.5), player 1's at (-19, 42.5).
    for (double x : {30.8, -19.0}) {
        const int px = static_cast<int>(testsupport::sceneToPixelX(x));
        const int py = static_cast<int>(testsupport::sceneToPixelY(42.5));
        EXPECT_EQ(frameAt(px, py), (Rgb{0, 0, 0})) << x;
    }
}

} // namespace
