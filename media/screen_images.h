// screen_images.h: the ten full-screen pictures of the game.
//
// Owns one display list per picture (each binding its own texture) and the
// rectangle they are stretched over. The initialisation loads them once with a
// current GL context; the display pass draws one per frame. Never destroyed.
#pragma once

#include <cstdint>

// Name held in a picture or texture slot before it is built.
inline constexpr std::int32_t EMPTY_SLOT = -1;

class ScreenImages {
  public:
    // The one ScreenImages, created on first use with zero bounds and empty slots.
    static ScreenImages& instance();

    // Builds every picture not built yet from ./images/; a second call builds nothing.
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
    ScreenImages() = default;
    // Draws the picture of one slot over the bounds; leaves texturing off, colour white.
    void drawImage(std::int32_t slot) const;
};

// Builds a picture unless `listSlot` already holds one: loads `fileName` into
// `textureSlot` if that is empty (0 on failure), then compiles the unit square,
// textured by it, into `listSlot`. Needs a current GL context.
void makeImageQuad(std::int32_t& listSlot, std::int32_t& textureSlot, const char* fileName);
