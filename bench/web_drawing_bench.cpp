// web_drawing_bench.cpp: the browser's frame time for the live view's display
// pass with drawings of 1,000, 10,000 and 50,000 segments (the desktop's
// drawing_bench sizes and pictures), on the game's 1024 x 768 canvas and view.
// Built by bench/web_figures.sh; each size is drawn for a run of frames, and
// the median frame, up to the end of its GL work, goes to the console.
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/scene_view.h"
#include "bench/random_drawing.h"
#include "drawing/palette.h"
#include "drawing/pen.h"

namespace {

constexpr std::int64_t SEGMENT_COUNTS[] = {1000, 10000, 50000};
constexpr std::size_t WARM_UP_FRAMES = 5;
constexpr std::size_t TIMED_FRAMES = 30;

Drawing drawings[std::size(SEGMENT_COUNTS)];
std::size_t current = 0;     // index of the size being timed
std::vector<double> frameMs; // this size's timed frames

void onDisplay() {
    if (current == std::size(SEGMENT_COUNTS)) {
        return;
    }
    const double start = emscripten_get_now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SceneView::instance().applyCamera();
    drawLiveView(drawings[current]);
    glutSwapBuffers();
    // Reading a pixel waits for the frame's GL work to finish.
    unsigned char pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    frameMs.push_back(emscripten_get_now() - start);
    if (frameMs.size() < WARM_UP_FRAMES + TIMED_FRAMES) {
        return;
    }
    std::vector<double> timed(frameMs.begin() + WARM_UP_FRAMES, frameMs.end());
    std::nth_element(timed.begin(), timed.begin() + timed.size() / 2, timed.end());
    std::printf("segments %lld median frame %.2f ms\n",
                static_cast<long long>(SEGMENT_COUNTS[current]), timed[timed.size() / 2]);
    frameMs.clear();
    if (++current == std::size(SEGMENT_COUNTS)) {
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
