// play_test.cpp: two players through a whole game with the mouse and keyboard,
// with the music playing.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"
#include "tests/media/audio_signal.h"

namespace e2e {
namespace {

const Rgb RED{248, 11, 33};
const Rgb SKY_BLUE{11, 150, 248};
const Rgb WHITE{255, 255, 255};

// The screens before play, which a press anywhere moves on from.
const std::vector<std::string> OPENING_SCREENS{"titlescreen", "instructions", "instructions2"};
constexpr std::size_t OPENING_PROBES = 4; // where one opening screen differs from both others

// The music, as the game sends it to SDL's disk driver at the driver's own
// real-time pace; a second of it is heard by the end of the game.
constexpr int REAL_TIME = 0;
constexpr std::size_t MUSIC_FRAMES = audiotest::RATE_HZ;
constexpr double MUSIC_LEVEL = 0.01; // a sample this loud is heard (-40 dBFS)

// Counts pixels darker than half-grey in a window rectangle.
int darkPixels(const testsupport::Image& shot, int left, int top, int right, int bottom) {
    constexpr int DARK_SUM = 3 * 128;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const Rgb c = pixel(shot, x, y);
            count += c[0] + c[1] + c[2] < DARK_SUM ? 1 : 0;
        }
    }
    return count;
}

// The first answer row: from scene x -46 along baseline 13.5.
constexpr int ROW_TOP = 608, ROW_BOTTOM = 636;      // window pixels
constexpr int ROW_TEXT_LEFT = 38, ROW_TEXT_RIGHT = 110;
constexpr int ROW_EMPTY_LEFT = 400, ROW_EMPTY_RIGHT = 700;

class PlayTest : public ::testing::Test {
protected:
    audiotest::ScratchFolder scratch;
    audiotest::DiskCapture music{scratch.file("music.raw"), REAL_TIME};
    GameSession game;
    Player player{game};

    // Waits for one of the opening screens, told from the other two by
    // probes where its picture differs from both.
    bool showsOpeningScreen(const std::string& name) {
        std::vector<testsupport::Image> others;
        for (const std::string& other : OPENING_SCREENS) {
            if (other != name) {
                others.push_back(game.image(other + ".png"));
            }
        }
        std::vector<std::pair<int, int>> probes =
            distinguishingProbes(game.image(name + ".png"), others, OPENING_PROBES);
        EXPECT_EQ(probes.size(), OPENING_PROBES) << name << " looks like the other opening screens";
        probes.insert(probes.end(), IMAGE_PROBES.begin(), IMAGE_PROBES.end());
        return game.waitForImage(name + ".png", probes);
    }

    void press(int px, int py, bool onDone = false) { player.press(px, py, onDone); }
    void drawStroke(const std::vector<std::pair<int, int>>& points) { player.drawStroke(points); }

    // Waits until the first answer row shows letters at its start only.
    bool answerRowShowsText() {
        return testsupport::waitFor(
            [&] {
                const testsupport::Image shot = game.screenshot();
                return darkPixels(shot, ROW_TEXT_LEFT, ROW_TOP, ROW_TEXT_RIGHT, ROW_BOTTOM) > 20 &&
                       darkPixels(shot, ROW_EMPTY_LEFT, ROW_TOP, ROW_EMPTY_RIGHT, ROW_BOTTOM) == 0;
            },
            STEP_TIMEOUT);
    }

    bool shows(int px, int py, const Rgb& colour) {
        return testsupport::waitFor(
            [&] { return near(pixel(game.screenshot(), px, py), colour); }, STEP_TIMEOUT);
    }
};

TEST_F(PlayTest, TwoPlayersPlayAWholeGame) {
    ASSERT_NE(game.window(), 0u);
    ASSERT_TRUE(showsOpeningScreen("titlescreen"));
    game.clickAt(ADVANCE_X, ADVANCE_Y);
    ASSERT_TRUE(showsOpeningScreen("instructions"));
    game.clickAt(ADVANCE_X, ADVANCE_Y);
    ASSERT_TRUE(showsOpeningScreen("instructions2"));
    game.clickAt(ADVANCE_X, ADVANCE_Y);
    ASSERT_TRUE(game.waitForImage("player1drawing.png", IMAGE_PROBES));
    EXPECT_EQ(game.process().standardOutput(), ""); // screen changes write nothing

    // Player 1 draws in red and describes the picture.
    press(RED_X, RED_Y);
    drawStroke(PLAYER1_STROKE);
    EXPECT_TRUE(shows(300, 300, RED));
    EXPECT_TRUE(shows(400, 350, RED));
    EXPECT_TRUE(shows(300, 330, WHITE));
    press(DONE_X, DONE_Y, true);
    ASSERT_TRUE(game.waitForImage("player1typing.png", IMAGE_PROBES));
    EXPECT_TRUE(shows(300, 300, RED)); // the picture stays while typing
    game.type("a catt");
    game.key("BackSpace");
    EXPECT_TRUE(answerRowShowsText());
    press(DONE_X, DONE_Y, true);

    // Player 2's turn: start screen, then the drawing with player 1's answer.
    ASSERT_TRUE(game.waitForImage("player2start.png", IMAGE_PROBES));
    press(START_X, START_Y);
    ASSERT_TRUE(game.waitForImage("player2drawing.png", IMAGE_PROBES));
    EXPECT_TRUE(answerRowShowsText());
    EXPECT_TRUE(shows(300, 300, WHITE)); // player 2's own picture is empty
    press(BLUE_X, BLUE_Y);
    drawStroke(PLAYER2_STROKE);
    EXPECT_TRUE(shows(550, 200, SKY_BLUE));
    press(DONE_X, DONE_Y, true);
    game.type("a dog");
    EXPECT_TRUE(answerRowShowsText());
    press(DONE_X, DONE_Y, true);

    // Back to player 1's start screen, and the end of the game.
    ASSERT_TRUE(game.waitForImage("player1start.png", IMAGE_PROBES));
    press(GAME_OVER_X, GAME_OVER_Y);
    ASSERT_TRUE(game.waitForImage("gameover.png", GAME_OVER_PROBES));
    // Each picture at 60 %: player 1's at (-19, 24.5) + 0.6 p, player 2's at (30.8, 24.5) + 0.6 p.
    const float p1x = -20.703125f, p1y = 45.703125f; // window pixel (300, 300)
    const float p2x = 3.7109375f, p2y = 55.46875f;   // window pixel (550, 200)
    EXPECT_TRUE(shows(pixelX(-19.0 + 0.6 * p1x), pixelY(24.5 + 0.6 * p1y), RED));
    EXPECT_TRUE(shows(pixelX(30.8 + 0.6 * p2x), pixelY(24.5 + 0.6 * p2y), SKY_BLUE));

    // The music played: some of what reached the audio device is heard.
    const std::vector<double> heard = audiotest::leftChannel(music.waitForFrames(MUSIC_FRAMES));
    EXPECT_LT(audiotest::firstLoudFrame(heard, MUSIC_LEVEL), heard.size()) << "the music is silent";

    // Game over takes no more input.
    game.clickAt(DONE_X, DONE_Y);
    game.type("x");
    game.x().sendDeleteWindow(game.window());
    EXPECT_EQ(game.process().waitForExit(STEP_TIMEOUT), 0);
    EXPECT_EQ(game.process().outputLines(), player.expected());
    EXPECT_EQ(game.process().standardError(), "");
}

} // namespace
} // namespace e2e
