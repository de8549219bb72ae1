// startup_test.cpp: start-up with missing or broken asset files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/e2e/game_session.h"

namespace e2e {
namespace {

constexpr const char* FONT_MESSAGE =
    "FT_New_Face failed (there is probably a problem with your font file)";
constexpr const char* NOT_A_FILE = "these bytes are no font, picture or music";

// Starts the game in a folder changed by `prepare` and expects it to exit with
// status 1 and the font message, without aborting.
void expectFontFailure(void (*prepare)(const testsupport::RunFolder&)) {
    GameSession game(prepare);
    EXPECT_EQ(game.process().waitForExit(START_TIMEOUT), 1);
    const std::string& err = game.process().standardError();
    EXPECT_NE(err.find(FONT_MESSAGE), std::string::npos) << err;
    EXPECT_EQ(err.find("terminate"), std::string::npos) << err;
    EXPECT_EQ(game.process().standardOutput(), "");
}

TEST(StartupTest, MissingFontEndsWithStatusOneAndTheMessage) {
    expectFontFailure([](const testsupport::RunFolder& run) { run.remove("fonts/courier.ttf"); });
}

TEST(StartupTest, UnreadableFontEndsWithStatusOneAndTheMessage) {
    expectFontFailure(
        [](const testsupport::RunFolder& run) { run.overwrite("fonts/courier.ttf", NOT_A_FILE); });
}

// The game keeps running, silently, with a picture or the music gone.
void expectQuietStart(void (*prepare)(const testsupport::RunFolder&)) {
    GameSession game(prepare);
    ASSERT_NE(game.window(), 0u);
    game.clickAt(500, 400);
    game.clickAt(500, 400);
    EXPECT_TRUE(game.process().running());
    game.x().sendDeleteWindow(game.window());
    EXPECT_EQ(game.process().waitForExit(STEP_TIMEOUT), 0);
    EXPECT_EQ(game.process().standardOutput(), "");
    EXPECT_EQ(game.process().standardError(), "");
}

TEST(StartupTest, MissingOrBrokenMusicPlaysOnInSilence) {
    expectQuietStart([](const testsupport::RunFolder& run) {
        run.remove("audio/backgroundmusic.mp3");
    });
    expectQuietStart([](const testsupport::RunFolder& run) {
        run.overwrite("audio/backgroundmusic.mp3", NOT_A_FILE);
    });
}

// Whether the window shows a blank rectangle: the white clear colour under a
// white, untextured square.
bool showsBlank(GameSession& game) {
    const testsupport::Image shot = game.screenshot();
    for (int y = 0; y < shot.height; y += 16) {
        for (int x = 0; x < shot.width; x += 16) {
            if (pixel(shot, x, y) != Rgb{255, 255, 255}) {
                return false;
            }
        }
    }
    return true;
}

TEST(StartupTest, MissingOrBrokenPictureLeavesABlankScreen) {
    GameSession game([](const testsupport::RunFolder& run) {
        run.remove("images/instructions.png");
        run.overwrite("images/instructions2.png", NOT_A_FILE);
    });
    ASSERT_TRUE(game.waitForImage("titlescreen.png", {{100, 100}, {512, 384}, {900, 700}}));
    game.clickAt(500, 400);
    const auto allWhite = [&] { return showsBlank(game); };
    EXPECT_TRUE(testsupport::waitFor(allWhite, STEP_TIMEOUT));
    game.clickAt(500, 400);
    EXPECT_TRUE(testsupport::waitFor(allWhite, STEP_TIMEOUT));
    game.clickAt(500, 400);
    EXPECT_TRUE(game.waitForImage("player1drawing.png", {{900, 500}, {20, 20}}));
    EXPECT_EQ(game.process().standardError(), "");
}

// A FIFO in place of a file would block whoever opens it until a writer
// comes, which none does: the game must read it as no file at all.
TEST(StartupTest, FifoInPlaceOfThePictureOrTheMusicIsRefusedAtOnce) {
    GameSession game([](const testsupport::RunFolder& run) {
        for (const char* name : {"images/titlescreen.png", "audio/backgroundmusic.mp3"}) {
            run.remove(name);
            EXPECT_EQ(mkfifo(run.file(name).c_str(), S_IRUSR | S_IWUSR), 0) << name;
        }
    });
    ASSERT_NE(game.window(), 0u);
    EXPECT_TRUE(testsupport::waitFor([&] { return showsBlank(game); }, STEP_TIMEOUT));
    game.clickAt(500, 400);
    EXPECT_TRUE(game.waitForImage("instructions.png", {{100, 100}, {512, 384}, {900, 700}}));
    EXPECT_EQ(game.process().standardError(), "");
}

} // namespace
} // namespace e2e
