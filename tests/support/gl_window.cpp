// gl_window.cpp: the GL test window.
#include "tests/support/gl_window.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace testsupport {

namespace {
constexpr int TEST_WINDOW_WIDTH = 1024;  // pixels
constexpr int TEST_WINDOW_HEIGHT = 768;  // pixels
constexpr double PIXELS_PER_UNIT = 10.24;
constexpr double SCENE_CENTRE_Y = 37.5;  // scene y at the window's middle row
constexpr double FIELD_OF_VIEW = 90.0;   // degrees, vertical
constexpr double ASPECT_RATIO = 4.0 / 3.0;
constexpr double NEAR_PLANE = 0.001;     // scene units
constexpr double FAR_PLANE = 200.0;      // scene units
constexpr float CAMERA_DISTANCE = 37.5f; // scene units in front of the plane
int window = 0;
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
    glutInitWindowSize(TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
    window = glutCreateWindow("gl-test");
    glutDisplayFunc([] {});
    glutMainLoopEvent();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void useGameView() {
    glViewport(0, 0, TEST_WINDOW_WIDTH, TEST_WINDOW_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, ASPECT_RATIO, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, -static_cast<float>(SCENE_CENTRE_Y), -CAMERA_DISTANCE);
}

Rgb readPixel(int px, int py) {
    unsigned char rgb[3] = {0, 0, 0};
    glReadPixels(px, TEST_WINDOW_HEIGHT - 1 - py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

double sceneToPixelX(double x) { return TEST_WINDOW_WIDTH / 2.0 + x * PIXELS_PER_UNIT; }
double sceneToPixelY(double y) {
    return TEST_WINDOW_HEIGHT / 2.0 - (y - SCENE_CENTRE_Y) * PIXELS_PER_UNIT;
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
