// bare_window.cpp: the floor of start-up for the start-up benchmark. A GLUT
// window of the game's size and display mode whose every frame is one clear to
// a marker colour: the time until that colour shows is what any game of this
// window pays before it draws anything of its own. Built with BARE_PICTURE=1
// (the browser's web_bare_picture page), every frame also draws one picture
// of the window's size, made in memory: the floor of a first frame that shows
// a full-screen picture, as the game's title does.
#include <GL/freeglut.h>

#include <vector>

#include "app/game_window.h"

namespace {

constexpr bool DRAWS_PICTURE = BARE_PICTURE != 0;
constexpr int RGBA_CHANNELS = 4;

constexpr const char* BARE_TITLE = "Quillory bare window";
constexpr int WINDOW_X = 100; // pixels, where the game puts its window
constexpr int WINDOW_Y = 100;

// A texture holding a picture of the window's size: a colour gradient, so
// that every pixel differs from its neighbours as a drawn picture's do.
GLuint makePicture() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT * RGBA_CHANNELS);
    for (int y = 0; y < WINDOW_HEIGHT; ++y) {
        for (int x = 0; x < WINDOW_WIDTH; ++x) {
            unsigned char* pixel = &pixels[(static_cast<std::size_t>(y) * WINDOW_WIDTH + x) * RGBA_CHANNELS];
            pixel[0] = static_cast<unsigned char>(x);
            pixel[1] = static_cast<unsigned char>(y);
            pixel[2] = static_cast<unsigned char>(x + y);
            pixel[3] = 255;
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // WebGL samples a texture of this size (not a power of two) only clamped.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, WINDOW_WIDTH, WINDOW_HEIGHT, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    return texture;
}

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (DRAWS_PICTURE) {
        static const GLuint picture = makePicture();
        // The whole window, in the identity projection's clip space.
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, picture);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex2f(-1, -1);
        glTexCoord2f(1, 1);
        glVertex2f(1, -1);
        glTexCoord2f(1, 0);
        glVertex2f(1, 1);
        glTexCoord2f(0, 0);
        glVertex2f(-1, 1);
        glEnd();
    }
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
