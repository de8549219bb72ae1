// screen_art_test.cpp: the screen art against the places the game uses.
//
// The game shows each picture unscaled over the whole window, then draws
// strokes, typed text and the colour grid on fixed areas of it and takes
// presses on fixed buttons. The areas come from the game's own headers. The
// SVG sources in assets/src name the rects that must lie on them; the
// rendered PNGs in assets/images must show the buttons, white canvases,
// light rows and labels there, in colours the game's drawing stays legible on.
// Each language's pictures in assets/images/<language>/ may differ from the
// English ones only in text, inside the text boxes the sources mark.
#include "app/game_window.h"
#include "drawing/palette.h"
#include "game/input_router.h"
#include "tests/support/gl_window.h"
#include "tests/support/png_io.h"
#include "text/answer_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testsupport::Image;

// Checks, in the units named.
constexpr double SVG_TOLERANCE = 0.01;        // pixels between a named rect and its area
constexpr int RING_GAP = 3;                   // pixels between a button and the ring around it
constexpr int RING_WIDTH = 6;                 // pixels
constexpr double VISIBLE_DIFFERENCE = 60.0;   // RGB distance, channels 0…255
constexpr double LABEL_LUMINANCE_SPAN = 0.35; // brightest minus darkest pixel on a button
constexpr double LABEL_INSET = 0.2;           // of a button's size, ignored at each edge
constexpr int LABEL_SEARCH = 8;               // pixels round a box searched for its white label
constexpr int LABEL_MARGIN = 2;               // pixels a label keeps from its box's edges
constexpr int LABEL_WHITE = 250;              // least channel value of a label pixel
constexpr int ANTI_ALIAS_BORDER = 1;          // pixels at an area's edge that may blend
constexpr double MINIMUM_LUMINANCE = 0.30;    // 7 : 1 contrast against black text
constexpr double PLAYER_DIFFERENCE = 60.0;    // RGB distance between the players' buttons
constexpr double GLYPH_ABOVE = 2.2;           // scene units of a typed glyph above its baseline
constexpr double GLYPH_BELOW = 0.6;           // and below it
constexpr int TEXT_MARGIN = 3;                // pixels translated text keeps from its box's edges
constexpr int DIFFERENCES_SHOWN = 5;          // stray pixels named in a failure
constexpr int ANSWER_ROWS = static_cast<int>(ANSWER_MAX_LENGTH / ANSWER_ROW_LENGTH);

// A rectangle in image pixels, y down.
struct PixelRect {
    double left;
    double top;
    double right;
    double bottom;

    bool contains(const PixelRect& inner) const {
        return left <= inner.left && top <= inner.top && inner.right <= right &&
               inner.bottom <= bottom;
    }
};

PixelRect toPixels(const SceneRect& area) {
    using testsupport::sceneToPixelX;
    using testsupport::sceneToPixelY;
    return {sceneToPixelX(area.left), sceneToPixelY(area.top), sceneToPixelX(area.right),
            sceneToPixelY(area.bottom)};
}

// Where drawGameOverPair puts one player's picture: the canvas scaled, then moved.
SceneRect gameOverPicture(double offsetX) {
    return {offsetX + GAME_OVER_SCALE * CanvasRegion.left,
            offsetX + GAME_OVER_SCALE * CanvasRegion.right,
            GAME_OVER_OFFSET_Y + GAME_OVER_SCALE * CanvasRegion.bottom,
            GAME_OVER_OFFSET_Y + GAME_OVER_SCALE * CanvasRegion.top};
}

constexpr SceneRect PALETTE_GRID{PALETTE_GRID_X,
                                 PALETTE_GRID_X + PALETTE_COLUMNS* PALETTE_CELL_SIZE,
                                 PALETTE_GRID_Y, PALETTE_GRID_Y + PALETTE_ROWS* PALETTE_CELL_SIZE};
constexpr SceneRect PEN_SWATCH{PALETTE_SWATCH_X, PALETTE_SWATCH_X + PALETTE_SWATCH_SIZE,
                               PALETTE_SWATCH_Y, PALETTE_SWATCH_Y + PALETTE_SWATCH_SIZE};

// The band one typed row may cover. Rows are centred on the window, so a
// full row ends about as far right of the middle as it starts left of it.
SceneRect answerRow(int row) {
    const double baseline = answerRowBaseline(row);
    return {ANSWER_LEFT_X, -ANSWER_LEFT_X, baseline - GLYPH_BELOW, baseline + GLYPH_ABOVE};
}

