// screen_images.cpp: the ten full-screen pictures, each a textured unit square
// in a display list, stretched over the shared picture rectangle when drawn.
//
// Start-up waits only for the picture the first frame shows. Every list is
// compiled at once, binding a texture name of its own; the title's texture is
// filled before loadAll returns. The others are decoded one at a time (on a
// worker thread where the platform has threads), in the order the game first
// shows them, starting once the first frame is on the screen (its rendering
// would otherwise share the CPU with the decodes), and uploaded on the frame
// after each arrives. A picture drawn before its turn is completed right
// there, so none is ever drawn empty.
#include "media/screen_images.h"

#include "media/picture_decode.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>
#include <utility>

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

constexpr auto NO_WAIT = std::chrono::seconds(0);

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


// A new texture name that already names a texture object, so that it counts
// as one before its picture arrives; the binding comes back as it was.
GLuint newTexture() {
    GLuint texture = 0;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return texture;
}

// Compiles the unit square, textured by `textureSlot` (0 binds the default
// texture and shows a blank rectangle), into a new list in `listSlot`.
void compileQuad(std::int32_t& listSlot, std::int32_t textureSlot) {
    listSlot = static_cast<std::int32_t>(glGenLists(1));
    glNewList(static_cast<GLuint>(listSlot), GL_COMPILE);
    if (textureSlot >= 0) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textureSlot));
    }
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1); // facing the viewer
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

void ScreenImages::startDecoding() {
    if (titleImage < 0 && !titleDecode_.valid()) {
        titleDecode_ = startPictureDecode(TITLE_FILE);
    }
}

void ScreenImages::loadAll() {
    struct Picture {
        std::int32_t& slot;
        const char* file;
        int firstShown; // rank in the order a game first shows the pictures
    };
    const Picture pictures[] = {
        {player1StartImage, PLAYER1_START_FILE, 8},
        {player2StartImage, PLAYER2_START_FILE, 5},
        {player1DrawingImage, PLAYER1_DRAWING_FILE, 3},
        {player1TypingImage, PLAYER1_TYPING_FILE, 4},
        {player2DrawingImage, PLAYER2_DRAWING_FILE, 6},
        {player2TypingImage, PLAYER2_TYPING_FILE, 7},
        {titleImage, TITLE_FILE, 0},
        {instructionsImage, INSTRUCTIONS_FILE, 1},
        {instructions2Image, INSTRUCTIONS2_FILE, 2},
        {gameOverImage, GAME_OVER_FILE, 9},
    };
    for (const Picture& picture : pictures) {
        if (picture.slot >= 0) {
            continue;
        }
        // Every picture gets a texture of its own, which its list binds.
        const GLuint texture = newTexture();
        compileQuad(picture.slot, static_cast<std::int32_t>(texture));
        std::erase_if(pending_, [&](const PendingPicture& p) { return p.slot == &picture.slot; });
        PendingPicture pending{&picture.slot, picture.file, texture, picture.firstShown, {}};
        if (&picture.slot == &titleImage && titleDecode_.valid()) {
            pending.decoded = std::move(titleDecode_);
        }
        pending_.push_back(std::move(pending));
    }
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const PendingPicture& a, const PendingPicture& b) {
                         return a.firstShown < b.firstShown;
                     });
    finishPicture(titleImage);
    firstFrameShown_ = false;
}

void ScreenImages::finishPicture(std::int32_t slot) const {
    const auto found = std::find_if(pending_.begin(), pending_.end(),
                                    [&](const PendingPicture& p) { return *p.slot == slot; });
    if (found != pending_.end()) {
        upload(*found);
        pending_.erase(found);
    }
}

void ScreenImages::advanceLoading() const {
    if (pending_.empty()) {
        return;
    }
    if (!firstFrameShown_) {
        firstFrameShown_ = true; // the next draw comes after this frame's swap
        return;
    }
    const auto inFlight = std::find_if(pending_.begin(), pending_.end(), [](const PendingPicture& p) {
        return p.decoded.valid();
    });
    if (inFlight == pending_.end()) {
        pending_.front().decoded = startPictureDecode(pending_.front().file);
    } else if (inFlight->decoded.wait_for(NO_WAIT) != std::future_status::timeout) {
        // A deferred decode (a platform without threads, or none could be started)
        // runs here, as one would at need.
        upload(*inFlight);
        pending_.erase(inFlight);
    }
}

void ScreenImages::upload(PendingPicture& picture) const {
    const std::optional<DecodedImage> image =
        picture.decoded.valid() ? picture.decoded.get() : decodePng(picture.file);
    // A file that cannot be read leaves the texture empty, and the picture
    // shows as a blank rectangle, as with no texture at all.
    if (image) {
        fillTexture(picture.texture, *image);
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
    finishPicture(slot);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    // The centre keeps its fraction; the extent is a whole, non-negative number
    // of units, so reversed bounds draw the same unmirrored picture.
    glTranslatef(static_cast<GLfloat>((right + left) * 0.5),
                 static_cast<GLfloat>((bottom + top) * 0.5), 0);
    glScalef(static_cast<GLfloat>(wholeExtent(left, right)),
             static_cast<GLfloat>(wholeExtent(top, bottom)), 1);
    glCallList(static_cast<GLuint>(slot)); // an empty slot names no list and draws nothing
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    advanceLoading();
}
