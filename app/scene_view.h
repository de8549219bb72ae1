// scene_view.h: the fixed window, projection and camera, and the pixel mapping.
//
// Owns the window size and the perspective onto the plane z = 0. The reshape
// callback keeps the window at 1024 x 768; play frames reset the camera; the
// input handlers map pointer pixels to scene units. Created on first use.
#pragma once

#include <cstdint>

#include "app/game_window.h"

// A point on the scene plane, in scene units.
struct ScenePoint {
    float x;
    float y;
};

class SceneView {
public:
    static SceneView& instance();

    // Clears the buffers; a size other than 1024 x 768 is asked back to it,
    // the right size sets viewport, projection and camera. Needs a GLUT window.
    void reshape(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // Half the height of the visible area in scene units (37.5).
    double sceneHalfExtent() const;
    // Resets the model-view matrix to the camera translation.
    void applyCamera() const;
    // The scene point under window pixel (px, py), origin top-left, clamped to the window.
    ScenePoint windowToScene(int px, int py) const;

private:
    SceneView() = default;
    std::int32_t width_ = WINDOW_WIDTH;
    std::int32_t height_ = WINDOW_HEIGHT;
    double fovy_ = 90.0;
    double cameraX_ = 0.0;
    double cameraY_ = -37.5;
    double cameraZ_ = -37.5;
};
