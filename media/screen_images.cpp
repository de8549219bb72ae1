// screen_images.cpp: the ten full-screen pictures, each a textured unit square
// in a display list, stretched over the shared picture rectangle when drawn.
#include "media/screen_images.h"

#include <cmath>
#include <cstddef>
#include <future>
#include <iterator>
#include <limits>

#include <GL/gl.h>

#include "media/png_texture.h"

namespace {

constexpr const char* TITLE_FILE = "./images/titlescreen.png";
constexpr const char* INSTRUCTIONS_FILE = "./images/instructions.png";
constexpr const char* INSTRUCTIONS2_FILE = "./images/instructions2.png";
constexpr const char* GAME_OVER_FILE = "./images/gameover.png";
constexpr const char* PLAYER1_START_FILE = "./images/player1start.png";
constexpr const char* PLAYER2_START_FILE = "./images/player2start.png";
constexpr const char* PLAYER1_DRAWING_FILE = "./images/player1drawing.png";
constexpr const char* PLAYER2_DRAWING_FILE = "./images/player2drawing.png";
constexpr const char* PLAYER1_TYPING_FILE = "./images/player1typing.png";
constexpr const char* PLAYER2_TYPING_FILE = "./images/player2typing.png";

constexpr GLfloat WHITE_RED = 1.0f; // colour components, 0 to 1
constexpr GLfloat WHITE_GREEN = 1.0f;
constexpr GLfloat WHITE_BLUE = 1.0f;
constexpr GLfloat WHITE_ALPHA = 1.0f;
constexpr double HALF = 0.5;          // the centre is the mean of two edges
constexpr GLfloat PICTURE_Z = 0.0f;   // scene units: every picture lies in the plane z = 0
constexpr GLfloat DEPTH_SCALE = 1.0f; // the square is flat; z is left as it is
constexpr GLsizei ONE_LIST = 1;
constexpr PngTextureOptions PICTURE_TEXTURE{}; // the loader's defaults, as makeImageQuad uses

// The square's normal faces the viewer.
constexpr GLfloat NORMAL_X = 0.0f;
constexpr GLfloat NORMAL_Y = 0.0f;
constexpr GLfloat NORMAL_Z = 1.0f;

// The unit square centred on the origin, counter-clockwise from the bottom
// left. The loader puts the file's first row at t = 0, so t = 0 is the top edge
// and the picture shows upright and unmirrored.
struct QuadCorner {
    GLfloat s;
    GLfloat t;
    GLfloat x; // scene units before scaling
    GLfloat y;
};
constexpr QuadCorner QUAD_CORNERS[] = {
    {0.0f, 1.0f, -0.5f, -0.5f}, // bottom left
    {1.0f, 1.0f, 0.5f, -0.5f},  // bottom right
    {1.0f, 0.0f, 0.5f, 0.5f},   // top right
    {0.0f, 0.0f, -0.5f, 0.5f},  // top left
};

// |a - b| truncated toward zero to a whole number of units. A distance beyond
// the 32-bit range saturates and a NaN gives 0, where a plain conversion would
// be undefined.
std::int32_t wholeExtent(double a, double b) {
    const double extent = std::abs(a - b);
    if (!(extent < static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        return std::isnan(extent) ? 0 : std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(extent);
}

void setWhite() {
    glColor4f(WHITE_RED, WHITE_GREEN, WHITE_BLUE, WHITE_ALPHA);
}

// Compiles the unit square, textured by `textureSlot` (0 binds the default
// texture and shows a blank rectangle), into a new list in `listSlot`.
void compileQuad(std::int32_t& listSlot, std::int32_t textureSlot) {
    listSlot = static_cast<std::int32_t>(glGenLists(ONE_LIST));
    glNewList(static_cast<GLuint>(listSlot), GL_COMPILE);
    if (textureSlot >= 0) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textureSlot));
    }
    glBegin(GL_QUADS);
    glNormal3f(NORMAL_X, NORMAL_Y, NORMAL_Z);
    for (const QuadCorner& corner : QUAD_CORNERS) {
        glTexCoord2f(corner.s, corner.t);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
    glEndList();
}

} // namespace

