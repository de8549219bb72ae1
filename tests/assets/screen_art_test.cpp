// screen_art_test.cpp: the committed screen pictures against the places the game uses.
//
// The game shows each picture unscaled over the whole window and then draws
// strokes, typed text and the colour grid on fixed areas of it, and takes
// presses on fixed buttons. These tests read the PNGs from assets/images and
// check that the pictures put their buttons, canvases and rows on exactly
// those areas, in colours the game's own drawing stays legible on.
#include "tests/support/png_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

using testsupport::Image;

constexpr int kWidth = 1024; // pixels
constexpr int kHeight = 768; // pixels

// Scene units to window pixels: x −50…50 left to right, y 0…75 bottom to top.
constexpr double kPixelsPerUnit = 10.24;
constexpr double kCentreX = 512.0;
constexpr double kCentreY = 384.0;
constexpr double kMiddleY = 37.5;

// A rectangle in scene units.
struct SceneRect {
    double left;
    double right;
    double bottom;
    double top;
};

// The areas the game fixes.
constexpr SceneRect kDoneButton{29.59, 48.14, 20.41, 31.35};
constexpr SceneRect kGameOverButton{16.9, 47.85, 2.73, 8.89};
constexpr SceneRect kCanvas{-47.0, 27.66, 20.3, 72.81};
constexpr SceneRect kGameOverPicture1{-47.2, -2.404, 36.68, 68.186};
constexpr SceneRect kGameOverPicture2{2.6, 47.396, 36.68, 68.186};
constexpr std::array<double, 6> kAnswerBaselines{13.5, 11.5, 9.5, 7.5, 5.5, 3.5};
constexpr double kAnswerLeft = -46.0;
constexpr double kAnswerRight = 46.5;
constexpr double kAnswerBelow = 0.6; // descenders, scene units under a baseline
constexpr double kAnswerAbove = 2.2; // glyph tops, scene units over a baseline

// Checks, in the units named.
constexpr int kRingGap = 3;                  // pixels between a button and the ring around it
constexpr int kRingWidth = 6;                // pixels
constexpr double kVisibleDifference = 60.0;  // RGB distance, channels 0…255
constexpr double kLabelLuminanceSpan = 0.35; // brightest minus darkest pixel on a button
constexpr double kLabelInset = 0.2;          // of a button's size, ignored at each edge
constexpr int kAntiAliasBorder = 1;          // pixels at an area's edge that may blend
constexpr double kMinimumLuminance = 0.30;   // 7 : 1 contrast against black text
constexpr double kPlayerDifference = 60.0;   // RGB distance between the players' buttons

// Columns x0…x1−1 and rows y0…y1−1 of the window.
struct PixelBox {
    int x0;
    int y0;
    int x1;
    int y1;

