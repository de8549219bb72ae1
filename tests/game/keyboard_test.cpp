// keyboard_test.cpp: typing answers, backspace and the length cap.
#include "tests/game/game_fixture.h"

#include <string>

namespace {

constexpr unsigned char BACKSPACE = 8;

class KeyboardTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        screen = Play;
        turnPhase = Player1Typing;
        inputMode = Typing;
    }
    static void type(const std::string& keys) {
        for (char key : keys) {
            onKeyboard(static_cast<unsigned char>(key), 0, 0);
        }
    }
};

TEST_F(KeyboardTest, BackspaceDeletesTheLastCharacter) {
    type("ab");
    onKeyboard(BACKSPACE, 0, 0);
    type("c");
    EXPECT_EQ(answer1.text(), "ac");
    EXPECT_EQ(answer2.text(), "");
    answer1.setText("");
    onKeyboard(BACKSPACE, 0, 0);
    EXPECT_EQ(answer1.text(), "");
}

TEST_F(KeyboardTest, AnswersStopAtSixFullRows) {
    type(std::string(ANSWER_MAX_LENGTH + 5, 'x'));
    EXPECT_EQ(answer1.length(), ANSWER_MAX_LENGTH);
    onKeyboard(BACKSPACE, 0, 0);
    EXPECT_EQ(answer1.length(), ANSWER_MAX_LENGTH - 1);
    type("yz");
    EXPECT_EQ(answer1.length(), ANSWER_MAX_LENGTH);
    EXPECT_EQ(answer1.text().back(), 'y');
}

TEST_F(KeyboardTest, ControlCodesAreStoredLikeLetters) {
    for (int code : {13, 9, 27, 127}) {
        onKeyboard(static_cast<unsigned char>(code), 0, 0);
    }
    EXPECT_EQ(answer1.text(), std::string("\r\t\x1b\x7f"));
}

TEST_F(KeyboardTest, KeysGoToTheTypingPlayer) {
    turnPhase = Player2Typing;
    currentPlayer = 1;
    type("hi");
    EXPECT_EQ(answer2.text(), "hi");
    EXPECT_EQ(answer1.text(), "");
}

TEST_F(KeyboardTest, KeysOutsideTypingChangeNothing) {
    for (InputMode mode : {Idle, PenDown}) {
        inputMode = mode;
        type("q");
    }
    inputMode = Typing;
    onIgnoredKey(static_cast<unsigned char>('r'), 0, 0); // key release
    onIgnoredKey(GLUT_KEY_F1, 0, 0);                      // special key
    EXPECT_EQ(answer1.text(), "");
    EXPECT_EQ(answer2.text(), "");
}

} // namespace
