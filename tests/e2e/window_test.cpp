// window_test.cpp: the game's one window, its first frame, its fixed size and
// closing it the way a user does.
#include <gtest/gtest.h>

#include "tests/e2e/game_session.h"

namespace e2e {
namespace {

// Most pixels of the first frame (a thousandth) that may differ from the title
// image, and by how much each channel may differ (texture filtering and rounding).
constexpr std::size_t MAX_DIFFERING = WINDOW_WIDTH * WINDOW_HEIGHT / 1000;
constexpr int PIXEL_TOLERANCE = 3;

TEST(WindowTest, OneFixedWindowShowsTheTitleAndClosesCleanly) {
    GameSession game;
    const Window window = game.window();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(game.x().windowsTitled(WINDOW_TITLE).size(), 1u);
    EXPECT_EQ(game.x().size(window), (std::pair{WINDOW_WIDTH, WINDOW_HEIGHT}));

    // The first frame: the title image over the whole window.
    const testsupport::Image title = game.image("titlescreen.png");
    ASSERT_EQ(title.width, WINDOW_WIDTH);
    std::size_t differing = 0;
    testsupport::waitFor(
        [&] {
            const testsupport::Image shot = game.screenshot();
            if (shot.width != title.width || shot.height != title.height) {
                return false; // not drawn yet
            }
            differing = differingPixels(shot, title, PIXEL_TOLERANCE);
            return differing <= MAX_DIFFERING;
        },
        STEP_TIMEOUT);
    EXPECT_LE(differing, MAX_DIFFERING);

    // A resize, as a user dragging the edge would ask for, snaps back.
    const std::vector<std::pair<int, int>> sizes =
        game.x().resizeAndWatch(window, 800, 600, STEP_TIMEOUT);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.front(), (std::pair{800, 600}));
    EXPECT_EQ(sizes.back(), (std::pair{WINDOW_WIDTH, WINDOW_HEIGHT}));
    EXPECT_EQ(game.x().size(window), (std::pair{WINDOW_WIDTH, WINDOW_HEIGHT}));

    game.x().sendDeleteWindow(window);
    EXPECT_EQ(game.process().waitForExit(STEP_TIMEOUT), 0);
    EXPECT_EQ(game.process().standardOutput(), "");
    EXPECT_EQ(game.process().standardError(), "");
}

} // namespace
} // namespace e2e
