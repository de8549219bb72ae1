// gl_window.cpp: the GL test window.
#include "tests/support/gl_window.h"

#include <GL/freeglut.h>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/scene_view.h"

namespace testsupport {

namespace {
int window = 0;

// The view's pixel mapping is affine, so the scene points at the window's
// corners fix it: its scale, and the scene point at the window's middle.
double pixelsPerUnit() {
    const SceneView& view = SceneView::instance();
    return WINDOW_WIDTH / (static_cast<double>(view.windowToScene(WINDOW_WIDTH, 0).x) -
                           view.windowToScene(0, 0).x);
}
ScenePoint sceneMiddle() {
    return SceneView::instance().windowToScene(WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2);
}
} // namespace

void ensureGlWindow() {
    if (window != 0) {
        return;
    }
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "GL tests need an X server ($DISPLAY)";
    int argc = 1;
    char name[] = "gl-test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    window = glutCreateWindow("gl-test");
    glutDisplayFunc([] {});
    glutMainLoopEvent();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void useGameView() { SceneView::instance().reshape(WINDOW_WIDTH, WINDOW_HEIGHT); }

Rgb readPixel(int px, int py) {
    unsigned char rgb[3] = {0, 0, 0};
    glReadPixels(px, WINDOW_HEIGHT - 1 - py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

double sceneToPixelX(double x) {
    return WINDOW_WIDTH / 2.0 + (x - sceneMiddle().x) * pixelsPerUnit();
}

double sceneToPixelY(double y) {
    return WINDOW_HEIGHT / 2.0 - (y - sceneMiddle().y) * pixelsPerUnit();
}

bool nearColor(const Rgb& a, const Rgb& b, int tolerance) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace testsupport