// Columns x0…x1−1 and rows y0…y1−1 of the window.
struct PixelBox {
    int x0;
    int y0;
    int x1;
    int y1;

    PixelBox grown(int by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// The pixels lying wholly inside `rect`.
PixelBox pixelsInside(const PixelRect& rect) {
    return {static_cast<int>(std::ceil(rect.left)), static_cast<int>(std::ceil(rect.top)),
            static_cast<int>(std::floor(rect.right)), static_cast<int>(std::floor(rect.bottom))};
}

// Every pixel that `rect` touches.
PixelBox pixelsTouching(const PixelRect& rect) {
    return {static_cast<int>(std::floor(rect.left)), static_cast<int>(std::floor(rect.top)),
            static_cast<int>(std::ceil(rect.right)), static_cast<int>(std::ceil(rect.bottom))};
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string sourcePath(const std::string& screen) {
    return std::string(QUILLORY_SOURCE_DIR) + "/assets/src/" + screen + ".svg";
}

// The rectangle a rect element's attributes give.
PixelRect rectOf(const std::string& element) {
    std::map<std::string, double> value;
    const std::regex attribute(R"re(\s(x|y|width|height)="([-0-9.]+)")re");
    for (auto it = std::sregex_iterator(element.begin(), element.end(), attribute);
         it != std::sregex_iterator(); ++it) {
        value[(*it)[1]] = std::stod((*it)[2]);
    }
    return PixelRect{value["x"], value["y"], value["x"] + value["width"],
                     value["y"] + value["height"]};
}

// The rect named `id` in the SVG source of `screen`: the element of that id if
// it is a rect, else the first rect inside the group of that id.
std::optional<PixelRect> namedRect(const std::string& screen, const std::string& id) {
    const std::string svg = readFile(sourcePath(screen));
    const std::size_t named = svg.find("id=\"" + id + "\"");
    if (named == std::string::npos) {
        return std::nullopt;
    }
    std::size_t start = svg.rfind('<', named);
    if (svg.compare(start, 5, "<rect") != 0) {
        start = svg.find("<rect", named);
    }
    const std::size_t end = svg.find('>', start);
    if (start == std::string::npos || end == std::string::npos) {
        return std::nullopt;
    }
    return rectOf(svg.substr(start, end - start));
}

// The text boxes of `screen`: every rect of class text-box in its SVG source.
std::vector<PixelRect> textBoxes(const std::string& screen) {
    const std::string svg = readFile(sourcePath(screen));
    const std::regex box(R"re(<rect[^>]*\sclass="([^"]* )?text-box[ "][^>]*>)re");
    std::vector<PixelRect> boxes;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), box); it != std::sregex_iterator();
         ++it) {
        boxes.push_back(rectOf(it->str()));
    }
    return boxes;
}

// The committed picture of `screen`, English or in `language`, read afresh: a
// copy, so no caller holds a reference into a cache.
std::string picturePath(const std::string& screen, const std::string& language = "") {
    const std::string folder = language.empty() ? "" : language + "/";
    return std::string(QUILLORY_SOURCE_DIR) + "/assets/images/" + folder + screen + ".png";
}
Image picture(const std::string& screen, const std::string& language = "") {
    return testsupport::readPngRgb(picturePath(screen, language));
}

// The languages of po/LINGUAS, which lists them between # comments.
std::vector<std::string> languages() {
    std::istringstream in(std::regex_replace(
        readFile(std::string(QUILLORY_SOURCE_DIR) + "/po/LINGUAS"), std::regex("#[^\n]*"), ""));
    std::vector<std::string> found;
    for (std::string language; in >> language;) {
        found.push_back(language);
    }
    return found;
}

const std::array<const char*, 10> ALL_SCREENS{
    "titlescreen",  "instructions",   "instructions2",  "gameover",      "player1start",
    "player2start", "player1drawing", "player2drawing", "player1typing", "player2typing"};
const std::array<const char*, 4> PLAY_SCREENS{"player1drawing", "player2drawing", "player1typing",
                                              "player2typing"};
const std::array<const char*, 2> START_SCREENS{"player1start", "player2start"};

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

// The mean colour of a ring around `box`, RING_GAP to RING_GAP + RING_WIDTH pixels out.
Mean meanAround(const Image& image, PixelBox box) {
    const PixelBox near = box.grown(RING_GAP);
    return meanColour(image, near.grown(RING_WIDTH),
                      [&](int x, int y) { return !near.contains(x, y); });
}

// Expects every pixel of `box` shrunk by the anti-aliased border to be pure white.
void expectPlainWhite(const Image& image, PixelBox box, const std::string& what) {
    const PixelBox strict = box.grown(-ANTI_ALIAS_BORDER);
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

class EveryScreen : public testing::TestWithParam<const char*> {};

TEST_P(EveryScreen, HasItsSourceAndAPictureOfTheWindowSize) {
    const std::string svg = readFile(sourcePath(GetParam()));
    const std::string size = "width=\"" + std::to_string(WINDOW_WIDTH) + "\" height=\"" +
                             std::to_string(WINDOW_HEIGHT) + "\"";
    EXPECT_NE(svg.find(size), std::string::npos) << "in the source";
    const Image image = picture(GetParam());
    EXPECT_EQ(image.width, WINDOW_WIDTH);
    EXPECT_EQ(image.height, WINDOW_HEIGHT);
}

INSTANTIATE_TEST_SUITE_P(ScreenArt, EveryScreen, testing::ValuesIn(ALL_SCREENS),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param);
                         });