    PixelBox grown(int by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

double pixelX(double x) {
    return kCentreX + x * kPixelsPerUnit;
}
double pixelY(double y) {
    return kCentreY - (y - kMiddleY) * kPixelsPerUnit;
}

// The pixels lying wholly inside `area`.
PixelBox pixelsInside(SceneRect area) {
    return {static_cast<int>(std::ceil(pixelX(area.left))),
            static_cast<int>(std::ceil(pixelY(area.top))),
            static_cast<int>(std::floor(pixelX(area.right))),
            static_cast<int>(std::floor(pixelY(area.bottom)))};
}

// Every pixel that `area` touches.
PixelBox pixelsTouching(SceneRect area) {
    return {static_cast<int>(std::floor(pixelX(area.left))),
            static_cast<int>(std::floor(pixelY(area.top))),
            static_cast<int>(std::ceil(pixelX(area.right))),
            static_cast<int>(std::ceil(pixelY(area.bottom)))};
}

struct Mean {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

double distance(Mean a, Mean b) {
    return std::hypot(a.r - b.r, a.g - b.g, a.b - b.b);
}

// WCAG relative luminance of an 8-bit sRGB pixel, 0…1.
double luminance(const unsigned char* pixel) {
    auto linear = [](unsigned char channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(pixel[0]) + 0.7152 * linear(pixel[1]) + 0.0722 * linear(pixel[2]);
}

// The mean colour of the pixels of `box` that `keep` accepts.
template <typename Keep> Mean meanColour(const Image& image, PixelBox box, Keep keep) {
    Mean sum;
    int count = 0;
    for (int y = std::max(box.y0, 0); y < std::min(box.y1, image.height); ++y) {
        for (int x = std::max(box.x0, 0); x < std::min(box.x1, image.width); ++x) {
            if (keep(x, y)) {
                const unsigned char* p = image.at(x, y);
                sum.r += p[0];
                sum.g += p[1];
                sum.b += p[2];
                ++count;
            }
        }
    }
    EXPECT_GT(count, 0);
    return {sum.r / count, sum.g / count, sum.b / count};
}

Mean meanInside(const Image& image, PixelBox box) {
    return meanColour(image, box, [](int, int) { return true; });
}

// The mean colour of a ring around `box`, kRingGap to kRingGap + kRingWidth pixels out.
Mean meanAround(const Image& image, PixelBox box) {
    const PixelBox near = box.grown(kRingGap);
    return meanColour(image, near.grown(kRingWidth),
                      [&](int x, int y) { return !near.contains(x, y); });
}

// The committed picture `name`, read once per run. `name` is a plain pointer:
// a std::string made for the call would look to g++ 14 like a temporary the
// returned reference might point into.
const Image& picture(const char* name) {
    static std::map<std::string, Image> loaded;
    auto found = loaded.find(name);
    if (found == loaded.end()) {
        found = loaded
                    .emplace(name, testsupport::readPngRgb(std::string(QUILLORY_SOURCE_DIR) +
                                                           "/assets/images/" + name))
                    .first;
    }
    return found->second;
}

const std::array<const char*, 10> kAllPictures{
    "titlescreen.png",   "instructions.png", "instructions2.png",  "gameover.png",
    "player1start.png",  "player2start.png", "player1drawing.png", "player2drawing.png",
    "player1typing.png", "player2typing.png"};
const std::array<const char*, 4> kPlayPictures{"player1drawing.png", "player2drawing.png",
                                               "player1typing.png", "player2typing.png"};
const std::array<const char*, 2> kStartPictures{"player1start.png", "player2start.png"};

// Expects every pixel of `box` shrunk by the anti-aliased border to be pure white.
void expectPlainWhite(const Image& image, PixelBox box, const std::string& what) {
    const PixelBox strict = box.grown(-kAntiAliasBorder);
    int offWhite = 0;
    for (int y = strict.y0; y < strict.y1; ++y) {
        for (int x = strict.x0; x < strict.x1; ++x) {
            const unsigned char* p = image.at(x, y);
            if (p[0] != 255 || p[1] != 255 || p[2] != 255) {
                if (offWhite++ == 0) {
                    ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << int{p[0]}
                                  << "," << int{p[1]} << "," << int{p[2]};
                }
            }
        }
    }
    EXPECT_EQ(offWhite, 0) << what << ": pixels that are not white";
}

class EveryPicture : public testing::TestWithParam<const char*> {};

TEST_P(EveryPicture, IsAReadablePngOfTheWindowSize) {
    const Image& image = picture(GetParam());
    EXPECT_EQ(image.width, kWidth);
    EXPECT_EQ(image.height, kHeight);
}

INSTANTIATE_TEST_SUITE_P(ScreenArt, EveryPicture, testing::ValuesIn(kAllPictures),
                         [](const testing::TestParamInfo<const char*>& param) {
                             std::string name = param.param;
                             return name.substr(0, name.find('.'));
                         });

// One button on one picture.
struct ButtonOnPicture {
    const char* picture;
    SceneRect button;
    const char* label;
};

std::vector<ButtonOnPicture> allButtons() {
    std::vector<ButtonOnPicture> buttons;
    for (const char* name : kPlayPictures) {
        buttons.push_back({name, kDoneButton, "Done"});
    }
    for (const char* name : kStartPictures) {
        buttons.push_back({name, kGameOverButton, "Game Over"});
    }
    return buttons;
}

TEST(ScreenButtons, StandOutFromWhatSurroundsThem) {
    for (const ButtonOnPicture& b : allButtons()) {
        SCOPED_TRACE(std::string(b.picture) + ", " + b.label);
        const Image& image = picture(b.picture);
        ASSERT_EQ(image.width, kWidth);
        const PixelBox box = pixelsInside(b.button);
        EXPECT_GE(distance(meanInside(image, box), meanAround(image, box)), kVisibleDifference);
    }
}

TEST(ScreenButtons, CarryALabel) {
    for (const ButtonOnPicture& b : allButtons()) {
        SCOPED_TRACE(std::string(b.picture) + ", " + b.label);
        const Image& image = picture(b.picture);
        ASSERT_EQ(image.width, kWidth);
        const PixelBox box = pixelsInside(b.button);
        const int insetX = static_cast<int>((box.x1 - box.x0) * kLabelInset);
        const int insetY = static_cast<int>((box.y1 - box.y0) * kLabelInset);
        double darkest = 1.0;
        double brightest = 0.0;
        for (int y = box.y0 + insetY; y < box.y1 - insetY; ++y) {
            for (int x = box.x0 + insetX; x < box.x1 - insetX; ++x) {
                darkest = std::min(darkest, luminance(image.at(x, y)));
                brightest = std::max(brightest, luminance(image.at(x, y)));
            }
        }
        EXPECT_GE(brightest - darkest, kLabelLuminanceSpan);
    }
}

TEST(PictureAreas, CanvasIsPlainWhiteOnEveryPlayScreen) {
    for (const char* name : kPlayPictures) {
        const Image& image = picture(name);
        ASSERT_EQ(image.width, kWidth) << name;
        expectPlainWhite(image, pixelsInside(kCanvas), std::string(name) + " canvas");
    }
}

TEST(PictureAreas, GameOverFramesArePlainWhite) {
    const Image& image = picture("gameover.png");
    ASSERT_EQ(image.width, kWidth);
    expectPlainWhite(image, pixelsInside(kGameOverPicture1), "player 1's picture");
    expectPlainWhite(image, pixelsInside(kGameOverPicture2), "player 2's picture");
}

TEST(AnswerRows, AreLightEnoughForBlackText) {
    for (const char* name : kPlayPictures) {
        const Image& image = picture(name);
        ASSERT_EQ(image.width, kWidth) << name;
        for (double baseline : kAnswerBaselines) {
            const PixelBox band = pixelsTouching(
                {kAnswerLeft, kAnswerRight, baseline - kAnswerBelow, baseline + kAnswerAbove});
            double darkest = 1.0;
            for (int y = band.y0; y < band.y1; ++y) {
                for (int x = band.x0; x < band.x1; ++x) {
                    darkest = std::min(darkest, luminance(image.at(x, y)));
                }
            }
            EXPECT_GE(darkest, kMinimumLuminance) << name << ", row on baseline " << baseline;
        }
    }
}

// Each player's turn screens wear that player's colour, so the Done buttons differ.
TEST(PlayerScreens, WearEachPlayersOwnColour) {
    const std::array<std::array<const char*, 2>, 2> pairs{
        {{"player1drawing.png", "player2drawing.png"}, {"player1typing.png", "player2typing.png"}}};
    for (const auto& [first, second] : pairs) {
        const Image& one = picture(first);
        const Image& two = picture(second);
        ASSERT_EQ(one.width, kWidth) << first;
        ASSERT_EQ(two.width, kWidth) << second;
        const PixelBox box = pixelsInside(kDoneButton);
        EXPECT_GE(distance(meanInside(one, box), meanInside(two, box)), kPlayerDifference)
            << first << " and " << second;
    }
}

} // namespace
