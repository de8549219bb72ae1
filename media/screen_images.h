// screen_images.h: the ten full-screen pictures of the game.
//
// Owns one display list per picture (each binding its own texture), the
// rectangle they are stretched over, and the decodes still in flight. The
// initialisation loads them once with a current GL context; the display pass
// draws one per frame, which also finishes the pictures still loading. Never
// destroyed.
#pragma once

#include <cstdint>
#include <future>
#include <optional>
#include <vector>

#include <GL/gl.h>

#include "media/png_texture.h"

// Name held in a picture or texture slot before it is built.
inline constexpr std::int32_t EMPTY_SLOT = -1;

class ScreenImages {
  public:
    static ScreenImages& instance();

    // Starts decoding the title picture (on a worker thread where the platform
    // has threads), so that the file is read while the window opens; needs no GL context. Optional: loadAll
    // decodes what was not started.
    void startDecoding();
    // Builds every picture not built yet from ./images/; a second call builds
    // nothing. The title, which the first frame shows, is complete on return;
    // the others complete on later frames, each at the latest when first drawn.
    void loadAll();
    // Sets the rectangle, in scene units, that every picture fills.
    void setBounds(double top, double right, double bottom, double left);

    void drawTitleScreen() const;
    void drawInstructions() const;
    void drawInstructions2() const;
    void drawGameOver() const;
    void drawPlayer1Start() const;
    void drawPlayer2Start() const;
    void drawPlayer1Drawing() const;
    void drawPlayer2Drawing() const;
    void drawPlayer1Typing() const;
    void drawPlayer2Typing() const;

    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
    std::int32_t titleImage = EMPTY_SLOT;
    std::int32_t instructionsImage = EMPTY_SLOT;
    std::int32_t instructions2Image = EMPTY_SLOT;
    std::int32_t gameOverImage = EMPTY_SLOT;
    std::int32_t player1StartImage = EMPTY_SLOT;
    std::int32_t player2StartImage = EMPTY_SLOT;
    std::int32_t player1DrawingImage = EMPTY_SLOT;
    std::int32_t player2DrawingImage = EMPTY_SLOT;
    std::int32_t player1TypingImage = EMPTY_SLOT;
    std::int32_t player2TypingImage = EMPTY_SLOT;

  private:
    // A picture whose list is compiled but whose texture is still empty.
    struct PendingPicture {
        const std::int32_t* slot; // the picture's slot, naming its list
        const char* file;
        GLuint texture; // bound by the list; filled once decoded
        int firstShown; // rank in the order a game first shows the pictures
        std::future<std::optional<DecodedImage>> decoded; // valid once the decode started
    };

    ScreenImages() = default;
    // Draws the picture of one slot over the bounds; leaves texturing off, colour white.
    void drawImage(std::int32_t slot) const;
    // Completes the picture of `slot` if it is pending, waiting for its decode.
    void finishPicture(std::int32_t slot) const;
    // After the first frame, keeps one decode in flight and uploads it once it arrives.
    void advanceLoading() const;
    void upload(PendingPicture& picture) const;

    // Loading state only: drawing a picture may complete it, so it changes
    // under the const draw operations.
    mutable std::vector<PendingPicture> pending_; // in the order the game first shows them
    mutable bool firstFrameShown_ = false;
    std::future<std::optional<DecodedImage>> titleDecode_; // from startDecoding
};