// A rect an SVG source names, and the game's area it must lie on.
struct NamedArea {
    const char* screen;
    const char* id;
    PixelRect area;
};

std::vector<NamedArea> namedAreas() {
    std::vector<NamedArea> areas;
    for (const char* screen : PLAY_SCREENS) {
        areas.push_back({screen, "done-button", toPixels(DoneButton)});
        areas.push_back({screen, "canvas", toPixels(CanvasRegion)});
        areas.push_back({screen, "palette-grid", toPixels(PALETTE_GRID)});
        areas.push_back({screen, "pen-swatch", toPixels(PEN_SWATCH)});
    }
    for (const char* screen : START_SCREENS) {
        areas.push_back({screen, "game-over-button", toPixels(GameOverButton)});
    }
    areas.push_back({"gameover", "picture-1", toPixels(gameOverPicture(PLAYER1_OFFSET_X))});
    areas.push_back({"gameover", "picture-2", toPixels(gameOverPicture(PLAYER2_OFFSET_X))});
    return areas;
}

TEST(ScreenSources, NameRectsExactlyOnTheGamesAreas) {
    for (const NamedArea& named : namedAreas()) {
        SCOPED_TRACE(std::string(named.screen) + ".svg, " + named.id);
        const std::optional<PixelRect> rect = namedRect(named.screen, named.id);
        ASSERT_TRUE(rect.has_value());
        EXPECT_NEAR(rect->left, named.area.left, SVG_TOLERANCE);
        EXPECT_NEAR(rect->top, named.area.top, SVG_TOLERANCE);
        EXPECT_NEAR(rect->right, named.area.right, SVG_TOLERANCE);
        EXPECT_NEAR(rect->bottom, named.area.bottom, SVG_TOLERANCE);
    }
}

// The palette's panel takes no presses outside the palette's press area, and
// the ruled writing area holds every typed row.
TEST(ScreenSources, KeepPanelAndRowsWhereTheGameWantsThem) {
    for (const char* screen : PLAY_SCREENS) {
        SCOPED_TRACE(screen);
        const std::optional<PixelRect> panel = namedRect(screen, "palette");
        ASSERT_TRUE(panel.has_value());
        EXPECT_TRUE(toPixels(PaletteRegion).contains(*panel));
        const std::optional<PixelRect> rows = namedRect(screen, "answer-rows");
        ASSERT_TRUE(rows.has_value());
        for (int row = 0; row < ANSWER_ROWS; ++row) {
            EXPECT_TRUE(rows->contains(toPixels(answerRow(row)))) << "row " << row;
        }
    }
}

// One white label on a coloured box of one screen.
struct LabelBox {
    const char* screen;
    PixelRect box;
    const char* what;
};

std::vector<LabelBox> labelBoxes() {
    std::vector<LabelBox> boxes;
    for (const char* screen : PLAY_SCREENS) {
        boxes.push_back({screen, toPixels(DoneButton), "Done"});
        boxes.push_back({screen, namedRect(screen, "banner").value_or(PixelRect{}), "banner"});
    }
    for (const char* screen : START_SCREENS) {
        boxes.push_back({screen, toPixels(GameOverButton), "Game Over"});
        boxes.push_back(
            {screen, namedRect(screen, "start-prompt").value_or(PixelRect{}), "click to start"});
    }
    for (const char* screen : {"titlescreen", "instructions", "instructions2"}) {
        boxes.push_back({screen, namedRect(screen, "prompt").value_or(PixelRect{}), "prompt"});
    }
    return boxes;
}