ScreenImages& ScreenImages::instance() {
    static ScreenImages* const images = new ScreenImages();
    return *images;
}

void ScreenImages::loadAll() {
    struct Picture {
        std::int32_t& slot;
        const char* file;
    };
    const Picture pictures[] = {
        {player1StartImage, PLAYER1_START_FILE},
        {player2StartImage, PLAYER2_START_FILE},
        {player1DrawingImage, PLAYER1_DRAWING_FILE},
        {player1TypingImage, PLAYER1_TYPING_FILE},
        {player2DrawingImage, PLAYER2_DRAWING_FILE},
        {player2TypingImage, PLAYER2_TYPING_FILE},
        {titleImage, TITLE_FILE},
        {instructionsImage, INSTRUCTIONS_FILE},
        {instructions2Image, INSTRUCTIONS2_FILE},
        {gameOverImage, GAME_OVER_FILE},
    };
    // Every file still to build is decoded, with its mipmap chain, on worker
    // threads while the earlier ones upload; only this thread makes GL calls.
    // Either launch policy is allowed so that, where no thread can be started,
    // the library may run that decode here at get() instead of throwing.
    std::future<TextureLevels> decoded[std::size(pictures)]; // valid for those to build
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        if (pictures[i].slot < 0) {
            decoded[i] = std::async(std::launch::async | std::launch::deferred, decodePngLevels,
                                    pictures[i].file, PICTURE_TEXTURE.buildMipmaps);
        }
    }
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        if (decoded[i].valid()) {
            // Every picture gets a texture of its own; 0 when the file cannot be read.
            const auto texture =
                static_cast<std::int32_t>(uploadTexture(decoded[i].get(), PICTURE_TEXTURE));
            compileQuad(pictures[i].slot, texture);
        }
    }
}

void ScreenImages::setBounds(double newTop, double newRight, double newBottom, double newLeft) {
    top = newTop;
    right = newRight;
    bottom = newBottom;
    left = newLeft;
}

void ScreenImages::drawTitleScreen() const {
    drawImage(titleImage);
}
void ScreenImages::drawInstructions() const {
    drawImage(instructionsImage);
}
void ScreenImages::drawInstructions2() const {
    drawImage(instructions2Image);
}
void ScreenImages::drawGameOver() const {
    drawImage(gameOverImage);
}
void ScreenImages::drawPlayer1Start() const {
    drawImage(player1StartImage);
}
void ScreenImages::drawPlayer2Start() const {
    drawImage(player2StartImage);
}
void ScreenImages::drawPlayer1Drawing() const {
    drawImage(player1DrawingImage);
}
void ScreenImages::drawPlayer2Drawing() const {
    drawImage(player2DrawingImage);
}
void ScreenImages::drawPlayer1Typing() const {
    drawImage(player1TypingImage);
}
void ScreenImages::drawPlayer2Typing() const {
    drawImage(player2TypingImage);
}

void ScreenImages::drawImage(std::int32_t slot) const {
    glEnable(GL_TEXTURE_2D);
    setWhite();
    glPushMatrix();
    // The centre keeps its fraction; the extent is a whole, non-negative number
    // of units, so reversed bounds draw the same unmirrored picture.
    glTranslatef(static_cast<GLfloat>((right + left) * HALF),
                 static_cast<GLfloat>((bottom + top) * HALF), PICTURE_Z);
    glScalef(static_cast<GLfloat>(wholeExtent(left, right)),
             static_cast<GLfloat>(wholeExtent(top, bottom)), DEPTH_SCALE);
    glCallList(static_cast<GLuint>(slot)); // an empty slot names no list and draws nothing
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    setWhite();
}

void makeImageQuad(std::int32_t& listSlot, std::int32_t& textureSlot, const char* fileName) {
    if (listSlot >= 0) {
        return;
    }
    if (textureSlot < 0) {
        // 0 when the file cannot be read: the list then binds the default
        // texture and the picture shows as a blank rectangle.
        textureSlot = static_cast<std::int32_t>(loadPngTexture(fileName));
    }
    compileQuad(listSlot, textureSlot);
}
