// game_loop.cpp: the window, the callback wiring, start-up and the display pass.
#include "app/game_loop.h"

#include <GL/freeglut.h>
#include <cstdlib>

#include "app/frame_clock.h"
#include "app/game_window.h"
#include "app/scene_view.h"
#include "app/startup_order.h"
#include "app/window_identity.h"
#include "drawing/palette.h"
#include "drawing/pen.h"
#include "game/game_state.h"
#include "game/input_router.h"
#include "media/screen_images.h"
#include "media/sound_player.h"
#include "text/answer_text.h"

namespace {

constexpr int WINDOW_X = 100; // pixels from the screen's left edge
constexpr int WINDOW_Y = 100; // pixels from the screen's top edge
constexpr const char* MUSIC_PATH = "./audio/backgroundmusic.mp3";

// The rectangle every screen image fills: the whole visible scene.
constexpr double IMAGES_TOP = 75.0;
constexpr double IMAGES_RIGHT = 50.0;
constexpr double IMAGES_BOTTOM = 0.0;
constexpr double IMAGES_LEFT = -50.0;

// ---------------------------------------------------------------------------
// GLUT callbacks
// ---------------------------------------------------------------------------

void onReshape(int width, int height) { SceneView::instance().reshape(width, height); }

void onIdle() {
    FrameClock::instance();
    glutPostRedisplay();
}

void onMotion(int x, int y) { InputRouter::instance().onMotion(x, y); }

void onPassiveMotion(int x, int y) { InputRouter::instance().onPassiveMotion(x, y); }

void onMouse(int button, int state, int x, int y) {
    InputRouter::instance().onMouse(button, state, x, y);
}

// ---------------------------------------------------------------------------
// Display pass
// ---------------------------------------------------------------------------

void drawStillScreen() {
    const ScreenImages& images = ScreenImages::instance();
    switch (screen) {
    case Title:
        images.drawTitleScreen();
        break;
    case Instructions:
        images.drawInstructions();
        break;
    case Instructions2:
        images.drawInstructions2();
        break;
    case GameOver:
        images.drawGameOver();
        drawGameOverPair();
        break;
    case Play:
        break;
    }
}

void drawPlayPhase() {
    const ScreenImages& images = ScreenImages::instance();
    switch (turnPhase) {
    case Player1Start:
        images.drawPlayer1Start();
        break;
    case Player2Start:
        images.drawPlayer2Start();
        break;
    case Player1Drawing:
        images.drawPlayer1Drawing();
        drawLiveView(player1Drawing);
        answer2.draw();
        palette.draw();
        break;
    case Player2Drawing:
        images.drawPlayer2Drawing();
        drawLiveView(player2Drawing);
        answer1.draw();
        palette.draw();
        break;
    case Player1Typing:
        images.drawPlayer1Typing();
        drawPictureView(player1Drawing);
        answer1.draw();
        palette.draw();
        break;
    case Player2Typing:
        images.drawPlayer2Typing();
        drawPictureView(player2Drawing);
        answer2.draw();
        palette.draw();
        break;
    }
}

// Opens the audio output and starts the music, once, when a frame has already
// been drawn: loading the sound libraries and opening the device takes tens of
// milliseconds that the title picture need not wait for (a browser's audio
// context, hundreds). It waits for the second display pass, not the end of the
// first, because a browser shows a frame only once the pass that drew it has
// returned.
void startMusicOnce() {
    static int passesBegun = 0; // counted up to the second
    if (passesBegun == 2 || ++passesBegun != 2) {
        return;
    }
    SoundPlayer& sound = SoundPlayer::instance();
    sound.init();
    sound.playMusic(MUSIC_PATH);
}

// The start-up steps only play needs: the first answer's init builds the glyph
// font, and throws when the font is unusable.
void initialiseForPlay() {
    answer1.init();
    answer2.init();
    palette.init();
}

} // namespace

void onDisplay() {
    startMusicOnce(); // from the second pass on
    glPushMatrix();
    FrameClock::instance().tick();
    if (screen != Play) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawStillScreen();
    } else {
        // Play frames skip the clear: the full-screen phase image covers the
        // last frame, and the depth test lets z = 0 draw over z = 0.
        SceneView::instance().applyCamera();
        drawPlayPhase();
    }
    glutSwapBuffers();
    glPopMatrix();
}

void initialise() {
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

    ScreenImages& images = ScreenImages::instance();
    images.loadAll();
    images.setBounds(IMAGES_TOP, IMAGES_RIGHT, IMAGES_BOTTOM, IMAGES_LEFT);

    runBeforePlay(initialiseForPlay);

    resetGameState();
}

void runGame(int argc, char** argv) {
    // The title picture is read and decoded while the window opens.
    ScreenImages::instance().startDecoding();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutCreateWindow(WINDOW_TITLE);
    applyWindowIdentity();
    glutPositionWindow(WINDOW_X, WINDOW_Y);

    glutReshapeFunc(onReshape);
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutMotionFunc(onMotion);
    glutPassiveMotionFunc(onPassiveMotion);
    glutMouseFunc(onMouse);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onIgnoredKey);
    glutSpecialFunc(onIgnoredKey);
    glutSpecialUpFunc(onIgnoredKey);
    // Holding a key types its character once.
    glutIgnoreKeyRepeat(1);

    FrameClock::instance();
    initialise();

    glutMainLoop();
    // freeglut ends the process itself when the window is closed.
    std::exit(0);
}