// Each button and pill stands out from what surrounds it and carries a
// readable label wholly inside it: one too long spills white past its edges.
TEST(ScreenButtons, StandOutAndHoldTheirWholeLabel) {
    for (const LabelBox& b : labelBoxes()) {
        SCOPED_TRACE(std::string(b.screen) + ", " + b.what);
        const Image image = picture(b.screen);
        ASSERT_EQ(image.width, WINDOW_WIDTH);
        const PixelBox box = pixelsInside(b.box);
        EXPECT_GE(
            distance(meanColour(image, box, [](int, int) { return true; }), meanAround(image, box)),
            VISIBLE_DIFFERENCE);

        const int insetX = static_cast<int>((box.x1 - box.x0) * LABEL_INSET);
        const int insetY = static_cast<int>((box.y1 - box.y0) * LABEL_INSET);
        double darkest = 1.0;
        double brightest = 0.0;
        for (int y = box.y0 + insetY; y < box.y1 - insetY; ++y) {
            for (int x = box.x0 + insetX; x < box.x1 - insetX; ++x) {
                darkest = std::min(darkest, luminance(image.at(x, y)));
                brightest = std::max(brightest, luminance(image.at(x, y)));
            }
        }
        EXPECT_GE(brightest - darkest, LABEL_LUMINANCE_SPAN) << "no readable label";

        const PixelBox search = box.grown(LABEL_SEARCH);
        const PixelBox allowed = box.grown(-LABEL_MARGIN);
        int outside = 0;
        for (int y = std::max(search.y0, 0); y < std::min(search.y1, image.height); ++y) {
            for (int x = std::max(search.x0, 0); x < std::min(search.x1, image.width); ++x) {
                const unsigned char* p = image.at(x, y);
                const bool white =
                    p[0] >= LABEL_WHITE && p[1] >= LABEL_WHITE && p[2] >= LABEL_WHITE;
                outside += white && !allowed.contains(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(outside, 0) << "white label pixels at or past the box's edges";
    }
}

TEST(PictureAreas, CanvasIsPlainWhiteOnEveryPlayScreen) {
    for (const char* screen : PLAY_SCREENS) {
        const Image image = picture(screen);
        ASSERT_EQ(image.width, WINDOW_WIDTH) << screen;
        expectPlainWhite(image, pixelsInside(toPixels(CanvasRegion)),
                         std::string(screen) + " canvas");
    }
}

TEST(PictureAreas, GameOverFramesArePlainWhite) {
    const Image image = picture("gameover");
    ASSERT_EQ(image.width, WINDOW_WIDTH);
    expectPlainWhite(image, pixelsInside(toPixels(gameOverPicture(PLAYER1_OFFSET_X))),
                     "player 1's picture");
    expectPlainWhite(image, pixelsInside(toPixels(gameOverPicture(PLAYER2_OFFSET_X))),
                     "player 2's picture");
}

TEST(AnswerRows, AreLightEnoughForBlackText) {
    for (const char* screen : PLAY_SCREENS) {
        const Image image = picture(screen);
        ASSERT_EQ(image.width, WINDOW_WIDTH) << screen;
        for (int row = 0; row < ANSWER_ROWS; ++row) {
            const PixelBox band = pixelsTouching(toPixels(answerRow(row)));
            double darkest = 1.0;
            for (int y = band.y0; y < band.y1; ++y) {
                for (int x = band.x0; x < band.x1; ++x) {
                    darkest = std::min(darkest, luminance(image.at(x, y)));
                }
            }
            EXPECT_GE(darkest, MINIMUM_LUMINANCE) << screen << ", row " << row;
        }
    }
}

// Each player's turn screens wear that player's colour, so the Done buttons differ.
TEST(PlayerScreens, WearEachPlayersOwnColour) {
    const std::array<std::array<const char*, 2>, 2> pairs{
        {{"player1drawing", "player2drawing"}, {"player1typing", "player2typing"}}};
    const PixelBox box = pixelsInside(toPixels(DoneButton));
    for (const auto& [first, second] : pairs) {
        const Image one = picture(first);
        const Image two = picture(second);
        ASSERT_EQ(one.width, WINDOW_WIDTH) << first;
        ASSERT_EQ(two.width, WINDOW_WIDTH) << second;
        const auto all = [](int, int) { return true; };
        EXPECT_GE(distance(meanColour(one, box, all), meanColour(two, box, all)), PLAYER_DIFFERENCE)
            << first << " and " << second;
    }
}

// The areas the game draws on or takes presses on, as each screen shows them.
struct GameArea {
    PixelRect rect;
    bool button; // a button, which carries a label of its own
};

std::vector<GameArea> gameAreas(const std::string& screen) {
    std::vector<GameArea> areas;
    if (std::find(PLAY_SCREENS.begin(), PLAY_SCREENS.end(), screen) != PLAY_SCREENS.end()) {
        areas.push_back({toPixels(CanvasRegion), false});
        areas.push_back({toPixels(PALETTE_GRID), false});
        areas.push_back({toPixels(PEN_SWATCH), false});
        for (int row = 0; row < ANSWER_ROWS; ++row) {
            areas.push_back({toPixels(answerRow(row)), false});
        }
        areas.push_back({toPixels(DoneButton), true});
    }
    if (std::find(START_SCREENS.begin(), START_SCREENS.end(), screen) != START_SCREENS.end()) {
        areas.push_back({toPixels(GameOverButton), true});
    }
    if (screen == "gameover") {
        areas.push_back({toPixels(gameOverPicture(PLAYER1_OFFSET_X)), false});
        areas.push_back({toPixels(gameOverPicture(PLAYER2_OFFSET_X)), false});
    }
    return areas;
}

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Text, in any language, goes where a text box lets it: a button's label on
// the button, everything else clear of the game's areas.
TEST(ScreenSources, KeepTextBoxesOffTheGamesAreas) {
    for (const char* screen : ALL_SCREENS) {
        const std::vector<PixelRect> boxes = textBoxes(screen);
        EXPECT_FALSE(boxes.empty()) << screen;
        for (const PixelRect& box : boxes) {
            for (const GameArea& area : gameAreas(screen)) {
                EXPECT_TRUE(!overlap(box, area.rect) || (area.button && area.rect.contains(box)))
                    << screen << ": the text box at (" << box.left << ", " << box.top
                    << ") reaches into a game area at (" << area.rect.left << ", " << area.rect.top
                    << ")";
            }
        }
    }
}

class EveryLanguage : public testing::TestWithParam<std::string> {};

// Each screen in the language, as tools/render_art.sh renders it from a
// complete catalogue, differs from the English picture only inside the text
// boxes, TEXT_MARGIN pixels clear of their edges: a sentence too long for its
// box, or a label too long for its button, leaves pixels outside.
TEST_P(EveryLanguage, KeepsEveryTextInsideItsBox) {
    for (const char* screen : ALL_SCREENS) {
        SCOPED_TRACE(GetParam() + "/" + screen);
        ASSERT_TRUE(std::filesystem::exists(picturePath(screen, GetParam())));
        const Image translated = picture(screen, GetParam());
        const Image english = picture(screen);
        ASSERT_EQ(translated.width, WINDOW_WIDTH);
        ASSERT_EQ(translated.height, WINDOW_HEIGHT);
        std::vector<PixelBox> allowed;
        for (const PixelRect& box : textBoxes(screen)) {
            allowed.push_back(pixelsInside(box).grown(-TEXT_MARGIN));
        }
        int differing = 0;
        int strays = 0;
        std::string firstStrays;
        for (int y = 0; y < WINDOW_HEIGHT; ++y) {
            for (int x = 0; x < WINDOW_WIDTH; ++x) {
                if (std::equal(translated.at(x, y), translated.at(x, y) + 3, english.at(x, y))) {
                    continue;
                }
                ++differing;
                const bool boxed = std::any_of(allowed.begin(), allowed.end(),
                                               [&](const PixelBox& b) { return b.contains(x, y); });
                if (!boxed && strays++ < DIFFERENCES_SHOWN) {
                    firstStrays += " (" + std::to_string(x) + ", " + std::to_string(y) + ")";
                }
            }
        }
        EXPECT_GT(differing, 0) << "the same picture as the English one";
        EXPECT_EQ(strays, 0) << "pixels of text outside the text boxes, the first at"
                             << firstStrays;
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenArt, EveryLanguage, testing::ValuesIn(languages()),
                         [](const testing::TestParamInfo<std::string>& param) {
                             return param.param;
                         });

} // namespace
