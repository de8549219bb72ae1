// language_test.cpp: the game on a German desktop, started as the launcher
// starts it, shows its screens in German and writes the lines it writes in
// English.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/game_session.h"

namespace e2e {
namespace {

// Probes a screen, where its German picture is not the English one.
constexpr std::size_t TEXT_PROBES = 8;

// The desktop's locale is German. The suite's LC_ALL=C, which outranks LANG,
// is cleared. Wine, which plays the Windows build under ./windows --test,
// reads the display language from LC_ALL alone when the locale is not
// installed there, so under it LC_ALL names German too.
std::map<std::string, std::string> germanDesktop() {
    const bool wine = std::getenv("QUILLORY_GAME_COMMAND") != nullptr;
    return {{"LANG", "de_DE.UTF-8"},
            {"LANGUAGE", ""},
            {"LC_MESSAGES", ""},
            {"LC_ALL", wine ? "de_DE.UTF-8" : ""}};
}

// Waits until the window shows the German picture of `screen`, where it
// differs from the English one too.
bool showsGerman(GameSession& game, const std::string& screen) {
    std::vector<std::pair<int, int>> probes = distinguishingProbes(
        game.image("de/" + screen + ".png"), {game.image(screen + ".png")}, TEXT_PROBES);
    EXPECT_EQ(probes.size(), TEXT_PROBES) << screen;
    probes.insert(probes.end(), IMAGE_PROBES.begin(), IMAGE_PROBES.end());
    return game.waitForImage("de/" + screen + ".png", probes);
}

TEST(LanguageTest, GermanDesktopPlaysInGermanWithTheSameLines) {
    GameSession game(nullptr, germanDesktop());
    Player player(game);
    ASSERT_NE(game.window(), 0u);
    ASSERT_TRUE(showsGerman(game, "titlescreen"));
    game.clickAt(ADVANCE_X, ADVANCE_Y);
    ASSERT_TRUE(showsGerman(game, "instructions"));
    game.clickAt(ADVANCE_X, ADVANCE_Y);
    ASSERT_TRUE(showsGerman(game, "instructions2"));
    game.clickAt(ADVANCE_X, ADVANCE_Y);
    ASSERT_TRUE(showsGerman(game, "player1drawing"));

    player.press(RED_X, RED_Y);
    player.drawStroke({{200, 300}, {300, 300}, {300, 400}});
    player.press(DONE_X, DONE_Y, true);
    ASSERT_TRUE(showsGerman(game, "player1typing"));
    game.type("eine Katze");
    player.press(DONE_X, DONE_Y, true);
    ASSERT_TRUE(showsGerman(game, "player2start"));

    game.x().sendDeleteWindow(game.window());
    EXPECT_EQ(game.process().waitForExit(STEP_TIMEOUT), 0);
    EXPECT_EQ(game.process().outputLines(), player.expected());
}

} // namespace
} // namespace e2e
