// scene_view.cpp: the fixed 1024 x 768 window and its perspective onto z = 0.
#include "app/scene_view.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cmath>

namespace {
constexpr double ASPECT_RATIO = 1.3333333333333333; // fixed 4:3, not the window's
constexpr double NEAR_PLANE = 0.001;                // scene units
constexpr double FAR_PLANE = 200.0;                 // scene units
constexpr double RADIANS_PER_DEGREE = 0.017453292519943295;
} // namespace

SceneView& SceneView::instance() {
    static SceneView view;
    return view;
}

void SceneView::reshape(int width, int height) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (width != WINDOW_WIDTH || height != WINDOW_HEIGHT) {
        // The window never changes size: ask for the fixed size back and wait
        // for the reshape that reports it.
        glutReshapeWindow(WINDOW_WIDTH, WINDOW_HEIGHT);
        return;
    }
    width_ = WINDOW_WIDTH;
    height_ = WINDOW_HEIGHT;
    glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy_, ASPECT_RATIO, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(static_cast<float>(cameraX_), static_cast<float>(cameraY_),
                 static_cast<float>(cameraZ_));
}

double SceneView::sceneHalfExtent() const {
    const float halfFovy = static_cast<float>(fovy_ * 0.5);
    return std::fabs(cameraZ_) * std::tan(halfFovy * RADIANS_PER_DEGREE);
}

void SceneView::applyCamera() const {
    glLoadIdentity();
    glTranslatef(static_cast<float>(cameraX_), static_cast<float>(cameraY_),
                 static_cast<float>(cameraZ_));
}

ScenePoint SceneView::windowToScene(int px, int py) const {
    // A pointer reported outside the window (a drag past its edge) counts as
    // being at the nearest edge.
    double x = px;
    double y = py;
    if (x < 0.0) {
        x = 0.0;
    } else if (x > width_) {
        x = width_;
    }
    if (y < 0.0) {
        y = 0.0;
    } else if (y > height_) {
        y = height_;
    }
    const float cx = static_cast<float>(x - width_ / 2);
    const float cy = static_cast<float>(y - height_ / 2);
    // One factor for both axes keeps a pixel the same size across and down.
    const double k = 1.0 / (height_ / 2);
    const double half = sceneHalfExtent();
    return {static_cast<float>(half * (cx * k) - cameraX_),
            static_cast<float>(half * (-(cy * k)) - cameraY_)};
}
