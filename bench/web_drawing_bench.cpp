// web_drawing_bench.cpp: the browser's frame time for the live view's display
// pass with drawings of 1,000, 10,000 and 50,000 segments (the desktop's
// drawing_bench sizes and pictures), on the game's 1024 x 768 canvas and view.
// Each size is drawn for a run of frames standing still, then for a run with
// a stroke in progress that grows by a segment a frame, as a player draws;
// the median frame of each run, up to the end of its GL work, goes to the
// console, with the median time of that frame spent waiting for the GPU
// (here SwiftShader) to finish the work the frame handed it. A CMake target of the web build; bench/web_figures.sh runs it.
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/scene_view.h"
#include "bench/random_drawing.h"
#include "drawing/palette.h"
#include "drawing/pen.h"
#include "game/game_state.h"

namespace {

constexpr std::int64_t SEGMENT_COUNTS[] = {1000, 10000, 50000};
constexpr std::size_t WARM_UP_FRAMES = 5;
constexpr std::size_t TIMED_FRAMES = 30;
// The stroke in progress circles here, a segment a frame, inside the canvas.
constexpr float PEN_CENTRE_X = -10.0f; // scene units
constexpr float PEN_CENTRE_Y = 46.0f;  // scene units
constexpr float PEN_RADIUS = 15.0f;    // scene units
constexpr float PEN_STEP = 1.0f;       // scene units a frame, over the pen's least spacing

Drawing drawings[std::size(SEGMENT_COUNTS)];
std::size_t current = 0;     // index of the size being timed
bool drawing = false;        // whether this run has a stroke in progress
std::vector<double> frameMs; // this run's timed frames
std::vector<double> waitMs;  // of each, the part spent waiting for the GPU

// Moves the pen one step along its circle: a stroke in progress gains a segment.
void movePen() {
    const float angle = static_cast<float>(frameMs.size()) * PEN_STEP / PEN_RADIUS;
    const float x = PEN_CENTRE_X + PEN_RADIUS * std::cos(angle);
    const float y = PEN_CENTRE_Y + PEN_RADIUS * std::sin(angle);
    if (frameMs.empty()) {
        penDown(x, y);
    } else {
        penDrag(x, y);
    }
}

// The median of a run's timed frames, the warm-up left out.
double timedMedian(const std::vector<double>& values) {
    std::vector<double> timed(values.begin() + WARM_UP_FRAMES, values.end());
    std::nth_element(timed.begin(), timed.begin() + timed.size() / 2, timed.end());
    return timed[timed.size() / 2];
}

void onDisplay() {
    if (current == std::size(SEGMENT_COUNTS)) {
        return;
    }
    const double start = emscripten_get_now();
    if (drawing) {
        movePen();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SceneView::instance().applyCamera();
    drawLiveView(drawings[current]);
    glutSwapBuffers();
    // Reading a pixel waits for the frame's GL work to finish.
    const double handedOver = emscripten_get_now();
    unsigned char pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    const double end = emscripten_get_now();
    frameMs.push_back(end - start);
    waitMs.push_back(end - handedOver);
    if (frameMs.size() < WARM_UP_FRAMES + TIMED_FRAMES) {
        return;
    }
    std::printf("segments %lld%s median frame %.2f ms, waiting for the GPU %.2f ms\n",
                static_cast<long long>(SEGMENT_COUNTS[current]),
                drawing ? " stroke in progress" : "", timedMedian(frameMs), timedMedian(waitMs));
    frameMs.clear();
    waitMs.clear();
    if (drawing) {
        currentStroke.reset();
        inputMode = Idle;
    }
    drawing = !drawing;
    if (!drawing && ++current == std::size(SEGMENT_COUNTS)) {
        // No more frames: the page's work is done.
        std::printf("done\n");
        glutIdleFunc(nullptr);
    }
}

void onIdle() {
    glutPostRedisplay();
}

void onReshape(int width, int height) {
    SceneView::instance().reshape(width, height);
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutCreateWindow("drawing bench");
    // The game's render state.
    glShadeModel(GL_FLAT);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    palette.init();
    for (std::size_t i = 0; i < std::size(SEGMENT_COUNTS); ++i) {
        fillDrawing(drawings[i], SEGMENT_COUNTS[i]);
    }
    glutReshapeFunc(onReshape);
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutMainLoop();
}
