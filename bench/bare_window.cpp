// bare_window.cpp: the floor of start-up for the start-up benchmark. A GLUT
// window of the game's size and display mode whose every frame is one clear to
// a marker colour: the time until that colour shows is what any game of this
// window pays before it draws anything of its own.
#include <GL/freeglut.h>

#include "app/game_window.h"

namespace {

constexpr const char* BARE_TITLE = "Quillory bare window";
constexpr int WINDOW_X = 100; // pixels, where the game puts its window
constexpr int WINDOW_Y = 100;

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

void onIdle() { glutPostRedisplay(); }

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutCreateWindow(BARE_TITLE);
    glutPositionWindow(WINDOW_X, WINDOW_Y);
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    // Magenta marks the first frame: no white clear or black first frame passes for it.
    glClearColor(1, 0, 1, 1);
    glutMainLoop();
}
