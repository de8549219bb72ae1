// state_machine_test.cpp: screens and turn phases through whole games.
#include "tests/game/game_fixture.h"

#include "game/transitions.h"

namespace {

// Window pixels inside the on-screen areas.
constexpr int DONE_X = 900, DONE_Y = 500;
constexpr int GAME_OVER_X = 850, GAME_OVER_Y = 710;
constexpr int CANVAS_X = 400, CANVAS_Y = 300;

class StateMachineTest : public GameTest {
protected:
    // Three presses from the title: into play.
    void enterPlay() {
        press(GLUT_LEFT_BUTTON);
        press(GLUT_LEFT_BUTTON);
        press(GLUT_LEFT_BUTTON);
    }
};

TEST_F(StateMachineTest, AnyThreeButtonsReachPlaySilently) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(screen, Title);
    press(GLUT_RIGHT_BUTTON);
    EXPECT_EQ(screen, Instructions);
    press(GLUT_MIDDLE_BUTTON);
    EXPECT_EQ(screen, Instructions2);
    release(GLUT_MIDDLE_BUTTON); // releases never change the screen
    EXPECT_EQ(screen, Instructions2);
    press(GLUT_LEFT_BUTTON);
    EXPECT_EQ(screen, Play);
    EXPECT_EQ(turnPhase, Player1Drawing);
    EXPECT_EQ(currentPlayer, 0);
    EXPECT_EQ(inputMode, Idle);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(StateMachineTest, TwoFullCyclesCarryEverySideEffect) {
    enterPlay();
    testing::internal::CaptureStdout();
    for (int round = 0; round < 2; ++round) {
        answer1.setText("old answer of player 1");
        clickAt(DONE_X, DONE_Y);
        EXPECT_EQ(turnPhase, Player1Typing);
        EXPECT_EQ(inputMode, Typing);
        EXPECT_EQ(answer1.text(), "");
        EXPECT_EQ(currentPlayer, 0);

        clickAt(DONE_X, DONE_Y);
        EXPECT_EQ(turnPhase, Player2Start);
        EXPECT_EQ(inputMode, Idle);
        EXPECT_EQ(currentPlayer, 1);

        clickAt(CANVAS_X, CANVAS_Y);
        EXPECT_EQ(turnPhase, Player2Drawing);
        EXPECT_EQ(inputMode, Idle); // the start-screen press draws nothing

        answer2.setText("old answer of player 2");
        clickAt(DONE_X, DONE_Y);
        EXPECT_EQ(turnPhase, Player2Typing);
        EXPECT_EQ(inputMode, Typing);
        EXPECT_EQ(answer2.text(), "");

        clickAt(DONE_X, DONE_Y);
        EXPECT_EQ(turnPhase, Player1Start);
        EXPECT_EQ(inputMode, Idle);
        EXPECT_EQ(currentPlayer, 0);

        // Done on a start screen is simply a press outside Game Over.
        clickAt(DONE_X, DONE_Y);
        EXPECT_EQ(turnPhase, Player1Drawing);
        EXPECT_EQ(screen, Play);
    }
    testing::internal::GetCapturedStdout();
}

TEST_F(StateMachineTest, AnswersSurviveUntilTheirOwnTypingPhase) {
    enterPlay();
    pressDone(); // Player1Typing
    answer1.setText("a cat");
    pressDone(); // Player2Start
    pressOnStartScreen(false);
    EXPECT_EQ(turnPhase, Player2Drawing);
    EXPECT_EQ(answer1.text(), "a cat"); // shown while player 2 draws
    pressDone();                         // Player2Typing empties only answer2
    EXPECT_EQ(answer1.text(), "a cat");
}

TEST_F(StateMachineTest, GameOverButtonEndsTheGameFromEitherStartScreen) {
    enterPlay();
    pressDone();
    pressDone();
    ASSERT_EQ(turnPhase, Player2Start);
    testing::internal::CaptureStdout();
    clickAt(GAME_OVER_X, GAME_OVER_Y);
    EXPECT_EQ(screen, GameOver);
    EXPECT_EQ(turnPhase, Player2Start); // left as it was
    testing::internal::GetCapturedStdout();

    resetGameState();
    screen = Play;
    turnPhase = Player1Start;
    pressOnStartScreen(true);
    EXPECT_EQ(screen, GameOver);
}

TEST_F(StateMachineTest, GameOverIgnoresEverything) {
    enterPlay();
    screen = GameOver;
    turnPhase = Player1Start;
    testing::internal::CaptureStdout();
    for (int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
        moveTo(CANVAS_X, CANVAS_Y);
        press(button);
        release(button);
    }
    onKeyboard('x', 0, 0);
    onIgnoredKey(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(screen, GameOver);
    EXPECT_EQ(turnPhase, Player1Start);
    EXPECT_EQ(inputMode, Idle);
    EXPECT_EQ(player1Drawing.strokeCount(), 0);
}

TEST_F(StateMachineTest, MovesOutsideTheirPhasesChangeNothing) {
    enterPlay();
    pressOnStartScreen(true); // not on a start screen
    EXPECT_EQ(screen, Play);
    EXPECT_EQ(turnPhase, Player1Drawing);
    turnPhase = Player2Start;
    pressDone(); // Done is not live on a start screen
    EXPECT_EQ(turnPhase, Player2Start);
    advanceScreen(); // presses in play do not move screens
    EXPECT_EQ(screen, Play);
}

} // namespace
