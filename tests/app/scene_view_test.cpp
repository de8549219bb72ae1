// scene_view_test.cpp: the pixel-to-scene mapping and the fixed window size.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <array>

#include "app/scene_view.h"
#include "tests/support/gl_window.h"

namespace {

// The view's half extent is tan(45 degrees) x 37.5 up to rounding, so the
// edges come out within a hair of 0 rather than exactly on it.
TEST(SceneViewTest, MapsWindowPixelsToScenePoints) {
    const SceneView& view = SceneView::instance();
    struct Case {
        int px, py;
        float x, y;
    };
    for (const Case c : {Case{0, 0, -50.0f, 75.0f}, Case{1024, 768, 50.0f, 0.0f},
                         Case{512, 384, 0.0f, 37.5f}, Case{100, 700, -40.234375f, 6.640625f},
                         Case{-20, 900, -50.0f, 0.0f}, Case{2000, -7, 50.0f, 75.0f}}) {
        const ScenePoint p = view.windowToScene(c.px, c.py);
        EXPECT_NEAR(p.x, c.x, 1e-5) << c.px << "," << c.py;
        EXPECT_NEAR(p.y, c.y, 1e-5) << c.px << "," << c.py;
    }
    EXPECT_NEAR(view.sceneHalfExtent(), 37.5, 1e-12);
}

std::array<GLint, 4> viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

std::array<GLfloat, 16> matrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

TEST(SceneViewTest, AcceptedReshapeSetsTheFixedPerspective) {
    testsupport::ensureGlWindow();
    SceneView::instance().reshape(WINDOW_WIDTH, WINDOW_HEIGHT);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 1024, 768}));
    const auto projection = matrix(GL_PROJECTION_MATRIX);
    const auto modelview = matrix(GL_MODELVIEW_MATRIX);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 4.0 / 3.0, 0.001, 200.0);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_FLOAT_EQ(modelview[13], -37.5f);
    EXPECT_FLOAT_EQ(modelview[14], -37.5f);

    // The scene point under a pixel is the point drawn there.
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(0.0f, 0.0f, 0.0f);
    const ScenePoint p = SceneView::instance().windowToScene(100, 700);
    glBegin(GL_QUADS);
    glVertex2f(p.x, p.y - 0.09765625f);
    glVertex2f(p.x + 0.09765625f, p.y - 0.09765625f);
    glVertex2f(p.x + 0.09765625f, p.y);
    glVertex2f(p.x, p.y);
    glEnd();
    EXPECT_EQ(testsupport::readPixel(100, 700), (testsupport::Rgb{0, 0, 0}));
    EXPECT_EQ(testsupport::readPixel(99, 700), (testsupport::Rgb{255, 255, 255}));
    EXPECT_EQ(testsupport::readPixel(100, 701), (testsupport::Rgb{255, 255, 255}));
}

TEST(SceneViewTest, OtherSizesLeaveTheViewAndAskForTheFixedSize) {
    testsupport::ensureGlWindow();
    SceneView::instance().reshape(WINDOW_WIDTH, WINDOW_HEIGHT);
    const auto before = matrix(GL_PROJECTION_MATRIX);
    SceneView::instance().reshape(800, 600);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 1024, 768}));
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), before);
    EXPECT_EQ(SceneView::instance().width(), WINDOW_WIDTH);
    EXPECT_EQ(SceneView::instance().height(), WINDOW_HEIGHT);
}

} // namespace
